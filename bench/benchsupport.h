#pragma once

// Shared by the speed programs: where they run (a SQLite file in a folder, or PostgreSQL when
// JXC_BENCH_PG names a socket folder or host) and a fresh database or account set there.

#include "foundation/db/connection.h"
#include "foundation/schema/schemabuilder.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QString>

#include <cstdio>
#include <functional>
#include <vector>

// `base` moved to the PostgreSQL server JXC_BENCH_PG names; false (and `base` as it was) when unset.
inline bool UseBenchPostgres(ConnectionSettings &base)
{
    if (qEnvironmentVariableIsEmpty("JXC_BENCH_PG"))
        return false;
    base.kind = DbKind::Postgres;
    base.host = qEnvironmentVariable("JXC_BENCH_PG");
    base.user = qEnvironmentVariable("PGUSER", QStringLiteral("postgres"));
    base.prefix = QStringLiteral("bench_");
    return true;
}

// One place to run on: PostgreSQL when JXC_BENCH_PG is set, else SQLite files in `folder`.
inline ConnectionSettings BenchTarget(const QString &folder)
{
    ConnectionSettings s;
    s.dataFolder = folder;
    UseBenchPostgres(s);
    return s;
}

// Both places to run on: SQLite files in `folder`, then PostgreSQL when JXC_BENCH_PG is set.
inline std::vector<ConnectionSettings> BenchTargets(const QString &folder)
{
    ConnectionSettings lite;
    lite.dataFolder = folder;
    std::vector<ConnectionSettings> targets{lite};
    ConnectionSettings pg = lite;
    if (UseBenchPostgres(pg))
        targets.push_back(pg);
    else
        std::printf("PostgreSQL skipped: set JXC_BENCH_PG to a socket folder or host\n");
    return targets;
}

// BenchTargets, less SQLite when the program's first argument is "--pg-only".
inline std::vector<ConnectionSettings> BenchTargets(const QString &folder, int argc, char **argv)
{
    std::vector<ConnectionSettings> targets = BenchTargets(folder);
    if (argc > 1 && QByteArray(argv[1]) == "--pg-only" && targets.size() > 1)
        targets.erase(targets.begin());
    return targets;
}

// An empty database `file`, dropping one left by an earlier run.
inline void RecreateDatabase(const ConnectionSettings &s, const QString &file)
{
    if (DatabaseExists(s, file))
        DropDatabase(s, file);
    CreateEmptyDatabase(s, file);
}

inline const char *DialectName(const ConnectionSettings &s)
{
    return s.kind == DbKind::Sqlite ? "SQLite" : "PostgreSQL";
}

// A fresh account set `file` with all its tables, open on the connection "bench".
inline QSqlDatabase CreateBenchSet(const ConnectionSettings &s, const QString &file)
{
    RecreateDatabase(s, file);
    QSqlDatabase db = OpenConnection(s, file, QStringLiteral("bench"));
    CreateAllTables(db);
    return db;
}

// For each place to run: a fresh account set `file` on the connection "bench", filled by `fill`
// (which says what it built; printed with the time the fill and an analyze took), measured by
// `measure`, then dropped. Returns the program's exit code: 1 when a database error stops it.
inline int RunBenchOnTargets(const std::vector<ConnectionSettings> &targets, const QString &file,
                             const std::function<QString(const QSqlDatabase &)> &fill,
                             const std::function<void(const ConnectionSettings &, const QSqlDatabase &)> &measure)
{
    for (const ConnectionSettings &s : targets) {
        try {
            {
                QSqlDatabase db = CreateBenchSet(s, file);
                QElapsedTimer t;
                t.start();
                const QString built = fill(db);
                RunSql(db, QStringLiteral("analyze"));
                std::printf("%s: %s built in %.1f s\n", DialectName(s), qPrintable(built), t.elapsed() / 1000.0);
                measure(s, db);
            }
            CloseConnection(QStringLiteral("bench"));
            DropDatabase(s, file);
        } catch (const DbError &e) {
            std::printf("failed: %s\n", qPrintable(e.text()));
            return 1;
        }
    }
    return 0;
}
