// The template editor TF_ReportDesign and its rules: the page check, the atomic save with
// .bak, "恢复默认", the raw layout as plain lines, the item table and the live preview.

#include "../support/scriptednotices.h"

#include "engine/forms/reportdesign.h"
#include "engine/templateedit.h"
#include "report/model/reporttemplate.h"
#include "screenkit/datagrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString ShippedFolder()
{
    return QDir(QFileInfo(QStringLiteral(JXC_BINARY)).absolutePath()).filePath(QStringLiteral("report"));
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ReportTemplate Parse(const QByteArray &bytes)
{
    ReportTemplate t;
    EXPECT_TRUE(ParseTemplate(bytes, t));
    return t;
}

class DesignTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        for (const char *name : {"txm.json", "posxp58.json", "cgjh.json"})
            ASSERT_TRUE(QFile::copy(QDir(ShippedFolder()).filePath(QLatin1String(name)),
                                    folder.filePath(QLatin1String(name))));
        for (const QString &f : QDir(folder.path()).entryList(QDir::Files))
            QFile(folder.filePath(f)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    std::unique_ptr<TF_ReportDesign> open(const QString &name)
    {
        auto editor = std::make_unique<TF_ReportDesign>(name, notices, 10, folder.path());
        editor->show();
        QApplication::setActiveWindow(editor.get());
        return editor;
    }

    QString path(const char *file) const { return folder.filePath(QLatin1String(file)); }

    QTemporaryDir folder;
    ScriptedNotices notices;
};

TEST_F(DesignTest, OpensTheTemplateOfAStoredName)
{
    auto editor = open(QStringLiteral("TXM.FR3"));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("报表设计 — txm.json"));
    EXPECT_EQ(editor->currentTemplate().bands.size(), 1);
    EXPECT_EQ(editor->currentTemplate().bands.at(0).columns, 4);
    EXPECT_EQ(editor->findChild<DataGrid *>(QStringLiteral("grid_Items"))->rowCount(), 4);
    EXPECT_FALSE(editor->isModified());
}

TEST_F(DesignTest, SaveWritesTheFileAndKeepsTheOldOneAsBak)
{
    const QByteArray before = ReadAll(path("txm.json"));
    auto editor = open(QStringLiteral("txm.fr3"));
    editor->selectBand(0);
    editor->setItemField(1, QStringLiteral("text"), QStringLiteral("[Q_GoodsPrin.g_name] [Q_GoodsPrin.g_sn]"));
    editor->setItemField(1, QStringLiteral("bold"), QStringLiteral("0"));
    editor->setItemField(3, QStringLiteral("align"), QStringLiteral("右"));
    EXPECT_TRUE(editor->isModified());
    QTest::keyClick(editor->focusWidget() ? editor->focusWidget() : editor.get(), Qt::Key_F5);
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_FALSE(editor->isModified());

    EXPECT_EQ(ReadAll(path("txm.json.bak")), before);
    const ReportTemplate saved = Parse(ReadAll(path("txm.json")));
    EXPECT_EQ(saved.bands.at(0).items.at(1).text, QStringLiteral("[Q_GoodsPrin.g_name] [Q_GoodsPrin.g_sn]"));
    EXPECT_FALSE(saved.bands.at(0).items.at(1).bold);
    EXPECT_EQ(saved.bands.at(0).items.at(3).align, QStringLiteral("right"));
    // Nothing else moved.
    EXPECT_EQ(saved.bands.at(0).items.at(2).symbology, QStringLiteral("code39"));
    EXPECT_EQ(saved.bands.at(0).columnWidth, 47.5);

    // A second save backs up the first one's result.
    const QByteArray first = ReadAll(path("txm.json"));
    editor->setItemField(0, QStringLiteral("h"), QStringLiteral("27"));
    ASSERT_TRUE(editor->save());
    EXPECT_EQ(ReadAll(path("txm.json.bak")), first);
}

