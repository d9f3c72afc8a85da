// The main window: its start after the login, the panels and their flags, the command gate over
// the whole command table, screen lifetimes, follow-ons, help pages, the start-up timer, the
// change of operator and the exit.

#include "shellfixture.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "shell/commandtable.h"
#include "shell/forms/login.h"
#include "shell/forms/mainform.h"
#include "shell/forms/placeholder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QtTest/QTest>

namespace {

const QString kAll = QString(60, QLatin1Char('1'));
const QStringList kModules = {QStringLiteral("cggl"), QStringLiteral("xsgl"), QStringLiteral("scjg"),
                              QStringLiteral("scjh"), QStringLiteral("kcgl"), QStringLiteral("wlzk"),
                              QStringLiteral("tjgl"), QStringLiteral("rcgl"), QStringLiteral("qtcz")};

class MainFormTest : public ShellTest
{
protected:
    // Role 100002 with the given texts per module (others all "0") and its operator wang.
    void setRole(const QHash<QString, QString> &rights)
    {
        RunSql(db(), QStringLiteral("delete from jxc_role where r_sn = '100002'"));
        QVariantList values{QStringLiteral("100002"), QStringLiteral("业务员")};
        for (const QString &m : kModules)
            values << rights.value(m, QString(60, QLatin1Char('0')));
        RunSql(db(),
               QStringLiteral("insert into jxc_role (r_sn, r_name, cggl, xsgl, scjg, scjh, kcgl, wlzk, tjgl, rcgl, "
                              "qtcz) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               values);
    }
    void addOperatorWang()
    {
        RunSql(db(), QStringLiteral("insert into jxc_admin (a_sn, a_name, r_sn, a_pwd, a_jyt) values (?, ?, ?, ?, ?)"),
               {QStringLiteral("100002"), QStringLiteral("wang"), QStringLiteral("100002"), QString(), 0});
    }
    // Logged in without the dialog: the login fields and the parameters.
    void loginAs(const QString &name, const QString &sn, const QString &role)
    {
        state.CurrentOperatorName = name;
        state.CurrentOperatorSn = sn;
        state.CurrentRoleSn = role;
        state.CurrentAccountSetDb = QStringLiteral("jxc.db");
        state.CurrentAccountSetName = QStringLiteral("主帐套");
        LoadSysParams(db(), state, clock);
    }
    void click(const QString &control)
    {
        opened.clear();
        notices.shown.clear();
        mainForm().commandClick(control);
    }
    bool visible(const char *name)
    {
        QAbstractButton *b = mainForm().control(QString::fromLatin1(name));
        return b && !b->isHidden();
    }
};

TEST_F(MainFormTest, StartShowsTheLoggedInWindow)
{
    RunSql(db(), QStringLiteral("delete from jxc_kcsp"));
    ASSERT_TRUE(startAndLogin());
    TF_MainForm &form = mainForm();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.isMaximized());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("CorvelBrivant管理系统 [Corvel软件] 2023V2"));
    EXPECT_EQ(form.paneAdmin()->text(), QStringLiteral("操作员：admin"));
    EXPECT_EQ(form.paneRj()->text(), QStringLiteral("当前帐套:主帐套"));
    EXPECT_EQ(form.paneLoginTime()->text(), QStringLiteral("登录时间:2024-03-05 14:07:09"));
    EXPECT_FALSE(form.panel(QStringLiteral("RzPanel_Menu1"))->isHidden());
    for (const char *p : {"RzPanel_Menu2", "RzPanel_Menu3", "RzPanel_Menu4", "RzPanel_Menu8", "RzPanel_Menu6"})
        EXPECT_TRUE(form.panel(QString::fromLatin1(p))->isHidden()) << p;
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_kcsp where g_sn = '00000000' and ck_sn = '100001'")),
              QStringLiteral("1"));
    EXPECT_TRUE(form.timer1()->isActive());
    EXPECT_EQ(form.timer1()->interval(), 200);
    EXPECT_FALSE(form.timerBackUp()->isActive());
    EXPECT_EQ(terminated, 0);
}

