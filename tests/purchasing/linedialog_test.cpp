// The rules of the purchase line dialog: the linked boxes of each variant, what an opening
// shows, and what 确定 writes by mode.

#include "purchase_fixture.h"

#include "foundation/lineentrymodel.h"
#include "purchasing/purchaselinewriter.h"

namespace {

using Box = LineEntryModel::Box;

QString Boxes(const LineEntryModel &m)
{
    const auto &v = m.values();
    return QStringList{NumberText(v.price), NumberText(v.quantity), NumberText(v.rate), NumberText(v.taxPrice),
                       NumberText(v.discount), NumberText(v.total)}
        .join('|');
}

class LineDialogRulesTest : public PurchaseRulesTest
{
protected:
    // A model as the receipt dialog opens it for G2: price 3, quantity 1, the default rate.
    LineEntryModel opened(PurchaseKind kind, double price = 3)
    {
        LineEntryModel m(PurchaseLineRules(kind), state);
        LineEntryModel::Values v;
        v.price = price;
        v.rate = TextToNumber(state.DefaultTaxRate);
        m.load(v);
        m.applyRateRule();
        return m;
    }
    LineInput input(const LineEntryModel &m, const QString &unit = QStringLiteral("瓶"))
    {
        LineInput in;
        in.values = m.values();
        in.unit = unit;
        return in;
    }
    PurchaseResult write(PurchaseKind kind, DocumentContext &c, LineMode mode, const QString &goods, qint64 id,
                         const LineInput &in)
    {
        return PurchaseLineWriter(db(), state, notices, kind).write(c, mode, goods, id, in);
    }
};

TEST_F(LineDialogRulesTest, ReceiptBoxesFollowPriceRateQuantityDiscountAndTotal)
{
    state.UseTax = "1";
    state.DefaultTaxRate = "13";
    LineEntryModel m = opened(PurchaseKind::Receipt);
    EXPECT_EQ(Boxes(m), "3|1|13|3.39|1|3.39");
    m.change(Box::Price, 10);
    m.change(Box::Quantity, 3);
    EXPECT_EQ(Boxes(m), "10|3|13|11.3|1|33.9");
    // Typing the tax-inclusive price: the price follows, held meanwhile.
    m.change(Box::TaxPrice, 22.6);
    m.keyReleased(Box::TaxPrice);
    EXPECT_EQ(Boxes(m), "20|3|13|22.6|1|67.8");
    EXPECT_FALSE(m.priceHold());

    // Discount on: a typed total derives the discount.
    state.DefaultTaxRate = "0";
    state.UseDiscount = "1";
    LineEntryModel d = opened(PurchaseKind::Receipt, 10);
    d.change(Box::Quantity, 3);
    d.change(Box::Total, 24);
    d.keyReleased(Box::Total);
    EXPECT_EQ(Boxes(d), "10|3|0|10|0.8|24");
    EXPECT_TRUE(d.priceHold());

    // Discount off, rate 13: a typed total derives the price at once.
    state.UseDiscount = "0";
    state.DefaultTaxRate = "13";
    LineEntryModel p = opened(PurchaseKind::Receipt);
    p.change(Box::Quantity, 3);
    p.change(Box::Total, 30);
    p.keyReleased(Box::Total);
    EXPECT_NEAR(p.values().price, 8.849557522, 1e-8);
    EXPECT_NEAR(p.values().taxPrice, 10, 1e-9);
    EXPECT_EQ(p.values().total, 30);

    // A unit change loads its price under the hold: the tax-inclusive price is not rounded.
    LineEntryModel u = opened(PurchaseKind::Receipt);
    u.unitChanged(30.005);
    EXPECT_TRUE(u.priceHold());
    EXPECT_NEAR(u.values().taxPrice, 33.90565, 1e-9);
    EXPECT_NEAR(u.values().total, 33.90565, 1e-9);
    u.change(Box::Price, 1);  // held: nothing follows
    EXPECT_NEAR(u.values().taxPrice, 33.90565, 1e-9);

    // RoundTotals: the total box at TotalDecimals.
    state.RoundTotals = "1";
    state.TotalDecimals = "0";
    state.DefaultTaxRate = "0";
    LineEntryModel r = opened(PurchaseKind::Receipt, 2.35);
    r.change(Box::Quantity, 3);
    EXPECT_EQ(r.values().total, 7);
}

TEST_F(LineDialogRulesTest, OrderAndReturnBoxesHaveTheirOwnRules)
{
    state.DefaultTaxRate = "13";
    // Order: the tax-inclusive price is not rounded; the next price change ends the hold.
    LineEntryModel o = opened(PurchaseKind::Order);
    EXPECT_NEAR(o.values().taxPrice, 3.39, 1e-12);
    o.change(Box::Price, 1.234);
    EXPECT_NEAR(o.values().taxPrice, 1.39442, 1e-12);
    o.unitChanged(30);
    EXPECT_FALSE(o.priceHold());
    // Return: price and tax-inclusive price follow each other, nothing else.
    LineEntryModel r = opened(PurchaseKind::Return);
    EXPECT_NEAR(r.values().taxPrice, 3.39, 1e-12);
    r.change(Box::TaxPrice, 11.3);
    EXPECT_NEAR(r.values().price, 10, 1e-12);
    r.change(Box::Rate, 0);
    EXPECT_NEAR(r.values().taxPrice, 10, 1e-12);
    r.change(Box::Quantity, 5);
    EXPECT_EQ(r.values().total, 0);
}

TEST_F(LineDialogRulesTest, InsertWritesTheLineUnderTheDocumentsNumber)
{
    state.UseTax = "1";
    state.DefaultTaxRate = "13";
    LineEntryModel m = opened(PurchaseKind::Receipt);
    m.change(Box::Price, 10);
    m.change(Box::Quantity, 3);
    DocumentContext c = entry();
    const PurchaseResult r = write(PurchaseKind::Receipt, c, LineMode::Insert, kG2, 0, input(m));
    ASSERT_TRUE(r.done());
    EXPECT_EQ(row("jxc_jhsp", {"gl_djh", "g_sn", "jh_dj", "jh_taxdj", "jh_tax", "jh_je", "jh_taxje", "jh_zje", "jh_zsl",
                               "jh_rksl", "g_sptm", "a_name", "dw_name", "jh_dzl"},
                  r.lineId),
              "CJ25031410001|20000002|10|11.3|13|30|3.9|33.9|3|3|6902|admin|瓶|1");
    EXPECT_EQ(linesChanged, 1);

    // Another operator's line under the number: a new number, which the context takes.
    RunSql(db(), "delete from jxc_jhsp");
    draftLine(kFirstNumber, kG1, 1, 2, "wang");
    const PurchaseResult moved = write(PurchaseKind::Receipt, c, LineMode::Insert, kG2, 0, input(m));
    EXPECT_EQ(moved.number, "CJ25031410002");
    EXPECT_EQ(c.number, "CJ25031410002");
    EXPECT_EQ(renumbered, QStringList{"CJ25031410002"});

    // The order's line: jxc_cgsp under "CD…", the received quantity the quantity whatever
    // SeparateStockIn says.
    state.SeparateStockIn = "1";
    DocumentContext order = entry(PurchaseKind::Order);
    const PurchaseResult o = write(PurchaseKind::Order, order, LineMode::Insert, kG2, 0, input(m));
    EXPECT_EQ(row("jxc_cgsp", {"gl_djh", "jh_sl", "jh_rksl"}, o.lineId), "CD25031410001|3|3");
}

TEST_F(LineDialogRulesTest, ATypedTotalWithoutPriceGivesThePriceOnConfirm)
{
    state.UseDiscount = "1";
    struct Case
    {
        double quantity, total;
        const char *expected;  // jh_dj|jh_taxdj|jh_tax|jh_dzl|jh_je|jh_taxje|jh_zje
    };
    for (const Case c : {Case{3, 10, "3.33|3.33|0|1|9.99|0|10"}, Case{2, 2.01, "1.01|1.01|0|1|2.02|0|2.01"}}) {
        LineEntryModel m = opened(PurchaseKind::Receipt, 0);
        m.change(Box::Quantity, c.quantity);
        m.change(Box::Total, c.total);
        m.keyReleased(Box::Total);
        m.deriveFromTotal();
        DocumentContext ctx = entry();
        const PurchaseResult r = write(PurchaseKind::Receipt, ctx, LineMode::Insert, kG2, 0, input(m));
        EXPECT_EQ(row("jxc_jhsp", {"jh_dj", "jh_taxdj", "jh_tax", "jh_dzl", "jh_je", "jh_taxje", "jh_zje"}, r.lineId),
                  c.expected);
    }
    // Discount off, rate 13, a total of 30 for 3.
    state.UseDiscount = "0";
    state.UseTax = "1";
    state.DefaultTaxRate = "13";
    LineEntryModel m = opened(PurchaseKind::Receipt);
    m.change(Box::Quantity, 3);
    m.change(Box::Total, 30);
    m.keyReleased(Box::Total);
    m.deriveFromTotal();
    DocumentContext ctx = entry();
    const PurchaseResult r = write(PurchaseKind::Receipt, ctx, LineMode::Insert, kG2, 0, input(m));
    EXPECT_EQ(row("jxc_jhsp", {"jh_dj", "jh_taxdj", "jh_je", "jh_taxje", "jh_zje"}, r.lineId), "8.85|10|26.55|3.45|30");
}

TEST_F(LineDialogRulesTest, QuantityZeroIsRefusedAndStoredLinesReopenAsComputed)
{
    LineEntryModel m = opened(PurchaseKind::Receipt);
    m.change(Box::Quantity, 0);
    DocumentContext c = entry();
    EXPECT_EQ(write(PurchaseKind::Receipt, c, LineMode::Insert, kG2, 0, input(m)).status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.texts(), QStringList{"数量不能为0或负数，重新输入！"});
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp"), "0");

    // A stored line whose total had been typed reopens with the computed total.
    const qint64 id = draftLine(kFirstNumber, kG2, 3, 3.33);
    RunSql(db(), "update jxc_jhsp set jh_zje = 10, jh_bz = '旧' where id = ?", {id});
    PurchaseLineWriter writer(db(), state, notices, PurchaseKind::Receipt);
    const LineOpening o = writer.open(c, LineMode::Draft, kG2, id);
    EXPECT_EQ(o.lineNote, "旧");
    LineEntryModel stored(PurchaseLineRules(PurchaseKind::Receipt), state);
    stored.load(o.values);
    stored.applyRateRule();
    EXPECT_NEAR(stored.values().total, 9.99, 1e-9);
    write(PurchaseKind::Receipt, c, LineMode::Draft, kG2, id, input(stored));
    EXPECT_EQ(scalar("select jh_zje from jxc_jhsp where id = ?", {id}), "9.99");
}

TEST_F(LineDialogRulesTest, UnitsOpenWithTheirPricesAndAStoredUnitKeepsItsFactor)
{
    state.UseAuxUnits = "1";
    PurchaseLineWriter writer(db(), state, notices, PurchaseKind::Receipt);
    DocumentContext c = entry();
    const LineOpening o = writer.open(c, LineMode::Insert, kG3, 0);
    EXPECT_EQ(o.units, (QStringList{"瓶", "箱"}));
    EXPECT_EQ(o.values.price, 2.5);
    EXPECT_EQ(writer.unitPrice(kG3, "箱", false), 30);
    state.PurchasePriceDefault = "1";
    EXPECT_EQ(writer.unitPrice(kG3, "箱", false), 28);
    EXPECT_EQ(writer.unitPrice(kG3, "桶", false), 0);
    state.PurchasePriceDefault = "2";

    LineEntryModel m = opened(PurchaseKind::Receipt, 30);
    m.change(Box::Quantity, 2);
    LineInput in = input(m, "箱");
    in.baseUnit = false;
    const PurchaseResult r = write(PurchaseKind::Receipt, c, LineMode::Insert, kG3, 0, in);
    EXPECT_EQ(row("jxc_jhsp", {"jh_zsl", "dw_name", "g_sptm"}, r.lineId), "24|箱|16903");

    // Auxiliary units turned off: the stored 箱 is kept, with its factor 12.
    state.UseAuxUnits = "0";
    const LineOpening stored = writer.open(c, LineMode::Draft, kG3, r.lineId);
    EXPECT_EQ(stored.units, (QStringList{"瓶", "箱"}));
    EXPECT_EQ(stored.unitIndex, 1);
    EXPECT_EQ(stored.storedUnitFactor, 12);
    LineEntryModel three(PurchaseLineRules(PurchaseKind::Receipt), state);
    three.load(stored.values);
    three.change(Box::Quantity, 3);
    LineInput again = input(three, "箱");
    again.storedUnitFactor = stored.storedUnitFactor;
    write(PurchaseKind::Receipt, c, LineMode::Draft, kG3, r.lineId, again);
    EXPECT_EQ(row("jxc_jhsp", {"dw_name", "jh_zsl"}, r.lineId), "箱|36");
}

TEST_F(LineDialogRulesTest, HistoryShowsTheSuppliersTenNewestAuditedLines)
{
    insert("jxc_ghsxx", {{"ghs_sn", "100002"}, {"ghs_name", "二号供货商"}, {"ghs_forbid", 0}});
    for (int i = 1; i <= 12; ++i)
        savedReceipt(QStringLiteral("CJ250301%1").arg(10000 + i), {{kG2, {double(i), 3}}}, 1);
    savedReceipt("CJ25031310001", {{kG2, {99, 3}}}, 1, {{"ghs_sn", "100002"}});
    savedReceipt("CJ25031410001", {{kG2, {77, 3}}}, 0);
    PurchaseLineWriter writer(db(), state, notices, PurchaseKind::Receipt);
    auto numbers = [&] {
        const ListStatement st = writer.history(kG2, "100001");
        return rows("select gl_djh from (" + st.body + ") x order by " + st.order, st.binds).split("; ");
    };
    const QStringList mine = numbers();
    ASSERT_EQ(mine.size(), 10);
    EXPECT_EQ(mine.first(), "CJ25030110012");
    EXPECT_EQ(mine.last(), "CJ25030110003");
    state.ShowSupplierHistory = "0";
    EXPECT_EQ(numbers().first(), "CJ25031310001");
}

TEST_F(LineDialogRulesTest, ReturnLinesCheckTheStockAndKeepTheirSource)
{
    state.UseAuxUnits = "1";
    insert("jxc_kcsp", {{"g_sn", kG3}, {"ck_sn", "100001"}, {"kc_sl", 24.0}});
    PurchaseLineWriter writer(db(), state, notices, PurchaseKind::Return);
    DocumentContext c = entry(PurchaseKind::Return);
    const LineOpening o = writer.open(c, LineMode::BasketAdd, kG3, 0);
    EXPECT_EQ(o.stock, "24");
    EXPECT_EQ(o.sourceLineId, "0");
    LineEntryModel m = opened(PurchaseKind::Return, 30);
    m.change(Box::Quantity, 2);
    LineInput in = input(m, "箱");
    in.stockText = o.stock;
    const PurchaseResult two = writer.write(c, LineMode::BasketAdd, kG3, 0, in);
    ASSERT_TRUE(two.done());
    EXPECT_EQ(row("jxc_tempspxf2", {"ts_zsl", "ts_zje", "gl_djh2", "idck"}, two.lineId), "24|60||0");

    m.change(Box::Quantity, 3);
    in = input(m, "箱");
    in.stockText = o.stock;
    notices.shown.clear();
    EXPECT_EQ(writer.write(c, LineMode::BasketAdd, kG3, 0, in).status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.texts(), QStringList{"库存数量小于退货数量，不能退货！"});
    state.AllowNegativeStock = "1";
    notices.script({Notices::Answer::No, Notices::Answer::Yes});
    EXPECT_EQ(writer.write(c, LineMode::BasketAdd, kG3, 0, in).status, PurchaseStatus::Declined);
    EXPECT_EQ(notices.last(), "库存数量小于退货数量，退货后将产生负库存，继续退货吗?");
    EXPECT_TRUE(writer.write(c, LineMode::BasketAdd, kG3, 0, in).done());
    EXPECT_EQ(scalar("select count(*) from jxc_tempspxf2"), "2");
    m.change(Box::Quantity, -1);
    EXPECT_EQ(writer.write(c, LineMode::BasketAdd, kG3, 0, input(m)).status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.last(), "数量不能为0或负数，重新输入！");

    // A stored return line keeps its source receipt and line.
    const qint64 id = insert("jxc_thsp", {{"gl_djh", "CT25031410001"}, {"g_sn", kG3}, {"a_name", "admin"}, {"th_sl", 1.0},
                                           {"th_dj", 2.5}, {"th_dzl", 1.0}, {"dw_name", "瓶"}, {"gl_djh2", "CJ25030110001"},
                                           {"idck", 42}});
    const LineOpening stored = writer.open(c, LineMode::Draft, kG3, id);
    EXPECT_EQ(stored.sourceNumber, "CJ25030110001");
    EXPECT_EQ(stored.sourceLineId, "42");
}

TEST_F(LineDialogRulesTest, PendingLinesChangeOwnerAndReSumAndTheModesMapToTags)
{
    savedReceipt(kFirstNumber, {{kG2, {1, 3}}});
    const qint64 id = scalar("select id from jxc_jhsp").toLongLong();
    RunSql(db(), "update jxc_jhsp set a_name = 'wang'");
    LineEntryModel m = opened(PurchaseKind::Receipt);
    m.change(Box::Quantity, 4);
    DocumentContext c = pending(kFirstNumber);
    ASSERT_TRUE(write(PurchaseKind::Receipt, c, LineMode::Pending, kG2, id, input(m)).done());
    EXPECT_EQ(row("jxc_jhsp", {"a_name", "jh_sl"}, id), "admin|4");
    EXPECT_EQ(rows("select j_yfje, j_sfje from jxc_jhd"), "12|12");
    EXPECT_EQ(c.pageTag(), "cgjhsh");

    EXPECT_EQ(LineModeFromTag(PurchaseKind::Receipt, "cgjh_new"), LineMode::Insert);
    EXPECT_EQ(LineModeFromTag(PurchaseKind::Order, "cgjh_modish"), LineMode::Pending);
    EXPECT_EQ(LineModeFromTag(PurchaseKind::Return, "cgth_modi"), LineMode::BasketModify);
    EXPECT_EQ(LineModeFromTag(PurchaseKind::Return, "cgth_new"), LineMode::None);
    EXPECT_EQ(LineModeFromTag(PurchaseKind::Receipt, "spxs"), LineMode::None);
    EXPECT_EQ(LineModeTag(PurchaseKind::Return, LineMode::Draft), "cgth");
}

} // namespace
