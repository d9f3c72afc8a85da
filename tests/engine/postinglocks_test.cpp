// The posting locks: what they hold off on PostgreSQL, and two workstations walking one goods,
// cash account and partner at once without losing each other's rows.

#include "walkfixture.h"

#include "engine/balances.h"
#include "engine/costwalk.h"
#include "engine/postinglocks.h"
#include "foundation/db/connection.h"
#include "foundation/db/transaction.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace {

class PostingLockTest : public WalkTest
{
protected:
    void SetUp() override
    {
        WalkTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addGoods(QStringLiteral("G1"));
        addGoods(QStringLiteral("G2"));
        addStock(QStringLiteral("G1"), QStringLiteral("100001"), 0);
    }
};

TEST_F(PostingLockTest, NeedsAnOpenTransaction)
{
    PostingLockKeys keys;
    keys.goods = {QStringLiteral("G1")};
    EXPECT_THROW(LockForPosting(db(), keys), DbError);
    Transaction tx(db());
    EXPECT_NO_THROW(LockForPosting(db(), keys));
    tx.commit();
}

TEST_F(PostingLockTest, SecondWorkstationWaitsForTheSameKeysOnly)
{
    if (TestDbKind() != DbKind::Postgres)
        GTEST_SKIP() << "SQLite serialises writers with BEGIN IMMEDIATE";
    RunSql(db(), QStringLiteral("insert into jxc_jhd (gl_djh, j_status) values ('CJ24030810001', 0)"));
    QSqlDatabase other = testDb().openSecondConnection();
    RunSql(other, QStringLiteral("SET lock_timeout = '300ms'"));

    PostingLockKeys held;
    held.headers = {{QStringLiteral("jxc_jhd"), QStringLiteral("CJ24030810001")}};
    held.goods = {QStringLiteral("G1")};
    held.partnerType = QStringLiteral("kh");
    held.partner = QStringLiteral("100001");
    held.cashAccounts = {QStringLiteral("现金")};
    held.numberStems = {QStringLiteral("YS240308")};

    auto tryLock = [&](const PostingLockKeys &keys) {
        Transaction tx(other);
        try {
            LockForPosting(other, keys);
        } catch (const DbError &) {
            return false;
        }
        tx.commit();
        return true;
    };
    struct Case
    {
        const char *name;
        PostingLockKeys same;
        PostingLockKeys different;
    };
    PostingLockKeys h1, h2, g1, g2, p1, p2, c1, c2, s1, s2;
    h1.headers = held.headers;
    h2.headers = {{QStringLiteral("jxc_jhd"), QStringLiteral("CJ24030810002")}};
    g1.goods = {QStringLiteral("G2"), QStringLiteral("G1")};
    g2.goods = {QStringLiteral("G2")};
    p1.partnerType = QStringLiteral("kh");
    p1.partner = QStringLiteral("100001");
    p2.partnerType = QStringLiteral("ghs");
    p2.partner = QStringLiteral("100001");
    c1.cashAccounts = {QStringLiteral("现金")};
    c2.cashAccounts = {QStringLiteral("工行帐号")};
    s1.numberStems = {QStringLiteral("YS240308")};
    s2.numberStems = {QStringLiteral("YF240308")};
    const Case cases[] = {{"header", h1, h2}, {"goods", g1, g2}, {"partner", p1, p2}, {"cash", c1, c2}, {"stem", s1, s2}};

    {
        Transaction tx(db());
        LockForPosting(db(), held);
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_FALSE(tryLock(c.same));
            EXPECT_TRUE(tryLock(c.different));
        }
        tx.commit();
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(tryLock(c.same));  // released at commit
    }

    LockForPosting::setEnabled(false);
    {
        Transaction tx(db());
        LockForPosting(db(), held);
        EXPECT_TRUE(tryLock(g1));
        tx.commit();
    }
    LockForPosting::setEnabled(true);
}

