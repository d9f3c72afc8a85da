// How long building a complete account set takes (SQLite file, or PostgreSQL when
// JXC_BENCH_PG names a socket folder or host).

#include "benchsupport.h"

#include "foundation/db/connection.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/schema/schemabuilder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const ConnectionSettings s = BenchTarget(dir.path());
    const int runs = 5;
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const QString file = QStringLiteral("b%1.db").arg(i);
        RecreateDatabase(s, file);
        {
            QSqlDatabase db = OpenConnection(s, file, QStringLiteral("bench"));
            QElapsedTimer t;
            t.start();
            CreateAllTables(db);
            best = std::min(best, t.nsecsElapsed() / 1e6);
        }
        CloseConnection(QStringLiteral("bench"));
        DropDatabase(s, file);
    }
    std::printf("CreateAllTables (%s): best of %d runs %.1f ms\n",
                DialectName(s), runs, best);
    return 0;
}
