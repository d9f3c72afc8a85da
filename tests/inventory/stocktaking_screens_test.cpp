// The stocktaking window through its real widgets, opened from the command table through the
// registry: scanning and the line dialog, saving, the picker's batch, closing, the picker's
// layout.

#include "screens_fixture.h"

#include "inventory/forms/kcpd.h"
#include "inventory/forms/kcpd_add.h"
#include "inventory/forms/kcpd_sele.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/editors.h"
#include "foundation/db/transaction.h"
#include "../support/pickerlimit.h"
#include "shell/commandtable.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

class StocktakingWindowTest : public InventoryScreenTest
{
protected:
    TF_Kcpd *openCount()
    {
        for (const ShellCommand &c : ShellCommands())
            if (c.refusal == QStringLiteral("库存盘点！"))
                return open<TF_Kcpd>(c.screen);
        return nullptr;
    }
    static void scan(TF_Kcpd *w, const QString &code)
    {
        QLineEdit *box = w->barcodePanel()->entryBox();
        box->setFocus();
        box->setText(code);
        QTest::keyClick(box, Qt::Key_Return);
    }
    // A picture of the window for a look (JXC_SCREENSHOTS names a folder).
    static void picture(QWidget *w, const char *name)
    {
        const QString folder = qEnvironmentVariable("JXC_SCREENSHOTS");
        if (!folder.isEmpty())
            w->grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    }
};

TEST_F(StocktakingWindowTest, ScanCountSaveAndClose)
{
    AddStocktakingLines(db(), "PD24030810001", {{kInvG2, 10, 10, 4}, {kInvG3, 0, 0, 0, -1, -1e300, QStringLiteral("li")}});
    TF_Kcpd *w = openCount();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->objectName(), QStringLiteral("TF_Kcpd"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("库存盘点"));
    EXPECT_EQ(w->pages()->tabText(0), QStringLiteral("库存盘点单"));
    EXPECT_EQ(w->pages()->tabText(1), QStringLiteral("待审核盘点单"));
    EXPECT_EQ(w->pages()->tabText(2), QStringLiteral("库存盘点查询"));
    EXPECT_EQ(w->number(), QStringLiteral("PD24030810001"));
    EXPECT_EQ(rows("select a_name from jxc_kcpdsp"), QStringLiteral("li"));
    EXPECT_EQ(w->warehouseBox()->currentText(), QStringLiteral("主仓库"));
    EXPECT_EQ(w->handlerBox()->currentText(), QStringLiteral("默认员工"));
    EXPECT_EQ(w->addButton()->text(), QStringLiteral("产品添加(F2)"));
    EXPECT_EQ(w->importButton()->toolTip(), QStringLiteral("模板中标题为红色的列,要求必须输入！"));
    EXPECT_EQ(w->focusWidget(), w->barcodePanel()->entryBox());
    EXPECT_EQ(w->bookTotalBox()->text(), QStringLiteral("0.00"));
    RunSql(db(), "delete from jxc_kcpdsp");

    scan(w, QStringLiteral("6900001"));
    ASSERT_EQ(w->lineCount(), 1);
    EXPECT_TRUE(w->barcodePanel()->entryBox()->text().isEmpty());
    EXPECT_FALSE(w->warehouseBox()->isEnabled());
    EXPECT_EQ(w->countTotalBox()->text(), QStringLiteral("48.00"));
    whenShown("TF_Kcpd_Sele", [&](QDialog *d) {
        auto *dialog = static_cast<TF_Kcpd_Sele *>(d);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("盘点商品设置"));
        EXPECT_EQ(dialog->infoText(QStringLiteral("kc_sl")), QStringLiteral("48"));
        dialog->countBox()->setValue(45);
        picture(dialog, "kcpd_sele");
        keyTo(dialog->countBox(), Qt::Key_F5);
    });
    w->modifyButton()->click();
    EXPECT_EQ(rows("select pd_sl, kc_sl, pd_zje from jxc_kcpdsp"), QStringLiteral("45|48|-7.5"));
    EXPECT_EQ(w->countTotalBox()->text(), QStringLiteral("45.00"));
    EXPECT_EQ(w->bookTotalBox()->text(), QStringLiteral("48.00"));
    picture(w, "kcpd");

    keyTo(w->linesGrid()->view(), Qt::Key_F5);
    EXPECT_EQ(rows("select gl_djh, ck_sn, pd_sl, kc_sl, pd_status, a_name from jxc_kcpd"),
              QStringLiteral("PD24030810001|100001|45|48|0|admin"));
    EXPECT_EQ(w->number(), QStringLiteral("PD24030810002"));
    EXPECT_EQ(w->lineCount(), 0);
    EXPECT_TRUE(w->warehouseBox()->isEnabled());
    EXPECT_EQ(w->countTotalBox()->text(), QStringLiteral("0.00"));

    // The picker: two rows at once, then 确定.
    whenShown("TF_Kcpd_Add", [&](QDialog *d) {
        auto *picker = static_cast<TF_Kcpd_Add *>(d);
        EXPECT_EQ(picker->windowTitle(), QStringLiteral("盘点商品添加"));
        ASSERT_GE(picker->listGrid()->rowCount(), 2);
        selectRows(picker->listGrid(), {0, 1});
        keyTo(picker->listGrid()->view(), Qt::Key_F8);
        EXPECT_EQ(picker->basketGrid()->rowCount(), 2);
        picture(picker, "kcpd_add");
        keyTo(picker->basketGrid()->view(), Qt::Key_F5);
    });
    keyTo(w->linesGrid()->view(), Qt::Key_F2);
    EXPECT_EQ(w->lineCount(), 2);
    EXPECT_EQ(w->bookTotalBox()->text(), QStringLiteral("58.00"));

    // Closing with lines: No removes the operator's lines only.
    AddStocktakingLines(db(), w->number(), {{kInvG3, 0, 0, 0, -1, -1e300, QStringLiteral("li")}});
    notices.script({Notices::Answer::No});
    w->close();
    EXPECT_EQ(notices.last(), QStringLiteral("当前单据还未保存，是否保存？"));
    EXPECT_EQ(rows("select a_name from jxc_kcpdsp where gl_djh = 'PD24030810002'"), QStringLiteral("li"));
}

