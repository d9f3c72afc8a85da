// Member effects of POS bills and their cancels, the consumption-bound and scheduled top-up
// gifts, and the member helpers.

#include "posting_fixture.h"

#include "engine/members.h"
#include "foundation/db/transaction.h"

#include <functional>

namespace {

class MembersTest : public PostingTest
{
protected:
    void SetUp() override
    {
        PostingTest::SetUp();
        state.AmountPerPoint = QStringLiteral("10.00000000");  // as PostgreSQL reads it
        state.PointsRule = QStringLiteral("1");
        state.CarryPointsRemainder = QStringLiteral("1");
        state.SpecialsEarnPoints = QStringLiteral("0");
        state.DoublePoints = QStringLiteral("0");
        state.BirthdayPointsFactor = QStringLiteral("0");
        insert(QStringLiteral("jxc_hyyh"), {{"hh_sn", "D1"}, {"hh_yh2", 50.0}, {"hh_yh3", 5.0}});
        insert(QStringLiteral("jxc_hyyh"), {{"hh_sn", "P1"}, {"hh_yh2", 0.0}, {"hh_yh3", 0.0}});
        addMember(QStringLiteral("M"), 20, 107, 7, 100, 3, QStringLiteral("100002"), QStringLiteral("D1"));
        addMember(QStringLiteral("B"), 0, 0, 0, 100, 0, QStringLiteral("100001"), QStringLiteral("P1"));
        addGoods(QStringLiteral("SP"), QStringLiteral("特殊商品"));
        RunSql(db(), QStringLiteral("update jxc_goods set g_tssp = 1, g_tsjf = 2 where g_sn = 'SP'"));
    }

    void addMember(const QString &sn, double points, double total, double rest, double stored, int visits,
                   const QString &level, const QString &mode)
    {
        insert(QStringLiteral("jxc_hyxx"),
               {{"hy_sn", sn}, {"hy_bh", sn}, {"hy_jf", points}, {"hy_zjf", points}, {"hy_zje", total},
                {"hy_ye", rest}, {"hy_zhje", stored}, {"hy_cs", visits}, {"hy_sj", 1}, {"hl_sn", level},
                {"hh_sn", mode}, {"hy_sr", "1990-04-15"}});
    }

    struct Line
    {
        QString goods;
        double qty;
        double amount;
    };
    void addBill(const QString &number, const QString &date, const QString &member, double due, double card,
                 const std::vector<Line> &lines)
    {
        insert(QStringLiteral("jxc_posxsd"),
               {{"gl_djh", number}, {"hy_sn", member}, {"pos_xsrq", date}, {"pos_yfje", due}, {"pos_czk", card}});
        for (const Line &l : lines)
            insert(QStringLiteral("jxc_posxssp"),
                   {{"gl_djh", number}, {"g_sn", l.goods}, {"pos_sl", l.qty}, {"pos_zje", l.amount}});
    }

    void postMember(const QString &bill, const QString &member, const char *mode)
    {
        PostPosMember(db(), state, clock, bill, member, QLatin1String(mode));
    }

