// Grid layouts (tip, save, restore), skins and the grid export.

#include "gridfixture.h"
#include "../support/scriptednotices.h"
#include "../support/scriptedfilechoice.h"
#include "../support/testdb.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/forms/gridmsg.h"
#include "foundation/forms/skin.h"
#include "foundation/loginstate.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/gridlayoutfile.h"
#include "screenkit/skins.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>

namespace {

// Runs `act` on the tip dialog once it is open.
void WhenTipOpens(std::function<void(TF_GridMsg *)> act)
{
    QTimer::singleShot(0, [act] {
        TF_GridMsg *tip = GridLayoutTipDialog();
        if (tip->isVisible())
            act(tip);
    });
}

class LayoutTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(home.isValid());
        qputenv("JXC_HOME", home.path().toLocal8Bit());
        CreateGoodsFixture(db());
        SetUpGoodsGrid(grid, db());
        grid.setAutoColumnWidth(true);
    }
    void TearDown() override
    {
        holders.clear();
        holder.reset();
        qunsetenv("JXC_HOME");
        GridLayoutFlag().clear();
        DbTest::TearDown();
    }
    DataGrid &newGrid()
    {
        holders.push_back(std::make_unique<DataGrid>());
        SetUpGoodsGrid(*holders.back(), db());
        return *holders.back();
    }
    QString layoutFile() const { return home.filePath("Layout/spxxgl.ini"); }

    QTemporaryDir home;
    ScriptedNotices notices;
    std::unique_ptr<DataGrid> holder = std::make_unique<DataGrid>();
    DataGrid &grid = *holder;
    std::vector<std::unique_ptr<DataGrid>> holders;
};

TEST_F(LayoutTest, TipThenSaveThenRestoreOnANewGrid)
{
    QMenu menu;
    QAction *item = AddGridLayoutItem(&menu, &grid, "spxxgl", &notices, 12);
    EXPECT_EQ(item->text(), "定义列表布局(&B)");

    // First use: the tip, nothing written; 退出(Esc) leaves the flag empty.
    WhenTipOpens([](TF_GridMsg *tip) {
        EXPECT_EQ(tip->windowTitle(), "列表信息界面布局调整操作提示");
        EXPECT_EQ(tip->font().pointSize(), 12);
        QTest::keyClick(tip, Qt::Key_Escape);
    });
    item->trigger();
    EXPECT_FALSE(QFile::exists(layoutFile()));
    EXPECT_TRUE(GridLayoutFlag().isEmpty());
    EXPECT_FALSE(grid.autoColumnWidth());  // off whichever button closed it
    Q_EMIT menu.aboutToShow();
    EXPECT_EQ(item->text(), "定义列表布局(&B)");

    // Again, confirmed with F5: the command now saves.
    WhenTipOpens([](TF_GridMsg *tip) { QTest::keyClick(tip, Qt::Key_F5); });
    item->trigger();
    EXPECT_EQ(GridLayoutFlag(), "1");
    Q_EMIT menu.aboutToShow();
    EXPECT_EQ(item->text(), "保存当前列表布局(&B)");
    EXPECT_FALSE(QFile::exists(layoutFile()));

    grid.moveColumn("g_jj", 0);
    grid.setColumnWidth("g_name", 150);
    item->trigger();
    EXPECT_TRUE(QFile::exists(layoutFile()));
    EXPECT_EQ(notices.texts(), QStringList{"布局调整成功！"});
    EXPECT_TRUE(GridLayoutFlag().isEmpty());

    DataGrid &fresh = newGrid();
    fresh.setAutoColumnWidth(true);
    GridLayoutFlag() = "1";
    RestoreGridLayout("spxxgl", fresh);
    EXPECT_TRUE(GridLayoutFlag().isEmpty());
    EXPECT_FALSE(fresh.autoColumnWidth());
    EXPECT_EQ(fresh.shownFieldsInOrder(), (QStringList{"g_jj", "g_sn", "g_name", "g_jm", "g_kc"}));
    EXPECT_EQ(fresh.columnWidth("g_name"), 150);

    // A gated column stays hidden whatever the file says.
    DataGrid &gated = newGrid();
    gated.setColumnGated("g_jj", true);
    RestoreGridLayout("spxxgl", gated);
    EXPECT_FALSE(gated.isColumnShown("g_jj"));
    EXPECT_EQ(gated.shownFieldsInOrder(), (QStringList{"g_sn", "g_name", "g_jm", "g_kc"}));
}

