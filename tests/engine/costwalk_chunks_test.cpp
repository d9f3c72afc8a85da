// The cost walks read and write a long history in chunks: every chunk size gives the rows of one
// chunk, and a walk over rows already right writes none of them again.

#include "walkfixture.h"

#include "engine/costwalk.h"
#include "foundation/db/dialect.h"
#include "foundation/db/transaction.h"

#include <functional>

namespace {

constexpr int kRows = 25000;

class CostWalkChunkTest : public WalkTest
{
protected:
    void SetUp() override
    {
        WalkTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const char *g : {"G1", "G2"}) {
            addGoods(QLatin1String(g), 4.5);
            addStock(QLatin1String(g), QStringLiteral("100001"), 0);
        }
        // 25,000 rows of G1 and a few of G2, about 37 to a date, dates not in id order (a row
        // entered later may be dated earlier), so that chunk borders fall inside a date; every
        // kind of movement the walks treat apart, a document "EX" to leave out, and stale
        // running values for the walks to replace.
        RunSql(db(), QStringLiteral(
                         "insert into jxc_goodslist (gl_flag, gl_kdrq, gl_djh, g_sn, ck_sn, gl_sl, gl_je, gl_zje, "
                         "gl_dj, gl_zcb, gl_kc, gl_pjjj, gl_kczje) "
                         "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                         "select case i % 11 when 0 then 'xs' when 1 then 'xt' when 2 then 'ct' when 3 then 'db' "
                         "when 4 then 'bs' when 5 then 'ly' when 6 then 'dh' else 'cj' end, "
                         "'2024-' || (100000 + (i * 7919) % 677), "
                         "case when i % 97 = 0 then 'EX' else 'D' || i end, "
                         "case when i % 50 = 0 then 'G2' else 'G1' end, '100001', "
                         "(i % 5) - 1, ((i % 5) - 1) * (3 + (i % 13) * 0.37), ((i % 5) - 1) * (3 + (i % 13) * 0.37), "
                         "3 + (i % 13) * 0.37, ((i % 5) - 1) * (2.9 + (i % 7) * 0.41), 999, 999, 999 from n")
                         .arg(kRows));
        firstId = num(QStringLiteral("select min(id) from jxc_goodslist where g_sn = 'G1' and gl_kdrq = "
                                     "(select min(gl_kdrq) from jxc_goodslist where g_sn = 'G1')"));
        middleId = num(QStringLiteral("select min(id) from jxc_goodslist where g_sn = 'G1' and gl_djh = 'EX' "
                                      "and gl_kdrq > '2024-100300'"));
        g2Id = num(QStringLiteral("select min(id) from jxc_goodslist where g_sn = 'G2'"));
    }
    void TearDown() override
    {
        SetCostWalkChunkRows(0);
        WalkTest::TearDown();
    }

    // Copies of the ledger and the stock rows as they stand, named after `copy`.
    void keep(const QString &copy)
    {
        for (const QString &t : tables())
            RunSql(db(), QStringLiteral("create temp table %1_%2 as select * from %2").arg(copy, t));
    }
    void restore(const QString &copy)
    {
        for (const QString &t : tables()) {
            RunSql(db(), QStringLiteral("delete from %1").arg(t));
            RunSql(db(), QStringLiteral("insert into %2 select * from %1_%2").arg(copy, t));
        }
    }
    void drop(const QString &copy)
    {
        for (const QString &t : tables())
            RunSql(db(), QStringLiteral("drop table %1_%2").arg(copy, t));
    }
    // Rows of the tables that differ from the copy in any column, compared by the database
    // (numbers exactly as stored).
    int differing(const QString &copy)
    {
        int n = 0;
        for (const QString &t : tables())
            n += QueryScalar(db(), QStringLiteral("select (select count(*) from (select * from %2 except "
                                                  "select * from %1_%2) a) + (select count(*) from (select * "
                                                  "from %1_%2 except select * from %2) b)")
                                       .arg(copy, t))
                     .toInt();
        return n;
    }
    static QStringList tables() { return {QStringLiteral("jxc_goodslist"), QStringLiteral("jxc_kcsp")}; }

    qint64 firstId = 0, middleId = 0, g2Id = 0;
};

