// The goods window and its dialogs, driven offscreen through their widgets.

#include "screens_fixture.h"

#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/spxxgl.h"
#include "masterdata/forms/spxxgl_add.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QKeyEvent>
#include <QtTest/QTest>

namespace {

QTreeWidgetItem *itemWithText(KeyTree *tree, const QString &text)
{
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void doubleClickItem(KeyTree *tree, QTreeWidgetItem *item)
{
    tree->scrollToItem(item);
    const QPoint p = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, p);
}

}  // namespace

class GoodsScreenTest : public MasterScreenTest
{
protected:
    std::unique_ptr<TF_Spxxgl> openWindow()
    {
        auto w = std::make_unique<TF_Spxxgl>(context());
        w->show();
        QApplication::processEvents();
        return w;
    }

    // Fills the add dialog with 可乐 and saves it with F5.
    void enterCola(QDialog *d, const QString &name = QStringLiteral("可乐"))
    {
        auto *add = static_cast<GoodsEditDialog *>(d);
        QTest::mouseClick(add->findChild<QPushButton *>("btnClass"), Qt::LeftButton);
        EXPECT_TRUE(add->classPanel()->isVisible());
        doubleClickItem(add->classTree()->tree(), itemWithText(add->classTree()->tree(), "默认类别"));
        EXPECT_FALSE(add->classPanel()->isVisible());
        EXPECT_EQ(add->codeBox()->text(), "20000001");
        TypeText(add->nameBox(), name);
        add->unitCombo()->setCurrentIndex(add->unitCombo()->findText("瓶"));
        add->purchasePriceEdit()->setFocus();
        add->purchasePriceEdit()->selectAll();
        QTest::keyClicks(add->purchasePriceEdit(), "2.5");
        add->salePriceEdit()->setFocus();
        add->salePriceEdit()->selectAll();
        QTest::keyClicks(add->salePriceEdit(), "3.5");
        QTest::mouseClick(add->openingEdit(), Qt::LeftButton);
        EXPECT_TRUE(add->warehousePanel()->isVisible());
        add->openingEdit()->setFocus();
        add->openingEdit()->selectAll();
        QTest::keyClicks(add->openingEdit(), "12");
        Press(add, Qt::Key_F5);
    }
};

TEST_F(GoodsScreenTest, AddFromTheWindowThenTheGridShowsIt)
{
    auto w = openWindow();
    QString proposed;
    whenShown("TF_Spxxgl_Add", [&](QDialog *d) {
        enterCola(d);
        proposed = static_cast<GoodsEditDialog *>(d)->codeBox()->text();
        Press(d, Qt::Key_Escape);
    });
    QTest::mouseClick(w->findChild<QPushButton *>("btnAdd"), Qt::LeftButton);
    EXPECT_EQ(proposed, "20000002");
    EXPECT_TRUE(notices.texts().isEmpty()) << notices.texts().join("|").toUtf8().constData();
    DataGrid *grid = w->grid();
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->value(0, "g_name").toString(), "可乐");
    EXPECT_EQ(grid->value(0, "g_kc").toDouble(), 12);
    EXPECT_EQ(grid->footerText("g_name"), "1");
    EXPECT_EQ(grid->footerText("g_kc"), "12.00");
    EXPECT_EQ(grid->footerText("g_sn"), "商品合计:");
}

