#pragma once

#include "screenkit/screenbase.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class UrlOpener;
struct LoginState;

// "联系我们": how to reach the maker, always on top.
class TF_Lxwm final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Lxwm(const LoginState &state, UrlOpener &urls, QWidget *parent = nullptr);

    void btnWebClick();

    QPlainTextEdit *memo = nullptr;
    QLabel *picture = nullptr;
    QPushButton *btnWeb = nullptr;
    QPushButton *btnClose = nullptr;

private:
    UrlOpener &m_urls;
};

// The six lines of the contact screen.
QStringList ContactLines();
