#pragma once

// Member effects of POS bills (points, levels, visits, consumption total, stored value and the
// consumption-bound top-up gifts), the scheduled top-up gifts paid at login, and the small member
// helpers of the member forms and the POS window.

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

// Applies (mode "XS" sale, "XT" return) or takes back ("unXS", "unXT") the member effects of the
// POS bill `bill` (jxc_posxsd) for member `member`. Runs in its caller's transaction (joins it, or
// opens its own); database errors raise DbError. A number without a POS bill changes nothing.
//
// The bill records which way the sale or return went (pos_hyfz: 1 points path, 2 the early exit
// of a bill whose points base is 0), so that a cancel takes back only what was applied.
// Consumption-bound gifts (kinds 2, then 4) are paid on "XS" of "XS…" bills, one gift row per
// eligible scheme, the stored value credited with their sum; a cancel of the only bill of the
// month (day) takes back every gift row of that kind the member has in it.
void PostPosMember(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                   const QString &bill, const QString &member, const QString &mode);

// hy_ye := whole hy_zje modulo the whole amount per point, when the remainder is carried and
// points by amount are set; 0 when that whole amount is 0.
void UpdateMemberBalance(const QSqlDatabase &db, const LoginState &state, const QString &member);

// hl_sn of the first level (by id) whose points range holds `points`; "100001" when none does.
QString GetMemberLevel(const QSqlDatabase &db, const QString &points);

// The level the member would have with `addPoints` more total points: the current hl_sn unless
// hy_sj is on, then the first level holding hy_zjf + addPoints, "" when none does. Writes nothing.
QString CalcMemberLevel(const QSqlDatabase &db, const QString &member, qint64 addPoints);

// The next card number of `table`.`column` (names checked against the table catalogue;
// std::invalid_argument otherwise): the numeric maximum of the digit-only values of 6 or more
// characters plus one; "100001" when none, or when the result has fewer than 6 characters.
QString GetNewMemberNo(const QSqlDatabase &db, const QString &table, const QString &column);

// Deletes held POS bills (pos_note 'gd') dated before today with their lines, unless
// PosHeldTodayOnly reads "0" or "False". One transaction.
void PurgeHeldPosOrders(const QSqlDatabase &db, const LoginState &state, const Clock &clock);

// The scheduled top-up gifts, run at login: monthly gifts (kind 1, from the 10th), the lapse of
// monthly consumption-bound gifts (kind 2), daily gifts (kind 3) and the lapse of daily
// consumption-bound gifts (kind 4), credited to the members in one statement. One transaction
// that first locks the scheduled top-up rows, so two logins at once pay once. Returns the empty
// text when done, else the database's text (everything rolled back) for the diagnostic log; the
// login goes on either way.
QString ApplyRechargeGifts(const QSqlDatabase &db, const LoginState &state, const Clock &clock);