TEST_F(MainFormTest, ClosingTheStartUpLoginEndsTheProgram)
{
    TF_MainForm &form = mainForm();
    QTimer::singleShot(0, [] {
        if (QWidget *login = QApplication::activeModalWidget())
            QTest::keyClick(login, Qt::Key_Escape);
    });
    EXPECT_FALSE(form.start());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(terminated, 1);
}

TEST_F(MainFormTest, ButtonTextsAreTheCommandNames)
{
    const QList<std::pair<const char *, const char *>> texts = {
        {"menu1_btn", "入库管理 "}, {"menu2_btn", "出库管理 "}, {"menu3_btn", "库存管理 "},
        {"menu4_btn", "统计报表 "}, {"menu5_btn", "往来账款 "}, {"menu6_btn", "系统设置 "},
        {"btn_Login", "重新登录"}, {"btn_ModiPwd", "修改密码"}, {"btn_Djcx", "单据查询"},
        {"btn_Help", "入门操作"}, {"btn_Spjc", "视频教程"}, {"btn_Lxwm", "联系我们"},
        {"btn_Tcxt", "退出系统"}, {"btn_Bqjl", "商品管理"},
        {"btn_Menu1_Btn1", "采购进货"}, {"btn_Menu1_Btn8", "采购进货"}, {"btn_Menu1_Btn2", "采购退货"},
        {"btn_Menu1_Btn9", "采购退货"}, {"btn_Menu1_Btn3", "入库统计"}, {"btn_Menu1_Btn4", "生产退库"},
        {"btn_Menu1_Btn5", "生产入库"}, {"btn_Menu1_Btn6", "退货统计"}, {"btn_Menu1_Btn7", "采购订单"},
        {"img_Menu1_Cangku", "库存商品变动查询"}, {"img_Menu8_Cangku", "库存商品变动查询"},
        {"btn_Menu2_Btn1", "商品销售"}, {"btn_Menu2_Btn2", "部门退回"}, {"btn_Menu2_Btn3", "销售订单"},
        {"btn_Menu2_Btn4", "销售退货"}, {"btn_Menu2_Btn5", "部门领用"}, {"btn_Menu2_Btn6", "出库统计"},
        {"btn_Menu2_Btn7", "退库统计"}, {"btn_Menu2_BtnA", "POS销售"}, {"btn_Menu2_BtnB", "POS查询"},
        {"btn_Menu3_Btn1", "库存调拨"}, {"btn_Menu3_Btn3", "报损报溢"}, {"btn_Menu3_Btn4", "库存盘点"},
        {"btn_Menu3_Btn6", "库存报警查询"},
        {"btn_Menu4_Btn1", "进销存明细"}, {"btn_Menu4_Btn2", "进销存汇总"}, {"btn_Menu4_Btn3", "收货对账单"},
        {"btn_Menu4_Btn4", "发货对账单"}, {"btn_Menu4_Btn5", "发货成本"}, {"btn_Menu4_Btn6", "销售毛利"},
        {"btn_Menu4_Btn7", "业务员销售统计"},
        {"btn_Menu8_Btn1", "应收登记"}, {"btn_Menu8_Btn2", "收款登记"}, {"btn_Menu8_Btn3", "应收帐表"},
        {"btn_Menu8_Btn4", "应付登记"}, {"btn_Menu8_Btn5", "付款登记"}, {"btn_Menu8_Btn6", "应付帐表"},
        {"btn_Menu8_Btn7", "现金银行"}, {"btn_Menu8_Btn8", "费用及收入"},
        {"btn_Menu6_Btn1", "商品信息管理"}, {"btn_Menu6_Btn2", "供货商管理"}, {"btn_Menu6_Btn3", "客户管理"},
        {"btn_Menu6_Btn8", "仓库设置"}, {"btn_Menu6_Btn9", "员工管理"}, {"btn_Menu6_Btn6", "操作员设置"},
        {"btn_Menu6_Btn7", "角色管理"}, {"btn_Menu6_Btn5", "系统设置"}, {"btn_Menu6_Btn4", "部门管理"},
        {"btn_Menu6_BtnC", "会员管理"}, {"btn_Menu6_BtnC1", "帐套管理"}, {"btn_Menu6_BtnB", "备份/恢复数据库"},
        {"btn_Menu6_BtnA", "期初建账"}, {"btn_Menu6_BtnD", "系统维护"},
    };
    for (const auto &[name, text] : texts) {
        QAbstractButton *b = mainForm().control(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), QString::fromUtf8(text)) << name;
    }
    QStringList items;
    for (QAction *a : mainForm().popupMenuPos()->actions())
        items << a->text();
    EXPECT_EQ(items, (QStringList{QStringLiteral("POS销售流水账(&T)"), QStringLiteral("POS商品销售统计(&U)"),
                                  QStringLiteral("POS销售排行(&V)"), QStringLiteral("会员消费统计(&W)"),
                                  QStringLiteral("收银员收银统计(&X)"), QStringLiteral("收银员出入款管理(&Y)"),
                                  QStringLiteral("POS销售提成(&Z)")}));
    EXPECT_EQ(mainForm().panel(QStringLiteral("RzPanel_Menu6"))->size(), QSize(600, 500));
    EXPECT_EQ(mainForm().panel(QStringLiteral("RzPanel_Menu1"))->size(), QSize(500, 400));
    EXPECT_EQ(mainForm().control(QStringLiteral("btn_Menu1_Btn5"))->geometry(), QRect(33, 307, 70, 85));
}