    QVariantMap member(const QString &sn)
    {
        return row(QStringLiteral("select hy_jf, hy_zjf, hy_zje, hy_cs, hy_zhje, hy_ye, hl_sn from jxc_hyxx where hy_sn = ?"),
                   {sn});
    }
    QVariantMap bill(const QString &number)
    {
        return row(QStringLiteral("select pos_bcjf, pos_zjf, pos_jfye, pos_zftype from jxc_posxsd where gl_djh = ?"),
                   {number});
    }
    void expectMember(const QString &sn, double jf, double zje, double cs, double zhje, double ye)
    {
        SCOPED_TRACE(sn.toStdString());
        const QVariantMap m = member(sn);
        EXPECT_NEAR(n(m, "hy_jf"), jf, kEps);
        EXPECT_NEAR(n(m, "hy_zjf"), jf, kEps);
        EXPECT_NEAR(n(m, "hy_zje"), zje, kEps);
        EXPECT_NEAR(n(m, "hy_cs"), cs, kEps);
        EXPECT_NEAR(n(m, "hy_zhje"), zhje, kEps);
        EXPECT_NEAR(n(m, "hy_ye"), ye, kEps);
    }
};

TEST_F(MembersTest, SaleAndItsCancel)
{
    addBill(QStringLiteral("XS24030810001"), QStringLiteral("2024-03-08 09:00"), QStringLiteral("M"), 125, 40,
            {{"G1", 1, 95}, {"SP", 3, 30}});
    postMember(QStringLiteral("XS24030810001"), QStringLiteral("M"), "XS");
    const QVariantMap b = bill(QStringLiteral("XS24030810001"));
    EXPECT_NEAR(n(b, "pos_bcjf"), 16, kEps);
    EXPECT_NEAR(n(b, "pos_zjf"), 36, kEps);
    EXPECT_NEAR(n(b, "pos_jfye"), 10, kEps);
    expectMember(QStringLiteral("M"), 36, 232, 4, 70, 2);

    postMember(QStringLiteral("XS24030810001"), QStringLiteral("M"), "unXS");
    expectMember(QStringLiteral("M"), 20, 107, 3, 100, 7);
    EXPECT_EQ(t(member(QStringLiteral("M")), "hl_sn"), QStringLiteral("100002"));
}

TEST_F(MembersTest, ReturnAndItsCancel)
{
    addBill(QStringLiteral("XT24030810001"), QStringLiteral("2024-03-08 09:00"), QStringLiteral("M"), -95, 0,
            {{"G1", -1, -95}});
    postMember(QStringLiteral("XT24030810001"), QStringLiteral("M"), "XT");
    const QVariantMap b = bill(QStringLiteral("XT24030810001"));
    EXPECT_NEAR(n(b, "pos_bcjf"), -9, kEps);
    EXPECT_NEAR(n(b, "pos_jfye"), -5, kEps);
    expectMember(QStringLiteral("M"), 11, 12, 2, 95, 2);
    postMember(QStringLiteral("XT24030810001"), QStringLiteral("M"), "unXT");
    expectMember(QStringLiteral("M"), 20, 107, 3, 100, 7);
}

// A bill whose points base falls to 0 takes the early exit; its cancel takes back only what that
// exit applied.
TEST_F(MembersTest, EarlyExitBillsCancelToNothing)
{
    struct Case
    {
        const char *name;
        QString pointsRule;
        std::vector<Line> lines;
        double due, card;
        double zje, cs, zhje;  // after the sale
    };
    const std::vector<Case> cases = {
        {"special only, card 10", "1", {{"SP", 3, 30}}, 30, 10, 10, 1, 90},
        {"special only, card 0", "1", {{"SP", 3, 30}}, 30, 0, 0, 0, 100},
        {"points at top-up, all from card", "0", {{"G1", 1, 50}}, 50, 50, 50, 1, 50},
    };
    int i = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        state.PointsRule = c.pointsRule;
        const QString number = QStringLiteral("XS2403081000%1").arg(++i);
        addBill(number, QStringLiteral("2024-03-08 09:00"), QStringLiteral("B"), c.due, c.card, c.lines);
        postMember(number, QStringLiteral("B"), "XS");
        expectMember(QStringLiteral("B"), 0, c.zje, c.cs, c.zhje, 0);
        postMember(number, QStringLiteral("B"), "unXS");
        expectMember(QStringLiteral("B"), 0, 0, 0, 100, 0);
    }
}

