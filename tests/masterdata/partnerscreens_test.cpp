// The customer and supplier screens through their real widgets: list, add and modify dialogs
// with the type lists and the region panel, filters, the menu, delete and export.

#include "screens_fixture.h"

#include "../support/scriptedfilechoice.h"
#include "../support/seed.h"

#include "masterdata/forms/khgl.h"
#include "masterdata/forms/khgl_add.h"
#include "masterdata/forms/khgl_type.h"
#include "masterdata/forms/zone.h"
#include "masterdata/warehouserules.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

namespace {

QStringList comboTexts(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

}  // namespace

class PartnerScreenTest : public MasterScreenTest
{
protected:
    std::unique_ptr<TF_PartnerList> open(const QString &screenClass)
    {
        std::unique_ptr<TF_PartnerList> w(qobject_cast<TF_PartnerList *>(registry.create(screenClass, QString(), context())));
        w->setFileChoice(&files);
        w->show();
        QApplication::processEvents();
        return w;
    }
    ScriptedFileChoice files;
};

TEST_F(PartnerScreenTest, CustomerFromAddThroughFiltersToDeleteAndExport)
{
    auto w = open("TF_Khgl");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->objectName(), "TF_Khgl");
    QString shownType;
    int regionRows = -1;
    bool panelAfterPick = true;
    QString region;
    whenShown("TF_Khgl_Add", [&](QDialog *d) {
        auto *e = static_cast<TF_PartnerEdit *>(d);
        whenShown("TF_Khgl_Type", [&](QDialog *t) {
            auto *types = static_cast<TF_Khgl_Type *>(t);
            types->grid()->locate("kt_name", "三级");
            QTest::mouseClick(t->findChild<QPushButton *>("btnOK"), Qt::LeftButton);
        });
        QTest::mouseClick(d->findChild<QPushButton *>("btnType"), Qt::LeftButton);
        shownType = e->typeCombo()->currentText();
        QTest::mouseClick(d->findChild<QPushButton *>("btnZone"), Qt::LeftButton);
        e->regionBox()->setFocus();
        TypeText(e->regionBox(), "sh");
        regionRows = e->regionGrid()->rowCount();
        DoubleClickRow(e->regionGrid(), 0);
        panelAfterPick = e->regionPanel()->isVisible();
        region = e->regionBox()->text();
        for (QTreeWidgetItem *c : e->salesmanTree()->children())
            if (c->text(0) == "默认员工")
                c->setCheckState(0, Qt::Checked);
        e->openingEdit()->setFocus();
        e->openingEdit()->selectAll();
        QTest::keyClicks(e->openingEdit(), "100");
        e->nameBox()->setFocus();
        TypeText(e->nameBox(), "华联超市");
        Press(d, Qt::Key_F5);
    });
    QTest::mouseClick(w->findChild<QPushButton *>("btnAdd"), Qt::LeftButton);
    EXPECT_EQ(shownType, "三级");
    EXPECT_EQ(regionRows, 1);
    EXPECT_FALSE(panelAfterPick);
    EXPECT_EQ(region, "省会地区");
    EXPECT_TRUE(notices.texts().isEmpty()) << notices.texts().join("|").toStdString();
    DataGrid *grid = w->grid();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->currentValue("kh_name").toString(), "华联超市");
    EXPECT_EQ(grid->model()->displayText(grid->currentRow(), "kh_lwje"), "￥100.00");
    EXPECT_EQ(grid->currentValue("kh_uname").toString(), "默认员工,");
    EXPECT_EQ(grid->currentValue("ktname").toString(), "三级");
    EXPECT_EQ(grid->footerText("kh_name"), "2");
    EXPECT_EQ(grid->footerText("kh_sn"), "记录数");

    whenShown("TF_Khgl_Modi", [&](QDialog *d) {
        auto *e = static_cast<TF_PartnerEdit *>(d);
        e->nameBox()->selectAll();
        TypeText(e->nameBox(), "华联商场");
        Press(d, Qt::Key_F5);
    });
    DoubleClickRow(grid, grid->currentRow());
    EXPECT_EQ(grid->currentValue("kh_name").toString(), "华联商场");

    w->keyBox()->setFocus();
    QTest::keyClicks(w->keyBox(), "hl");
    Press(w.get(), Qt::Key_F2);
    ASSERT_EQ(grid->rowCount(), 1);
    w->action("全部(&Y)")->trigger();
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_TRUE(w->keyBox()->text().isEmpty());

    // Right click on the new customer, then 禁用(&V).
    grid->locate("kh_name", "华联商场");
    QTableView *view = grid->view();
    const QPoint at = view->visualRect(view->model()->index(grid->currentRow(), 1)).center();
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at);
    QAction *disable = w->action("禁用(&V)");
    EXPECT_FALSE(disable->isChecked());
    disable->trigger();
    w->popup()->hide();
    EXPECT_EQ(scalar("select kh_forbid from jxc_khxx where kh_name = '华联商场'"), "1");
    EXPECT_TRUE(grid->currentValue("kh_forbid").toBool());

    RunSql(db(), "insert into jxc_lsxsd (gl_djh, kh_sn) values ('XS25031410001', '100002')");
    QTest::mouseClick(w->findChild<QPushButton *>("btnDel"), Qt::LeftButton);
    EXPECT_EQ(notices.last(), "该客户已发生过业务，不能删除！");
    EXPECT_EQ(grid->rowCount(), 2);

    const QString file = home.filePath("客户.xls");
    files.script({file});
    QTest::mouseClick(w->findChild<QPushButton *>("btnExport"), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(home.filePath("客户.xlsx")));
}

