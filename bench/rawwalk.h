#pragma once

// The raw reference of the cost walk: the same rows of one goods and warehouse from a date on
// read in date and id order, their running values parsed as numbers and written back to every
// row, in one transaction, through sqlite3 / libpq directly. SQLite: one prepared UPDATE by id
// stepped per row. PostgreSQL: the rows COPYed into a temporary table, then one UPDATE … FROM it
// by id. The values written are the ones read, so the set stays as it was.

#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "rawreference.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QElapsedTimer>
#include <QString>

#include <charconv>
#include <cstdlib>
#include <string>
#include <vector>

class RawWalk
{
public:
    RawWalk(const ConnectionSettings &s, const QString &file) : m_pg(s.kind == DbKind::Postgres)
    {
        if (m_pg) {
            m_conn = PgConnect(s, file);
            exec("create temp table raw_walk (id bigint, c1 numeric(28,8), c2 numeric(28,8), c3 numeric(28,8), "
                 "c4 numeric(28,8), c5 numeric(28,8))");
        } else if (sqlite3_open_v2(DatabaseTarget(s, file).toUtf8().constData(), &m_lite, SQLITE_OPEN_READWRITE,
                                   nullptr)
                   != SQLITE_OK) {
            throw DbError(QStringLiteral("sqlite3_open"));
        } else {
            sqlite3_busy_timeout(m_lite, 10000);
            sqlite3_exec(m_lite, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
            sqlite3_exec(m_lite, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
        }
    }
    ~RawWalk()
    {
        if (m_conn)
            PQfinish(m_conn);
        if (m_lite)
            sqlite3_close(m_lite);
    }
    RawWalk(const RawWalk &) = delete;
    RawWalk &operator=(const RawWalk &) = delete;

    // Milliseconds for reading and rewriting the rows; `rows` gets their count.
    double run(const QString &goods, const QString &warehouse, const QString &fromDate, int &rows)
    {
        QElapsedTimer t;
        t.start();
        rows = m_pg ? runPg(goods, warehouse, fromDate) : runLite(goods, warehouse, fromDate);
        return t.nsecsElapsed() / 1e6;
    }

private:
    static constexpr const char *kSelect =
        "select id, gl_flag, gl_sl, gl_je, gl_dj, gl_zcb, gl_sqsl, gl_sqje, gl_pjjj, gl_kc, gl_kczje "
        "from jxc_goodslist where g_sn = $1 and ck_sn = $2 and gl_kdrq >= $3 order by gl_kdrq, id";

    void exec(const char *sql)
    {
        PGresult *r = PQexec(m_conn, sql);
        const ExecStatusType st = PQresultStatus(r);
        PQclear(r);
        if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK)
            throw DbError(QString::fromUtf8(PQerrorMessage(m_conn)));
    }

    int runPg(const QString &goods, const QString &warehouse, const QString &fromDate)
    {
        exec("begin");
        const QByteArray g = goods.toUtf8(), w = warehouse.toUtf8(), d = fromDate.toUtf8();
        const char *values[] = {g.constData(), w.constData(), d.constData()};
        PGresult *r = PQexecParams(m_conn, kSelect, 3, nullptr, values, nullptr, nullptr, 0);
        if (PQresultStatus(r) != PGRES_TUPLES_OK) {
            PQclear(r);
            throw DbError(QString::fromUtf8(PQerrorMessage(m_conn)));
        }
        const int n = PQntuples(r);
        std::string copy;
        copy.reserve(size_t(n) * 96);
        char buf[40];
        for (int i = 0; i < n; ++i) {
            copy += PQgetvalue(r, i, 0);
            for (int c = 6; c <= 10; ++c) {
                copy += '\t';
                if (PQgetisnull(r, i, c)) {
                    copy += "\\N";
                    continue;
                }
                const double v = std::strtod(PQgetvalue(r, i, c), nullptr);
                const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17).ptr;
                copy.append(buf, end);
            }
            copy += '\n';
        }
        PQclear(r);
        exec("truncate raw_walk");
        PQclear(PQexec(m_conn, "copy raw_walk from stdin"));
        if (PQputCopyData(m_conn, copy.data(), int(copy.size())) != 1 || PQputCopyEnd(m_conn, nullptr) != 1)
            throw DbError(QString::fromUtf8(PQerrorMessage(m_conn)));
        PGresult *done = PQgetResult(m_conn);
        const bool copied = PQresultStatus(done) == PGRES_COMMAND_OK;
        PQclear(done);
        while ((done = PQgetResult(m_conn)))
            PQclear(done);
        if (!copied)
            throw DbError(QString::fromUtf8(PQerrorMessage(m_conn)));
        exec("update jxc_goodslist set gl_sqsl = b.c1, gl_sqje = b.c2, gl_pjjj = b.c3, gl_kc = b.c4, "
             "gl_kczje = b.c5 from raw_walk b where jxc_goodslist.id = b.id");
        exec("commit");
        return n;
    }

    int runLite(const QString &goods, const QString &warehouse, const QString &fromDate)
    {
        sqlite3_exec(m_lite, "begin immediate", nullptr, nullptr, nullptr);
        sqlite3_stmt *select = nullptr, *update = nullptr;
        sqlite3_prepare_v2(m_lite,
                           "select id, gl_flag, gl_sl, gl_je, gl_dj, gl_zcb, gl_sqsl, gl_sqje, gl_pjjj, gl_kc, "
                           "gl_kczje from jxc_goodslist where g_sn = ?1 and ck_sn = ?2 and gl_kdrq >= ?3 "
                           "order by gl_kdrq, id",
                           -1, &select, nullptr);
        sqlite3_prepare_v2(m_lite,
                           "update jxc_goodslist set gl_sqsl = ?1, gl_sqje = ?2, gl_pjjj = ?3, gl_kc = ?4, "
                           "gl_kczje = ?5 where id = ?6",
                           -1, &update, nullptr);
        const QByteArray g = goods.toUtf8(), w = warehouse.toUtf8(), d = fromDate.toUtf8();
        sqlite3_bind_text(select, 1, g.constData(), int(g.size()), SQLITE_STATIC);
        sqlite3_bind_text(select, 2, w.constData(), int(w.size()), SQLITE_STATIC);
        sqlite3_bind_text(select, 3, d.constData(), int(d.size()), SQLITE_STATIC);
        struct Row
        {
            sqlite3_int64 id;
            double v[5];
        };
        std::vector<Row> rows;
        while (sqlite3_step(select) == SQLITE_ROW) {
            Row row{sqlite3_column_int64(select, 0), {}};
            for (int c = 0; c < 5; ++c)
                row.v[c] = sqlite3_column_double(select, 6 + c);
            rows.push_back(row);
        }
        sqlite3_finalize(select);
        for (const Row &row : rows) {
            for (int c = 0; c < 5; ++c)
                sqlite3_bind_double(update, c + 1, row.v[c]);
            sqlite3_bind_int64(update, 6, row.id);
            sqlite3_step(update);
            sqlite3_reset(update);
        }
        sqlite3_finalize(update);
        sqlite3_exec(m_lite, "commit", nullptr, nullptr, nullptr);
        return int(rows.size());
    }

    bool m_pg;
    PGconn *m_conn = nullptr;
    sqlite3 *m_lite = nullptr;
};