TEST_F(LayoutTest, DamagedOrForeignFilesAndUnknownFieldsLeaveTheDesign)
{
    QDir().mkpath(home.filePath("Layout"));
    struct Case
    {
        const char *name;
        const char *content;
        QStringList order;
        int nameWidth;
    };
    const QStringList design{"g_sn", "g_name", "g_jm", "g_kc", "g_jj"};
    const Case cases[] = {
        {"original format", "[cxGridDBTableView1]\nVersion=1\nColumnCount=6\n", design, 120},
        {"damaged", "[JxcGridLayout]\ng_name=1,abc,1\n", design, 120},
        {"binary", "\x01\x02\x03garbage", design, 120},
        // Named columns take the places of named columns in the file's order; 简码 and 数量
        // are not named and keep theirs.
        {"unknown field", "[JxcGridLayout]\nautowidth=0\nno_such=0,50,1\ng_jj=1,70,1\ng_name=2,99,1\ng_sn=5,80,1\n",
         {"g_jj", "g_name", "g_jm", "g_kc", "g_sn"}, 99},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile f(layoutFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.content);
        f.close();
        DataGrid &g = newGrid();
        RestoreGridLayout("spxxgl", g);
        EXPECT_EQ(g.shownFieldsInOrder(), c.order);
        EXPECT_EQ(g.columnWidth("g_name"), c.nameWidth);
    }

    // A file written while automatic width was on still restores its widths with it off.
    QFile f(layoutFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[JxcGridLayout]\nautowidth=1\ng_name=1,99,1\n");
    f.close();
    DataGrid &g = newGrid();
    g.setAutoColumnWidth(true);
    RestoreGridLayout("spxxgl", g);
    EXPECT_FALSE(g.autoColumnWidth());
    EXPECT_EQ(g.columnWidth("g_name"), 99);
}

TEST_F(LayoutTest, WriteFailureNamesTheFileAndKeepsTheFlag)
{
    // "Layout" is a file here, so the folder cannot be made.
    QFile blocker(home.filePath("Layout"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    GridLayoutFlag() = "1";
    EXPECT_FALSE(SaveGridLayout("spxxgl", grid, notices));
    ASSERT_EQ(notices.shown.size(), 1);
    EXPECT_TRUE(notices.last().contains("spxxgl.ini")) << notices.last().toStdString();
    EXPECT_NE(notices.last(), "布局调整成功！");
    EXPECT_EQ(GridLayoutFlag(), "1");
}

// ---- Skins ------------------------------------------------------------------------------------

class SkinTest : public DbTest
{
protected:
    QString skinOf(const QString &op)
    {
        return QueryScalar(db(), "select skin_name from jxc_skin where a_name = ?", {op});
    }
    int rowsOf(const QString &op)
    {
        return QueryScalar(db(), "select count(*) from jxc_skin where a_name = ?", {op}).toInt();
    }
};

TEST_F(SkinTest, CatalogueAndApplying)
{
    ASSERT_EQ(SkinNames().size(), 20);
    EXPECT_EQ(SkinNames().first(), "Blueprint");
    EXPECT_EQ(SkinNames().at(2), "iMaginary");
    EXPECT_EQ(SkinNames().last(), "Xmas2008Blue");
    LoginState login;
    TF_Skin form(db(), login);
    form.ChangeSkin("Lilian");
    EXPECT_EQ(AppliedSkin(), "Lilian");
    // Footers and colour rules stay readable: text is dark on every skin.
    for (const QString &name : SkinNames()) {
        ASSERT_TRUE(ApplySkin(name));
        EXPECT_LT(QApplication::palette().color(QPalette::Text).lightness(), 100) << name.toStdString();
    }
}

// WCAG contrast ratio of two colours (1 to 21).
double Contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a) + 0.05;
    const double lb = luminance(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

TEST(Skins, DisabledPlaceholderAndReadOnlyLookMutedInEverySkin)
{
    for (const QString &name : SkinNames()) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(ApplySkin(name));
        const QPalette p = QApplication::palette();
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
            const QColor enabled = p.color(QPalette::Active, role);
            const QColor disabled = p.color(QPalette::Disabled, role);
            // A clear step from the live text, still readable on the window.
            EXPECT_GE(Contrast(enabled, disabled), 2.0) << int(role);
            EXPECT_GE(Contrast(disabled, p.color(QPalette::Disabled, QPalette::Window)), 1.8) << int(role);
        }
        EXPECT_GE(Contrast(p.color(QPalette::Active, QPalette::Text), p.color(QPalette::Active, QPalette::PlaceholderText)),
                  2.0);
        EXPECT_GE(Contrast(p.color(QPalette::Active, QPalette::Base), p.color(QPalette::Active, QPalette::PlaceholderText)),
                  1.8);

        // A read-only box is painted on another ground than an editable one.
        QWidget holder;
        QLineEdit editable(&holder);
        QLineEdit readOnly(&holder);
        readOnly.setReadOnly(true);
        holder.show();
        const auto ground = [](QLineEdit &box) { return box.grab().toImage().pixelColor(box.width() / 2, box.height() / 2); };
        EXPECT_NE(ground(editable), ground(readOnly));
    }
    ApplySkin(QString::fromLatin1(kDefaultSkin));
}

TEST_F(SkinTest, ChooserInsertsSelectsAndStoresForTheOperatorOnly)
{
    LoginState wang;
    wang.CurrentOperatorName = "wang";
    wang.UiFontSize = 12;
    TF_Skin form(db(), wang);
    EXPECT_EQ(form.windowTitle(), "更换皮肤");
    form.show();
    EXPECT_EQ(skinOf("wang"), "iMaginary");
    EXPECT_EQ(form.cbSkin()->currentText(), "iMaginary");
    EXPECT_EQ(form.font().pointSize(), 12);
    form.cbSkin()->setCurrentText("Stardust");
    EXPECT_EQ(AppliedSkin(), "Stardust");  // preview at once
    EXPECT_EQ(skinOf("wang"), "iMaginary");
    QTest::mouseClick(form.btnOK(), Qt::LeftButton);
    EXPECT_EQ(skinOf("wang"), "Stardust");
    EXPECT_EQ(skinOf("admin"), "iMaginary");
    EXPECT_FALSE(form.isVisible());

    // Showing it again does not insert a second row.
    form.show();
    EXPECT_EQ(rowsOf("wang"), 1);
    EXPECT_EQ(form.cbSkin()->currentText(), "Stardust");
}

TEST_F(SkinTest, UnknownNameFallsBackForTheCurrentOperatorOnly)
{
    RunSql(db(), "update jxc_skin set skin_name = 'Summer2008' where a_name = 'admin'");
    RunSql(db(), "insert into jxc_skin (skin_name, a_name) values ('Pumpkin', 'wang')");
    RunSql(db(), "insert into jxc_skin (skin_name, a_name) values ('Foo', 'li')");
    LoginState wang;
    wang.CurrentOperatorName = "wang";
    TF_Skin form(db(), wang);
    ApplySkin("Lilian");
    form.ChangeSkin("NoSuch");
    EXPECT_EQ(AppliedSkin(), "iMaginary");
    EXPECT_EQ(skinOf("wang"), "iMaginary");
    EXPECT_EQ(skinOf("admin"), "Summer2008");

    // Nobody logged in: the look falls back, no row changes.
    LoginState nobody;
    TF_Skin early(db(), nobody);
    early.ChangeSkin("NoSuch");
    EXPECT_EQ(skinOf("admin"), "Summer2008");
    EXPECT_EQ(rowsOf(""), 0);

    // A stored name outside the catalogue selects nothing; setAdminSkin keeps the look.
    LoginState li;
    li.CurrentOperatorName = "li";
    TF_Skin chooser(db(), li);
    chooser.show();
    EXPECT_EQ(chooser.cbSkin()->currentIndex(), -1);
    ApplySkin("Sharp");
    chooser.setAdminSkin();
    EXPECT_EQ(AppliedSkin(), "Sharp");
    EXPECT_EQ(skinOf("li"), "Foo");
}

// ---- Export -----------------------------------------------------------------------------------

QString SheetXml(const QString &file)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", file, "xl/worksheets/sheet1.xml"});
    unzip.waitForFinished(10000);
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

int RowsInSheet(const QString &xml)
{
    return int(xml.count("<row "));
}

class ExportTest : public LayoutTest
{
};

TEST_F(ExportTest, WorkbookHoldsCaptionsTypedRowsAndFooter)
{
    ScriptedFileChoice files;
    files.script({home.filePath("库存.xls")});
    const QString path = ExportGrid(grid, files, notices);
    EXPECT_EQ(path, home.filePath("库存.xlsx"));
    EXPECT_EQ(files.filters, QStringList{"Excel 工作簿 (*.xlsx)"});
    EXPECT_EQ(files.suggestions, QStringList{QString()});
    EXPECT_TRUE(notices.shown.isEmpty());
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_FALSE(QFile::exists(home.filePath("库存.xls")));
    const QString xml = SheetXml(path);
    ASSERT_FALSE(xml.isEmpty());
    // Captions in visual order, the hidden id left out.
    EXPECT_TRUE(xml.contains("<t>编号</t></is></c><c r=\"B1\" t=\"inlineStr\"><is><t>名称</t>")) << xml.left(600).toStdString();
    EXPECT_FALSE(xml.contains("<t>ID</t>"));
    EXPECT_TRUE(xml.contains("<t>00000001</t>"));
    EXPECT_TRUE(xml.contains("<t>苹果</t>"));
    EXPECT_TRUE(xml.contains("><v>2.5</v>"));  // a numeric cell
    EXPECT_FALSE(xml.contains("<t>记录数：5</t>"));  // the count is a number (next test)
    EXPECT_TRUE(xml.contains("<v>15</v>"));
    EXPECT_TRUE(xml.contains("<v>1249.25</v>"));
    EXPECT_EQ(RowsInSheet(xml), 7);  // captions, five rows, footer

    // The quantity cells carry a two-decimal format.
    QProcess unzip;
    unzip.start("unzip", {"-p", path, "xl/styles.xml"});
    unzip.waitForFinished(10000);
    const QString styles = QString::fromUtf8(unzip.readAllStandardOutput());
    EXPECT_TRUE(styles.contains("formatCode=\"#,##0.00\"")) << styles.toStdString();
}

QString ZipPart(const QString &file, const QString &part)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", file, part});
    unzip.waitForFinished(10000);
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

// The number format of a cell (its style index looked up in styles.xml), "" when none.
QString CellFormat(const QString &file, const QString &cell)
{
    const QString xml = ZipPart(file, "xl/worksheets/sheet1.xml");
    const QRegularExpression cellRe(QStringLiteral("<c r=\"%1\"( s=\"(\\d+)\")?( t=\"\\w+\")?>").arg(cell));
    const QRegularExpressionMatch c = cellRe.match(xml);
    if (!c.hasMatch() || c.captured(2).isEmpty())
        return QString();
    const QString styles = ZipPart(file, "xl/styles.xml");
    const QString xfs = styles.section("<cellXfs", 1).section("</cellXfs>", 0, 0);
    const QStringList xf = xfs.split("<xf ").mid(1);
    const int numFmt = QRegularExpression("numFmtId=\"(\\d+)\"").match(xf.value(c.captured(2).toInt())).captured(1).toInt();
    return QRegularExpression(QStringLiteral("numFmtId=\"%1\" formatCode=\"([^\"]*)\"").arg(numFmt))
        .match(styles)
        .captured(1)
        .replace("&quot;", "\"");
}

// The value of a cell and whether it is a number (no type attribute), from the sheet's XML.
std::pair<QString, bool> CellValue(const QString &file, const QString &cell)
{
    const QString xml = ZipPart(file, "xl/worksheets/sheet1.xml");
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("<c r=\"%1\"[^>]*?( t=\"(\\w+)\")?>(<v>([^<]*)</v>|<is><t>([^<]*)</t></is>)").arg(cell))
            .match(xml);
    if (!m.hasMatch())
        return {QString(), false};
    return {m.captured(4).isEmpty() ? m.captured(5) : m.captured(4), m.captured(2).isEmpty()};
}

