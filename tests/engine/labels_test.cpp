// The label screen TF_Tmdy and its rules: the queue (add by code, picker, modify, delete) and
// the print run built from the queue, driven through the real widgets.

#include "../support/recordingoutput.h"
#include "../support/scriptednotices.h"
#include "../support/testdb.h"

#include "engine/forms/tmdy.h"
#include "engine/labelqueue.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "report/report.h"
#include "screenkit/datagrid.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QString ShippedTemplateFolder()
{
    return QDir(QFileInfo(QStringLiteral(JXC_BINARY)).absolutePath()).filePath(QStringLiteral("report"));
}

QString PdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Types text into a box as key presses (Chinese characters too, which QTest::keyClicks cannot).
void Type(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(widget, char(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

class LabelTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        state.PriceDecimals = 2;
        state.QtyDecimals = 2;
        state.TotalDecimals = QStringLiteral("2");
        addGoods("1001", "矿泉水", "6901234567892", 2.5);
        addGoods("1002", "方便面", "6901234567809", 4.5);
        addGoods("1003", "散装糖果", "", 12);
        addGoods("1004", "散装瓜子", "", 8);
        addGoods("1005", "停用饮料", "6900000000005", 3, 1);
    }

    void addGoods(const char *sn, const char *name, const char *barcode, double price, int disabled = 0)
    {
        RunSql(db(), QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, g_sptm, g_sj, g_jy) values (?,?,?,?,?,?)"),
               {QString::fromUtf8(sn), QString::fromUtf8(name), QStringLiteral("JM") + QString::fromUtf8(sn),
                QString::fromUtf8(barcode), price, disabled});
    }

    void queue(const char *sn, double count)
    {
        RunSql(db(), QStringLiteral("insert into jxc_tm (g_sn, tm_sl) values (?, ?)"), {QString::fromUtf8(sn), count});
    }

    QString count(const char *sn)
    {
        return QueryScalar(db(), QStringLiteral("select sum(tm_sl) from jxc_tm where g_sn = ?"), {QString::fromUtf8(sn)});
    }

    QStringList txm()
    {
        QStringList out;
        QSqlQuery q = OpenSelect(db(), QStringLiteral("select tm_code from jxc_txm order by id"));
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

    std::unique_ptr<TF_Tmdy> openScreen(const QString &folder = {})
    {
        auto screen = std::make_unique<TF_Tmdy>(db(), state, notices, output, folder);
        screen->show();
        QApplication::setActiveWindow(screen.get());
        return screen;
    }

    static void press(TF_Tmdy &screen, Qt::Key key)
    {
        QWidget *target = screen.focusWidget() ? screen.focusWidget() : &screen;
        QTest::keyClick(target, key);
    }

    static QStringList gridColumn(DataGrid *grid, const QString &field)
    {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out << grid->value(r, field).toString();
        return out;
    }

    LoginState state;
    ScriptedNotices notices;
    RecordingReportOutput output;
};

TEST_F(LabelTest, ActivationClearsTheSearchAndSetsQuantityOne)
{
    auto screen = openScreen();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("条码打印"));
    EXPECT_TRUE(screen->searchEdit()->text().isEmpty());
    EXPECT_EQ(screen->searchEdit()->placeholderText(), QStringLiteral("回车键开始查询"));
    EXPECT_EQ(screen->quantityEdit()->text(), QStringLiteral("1"));
    EXPECT_FALSE(screen->pickerShown());
    // The queue's footer counts the goods and sums the labels.
    queue("1001", 2);
    queue("1002", 3);
    screen->queueGrid()->reload();
    EXPECT_EQ(screen->queueGrid()->footerText(QStringLiteral("g_sn")), QStringLiteral("商品合计：2"));
    EXPECT_DOUBLE_EQ(screen->queueGrid()->footerValue(QStringLiteral("tm_sl")).toDouble(), 5.0);
    if (!qEnvironmentVariableIsEmpty("JXC_TMDY_SHOT"))
        screen->grab().save(qEnvironmentVariable("JXC_TMDY_SHOT"));
}

TEST_F(LabelTest, SearchBoxRefusesTheFilteredCharacters)
{
    auto screen = openScreen();
    screen->searchEdit()->setFocus();
    QTest::keyClicks(screen->searchEdit(), QStringLiteral("a'b%c@d\\e[f"));
    EXPECT_EQ(screen->searchEdit()->text(), QStringLiteral("abcdef"));
}

