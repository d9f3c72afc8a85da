#pragma once

// The raw reference of the speed programs, the same plain work through sqlite3 / libpq directly
// (no Qt driver, no rule; libpq through rawreference.h), and the timing of a piece of work: median and worst of a few runs
// after one to warm up, printed beside the raw reference and their ratio.

#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "rawreference.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Statements through sqlite3 / libpq on the account set `file` of `s`.
class RawDb
{
public:
    explicit RawDb(const ConnectionSettings &s, const QString &file) : m_pg(s.kind == DbKind::Postgres)
    {
        const QString target = DatabaseTarget(s, file);
        if (m_pg) {
            m_conn = PgConnect(s, file);
        } else if (sqlite3_open_v2(target.toUtf8().constData(), &m_lite, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            throw DbError(QStringLiteral("sqlite3_open"));
        } else {
            sqlite3_busy_timeout(m_lite, 10000);
        }
    }
    ~RawDb()
    {
        if (m_conn)
            PQfinish(m_conn);
        if (m_lite)
            sqlite3_close(m_lite);
    }

    // Runs a statement with "?" values (as text), reading every row; returns the row count.
    // With `rows`, every row's values as text are appended there.
    int run(const QString &sql, const QVariantList &binds = {}, QList<QStringList> *rows = nullptr)
    {
        return m_pg ? runPg(sql, binds, rows) : runLite(sql, binds, rows);
    }

private:
    int runLite(const QString &sql, const QVariantList &binds, QList<QStringList> *out)
    {
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_lite, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(m_lite)));
        for (int i = 0; i < binds.size(); ++i) {
            const QVariant &v = binds.at(i);
            if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
            else if (v.typeId() == QMetaType::Double)
                sqlite3_bind_double(stmt, i + 1, v.toDouble());
            else {
                const QByteArray b = v.toString().toUtf8();
                sqlite3_bind_text(stmt, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            }
        }
        int rows = 0;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QStringList values;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
                if (out)
                    values << QString::fromUtf8(text, sqlite3_column_bytes(stmt, c));
            }
            if (out)
                out->append(values);
            ++rows;
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(m_lite)));
        return rows;
    }

    int runPg(const QString &sql, const QVariantList &binds, QList<QStringList> *out)
    {
        PGresult *r = PgRun(m_conn, sql, binds);
        const int rows = PQntuples(r);
        for (int i = 0; i < rows; ++i) {
            QStringList values;
            for (int c = 0; c < PQnfields(r); ++c) {
                const char *text = PQgetvalue(r, i, c);
                if (out)
                    values << QString::fromUtf8(text, PQgetlength(r, i, c));
            }
            if (out)
                out->append(values);
        }
        PQclear(r);
        return rows;
    }

    bool m_pg;
    PGconn *m_conn = nullptr;
    sqlite3 *m_lite = nullptr;
};

struct Timing
{
    double median = 0;
    double worst = 0;
};

// `once` run once to warm up, then `runs` times; `prepare` (not timed) before each run.
inline Timing MeasureRuns(int runs, const std::function<void()> &once, const std::function<void()> &prepare = {})
{
    if (prepare)
        prepare();
    once();
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        once();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

// One line: ours (median, worst), the raw reference's median, the ratio and the target
// (0: for information).
inline void ReportTiming(const char *what, const Timing &ours, const Timing &raw, double targetMs)
{
    std::printf("  %-48s median %8.1f ms  worst %8.1f ms | raw %7.1f ms | ratio %5.1f", what, ours.median, ours.worst,
                raw.median, raw.median > 0 ? ours.median / raw.median : 0.0);
    if (targetMs > 0)
        std::printf("  (target %.0f ms: %s)", targetMs, ours.median <= targetMs ? "met" : "MISSED");
    std::printf("\n");
    std::fflush(stdout);
}