TEST_F(ExportTest, DatesAreExcelDatesAndEveryNumericFooterIsANumber)
{
    DataGrid &dated = newGrid();
    auto *model = new RowSetModel(&dated);
    GridColumn day{"gl_kdrq", "日期", 90, ColumnKind::DateText};
    GridColumn stamp{"pos_xsrq", "时间", 120, ColumnKind::DateText};
    GridColumn name{"g_name", "名称", 90};
    GridColumn qty{"g_kc", "数量", 80, ColumnKind::Quantity, "#0.00;-#.00"};
    model->setColumns({day, stamp, name, qty});
    model->setRows({{"2024-03-05", "2024-03-05 14:07", "可乐", 3.0}, {"2024-02-29", "2024-02-29 09:05:30", "雪碧", 4.5},
                    {"未记", "", "矿泉水", 1.0}});
    dated.setModel(model);
    dated.reload(ReloadTarget::First);
    dated.setFooter("gl_kdrq", FooterKind::TextCount, "记录数：");
    dated.setFooter("g_name", FooterKind::Text, "商品合计:");
    dated.setFooter("g_kc", FooterKind::Supplied);
    dated.setFooterFormat("g_kc", "#,0.00");
    dated.setFooterSupplier("g_kc", [] { return QStringLiteral("1,100.50"); });
    dated.recomputeFooter();
    const QString file = home.filePath("dated.xlsx");
    QString error;
    ASSERT_TRUE(WriteGridWorkbook(dated, file, &error)) << error.toStdString();

    // Dates: serial numbers with a date format (2024-03-05 is day 45356).
    EXPECT_EQ(CellValue(file, "A2"), std::make_pair(QString("45356"), true));
    EXPECT_EQ(CellFormat(file, "A2"), "yyyy-mm-dd");
    EXPECT_TRUE(CellValue(file, "B2").first.startsWith("45356.588")) << CellValue(file, "B2").first.toStdString();
    EXPECT_EQ(CellFormat(file, "B2"), "yyyy-mm-dd hh:mm");
    EXPECT_EQ(CellFormat(file, "B3"), "yyyy-mm-dd hh:mm:ss");
    EXPECT_EQ(CellValue(file, "A3"), std::make_pair(QString("45351"), true));
    EXPECT_EQ(CellValue(file, "A4"), std::make_pair(QString("未记"), false));  // not a date: text
    // Footers: the count with its text as the format, the supplied stock total a number, the
    // fixed caption text.
    EXPECT_EQ(CellValue(file, "A5"), std::make_pair(QString("3"), true));
    EXPECT_EQ(CellFormat(file, "A5"), "\"记录数：\"0");
    EXPECT_EQ(CellValue(file, "D5"), std::make_pair(QString("1100.5"), true));
    EXPECT_EQ(CellFormat(file, "D5"), "#,##0.00");
    EXPECT_EQ(CellValue(file, "C5"), std::make_pair(QString("商品合计:"), false));
}

