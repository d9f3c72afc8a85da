// The line dialog and the goods picker in their three variants, opened directly through the
// registry with a document context, as the receipt, return and order windows open them.

#include "purchase_fixture.h"
#include "screens_fixture.h"

#include "../support/gridtyping.h"
#include "../support/pickerlimit.h"

#include "foundation/db/transaction.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/cgjh_add.h"
#include "purchasing/forms/cgjh_sele.h"
#include "purchasing/forms/purchasingscreens.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

class PurchaseDialogsTest : public PurchaseScreenTest
{
protected:
    DocumentContext contextOf(PurchaseKind kind)
    {
        DocumentContext c;
        c.type = PurchaseDocType(kind);
        c.number = c.type.prefix + QStringLiteral("25031410001");
        c.day = QStringLiteral("2025-03-14");
        c.warehouse = QStringLiteral("100001");
        c.partner = QStringLiteral("100001");
        c.linesChanged = [this] { ++changed; };
        return c;
    }
    std::unique_ptr<QDialog> dialog(const char *screen, DocumentContext &c, const QString &tag, const QString &goods,
                                    qint64 id = 0)
    {
        std::unique_ptr<QDialog> d(registry.create(QString::fromLatin1(screen), QString(), context()));
        SetDocumentContext(d.get(), &c);
        d->setProperty(handoff::LineTag, tag);
        d->setProperty(handoff::GoodsCode, goods);
        d->setProperty(handoff::LineId, id);
        return d;
    }
    static bool hasLabel(QWidget *w, const QString &text)
    {
        for (QLabel *l : w->findChildren<QLabel *>())
            if (l->text() == text && !l->isHidden())
                return true;
        return false;
    }
    static void typeInto(MoneyEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    double number(const QString &sql) const { return scalar(sql).toDouble(); }
    int changed = 0;
};

TEST_F(PurchaseDialogsTest, EachLineDialogShowsItsVariant)
{
    struct Variant
    {
        const char *screen;
        PurchaseKind kind;
        const char *tag;
        const char *caption, *priceLabel, *history;
        bool total, picture, lastPrice;
    };
    const Variant variants[] = {
        {"TF_Cgjh_Sele", PurchaseKind::Receipt, "cgjh_new", "商品信息(采购进货)", "参考进价：", "该商品进货记录", true, true, true},
        {"TF_Cgth_Sele", PurchaseKind::Return, "cgth_add", "商品信息(采购退货)", "退货单价：", "该商品进货记录", false, false, false},
        {"TF_Cgd_Sele", PurchaseKind::Order, "cgjh_new", "商品信息(采购订单)", "参考进价：", "该商品订货记录", true, false, true},
    };
    for (const Variant &v : variants) {
        SCOPED_TRACE(v.screen);
        DocumentContext c = contextOf(v.kind);
        auto d = dialog(v.screen, c, v.tag, kG2);
        bool checked = false;
        whenShown(v.screen, [&](QDialog *shown) {
            checked = true;
            EXPECT_EQ(shown->windowTitle(), v.caption);
            EXPECT_TRUE(hasLabel(shown, v.priceLabel));
            EXPECT_EQ(shown->findChild<MoneyEdit *>("tzje") != nullptr, v.total);
            EXPECT_EQ(!shown->findChild<QPushButton *>("btnPicture")->isHidden(), v.picture);
            EXPECT_EQ(hasLabel(shown, "上次进价："), v.lastPrice);
            auto *pages = shown->findChild<QTabWidget *>("linePages");
            EXPECT_EQ(pages->tabText(0), v.history);
            EXPECT_EQ(pages->count(), v.kind == PurchaseKind::Order ? 2 : 1);
            if (v.kind == PurchaseKind::Order)
                EXPECT_FALSE(pages->isTabVisible(1));  // no quote of this supplier
            EXPECT_EQ(shown->findChild<MoneyEdit *>("tsl")->value(), 1);
            EXPECT_EQ(shown->findChild<MoneyEdit *>("tgpjjj")->value(), 3);
            EXPECT_EQ(shown->focusWidget(), shown->findChild<MoneyEdit *>("tsl"));
            PressKey(shown, Qt::Key_Escape);
        });
        EXPECT_EQ(d->exec(), QDialog::Rejected);
        EXPECT_TRUE(checked);
    }
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp") + scalar("select count(*) from jxc_tempspxf2"), "00");
}

TEST_F(PurchaseDialogsTest, F5WritesByModeAndTheContextHearsOfIt)
{
    // Insert into the receipt under the context's number.
    DocumentContext c = contextOf(PurchaseKind::Receipt);
    auto d = dialog("TF_Cgjh_Sele", c, "cgjh_new", kG2);
    whenShown("TF_Cgjh_Sele", [&](QDialog *shown) {
        typeInto(shown->findChild<MoneyEdit *>("tsl"), "0");
        PressKey(shown, Qt::Key_F5);
        EXPECT_TRUE(shown->isVisible());  // refused
        typeInto(shown->findChild<MoneyEdit *>("tsl"), "2");
        PressKey(shown, Qt::Key_F5);
    });
    EXPECT_EQ(d->exec(), QDialog::Accepted);
    EXPECT_EQ(notices.texts(), QStringList{"数量不能为0或负数，重新输入！"});
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(number("select jh_dj from jxc_jhsp"), 3);
    EXPECT_EQ(number("select jh_zje from jxc_jhsp"), 6);

    // Without the cost right the price, the total and the history are hidden; the default price
    // is still written.
    RunSql(db(), "delete from jxc_jhsp");
    state.RightShowCost = false;
    auto hidden = dialog("TF_Cgjh_Sele", c, "cgjh_new", kG2);
    whenShown("TF_Cgjh_Sele", [&](QDialog *shown) {
        EXPECT_TRUE(shown->findChild<MoneyEdit *>("tgpjjj")->isHidden());
        EXPECT_TRUE(shown->findChild<MoneyEdit *>("tzje")->isHidden());
        EXPECT_TRUE(shown->findChild<QTabWidget *>("linePages")->isHidden());
        EXPECT_TRUE(hasLabel(shown, "参考进价："));
        typeInto(shown->findChild<MoneyEdit *>("tsl"), "2");
        PressKey(shown, Qt::Key_F5);
    });
    hidden->exec();
    EXPECT_EQ(number("select jh_dj from jxc_jhsp"), 3);
    EXPECT_EQ(number("select jh_zje from jxc_jhsp"), 6);
}

TEST_F(PurchaseDialogsTest, TheOrderDialogShowsQuotesAndTakesOne)
{
    InsertRow(db(), "jxc_ghsbj", {{"g_sn", kG2}, {"ghs_sn", "100001"}, {"gb_bj", 2.8}, {"gb_bjrq", "2025-03-01"}, {"u_sn", "100001"}});
    DocumentContext c = contextOf(PurchaseKind::Order);
    auto d = dialog("TF_Cgd_Sele", c, "cgjh_new", kG2);
    whenShown("TF_Cgd_Sele", [&](QDialog *shown) {
        auto *sele = static_cast<TF_Cgjh_Sele *>(shown);
        auto *pages = shown->findChild<QTabWidget *>("linePages");
        EXPECT_TRUE(pages->isTabVisible(1));
        EXPECT_EQ(pages->tabText(1), "报价记录");
        EXPECT_EQ(pages->currentIndex(), 1);
        ASSERT_EQ(sele->quoteGrid()->rowCount(), 1);
        EXPECT_EQ(sele->quoteGrid()->value(0, "u_name").toString(), "默认员工");
        Q_EMIT sele->quoteGrid()->rowActivated(0);
        EXPECT_EQ(shown->findChild<MoneyEdit *>("tgpjjj")->value(), 2.8);
        PressKey(shown, Qt::Key_F5);
    });
    d->exec();
    EXPECT_EQ(number("select jh_dj from jxc_cgsp"), 2.8);
    EXPECT_EQ(scalar("select gl_djh from jxc_cgsp"), "CD25031410001");
}

TEST_F(PurchaseDialogsTest, TheReturnDialogTakesAHistoryRow)
{
    SavedReceipt(db(), kFirstNumber, {{kG2, {4, 2.75}}}, 1);
    DocumentContext c = contextOf(PurchaseKind::Return);
    auto d = dialog("TF_Cgth_Sele", c, "cgth_add", kG2);
    whenShown("TF_Cgth_Sele", [&](QDialog *shown) {
        auto *sele = static_cast<TF_Cgjh_Sele *>(shown);
        ASSERT_EQ(sele->historyGrid()->rowCount(), 1);
        Q_EMIT sele->historyGrid()->rowActivated(0);
        EXPECT_EQ(shown->findChild<MoneyEdit *>("tgpjjj")->value(), 2.75);
        EXPECT_EQ(shown->findChild<MoneyEdit *>("tsl")->value(), 4);
        EXPECT_EQ(shown->findChild<MoneyEdit *>("ttax")->value(), 0);
        EXPECT_EQ(shown->findChild<MoneyEdit *>("ttaxdj")->value(), 2.75);
        // The return's quantity box accepts the minus key (確定 refuses it).
        typeInto(shown->findChild<MoneyEdit *>("tsl"), "-1");
        EXPECT_EQ(shown->findChild<MoneyEdit *>("tsl")->value(), -1);
        PressKey(shown, Qt::Key_Escape);
    });
    d->exec();
}

TEST_F(PurchaseDialogsTest, EachPickerShowsItsVariant)
{
    struct Variant
    {
        const char *screen;
        PurchaseKind kind;
        const char *caption;
        bool editable, quantity;
        int width;
    };
    const Variant variants[] = {
        {"TF_Cgjh_Add", PurchaseKind::Receipt, "增加商品(采购进货)", true, true, 509},
        {"TF_Cgth_Add", PurchaseKind::Return, "增加商品(采购退货)", false, false, 457},
        {"TF_Cgd_Add", PurchaseKind::Order, "增加商品(采购订单)", true, true, 509},
    };
    for (const Variant &v : variants) {
        SCOPED_TRACE(v.screen);
        DocumentContext c = contextOf(v.kind);
        std::unique_ptr<QDialog> d(registry.create(QString::fromLatin1(v.screen), QString(), context()));
        SetDocumentContext(d.get(), &c);
        auto *picker = static_cast<TF_Cgjh_Add *>(d.get());
        d->show();
        d->resize(1100, 600);
        EXPECT_EQ(d->windowTitle(), v.caption);
        EXPECT_EQ(picker->basketGrid()->hasEditableColumns(), v.editable);
        EXPECT_EQ(!picker->defaultQuantityBox()->isHidden(), v.quantity);
        EXPECT_EQ(!picker->newGoodsButton()->isHidden(), v.quantity);
        EXPECT_EQ(picker->basketGroup()->width(), v.width);
        EXPECT_EQ(picker->basketGroup()->title(), "所选商品");
        EXPECT_EQ(picker->listPages()->tabText(1), "商品列表");
        EXPECT_EQ(picker->searchLabel()->text(), "输入商品编号或名称查询商品：");
        d->close();
    }
}

TEST_F(PurchaseDialogsTest, PickerSearchesAddsEditsDeletesAndConfirms)
{
    DocumentContext c = contextOf(PurchaseKind::Receipt);
    std::unique_ptr<QDialog> d(registry.create("TF_Cgjh_Add", QString(), context()));
    SetDocumentContext(d.get(), &c);
    auto *picker = static_cast<TF_Cgjh_Add *>(d.get());
    d->show();
    QApplication::setActiveWindow(d.get());
    EXPECT_EQ(picker->classTree()->currentItem()->text(0), "默认类别");
    EXPECT_EQ(picker->listGrid()->rowCount(), 3);
    EXPECT_EQ(picker->listGrid()->footerText("g_name"), "3");
    // Search per keystroke, by the short code too.
    picker->searchBox()->setFocus();
    QTest::keyClicks(picker->searchBox(), "kl");
    ASSERT_EQ(picker->listGrid()->rowCount(), 1);
    EXPECT_EQ(picker->listGrid()->value(0, "g_name").toString(), "可乐");

    // Enter: the grid takes the focus; its Enter opens the line dialog for one goods.
    QTest::keyClick(picker->searchBox(), Qt::Key_Return);
    EXPECT_EQ(d->focusWidget(), picker->listGrid()->view());
    whenShown("TF_Cgjh_Sele", [&](QDialog *line) {
        typeInto(line->findChild<MoneyEdit *>("tsl"), "4");
        PressKey(line, Qt::Key_F5);
    });
    QTest::keyClick(picker->listGrid()->view(), Qt::Key_Return);
    ASSERT_EQ(picker->basketGrid()->rowCount(), 1);
    EXPECT_EQ(picker->basketGrid()->value(0, "ts_sl").toDouble(), 4);

    // A cell edit of the basket.
    DataGrid *basket = picker->basketGrid();
    basket->view()->setFocus();
    basket->view()->setCurrentIndex(basket->model()->index(0, basket->model()->columnOf("ts_dj")));
    TypeIntoGrid(*basket, "5");
    KeyIntoGrid(*basket, Qt::Key_Return);
    EXPECT_EQ(basket->value(0, "ts_zje").toDouble(), 20);
    EXPECT_EQ(basket->footerText("g_name"), "记录数：1");

    // Del asks and deletes; the batch of three adds without the dialog.
    notices.script({Notices::Answer::Yes});
    PressKey(d.get(), Qt::Key_Delete);
    EXPECT_EQ(notices.last(), "您确定要删除当前选中的商品吗！");
    EXPECT_EQ(basket->rowCount(), 0);
    picker->searchBox()->clear();
    picker->listGrid()->view()->selectAll();
    PressKey(d.get(), Qt::Key_F8);
    EXPECT_EQ(basket->rowCount(), 3);

    // F5: the basket onto the document.
    PressKey(d.get(), Qt::Key_F5);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = ?", {kFirstNumber}), "3");
    EXPECT_EQ(changed, 1);

    // Opened again: an empty basket.
    RunSql(db(), "insert into jxc_tempspxf2 (g_sn, a_name, ts_sl, ts_dzl) values (?, 'admin', 1, 1)", {kG1});
    d->show();
    EXPECT_EQ(basket->rowCount(), 0);
    d->close();
}

TEST_F(PurchaseDialogsTest, ClosingAPickerWithABasketAsksAndEnterSearchWaitsForEnter)
{
    state.PickerEnterSearch = "1";
    DocumentContext c = contextOf(PurchaseKind::Receipt);
    std::unique_ptr<QDialog> d(registry.create("TF_Cgjh_Add", QString(), context()));
    SetDocumentContext(d.get(), &c);
    auto *picker = static_cast<TF_Cgjh_Add *>(d.get());
    struct Case
    {
        Notices::Answer answer;
        bool open;
        const char *lines;
    };
    for (const Case k : {Case{Notices::Answer::Cancel, true, "0"}, Case{Notices::Answer::No, false, "0"},
                         Case{Notices::Answer::Yes, false, "3"}}) {
        RunSql(db(), "delete from jxc_jhsp");
        d->show();
        QApplication::setActiveWindow(d.get());
        EXPECT_EQ(picker->searchLabel()->text(), "输入商品编号或名称,回车查询：");
        picker->searchBox()->setFocus();
        QTest::keyClicks(picker->searchBox(), "xb");
        EXPECT_EQ(picker->listGrid()->rowCount(), 3);  // nothing before Enter
        QTest::keyClick(picker->searchBox(), Qt::Key_Return);
        EXPECT_EQ(picker->listGrid()->rowCount(), 1);
        picker->searchBox()->clear();
        QTest::keyClick(picker->searchBox(), Qt::Key_Return);
        picker->listGrid()->view()->selectAll();
        PressKey(d.get(), Qt::Key_F8);
        picker->listGrid()->view()->clearSelection();
        notices.script({k.answer});
        PressKey(d.get(), Qt::Key_Escape);
        EXPECT_EQ(d->isVisible(), k.open);
        EXPECT_EQ(scalar("select count(*) from jxc_jhsp"), k.lines) << notices.texts().join("|").toStdString();
        d->hide();
    }
}

TEST_F(PurchaseDialogsTest, ThePickersBatchStopsAt300Rows)
{
    {
        Transaction tx(db());
        for (int i = 1; i <= 298; ++i)
            AddGoods(db(), QString::number(30000000 + i), QStringLiteral("批量%1").arg(i), 1);
        tx.commit();
    }
    DocumentContext c = contextOf(PurchaseKind::Receipt);
    std::unique_ptr<QDialog> d(registry.create("TF_Cgjh_Add", QString(), context()));
    SetDocumentContext(d.get(), &c);
    d->show();
    QApplication::setActiveWindow(d.get());
    ExpectBatchLimitOf300(static_cast<TF_Cgjh_Add *>(d.get()), notices,
                          [&] { return scalar("select count(*) from jxc_tempspxf2 where a_name = 'admin'").toInt(); },
                          true);
}

} // namespace
