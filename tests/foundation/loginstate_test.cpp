// The login state: parameters read from jxc_xtcs with their derived values, cached rights,
// template names, backup, member-points and SMS settings, and the two flag tests.

#include "../support/testdb.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

#include <gtest/gtest.h>

namespace {

class LoginStateTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        state.CurrentOperatorName = QStringLiteral("admin");
        state.CurrentOperatorSn = QStringLiteral("100001");
        state.CurrentRoleSn = QStringLiteral("100001");
    }

    void setParam(const QString &column, const QVariant &value)
    {
        RunSql(db(), QStringLiteral("update jxc_xtcs set %1 = ?").arg(column), {value});
    }

    // A role "100002" that holds every right but the listed qtcz positions.
    void useRoleWithout(std::initializer_list<int> qtczPositions)
    {
        QString qtcz(60, QLatin1Char('1'));
        for (int p : qtczPositions)
            qtcz[p - 1] = QLatin1Char('0');
        const QString all(60, QLatin1Char('1'));
        RunSql(db(),
               QStringLiteral("insert into jxc_role (r_sn, r_name, cggl, xsgl, kcgl, qtcz) "
                              "values (?, ?, ?, ?, ?, ?)"),
               {QStringLiteral("100002"), QStringLiteral("开单员"), all, all, all, qtcz});
        state.CurrentRoleSn = QStringLiteral("100002");
    }

    void load() { LoadSysParams(db(), state, clock); }

    LoginState state;
};

TEST_F(LoginStateTest, NewAccountSetLoadsItsDefaults)
{
    load();
    EXPECT_EQ(state.PriceDecimals, 2);
    EXPECT_EQ(state.QtyDecimals, 2);
    EXPECT_EQ(state.TotalDecimals, QStringLiteral("2"));  // totals not rounded: price decimals
    EXPECT_EQ(state.UiFontSize, 10);
    EXPECT_EQ(state.CurrencySymbol, QStringLiteral("￥"));
    EXPECT_EQ(state.CustomerDisplayBaud, QStringLiteral("2400"));
    EXPECT_EQ(state.PurchasePriceDefault, QStringLiteral("2"));
    EXPECT_TRUE(IsTrue(state.AllowSalePriceEdit));
    EXPECT_FALSE(IsTrue(state.UseSms));
    EXPECT_EQ(state.MinSaleDiscount, QStringLiteral("0"));
    EXPECT_EQ(state.DocDateDefault, QStringLiteral("0"));
    EXPECT_EQ(state.CompanyNote, QString());
    EXPECT_FALSE(state.CompanyName.isEmpty());
    EXPECT_TRUE(state.RightShowCost && state.RightChangeDocDate && state.RightShowSalePrice
                && state.RightEditSaleCost);
    EXPECT_EQ(state.SalesTemplate, QStringLiteral("spxs.fr3"));
    EXPECT_EQ(state.PurchaseInTemplate, QStringLiteral("cgjh.fr3"));
    // The login fields stay as the login set them.
    EXPECT_EQ(state.CurrentOperatorName, QStringLiteral("admin"));
    EXPECT_EQ(state.CurrentRoleSn, QStringLiteral("100001"));
}

struct DecimalsCase
{
    QVariant xsws, cbjs, zjews, jews;
    int price, qty;
    const char *total;
};

TEST_F(LoginStateTest, DecimalsFollowTheirRules)
{
    const DecimalsCase cases[] = {
        {9, 2, 1, 2, 2, 2, "2"},          // outside 0..8 becomes 2
        {0, 0, 1, 4, 0, 0, "4"},          // 0 stays 0
        {3, 8, 0, 5, 3, 8, "3"},          // totals not rounded: the price decimals
        {2, -1, 1, QVariant(), 2, 2, "2"},  // empty total decimals become 2
        {4, 9, 1, 9, 4, 2, "2"},          // total decimals outside 0..8 become 2
        {QVariant(), 3, 0, 6, 2, 3, "2"}, // empty price decimals: 2
    };
    for (const DecimalsCase &c : cases) {
        setParam(QStringLiteral("cs_xsws"), c.xsws);
        setParam(QStringLiteral("cs_cbjs"), c.cbjs);
        setParam(QStringLiteral("cs_zjews"), c.zjews);
        setParam(QStringLiteral("cs_jews"), c.jews);
        load();
        SCOPED_TRACE(c.xsws.toString().toStdString() + "/" + c.jews.toString().toStdString());
        EXPECT_EQ(state.PriceDecimals, c.price);
        EXPECT_EQ(state.QtyDecimals, c.qty);
        EXPECT_EQ(state.TotalDecimals, QString::fromLatin1(c.total));
    }
}

