// Running balances of the partner, invoice and cash ledgers.

#include "walkfixture.h"

#include "engine/balances.h"
#include "foundation/db/transaction.h"

namespace {

class BalanceTest : public WalkTest
{
protected:
    qint64 partnerRow(const QString &date, double qc, double yf, double sf, double yh = 0,
                      const QString &partner = QStringLiteral("100001"), const QString &type = QStringLiteral("kh"))
    {
        return InsertReturningId(db(),
                                 QStringLiteral("insert into jxc_ysyfk (k_type, k_ghskh, k_rq, k_qcje, k_yfje, k_sfje, "
                                                "k_yhje, k_ljje) values (?, ?, ?, ?, ?, ?, ?, 0)"),
                                 {type, partner, date, qc, yf, sf, yh});
    }
    double balanceOf(qint64 id) { return num(QStringLiteral("select k_ljje from jxc_ysyfk where id = ?"), {id}); }
    double customerBalance()
    {
        return num(QStringLiteral("select kh_lwje from jxc_khxx where kh_sn = '100001'"));
    }
    void recalc(const QString &from, const QString &type = QStringLiteral("kh"))
    {
        RecalcPartnerBalances(db(), state, clock, QStringLiteral("100001"), type, from);
    }
};

TEST_F(BalanceTest, PartnerBalancesRunInDateThenIdOrder)
{
    const qint64 a = partnerRow(QStringLiteral("2024-01-01 10:00"), 100, 0, 0);
    const qint64 b = partnerRow(QStringLiteral("2024-01-01 10:00"), 0, 100, 30, 5);  // the discount never counts
    recalc(QStringLiteral("2024-01-01"));
    EXPECT_AMOUNT(balanceOf(a), 100);
    EXPECT_AMOUNT(balanceOf(b), 170);
    EXPECT_AMOUNT(customerBalance(), 170);

    const QString kh = QStringLiteral("kh"), c = QStringLiteral("100001");
    EXPECT_EQ(GetPartnerBalanceAt(db(), state, clock, c, kh, QStringLiteral("0"), QStringLiteral("2024-01-01 10:00")), "170");
    EXPECT_EQ(GetPartnerBalanceAt(db(), state, clock, c, kh, QString(), QStringLiteral("2024-01-01 10:00")), "170");
    EXPECT_EQ(GetPartnerBalanceAt(db(), state, clock, c, kh, QString::number(b), QStringLiteral("2024-01-01 10:00")),
              "100");
    EXPECT_EQ(GetPartnerBalanceAt(db(), state, clock, c, kh, QStringLiteral("0"), QStringLiteral("2024-01-01")), "0");
    EXPECT_EQ(GetPartnerBalanceAt(db(), state, clock, c, QStringLiteral("ghs"), QStringLiteral("0"),
                                  QStringLiteral("2024-12-31")),
              "0");

    // earlier rows are trusted; later ones follow the row before them
    const qint64 d = partnerRow(QStringLiteral("2024-02-01"), 0, 10, 0);
    RunSql(db(), QStringLiteral("update jxc_ysyfk set k_ljje = 500 where id = ?"), {b});
    recalc(QStringLiteral("2024-02-01"));
    EXPECT_AMOUNT(balanceOf(d), 510);
    EXPECT_AMOUNT(customerBalance(), 510);

    // a from-date after the last row writes no row, only the master record
    RunSql(db(), QStringLiteral("update jxc_ysyfk set k_ljje = 0 where id = ?"), {d});
    RunSql(db(), QStringLiteral("update jxc_khxx set kh_lwje = 1 where kh_sn = '100001'"));
    recalc(QStringLiteral("2025-01-01"));
    EXPECT_AMOUNT(balanceOf(d), 0);
    EXPECT_AMOUNT(customerBalance(), 0);  // the last balance before that date: row d's as stored
}

TEST_F(BalanceTest, BackDatedRowMovesEveryLaterRow)
{
    std::vector<qint64> rows;
    for (int day = 2; day <= 9; ++day)
        rows.push_back(partnerRow(QStringLiteral("2024-03-0%1 10:00").arg(day), 0, 10, 0, 0, QStringLiteral("100001"),
                                  QStringLiteral("ghs")));
    recalc(QStringLiteral("2024-03-01"), QStringLiteral("ghs"));
    EXPECT_AMOUNT(balanceOf(rows.back()), 80);
    partnerRow(QStringLiteral("2024-03-01 08:00"), 0, 5, 0, 7, QStringLiteral("100001"), QStringLiteral("ghs"));
    recalc(QStringLiteral("2024-03-01"), QStringLiteral("ghs"));
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_AMOUNT(balanceOf(rows[i]), 5 + 10.0 * (i + 1));
    EXPECT_AMOUNT(num(QStringLiteral("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'")), 85);
    EXPECT_EQ(GetPartnerBalance(db(), state, clock, QStringLiteral("100001"), QStringLiteral("ghs")), "85");
}

TEST_F(BalanceTest, CurrentBalanceIsRoundedAtTheTotalDecimals)
{
    struct Case
    {
        double balance;
        const char *expected;
    };
    for (const Case &c : {Case{12.345, "12.35"}, Case{-12.345, "-12.34"}, Case{0.1 + 0.2, "0.3"}}) {
        SCOPED_TRACE(c.expected);
        RunSql(db(), QStringLiteral("delete from jxc_ysyfk"));
        const qint64 id = partnerRow(QStringLiteral("2024-03-01"), 0, 0, 0);
        RunSql(db(), QStringLiteral("update jxc_ysyfk set k_ljje = ? where id = ?"), {c.balance, id});
        LoginState s = state;
        s.TotalDecimals = QStringLiteral("2");
        EXPECT_EQ(GetPartnerBalance(db(), s, clock, QStringLiteral("100001"), QStringLiteral("kh")),
                  QLatin1String(c.expected));
    }
    RunSql(db(), QStringLiteral("delete from jxc_ysyfk"));
    EXPECT_EQ(GetPartnerBalance(db(), state, clock, QStringLiteral("100001"), QStringLiteral("kh")), "0");
}

TEST_F(BalanceTest, OtherTypeUpdatesNoMasterRecord)
{
    partnerRow(QStringLiteral("2024-03-01"), 0, 10, 0, 0, QStringLiteral("100001"), QStringLiteral("zz"));
    const QStringList customers = dump(QStringLiteral("jxc_khxx"));
    const QStringList suppliers = dump(QStringLiteral("jxc_ghsxx"));
    recalc(QStringLiteral("2024-01-01"), QStringLiteral("zz"));
    EXPECT_EQ(dump(QStringLiteral("jxc_khxx")), customers);
    EXPECT_EQ(dump(QStringLiteral("jxc_ghsxx")), suppliers);
    EXPECT_AMOUNT(num(QStringLiteral("select k_ljje from jxc_ysyfk where k_type = 'zz'")), 10);
}

TEST_F(BalanceTest, UncountedInvoiceAndCashRowsKeepTheirBalanceAndMoveNothing)
{
    auto invoice = [&](const QString &date, double yf, double kp, int check) {
        return InsertReturningId(db(),
                                 QStringLiteral("insert into jxc_fpdjb (fp_type, fp_ghskh, fp_rq, fp_qcje, fp_yfje, "
                                                "fp_kpje, fp_ljje, fp_check) values ('ghs', '100001', ?, 0, ?, ?, 77, ?)"),
                                 {date, yf, kp, check});
    };
    const qint64 i1 = invoice(QStringLiteral("2024-03-02 10:00"), 100, 60, 1);
    const qint64 i2 = invoice(QStringLiteral("2024-03-03 10:00"), 500, 0, 0);
    const qint64 i3 = invoice(QStringLiteral("2024-03-04 10:00"), 10, 0, 1);
    RecalcInvoiceBalances(db(), state, clock, QStringLiteral("100001"), QStringLiteral("ghs"), QStringLiteral("2024-03-01"));
    auto fp = [&](qint64 id) { return num(QStringLiteral("select fp_ljje from jxc_fpdjb where id = ?"), {id}); };
    EXPECT_AMOUNT(fp(i1), 40);
    EXPECT_AMOUNT(fp(i2), 77);
    EXPECT_AMOUNT(fp(i3), 50);
    EXPECT_EQ(GetInvoiceBalanceAt(db(), state, clock, QStringLiteral("100001"), QStringLiteral("ghs"), QStringLiteral("0"),
                                  QStringLiteral("2024-03-03 23:00")),
              "40");
    EXPECT_EQ(GetInvoiceBalanceAt(db(), state, clock, QStringLiteral("100001"), QStringLiteral("ghs"),
                                  QString::number(i3), QStringLiteral("2024-03-09")),
              "40");

    auto cash = [&](const QString &date, double amount, const char *chk) {
        return InsertReturningId(db(),
                                 QStringLiteral("insert into jxc_xjyh (xj_kmmc, xj_rq, xj_je, xj_ljje, xj_chk) "
                                                "values ('现金', ?, ?, 77, ?)"),
                                 {date, amount, QLatin1String(chk)});
    };
    // the set's own opening row of 现金 (0) stands before these
    const qint64 c1 = cash(QStringLiteral("2024-03-06 10:00"), -50, "1");
    const qint64 c2 = cash(QStringLiteral("2024-03-06 11:00"), 1000, "0");
    const qint64 c3 = cash(QStringLiteral("2024-03-07 10:00"), 16, "1");
    RecalcCashBalances(db(), state, clock, QStringLiteral("现金"), QStringLiteral("2024-03-06"));
    auto xj = [&](qint64 id) { return num(QStringLiteral("select xj_ljje from jxc_xjyh where id = ?"), {id}); };
    EXPECT_AMOUNT(xj(c1), -50);
    EXPECT_AMOUNT(xj(c2), 77);
    EXPECT_AMOUNT(xj(c3), -34);
    EXPECT_EQ(GetCashBalance(db(), state, clock, QStringLiteral("现金")), "-34");
    EXPECT_EQ(GetCashBalance(db(), state, clock, QStringLiteral("没有的账户")), "0");
    // other accounts are untouched
    EXPECT_AMOUNT(num(QStringLiteral("select sum(xj_ljje) from jxc_xjyh where xj_kmmc <> '现金'")), 0);
}

TEST_F(BalanceTest, RecalculationIsAtomic)
{
    for (int i = 0; i < 5; ++i)
        partnerRow(QStringLiteral("2024-03-0%1").arg(i + 1), 0, 10, 0);
    const QStringList ledger = dump(QStringLiteral("jxc_ysyfk"));
    const QStringList customers = dump(QStringLiteral("jxc_khxx"));
    int failures = 0;
    for (int n = 1; n < 30; ++n) {
        InjectStatementFailure(db(), n);
        bool failed = false;
        try {
            recalc(QStringLiteral("2024-01-01"));
        } catch (const DbError &) {
            failed = true;
        }
        InjectStatementFailure(db(), 0);
        if (!failed)
            break;
        ++failures;
        SCOPED_TRACE(n);
        EXPECT_EQ(dump(QStringLiteral("jxc_ysyfk")), ledger);
        EXPECT_EQ(dump(QStringLiteral("jxc_khxx")), customers);
    }
    EXPECT_GT(failures, 3);
}

} // namespace
