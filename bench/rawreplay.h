#pragma once

// The raw reference of a bench measure: the statements the program sent for one unit of work
// (recorded through SetStatementObserver: its own statements, the transaction statements and the
// rows of the engine's batch fills), sent again, transaction and commit included, through sqlite3
// or libpq directly on a connection of their own. Each text is prepared once on that connection
// and executed with the same values; every row is read. A bench sends them for a twin of the
// document the program worked on (Substituted: its number for the original's), so that the raw
// side does the same work on the same amount of data right after the program.

#include "rawreference.h"

#include "engine/enginebatch.h"
#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"

#include <QElapsedTimer>
#include <QHash>
#include <QLocale>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

struct RecordedStatement
{
    QString sql;
    QVariantList binds;
};

// Records what the program sends on `db` while it lives.
class StatementRecorder
{
public:
    explicit StatementRecorder(const QSqlDatabase &db)
        : m_db(db)
    {
        SetStatementObserver(m_db, [this](const QString &sql, const QVariantList &binds) {
            m_statements.push_back({sql, binds});
        });
    }
    ~StatementRecorder() { SetStatementObserver(m_db, {}); }
    StatementRecorder(const StatementRecorder &) = delete;
    StatementRecorder &operator=(const StatementRecorder &) = delete;

    const std::vector<RecordedStatement> &statements() const { return m_statements; }

private:
    QSqlDatabase m_db;
    std::vector<RecordedStatement> m_statements;
};

// `statements` with every bound text holding `from` holding `to` instead.
inline std::vector<RecordedStatement> Substituted(std::vector<RecordedStatement> statements, const QString &from,
                                                  const QString &to)
{
    for (RecordedStatement &st : statements)
        for (QVariant &v : st.binds)
            if (v.typeId() == QMetaType::QString && v.toString().contains(from))
                v = v.toString().replace(from, to);
    return statements;
}

class RawReplay
{
public:
    RawReplay(const ConnectionSettings &s, const QString &file)
        : m_postgres(s.kind == DbKind::Postgres)
    {
        const QByteArray target = DatabaseTarget(s, file).toUtf8();
        if (m_postgres) {
            m_pg = PgConnect(s, file);
        } else {
            if (sqlite3_open_v2(target.constData(), &m_lite, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
                throw DbError(QStringLiteral("raw connection: ") + QString::fromUtf8(sqlite3_errmsg(m_lite)));
            sqlite3_busy_timeout(m_lite, 10000);
            sqlite3_exec(m_lite, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
        }
    }

    ~RawReplay()
    {
        for (sqlite3_stmt *stmt : std::as_const(m_liteStatements))
            sqlite3_finalize(stmt);
        if (m_lite)
            sqlite3_close(m_lite);
        if (m_pg)
            PQfinish(m_pg);
    }
    RawReplay(const RawReplay &) = delete;
    RawReplay &operator=(const RawReplay &) = delete;

    // Milliseconds for the statements; -1 (and the failing statement printed) when one fails.
    double run(const std::vector<RecordedStatement> &statements)
    {
        QElapsedTimer t;
        t.start();
        for (const RecordedStatement &statement : statements) {
            const QString &sql = statement.sql;
            const bool ok = m_postgres ? runPostgres(sql, statement.binds) : runSqlite(sql, statement.binds);
            if (!ok) {
                std::printf("    raw statement failed: %s\n      %s\n", qPrintable(m_error), qPrintable(sql.left(300)));
                runPostgresOrSqlite(QStringLiteral("ROLLBACK"));
                return -1;
            }
        }
        return t.nsecsElapsed() / 1e6;
    }

private:
    void runPostgresOrSqlite(const QString &sql)
    {
        if (m_postgres)
            PQclear(PQexec(m_pg, sql.toUtf8().constData()));
        else
            sqlite3_exec(m_lite, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }

    static QByteArray text(const QVariant &v)
    {
        switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return QByteArray::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
        case QMetaType::Bool:
            return v.toBool() ? "true" : "false";
        default:
            return v.toString().toUtf8();
        }
    }

    bool runPostgres(const QString &sql, const QVariantList &binds)
    {
        PGresult *res = nullptr;
        if (binds.isEmpty()) {
            res = PQexec(m_pg, sql.toUtf8().constData());
        } else {
            QByteArray &name = m_pgStatements[sql];
            if (name.isEmpty()) {
                name = "raw" + QByteArray::number(m_pgStatements.size());
                PGresult *prepared = PQprepare(m_pg, name.constData(), PgNumbered(sql).constData(), 0, nullptr);
                const bool ok = PQresultStatus(prepared) == PGRES_COMMAND_OK;
                PQclear(prepared);
                if (!ok) {
                    m_error = QString::fromUtf8(PQerrorMessage(m_pg));
                    m_pgStatements.remove(sql);
                    return false;
                }
            }
            std::vector<QByteArray> values;
            std::vector<const char *> pointers;
            for (const QVariant &v : binds)
                values.push_back(v.isNull() ? QByteArray() : text(v));
            for (size_t i = 0; i < values.size(); ++i)
                pointers.push_back(binds.at(int(i)).isNull() ? nullptr : values[i].constData());
            res = PQexecPrepared(m_pg, name.constData(), int(pointers.size()), pointers.data(), nullptr, nullptr, 0);
        }
        const ExecStatusType status = PQresultStatus(res);
        const bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
        if (ok) {
            // Every value of every row, as the program reads them.
            const int rows = PQntuples(res), columns = PQnfields(res);
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c)
                    m_sink += PQgetlength(res, r, c);
        } else {
            m_error = QString::fromUtf8(PQerrorMessage(m_pg));
        }
        PQclear(res);
        return ok;
    }

    bool runSqlite(const QString &sql, const QVariantList &binds)
    {
        sqlite3_stmt *&stmt = m_liteStatements[sql];
        if (!stmt) {
            const QByteArray utf8 = sql.toUtf8();
            if (sqlite3_prepare_v2(m_lite, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
                m_error = QString::fromUtf8(sqlite3_errmsg(m_lite));
                m_liteStatements.remove(sql);
                return false;
            }
        }
        for (int i = 0; i < binds.size(); ++i)
            engine::BindSqliteValue(stmt, i + 1, binds.at(i));
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            const int columns = sqlite3_column_count(stmt);
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER:
                    m_sink += sqlite3_column_int64(stmt, c);
                    break;
                case SQLITE_FLOAT:
                    m_sink += qint64(sqlite3_column_double(stmt, c));
                    break;
                case SQLITE_TEXT:
                    m_sink += sqlite3_column_bytes(stmt, c);
                    break;
                default:
                    break;
                }
            }
        }
        const bool ok = rc == SQLITE_DONE;
        if (!ok)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_lite));
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        return ok;
    }

    bool m_postgres = false;
    PGconn *m_pg = nullptr;
    sqlite3 *m_lite = nullptr;
    QHash<QString, QByteArray> m_pgStatements;
    QHash<QString, sqlite3_stmt *> m_liteStatements;
    QString m_error;
    qint64 m_sink = 0;
};

