// Two workstations auditing at once: purchase receipts and sales of the same goods, supplier,
// customer and cash account, each audit from its own connection and thread. Nothing may be lost:
// stock, the running cost, the partner and cash balances come out as if the audits had run one
// after the other, and the last units on hand are sold only once.

#include "posting_fixture.h"

#include "../support/inventoryset.h"

#include "engine/audit.h"
#include "engine/balances.h"
#include "engine/costwalk.h"
#include "engine/postinglocks.h"
#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/goods.h"

#include <QMap>

#include <QDeadlineTimer>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace {

// Lets the stations start together.
class StartLine
{
public:
    explicit StartLine(int count) : m_left(count) {}
    void arriveAndWait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (--m_left == 0)
            m_go.notify_all();
        else
            m_go.wait(lock, [this] { return m_left == 0; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_go;
    int m_left;
};

class WorkstationTest : public PostingTest
{
protected:
    struct Document
    {
        QString number;
        bool sale = false;
    };

    // Runs `work(connection, station)` on `stations` threads, each with a connection of its own
    // opened in that thread; returns the texts of the errors that escaped.
    QStringList runStations(int stations, const std::function<void(const QSqlDatabase &, int)> &work)
    {
        const ConnectionSettings settings = TestConnectionSettings();
        const QString file = testDb().fileName();
        StartLine start(stations);
        QStringList errors;
        std::mutex errorsLock;
        std::vector<std::thread> threads;
        for (int s = 0; s < stations; ++s) {
            threads.emplace_back([&, s] {
                const QString name = QStringLiteral("workstation_%1_%2").arg(s).arg(quintptr(this));
                {
                    QSqlDatabase c;
                    try {
                        c = OpenConnection(settings, file, name);
                    } catch (const DbError &e) {
                        std::lock_guard<std::mutex> guard(errorsLock);
                        errors << e.text();
                    }
                    start.arriveAndWait();
                    if (c.isOpen()) {
                        try {
                            work(c, s);
                        } catch (const DbError &e) {
                            std::lock_guard<std::mutex> guard(errorsLock);
                            errors << e.text();
                        }
                    }
                }
                CloseConnection(name);
            });
        }
        for (std::thread &t : threads)
            t.join();
        return errors;
    }

    // Audits until done, answering a stock question with yes.
    static AuditResult audit(const QSqlDatabase &c, const LoginState &s, const Clock &clock, const Document &d)
    {
        if (!d.sale)
            return RunAuditPurchaseIn(c, s, clock, d.number);
        AuditResult r = RunAuditSale(c, s, clock, d.number);
        if (r.kind == AuditResult::Kind::Question)
            r = RunAuditSale(c, s, clock, d.number, true);
        return r;
    }

    QMap<qint64, QVector<double>> runningValues(const QString &goodsSn)
    {
        QMap<qint64, QVector<double>> out;
        QSqlQuery q = OpenSelect(db(),
                                 QStringLiteral("select id, gl_sqsl, gl_sqje, gl_kc, gl_pjjj, gl_kczje from jxc_goodslist "
                                                "where g_sn = ? and ck_sn = '100001' order by id"),
                                 {goodsSn});
        while (q.next()) {
            QVector<double> v;
            for (int i = 1; i < 6; ++i)
                v << TextToNumber(ValueText(q.value(i)));
            out.insert(q.value(0).toLongLong(), v);
        }
        return out;
    }
};

TEST_F(WorkstationTest, TwoStationsAuditingTheSameGoodsAndAccountsLoseNothing)
{
    state.AllowNegativeStock = QStringLiteral("1");
    // Each station: 20 documents, receipts and sales of G1 and G2 mixed, dates all over March
    // and out of order (back-dated audits re-walk later rows of the other station).
    std::vector<Document> docs[2];
    QMap<QString, double> onHand;  // goods → expected kc_sl
    double cash = 0, payable = 0, receivable = 0;
    for (int s = 0; s < 2; ++s) {
        for (int i = 0; i < 20; ++i) {
            const int day = 1 + (i * 11 + s * 5) % 28;
            const QString date = QStringLiteral("2024-03-%1 %2:%3")
                                     .arg(day, 2, 10, QLatin1Char('0'))
                                     .arg(9 + s, 2, 10, QLatin1Char('0'))
                                     .arg(i, 2, 10, QLatin1Char('0'));
            const QString stem = QStringLiteral("24%1%2").arg(3, 2, 10, QLatin1Char('0')).arg(day, 2, 10, QLatin1Char('0'));
            const bool sale = (i + s) % 3 == 0;
            const double qty1 = 1 + (i % 4), qty2 = 2 + (i % 3);
            Document d;
            d.sale = sale;
            if (!sale) {
                d.number = QStringLiteral("CJ") + stem + QStringLiteral("1%1%2").arg(s).arg(i, 3, 10, QLatin1Char('0'));
                const double p1 = 5 + s + i % 5, p2 = 3 + i % 2;
                const double due = qty1 * p1 + qty2 * p2, paid = i % 2 ? due : due / 2;
                addReceipt(d.number, date, {{QStringLiteral("G1"), qty1, p1}, {QStringLiteral("G2"), qty2, p2}}, due, paid);
                onHand[QStringLiteral("G1")] += qty1;
                onHand[QStringLiteral("G2")] += qty2;
                cash -= paid;
                payable += due - paid;
            } else {
                d.number = QStringLiteral("XS") + stem + QStringLiteral("1%1%2").arg(s).arg(i, 3, 10, QLatin1Char('0'));
                const double due = qty1 * 12 + qty2 * 8, received = i % 2 ? due : due - 10;
                addSale(d.number, date, {{QStringLiteral("G1"), qty1, 12, 6}, {QStringLiteral("G2"), qty2, 8, 4}}, due,
                        received);
                onHand[QStringLiteral("G1")] -= qty1;
                onHand[QStringLiteral("G2")] -= qty2;
                cash += received;
                receivable += due - received;
            }
            docs[s].push_back(d);
        }
    }

    QStringList refused;
    std::mutex refusedLock;
    const QStringList errors = runStations(2, [&](const QSqlDatabase &c, int s) {
        LoginState mine = state;
        for (const Document &d : docs[s]) {
            const AuditResult r = audit(c, mine, clock, d);
            if (!r.audited()) {
                std::lock_guard<std::mutex> guard(refusedLock);
                refused << d.number + QStringLiteral(": ") + r.text;
            }
        }
    });
    ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(refused.isEmpty()) << refused.join(QLatin1Char('\n')).toStdString();

    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_jhd where j_status = 0")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_lsxsd where ls_status = 0")), 0);
    for (const QString &g : {QStringLiteral("G1"), QStringLiteral("G2")}) {
        SCOPED_TRACE(g.toStdString());
        EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_kcsp where g_sn = ? and ck_sn = '100001'"), {g}), 1);
        EXPECT_NEAR(stock(g, "kc_sl"), onHand.value(g), kEps);
        EXPECT_NEAR(stock(g, "kc_zsl"), onHand.value(g), kEps);
        EXPECT_NEAR(goods(g, "g_kc"), onHand.value(g), kEps);
        EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_goodslist where g_sn = ?"), {g}), 40);

        // The stock row carries the end of the ledger, and a walk from the first row finds
        // nothing to change.
        const QString last = QStringLiteral(" from jxc_goodslist where g_sn = ? and ck_sn = '100001' "
                                            "order by gl_kdrq desc, id desc limit 1");
        EXPECT_NEAR(stock(g, "kc_cbj"), num(QStringLiteral("select gl_pjjj") + last, {g}), kEps);
        EXPECT_NEAR(stock(g, "kc_zcb"), num(QStringLiteral("select gl_kczje") + last, {g}), kEps);
        EXPECT_NEAR(num(QStringLiteral("select gl_kc") + last, {g}), onHand.value(g), kEps);
        const auto stored = runningValues(g);
        const QString first = scalar(QStringLiteral("select id from jxc_goodslist where g_sn = ? and ck_sn = '100001' "
                                                    "order by gl_kdrq, id limit 1"),
                                     {g});
        RecalcStockCost(db(), state, clock, first, QStringLiteral("0"));
        const auto walked = runningValues(g);
        ASSERT_EQ(walked.keys(), stored.keys());
        for (auto it = stored.begin(); it != stored.end(); ++it)
            for (int k = 0; k < it.value().size(); ++k)
                EXPECT_NEAR(walked.value(it.key()).at(k), it.value().at(k), 1e-6) << "row " << it.key() << " value " << k;
    }

    // Partner and cash balances: the stored figures equal the sums of the movements, and the
    // newest running balance says the same.
    EXPECT_NEAR(num(QStringLiteral("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'")), payable, kEps);
    EXPECT_NEAR(TextToNumber(GetPartnerBalance(db(), state, clock, QStringLiteral("100001"), QStringLiteral("ghs"))),
                payable, kEps);
    EXPECT_NEAR(num(QStringLiteral("select kh_lwje from jxc_khxx where kh_sn = '100001'")), receivable, kEps);
    EXPECT_NEAR(TextToNumber(GetPartnerBalance(db(), state, clock, QStringLiteral("100001"), QStringLiteral("kh"))),
                receivable, kEps);
    EXPECT_NEAR(TextToNumber(GetCashBalance(db(), state, clock, QStringLiteral("现金"))), cash, kEps);
    // … and each row's running balance is the sum up to it (a recalculation changes nothing).
    const QMap<QString, QString> before = snapshot({QStringLiteral("jxc_ysyfk"), QStringLiteral("jxc_xjyh")});
    RecalcPartnerBalances(db(), state, clock, QStringLiteral("100001"), QStringLiteral("ghs"), QString());
    RecalcPartnerBalances(db(), state, clock, QStringLiteral("100001"), QStringLiteral("kh"), QString());
    RecalcCashBalances(db(), state, clock, QStringLiteral("现金"), QString());
    EXPECT_EQ(snapshot({QStringLiteral("jxc_ysyfk"), QStringLiteral("jxc_xjyh")}), before);
}