TEST_F(MainFormTest, PanelButtonsFollowTheOrderAndPosFlags)
{
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
    TF_MainForm &form = mainForm();
    form.menu1_btnClick();
    EXPECT_TRUE(visible("btn_Menu1_Btn1"));
    EXPECT_TRUE(visible("btn_Menu1_Btn2"));
    EXPECT_FALSE(visible("btn_Menu1_Btn7"));
    EXPECT_FALSE(visible("btn_Menu1_Btn8"));
    EXPECT_FALSE(visible("btn_Menu1_Btn9"));
    form.menu2_btnClick();
    EXPECT_FALSE(form.panel(QStringLiteral("RzPanel_Menu2"))->isHidden());
    EXPECT_TRUE(form.panel(QStringLiteral("RzPanel_Menu1"))->isHidden());
    EXPECT_TRUE(visible("btn_Menu2_Btn1"));
    EXPECT_TRUE(visible("btn_Menu2_Btn4"));
    EXPECT_FALSE(visible("btn_Menu2_Btn3"));
    EXPECT_FALSE(visible("btn_Menu2_Btn8"));
    EXPECT_FALSE(visible("btn_Menu2_Btn9"));
    EXPECT_FALSE(visible("btn_Menu2_BtnA"));
    EXPECT_FALSE(visible("btn_Menu2_BtnB"));
    form.menu6_btnClick();
    EXPECT_TRUE(visible("btn_Menu6_BtnC1"));
    EXPECT_FALSE(visible("btn_Menu6_BtnC"));

    RunSql(db(), QStringLiteral("update jxc_xtcs set cs_cs007 = 1, cs_cs008 = 1, cs_posblur = 1"));
    LoadSysParams(db(), state, clock);
    QTest::mouseClick(form.control(QStringLiteral("menu1_btn")), Qt::LeftButton);
    EXPECT_FALSE(form.panel(QStringLiteral("RzPanel_Menu1"))->isHidden());
    EXPECT_TRUE(visible("btn_Menu1_Btn7"));
    EXPECT_TRUE(visible("btn_Menu1_Btn8"));
    EXPECT_TRUE(visible("btn_Menu1_Btn9"));
    EXPECT_FALSE(visible("btn_Menu1_Btn1"));
    EXPECT_FALSE(visible("btn_Menu1_Btn2"));
    form.menu2_btnClick();
    EXPECT_TRUE(visible("btn_Menu2_Btn3"));
    EXPECT_FALSE(visible("btn_Menu2_Btn1"));
    EXPECT_TRUE(visible("btn_Menu2_BtnA"));
    EXPECT_TRUE(visible("btn_Menu2_BtnB"));
    form.menu6_btnClick();
    EXPECT_TRUE(visible("btn_Menu6_BtnC"));
    EXPECT_FALSE(visible("btn_Menu6_BtnC1"));
}

