// The transfer and the loss and overflow windows through their real widgets, opened from the
// command table through the registry: scanning, the picker and the line dialog, saving, closing,
// the date field, the picker's layout.

#include "screens_fixture.h"

#include "../support/pickerlimit.h"

#include "inventory/forms/bsby.h"
#include "inventory/forms/bsby_add.h"
#include "inventory/forms/bsby_sele.h"
#include "inventory/forms/kcdb.h"
#include "inventory/forms/kcdb_add.h"
#include "inventory/forms/kcdb_sele.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/editors.h"
#include "foundation/db/transaction.h"
#include "shell/commandtable.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

QString ScreenOf(const char *refusal)
{
    for (const ShellCommand &c : ShellCommands())
        if (c.refusal == QString::fromUtf8(refusal))
            return c.screen;
    return QString();
}

class InventoryWindowTest : public InventoryScreenTest
{
protected:
    TF_Kcdb *openTransfer() { return open<TF_Kcdb>(ScreenOf("库存调拨！")); }
    TF_Bsby *openLoss() { return open<TF_Bsby>(ScreenOf("报损报溢！")); }
    static void scan(TF_Kcdb *w, const char *code)
    {
        QLineEdit *box = w->barcodePanel()->entryBox();
        box->setFocus();
        QTest::keyClicks(box, QString::fromUtf8(code));
        QTest::keyClick(box, Qt::Key_Return);
    }
};