TEST_F(ExportTest, FilterLayoutBandsAndNeverShownGrids)
{
    grid.setFilter(GridFilter::contains({"g_name", "g_jm"}, "ab"));
    grid.moveColumn("g_jj", 0);
    QString error;
    const QString file = home.filePath("filtered.xlsx");
    ASSERT_TRUE(WriteGridWorkbook(grid, file, &error)) << error.toStdString();
    QString xml = SheetXml(file);
    EXPECT_EQ(RowsInSheet(xml), 4);
    EXPECT_TRUE(xml.contains("<c r=\"A1\" t=\"inlineStr\"><is><t>金额</t>"));

    DataGrid &banded = newGrid();  // never shown
    banded.setBands({{"商品信息", {"g_sn", "g_name", "g_jm"}}, {"本期入库", {"g_kc", "g_jj"}}});
    const QString bandFile = home.filePath("banded.xlsx");
    ASSERT_TRUE(WriteGridWorkbook(banded, bandFile, &error)) << error.toStdString();
    xml = SheetXml(bandFile);
    EXPECT_TRUE(xml.contains("<mergeCell ref=\"A1:C1\"/>")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("<mergeCell ref=\"D1:E1\"/>"));
    EXPECT_EQ(RowsInSheet(xml), 8);
}

TEST_F(ExportTest, NamesCancelAndFailures)
{
    EXPECT_EQ(XlsxFileName("/x/库存.xls"), "/x/库存.xlsx");
    EXPECT_EQ(XlsxFileName("/x/库存"), "/x/库存.xlsx");
    EXPECT_EQ(XlsxFileName("/x/库存.XLSX"), "/x/库存.XLSX");

    ScriptedFileChoice files;
    files.script({home.filePath("库存")});
    EXPECT_EQ(ExportGrid(grid, files, notices), home.filePath("库存.xlsx"));

    ScriptedFileChoice cancel;  // empty answer
    const auto before = QDir(home.path()).entryList(QDir::Files);
    EXPECT_TRUE(ExportGrid(grid, cancel, notices).isEmpty());
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), before);
    EXPECT_TRUE(notices.shown.isEmpty());

    ScriptedFileChoice bad;
    bad.script({home.filePath("no/such/folder/库存.xlsx")});
    EXPECT_TRUE(ExportGrid(grid, bad, notices).isEmpty());
    ASSERT_EQ(notices.shown.size(), 1);
    EXPECT_TRUE(notices.last().startsWith("导出失败：")) << notices.last().toStdString();
    EXPECT_FALSE(QFile::exists(home.filePath("no/such/folder/库存.xlsx")));
}

} // namespace
