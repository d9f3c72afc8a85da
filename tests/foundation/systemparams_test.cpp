// The parameters form "系统设置": what it shows of a set, what a save writes (company row,
// parameter row, the columns carried and cleared), the restore of the defaults, and that a
// failing statement changes nothing. First the rules, then the form through its widgets.

#include "settings_fixture.h"

#include "foundation/forms/xtcs.h"
#include "foundation/systemparams.h"
#include "screenkit/editors.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest/QTest>

#include <functional>

namespace {

class SystemParamsTest : public SettingsTest
{
protected:
    QString param(const QString &column) const
    {
        return scalar(QStringLiteral("select %1 from jxc_xtcs").arg(column));
    }
    bool isNull(const QString &column) const
    {
        return scalar(QStringLiteral("select count(*) from jxc_xtcs where %1 is null").arg(column)) == QLatin1String("1");
    }
    void setParam(const QString &column, const QVariant &value)
    {
        RunSql(db(), QStringLiteral("update jxc_xtcs set %1 = ?").arg(column), {value});
    }
    // Reads the form's values, lets `change` edit them, saves.
    SystemParamsResult saveWith(const std::function<void(SystemParamsValues &)> &change = {})
    {
        SystemParamsValues v = ReadSystemParams(db());
        if (change)
            change(v);
        return SaveSystemParams(db(), v);
    }
};

const QStringList kFreshTicked = {
    QStringLiteral("启用现金银行功能"), QStringLiteral("库存为零时允许采购退货、销售"),
    QStringLiteral("采购时显示当前供货商历史信息"), QStringLiteral("销售时显示当前客户历史信息"),
    QStringLiteral("增加商品基本信息时商品自动编号"), QStringLiteral("销售时允许修改销售单价"),
    QStringLiteral("在商品信息中加入货架信息"), QStringLiteral("程序启动时弹出提醒窗口")};

const QStringList kFreshChoices = {QStringLiteral("优惠商品"), QStringLiteral("余额记帐"), QStringLiteral("应付金额"),
                                   QStringLiteral("应收金额"), QStringLiteral("预设售价"), QStringLiteral("预设进价"),
                                   QStringLiteral("系统日期"), QStringLiteral("默认顺序"), QStringLiteral("10号(最佳)")};

TEST_F(SystemParamsTest, FreshSetShowsItsDefaults)
{
    const SystemParamsValues v = ReadSystemParams(db());
    QStringList ticked;
    for (const ParamCheck &c : SystemParamChecks()) {
        if (v.checks.value(QString::fromLatin1(c.column)))
            ticked << QString::fromUtf8(c.caption);
    }
    EXPECT_EQ(ticked, kFreshTicked);
    EXPECT_EQ(SystemParamChecks().size(), 44u);
    QStringList chosen;
    for (const ParamChoice &c : SystemParamChoices())
        chosen << c.items.value(v.choices.value(QString::fromLatin1(c.column)));
    EXPECT_EQ(chosen, kFreshChoices);
    EXPECT_EQ(v.numbers.value(QStringLiteral("cs_cbjs")), 2);
    EXPECT_EQ(v.numbers.value(QStringLiteral("cs_xsws")), 2);
    for (const char *zero : {"cs_jews", "cs_cs005", "cs_cs006"})
        EXPECT_EQ(v.numbers.value(QString::fromLatin1(zero)), 0) << zero;
    EXPECT_EQ(v.tax, 0.0);
    EXPECT_EQ(v.minDiscount, 0.0);
    EXPECT_EQ(v.currencySymbol, QStringLiteral("￥"));
    EXPECT_EQ(v.marker, QStringLiteral("2023-10-01"));

    // The same on screen.
    TF_Xtcs form(db(), state, clock, notices);
    form.show();
    QStringList shown;
    for (const ParamCheck &c : SystemParamChecks()) {
        if (form.check(QString::fromLatin1(c.column))->isChecked())
            shown << form.check(QString::fromLatin1(c.column))->text();
    }
    EXPECT_EQ(shown, kFreshTicked);
    QStringList lists;
    for (const ParamChoice &c : SystemParamChoices())
        lists << form.choice(QString::fromLatin1(c.column))->currentText();
    EXPECT_EQ(lists, kFreshChoices);
    EXPECT_EQ(form.number(QStringLiteral("cs_cbjs"))->text(), QStringLiteral("2"));
    EXPECT_EQ(form.number(QStringLiteral("cs_jews"))->text(), QStringLiteral("0"));
    EXPECT_EQ(form.taxBox()->text(), QStringLiteral("0.0000"));
    EXPECT_EQ(form.currencyBox()->text(), QStringLiteral("￥"));
    EXPECT_EQ(form.pages->currentIndex(), 0);
    EXPECT_EQ(form.pages->tabText(0), QStringLiteral("公司信息"));
    EXPECT_EQ(form.pages->count(), 2);
}

TEST_F(SystemParamsTest, SavingUnchangedKeepsTheControlsCarriesHiddenValuesAndClearsTheRest)
{
    setParam(QStringLiteral("cs_posfkws"), 3);
    setParam(QStringLiteral("cs_dbdj"), 1);
    setParam(QStringLiteral("cs_cs032"), 1);
    setParam(QStringLiteral("cs_cs027"), 1);
    setParam(QStringLiteral("cs_mchid"), QStringLiteral("M1"));
    setParam(QStringLiteral("cs_key"), QStringLiteral("K1"));
    setParam(QStringLiteral("cs_ts"), QStringLiteral("T"));
    for (const char *on : {"cs_sms", "cs_kp", "cs_wxzf", "cs_cs017", "cs_rgf"})
        setParam(QString::fromLatin1(on), 1);
    const SystemParamsValues before = ReadSystemParams(db());

    ASSERT_EQ(saveWith().status, SystemParamsResult::Status::Saved);

    const SystemParamsValues after = ReadSystemParams(db());
    EXPECT_EQ(after.checks, before.checks);
    EXPECT_EQ(after.choices, before.choices);
    EXPECT_EQ(after.numbers, before.numbers);
    EXPECT_EQ(after.currencySymbol, before.currencySymbol);
    EXPECT_EQ(after.company, before.company);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_xtcs")), QStringLiteral("1"));
    EXPECT_EQ(param(QStringLiteral("cs_poshooktoday")), QStringLiteral("0"));
    EXPECT_EQ(param(QStringLiteral("cs_employdate")), QStringLiteral("2023-10-01"));
    for (const char *column : {"cs_employts", "cs_scjh", "cs_scrk", "cs_cs017", "cs_cs018", "cs_cs020", "cs_cs021",
                               "cs_cs022", "cs_cs024", "cs_cs025", "cs_cs028", "cs_cs029", "cs_cs030", "cs_cs033",
                               "cs_djzddysl", "cs_tmscff", "cs_rgf"})
        EXPECT_TRUE(isNull(QString::fromLatin1(column))) << column;
    for (const auto &[column, value] : {std::pair{"cs_posfkws", "3"}, {"cs_dbdj", "1"}, {"cs_cs032", "1"},
                                        {"cs_cs027", "1"}, {"cs_mchid", ""}, {"cs_key", ""}, {"cs_ts", ""},
                                        {"cs_sms", "0"}, {"cs_kp", "0"}, {"cs_wxzf", "0"}})
        EXPECT_EQ(param(QString::fromLatin1(column)), QString::fromLatin1(value)) << column;
}

TEST_F(SystemParamsTest, CompanyRowIsSanitisedCutAndRequired)
{
    struct Case
    {
        const char *name;
        const char *column;
        QString typed;
        QString stored;  // empty: refused
    };
    const QList<Case> cases = {
        {"quotes and percent", "c_name", QStringLiteral("A'B(1+2)-3/4%"), QStringLiteral("A‘B(1+2)-3/4％")},
        {"short name of 20", "c_jc", QStringLiteral("一二三四五六七八九十一二三四五六七八九十"),
         QStringLiteral("一二三四五六七八九十一二三四五六")},
        {"trimmed", "c_lxr", QStringLiteral("  张三  "), QStringLiteral("张三")},
        {"full name of spaces", "c_name", QStringLiteral("   "), QString()},
        {"empty short name", "c_jc", QString(), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setParam(QStringLiteral("cs_cs007"), 0);
        const QString company = snapshot(QStringLiteral("jxc_company"));
        const QString params = snapshot(QStringLiteral("jxc_xtcs"));
        const SystemParamsResult r = saveWith([&](SystemParamsValues &v) {
            v.company[QString::fromLatin1(c.column)] = c.typed;
            v.checks[QStringLiteral("cs_cs007")] = true;
        });
        if (c.stored.isEmpty()) {
            EXPECT_EQ(r.status, SystemParamsResult::Status::Refused);
            EXPECT_EQ(r.text, QStringLiteral("公司信息必须填写！"));
            EXPECT_EQ(snapshot(QStringLiteral("jxc_company")), company);
            EXPECT_EQ(snapshot(QStringLiteral("jxc_xtcs")), params);
        } else {
            EXPECT_EQ(r.status, SystemParamsResult::Status::Saved);
            EXPECT_EQ(scalar(QStringLiteral("select %1 from jxc_company").arg(QString::fromLatin1(c.column))), c.stored);
            EXPECT_EQ(param(QStringLiteral("cs_cs007")), QStringLiteral("1"));
        }
    }

    // A set without its company row gets one.
    RunSql(db(), QStringLiteral("delete from jxc_company"));
    ASSERT_EQ(saveWith([](SystemParamsValues &v) {
                  v.company[QStringLiteral("c_name")] = QStringLiteral("新公司");
                  v.company[QStringLiteral("c_jc")] = QStringLiteral("新");
              }).status,
              SystemParamsResult::Status::Saved);
    EXPECT_EQ(scalar(QStringLiteral("select c_sn || '/' || c_name || '/' || c_jc from jxc_company")),
              QStringLiteral("100001/新公司/新"));
}

TEST_F(SystemParamsTest, StoredValuesFollowTheirSwitches)
{
    using Change = std::function<void(SystemParamsValues &)>;
    auto set = [](const char *column, bool on) {
        return [=](SystemParamsValues &v) { v.checks[QString::fromLatin1(column)] = on; };
    };
    auto number = [](const char *column, int n) {
        return [=](SystemParamsValues &v) { v.numbers[QString::fromLatin1(column)] = n; };
    };
    struct Case
    {
        const char *name;
        QList<Change> changes;
        const char *column;
        const char *stored;
    };
    const QList<Case> cases = {
        {"quantity decimals 9", {number("cs_cbjs", 9)}, "cs_cbjs", "8"},
        {"amount decimals 9", {number("cs_xsws", 9)}, "cs_xsws", "8"},
        {"totals off", {set("cs_zjews", false), number("cs_jews", 5)}, "cs_jews", "0"},
        {"totals on with 9", {set("cs_zjews", true), number("cs_jews", 9)}, "cs_jews", "8"},
        {"discount off", {set("cs_jhzk", false), [](SystemParamsValues &v) { v.minDiscount = 0.8; }}, "cs_zdzk", "0"},
        {"discount negative", {set("cs_jhzk", true), [](SystemParamsValues &v) { v.minDiscount = -0.5; }}, "cs_zdzk", "0"},
        {"discount on", {set("cs_jhzk", true), [](SystemParamsValues &v) { v.minDiscount = 0.85; }}, "cs_zdzk", "0.85"},
        {"tax off", {set("cs_hs", false), [](SystemParamsValues &v) { v.tax = 13; }}, "cs_tax", "0"},
        {"tax on", {set("cs_hs", true), [](SystemParamsValues &v) { v.tax = 13; }}, "cs_tax", "13"},
        {"aux quantity without aux units", {set("cs_fzdw", false), set("cs_cs003", true)}, "cs_cs003", "0"},
        {"aux quantity with aux units", {set("cs_fzdw", true), set("cs_cs003", true)}, "cs_cs003", "1"},
        {"sales rows off", {set("cs_cs015", false), number("cs_cs005", 10)}, "cs_cs005", "0"},
        {"sales rows on", {set("cs_cs015", true), number("cs_cs005", 10)}, "cs_cs005", "10"},
        {"purchase rows on", {set("cs_cs019", true), number("cs_cs006", 12)}, "cs_cs006", "12"},
        {"font 12", {[](SystemParamsValues &v) { v.choices[QStringLiteral("cs_cs031")] = 4; }}, "cs_cs031", "4"},
        {"operator binding", {set("cs_cgyh", true)}, "cs_cgyh", "1"},
        {"symbol trimmed", {[](SystemParamsValues &v) { v.currencySymbol = QStringLiteral(" $ "); }}, "cs_hbfh", "$"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SystemParamsValues v = ReadSystemParams(db());
        for (const Change &change : c.changes)
            change(v);
        ASSERT_EQ(SaveSystemParams(db(), v).status, SystemParamsResult::Status::Saved);
        EXPECT_EQ(param(QString::fromLatin1(c.column)), QString::fromLatin1(c.stored));
    }
    // The decimals come back clamped, for the form to show.
    {
        SystemParamsValues v = ReadSystemParams(db());
        v.numbers[QStringLiteral("cs_xsws")] = 9;
        v.numbers[QStringLiteral("cs_jews")] = 9;
        ASSERT_EQ(SaveSystemParams(db(), v).status, SystemParamsResult::Status::Saved);
        EXPECT_EQ(v.numbers.value(QStringLiteral("cs_xsws")), 8);
        EXPECT_EQ(v.numbers.value(QStringLiteral("cs_jews")), 8);
    }
    LoadSysParams(db(), state, clock);
    EXPECT_EQ(state.UiFontSize, 12);
}

TEST_F(SystemParamsTest, BindingBoxesReadOnlyTheTextOneAndCoupleOnScreen)
{
    setParam(QStringLiteral("cs_shtc"), 1);
    setParam(QStringLiteral("cs_cgyh"), 0);
    SystemParamsValues v = ReadSystemParams(db());
    EXPECT_TRUE(v.checks.value(QStringLiteral("cs_shtc")));
    EXPECT_FALSE(v.checks.value(QStringLiteral("cs_cgyh")));
    setParam(QStringLiteral("cs_cgyh"), 2);
    setParam(QStringLiteral("cs_xsyh"), 1);
    v = ReadSystemParams(db());
    EXPECT_FALSE(v.checks.value(QStringLiteral("cs_cgyh")));
    EXPECT_TRUE(v.checks.value(QStringLiteral("cs_xsyh")));
    ASSERT_EQ(SaveSystemParams(db(), v).status, SystemParamsResult::Status::Saved);
    EXPECT_EQ(param(QStringLiteral("cs_cgyh")), QStringLiteral("0"));
    EXPECT_EQ(param(QStringLiteral("cs_xsyh")), QStringLiteral("1"));

    // The form loads the pair as stored (no coupling while loading), then couples them.
    setParam(QStringLiteral("cs_shtc"), 1);
    setParam(QStringLiteral("cs_cgyh"), 0);
    TF_Xtcs form(db(), state, clock, notices);
    form.show();
    QCheckBox *partners = form.check(QStringLiteral("cs_shtc"));
    QCheckBox *operators = form.check(QStringLiteral("cs_cgyh"));
    EXPECT_TRUE(partners->isChecked());
    EXPECT_FALSE(operators->isChecked());
    partners->setChecked(false);
    partners->click();
    EXPECT_TRUE(partners->isChecked());
    EXPECT_TRUE(operators->isChecked());
    operators->click();
    EXPECT_FALSE(operators->isChecked());
    EXPECT_FALSE(partners->isChecked());
}

TEST_F(SystemParamsTest, RestoreDefaultsRebuildsParametersAndMailButNotTheCompany)
{
    setParam(QStringLiteral("cs_cs007"), 1);
    setParam(QStringLiteral("cs_xsws"), 4);
    RunSql(db(), QStringLiteral("update jxc_email set e_smtp = 'smtp.example', e_send = 1"));
    RunSql(db(), QStringLiteral("update jxc_company set c_name = '我的公司'"));
    const QString company = snapshot(QStringLiteral("jxc_company"));
    const QString params = snapshot(QStringLiteral("jxc_xtcs"));

    notices.script({Notices::Answer::No});
    EXPECT_EQ(RestoreDefaultSystemParams(db(), clock, notices).status, SystemParamsResult::Status::Declined);
    EXPECT_EQ(snapshot(QStringLiteral("jxc_xtcs")), params);
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("您的操作要恢复系统默认设置，确认吗？")});

    // Through the form: Yes restores, shows the parameters page and says so.
    notices.shown.clear();
    TF_Xtcs form(db(), state, clock, notices);
    form.show();
    notices.script({Notices::Answer::Yes});
    QTest::mouseClick(form.btnDefault, Qt::LeftButton);
    EXPECT_EQ(notices.texts(), (QStringList{QStringLiteral("您的操作要恢复系统默认设置，确认吗？"),
                                            QStringLiteral("默认系统设置已恢复！")}));
    EXPECT_EQ(form.pages->currentIndex(), 1);
    EXPECT_FALSE(form.check(QStringLiteral("cs_cs007"))->isChecked());
    EXPECT_EQ(form.number(QStringLiteral("cs_xsws"))->text(), QStringLiteral("2"));
    EXPECT_EQ(state.PriceDecimals, 2);
    EXPECT_EQ(param(QStringLiteral("cs_cs007")), QStringLiteral("0"));
    EXPECT_EQ(param(QStringLiteral("cs_employdate")), QStringLiteral("1900-01-01"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_email")), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("select e_smtp || '/' || e_send from jxc_email")), QStringLiteral("/0"));
    EXPECT_EQ(snapshot(QStringLiteral("jxc_company")), company);

    // A save keeps the marker; the next login's upgrade runs every step again.
    PressKey(&form, Qt::Key_F5);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(param(QStringLiteral("cs_employdate")), QStringLiteral("1900-01-01"));
    RunSql(db(), QStringLiteral("delete from jxc_import"));
    UpgradeSchema(db(), clock);
    EXPECT_EQ(param(QStringLiteral("cs_employdate")), QStringLiteral("2023-10-01"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_import")), QStringLiteral("58"));
}

TEST_F(SystemParamsTest, AFailingStatementChangesNothingAndKeepsTheFormOpen)
{
    setParam(QStringLiteral("cs_cs007"), 0);
    const QString company = snapshot(QStringLiteral("jxc_company"));
    const QString params = snapshot(QStringLiteral("jxc_xtcs"));
    const QString email = snapshot(QStringLiteral("jxc_email"));
    TF_Xtcs form(db(), state, clock, notices);
    form.show();
    form.companyBox(QStringLiteral("c_name"))->setText(QStringLiteral("改过的公司"));
    form.check(QStringLiteral("cs_cs007"))->setChecked(true);
    // Company update, delete of the parameter row, insert of the new one.
    for (int statement = 1; statement <= 3; ++statement) {
        SCOPED_TRACE(statement);
        notices.shown.clear();
        InjectStatementFailure(db(), statement);
        PressKey(&form, Qt::Key_F5);
        InjectStatementFailure(db(), 0);
        EXPECT_TRUE(form.isVisible());
        ASSERT_EQ(notices.shown.size(), 1);
        EXPECT_TRUE(notices.last().startsWith(QStringLiteral("保存失败："))) << notices.last().toStdString();
        EXPECT_EQ(snapshot(QStringLiteral("jxc_company")), company);
        EXPECT_EQ(snapshot(QStringLiteral("jxc_xtcs")), params);
    }
    // Restore defaults: the first look-up of the table, the mail table's creation, the marker.
    for (int statement : {1, 7, 9}) {
        SCOPED_TRACE(statement);
        notices.shown.clear();
        notices.script({Notices::Answer::Yes});
        InjectStatementFailure(db(), statement);
        QTest::mouseClick(form.btnDefault, Qt::LeftButton);
        InjectStatementFailure(db(), 0);
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(notices.last().startsWith(QStringLiteral("恢复默认系统设置失败："))) << notices.last().toStdString();
        EXPECT_EQ(snapshot(QStringLiteral("jxc_xtcs")), params);
        EXPECT_EQ(snapshot(QStringLiteral("jxc_email")), email);
    }
}

TEST_F(SystemParamsTest, ThePressReloadsTheParametersAndShowsWhatWasStored)
{
    TF_Xtcs form(db(), state, clock, notices);
    form.show();
    // Changed behind the form: the refused press still reloads the login's parameters.
    setParam(QStringLiteral("cs_xsws"), 3);
    form.companyBox(QStringLiteral("c_jc"))->clear();
    PressKey(&form, Qt::Key_F5);
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("公司信息必须填写！")});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(state.PriceDecimals, 3);

    form.companyBox(QStringLiteral("c_jc"))->setText(QStringLiteral("演示"));
    form.number(QStringLiteral("cs_cbjs"))->setText(QStringLiteral("9"));
    form.number(QStringLiteral("cs_cs005"))->clear();
    form.choice(QStringLiteral("cs_cs031"))->setCurrentIndex(4);
    form.noteBox()->setPlainText(QString(230, QLatin1Char('x')));
    EXPECT_EQ(form.noteBox()->toPlainText().size(), 200);
    QTest::mouseClick(form.btnOK, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.number(QStringLiteral("cs_cbjs"))->text(), QStringLiteral("8"));
    EXPECT_EQ(param(QStringLiteral("cs_cbjs")), QStringLiteral("8"));
    EXPECT_EQ(param(QStringLiteral("cs_cs005")), QStringLiteral("0"));
    EXPECT_EQ(state.QtyDecimals, 8);
    EXPECT_EQ(state.UiFontSize, 12);
    EXPECT_EQ(scalar(QStringLiteral("select length(c_note) from jxc_company")), QStringLiteral("200"));
}

} // namespace
