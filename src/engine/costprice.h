#pragma once

// Cost price of one goods in one warehouse at a moment.

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

// Fixed-cost goods: g_jj. Otherwise gl_pjjj of the newest ledger row at or before `date`
// (skipped when state.CostFromStockRow is on), else kc_cbj, else g_pjjj, else 0; rounded to
// state.PriceDecimals. A bare "yyyy-MM-dd" date counts up to the clock's current time.
double GetCostPrice(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                    const QString &goods, const QString &warehouse, const QString &date);