TEST_F(GoodsScreenTest, ModifyByDoubleClickRenamesAndPositions)
{
    auto w = openWindow();
    whenShown("TF_Spxxgl_Add", [&](QDialog *d) {
        enterCola(d);
        Press(d, Qt::Key_Escape);
    });
    w->addGoods();
    bool codeEnabled = true;
    QString codeTip;
    whenShown("TF_Spxxgl_Modi", [&](QDialog *d) {
        auto *m = static_cast<GoodsEditDialog *>(d);
        codeEnabled = m->codeBox()->isEnabled();
        codeTip = m->codeBox()->toolTip();
        m->nameBox()->selectAll();
        TypeText(m->nameBox(), "百事可乐");
        Press(m, Qt::Key_F5);
    });
    QTableView *view = w->grid()->view();
    const QRect cell = view->visualRect(view->model()->index(0, 1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(codeEnabled);  // its opening stock row keeps the code; the box says why
    EXPECT_EQ(codeTip, "该商品已建立库存记录（含期初库存），商品编号不能修改。");
    EXPECT_EQ(w->grid()->currentValue("g_name").toString(), "百事可乐");
}

TEST_F(GoodsScreenTest, DeleteOfAGoodsWithAPendingReceiptIsRefused)
{
    RunSql(db(), "insert into jxc_goods (g_sn, g_name, gc_sn, gc_cid, g_jy, g_kc, g_zhxs) values ('G1', '雪碧', '1000', 2, 0, 0, 1)");
    RunSql(db(), "insert into jxc_jhsp (g_sn, gl_djh) values ('G1', 'CJ25031410001')");
    auto w = openWindow();
    ASSERT_EQ(w->grid()->rowCount(), 1);
    QTest::mouseClick(w->findChild<QPushButton *>("btnDelete"), Qt::LeftButton);
    EXPECT_EQ(notices.last(), "该商品已发生过业务，单据号：CJ25031410001 不能删除！");
    EXPECT_EQ(w->grid()->rowCount(), 1);
}

TEST_F(GoodsScreenTest, NewUnitThroughTheUnitListAndTheAuxTab)
{
    auto w = openWindow();
    bool auxTabVisible = true;
    QString selected;
    whenShown("TF_Spxxgl_Add", [&](QDialog *d) {
        auto *add = static_cast<GoodsEditDialog *>(d);
        auxTabVisible = add->tabs()->isTabVisible(1);
        whenShown("TF_Dwgl", [&](QDialog *list) {
            whenShown("TF_Dwgl_Add", [&](QDialog *a) {
                TypeText(a->findChild<QLineEdit *>("tname"), "支");
                Press(a, Qt::Key_F5);
            });
            QTest::mouseClick(list->findChild<QPushButton *>("btnAdd"), Qt::LeftButton);
            QTest::mouseClick(list->findChild<QPushButton *>("btnExit"), Qt::LeftButton);
        });
        add->unitCombo()->setFocus();
        add->unitCombo()->setCurrentIndex(0);
        Q_EMIT add->unitCombo()->activated(0);
        selected = add->unitCombo()->currentText();
        Press(add, Qt::Key_Escape);
    });
    w->addGoods();
    EXPECT_FALSE(auxTabVisible);
    EXPECT_EQ(selected, "支");
    EXPECT_EQ(scalar("select dw_sn from jxc_dw where dw_name = '支'"), "100006");
}

TEST_F(GoodsScreenTest, AuxUnitAddedThroughTheTabIsStoredWithTheGoods)
{
    setParam("cs_fzdw", 1);
    auto w = openWindow();
    whenShown("TF_Spxxgl_Add", [&](QDialog *d) {
        auto *add = static_cast<GoodsEditDialog *>(d);
        EXPECT_TRUE(add->tabs()->isTabVisible(1));
        add->unitCombo()->setCurrentIndex(add->unitCombo()->findText("瓶"));
        whenShown("TF_Spxxgl_Dw", [&](QDialog *u) {
            auto *unit = u->findChild<QComboBox *>("comDw");
            unit->setCurrentIndex(unit->findText("箱"));
            auto *factor = u->findChild<MoneyEdit *>("tzhxs");
            factor->setFocus();
            factor->selectAll();
            QTest::keyClicks(factor, "12");
            Press(u, Qt::Key_F5);
        });
        QTest::mouseClick(add->findChild<QPushButton *>("btnDwAdd"), Qt::LeftButton);
        EXPECT_EQ(add->unitGrid()->rowCount(), 1);
        enterCola(d);
        Press(d, Qt::Key_Escape);
    });
    w->addGoods();
    EXPECT_EQ(scalar("select dw_name from jxc_goodsdw where g_sn = '20000001'"), "箱");
    EXPECT_EQ(scalar("select g_zhxs from jxc_goods where g_sn = '20000001'"), "12");
}

TEST_F(GoodsScreenTest, TreeCreateRenameSearchBoxAndFilter)
{
    RunSql(db(), "insert into jxc_goods (g_sn, g_name, g_jm, gc_sn, gc_cid, g_jy, g_kc, g_zhxs) values "
                 "('30000001', '可乐', 'KL', '1000', 2, 0, 1, 1), ('30000002', '雪碧', 'XB', '1000', 2, 0, 2, 1)");
    auto w = openWindow();
    KeyTree *tree = w->classTree()->tree();
    QTreeWidgetItem *root = itemWithText(tree, "所有类别");
    tree->setCurrentItem(root);
    QAction *create = w->action("创建类别(&W)");
    ASSERT_TRUE(create);
    create->trigger();
    QApplication::processEvents();
    auto *editor = tree->viewport()->findChild<QLineEdit *>();
    ASSERT_TRUE(editor);
    editor->selectAll();
    TypeText(editor, "饮料");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(scalar("select gc_name from jxc_goodsclass where gc_key = 3"), "饮料");
    EXPECT_EQ(scalar("select gc_jm from jxc_goodsclass where gc_key = 3"), "YL");

    // Back on the root, so the stock total covers every class.
    const QPoint rootPoint = tree->visualItemRect(itemWithText(tree, "所有类别")).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rootPoint);
    w->grid()->view()->setFocus();
    Press(w.get(), Qt::Key_F6);
    EXPECT_TRUE(w->searchBox()->hasFocus());
    QTest::keyClicks(w->searchBox(), "kl");
    ASSERT_EQ(w->grid()->rowCount(), 1);
    EXPECT_EQ(w->grid()->value(0, "g_name").toString(), "可乐");
    EXPECT_EQ(w->grid()->footerText("g_kc"), "1.00");
}