TEST_F(DesignTest, ItemOutsideThePageIsRefusedAndNothingSaved)
{
    struct Case
    {
        int item;
        const char *field;
        const char *value;
    };
    // txm: one detail band 30 mm high, labels 47.5 mm wide.
    const Case cases[] = {
        {1, "x", "-1"},     // left of the band
        {2, "w", "-3"},     // negative size
        {3, "x", "40"},     // 40 + 39.5 runs past the label column
        {4, "y", "28"},     // 28 + 5 runs below the band
        {4, "h", "-0.5"},
    };
    const QByteArray before = ReadAll(path("txm.json"));
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.field) + "=" + c.value);
        notices.shown.clear();
        auto editor = open(QStringLiteral("txm.fr3"));
        editor->setItemField(c.item - 1, QLatin1String(c.field), QLatin1String(c.value));
        EXPECT_FALSE(editor->save());
        EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("第 %1 项超出页面范围，请修改！").arg(c.item)});
        EXPECT_EQ(editor->findChild<DataGrid *>(QStringLiteral("grid_Items"))->currentRow(), c.item - 1);
        EXPECT_EQ(ReadAll(path("txm.json")), before);
        EXPECT_FALSE(QFile::exists(path("txm.json.bak")));
    }
}

TEST_F(DesignTest, PageWidthBoundsItemsOfOrdinaryBands)
{
    ReportTemplate t = Parse(ReadAll(path("cgjh.json")));
    EXPECT_TRUE(CheckTemplateItems(t).ok());
    t.page.size = QStringLiteral("roll80");  // 76 mm printable: the A4 header no longer fits
    const TemplateCheck check = CheckTemplateItems(t);
    ASSERT_FALSE(check.ok());
    EXPECT_GE(check.band, 0);
    EXPECT_EQ(check.text(), QStringLiteral("第 %1 项超出页面范围，请修改！").arg(check.item));
}

TEST_F(DesignTest, EveryShippedTemplatePassesTheCheck)
{
    const QStringList files = QDir(ShippedFolder()).entryList({QStringLiteral("*.json")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        const ReportTemplate t = Parse(ReadAll(QDir(ShippedFolder()).filePath(file)));
        EXPECT_TRUE(CheckTemplateItems(t).ok()) << CheckTemplateItems(t).item;
    }
}

TEST_F(DesignTest, RestoreDefaultPutsTheShippedTemplateBack)
{
    auto editor = open(QStringLiteral("txm.fr3"));
    editor->setItemField(0, QStringLiteral("w"), QStringLiteral("20"));
    editor->setPageSize(QStringLiteral("A5L"));
    ASSERT_TRUE(editor->save());
    const QByteArray changed = ReadAll(path("txm.json"));
    QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("btn_Restore")), Qt::LeftButton);
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_FALSE(editor->isModified());
    EXPECT_EQ(ReadAll(path("txm.json")), WriteTemplate(Parse(ReadAll(QStringLiteral(":/report/txm.json")))));
    EXPECT_EQ(ReadAll(path("txm.json.bak")), changed);
    EXPECT_EQ(editor->currentTemplate().page.size, QStringLiteral("A4"));
    EXPECT_EQ(editor->currentTemplate().bands.at(0).items.at(0).w, 45.5);
}

TEST_F(DesignTest, RestoreWithoutAShippedTemplateChangesNothing)
{
    auto editor = open(QStringLiteral("zdy.fr3"));
    editor->restoreDefault();
    EXPECT_EQ(notices.texts().size(), 1);
    EXPECT_FALSE(QFile::exists(path("zdy.json")));
}

TEST_F(DesignTest, MissingFileOpensEmptyAndSaveCreatesIt)
{
    auto editor = open(QStringLiteral("zdy.fr3"));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("报表设计 — zdy.json"));
    EXPECT_TRUE(editor->currentTemplate().bands.isEmpty());
    editor->addBand(BandKind::PageHeader);
    editor->addItem();
    editor->setItemField(0, QStringLiteral("text"), QStringLiteral("自定义报表"));
    editor->setItemField(0, QStringLiteral("align"), QStringLiteral("居中"));
    ASSERT_TRUE(editor->save());
    EXPECT_FALSE(QFile::exists(path("zdy.json.bak")));
    ReportTemplate loaded;
    ASSERT_TRUE(LoadTemplate(QStringLiteral("zdy.fr3"), loaded, folder.path()));
    ASSERT_EQ(loaded.bands.size(), 1);
    EXPECT_EQ(loaded.bands.at(0).kind, BandKind::PageHeader);
    EXPECT_EQ(loaded.bands.at(0).items.at(0).text, QStringLiteral("自定义报表"));
    EXPECT_EQ(loaded.bands.at(0).items.at(0).align, QStringLiteral("center"));
}