TEST_F(PartnerScreenTest, RegionPanelKeysAndTypeListsOfBothKinds)
{
    // Customers: F5 takes the region and hides the panel, Esc hides it; the dialog stays.
    auto customers = open("TF_Khgl");
    bool stillOpen = false;
    QString region;
    QStringList types;
    QString chosen;
    whenShown("TF_Khgl_Add", [&](QDialog *d) {
        auto *e = static_cast<TF_PartnerEdit *>(d);
        e->showRegionPanel();
        e->regionGrid()->locate("z_name", "其他区域");
        Press(d, Qt::Key_F5);
        region = e->regionBox()->text();
        e->showRegionPanel();
        Press(d, Qt::Key_Escape);
        stillOpen = d->isVisible() && !e->regionPanel()->isVisible();
        types = comboTexts(e->typeCombo());
        Press(d, Qt::Key_Escape);
    });
    customers->addPartner();
    EXPECT_EQ(region, "其他区域");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(types, (QStringList{"零售客户", "一级", "二级", "三级", "四级", "五级"}));

    // The modify dialog of a 零售客户 customer takes the chosen type too.
    RunSql(db(), "insert into jxc_khxx (kh_sn, kh_name, kt_sn, kt_name, ck_sn, ck_name) values "
                 "('100002', '甲', '1000', '零售客户', '-1', '所有仓库')");
    customers->activate();
    customers->grid()->locate("kh_sn", "100002");
    whenShown("TF_Khgl_Modi", [&](QDialog *d) {
        whenShown("TF_Khgl_Type", [&](QDialog *t) {
            static_cast<TF_Khgl_Type *>(t)->grid()->locate("kt_name", "三级");
            static_cast<TF_Khgl_Type *>(t)->choose();
        });
        static_cast<TF_PartnerEdit *>(d)->openTypes();
        chosen = static_cast<TF_PartnerEdit *>(d)->typeCombo()->currentText();
        Press(d, Qt::Key_Escape);
    });
    customers->modifyPartner();
    EXPECT_EQ(chosen, "三级");

    // Suppliers: with the panel open F5 saves; the type list's 退出 hands its type back, Esc not.
    auto suppliers = open("TF_Ghsgl");
    QString afterQuit, afterEsc;
    whenShown("TF_Ghsgl_Add", [&](QDialog *d) {
        auto *e = static_cast<TF_PartnerEdit *>(d);
        whenShown("TF_Ghsgl_Type", [&](QDialog *t) {
            auto *list = static_cast<TF_BasicList *>(t);
            list->grid()->locate("gt_name", "C级供货商");
            QTest::mouseClick(t->findChild<QPushButton *>("btnExit"), Qt::LeftButton);
        });
        e->openTypes();
        types = comboTexts(e->typeCombo());
        afterQuit = e->typeCombo()->currentText();
        whenShown("TF_Ghsgl_Type", [&](QDialog *t) {
            static_cast<TF_BasicList *>(t)->grid()->locate("gt_name", "A级供货商");
            Press(t, Qt::Key_Escape);
        });
        e->openTypes();
        afterEsc = e->typeCombo()->currentText();
        TypeText(e->nameBox(), "宏达商贸");
        e->showRegionPanel();
        Press(d, Qt::Key_F5);
    });
    suppliers->addPartner();
    EXPECT_EQ(types, (QStringList{"", "A级供货商", "B级供货商", "C级供货商"}));
    EXPECT_EQ(afterQuit, "C级供货商");
    EXPECT_EQ(afterEsc, "C级供货商");
    EXPECT_EQ(scalar("select gt_name from jxc_ghsxx where ghs_name = '宏达商贸'"), "C级供货商");
    EXPECT_EQ(suppliers->grid()->currentValue("ghs_name").toString(), "宏达商贸");

    // Esc with the panel open closes the supplier dialog.
    bool closed = false;
    whenShown("TF_Ghsgl_Modi", [&](QDialog *d) {
        static_cast<TF_PartnerEdit *>(d)->showRegionPanel();
        Press(d, Qt::Key_Escape);
        closed = !d->isVisible();
    });
    suppliers->modifyPartner();
    EXPECT_TRUE(closed);
}