TEST_F(LoginStateTest, DerivedTextsAndFontSize)
{
    setParam(QStringLiteral("cs_cs031"), 2);
    setParam(QStringLiteral("cs_cs004"), 1);
    setParam(QStringLiteral("cs_zdzk"), QVariant());
    setParam(QStringLiteral("cs_djrq"), 1);
    load();
    EXPECT_EQ(state.UiFontSize, 10);
    EXPECT_EQ(state.CustomerDisplayBaud, QStringLiteral("9600"));
    EXPECT_EQ(state.MinSaleDiscount, QStringLiteral("0"));
    EXPECT_EQ(state.DocDateDefault, QStringLiteral("1"));

    setParam(QStringLiteral("cs_cs031"), 4);
    setParam(QStringLiteral("cs_cs004"), QVariant());
    setParam(QStringLiteral("cs_zdzk"), 0.85);
    setParam(QStringLiteral("cs_djrq"), QVariant());
    load();
    EXPECT_EQ(state.UiFontSize, 12);
    EXPECT_EQ(state.CustomerDisplayBaud, QStringLiteral("9600"));
    EXPECT_EQ(state.MinSaleDiscount, QStringLiteral("0.85"));
    EXPECT_EQ(state.DocDateDefault, QStringLiteral("0"));
}

TEST_F(LoginStateTest, TemplatesFollowTheRoleAndParameters)
{
    useRoleWithout({16});
    load();
    EXPECT_FALSE(state.RightShowCost);
    EXPECT_EQ(state.PurchaseInTemplate, QStringLiteral("cgjh2.fr3"));
    EXPECT_EQ(state.PurchaseReturnTemplate, QStringLiteral("cgth2.fr3"));
    EXPECT_EQ(state.DeptIssueTemplate, QStringLiteral("bmlyd2.fr3"));
    EXPECT_EQ(state.DeptReturnTemplate, QStringLiteral("bmthd2.fr3"));
    EXPECT_EQ(state.ProductionInTemplate, QStringLiteral("scrkd2.fr3"));
    EXPECT_EQ(state.ProductionReturnTemplate, QStringLiteral("sctkd2.fr3"));
    EXPECT_EQ(state.SalesTemplate, QStringLiteral("spxs.fr3"));

    setParam(QStringLiteral("cs_lsj"), 1);
    setParam(QStringLiteral("cs_dbdj"), 1);
    load();
    EXPECT_EQ(state.SalesTemplate, QStringLiteral("spxs2.fr3"));
    EXPECT_EQ(state.SalesReturnTemplate, QStringLiteral("xsth2.fr3"));
    EXPECT_EQ(state.TransferTemplate, QStringLiteral("kcdbd2.fr3"));

    // Without qtcz 18 sales print without prices, retail prices or not.
    RunSql(db(), QStringLiteral("delete from jxc_role where r_sn = ?"), {QStringLiteral("100002")});
    useRoleWithout({18});
    load();
    EXPECT_TRUE(state.RightShowCost);
    EXPECT_FALSE(state.RightShowSalePrice);
    EXPECT_EQ(state.SalesTemplate, QStringLiteral("spxs4.fr3"));
    EXPECT_EQ(state.SalesReturnTemplate, QStringLiteral("xsth4.fr3"));
    EXPECT_EQ(state.PurchaseInTemplate, QStringLiteral("cgjh.fr3"));
}

TEST_F(LoginStateTest, IsTrueAcceptsAllButEmptyZeroAndFalse)
{
    const struct
    {
        const char *flag;
        bool expected;
    } cases[] = {{"", false}, {"0", false}, {"False", false}, {"false", true}, {"FALSE", true},
                 {"1", true}, {"True", true}, {"2", true},     {" ", true}};
    for (const auto &c : cases)
        EXPECT_EQ(IsTrue(QString::fromLatin1(c.flag)), c.expected) << '"' << c.flag << '"';
}

