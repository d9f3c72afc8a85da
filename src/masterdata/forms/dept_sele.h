#pragma once

// TF_Dept_Sele "部门信息": adds ("deptMode" "add") or renames ("modi", "deptId", "deptName") one
// department; leaves its code in "deptCode".

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class QLineEdit;

class TF_Dept_Sele final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_Dept_Sele(const ScreenContext &context, QWidget *parent = nullptr);
    QLineEdit *nameBox() const { return m_name; }
    void save();

private:
    ScreenContext m_context;
    QLineEdit *m_name;
};
