// The reminders "今日事件提醒": the stock alarm per warehouse and search text, the customers
// still owing money (the latest ledger row of each), the warehouse binding, the customer picker,
// print and export.

#include "setfixture.h"

#include "screenkit/chooserpanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"
#include "shell/forms/sjtx.h"
#include "shell/reminderqueries.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

class RemindersTest : public SetTest
{
protected:
    void SetUp() override
    {
        SetTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        warehouse(QStringLiteral("100002"), QStringLiteral("V仓"), QStringLiteral("100002,"));
        warehouse(QStringLiteral("100003"), QStringLiteral("W仓"), QStringLiteral("1000021,"));
        goods(QStringLiteral("G0001"), QStringLiteral("商品G"), QStringLiteral("G"), 3, 5);
        stock(QStringLiteral("G0001"), QStringLiteral("100003"), 6);
        stock(QStringLiteral("G0001"), QStringLiteral("100002"), 2);
        goods(QStringLiteral("D0001"), QStringLiteral("停用品"), QStringLiteral("TYP"), 0, 5, 1);
        stock(QStringLiteral("D0001"), QStringLiteral("100002"), 0);
        RunSql(db(), QStringLiteral("update jxc_goods set g_kc = 0, g_zdkc = 5 where g_sn = '00000000'"));
        stock(QStringLiteral("00000000"), QStringLiteral("100002"), 0);
    }
    void warehouse(const QString &sn, const QString &name, const QString &operators)
    {
        InsertRow(db(), QStringLiteral("jxc_ckxx"), {{QStringLiteral("ck_sn"), sn}, {QStringLiteral("ck_name"), name},
                                                     {QStringLiteral("ck_asn"), operators}});
    }
    void goods(const QString &sn, const QString &name, const QString &jm, double kc, int minimum, int disabled = 0)
    {
        InsertRow(db(), QStringLiteral("jxc_goods"),
                  {{QStringLiteral("g_sn"), sn}, {QStringLiteral("g_name"), name}, {QStringLiteral("g_jm"), jm},
                   {QStringLiteral("g_kc"), kc}, {QStringLiteral("g_zdkc"), minimum}, {QStringLiteral("g_jy"), disabled},
                   {QStringLiteral("dw_name"), QStringLiteral("个")}});
    }
    void stock(const QString &goods, const QString &warehouse, double qty)
    {
        InsertRow(db(), QStringLiteral("jxc_kcsp"),
                  {{QStringLiteral("g_sn"), goods}, {QStringLiteral("ck_sn"), warehouse}, {QStringLiteral("kc_sl"), qty}});
    }
    void customer(const QString &sn, const QString &name, const QString &warehouse = QStringLiteral("-1"), int forbid = 0)
    {
        InsertRow(db(), QStringLiteral("jxc_khxx"),
                  {{QStringLiteral("kh_sn"), sn}, {QStringLiteral("kh_name"), name}, {QStringLiteral("kh_jm"), sn},
                   {QStringLiteral("kt_sn"), QStringLiteral("1000")}, {QStringLiteral("kh_forbid"), forbid},
                   {QStringLiteral("ck_sn"), warehouse}});
    }
    void ledger(const QString &type, const QString &partner, const QString &date, double balance)
    {
        InsertRow(db(), QStringLiteral("jxc_ysyfk"),
                  {{QStringLiteral("k_type"), type}, {QStringLiteral("k_ghskh"), partner}, {QStringLiteral("k_rq"), date},
                   {QStringLiteral("k_ljje"), balance}, {QStringLiteral("gl_djh"), QStringLiteral("XS%1").arg(date.left(10))},
                   {QStringLiteral("k_fkfs"), QStringLiteral("现金")}, {QStringLiteral("u_sn"), QStringLiteral("100001")}});
    }
    void seedReceivables()
    {
        customer(QStringLiteral("200001"), QStringLiteral("客户一"));
        ledger(QStringLiteral("kh"), QStringLiteral("200001"), QStringLiteral("2024-03-01 10:00"), 100);
        ledger(QStringLiteral("kh"), QStringLiteral("200001"), QStringLiteral("2024-03-05 09:00"), 80);
        ledger(QStringLiteral("kh"), QStringLiteral("200001"), QStringLiteral("2024-03-05 09:00"), 60);
        customer(QStringLiteral("200002"), QStringLiteral("客户二"));
        ledger(QStringLiteral("kh"), QStringLiteral("200002"), QStringLiteral("2024-03-01 10:00"), 50);
        ledger(QStringLiteral("kh"), QStringLiteral("200002"), QStringLiteral("2024-03-04 10:00"), 0);
        customer(QStringLiteral("200003"), QStringLiteral("停用客户"), QStringLiteral("-1"), 1);
        ledger(QStringLiteral("kh"), QStringLiteral("200003"), QStringLiteral("2024-03-01 10:00"), 30);
        // A supplier of the same code, later: never a receivable, never hides one.
        ledger(QStringLiteral("ghs"), QStringLiteral("200001"), QStringLiteral("2024-03-07 10:00"), 99);
        ledger(QStringLiteral("ghs"), QStringLiteral("200002"), QStringLiteral("2024-03-07 10:00"), 99);
    }
    // "code:stock" of each line, in the statement's order.
    QStringList lines(const ListStatement &s) const
    {
        QStringList out;
        QSqlQuery q = OpenSelect(db(), s.body + QStringLiteral(" order by ") + s.order, s.binds);
        while (q.next())
            out << ValueText(q.value(0)) + QLatin1Char(':') + ValueText(q.value(5));
        return out;
    }
    QStringList owing(const QString &customer = QString()) const
    {
        QStringList out;
        const ListStatement s = ReceivablesStatement(db(), state, customer);
        QSqlQuery q = OpenSelect(db(), s.body + QStringLiteral(" order by ") + s.order, s.binds);
        while (q.next())
            out << ValueText(q.value(9)) + QLatin1Char(':') + ValueText(q.value(4));
        return out;
    }
    static QString sheetXml(const QString &file)
    {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, QStringLiteral("xl/worksheets/sheet1.xml")});
        unzip.waitForFinished(10000);
        return QString::fromUtf8(unzip.readAllStandardOutput());
    }
};