// A warehouse rename reaches the customers bound to it: the modify dialog selects the new name
// under the same code, and saving keeps the binding.
TEST_F(PartnerScreenTest, TheModifyDialogSelectsARenamedWarehouse)
{
    setParam("cs_shtc", 1);
    WarehouseRules warehouses(db(), notices);
    WarehouseInput in;
    in.name = "二号仓";
    in.operators = {{"admin", "100001"}};
    ASSERT_EQ(warehouses.add(in).code, "100002");
    RunSql(db(), "insert into jxc_khxx (kh_sn, kh_name, kt_sn, kt_name, ck_sn, ck_name) values "
                 "('100002', '甲', '1000', '零售客户', '100002', '二号仓')");
    in.name = "北仓";
    ASSERT_TRUE(warehouses.modify("100002", in).saved());

    auto customers = open("TF_Khgl");
    ASSERT_TRUE(customers->grid()->locate("kh_sn", "100002"));
    QString shown, key;
    QStringList offered;
    whenShown("TF_Khgl_Modi", [&](QDialog *d) {
        KeyedCombo *combo = static_cast<TF_PartnerEdit *>(d)->warehouseCombo();
        shown = combo->currentText();
        key = combo->currentKey();
        offered = comboTexts(combo);
        EXPECT_TRUE(combo->isVisible());
        Press(d, Qt::Key_F5);
    });
    customers->modifyPartner();
    EXPECT_TRUE(failures.isEmpty()) << failures.join(' ').toStdString();
    EXPECT_EQ(shown, "北仓");
    EXPECT_EQ(key, "100002");
    EXPECT_EQ(offered, (QStringList{"所有仓库", "主仓库", "北仓"}));
    EXPECT_EQ(RowsText(db(), "select ck_sn, ck_name from jxc_khxx where kh_sn = '100002'"), "100002|北仓");
}
