#pragma once

// TF_Ghsgl_Jm "修改简码": the short code of a customer or supplier. In "recordName" and
// "shortCode"; "保存(F5)" leaves the typed text in "newShortCode".

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class QLabel;
class QLineEdit;

class TF_Ghsgl_Jm final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_Ghsgl_Jm(const ScreenContext &context, QWidget *parent = nullptr);
    QLineEdit *codeBox() const { return m_code; }
    void save();

private:
    QLabel *m_name;
    QLineEdit *m_code;
};