TEST_F(RemindersTest, StockAlarmPerWarehouseAndSearchText)
{
    EXPECT_EQ(lines(StockAlarmStatement(db(), QStringLiteral("-1"), QString())), QStringList{QStringLiteral("G0001:3")});
    EXPECT_EQ(lines(StockAlarmStatement(db(), QStringLiteral("100003"), QString())), QStringList());
    EXPECT_EQ(lines(StockAlarmStatement(db(), QStringLiteral("100002"), QString())), QStringList{QStringLiteral("G0001:2")});

    goods(QStringLiteral("A0001"), QStringLiteral("甲"), QStringLiteral("KL"), 1, 2);
    goods(QStringLiteral("A0002"), QStringLiteral("大Kl号"), QStringLiteral("DH"), 0, 2);
    goods(QStringLiteral("A0003"), QStringLiteral("k_l"), QStringLiteral("K%L"), 0, 2);
    EXPECT_EQ(lines(StockAlarmStatement(db(), QStringLiteral("-1"), QStringLiteral(" kl "))),
              (QStringList{QStringLiteral("A0002:0"), QStringLiteral("A0001:1")}));
    EXPECT_EQ(lines(StockAlarmStatement(db(), QStringLiteral("-1"), QStringLiteral("K_L"))),
              QStringList{QStringLiteral("A0003:0")});
}

