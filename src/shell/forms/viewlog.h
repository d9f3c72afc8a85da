#pragma once

#include "screenkit/screenbase.h"

#include <QSqlDatabase>

class Clock;
class DataGrid;
class DateRangeBar;
class Notices;
class QLineEdit;
class QPushButton;
class SqlGridModel;
struct LoginState;

// "查看日志": the operation log by period and search text; "清空" with the clear-log right.
class TF_ViewLog final : public ScreenDialog
{
    Q_OBJECT
public:
    TF_ViewLog(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
               QWidget *parent = nullptr);

    void FormActivate();
    void btnSearchClick();
    void btnClearClick();

    QPushButton *btnExit = nullptr;
    QPushButton *btnClear = nullptr;
    DateRangeBar *dates = nullptr;
    QPushButton *btnSearch = nullptr;
    QLineEdit *edKey = nullptr;
    DataGrid *grid = nullptr;

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    SqlGridModel *m_model = nullptr;
};
