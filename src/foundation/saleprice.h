#pragma once

// The unit price a sales line proposes for the document's customer. Reads only: no message,
// no write. Prices come back as number text rounded to PriceDecimals ("12.5").
//
// Found means a non-empty value: no row or NULL is not found, a stored 0 is a price.

#include <QSqlDatabase>
#include <QString>

struct LoginState;

// The customer's price level: its type kt_sn with graded prices on, else (or for an unknown
// customer) "1000", the retail level.
QString GetCustomerLevel(const QSqlDatabase &db, const LoginState &state, const QString &customerSn);

// The level price column of a level: g_sj1 … g_sj5 for "1001" … "1005", g_sj otherwise.
QString LevelPriceColumn(const QString &level);

// The price in the goods' base unit: the newest quote of the customer; with SalePriceDefault
// "1" the last audited sale to the customer in the base unit, else the level price; with "0"
// the level price of a level other than retail; then g_sj; then 0.
QString GetSalePrice(const QSqlDatabase &db, const LoginState &state, const QString &customerSn,
                     const QString &goodsSn);

// The price in an auxiliary unit: with SalePriceDefault "1" the last audited sale to the
// customer in that unit (latest sale date, then latest line); else or when there is none the
// unit's level price; then 0. No quote and no fall-back to the base price.
QString GetSalePriceByUnit(const QSqlDatabase &db, const LoginState &state, const QString &customerSn,
                           const QString &goodsSn, const QString &unit);