TEST_F(LoginStateTest, IsTrueWithCostRightNeedsTheScopesRights)
{
    struct Case
    {
        const char *flag;
        const char *scope;
        bool cost, price, expected;
    };
    const Case cases[] = {
        {"", "other", false, false, true},  // empty counts as true here
        {"", "", false, false, true},
        {"0", "other", true, true, false},
        {"False", "all", true, true, false},
        {"1", "all", true, true, true},
        {"1", "all", true, false, false},
        {"1", "all", false, true, false},
        {"1", "cj", true, false, true},
        {"1", "cj", false, true, false},
        {"1", "xs", false, true, true},
        {"1", "xs", true, false, false},
        {"false", "xs", true, true, true},
    };
    for (const Case &c : cases) {
        LoginState s;
        s.RightShowCost = c.cost;
        s.RightShowSalePrice = c.price;
        EXPECT_EQ(IsTrueWithCostRight(s, QString::fromLatin1(c.flag), QString::fromLatin1(c.scope)), c.expected)
            << c.flag << " / " << c.scope << " cost " << c.cost << " price " << c.price;
    }
}

TEST_F(LoginStateTest, MissingColumnNeverKeepsThePreviousSetsValue)
{
    // A first account set with grade prices on and retail prices on.
    setParam(QStringLiteral("cs_cs013"), 1);
    setParam(QStringLiteral("cs_lsj"), 1);
    setParam(QStringLiteral("cs_cs031"), 6);
    load();
    ASSERT_EQ(state.UseGradePrices, QStringLiteral("1"));
    ASSERT_EQ(state.UiFontSize, 14);

    // An older set lacking cs_cs013 and cs_cs031: those take their defaults, and the columns
    // after them are still read.
    setParam(QStringLiteral("cs_lsj"), 0);
    setParam(QStringLiteral("cs_cs014"), 1);
    setParam(QStringLiteral("cs_posblur"), 1);
    RunSql(db(), QStringLiteral("alter table jxc_xtcs drop column cs_cs013"));
    RunSql(db(), QStringLiteral("alter table jxc_xtcs drop column cs_cs031"));
    load();
    EXPECT_EQ(state.UseGradePrices, QStringLiteral("0"));
    EXPECT_EQ(state.UiFontSize, 10);
    EXPECT_EQ(state.UseRetailPrice, QStringLiteral("0"));
    EXPECT_EQ(state.DocDateWithTime, QStringLiteral("1"));
    EXPECT_EQ(state.UsePos, QStringLiteral("1"));
}

TEST_F(LoginStateTest, ReloadForAnotherSetResetsEverything)
{
    RunSql(db(), QStringLiteral("insert into jxc_backup (back_auto, back_sj, back_exit) values (1, 4, 1)"));
    RunSql(db(), QStringLiteral("insert into jxc_smscs (sms_sign, sms_user) values (?, ?)"),
           {QStringLiteral("【店】"), QStringLiteral("u1")});
    RunSql(db(), QStringLiteral("update jxc_company set c_note = ?"), {QStringLiteral("备注")});
    load();
    ASSERT_EQ(state.BackupAuto, QStringLiteral("1"));
    ASSERT_EQ(state.SmsSign, QStringLiteral("【店】"));

    // The next set has no backup or SMS row, no company row and no parameters row.
    RunSql(db(), QStringLiteral("delete from jxc_backup"));
    RunSql(db(), QStringLiteral("delete from jxc_smscs"));
    RunSql(db(), QStringLiteral("delete from jxc_company"));
    RunSql(db(), QStringLiteral("delete from jxc_xtcs"));
    setParam(QStringLiteral("cs_cs013"), 1);  // no row: no effect
    load();
    EXPECT_EQ(state.BackupAuto, QStringLiteral("0"));
    EXPECT_EQ(state.BackupOnExit, QStringLiteral("0"));
    EXPECT_EQ(state.BackupHours, 0);
    EXPECT_EQ(state.SmsSign, QString());
    EXPECT_EQ(state.SmsUser, QString());
    EXPECT_EQ(state.CompanyNote, QString());
    EXPECT_EQ(state.CompanyName, QString());
    EXPECT_EQ(state.PriceDecimals, 2);
    EXPECT_EQ(state.UiFontSize, 10);
    EXPECT_EQ(state.UseGradePrices, QStringLiteral("0"));
}