TEST_F(MainFormTest, EveryCommandOpensForAnyOneOfItsRightsAndIsRefusedWithoutThem)
{
    installDoubles(CommandScreens());
    addOperatorWang();
    loginAs(QStringLiteral("wang"), QStringLiteral("100002"), QStringLiteral("100002"));
    for (const ShellCommand &command : ShellCommands()) {
        if (command.gate != CommandGate::Rights || command.action != CommandAction::OpenScreen)
            continue;
        for (const CommandControl &control : command.controls) {
            SCOPED_TRACE(control.name.toStdString());
            for (int position : command.positions) {
                QString only(60, QLatin1Char('0'));
                only[position - 1] = QLatin1Char('1');
                setRole({{command.module, only}});
                click(control.name);
                EXPECT_EQ(opened, QStringList{command.screen}) << "position " << position;
                EXPECT_TRUE(notices.shown.isEmpty());
            }
            QHash<QString, QString> allBut;
            for (const QString &m : kModules)
                allBut[m] = kAll;
            QString lacking = kAll;
            for (int position : command.positions)
                lacking[position - 1] = QLatin1Char('0');
            allBut[command.module] = lacking;
            setRole(allBut);
            click(control.name);
            EXPECT_TRUE(opened.isEmpty());
            EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("您没有权限进行") + command.refusal
                                                   + QStringLiteral("\r\n\r\n或者没有可用的仓库。")});
            if (QAbstractButton *b = mainForm().control(control.name))
                EXPECT_TRUE(b->isEnabled());
        }
    }
    // The message in full for one command, and the POS query button's menu item.
    setRole({});
    click(QStringLiteral("btn_Menu1_Btn1"));
    EXPECT_EQ(notices.last(), QStringLiteral("您没有权限进行采购进货！\r\n\r\n或者没有可用的仓库。"));
    click(QStringLiteral("PopupMenu_Pos_TF_Posxs_Sytj"));
    EXPECT_EQ(notices.last(), QStringLiteral("您没有权限进行收银员收银统计！\r\n\r\n或者没有可用的仓库。"));
    setRole({{QStringLiteral("cggl"), QStringLiteral("001")}});
    click(QStringLiteral("btn_Menu1_Btn1"));
    EXPECT_EQ(opened, QStringList{QStringLiteral("TF_Cgjh")});
}

TEST_F(MainFormTest, PosQueryButtonPopsUpItsMenuOnlyWithTheRight)
{
    addOperatorWang();
    loginAs(QStringLiteral("wang"), QStringLiteral("100002"), QStringLiteral("100002"));
    setRole({});
    click(QStringLiteral("btn_Menu2_BtnB"));
    EXPECT_EQ(notices.last(), QStringLiteral("您没有权限进行POS查询！\r\n\r\n或者没有可用的仓库。"));
    EXPECT_FALSE(mainForm().popupMenuPos()->isVisible());
    QString pos(60, QLatin1Char('0'));
    pos[21] = QLatin1Char('1');
    setRole({{QStringLiteral("xsgl"), pos}});
    click(QStringLiteral("btn_Menu2_BtnB"));
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_TRUE(mainForm().popupMenuPos()->isVisible());
    mainForm().popupMenuPos()->hide();
}