TEST_F(DesignTest, ANameWithAPathIsNeverWritten)
{
    auto editor = open(QStringLiteral("../txm.fr3"));
    editor->addBand(BandKind::Detail);
    EXPECT_FALSE(editor->save());
    EXPECT_EQ(notices.last(), QStringLiteral("报表文件名不能包含路径！"));
    EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath(QStringLiteral("../txm.json"))));
}

TEST_F(DesignTest, ItemTableButtonsAddCopyDeleteAndReorder)
{
    auto editor = open(QStringLiteral("txm.fr3"));
    DataGrid *grid = editor->findChild<DataGrid *>(QStringLiteral("grid_Items"));
    auto click = [&](const char *name) {
        QTest::mouseClick(editor->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
    };
    auto kinds = [&] {
        QList<ItemKind> out;
        for (const ReportItem &it : editor->currentTemplate().bands.at(0).items)
            out << it.kind;
        return out;
    };
    grid->setCurrentRow(2);  // the barcode
    click("btn_CopyItem");
    EXPECT_EQ(kinds(), (QList<ItemKind>{ItemKind::Box, ItemKind::Text, ItemKind::Barcode, ItemKind::Barcode,
                                        ItemKind::Text}));
    EXPECT_EQ(grid->currentRow(), 3);
    click("btn_Up");
    click("btn_Up");
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(kinds(), (QList<ItemKind>{ItemKind::Box, ItemKind::Barcode, ItemKind::Text, ItemKind::Barcode,
                                        ItemKind::Text}));
    click("btn_DelItem");
    click("btn_Down");
    EXPECT_EQ(kinds(), (QList<ItemKind>{ItemKind::Box, ItemKind::Barcode, ItemKind::Text, ItemKind::Text}));
    click("btn_AddItem");
    EXPECT_EQ(editor->currentTemplate().bands.at(0).items.size(), 5);
    editor->setItemField(4, QStringLiteral("kind"), QStringLiteral("条码"));
    EXPECT_EQ(editor->currentTemplate().bands.at(0).items.at(4).kind, ItemKind::Barcode);
    EXPECT_EQ(editor->currentTemplate().bands.at(0).items.at(4).symbology, QStringLiteral("code39"));
    editor->setItemField(4, QStringLiteral("border"), QStringLiteral("l t x b"));
    EXPECT_EQ(editor->currentTemplate().bands.at(0).items.at(4).border, QStringLiteral("LTB"));
}

TEST_F(DesignTest, EscAsksToSaveAChangedTemplate)
{
    const QByteArray before = ReadAll(path("txm.json"));
    {
        auto editor = open(QStringLiteral("txm.fr3"));
        editor->exitEditor();  // unchanged: no question
        EXPECT_TRUE(notices.shown.isEmpty());
        EXPECT_FALSE(editor->isVisible());
    }
    struct Case
    {
        Notices::Answer answer;
        bool closed;
        bool saved;
    };
    const Case cases[] = {{Notices::Answer::Cancel, false, false},
                          {Notices::Answer::No, true, false},
                          {Notices::Answer::Yes, true, true}};
    for (const Case &c : cases) {
        QFile::remove(path("txm.json"));
        QFile::remove(path("txm.json.bak"));
        {
            QFile f(path("txm.json"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(before);
        }
        notices.shown.clear();
        auto editor = open(QStringLiteral("txm.fr3"));
        editor->setItemField(1, QStringLiteral("size"), QStringLiteral("12"));
        notices.script({c.answer});
        QTest::keyClick(editor->focusWidget() ? editor->focusWidget() : editor.get(), Qt::Key_Escape);
        EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("模板已修改，是否保存？")});
        EXPECT_EQ(!editor->isVisible(), c.closed);
        EXPECT_EQ(ReadAll(path("txm.json")) != before, c.saved);
    }
}

TEST_F(DesignTest, RawLayoutRoundTripsThroughPlainLines)
{
    for (const char *file : {"posxp.json", "posxp58.json"}) {
        SCOPED_TRACE(file);
        const ReportTemplate t = Parse(ReadAll(QDir(ShippedFolder()).filePath(QLatin1String(file))));
        ASSERT_TRUE(t.raw.present);
        ReportTemplate copy = t;
        copy.raw.header = ParseRawLines(RawLinesText(t.raw.header));
        copy.raw.detail = ParseRawLines(RawLinesText(t.raw.detail));
        copy.raw.footer = ParseRawLines(RawLinesText(t.raw.footer));
        EXPECT_EQ(WriteTemplate(copy), WriteTemplate(t));
    }
    const QList<RawLine> lines = ParseRawLines(QStringLiteral("16L:[Q_GoodsPrin.g_name]|6R:[Q_GoodsPrin.pos_sl]|"
                                                              "10R@0.00:[Q_GoodsPrin.pos_zje]\n"
                                                              "?[zlje] 10L:找零：|R:[zlje]\n"
                                                              "\n"
                                                              "C:欢迎光临|时间: 12"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.at(0).cells.size(), 3);
    EXPECT_EQ(lines.at(0).cells.at(0).width, 16);
    EXPECT_EQ(lines.at(0).cells.at(2).align, QStringLiteral("right"));
    EXPECT_EQ(lines.at(0).cells.at(2).format, QStringLiteral("0.00"));
    EXPECT_EQ(lines.at(0).cells.at(2).text, QStringLiteral("[Q_GoodsPrin.pos_zje]"));
    EXPECT_EQ(lines.at(1).dropIfEmpty, QStringLiteral("[zlje]"));
    EXPECT_EQ(lines.at(1).cells.at(1).width, 0);
    EXPECT_TRUE(lines.at(2).cells.isEmpty());
    EXPECT_EQ(lines.at(3).cells.at(0).align, QStringLiteral("center"));
    EXPECT_EQ(lines.at(3).cells.at(1).text, QStringLiteral("时间: 12"));  // no valid spec: all text
}

TEST_F(DesignTest, RawTextBoxesEditTheReceiptLayout)
{
    auto editor = open(QStringLiteral("posxp58.fr3"));
    auto *footer = editor->findChild<QPlainTextEdit *>(QStringLiteral("mem_RawFooter"));
    ASSERT_NE(footer, nullptr);
    EXPECT_FALSE(footer->toPlainText().isEmpty());
    footer->setPlainText(footer->toPlainText() + QStringLiteral("\nC:谢谢惠顾"));
    ASSERT_TRUE(editor->save());
    ReportTemplate saved;
    ASSERT_TRUE(LoadTemplate(QStringLiteral("posxp58"), saved, folder.path()));
    ASSERT_FALSE(saved.raw.footer.isEmpty());
    EXPECT_EQ(saved.raw.footer.last().cells.at(0).text, QStringLiteral("谢谢惠顾"));
    EXPECT_EQ(saved.raw.columns, 32);
}

TEST_F(DesignTest, PreviewDrawsSampleRowsOrAStoredDocument)
{
    auto editor = open(QStringLiteral("txm.fr3"));
    int calls = 0;
    editor->sampleData = [&](PrintJob &job) {
        ++calls;
        DataSet rows({QStringLiteral("tm_code"), QStringLiteral("g_name"), QStringLiteral("g_sj")});
        for (int i = 0; i < 30; ++i)
            rows.appendRow({QStringLiteral("6901234567892"), QStringLiteral("矿泉水"), QStringLiteral("2.5")});
        job.setDataSet(QStringLiteral("Q_GoodsPrin"), rows);
    };
    editor->refreshPreview();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(editor->previewPages(), 1);
    const QImage image = editor->previewImage();
    ASSERT_FALSE(image.isNull());
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(dark, 500);  // bars and text were drawn
    if (!qEnvironmentVariableIsEmpty("JXC_DESIGN_SHOT"))
        editor->grab().save(qEnvironmentVariable("JXC_DESIGN_SHOT"));

    // A number: the routine's job; sample rows are not asked for.
    QStringList asked;
    editor->documentPreview = [&](const QString &number, PrintJob &job) {
        asked << number;
        job.variables.set(QStringLiteral("title"), QStringLiteral("单据"));
        job.setDataSet(QStringLiteral("Q_GoodsPrin"), DataSet({QStringLiteral("tm_code")}, {{QStringLiteral("1")}}));
        return true;
    };
    auto *number = editor->findChild<QLineEdit *>(QStringLiteral("edt_PreviewNo"));
    number->setText(QStringLiteral("CJ23030510001"));
    QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("btn_Preview")), Qt::LeftButton);
    EXPECT_EQ(asked, QStringList{QStringLiteral("CJ23030510001")});
    EXPECT_EQ(calls, 1);
}

} // namespace