TEST_F(LabelTest, AddByCodeRefusesWhatCannotBeAdded)
{
    struct Case
    {
        const char *code;
        const char *quantity;
        const char *notice;
    };
    const Case cases[] = {
        {"", "1", "请输入商品编号！"},
        {"   ", "1", "请输入商品编号！"},
        {"9999", "1", "系统中没有所查询的商品，请核对后输入！"},
        {"1001", "", "请输入打印数量！"},  // the insert of an empty quantity used to fail
        {"XS'1", "1", "系统中没有所查询的商品，请核对后输入！"},
    };
    auto screen = openScreen();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        notices.shown.clear();
        screen->searchEdit()->setText(QString::fromUtf8(c.code));
        screen->quantityEdit()->setText(QString::fromUtf8(c.quantity));
        screen->searchEdit()->setFocus();
        press(*screen, Qt::Key_F4);
        EXPECT_EQ(notices.texts(), QStringList{QString::fromUtf8(c.notice)});
    }
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_tm")), QStringLiteral("0"));
}

TEST_F(LabelTest, AddingAQueuedGoodsAsksWhetherToAccumulate)
{
    auto screen = openScreen();
    screen->searchEdit()->setText(QStringLiteral("1001"));
    screen->quantityEdit()->setText(QStringLiteral("3"));
    screen->searchEdit()->setFocus();
    press(*screen, Qt::Key_F4);
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_EQ(count("1001"), QStringLiteral("3"));
    EXPECT_TRUE(screen->searchEdit()->text().isEmpty());  // cleared for the next goods
    EXPECT_EQ(screen->queueGrid()->rowCount(), 1);

    // No: unchanged.
    notices.script({Notices::Answer::No});
    screen->searchEdit()->setText(QStringLiteral("1001"));
    screen->quantityEdit()->setText(QStringLiteral("5"));
    screen->addByCode();
    EXPECT_EQ(notices.last(), QStringLiteral("商品编号已经存在，是否累加条码数量？"));
    EXPECT_EQ(count("1001"), QStringLiteral("3"));
    // Yes: added to the row, no second row.
    notices.script({Notices::Answer::Yes});
    screen->addByCode();
    EXPECT_EQ(count("1001"), QStringLiteral("8"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_tm")), QStringLiteral("1"));
}

TEST_F(LabelTest, F3ResetsTheQuantityAndF2ClearsTheSearch)
{
    auto screen = openScreen();
    screen->quantityEdit()->setText(QStringLiteral("25"));
    screen->searchEdit()->setText(QStringLiteral("1001"));
    screen->searchEdit()->setFocus();
    press(*screen, Qt::Key_F3);
    EXPECT_EQ(screen->quantityEdit()->text(), QStringLiteral("1"));
    EXPECT_TRUE(screen->quantityEdit()->hasFocus());
    press(*screen, Qt::Key_F2);
    EXPECT_TRUE(screen->searchEdit()->text().isEmpty());
    EXPECT_TRUE(screen->searchEdit()->hasFocus());
    // At most three digits of a whole number.
    screen->quantityEdit()->clear();
    screen->quantityEdit()->setFocus();
    QTest::keyClicks(screen->quantityEdit(), QStringLiteral("12.345"));
    EXPECT_EQ(screen->quantityEdit()->text(), QStringLiteral("123"));
}

TEST_F(LabelTest, PickerListsActiveGoodsWithBarcodeAndFiltersOnFourColumns)
{
    auto screen = openScreen();
    auto *searchButton = screen->findChild<QPushButton *>(QStringLiteral("btn_Search"));
    // The button beside the box opens the picker only while the box is empty.
    screen->searchEdit()->setText(QStringLiteral("1001"));
    QTest::mouseClick(searchButton, Qt::LeftButton);
    EXPECT_FALSE(screen->pickerShown());
    screen->searchEdit()->clear();
    screen->searchEdit()->setFocus();
    QTest::mouseClick(searchButton, Qt::LeftButton);
    ASSERT_TRUE(screen->pickerShown());
    // Not the reserved goods, not the disabled one, not those without barcode.
    EXPECT_EQ(gridColumn(screen->pickerGrid(), QStringLiteral("g_sn")),
              (QStringList{QStringLiteral("1001"), QStringLiteral("1002")}));
    EXPECT_EQ(screen->pickerGrid()->footerText(QStringLiteral("g_sn")), QStringLiteral("商品合计:2"));

    struct Case
    {
        const char *typed;
        QStringList goods;
    };
    const Case cases[] = {
        {"泉", {QStringLiteral("1001")}},             // name
        {"jm1002", {QStringLiteral("1002")}},         // short code, any letter case
        {"1002", {QStringLiteral("1002")}},           // code
        {"67809", {QStringLiteral("1002")}},          // barcode
        {"69012345", {QStringLiteral("1001"), QStringLiteral("1002")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        screen->searchEdit()->clear();
        screen->searchEdit()->setFocus();
        Type(screen->searchEdit(), QString::fromUtf8(c.typed));
        EXPECT_TRUE(screen->pickerShown());
        EXPECT_EQ(gridColumn(screen->pickerGrid(), QStringLiteral("g_sn")), c.goods);
    }
}

TEST_F(LabelTest, PickerAddsEverySelectedGoodsSummedWithoutAsking)
{
    queue("1001", 2);
    auto screen = openScreen();
    screen->quantityEdit()->setText(QStringLiteral("4"));
    screen->searchEdit()->setFocus();
    QTest::keyClicks(screen->searchEdit(), QStringLiteral("6901"));
    ASSERT_TRUE(screen->pickerShown());
    // F2 to F4 wait while the picker is shown.
    press(*screen, Qt::Key_F3);
    EXPECT_EQ(screen->quantityEdit()->text(), QStringLiteral("4"));
    press(*screen, Qt::Key_F2);
    EXPECT_EQ(screen->searchEdit()->text(), QStringLiteral("6901"));

    QTableView *view = screen->pickerGrid()->view();
    view->selectRow(0);
    view->selectionModel()->select(view->model()->index(1, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    press(*screen, Qt::Key_F5);
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_FALSE(screen->pickerShown());
    EXPECT_TRUE(screen->searchEdit()->text().isEmpty());
    EXPECT_EQ(count("1001"), QStringLiteral("6"));
    EXPECT_EQ(count("1002"), QStringLiteral("4"));
    EXPECT_EQ(screen->queueGrid()->rowCount(), 2);
}

TEST_F(LabelTest, PickerDoubleClickTakesTheCodeAndEscHidesIt)
{
    auto screen = openScreen();
    screen->searchEdit()->setFocus();
    Type(screen->searchEdit(), QStringLiteral("方便"));
    ASSERT_EQ(screen->pickerGrid()->rowCount(), 1);
    Q_EMIT screen->pickerGrid()->rowActivated(0);
    EXPECT_EQ(screen->searchEdit()->text(), QStringLiteral("1002"));
    EXPECT_FALSE(screen->pickerShown());
    EXPECT_TRUE(screen->quantityEdit()->hasFocus());

    screen->showPicker();
    screen->searchEdit()->setFocus();
    press(*screen, Qt::Key_Escape);
    EXPECT_FALSE(screen->pickerShown());
    EXPECT_TRUE(screen->isVisible());  // the first Esc only hides the picker
    press(*screen, Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
}

TEST_F(LabelTest, ModifyRefusesNegativeCountsAndKeepsZero)
{
    queue("1001", 2);
    auto screen = openScreen();
    QStringList shownTexts;
    screen->runModifyDialog = [&](TF_Tmdy_Modi &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("条码数量"));
        EXPECT_EQ(dialog.countEdit()->text(), QStringLiteral("2"));
        dialog.show();
        dialog.countEdit()->setText(QStringLiteral("-1"));
        dialog.save();
        EXPECT_EQ(notices.last(), QStringLiteral("数量不能小于0！"));
        EXPECT_EQ(dialog.result(), 0);  // still open
        EXPECT_EQ(count("1001"), QStringLiteral("2"));
        dialog.countEdit()->setText(QStringLiteral("0"));
        QTest::keyClick(dialog.countEdit(), Qt::Key_F5);
        EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    };
    screen->queueGrid()->setCurrentRow(0);
    screen->modifyCurrent();
    EXPECT_EQ(count("1001"), QStringLiteral("0"));
    EXPECT_EQ(screen->queueGrid()->rowCount(), 1);  // the row stays with no labels
}

TEST_F(LabelTest, DeleteAsksFirst)
{
    queue("1001", 2);
    queue("1002", 1);
    auto screen = openScreen();
    screen->queueGrid()->setCurrentRow(0);
    notices.script({Notices::Answer::No, Notices::Answer::Yes});
    screen->deleteCurrent();
    EXPECT_EQ(notices.last(), QStringLiteral("您确定要删除选中的商品条码吗？"));
    EXPECT_EQ(screen->queueGrid()->rowCount(), 2);
    screen->deleteCurrent();
    EXPECT_EQ(gridColumn(screen->queueGrid(), QStringLiteral("g_sn")), QStringList{QStringLiteral("1002")});
}

TEST_F(LabelTest, PrintBuildsLabelsFromTheQueueInOrder)
{
    queue("1002", 2);
    queue("1001", 0);
    queue("1001", 3);  // a second row of the same goods (added by a document screen)
    RunSql(db(), QStringLiteral("insert into jxc_txm (tm_code) values ('stale')"));
    auto screen = openScreen();
    screen->printLabels();
    EXPECT_TRUE(notices.shown.isEmpty());
    const QStringList expected{QStringLiteral("6901234567809"), QStringLiteral("6901234567809"),
                               QStringLiteral("6901234567892"), QStringLiteral("6901234567892"),
                               QStringLiteral("6901234567892")};
    EXPECT_EQ(txm(), expected);
    ASSERT_EQ(output.jobs.size(), 1);
    const auto &job = output.last();
    EXPECT_EQ(job.action, RecordingReportOutput::Action::Preview);
    EXPECT_EQ(TemplateStem(job.job.templateName), QStringLiteral("txm"));
    const DataSet *rows = job.job.dataSets.find(QStringLiteral("Q_GoodsPrin"));
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->rowCount(), 5);
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(rows->value(r, QStringLiteral("tm_code")), expected.at(r));
        EXPECT_EQ(rows->value(r, QStringLiteral("g_sptm")), expected.at(r));
    }
    EXPECT_EQ(rows->value(0, QStringLiteral("g_name")), QStringLiteral("方便面"));
    EXPECT_EQ(rows->value(4, QStringLiteral("g_sj")), QStringLiteral("2.5"));
}

TEST_F(LabelTest, GoodsWithoutBarcodeAreSkippedAndNamedOnce)
{
    queue("1003", 2);  // no barcode
    queue("1001", 1);
    queue("1004", 1);  // no barcode either: never picks up 1003's labels
    queue("1003", 1);
    auto screen = openScreen();
    screen->printLabels();
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("以下商品没有条码，未打印：散装糖果、散装瓜子")});
    EXPECT_EQ(txm(), QStringList{QStringLiteral("6901234567892")});
    ASSERT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(output.last().job.dataSets.find(QStringLiteral("Q_GoodsPrin"))->rowCount(), 1);

    // Only barcode-less goods: the names, and nothing to preview.
    RunSql(db(), QStringLiteral("delete from jxc_tm where g_sn = '1001'"));
    notices.shown.clear();
    screen->queueGrid()->reload();
    screen->printLabels();
    EXPECT_EQ(notices.texts().size(), 1);
    EXPECT_EQ(output.jobs.size(), 1);
    EXPECT_TRUE(txm().isEmpty());
}

TEST_F(LabelTest, SharedBarcodeDoesNotDoubleLabels)
{
    addGoods("1006", "矿泉水(箱)", "6901234567892", 30);
    queue("1006", 2);
    const LabelRun run = PrepareLabelRun(db());
    ASSERT_EQ(run.rows.rowCount(), 2);
    EXPECT_EQ(run.rows.value(0, QStringLiteral("g_name")), QStringLiteral("矿泉水(箱)"));
    EXPECT_EQ(run.rows.value(1, QStringLiteral("g_sn")), QStringLiteral("1006"));
}

TEST_F(LabelTest, EmptyQueuePrintsNothing)
{
    auto screen = openScreen();
    screen->printLabels();
    EXPECT_TRUE(output.jobs.isEmpty());
    EXPECT_TRUE(notices.shown.isEmpty());
}

TEST_F(LabelTest, SettingsOpenTheEditorOnTheLabelTemplate)
{
    auto screen = openScreen();
    QStringList opened;
    screen->openDesigner = [&](const QString &name) { opened << name; };
    QTest::mouseClick(screen->findChild<QPushButton *>(QStringLiteral("btn_Design")), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{QStringLiteral("txm.fr3")});
}

TEST_F(LabelTest, LabelSheetPdfShowsEachLabelItsCount)
{
    queue("1001", 2);
    queue("1002", 0);
    queue("1002", 3);
    auto screen = openScreen(ShippedTemplateFolder());
    screen->printLabels();
    ASSERT_EQ(output.jobs.size(), 1);
    const PrintJob &job = output.last().job;
    ASSERT_TRUE(job.templateFound);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    Report report(job);
    ASSERT_TRUE(report.writePdf(pdf));
    EXPECT_EQ(report.pageCount(), 1);
    if (!qEnvironmentVariableIsEmpty("JXC_LABEL_SAMPLE"))
        QFile::copy(pdf, qEnvironmentVariable("JXC_LABEL_SAMPLE"));
    const QString text = PdfText(pdf);
    EXPECT_EQ(text.count(QStringLiteral("6901234567892")), 2);
    EXPECT_EQ(text.count(QStringLiteral("6901234567809")), 3);
    EXPECT_EQ(text.count(QStringLiteral("矿泉水")), 2);
    EXPECT_EQ(text.count(QStringLiteral("方便面")), 3);
    EXPECT_TRUE(text.contains(QStringLiteral("2.50")));
    EXPECT_TRUE(text.contains(QStringLiteral("4.50")));
}

} // namespace
