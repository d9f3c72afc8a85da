// Proposed sale prices: quotes, last audited sales, level prices and the rounding.

#include "../support/testdb.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/saleprice.h"

#include <gtest/gtest.h>

namespace {

// Goods G: base 瓶, g_sj 5, g_sj3 4.5; unit 箱 with g_sj 58, g_sj3 54; customer K of type 1003.
class SalePriceTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        RunSql(db(), QStringLiteral("insert into jxc_goods (g_sn, g_name, dw_name, g_sj, g_sj3) values ('G', 'G', '瓶', 5, 4.5)"));
        RunSql(db(), QStringLiteral("insert into jxc_goodsdw (g_sn, dw_name, g_zhxs, g_sj, g_sj3) values ('G', '箱', 12, 58, 54)"));
        RunSql(db(), QStringLiteral("insert into jxc_khxx (kh_sn, kh_name, kt_sn) values ('K', '客户K', '1003')"));
        state.PriceDecimals = 2;
    }
    void setMode(const char *saleDefault, bool grades)
    {
        state.SalePriceDefault = QString::fromLatin1(saleDefault);
        state.UseGradePrices = grades ? QStringLiteral("1") : QStringLiteral("0");
    }
    void addQuote(double price)
    {
        RunSql(db(), QStringLiteral("insert into jxc_khbj (kh_sn, g_sn, kb_bj) values ('K', 'G', ?)"), {price});
    }
    void addSale(const QString &number, const QString &date, int status, const QString &unit, double price,
                 const QString &customer = QStringLiteral("K"))
    {
        if (QueryScalar(db(), QStringLiteral("select count(*) from jxc_lsxsd where gl_djh = ?"), {number}) == QLatin1String("0"))
            RunSql(db(), QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ls_xsrq, ls_status) values (?, ?, ?, ?)"),
                   {number, customer, date, status});
        RunSql(db(), QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, dw_name, ls_dj) values (?, 'G', ?, ?)"),
               {number, unit, price});
    }
    QString price() { return GetSalePrice(db(), state, QStringLiteral("K"), QStringLiteral("G")); }
    QString boxPrice() { return GetSalePriceByUnit(db(), state, QStringLiteral("K"), QStringLiteral("G"), QStringLiteral("箱")); }
    LoginState state;
};

TEST_F(SalePriceTest, NewestQuoteWinsWhateverTheMode)
{
    addQuote(9.5);
    addQuote(9.8);
    addSale(QStringLiteral("XS24030110001"), QStringLiteral("2024-03-01"), 1, QStringLiteral("瓶"), 10.25);
    for (const char *mode : {"0", "1", "2"})
        for (bool grades : {false, true}) {
            setMode(mode, grades);
            EXPECT_EQ(price(), QStringLiteral("9.8")) << mode << grades;
        }
    setMode("0", false);
    EXPECT_EQ(boxPrice(), QStringLiteral("58"));  // no quote step for units
}

TEST_F(SalePriceTest, LastAuditedSaleInTheUnit)
{
    addSale(QStringLiteral("XS24020110001"), QStringLiteral("2024-02-01"), 1, QStringLiteral("瓶"), 10.25);
    addSale(QStringLiteral("XS24020210001"), QStringLiteral("2024-02-02"), 1, QStringLiteral("箱"), 10.3);
    addSale(QStringLiteral("XS24020310001"), QStringLiteral("2024-02-03"), 0, QStringLiteral("瓶"), 11);   // pending
    addSale(QStringLiteral("XS24020410001"), QStringLiteral("2024-02-04"), 1, QStringLiteral("瓶"), 13,
            QStringLiteral("100001"));  // another customer
    setMode("1", false);
    EXPECT_EQ(price(), QStringLiteral("10.25"));
    EXPECT_EQ(boxPrice(), QStringLiteral("10.3"));
}

TEST_F(SalePriceTest, LastSaleByLineForBaseAndByDateForUnits)
{
    // Sale of 2024-02-01 entered first, sale of 2024-01-15 entered later.
    addSale(QStringLiteral("XS24020110001"), QStringLiteral("2024-02-01"), 1, QStringLiteral("瓶"), 11);
    addSale(QStringLiteral("XS24011510001"), QStringLiteral("2024-01-15"), 1, QStringLiteral("瓶"), 12);
    setMode("1", false);
    EXPECT_EQ(price(), QStringLiteral("12"));
    EXPECT_EQ(GetSalePriceByUnit(db(), state, QStringLiteral("K"), QStringLiteral("G"), QStringLiteral("瓶")),
              QStringLiteral("11"));
}