TEST_F(WorkstationTest, LastUnitsAreSoldOnce)
{
    state.AllowNegativeStock = QStringLiteral("0");
    addReceipt(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05 10:00"), {{QStringLiteral("G1"), 5, 5}}, 25,
               25);
    ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, QStringLiteral("CJ24030510001")).audited());
    const Document sales[] = {{QStringLiteral("XS24030610001"), true}, {QStringLiteral("XS24030610002"), true}};
    for (const Document &d : sales)
        addSale(d.number, QStringLiteral("2024-03-06 10:00"), {{QStringLiteral("G1"), 5, 10, 5}}, 50, 50);

    AuditResult results[2];
    const QStringList errors = runStations(2, [&](const QSqlDatabase &c, int s) {
        LoginState mine = state;
        results[s] = RunAuditSale(c, mine, clock, sales[s].number);
    });
    ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    const int audited = int(results[0].audited()) + int(results[1].audited());
    EXPECT_EQ(audited, 1);
    for (const AuditResult &r : results)
        if (!r.audited()) {
            EXPECT_EQ(r.kind, AuditResult::Kind::Refused);
            EXPECT_EQ(r.text, QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“G1”：不能销售！"));
        }
    EXPECT_NEAR(stock(QStringLiteral("G1"), "kc_sl"), 0, kEps);
    EXPECT_NEAR(goods(QStringLiteral("G1"), "g_kc"), 0, kEps);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_goodslist where gl_flag = 'xs'")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_lsxsd where ls_status = 1")), 1);
}