TEST_F(CostWalkChunkTest, ChunksOfAThousandGiveTheRowsOfOneChunk)
{
    const QString first = QString::number(firstId), middle = QString::number(middleId), g2 = QString::number(g2Id);
    ASSERT_GT(middleId, 0);
    const std::pair<const char *, std::function<void()>> walks[] = {
        {"from the first row", [&] { RecalcStockCost(db(), state, clock, first, QStringLiteral("0")); }},
        {"from the middle, its document left out",
         [&] { RecalcStockCost(db(), state, clock, middle, QStringLiteral("1")); }},
        {"several walks together",
         [&] { RecalcStockCostRows(db(), state, clock, QStringList{first, g2, middle}, QStringLiteral("0")); }},
        {"several walks together, documents left out",
         [&] { RecalcStockCostRows(db(), state, clock, QStringList{g2, middle}, QStringLiteral("1")); }},
        {"full walk with write-back", [&] { RecalcStockCostFull(db(), state, clock, first, QStringLiteral("1")); }},
    };
    keep(QStringLiteral("walk_before"));
    for (const auto &[name, walk] : walks) {
        SCOPED_TRACE(name);
        SetCostWalkChunkRows(kRows * 2);
        walk();
        ASSERT_GT(differing(QStringLiteral("walk_before")), 0);
        keep(QStringLiteral("walk_whole"));
        for (const int chunk : {1000, 999}) {
            SCOPED_TRACE(chunk);
            restore(QStringLiteral("walk_before"));
            SetCostWalkChunkRows(chunk);
            walk();
            EXPECT_EQ(differing(QStringLiteral("walk_whole")), 0);
        }
        drop(QStringLiteral("walk_whole"));
        restore(QStringLiteral("walk_before"));
    }
}

TEST_F(CostWalkChunkTest, AWalkOverRowsAlreadyRightWritesNone)
{
    SetCostWalkChunkRows(1000);
    const QString first = QString::number(firstId), g2 = QString::number(g2Id);
    RecalcStockCost(db(), state, clock, first, QStringLiteral("0"));
    RecalcStockCost(db(), state, clock, g2, QStringLiteral("0"));

    // Each written row leaves a trace: a new row version on PostgreSQL, a trigger's row on SQLite.
    const bool postgres = Dialect::of(db()).isPostgres();
    if (!postgres) {
        RunSql(db(), QStringLiteral("create temp table walk_writes (n integer)"));
        RunSql(db(), QStringLiteral("create temp trigger walk_write after update on jxc_goodslist "
                                    "begin insert into walk_writes values (1); end"));
    }
    const auto traces = [&] {
        return postgres ? QueryScalar(db(), QStringLiteral("select string_agg(cast(xmin as text), ',' order by id) "
                                                           "from jxc_goodslist"))
                                  .split(QLatin1Char(','))
                        : QStringList{QueryScalar(db(), QStringLiteral("select count(*) from walk_writes"))};
    };
    // Rows written since `before`.
    const auto writtenSince = [&](const QStringList &before) {
        const QStringList now = traces();
        if (!postgres)
            return now.at(0).toInt() - before.at(0).toInt();
        int changed = 0;
        for (qsizetype i = 0; i < std::min(before.size(), now.size()); ++i)
            changed += before.at(i) != now.at(i) ? 1 : 0;
        return changed;
    };

    keep(QStringLiteral("walk_walked"));
    QStringList mark = traces();
    RecalcStockCost(db(), state, clock, first, QStringLiteral("0"));
    EXPECT_EQ(writtenSince(mark), 0);
    RecalcStockCostRows(db(), state, clock, QStringList{first, g2}, QStringLiteral("0"));
    EXPECT_EQ(writtenSince(mark), 0);
    EXPECT_EQ(differing(QStringLiteral("walk_walked")), 0);

    // and a row made wrong again is the one row written
    RunSql(db(), QStringLiteral("update jxc_goodslist set gl_kc = 999 where id = ?"), {middleId});
    mark = traces();
    RecalcStockCost(db(), state, clock, first, QStringLiteral("0"));
    EXPECT_EQ(writtenSince(mark), 1);
    EXPECT_EQ(differing(QStringLiteral("walk_walked")), 0);
}

} // namespace