TEST_F(MembersTest, BirthdayWinsOverPromotion)
{
    state.BirthdayPointsFactor = QStringLiteral("2");
    state.BirthdayPointsDays = QStringLiteral("3");
    state.DoublePoints = QStringLiteral("3");
    state.DoublePointsFrom = QStringLiteral("2024-04-01");
    state.DoublePointsTo = QStringLiteral("2024-04-30");
    struct Case
    {
        const char *kind;
        const char *date;
        bool special;
        double points;
    };
    const Case cases[] = {
        {"1", "2024-04-12", false, 18}, {"1", "2024-04-12", true, 24}, {"1", "2024-04-11", false, 27},
        {"1", "2024-04-18", false, 18}, {"1", "2024-04-19", false, 27},
        {"0", "2024-04-15", false, 18}, {"0", "2024-04-14", false, 27},
    };
    int i = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.date + (c.special ? " special" : ""));
        state.BirthdayPointsKind = QLatin1String(c.kind);
        RunSql(db(), QStringLiteral("update jxc_hyxx set hy_ye = 0 where hy_sn = 'B'"));
        const QString number = QStringLiteral("XS24041210%1").arg(++i, 3, 10, QLatin1Char('0'));
        std::vector<Line> lines{{"G1", 1, 95}};
        if (c.special)
            lines.push_back({"SP", 3, 30});
        addBill(number, QLatin1String(c.date) + QStringLiteral(" 10:00"), QStringLiteral("B"), c.special ? 125 : 95, 0,
                lines);
        postMember(number, QStringLiteral("B"), "XS");
        EXPECT_NEAR(n(bill(number), "pos_bcjf"), c.points, kEps);
    }
}

TEST_F(MembersTest, LevelFollowsPointsOnlyWithAutomaticLevel)
{
    RunSql(db(), QStringLiteral("update jxc_hyxx set hy_sj = 0 where hy_sn = 'B'"));
    addBill(QStringLiteral("XS24030810001"), QStringLiteral("2024-03-08 09:00"), QStringLiteral("B"), 95, 0,
            {{"G1", 1, 95}});
    postMember(QStringLiteral("XS24030810001"), QStringLiteral("B"), "XS");
    EXPECT_EQ(t(member(QStringLiteral("B")), "hl_sn"), QStringLiteral("100001"));
    RunSql(db(), QStringLiteral("update jxc_hyxx set hy_sj = 1 where hy_sn = 'B'"));
    addBill(QStringLiteral("XS24030810002"), QStringLiteral("2024-03-08 09:10"), QStringLiteral("B"), 95, 0,
            {{"G1", 1, 95}});
    postMember(QStringLiteral("XS24030810002"), QStringLiteral("B"), "XS");
    EXPECT_EQ(t(member(QStringLiteral("B")), "hl_sn"), QStringLiteral("100002"));
}

TEST_F(MembersTest, NumberWithoutBillChangesNothing)
{
    const QVariantMap before = member(QStringLiteral("M"));
    for (const char *mode : {"XS", "XT", "unXS", "unXT"})
        postMember(QStringLiteral("XS24030899999"), QStringLiteral("M"), mode);
    EXPECT_EQ(member(QStringLiteral("M")), before);
}

