#pragma once

// TF_Khgl_Type_Sele "客户类型修改": the rename of one customer type ("typeId", "typeName").

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class QLineEdit;

class TF_Khgl_Type_Sele final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_Khgl_Type_Sele(const ScreenContext &context, QWidget *parent = nullptr);
    QLineEdit *nameBox() const { return m_name; }
    void save();

private:
    ScreenContext m_context;
    QLineEdit *m_name;
};