TEST_F(LoginStateTest, BackupFlagsBecomeOneOrZero)
{
    RunSql(db(), QStringLiteral("insert into jxc_backup (back_auto, back_sj, back_exit) values (1, 4, 0)"));
    load();
    EXPECT_EQ(state.BackupAuto, QStringLiteral("1"));
    EXPECT_EQ(state.BackupOnExit, QStringLiteral("0"));
    EXPECT_EQ(state.BackupHours, 4);
}

TEST_F(LoginStateTest, MemberDayByDayOfMonthOrByDates)
{
    struct Case
    {
        int kind;
        const char *from;
        const char *to;
        QDate today;
        bool active;
    };
    const Case cases[] = {
        {1, "05", "09", QDate(2024, 3, 7), true},
        {1, "05", "09", QDate(2024, 3, 5), true},
        {1, "05", "09", QDate(2024, 3, 9), true},
        {1, "05", "09", QDate(2024, 3, 10), false},
        {1, "05", "09", QDate(2024, 3, 4), false},
        {2, "2024-03-01", "2024-03-05", QDate(2024, 3, 5), true},
        {2, "2024-03-01", "2024-03-05", QDate(2024, 3, 6), false},
        {0, "01", "31", QDate(2024, 3, 6), false},
    };
    for (const Case &c : cases) {
        RunSql(db(),
               QStringLiteral("update jxc_jfsz set jf_hyr = ?, jf_hyrmy1 = ?, jf_hyrmy2 = ?, jf_hyr1 = ?, "
                              "jf_hyr2 = ?, jf_hyrzk = ?"),
               {c.kind, c.kind == 1 ? QString::fromLatin1(c.from) : QString(),
                c.kind == 1 ? QString::fromLatin1(c.to) : QString(),
                c.kind != 1 ? QString::fromLatin1(c.from) : QString(),
                c.kind != 1 ? QString::fromLatin1(c.to) : QString(), 0.9});
        clock.set(QDateTime(c.today, QTime(9, 0)));
        load();
        EXPECT_EQ(state.MemberDayActive == QLatin1String("1"), c.active)
            << c.kind << " " << c.from << ".." << c.to << " on " << c.today.toString().toStdString();
        EXPECT_EQ(state.MemberDayDiscount, QStringLiteral("0.9"));
    }
}

TEST_F(LoginStateTest, MemberAndSmsSettingsFailQuietlyCompanyLoudly)
{
    DropTableIfExists(db(), QStringLiteral("jxc_jfsz"));
    EXPECT_NO_THROW(load());
    EXPECT_EQ(state.MemberDayActive, QString());
    EXPECT_EQ(state.PriceDecimals, 2);

    DropTableIfExists(db(), QStringLiteral("jxc_company"));
    EXPECT_THROW(load(), DbError);
}

TEST_F(LoginStateTest, SmsParamsCopyTheFirstRow)
{
    RunSql(db(),
           QStringLiteral("insert into jxc_smscs (sms_sign, sms_user, sms_pwd, sms_cznote, sms_xfnote) "
                          "values (?, ?, ?, ?, ?)"),
           {QStringLiteral("【小店】"), QStringLiteral("user"), QStringLiteral("pw"), QStringLiteral("充值{je}"),
            QStringLiteral("消费{je}")});
    LoadSmsParams(db(), state);
    EXPECT_EQ(state.SmsSign, QStringLiteral("【小店】"));
    EXPECT_EQ(state.SmsUser, QStringLiteral("user"));
    EXPECT_EQ(state.SmsPassword, QStringLiteral("pw"));
    EXPECT_EQ(state.SmsTopUpTemplate, QStringLiteral("充值{je}"));
    EXPECT_EQ(state.SmsPurchaseTemplate, QStringLiteral("消费{je}"));
}

} // namespace