TEST_F(MembersTest, ConsumptionGiftsOfSeveralSchemes)
{
    clock.set(QDateTime(QDate(2024, 4, 12), QTime(10, 0)));
    auto scheme = [&](const char *number, double per, double left, const char *date) {
        insert(QStringLiteral("jxc_hyxf"), {{"gl_djh", number}, {"hy_sn", "B"}, {"hs_zsfs", 2}, {"hs_myje", per},
                                            {"hs_zsje", left}, {"xf_zsrq", date}});
    };
    scheme("XF24032010001", 20, 100, "2024-03-20");
    scheme("XF24032510001", 30, 90, "2024-03-25");
    auto gifts = [&] { return count(QStringLiteral("select count(*) from jxc_hyxf where hs_zsfs = -2")); };
    const QString schemes = QStringLiteral("select xf_zsrq, hs_zsje from jxc_hyxf where hs_zsfs = 2 order by id");

    addBill(QStringLiteral("XS24041210001"), QStringLiteral("2024-04-12 09:00"), QStringLiteral("B"), 10, 0,
            {{"G1", 1, 10}});
    postMember(QStringLiteral("XS24041210001"), QStringLiteral("B"), "XS");
    EXPECT_EQ(gifts(), 2);
    const QVariantMap gift = row(QStringLiteral("select gl_djh, xf_je, xf_zt, xf_note from jxc_hyxf where hs_zsfs = -2 "
                                                "order by id limit 1"));
    EXPECT_EQ(t(gift, "gl_djh"), QStringLiteral("XS24041210001"));
    EXPECT_NEAR(n(gift, "xf_je"), 20, kEps);
    EXPECT_EQ(t(gift, "xf_zt"), QStringLiteral("XS24041210001本月消费到账"));
    EXPECT_EQ(t(gift, "xf_note"), QStringLiteral("XF24032010001该单据充值按月消费赠送，本次消费赠送：1个月"));
    EXPECT_EQ(t(row(schemes), "xf_zsrq"), QStringLiteral("2024-04-12"));
    EXPECT_NEAR(num(QStringLiteral("select sum(hs_zsje) from jxc_hyxf where hs_zsfs = 2")), 140, kEps);
    EXPECT_NEAR(n(member(QStringLiteral("B")), "hy_zhje"), 150, kEps);
    EXPECT_EQ(t(bill(QStringLiteral("XS24041210001")), "pos_zftype"), QStringLiteral("1"));

    // A second April sale pays nothing; while it exists the cancel of the first keeps the gifts.
    addBill(QStringLiteral("XS24041210002"), QStringLiteral("2024-04-12 11:00"), QStringLiteral("B"), 10, 0,
            {{"G1", 1, 10}});
    postMember(QStringLiteral("XS24041210002"), QStringLiteral("B"), "XS");
    EXPECT_EQ(gifts(), 2);
    {
        Transaction keep(db());
        postMember(QStringLiteral("XS24041210002"), QStringLiteral("B"), "unXS");
        EXPECT_EQ(gifts(), 2);
    }

    // The only April bill cancelled: both gifts go back, the schemes are payable again.
    RunSql(db(), QStringLiteral("delete from jxc_posxsd where gl_djh = 'XS24041210002'"));
    postMember(QStringLiteral("XS24041210001"), QStringLiteral("B"), "unXS");
    EXPECT_EQ(gifts(), 0);
    EXPECT_NEAR(num(QStringLiteral("select sum(hs_zsje) from jxc_hyxf where hs_zsfs = 2")), 190, kEps);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_hyxf where hs_zsfs = 2 and xf_zsrq = '2024-03-12'")), 2);
}

