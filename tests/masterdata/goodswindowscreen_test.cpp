// The goods window's own behaviour: Enter search, class click, copy and paste, sort, disable,
// the warehouse condition of 增加.

#include "screens_fixture.h"

#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/spxxgl.h"
#include "masterdata/forms/spxxgl_add.h"
#include "masterdata/goodsclassrules.h"
#include "screenkit/datagrid.h"
#include "screenkit/screengeometry.h"
#include "screenkit/trees.h"

#include "../support/scriptedfilechoice.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QLineEdit>
#include <QMenu>
#include <QtTest/QTest>

class GoodsWindowScreenTest : public MasterScreenTest
{
protected:
    void SetUp() override
    {
        MasterScreenTest::SetUp();
        if (IsSkipped())
            return;
        GoodsClassRules rules(db(), notices);
        classA = *rules.create(1);
        RunSql(db(), "insert into jxc_goods (g_sn, g_name, g_jm, gc_sn, gc_cid, g_jy, g_kc, g_zhxs, dw_name) values "
                     "('30000001', '可乐', 'KL', '1001', 3, 0, 12, 1, '瓶'), "
                     "('20000001', '雪碧', 'XB', '1000', 2, 0, 7, 1, '瓶'), "
                     "('20000002', '百事可乐', 'BSKL', '1000', 2, 0, 5, 1, '瓶')");
    }

    std::unique_ptr<TF_Spxxgl> open()
    {
        auto w = std::make_unique<TF_Spxxgl>(context());
        w->show();
        QApplication::processEvents();
        return w;
    }

    void clickClass(TF_Spxxgl &w, const QString &name)
    {
        KeyTree *tree = w.classTree()->tree();
        QTreeWidgetItem *item = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).first();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }

    QStringList names(TF_Spxxgl &w)
    {
        QStringList out;
        for (int i = 0; i < w.grid()->rowCount(); ++i)
            out << w.grid()->value(i, "g_name").toString();
        return out;
    }

    GoodsClassRow classA;
};

TEST_F(GoodsWindowScreenTest, EnterSearchWaitsForEnterAndSearchesAllClasses)
{
    setParam("cs_hcj", 1);
    auto w = open();
    clickClass(*w, "新类别");
    EXPECT_EQ(names(*w), QStringList{"可乐"});
    QTest::keyClicks(w->searchBox(), "kl");
    EXPECT_EQ(names(*w), QStringList{"可乐"});
    QTest::keyClick(w->searchBox(), Qt::Key_Return);
    EXPECT_EQ(names(*w), QStringList({"百事可乐", "可乐"}));
}

TEST_F(GoodsWindowScreenTest, ClassClickFiltersWithoutEnterSearch)
{
    auto w = open();
    EXPECT_EQ(w->grid()->rowCount(), 3);
    EXPECT_EQ(w->grid()->footerText("g_kc"), "24.00");
    clickClass(*w, "默认类别");
    EXPECT_EQ(names(*w), QStringList({"雪碧", "百事可乐"}));
    EXPECT_EQ(w->grid()->footerText("g_kc"), "12.00");
    clickClass(*w, "所有类别");
    EXPECT_EQ(w->grid()->rowCount(), 3);
}

TEST_F(GoodsWindowScreenTest, PasteWorksOnceAfterCopy)
{
    auto w = open();
    int opened = 0;
    QString code;
    QString name;
    whenShown("TF_Spxxgl_Add", [&](QDialog *d) {
        ++opened;
        code = static_cast<GoodsEditDialog *>(d)->codeBox()->text();
        name = static_cast<GoodsEditDialog *>(d)->nameBox()->text();
        d->reject();
    });
    w->pasteGoods();
    EXPECT_EQ(opened, 0);
    w->grid()->locate("g_sn", "20000001");
    w->copyGoods();
    w->pasteGoods();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(code, "20000003");
    EXPECT_EQ(name, "雪碧");
    w->pasteGoods();
    EXPECT_EQ(opened, 1);
}

TEST_F(GoodsWindowScreenTest, RemovingTheSortKeepsTheOrder)
{
    auto w = open();
    w->grid()->sortBy("g_name", Qt::DescendingOrder);
    const QStringList sorted = names(*w);
    w->grid()->clearSort();
    EXPECT_EQ(names(*w), sorted);
    w->loadList();
    EXPECT_EQ(names(*w), sorted);
}