TEST_F(MainFormTest, OperatorWithoutWarehouseUnderBindingIsRefusedEverythingButTheOpenCommands)
{
    installDoubles(CommandScreens());
    addOperatorWang();
    QHash<QString, QString> all;
    for (const QString &m : kModules)
        all[m] = kAll;
    setRole(all);
    RunSql(db(), QStringLiteral("update jxc_xtcs set cs_cgyh = 1"));
    loginAs(QStringLiteral("wang"), QStringLiteral("100002"), QStringLiteral("100002"));
    ASSERT_EQ(state.BindOperatorWarehouse, QStringLiteral("1"));
    for (const ShellCommand &command : ShellCommands()) {
        if (command.gate != CommandGate::Rights)
            continue;
        SCOPED_TRACE(command.id().toStdString());
        click(command.id());
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_EQ(notices.last(), QStringLiteral("您没有权限进行") + command.refusal
                                      + QStringLiteral("\r\n\r\n或者没有可用的仓库。"));
    }
    click(QStringLiteral("btn_Menu6_Btn7"));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("只有系统管理员才能使用此功能！")});
    for (const char *name : {"btn_Menu6_BtnD", "btn_ModiPwd", "btn_Lxwm"}) {
        click(QString::fromLatin1(name));
        EXPECT_EQ(opened.size(), 1) << name;
        EXPECT_TRUE(notices.shown.isEmpty()) << name;
    }

    // The administrator, bound and without a warehouse, opens everything.
    RunSql(db(), QStringLiteral("update jxc_ckxx set ck_asn = ''"));
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
    for (const ShellCommand &command : ShellCommands()) {
        if (command.action != CommandAction::OpenScreen)
            continue;
        SCOPED_TRACE(command.id().toStdString());
        click(command.id());
        EXPECT_EQ(opened.value(0), command.screen);
        EXPECT_TRUE(notices.shown.isEmpty());
    }
}