TEST_F(InventoryWindowTest, TransferScanSaveAndClose)
{
    TF_Kcdb *w = openTransfer();
    ASSERT_EQ(w->objectName(), QStringLiteral("TF_Kcdb"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("库存调拨"));
    EXPECT_EQ(w->pages()->tabText(0), QStringLiteral("库存调拨单"));
    EXPECT_EQ(w->pages()->tabText(1), QStringLiteral("待审核调拨单"));
    EXPECT_EQ(w->pages()->tabText(2), QStringLiteral("库存调拨查询"));
    EXPECT_EQ(w->number(), QStringLiteral("DB24030810001"));
    EXPECT_EQ(w->warehouseBox()->currentText(), QStringLiteral("主仓库"));
    EXPECT_EQ(w->inWarehouseBox()->currentText(), QStringLiteral("分仓"));
    EXPECT_EQ(w->handlerBox()->currentText(), QStringLiteral("默认员工"));
    EXPECT_EQ(w->focusWidget(), w->barcodePanel()->entryBox());
    EXPECT_FALSE(w->importExportButton()->isVisible());
    EXPECT_TRUE(w->warehouseBox()->isEnabled());

    scan(w, "6900012");
    scan(w, "6900012");
    ASSERT_EQ(w->lineCount(), 1);
    EXPECT_EQ(w->linesGrid()->footerText(QStringLiteral("db_zje")), QStringLiteral("60.00"));
    EXPECT_FALSE(w->warehouseBox()->isEnabled());
    EXPECT_TRUE(w->modifyButton()->isVisible());

    // Deleting the last line frees the out warehouse; scanned again, the document is saved.
    notices.script({Notices::Answer::Yes});
    w->deleteButton()->click();
    EXPECT_EQ(w->lineCount(), 0);
    EXPECT_TRUE(w->warehouseBox()->isEnabled());
    scan(w, "6900012");
    scan(w, "6900012");
    keyTo(w->linesGrid()->view(), Qt::Key_F5);
    EXPECT_EQ(rows("select gl_djh, ck_out, ck_in, db_status from jxc_kcdbd"), QStringLiteral("DB24030810001|100001|100002|0"));
    EXPECT_EQ(w->number(), QStringLiteral("DB24030810002"));
    EXPECT_EQ(w->lineCount(), 0);
    EXPECT_TRUE(w->warehouseBox()->isEnabled());

    // Closing with lines: No removes the operator's lines only.
    scan(w, "6900001");
    AddTransferLines(db(), w->number(), {{kInvG2, 1, 4, 1, QStringLiteral("包"), -1, {}, QStringLiteral("li")}});
    notices.script({Notices::Answer::No});
    w->close();
    EXPECT_EQ(notices.last(), QStringLiteral("当前单据还未保存，是否保存？"));
    EXPECT_EQ(rows("select a_name from jxc_dbsp where gl_djh = 'DB24030810002'"), QStringLiteral("li"));
}

TEST_F(InventoryWindowTest, TransferPickerAddsTwoLines)
{
    TF_Kcdb *w = openTransfer();
    whenShown("TF_Kcdb_Add", [&](QDialog *d) {
        auto *picker = static_cast<TF_Kcdb_Add *>(d);
        EXPECT_EQ(picker->windowTitle(), QStringLiteral("增加商品(库存调拨)"));
        ASSERT_EQ(picker->listGrid()->rowCount(), 4);
        selectRows(picker->listGrid(), {0, 1});
        picker->addButton()->click();
        EXPECT_EQ(picker->basketGrid()->rowCount(), 2);
        keyTo(picker->basketGrid()->view(), Qt::Key_F5);
    });
    keyTo(w->linesGrid()->view(), Qt::Key_F2);
    EXPECT_EQ(w->lineCount(), 2);
    EXPECT_FALSE(w->warehouseBox()->isEnabled());
    EXPECT_EQ(w->focusWidget(), w->handlerBox());
}

TEST_F(InventoryWindowTest, TransferPickersBatchStopsAt300Rows)
{
    {
        // 297 more goods stocked in 主仓库 beside the set's four; enough of each for any batch.
        Transaction tx(db());
        for (int i = 1; i <= 297; ++i) {
            const QString code = QString::number(30000000 + i);
            AddInventoryGoods(db(), code, QStringLiteral("批量%1").arg(i), QStringLiteral("个"), 2, 1, 1, code);
            InsertRow(db(), "jxc_kcsp", {{"g_sn", code}, {"ck_sn", kMainWarehouse}, {"kc_sl", 100.0}});
        }
        RunSql(db(), "update jxc_kcsp set kc_sl = 100");
        tx.commit();
    }
    TF_Kcdb *w = openTransfer();
    whenShown("TF_Kcdb_Add", [&](QDialog *d) {
        // The transfer picker has no F8: its add button.
        ExpectBatchLimitOf300(static_cast<TF_Kcdb_Add *>(d), notices,
                          [&] { return scalar("select count(*) from jxc_tempspxf2 where a_name = 'admin'").toInt(); },
                          false);
        notices.script({Notices::Answer::No});
        PressKey(d, Qt::Key_Escape);
    });
    keyTo(w->linesGrid()->view(), Qt::Key_F2);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(' ').toStdString();
    EXPECT_EQ(w->lineCount(), 0);
}

TEST_F(InventoryWindowTest, TransferLineDialogChangesTheLine)
{
    TF_Kcdb *w = openTransfer();
    scan(w, "6900001");
    whenShown("TF_Kcdb_Sele", [&](QDialog *d) {
        auto *dialog = static_cast<TF_Kcdb_Sele *>(d);
        EXPECT_EQ(dialog->infoText(QStringLiteral("kc_sl")), QStringLiteral("48"));
        EXPECT_FALSE(dialog->salePriceBox()->isEnabled());
        EXPECT_FALSE(dialog->pictureButton()->isVisible());
        dialog->unitBox()->setCurrentIndex(1);
        EXPECT_EQ(dialog->priceBox()->value(), 30);
        dialog->quantityBox()->setFocus();
        dialog->quantityBox()->selectAll();
        QTest::keyClicks(dialog->quantityBox(), QStringLiteral("2"));
        keyTo(dialog->quantityBox(), Qt::Key_F5);
    });
    w->modifyButton()->click();
    EXPECT_EQ(rows("select db_sl, db_zsl, dw_name, db_zje from jxc_dbsp"), QStringLiteral("2|24|箱|60"));
}

TEST_F(InventoryWindowTest, DateFieldAsksRenumbersAndKeepsTheLinesWhenTheMoveFails)
{
    TF_Kcdb *w = openTransfer();
    scan(w, "6900001");
    DateEdit *date = w->dateEdit();
    // Tomorrow: the question; No puts today back.
    notices.script({Notices::Answer::No});
    date->setDate(QDate(2024, 3, 9));
    EXPECT_EQ(date->date(), QDate(2024, 3, 8));
    EXPECT_TRUE(notices.last().startsWith(QStringLiteral("您选择的日期：2024-03-09，")));
    // Leaving the field on the 7th: the lines go with the number of that day.
    date->setFocus();
    date->setDate(QDate(2024, 3, 7));
    w->handlerBox()->setFocus();
    EXPECT_EQ(w->number(), QStringLiteral("DB24030710001"));
    EXPECT_EQ(rows("select gl_djh from jxc_dbsp"), QStringLiteral("DB24030710001"));
    // Back on today while li saved a header under its first number: the next one.
    AddTransfer(db(), "DB24030810001", {}, {{"a_name", "li"}});
    date->setFocus();
    date->setDate(QDate(2024, 3, 8));
    w->handlerBox()->setFocus();
    EXPECT_EQ(w->number(), QStringLiteral("DB24030810002"));
    // A failing move: the message, date, number and lines as before.
    date->setFocus();
    date->setDate(QDate(2024, 3, 6));
    InjectStatementFailure(db(), 2);
    w->handlerBox()->setFocus();
    InjectStatementFailure(db(), 0);
    EXPECT_EQ(date->date(), QDate(2024, 3, 8));
    EXPECT_TRUE(notices.last().startsWith(QStringLiteral("更改日期失败："))) << notices.last().toStdString();
    EXPECT_EQ(w->number(), QStringLiteral("DB24030810002"));
    EXPECT_EQ(rows("select gl_djh from jxc_dbsp"), QStringLiteral("DB24030810002"));
}

TEST_F(InventoryWindowTest, LossThroughPickerAndDialogThenSaved)
{
    TF_Bsby *w = openLoss();
    ASSERT_EQ(w->objectName(), QStringLiteral("TF_Bsby"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("商品报损/报溢"));
    EXPECT_EQ(w->typeBox()->currentIndex(), -1);
    keyTo(w->linesGrid()->view(), Qt::Key_F2);
    EXPECT_EQ(notices.last(), QStringLiteral("请选择单据类型！"));

    w->typeBox()->setCurrentIndex(1);
    EXPECT_EQ(w->titleLabel()->text(), QStringLiteral("商品报溢"));
    EXPECT_EQ(find<QLabel>(w, "LabelRq")->text(), QStringLiteral("报溢日期："));
    EXPECT_EQ(w->number(), QStringLiteral("BY24030810001"));
    w->typeBox()->setCurrentIndex(0);
    EXPECT_EQ(w->number(), QStringLiteral("BS24030810001"));

    whenShown("TF_Bsby_Add", [&](QDialog *d) {
        auto *picker = static_cast<TF_Bsby_Add *>(d);
        EXPECT_EQ(picker->windowTitle(), QStringLiteral("增加商品(商品报损)"));
        EXPECT_EQ(picker->listGroup()->title(), QStringLiteral("查询商品列表"));
        whenShown("TF_Bsby_Sele", [&](QDialog *s) {
            auto *dialog = static_cast<TF_Bsby_Sele *>(s);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("商品信息(商品报损)"));
            dialog->quantityBox()->selectAll();
            QTest::keyClicks(dialog->quantityBox(), QStringLiteral("3"));
            keyTo(dialog->quantityBox(), Qt::Key_F5);
        });
        picker->listGrid()->setCurrentRow(0);
        picker->addButton()->click();
        EXPECT_EQ(picker->basketGrid()->rowCount(), 1);
        keyTo(picker->searchBox(), Qt::Key_F5);
    });
    keyTo(w->linesGrid()->view(), Qt::Key_F2);
    ASSERT_EQ(w->lineCount(), 1);
    EXPECT_FALSE(w->typeBox()->isEnabled());
    EXPECT_FALSE(w->warehouseBox()->isEnabled());
    EXPECT_EQ(rows("select g_sn, bs_sl, bs_dj, bs_zje from jxc_bssp"), QStringLiteral("20000001|3|2.5|7.5"));

    keyTo(w->linesGrid()->view(), Qt::Key_F5);
    EXPECT_EQ(rows("select gl_djh, bs_bsrq, bs_status from jxc_bsd"), QStringLiteral("BS24030810001|2024-03-08 10:15|0"));
    EXPECT_EQ(w->number(), QStringLiteral("BS24030810002"));
    EXPECT_EQ(w->typeBox()->currentText(), QStringLiteral("商品报损"));
    EXPECT_TRUE(w->typeBox()->isEnabled());
}

TEST_F(InventoryWindowTest, PickersPlaceTheirBasketByTheWindowsWidth)
{
    TF_Kcdb *w = openTransfer();
    whenShown("TF_Kcdb_Add", [&](QDialog *d) {
        auto *picker = static_cast<TF_Kcdb_Add *>(d);
        picker->resize(1200, 600);
        EXPECT_EQ(picker->basketGroup()->width(), 476);
        picker->resize(1600, 600);
        EXPECT_EQ(picker->basketGroup()->width(), 700);
        picker->reject();
    });
    w->addGoods();
    TF_Bsby *l = openLoss();
    l->typeBox()->setCurrentIndex(0);
    whenShown("TF_Bsby_Add", [&](QDialog *d) {
        auto *picker = static_cast<TF_Bsby_Add *>(d);
        picker->resize(1200, 600);
        EXPECT_EQ(picker->basketGroup()->width(), 488);
        picker->resize(1600, 600);
        EXPECT_EQ(picker->basketGroup()->width(), 700);
        // The short code, letter case ignored; Enter searches and keeps the focus.
        picker->searchBox()->setFocus();
        QTest::keyClicks(picker->searchBox(), QStringLiteral("kl"));
        QTest::keyClick(picker->searchBox(), Qt::Key_Return);
        ASSERT_EQ(picker->listGrid()->rowCount(), 1);
        EXPECT_EQ(picker->listGrid()->value(0, QStringLiteral("g_name")).toString(), QStringLiteral("可乐"));
        EXPECT_EQ(picker->focusWidget(), picker->searchBox());
        picker->reject();
    });
    l->addGoods();
}

} // namespace