TEST_F(MembersTest, ScheduledTopUpGifts)
{
    clock.set(QDateTime(QDate(2024, 4, 12), QTime(8, 0)));
    auto scheme = [&](const char *number, int kind, double per, double left, const char *date) {
        return insert(QStringLiteral("jxc_hyxf"), {{"gl_djh", number}, {"hy_sn", "B"}, {"hs_zsfs", kind},
                                                   {"hs_myje", per}, {"hs_zsje", left}, {"xf_zsrq", date}});
    };
    const qint64 k1a = scheme("XF24011510001", 1, 50, 300, "2024-01-15");
    const qint64 k1b = scheme("XF24011510002", 1, 50, 80, "2024-01-15");
    const qint64 k3 = scheme("XF24040910001", 3, 10, 100, "2024-04-09");
    const qint64 k2 = scheme("XF24012010001", 2, 20, 100, "2024-01-20");
    const qint64 k4 = scheme("XF24040510001", 4, 5, 20, "2024-04-05");
    scheme("XF24040110001", 1, 5, 20, "");  // no date: skipped, not an error

    EXPECT_EQ(ApplyRechargeGifts(db(), state, clock), QString());
    const QString sql = QStringLiteral("select xf_zsrq, hs_zsje from jxc_hyxf where id = ?");
    auto expectScheme = [&](qint64 id, const char *date, double left) {
        const QVariantMap r = row(sql, {id});
        EXPECT_EQ(t(r, "xf_zsrq"), QLatin1String(date)) << id;
        EXPECT_NEAR(n(r, "hs_zsje"), left, kEps) << id;
    };
    expectScheme(k1a, "2024-04-12", 150);
    expectScheme(k1b, "2024-04-12", 30);
    expectScheme(k3, "2024-04-12", 70);
    expectScheme(k2, "2024-03-12", 60);
    expectScheme(k4, "2024-04-11", 0);
    const QVector<QVariantMap> gifts = [&] {
        QVector<QVariantMap> out;
        for (const char *note : {"XF24011510001%", "XF24011510002%", "XF24040910001%"})
            out << row(QStringLiteral("select gl_djh, xf_je, xf_note, xf_zt, hs_zsfs from jxc_hyxf where hs_zsfs < 0 "
                                      "and xf_note like ?"),
                       {QLatin1String(note)});
        return out;
    }();
    EXPECT_EQ(t(gifts[0], "gl_djh"), QStringLiteral("XF24041210001"));
    EXPECT_NEAR(n(gifts[0], "xf_je"), 150, kEps);
    EXPECT_EQ(t(gifts[0], "xf_note"), QStringLiteral("XF24011510001该单据充值按月赠送，本次赠送：3个月"));
    EXPECT_EQ(t(gifts[0], "xf_zt"), QStringLiteral("按月到账"));
    EXPECT_EQ(t(gifts[0], "hs_zsfs"), QStringLiteral("-1"));
    EXPECT_EQ(t(gifts[1], "xf_note"), QStringLiteral("XF24011510002该单据充值按月赠送，本次赠送：1个月"));
    EXPECT_NEAR(n(gifts[1], "xf_je"), 50, kEps);
    EXPECT_EQ(t(gifts[2], "xf_note"), QStringLiteral("XF24040910001该单据充值按天赠送，本次赠送：3天"));
    EXPECT_EQ(t(gifts[2], "xf_zt"), QStringLiteral("按天到账"));
    EXPECT_EQ(t(gifts[2], "hs_zsfs"), QStringLiteral("-3"));
    EXPECT_NEAR(n(gifts[2], "xf_je"), 30, kEps);
    EXPECT_NEAR(n(member(QStringLiteral("B")), "hy_zhje"), 330, kEps);

    const auto before = snapshot({QStringLiteral("jxc_hyxf"), QStringLiteral("jxc_hyxx")});
    EXPECT_EQ(ApplyRechargeGifts(db(), state, clock), QString());
    EXPECT_TRUE(before == snapshot({QStringLiteral("jxc_hyxf"), QStringLiteral("jxc_hyxx")}));
}