// ---- Timing of the measures ----

struct BenchFigures
{
    double median = 0, worst = 0;
};

inline BenchFigures TimeRuns(int runs, const std::function<void(int)> &prepare, const std::function<void(int)> &run)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare(i);
        QElapsedTimer t;
        t.start();
        run(i);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

inline void ReportFigures(const char *label, const BenchFigures &f, double targetMs)
{
    if (targetMs > 0)
        std::printf("  %-58s median %8.1f ms  worst %8.1f ms  (target %.0f ms: %s)\n", label, f.median, f.worst,
                    targetMs, f.median <= targetMs ? "met" : "MISSED");
    else
        std::printf("  %-58s median %8.1f ms  worst %8.1f ms\n", label, f.median, f.worst);
    std::fflush(stdout);
}

// A measure beside its raw reference (`also`: further texts of the program's document and their
// twin's): run i times the program on document i (made by
// `prepare`), recording what it sends; then a twin of it (made by `twin`, under the number
// `twinNumber(i)`) gets the same statements through sqlite3 / libpq directly.
inline void MeasurePaired(const QSqlDatabase &db, RawReplay &raw, int runs, const char *label, double targetMs,
                   const std::function<void(int)> &prepare, const std::function<void(int)> &run,
                   const std::function<QString(int)> &number, const std::function<void(int)> &twin,
                   const std::function<QString(int)> &twinNumber,
                   const std::vector<std::pair<std::function<QString(int)>, std::function<QString(int)>>> &also = {})
{
    std::vector<double> program, direct;
    int sent = 0;
    bool failed = false;
    for (int i = 0; i < runs; ++i) {
        prepare(i);
        std::vector<RecordedStatement> statements;
        {
            StatementRecorder recorder(db);
            QElapsedTimer t;
            t.start();
            run(i);
            program.push_back(t.nsecsElapsed() / 1e6);
            statements = recorder.statements();
        }
        sent = int(statements.size());
        twin(i);
        std::vector<RecordedStatement> twinStatements = Substituted(statements, number(i), twinNumber(i));
        // Other keys of the document the twin has its own of (a warehouse its rows create).
        for (const auto &[from, to] : also)
            twinStatements = Substituted(twinStatements, from(i), to(i));
        const double ms = raw.run(twinStatements);
        failed = failed || ms < 0;
        direct.push_back(ms);
    }
    const auto figures = [](std::vector<double> ms) {
        std::sort(ms.begin(), ms.end());
        return BenchFigures{ms[ms.size() / 2], ms.back()};
    };
    const BenchFigures p = figures(program);
    ReportFigures(label, p, targetMs);
    if (failed)
        return;
    const BenchFigures r = figures(direct);
    std::printf("    raw reference: the same %d statements through %-7s       median %8.2f ms  worst %8.2f ms  "
                "(program / raw %.1f)\n",
                sent, Dialect::of(db).isPostgres() ? "libpq" : "sqlite3", r.median, r.worst,
                r.median > 0 ? p.median / r.median : 0.0);
    std::fflush(stdout);
}