TEST_F(StocktakingWindowTest, DeleteFreesTheWarehouseAndUnknownCodesAreRefused)
{
    TF_Kcpd *w = openCount();
    scan(w, QStringLiteral("6900002，9"));
    EXPECT_EQ(rows("select g_sn, pd_sl from jxc_kcpdsp"), QStringLiteral("20000002|10"));
    notices.script({Notices::Answer::Yes});
    w->deleteButton()->click();
    EXPECT_EQ(notices.last(), QStringLiteral("您确定要删除当前选中的商品吗！"));
    EXPECT_EQ(w->lineCount(), 0);
    EXPECT_TRUE(w->warehouseBox()->isEnabled());
    scan(w, QStringLiteral("999"));
    EXPECT_EQ(notices.last(), QStringLiteral("没有找到与该条码匹配的商品，请检查！"));
}

TEST_F(StocktakingWindowTest, PickerBasketWidthFollowsTheWindow)
{
    TF_Kcpd *w = openCount();
    whenShown("TF_Kcpd_Add", [&](QDialog *d) {
        auto *picker = static_cast<TF_Kcpd_Add *>(d);
        picker->resize(1200, 600);
        QCoreApplication::processEvents();
        EXPECT_EQ(picker->basketGroup()->width(), 457);
        picker->resize(1600, 600);
        QCoreApplication::processEvents();
        EXPECT_EQ(picker->basketGroup()->width(), 700);
        picker->reject();
    });
    w->addButton()->click();
}

TEST_F(StocktakingWindowTest, PickerBatchStopsAt300Rows)
{
    {
        // 297 more goods stocked in 主仓库 beside the set's four.
        Transaction tx(db());
        for (int i = 1; i <= 297; ++i) {
            const QString code = QString::number(30000000 + i);
            AddInventoryGoods(db(), code, QStringLiteral("批量%1").arg(i), QStringLiteral("个"), 2, 1, 1, code);
            InsertRow(db(), "jxc_kcsp", {{"g_sn", code}, {"ck_sn", kMainWarehouse}, {"kc_sl", 100.0}});
        }
        tx.commit();
    }
    TF_Kcpd *w = openCount();
    whenShown("TF_Kcpd_Add", [&](QDialog *d) {
        ExpectBatchLimitOf300(static_cast<TF_Kcpd_Add *>(d), notices,
                              [&] { return RowsText(db(), "select count(*) from jxc_tempspxf where a_name = 'admin'").toInt(); }, true);
        notices.script({Notices::Answer::No});
        PressKey(d, Qt::Key_Escape);
    });
    keyTo(w->linesGrid()->view(), Qt::Key_F2);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(' ').toStdString();
    EXPECT_EQ(w->lineCount(), 0);
}

} // namespace