// Inventory audits from two stations: one document is posted once; two documents that each
// need the last units of the out warehouse are not both posted.
TEST_F(WorkstationTest, InventoryAuditsPostOnceAndTheLastUnitsOnce)
{
    SeedInventorySet(db(), clock, state);
    AddTransfer(db(), "DB24030810001", {{kInvG1, 2, 30, 12, QStringLiteral("箱")}});
    AuditResult same[2];
    QStringList errors = runStations(2, [&](const QSqlDatabase &c, int s) {
        LoginState mine = state;
        same[s] = RunAuditTransfer(c, mine, clock, QStringLiteral("DB24030810001"));
    });
    ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(int(same[0].audited()) + int(same[1].audited()), 1);
    EXPECT_EQ(int(same[0].kind == AuditResult::Kind::AlreadyAudited) + int(same[1].kind == AuditResult::Kind::AlreadyAudited), 1);
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = 'DB24030810001'"), 2);
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), 24, kEps);

    // One stocktaking audited from two stations at once: one set of ledger rows.
    AddStocktaking(db(), "PD24030810001", {{kInvG1, 20, 24, 2.5}, {kInvG2, 12, 10, 4}});
    AuditResult counts[2];
    errors = runStations(2, [&](const QSqlDatabase &c, int s) {
        LoginState mine = state;
        counts[s] = RunAuditStocktaking(c, mine, clock, QStringLiteral("PD24030810001"));
    });
    ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(int(counts[0].audited()) + int(counts[1].audited()), 1);
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = 'PD24030810001'"), 2);
    EXPECT_EQ(count("select count(*) from jxc_yyfy where gl_djh = 'PD24030810001'"), 1);
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), 20, kEps);
    EXPECT_NEAR(goods(kInvG1, "g_kc"), 44, kEps);
    RunSql(db(), "update jxc_kcsp set kc_sl = 24, kc_zsl = 24 where g_sn = '20000001' and ck_sn = '100001'");

    const struct
    {
        const char *name;
        QString numbers[2];
        std::function<AuditResult(const QSqlDatabase &, const LoginState &, const QString &)> audit;
    } cases[] = {
        {"transfers",
         {QStringLiteral("DB24030810002"), QStringLiteral("DB24030810003")},
         [&](const QSqlDatabase &c, const LoginState &s, const QString &n) { return RunAuditTransfer(c, s, clock, n); }},
        {"losses",
         {QStringLiteral("BS24030810001"), QStringLiteral("BS24030810002")},
         [&](const QSqlDatabase &c, const LoginState &s, const QString &n) { return RunAuditLoss(c, s, clock, n); }},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        RunSql(db(), "update jxc_kcsp set kc_sl = 48, kc_zsl = 48 where g_sn = '20000001' and ck_sn = '100001'");
        for (const QString &n : k.numbers) {
            if (n.startsWith(QLatin1String("DB")))
                AddTransfer(db(), n, {{kInvG1, 30, 2.5}});
            else
                AddLoss(db(), n, {{kInvG1, 30, 2.5}});
        }
        AuditResult results[2];
        errors = runStations(2, [&](const QSqlDatabase &c, int s) {
            LoginState mine = state;
            results[s] = k.audit(c, mine, k.numbers[s]);
        });
        ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(int(results[0].audited()) + int(results[1].audited()), 1);
        for (const AuditResult &r : results)
            if (!r.audited())
                EXPECT_EQ(r.kind, AuditResult::Kind::Refused) << r.text.toStdString();
        EXPECT_NEAR(stock(kInvG1, "kc_sl"), 18, kEps);
    }
}