TEST_F(SalePriceTest, LastSaleFoundBehindManyNewerSalesToOthers)
{
    // The customer bought long ago; 600 later lines of the goods went to someone else.
    addSale(QStringLiteral("XS24010110001"), QStringLiteral("2024-01-01"), 1, QStringLiteral("瓶"), 7);
    {
        Transaction tx(db());
        RunSql(db(), QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ls_xsrq, ls_status) "
                                    "values ('XS24020110001', '100001', '2024-02-01', 1)"));
        for (int i = 0; i < 600; ++i)
            RunSql(db(), QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, dw_name, ls_dj) "
                                        "values ('XS24020110001', 'G', '瓶', 9)"));
        tx.commit();
    }
    setMode("1", false);
    EXPECT_EQ(price(), QStringLiteral("7"));
    EXPECT_EQ(GetSalePrice(db(), state, QStringLiteral("100001"), QStringLiteral("G")), QStringLiteral("9"));
}

// The statements the look-ups answered with before they were indexed: the reference.
QString ReferenceUnitPrice(const QSqlDatabase &db, const QString &customer, const QString &goods, const QString &unit)
{
    return QueryScalar(db,
                       QStringLiteral("select l.ls_dj from jxc_lsxsd h join jxc_lsxssp l on l.gl_djh = h.gl_djh "
                                      "where h.ls_status = 1 and h.kh_sn = ? and l.g_sn = ? and l.dw_name = ? "
                                      "order by h.ls_xsrq desc, l.id desc limit 1"),
                       {customer, goods, unit});
}

TEST_F(SalePriceTest, CounterCustomerWithALongHistory)
{
    // 50,000 lines on 10,000 audited sales to R: the goods G in 箱 on most of them, dated in
    // entry order, except one sale in the middle of the ids dated after all others; pending
    // sales dated later still; 瓶 lines only early on; another customer's later sales.
    const int kSales = 10000;
    {
        Transaction tx(db());
        QList<QVariantList> headers, lines;
        for (int i = 0; i < kSales; ++i) {
            const QString number = QStringLiteral("XS%1").arg(i, 8, 10, QLatin1Char('0'));
            const QDate day = QDate(2020, 1, 1).addDays(i / 10);
            QString date = day.toString(QStringLiteral("yyyy-MM-dd"));
            if (i == kSales / 2)
                date = QStringLiteral("2030-06-01");
            const bool pending = i % 997 == 0;
            headers << QVariantList{number, QStringLiteral("R"), pending ? QStringLiteral("2031-01-01") : date, pending ? 0 : 1};
            for (int k = 0; k < 5; ++k) {
                const bool box = k == 0 && i % 3 != 1;
                const QString unit = box ? QStringLiteral("箱") : (k == 1 && i < 100 ? QStringLiteral("瓶") : QStringLiteral("个"));
                lines << QVariantList{number, box || unit == QLatin1String("瓶") ? QStringLiteral("G") : QStringLiteral("H%1").arg(k),
                                      unit, 100.0 + i + k / 10.0};
            }
        }
        headers << QVariantList{QStringLiteral("XSZ"), QStringLiteral("K"), QStringLiteral("2032-01-01"), 1};
        lines << QVariantList{QStringLiteral("XSZ"), QStringLiteral("G"), QStringLiteral("箱"), 1.5};
        // Many rows a statement (in entry order): the ids follow the list.
        const auto insert = [&](const QString &head, const QList<QVariantList> &rows) {
            for (qsizetype at = 0; at < rows.size(); at += 250) {
                QStringList marks;
                QVariantList binds;
                for (qsizetype r = at; r < std::min(rows.size(), at + 250); ++r) {
                    marks << QStringLiteral("(?, ?, ?, ?)");
                    binds << rows.at(r);
                }
                RunSql(db(), head + marks.join(QStringLiteral(", ")), binds);
            }
        };
        insert(QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ls_xsrq, ls_status) values "), headers);
        insert(QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, dw_name, ls_dj) values "), lines);
        tx.commit();
    }
    setMode("1", false);
    struct Case
    {
        const char *customer, *unit;
    };
    const Case cases[] = {{"R", "箱"}, {"R", "瓶"}, {"R", "个"}, {"K", "箱"}, {"R", "件"}};
    QStringList got;
    for (const Case &c : cases)
        got << GetSalePriceByUnit(db(), state, QString::fromLatin1(c.customer), QStringLiteral("G"), QString::fromUtf8(c.unit));
    // The reference reads every line of the customer; with statistics it does so in good time.
    RunSql(db(), QStringLiteral("analyze"));
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(std::string(cases[i].customer) + " " + cases[i].unit);
        const QString want = ReferenceUnitPrice(db(), QString::fromLatin1(cases[i].customer), QStringLiteral("G"),
                                                QString::fromUtf8(cases[i].unit));
        EXPECT_EQ(got.at(i), want.isEmpty() ? QStringLiteral("0") : NumberText(RoundTo(TextToNumber(want), 2)));
    }
    EXPECT_EQ(GetSalePriceByUnit(db(), state, QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("箱")),
              QStringLiteral("5100"));  // the sale dated last, in the middle of the ids
}