TEST_F(RemindersTest, ReceivablesTakeEachCustomersLatestRow)
{
    seedReceivables();
    EXPECT_EQ(owing(), QStringList{QStringLiteral("200001:60")});
    EXPECT_EQ(owing(QStringLiteral("200002")), QStringList());

    // Under the binding, an operator of role "100002" sees only his warehouses and customers.
    customer(QStringLiteral("200004"), QStringLiteral("W仓客户"), QStringLiteral("100003"));
    ledger(QStringLiteral("kh"), QStringLiteral("200004"), QStringLiteral("2024-03-02 10:00"), 10);
    customer(QStringLiteral("200005"), QStringLiteral("V仓客户"), QStringLiteral("100002"));
    ledger(QStringLiteral("kh"), QStringLiteral("200005"), QStringLiteral("2024-03-02 10:00"), 20);
    EXPECT_EQ(owing().size(), 3);
    setParam(QStringLiteral("cs_cgyh"), 1);
    setParam(QStringLiteral("cs_shtc"), 1);
    addRole(QString(60, QLatin1Char('1')));
    login(QStringLiteral("wang"), QStringLiteral("100002"), QStringLiteral("100002"));
    EXPECT_EQ(owing(), (QStringList{QStringLiteral("200001:60"), QStringLiteral("200005:20")}));
    EXPECT_EQ(ReminderWarehouses(db(), state), (KeyedItems{{QStringLiteral("V仓"), QStringLiteral("100002")}}));
    login(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
    EXPECT_EQ(ReminderWarehouses(db(), state).first(), (KeyedItem{QStringLiteral("所有仓库"), QStringLiteral("-1")}));
    EXPECT_EQ(ReminderWarehouses(db(), state).size(), 4);
}

TEST_F(RemindersTest, ScreenCountsBothListsAndHidesReceivablesWithoutTheRight)
{
    seedReceivables();
    {
        TF_Sjtx screen(db(), state, notices, files, output);
        screen.show();
        EXPECT_EQ(screen.cbWarehouse->currentText(), QStringLiteral("所有仓库"));
        EXPECT_EQ(screen.gridStock->rowCount(), 1);
        EXPECT_EQ(screen.gridStock->footerText(QStringLiteral("g_sn")), QStringLiteral("商品合计：1"));
        EXPECT_EQ(screen.panes->paneText(0), QStringLiteral("库存提醒：1 条"));
        EXPECT_EQ(screen.panes->paneText(1), QString());
        EXPECT_EQ(screen.pages->currentIndex(), 0);
        EXPECT_TRUE(screen.pages->isTabVisible(1));
        screen.cbWarehouse->selectKey(QStringLiteral("100003"));
        EXPECT_EQ(screen.panes->paneText(0), QStringLiteral("库存提醒：0 条"));
        screen.cbWarehouse->selectKey(QStringLiteral("100002"));
        EXPECT_EQ(screen.gridStock->value(0, QStringLiteral("kc")).toDouble(), 2.0);

        // Bringing the receivables to the front fills them.
        screen.pages->setCurrentIndex(1);
        EXPECT_EQ(screen.gridReceivables->rowCount(), 1);
        EXPECT_EQ(screen.gridReceivables->value(0, QStringLiteral("kh_name")).toString(), QStringLiteral("客户一"));
        EXPECT_EQ(screen.gridReceivables->value(0, QStringLiteral("k_ljje")).toDouble(), 60.0);
        EXPECT_EQ(screen.gridReceivables->footerText(QStringLiteral("kh_name")), QStringLiteral("记录数：1"));
        EXPECT_EQ(screen.panes->paneText(1), QStringLiteral("欠款提醒：1 条"));
    }
    // A role without wlzk right 3.
    addRole(QString(60, QLatin1Char('1')), QStringLiteral("11011111"));
    login(QStringLiteral("wang"), QStringLiteral("100002"), QStringLiteral("100002"));
    TF_Sjtx screen(db(), state, notices, files, output);
    screen.show();
    EXPECT_FALSE(screen.pages->isTabVisible(1));
    EXPECT_TRUE(notices.shown.isEmpty());
}

TEST_F(RemindersTest, PickerChoosesOneCustomerAndEscClosesOnlyThePanel)
{
    seedReceivables();
    customer(QStringLiteral("200009"), QStringLiteral("另一客户"));
    ledger(QStringLiteral("kh"), QStringLiteral("100001"), QStringLiteral("2024-03-02 10:00"), 15);
    TF_Sjtx screen(db(), state, notices, files, output);
    screen.show();
    screen.pages->setCurrentIndex(1);
    EXPECT_EQ(screen.gridReceivables->rowCount(), 2);
    screen.chkAllCustomers->setChecked(true);

    screen.edCustomer->setFocus();
    type(screen.edCustomer, QStringLiteral("普通"));
    EXPECT_TRUE(screen.pickerOpen());
    EXPECT_FALSE(screen.chkAllCustomers->isChecked());
    EXPECT_EQ(screen.picker->grid()->rowCount(), 1);
    PressKey(&screen, Qt::Key_F5);
    EXPECT_FALSE(screen.pickerOpen());
    EXPECT_EQ(screen.edCustomer->text(), QStringLiteral("普通客户"));
    EXPECT_EQ(screen.currentCustomerSn(), QStringLiteral("100001"));
    ASSERT_EQ(screen.gridReceivables->rowCount(), 1);
    EXPECT_EQ(screen.gridReceivables->value(0, QStringLiteral("kh_name")).toString(), QStringLiteral("普通客户"));

    screen.chkAllCustomers->setChecked(true);
    EXPECT_EQ(screen.edCustomer->text(), QString());
    EXPECT_EQ(screen.gridReceivables->rowCount(), 2);

    // The picker button opens the panel; Esc closes the panel, the next Esc the screen.
    QTest::mouseClick(screen.btnCustomer, Qt::LeftButton);
    EXPECT_TRUE(screen.pickerOpen());
    screen.picker->grid()->view()->setFocus();
    PressKey(&screen, Qt::Key_Escape);
    EXPECT_FALSE(screen.pickerOpen());
    EXPECT_TRUE(screen.isVisible());
    screen.edCustomer->setFocus();
    type(screen.edCustomer, QStringLiteral("另"));
    EXPECT_TRUE(screen.pickerOpen());
    PressKey(&screen, Qt::Key_Escape);
    EXPECT_FALSE(screen.pickerOpen());
    EXPECT_TRUE(screen.isVisible());
    PressKey(&screen, Qt::Key_Escape);
    EXPECT_FALSE(screen.isVisible());
}

TEST_F(RemindersTest, PrintsTheStockAlarmAndExportsTheActiveGrid)
{
    QTemporaryDir folder;
    TF_Sjtx screen(db(), state, notices, files, output);
    screen.show();
    QTest::mouseClick(screen.btnPrint, Qt::LeftButton);
    ASSERT_EQ(output.jobs.size(), 1);
    const PrintJob &job = output.last().job;
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::Preview);
    EXPECT_EQ(job.templateName, QStringLiteral("sjtxkc"));
    EXPECT_TRUE(job.templateFound);
    EXPECT_EQ(job.variables.value(QStringLiteral("ckName")), QStringLiteral("所有仓库"));
    EXPECT_EQ(job.variables.value(QStringLiteral("comName")), state.CompanyName);
    const DataSet *rows = job.dataSets.find(QStringLiteral("sjtxkc"));
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->rowCount(), 1);
    EXPECT_EQ(rows->value(0, QStringLiteral("g_sn")), QStringLiteral("G0001"));
    EXPECT_EQ(rows->value(0, QStringLiteral("kc")), QStringLiteral("3"));

    files.script({folder.filePath(QStringLiteral("提醒"))});
    QTest::mouseClick(screen.btnExport, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(folder.filePath(QStringLiteral("提醒.xlsx"))));
    EXPECT_TRUE(sheetXml(folder.filePath(QStringLiteral("提醒.xlsx"))).contains(QStringLiteral("<t>G0001</t>")));

    // The receivables tab prints nothing; its grid is empty: no file is asked for.
    screen.pages->setCurrentIndex(1);
    QTest::mouseClick(screen.btnPrint, Qt::LeftButton);
    QTest::mouseClick(screen.btnExport, Qt::LeftButton);
    EXPECT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(files.asked.size(), 1);
    EXPECT_TRUE(notices.shown.isEmpty());
}

} // namespace