// Without the posting locks, two PostgreSQL transactions both pass the stock test before either
// writes, and the last units leave twice: the locks are what prevents it.
TEST_F(WorkstationTest, WithoutLocksTheLastUnitsLeaveTwice)
{
    if (TestDbKind() != DbKind::Postgres)
        GTEST_SKIP() << "SQLite serialises writers without the locks";
    SeedInventorySet(db(), clock, state);
    const QString numbers[2] = {QStringLiteral("DB24030810001"), QStringLiteral("DB24030810002")};
    for (const QString &n : numbers)
        AddTransfer(db(), n, {{kInvG1, 30, 2.5}});
    // The stock rows both would create exist already (two inserts of one row would clash).
    EnsureZeroGoodsStock(db());
    InsertRow(db(), QStringLiteral("jxc_kcsp"),
              {{"g_sn", kInvG1}, {"ck_sn", kBranchWarehouse}, {"kc_sl", 0.0}, {"kc_zsl", 0.0}, {"kc_cbj", 2.5}});
    // Each station stops before its first write until the other one got there too (or a while
    // has passed).
    std::mutex m;
    std::condition_variable cv;
    int waiting = 0;
    LockForPosting::setEnabled(false);
    AuditResult results[2];
    const QStringList errors = runStations(2, [&](const QSqlDatabase &c, int s) {
        SetStatementObserver(c, [&](const QString &sql, const QVariantList &) {
            if (!sql.startsWith(QLatin1String("update jxc_kcdbd set db_status")))
                return;
            std::unique_lock<std::mutex> lock(m);
            ++waiting;
            cv.notify_all();
            cv.wait_for(lock, std::chrono::seconds(5), [&] { return waiting >= 2; });
        });
        LoginState mine = state;
        results[s] = RunAuditTransfer(c, mine, clock, numbers[s]);
        SetStatementObserver(c, {});
    });
    LockForPosting::setEnabled(true);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(results[0].audited() && results[1].audited()) << results[0].text.toStdString() << results[1].text.toStdString();
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), -12, kEps);
}

} // namespace
