#pragma once

// "选择打印单据样式": before a sale or a purchase receipt is printed the operator picks the
// template of its family. A click stores the choice in the login state at once
// (SalesTemplate / PurchaseInTemplate, until the parameters are loaded again); "确定(F5)",
// F5, "退出(Esc)" and Esc only close, and printing goes on with the stored choice.

#include "engine/printdocument.h"
#include "screenkit/screenbase.h"

class QLabel;
class QPushButton;
class QRadioButton;

class TF_PrinSele final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_PrinSele(PrintChoiceKind kind, LoginState &state, QWidget *parent = nullptr);

    QRadioButton *button(int index) const { return m_buttons[index]; }  // 0..2
    QPushButton *btnOk() const { return m_btnOk; }
    QPushButton *btnExit() const { return m_btnExit; }

private:
    void choose(int index);

    PrintChoiceKind m_kind;
    LoginState &m_state;
    QRadioButton *m_buttons[3] = {};
    QPushButton *m_btnOk = nullptr;
    QPushButton *m_btnExit = nullptr;
};

// The choice dialog of the print rules on screen: shows TF_PrinSele modally.
class PrinSeleChoice final : public PrintChoiceDialog
{
public:
    explicit PrinSeleChoice(QWidget *parent = nullptr) : m_parent(parent) {}
    void choose(PrintChoiceKind kind, LoginState &state) override;

private:
    QWidget *m_parent;
};
