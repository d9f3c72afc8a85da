#pragma once

// Repair of a document number that several operators saved at the same moment.

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

// For types CJ, CT, XS, XT (others: nothing). The number stays with the audited copy, else with
// the operator of the lowest-id pending copy; every other operator's pending copy (header and
// his lines) moves to a fresh number of its own date, his further pending headers of the number
// are deleted. Returns the number under which `operatorName`'s pending copy now stands, or
// `number` when he has none or nothing was renumbered. Joins an open Transaction or opens its own.
QString FixDuplicateDjh(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                        const QString &number, const QString &type, const QString &operatorName);