// Several members, fractional amounts, partial cover, rows left out and a lapse below zero: the
// same rows, amounts and texts on both kinds of database.
TEST_F(MembersTest, ScheduledTopUpGiftsMixedCases)
{
    clock.set(QDateTime(QDate(2024, 4, 12), QTime(8, 0)));
    struct Case
    {
        const char *number;
        const char *member;
        int kind;
        double per;
        double left;
        const char *date;
        const char *newDate;
        double newLeft;
    };
    const Case cases[] = {
        {"XF24010510001", "M", 1, 33.335, 100, "2024-01-05", "2024-04-12", 33.33},  // 3 months due, 2 covered
        {"XF24033110001", "M", 3, 0.125, 10, "2024-03-31", "2024-04-12", 8.5},      // 12 days
        {"XF24020110001", "B", 1, 12.5, 12.49, "2024-02-01", "2024-02-01", 12.49},  // not even one period left
        {"XF24041110001", "B", 3, 7.25, 50, "2024-04-11", "2024-04-12", 42.75},     // one day
        {"XF24010210001", "M", 2, 9.99, 25, "2024-01-02", "2024-03-12", 5.02},      // two months lapse
        {"XF24040110002", "B", 4, 2.5, 6, "2024-04-01", "2024-04-11", 0},           // lapses below zero
    };
    std::vector<qint64> ids;
    for (const Case &c : cases)
        ids.push_back(insert(QStringLiteral("jxc_hyxf"),
                             {{"gl_djh", c.number}, {"hy_sn", c.member}, {"hs_zsfs", c.kind}, {"hs_myje", c.per},
                              {"hs_zsje", c.left}, {"xf_zsrq", c.date}}));

    EXPECT_EQ(ApplyRechargeGifts(db(), state, clock), QString());
    for (size_t i = 0; i < std::size(cases); ++i) {
        const QVariantMap r = row(QStringLiteral("select xf_zsrq, hs_zsje from jxc_hyxf where id = ?"), {ids[i]});
        EXPECT_EQ(t(r, "xf_zsrq"), QLatin1String(cases[i].newDate)) << cases[i].number;
        EXPECT_NEAR(n(r, "hs_zsje"), cases[i].newLeft, kEps) << cases[i].number;
    }
    struct Gift
    {
        const char *member;
        double amount;
        const char *note;
        int kind;
    };
    const Gift expected[] = {
        {"M", 66.67, "XF24010510001该单据充值按月赠送，本次赠送：2个月", -1},
        {"M", 1.5, "XF24033110001该单据充值按天赠送，本次赠送：12天", -3},
        {"B", 7.25, "XF24041110001该单据充值按天赠送，本次赠送：1天", -3},
    };
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_hyxf where hs_zsfs < 0")), int(std::size(expected)));
    QVector<QVariantMap> gifts;  // in the order written
    for (size_t i = 0; i < std::size(expected); ++i)
        gifts << row(QStringLiteral("select gl_djh, hy_sn, xf_je, xf_note, hs_zsfs, xf_rq, xf_zsrq, a_name from jxc_hyxf "
                                    "where hs_zsfs < 0 order by id limit 1 offset %1")
                         .arg(i));
    for (qsizetype i = 0; i < gifts.size(); ++i) {
        EXPECT_EQ(t(gifts[i], "gl_djh"), QStringLiteral("XF24041210001"));
        EXPECT_EQ(t(gifts[i], "hy_sn"), QLatin1String(expected[i].member));
        EXPECT_NEAR(n(gifts[i], "xf_je"), expected[i].amount, kEps) << i;
        EXPECT_EQ(t(gifts[i], "xf_note"), QString::fromUtf8(expected[i].note));
        EXPECT_EQ(t(gifts[i], "hs_zsfs"), QString::number(expected[i].kind));
        EXPECT_EQ(t(gifts[i], "xf_rq").left(10), QStringLiteral("2024-04-12"));
        EXPECT_EQ(t(gifts[i], "xf_zsrq").left(10), QStringLiteral("2024-04-12"));
        EXPECT_EQ(t(gifts[i], "a_name"), state.CurrentOperatorName);
    }
    EXPECT_NEAR(n(member(QStringLiteral("M")), "hy_zhje"), 168.17, kEps);
    EXPECT_NEAR(n(member(QStringLiteral("B")), "hy_zhje"), 107.25, kEps);
}

TEST_F(MembersTest, NoMonthlyGiftsBeforeTheTenth)
{
    clock.set(QDateTime(QDate(2024, 4, 9), QTime(8, 0)));
    insert(QStringLiteral("jxc_hyxf"), {{"gl_djh", "XF24011510001"}, {"hy_sn", "B"}, {"hs_zsfs", 1},
                                        {"hs_myje", 50.0}, {"hs_zsje", 300.0}, {"xf_zsrq", "2024-01-15"}});
    EXPECT_EQ(ApplyRechargeGifts(db(), state, clock), QString());
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_hyxf where hs_zsfs = -1")), 0);
}

// A failure rolls the whole run back and returns the database's text.
TEST_F(MembersTest, TopUpGiftFailureRollsBack)
{
    clock.set(QDateTime(QDate(2024, 4, 12), QTime(8, 0)));
    insert(QStringLiteral("jxc_hyxf"), {{"gl_djh", "XF24011510001"}, {"hy_sn", "B"}, {"hs_zsfs", 1},
                                        {"hs_myje", 50.0}, {"hs_zsje", 300.0}, {"xf_zsrq", "2024-01-15"}});
    const auto before = snapshot({QStringLiteral("jxc_hyxf"), QStringLiteral("jxc_hyxx")});
    for (int n = 1;; ++n) {
        InjectStatementFailure(db(), n);
        const QString error = ApplyRechargeGifts(db(), state, clock);
        InjectStatementFailure(db(), 0);
        if (error.isEmpty())
            break;
        ASSERT_TRUE(before == snapshot({QStringLiteral("jxc_hyxf"), QStringLiteral("jxc_hyxx")})) << n;
        ASSERT_LT(n, 100);
    }
    EXPECT_NEAR(n(member(QStringLiteral("B")), "hy_zhje"), 250, kEps);
}

