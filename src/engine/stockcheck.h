#pragma once

// Stock sufficiency before goods leave a warehouse.

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

// Sums the document's line quantities per goods (all operators' lines, the reserved goods
// "00000000" left out) and compares each sum with kc_sl in `warehouse`. CJ (the cancel of a
// receipt) counts jh_zsl of the lines that put goods on hand (jh_rksl <> 0) only, LT (the cancel
// of a department return) the base quantities ly_zsl. Empty when stock
// suffices (or the type is not one of CJ CT XS XT DB BS LY LT SC ST, or a goods has no stock row
// there); else the sentence naming the lowest short goods code, ending in a question when
// state.AllowNegativeStock is on and in a refusal when it is off. The caller shows it.
QString CheckNegativeStock(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                           const QString &number, const QString &warehouse, const QString &type);

class Notices;

// CheckNegativeStock put to the operator: Enough (no sentence), Confirmed (the question answered
// Yes with AllowNegativeStock on) or Stopped (the refusal shown with it off, or No). A database
// error raises DbError.
enum class StockAnswer { Enough, Confirmed, Stopped };
StockAnswer AskNegativeStock(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                             const QString &number, const QString &warehouse, const QString &type);