TEST_F(GoodsWindowScreenTest, DisableChecksShowDisabled)
{
    auto w = open();
    w->grid()->locate("g_sn", "20000001");
    w->toggleDisabled();
    EXPECT_EQ(scalar("select g_jy from jxc_goods where g_sn = '20000001'"), "1");
    EXPECT_TRUE(w->findChild<QCheckBox *>("chkJy")->isChecked());
    EXPECT_EQ(w->grid()->rowCount(), 4);  // the reserved goods shows too
}

TEST_F(GoodsWindowScreenTest, AddNeedsAWarehouse)
{
    RunSql(db(), "delete from jxc_ckxx");
    auto w = open();
    w->addGoods();
    EXPECT_EQ(notices.last(), "请先添加仓库信息！");
}

TEST_F(GoodsWindowScreenTest, PictureShowsOnARowClickAndHidesOnItsOwnClick)
{
    QDir().mkpath(home.filePath("picture"));  // the program folder's pictures
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(home.filePath("picture/20000001.jpg")));

    auto w = open();
    QTableView *view = w->grid()->view();
    const auto clickRow = [&](const QString &code) {
        ASSERT_TRUE(w->grid()->locate("g_sn", code));
        const QModelIndex index = view->model()->index(w->grid()->currentRow(), 1);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    };
    w->findChild<QCheckBox *>("chkPic")->click();
    clickRow("20000001");
    EXPECT_TRUE(w->picture()->isVisible());
    QTest::mouseClick(w->picture(), Qt::LeftButton);
    EXPECT_FALSE(w->picture()->isVisible());
    clickRow("20000001");  // the same, current row: shown again
    EXPECT_TRUE(w->picture()->isVisible());
    clickRow("20000002");  // no picture file
    EXPECT_FALSE(w->picture()->isVisible());
    clickRow("20000001");
    w->findChild<QCheckBox *>("chkPic")->click();  // unchecked: hidden, rows show nothing
    EXPECT_FALSE(w->picture()->isVisible());
    clickRow("20000001");
    EXPECT_FALSE(w->picture()->isVisible());
}

TEST_F(GoodsWindowScreenTest, ExportKeepsTheStockTotalANumber)
{
    auto w = open();
    ScriptedFileChoice files;
    files.script({home.filePath("goods.xlsx")});
    w->setFileChoice(&files);
    w->exportList();
    ASSERT_TRUE(QFile::exists(home.filePath("goods.xlsx")));
    QProcess unzip;
    unzip.start("unzip", {"-p", home.filePath("goods.xlsx"), "xl/worksheets/sheet1.xml"});
    unzip.waitForFinished(10000);
    const QString xml = QString::fromUtf8(unzip.readAllStandardOutput());
    // The column captioned 当前库存, and its footer below the three rows: the number 24.
    const QString column =
        QRegularExpression("<c r=\"([A-Z]+)1\"[^>]*><is><t>当前库存</t>").match(xml).captured(1);
    ASSERT_FALSE(column.isEmpty()) << xml.left(800).toStdString();
    EXPECT_TRUE(QRegularExpression(QString("<c r=\"%1\" s=\"\\d+\"><v>24</v></c>").arg(column + "5")).match(xml).hasMatch())
        << xml.toStdString();
}

TEST_F(GoodsWindowScreenTest, WideEnoughForTheStockTotalShowsItWhole)
{
    setParam("cs_cs026", 1);  // colours shown: one more column before the stock
    auto w = open();
    ASSERT_EQ(w->grid()->footerText("g_kc"), "24.00");
    // The width its first showing takes on a desktop wide enough, and there the total shows.
    const int wanted = WidthShowingFooters(w.get(), 4000);
    w->resize(wanted, w->height());
    QApplication::processEvents();
    EXPECT_EQ(WidthShowingFooters(w.get(), 4000), w->width());
    const QRect cell = w->grid()->footerCellRect("g_kc");
    const QWidget *viewport = w->grid()->view()->viewport();
    EXPECT_LE(w->grid()->footerBar()->mapTo(w.get(), cell.topRight()).x(),
              viewport->mapTo(w.get(), QPoint(viewport->width(), 0)).x());
}