struct LevelCase
{
    const char *mode;
    bool grades;
    const char *level3;  // g_sj3 of goods and unit, or nullptr for 4.5 / 54
    const char *base;
    const char *box;
};

TEST_F(SalePriceTest, LevelAndPresetPrices)
{
    const LevelCase cases[] = {
        {"1", true, nullptr, "4.5", "54"},
        {"0", true, "NULL", "5", "0"},  // no level price: the base falls back to g_sj, the unit to 0
        {"0", true, "0", "0", "0"},     // a stored 0 is a price
        {"0", false, nullptr, "5", "58"},
        {"2", true, nullptr, "5", "54"},
    };
    for (const LevelCase &c : cases) {
        RunSql(db(), QStringLiteral("update jxc_goods set g_sj = 5, g_sj3 = 4.5 where g_sn = 'G'"));
        RunSql(db(), QStringLiteral("update jxc_goodsdw set g_sj = 58, g_sj3 = 54 where g_sn = 'G'"));
        if (c.level3) {
            RunSql(db(), QStringLiteral("update jxc_goods set g_sj3 = %1").arg(QLatin1String(c.level3)));
            RunSql(db(), QStringLiteral("update jxc_goodsdw set g_sj3 = %1").arg(QLatin1String(c.level3)));
        }
        setMode(c.mode, c.grades);
        const std::string what = std::string(c.mode) + (c.grades ? " on " : " off ") + (c.level3 ? c.level3 : "");
        EXPECT_EQ(price(), QString::fromLatin1(c.base)) << what;
        EXPECT_EQ(boxPrice(), QString::fromLatin1(c.box)) << what;
    }
}

TEST_F(SalePriceTest, OnlyLevelsOneToFiveSelectALevelColumn)
{
    setMode("0", true);
    for (const char *type : {"1007", "10030", "100", "10a3"}) {
        RunSql(db(), QStringLiteral("update jxc_khxx set kt_sn = ? where kh_sn = 'K'"), {QString::fromLatin1(type)});
        EXPECT_EQ(price(), QStringLiteral("5")) << type;
        EXPECT_EQ(boxPrice(), QStringLiteral("58")) << type;
    }
    EXPECT_EQ(LevelPriceColumn(QStringLiteral("1005")), QStringLiteral("g_sj5"));
    EXPECT_EQ(LevelPriceColumn(QStringLiteral("1000")), QStringLiteral("g_sj"));
    EXPECT_EQ(LevelPriceColumn(QStringLiteral("1009")), QStringLiteral("g_sj"));
    EXPECT_EQ(LevelPriceColumn(QStringLiteral("100)")), QStringLiteral("g_sj"));
}

TEST_F(SalePriceTest, PricesAreRoundedToPriceDecimals)
{
    setMode("0", false);
    const std::pair<double, const char *> twoDecimals[] = {{3.145, "3.15"}, {12.5, "12.5"}, {1.005, "1.01"}, {7, "7"}};
    for (const auto &[stored, shown] : twoDecimals) {
        RunSql(db(), QStringLiteral("update jxc_goods set g_sj = ? where g_sn = 'G'"), {stored});
        EXPECT_EQ(price(), QString::fromLatin1(shown)) << stored;
    }
    RunSql(db(), QStringLiteral("update jxc_goods set g_sj = 2.5 where g_sn = 'G'"));
    state.PriceDecimals = 0;
    EXPECT_EQ(price(), QStringLiteral("3"));
    RunSql(db(), QStringLiteral("update jxc_goods set g_sj = NULL where g_sn = 'G'"));
    EXPECT_EQ(price(), QStringLiteral("0"));
    EXPECT_EQ(GetSalePrice(db(), state, QStringLiteral("K"), QStringLiteral("nothing")), QStringLiteral("0"));
}

TEST_F(SalePriceTest, CustomerLevel)
{
    setMode("0", true);
    EXPECT_EQ(GetCustomerLevel(db(), state, QStringLiteral("K")), QStringLiteral("1003"));
    EXPECT_EQ(GetCustomerLevel(db(), state, QStringLiteral("nobody")), QStringLiteral("1000"));
    // An unknown customer with graded prices gets the preset price g_sj.
    EXPECT_EQ(GetSalePrice(db(), state, QStringLiteral("nobody"), QStringLiteral("G")), QStringLiteral("5"));
    setMode("0", false);
    EXPECT_EQ(GetCustomerLevel(db(), state, QStringLiteral("K")), QStringLiteral("1000"));
}

} // namespace