TEST_F(MembersTest, LevelsCardNumbersHeldBillsAndBalance)
{
    EXPECT_EQ(GetMemberLevel(db(), QStringLiteral("0")), QStringLiteral("100001"));
    EXPECT_EQ(GetMemberLevel(db(), QStringLiteral("5")), QStringLiteral("100002"));
    EXPECT_EQ(GetMemberLevel(db(), QStringLiteral("1000000")), QStringLiteral("100001"));
    RunSql(db(), QStringLiteral("update jxc_hyxx set hy_zjf = 5 where hy_sn = 'B'"));
    EXPECT_EQ(CalcMemberLevel(db(), QStringLiteral("B"), 999995), QString());
    EXPECT_EQ(CalcMemberLevel(db(), QStringLiteral("B"), 1), QStringLiteral("100002"));
    RunSql(db(), QStringLiteral("update jxc_hyxx set hy_sj = 0 where hy_sn = 'B'"));
    EXPECT_EQ(CalcMemberLevel(db(), QStringLiteral("B"), 999995), QStringLiteral("100001"));

    struct Case
    {
        QStringList cards;
        QString next;
    };
    const Case cards[] = {{{"100005", "A12345"}, "100006"},
                          {{}, "100001"},
                          {{"000123"}, "100001"},
                          {{"999999", "1000000"}, "1000001"}};
    for (const Case &c : cards) {
        RunSql(db(), QStringLiteral("delete from jxc_hyxx"));
        for (const QString &card : c.cards)
            insert(QStringLiteral("jxc_hyxx"), {{"hy_sn", card.left(8)}, {"hy_bh", card}});
        EXPECT_EQ(GetNewMemberNo(db(), QStringLiteral("jxc_hyxx"), QStringLiteral("hy_bh")), c.next)
            << c.cards.join(QLatin1Char(',')).toStdString();
    }
    EXPECT_THROW(GetNewMemberNo(db(), QStringLiteral("jxc_hyxx; drop"), QStringLiteral("hy_bh")),
                 std::invalid_argument);

    clock.set(QDateTime(QDate(2024, 4, 12), QTime(8, 0)));
    auto held = [&](const char *number, const char *date, const char *note) {
        insert(QStringLiteral("jxc_posxsd"), {{"gl_djh", number}, {"pos_xsrq", date}, {"pos_note", note}});
        insert(QStringLiteral("jxc_posxssp"), {{"gl_djh", number}, {"g_sn", "G1"}});
    };
    held("XS24041110001", "2024-04-11 18:00", "gd");
    held("XS24041210001", "2024-04-12 08:00", "gd");
    held("XS24041110002", "2024-04-11 17:00", "");
    for (const char *off : {"0", "False"}) {
        state.PosHeldTodayOnly = QLatin1String(off);
        PurgeHeldPosOrders(db(), state, clock);
        EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_posxsd")), 3);
    }
    state.PosHeldTodayOnly = QStringLiteral("1");
    PurgeHeldPosOrders(db(), state, clock);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_posxsd where gl_djh = 'XS24041110001'")), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_posxssp where gl_djh = 'XS24041110001'")), QStringLiteral("0"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_posxsd")), 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_posxssp")), 2);

    insert(QStringLiteral("jxc_hyxx"), {{"hy_sn", "Z"}, {"hy_zje", 37.0}, {"hy_ye", 9.0}});
    state.AmountPerPoint = QStringLiteral("0.5");
    UpdateMemberBalance(db(), state, QStringLiteral("Z"));
    EXPECT_NEAR(num(QStringLiteral("select hy_ye from jxc_hyxx where hy_sn = 'Z'")), 0, kEps);
    state.AmountPerPoint = QStringLiteral("10");
    UpdateMemberBalance(db(), state, QStringLiteral("Z"));
    EXPECT_NEAR(num(QStringLiteral("select hy_ye from jxc_hyxx where hy_sn = 'Z'")), 7, kEps);
}

} // namespace