TEST_F(MainFormTest, KeptScreensAreMadeOnceFreedScreensForEachClick)
{
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
    int made = 0;
    QList<QPointer<QDialog>> madeCkgl;
    registry.registerScreen(QStringLiteral("TF_Cgjh"), [&](const ScreenContext &, QWidget *parent) {
        ++made;
        return new DoubleScreen(QStringLiteral("TF_Cgjh"), &opened, {}, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Ckgl"), [&](const ScreenContext &, QWidget *parent) {
        auto *d = new DoubleScreen(QStringLiteral("TF_Ckgl"), &opened, {}, parent);
        madeCkgl << d;
        return d;
    });
    click(QStringLiteral("btn_Menu1_Btn1"));
    QDialog *first = mainForm().keptScreen(QStringLiteral("TF_Cgjh"));
    click(QStringLiteral("btn_Menu1_Btn8"));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(mainForm().keptScreen(QStringLiteral("TF_Cgjh")), first);
    EXPECT_NE(first, nullptr);

    click(QStringLiteral("btn_Menu6_Btn8"));
    click(QStringLiteral("btn_Menu6_Btn8"));
    ASSERT_EQ(madeCkgl.size(), 2);
    EXPECT_TRUE(madeCkgl[0].isNull());  // destroyed after closing
    EXPECT_TRUE(madeCkgl[1].isNull());
    EXPECT_EQ(mainForm().keptScreen(QStringLiteral("TF_Ckgl")), nullptr);

    // The top bar's goods command shows the same kept goods screen as the settings panel's.
    installDouble(QStringLiteral("TF_Spxxgl"));
    click(QStringLiteral("btn_Menu6_Btn1"));
    QDialog *goods = mainForm().keptScreen(QStringLiteral("TF_Spxxgl"));
    click(QStringLiteral("btn_Bqjl"));
    EXPECT_EQ(mainForm().keptScreen(QStringLiteral("TF_Spxxgl")), goods);
}

TEST_F(MainFormTest, FollowOnScreensOpenForTheValuesTheDocumentScreenLeft)
{
    installDoubles({QStringLiteral("TF_Cgth"), QStringLiteral("TF_Bmly"), QStringLiteral("TF_Xsth")});
    QStringList seenAtOpen;
    bool setValues = true;
    installDouble(QStringLiteral("TF_Cgjh"), [&] {
        seenAtOpen << followOn.ReturnSourceNo + followOn.IssueSourceNo + followOn.SaleSourceNo;
        if (setValues) {
            followOn.ReturnSourceNo = QStringLiteral("CJ24030510001");
            followOn.IssueSourceNo = QStringLiteral("CJ24030510001");
            followOn.SaleSourceNo = QStringLiteral("CJ24030510001");
        }
    });
    installDouble(QStringLiteral("TF_Scrk"), [&] {
        followOn.ReturnSourceNo = QStringLiteral("SR24030510001");
        followOn.IssueSourceNo = QStringLiteral("SR24030510001");
        followOn.SaleSourceNo = QStringLiteral("SR24030510001");
    });
    // The receivers take their values, as the real screens do on activation.
    installDouble(QStringLiteral("TF_Spxs"), [&] {
        followOn.takeSaleSource();
        if (setValues)
            followOn.ReturnSourceNo = QStringLiteral("XS24030510001");
    });

    addOperatorWang();
    loginAs(QStringLiteral("wang"), QStringLiteral("100002"), QStringLiteral("100002"));
    QString xsAndCg(60, QLatin1Char('0'));
    xsAndCg[0] = QLatin1Char('1');
    setRole({{QStringLiteral("cggl"), xsAndCg}});  // purchase receipts only: the follow-ons need no right

    followOn.ReturnSourceNo = followOn.IssueSourceNo = followOn.SaleSourceNo = QStringLiteral("junk");
    setValues = true;
    click(QStringLiteral("btn_Menu1_Btn1"));
    EXPECT_EQ(seenAtOpen, QStringList{QString()});
    EXPECT_EQ(opened, (QStringList{QStringLiteral("TF_Cgjh"), QStringLiteral("TF_Cgth"), QStringLiteral("TF_Bmly"),
                                   QStringLiteral("TF_Spxs")}));
    EXPECT_TRUE(notices.shown.isEmpty());

    setValues = false;
    followOn.clear();
    click(QStringLiteral("btn_Menu1_Btn1"));
    EXPECT_EQ(opened, QStringList{QStringLiteral("TF_Cgjh")});

    loginAs(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
    click(QStringLiteral("btn_Menu1_Btn5"));
    EXPECT_EQ(opened, (QStringList{QStringLiteral("TF_Scrk"), QStringLiteral("TF_Bmly"), QStringLiteral("TF_Spxs")}));

    setValues = true;
    followOn.clear();
    click(QStringLiteral("btn_Menu2_Btn1"));
    EXPECT_EQ(opened, (QStringList{QStringLiteral("TF_Spxs"), QStringLiteral("TF_Xsth")}));
    EXPECT_TRUE(followOn.ReturnSourceNo.isEmpty());
}

TEST_F(MainFormTest, UnbuiltScreenOpensThePlaceholderWhichEscCloses)
{
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
    QString seenName, seenTitle, seenText;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        seenName = modal->objectName();
        seenTitle = modal->windowTitle();
        if (auto *p = qobject_cast<TF_Placeholder *>(modal))
            seenText = p->lMsg()->text();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    click(QStringLiteral("btn_Menu1_Btn1"));
    EXPECT_EQ(seenName, QStringLiteral("TF_Cgjh"));
    EXPECT_EQ(seenTitle, QStringLiteral("采购进货"));
    EXPECT_EQ(seenText, QStringLiteral("此功能尚未完成，将在后续版本中提供。"));
    QDialog *kept = mainForm().keptScreen(QStringLiteral("TF_Cgjh"));
    ASSERT_NE(kept, nullptr);
    EXPECT_FALSE(kept->isVisible());
}

TEST_F(MainFormTest, HelpPagesGoToTheDesktopOpener)
{
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
    TF_MainForm &form = mainForm();
    QTest::keyClick(&form, Qt::Key_F1);
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("找不到帮助文件：readme.htm")});
    EXPECT_TRUE(urls.opened.isEmpty());
    for (const char *page : {"readme.htm", "readme2.htm"}) {
        QFile f(home.filePath(QString::fromLatin1(page)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QTest::keyClick(form.control(QStringLiteral("btn_Menu1_Btn3")), Qt::Key_F1);
    click(QStringLiteral("btn_Help"));
    click(QStringLiteral("btn_Spjc"));
    ASSERT_EQ(urls.opened.size(), 3);
    EXPECT_EQ(urls.opened[0], home.path() + QStringLiteral("/readme.htm"));
    EXPECT_EQ(urls.opened[1], home.path() + QStringLiteral("/readme2.htm"));
    EXPECT_TRUE(urls.opened[2].startsWith(QLatin1String("https://")));
}

TEST_F(MainFormTest, StartUpTimerOpensTipAndRemindersOnceWhenAskedFor)
{
    struct Case
    {
        int tip, reminders;
        QStringList expected;
    };
    const QList<Case> cases = {
        {1, 1, {QStringLiteral("TF_Mryt"), QStringLiteral("TF_Sjtx")}},
        {0, 1, {QStringLiteral("TF_Sjtx")}},
        {0, 0, {}},
    };
    installDoubles({QStringLiteral("TF_Mryt"), QStringLiteral("TF_Sjtx")});
    for (const Case &c : cases) {
        RunSql(db(), QStringLiteral("update jxc_xtcs set cs_mryt = ?, cs_tx = ?"), {c.tip, c.reminders});
        loginAs(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
        opened.clear();
        mainForm().timer1()->start(200);
        QTest::qWait(400);
        EXPECT_EQ(opened, c.expected);
        EXPECT_FALSE(mainForm().timer1()->isActive());
    }
    // Placeholders are never shown at start.
    registry.unregisterScreen(QStringLiteral("TF_Mryt"));
    registry.unregisterScreen(QStringLiteral("TF_Sjtx"));
    RunSql(db(), QStringLiteral("update jxc_xtcs set cs_mryt = 1, cs_tx = 1"));
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
    mainForm().Timer1Timer();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainFormTest, ChangeOfOperatorRefreshesThePanesAndTheRights)
{
    addOperatorWang();
    setRole({});
    installDoubles(CommandScreens());
    ASSERT_TRUE(startAndLogin());
    TF_MainForm &form = mainForm();
    clock.set(QDateTime(QDate(2024, 3, 5), QTime(16, 0, 0)));
    QTimer::singleShot(0, [] {
        auto *login = qobject_cast<TF_Login *>(QApplication::activeModalWidget());
        if (!login)
            return;
        login->comAdmin()->setCurrentIndex(login->comAdmin()->findText(QStringLiteral("wang")));
        QTest::keyClick(login->tpwd2(), Qt::Key_Return);
    });
    click(QStringLiteral("btn_Login"));
    EXPECT_EQ(state.CurrentOperatorName, QStringLiteral("wang"));
    EXPECT_EQ(state.CurrentRoleSn, QStringLiteral("100002"));
    EXPECT_EQ(form.paneAdmin()->text(), QStringLiteral("操作员：wang"));
    EXPECT_EQ(form.paneLoginTime()->text(), QStringLiteral("登录时间:2024-03-05 14:07:09"));
    EXPECT_EQ(terminated, 0);
    click(QStringLiteral("btn_Menu1_Btn1"));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(notices.last(), QStringLiteral("您没有权限进行采购进货！\r\n\r\n或者没有可用的仓库。"));

    // Cancelling a later change of operator keeps wang.
    QTimer::singleShot(0, [] {
        if (QWidget *login = QApplication::activeModalWidget())
            QTest::keyClick(login, Qt::Key_Escape);
    });
    click(QStringLiteral("btn_Login"));
    EXPECT_EQ(form.paneAdmin()->text(), QStringLiteral("操作员：wang"));
    EXPECT_EQ(terminated, 0);
    EXPECT_TRUE(form.isVisible());
}

} // namespace