// Two workstations each post 20 movements of G1 (back-dated ones among them) with their cash
// and partner rows, each in one transaction under the locks.
TEST_F(PostingLockTest, TwoWorkstationsWalkingAtOnceLoseNothing)
{
    const ConnectionSettings settings = TestConnectionSettings();
    const QString file = testDb().fileName();
    std::mutex setup;
    std::atomic<int> ready{0};
    std::atomic<int> failures{0};
    QStringList errors;
    std::mutex errorsLock;

    auto work = [&](int station) {
        const QString name = QStringLiteral("h7a_station_%1").arg(station);
        {
            QSqlDatabase c;
            {
                std::lock_guard<std::mutex> guard(setup);
                c = OpenConnection(settings, file, name);
                Transaction warm(c);  // registers the connection with the transaction bookkeeping
                warm.commit();
            }
            ++ready;
            while (ready.load() < 2)
                std::this_thread::yield();
            try {
                for (int i = 0; i < 20; ++i) {
                    const int day = 1 + (i * 7 + station * 3) % 28;
                    const QString date = QStringLiteral("2024-03-%1 %2:00")
                                             .arg(day, 2, 10, QLatin1Char('0'))
                                             .arg(8 + station, 2, 10, QLatin1Char('0'));
                    const bool sale = station == 1 && i % 3 == 0;
                    const double qty = 1 + (i % 4);
                    const double amount = qty * (5 + station);
                    Transaction tx(c);
                    PostingLockKeys keys;
                    keys.goods = {QStringLiteral("G1")};
                    keys.partnerType = QStringLiteral("kh");
                    keys.partner = QStringLiteral("100001");
                    keys.cashAccounts = {QStringLiteral("现金")};
                    LockForPosting(c, keys);
                    RunSql(c, QStringLiteral("insert into jxc_goodslist (gl_flag, gl_kdrq, gl_djh, g_sn, ck_sn, gl_sl, "
                                             "gl_je, gl_dj, gl_zcb) values (?, ?, ?, 'G1', '100001', ?, ?, ?, ?)"),
                           {sale ? QStringLiteral("xs") : QStringLiteral("cj"), date,
                            QStringLiteral("D%1_%2").arg(station).arg(i), qty, amount, amount / qty,
                            sale ? amount : 0.0});
                    RecalcStockCostFrom(c, state, clock, QStringLiteral("G1"), QStringLiteral("100001"), date);
                    RunSql(c, QStringLiteral("insert into jxc_xjyh (xj_kmmc, xj_rq, xj_je, xj_ljje, xj_chk) "
                                             "values ('现金', ?, ?, 0, '1')"),
                           {date, amount});
                    RecalcCashBalances(c, state, clock, QStringLiteral("现金"), date);
                    RunSql(c, QStringLiteral("insert into jxc_ysyfk (k_type, k_ghskh, k_rq, k_qcje, k_yfje, k_sfje, "
                                             "k_ljje) values ('kh', '100001', ?, 0, ?, 0, 0)"),
                           {date, amount});
                    RecalcPartnerBalances(c, state, clock, QStringLiteral("100001"), QStringLiteral("kh"), date);
                    tx.commit();
                }
            } catch (const DbError &e) {
                ++failures;
                std::lock_guard<std::mutex> guard(errorsLock);
                errors << e.text();
            }
        }
        CloseConnection(name);
    };
    std::thread a(work, 0), b(work, 1);
    a.join();
    b.join();
    ASSERT_EQ(failures.load(), 0) << errors.join(QLatin1Char('\n')).toStdString();

    // A fresh walk from the beginning changes no stored value.
    const QStringList ledger = dump(QStringLiteral("jxc_goodslist"));
    RecalcStockCostFrom(db(), state, clock, QStringLiteral("G1"), QStringLiteral("100001"), QString());
    EXPECT_EQ(dump(QStringLiteral("jxc_goodslist")), ledger);
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_goodslist")), "40");
    const QString last = QStringLiteral(" from jxc_goodslist order by gl_kdrq desc, id desc limit 1");
    EXPECT_AMOUNT(stock(QStringLiteral("kc_zcb")), num(QStringLiteral("select gl_kczje") + last));
    EXPECT_AMOUNT(stock(QStringLiteral("kc_cbj")), num(QStringLiteral("select gl_pjjj") + last));

    const double cashIn = num(QStringLiteral("select sum(xj_je) from jxc_xjyh where xj_kmmc = '现金' and xj_chk = '1'"));
    EXPECT_AMOUNT(TextToNumber(GetCashBalance(db(), state, clock, QStringLiteral("现金"))), cashIn);
    const double owed = num(QStringLiteral("select sum(k_yfje) from jxc_ysyfk where k_type = 'kh'"));
    EXPECT_AMOUNT(num(QStringLiteral("select kh_lwje from jxc_khxx where kh_sn = '100001'")), owed);
    EXPECT_AMOUNT(TextToNumber(GetPartnerBalance(db(), state, clock, QStringLiteral("100001"), QStringLiteral("kh"))),
                  owed);
}

} // namespace
