#pragma once

#include <QSqlDatabase>
#include <QStringList>

// Keeps the query planner's statistics current after work that changes many rows at once
// (account-set restore, period closing, …), so plans fit the data as it now is.
//  - SQLite: ANALYZE of `tables` (all tables when empty), sampled (analysis_limit) so it stays
//    quick on large sets; CloseConnection runs "PRAGMA optimize" for the rest.
//  - PostgreSQL: ANALYZE of `tables` (the whole database when empty); autovacuum does the rest.
// Best effort: a failure leaves the statistics as they were and is not raised. Call it outside
// a transaction.
void KeepStatistics(const QSqlDatabase &db, const QStringList &tables = {});

// SQLite: "PRAGMA optimize" before a connection closes (as SQLite recommends). Nothing elsewhere.
void OptimizeBeforeClose(const QSqlDatabase &db);
