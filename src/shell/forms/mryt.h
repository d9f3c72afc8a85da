#pragma once

#include "screenkit/screenbase.h"

#include <QSqlDatabase>

class Clock;
class Notices;
class QCheckBox;
class QLabel;
class QPushButton;
struct LoginState;

// "每日一贴": the tip of the day, one after the other, and the box "启动时显示".
class TF_Mryt final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Mryt(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
            QWidget *parent = nullptr);

    void FormActivate();
    void btnPrevClick();
    void btnNextClick();
    // "退出" and Esc: the box is stored, then the dialog closes.
    void reject() override;

    // The id of the tip on screen (0: none).
    qint64 tipId() const { return m_tipId; }

    QLabel *lbTip = nullptr;
    QCheckBox *chkDisp = nullptr;
    QPushButton *btnPrev = nullptr;
    QPushButton *btnNext = nullptr;
    QPushButton *btnExit = nullptr;

private:
    void move(bool forward);
    void storeBox();

    QSqlDatabase m_db;
    const Clock &m_clock;
    Notices &m_notices;
    qint64 m_tipId = 0;
};
