// The sale line dialog: what it opens with by mode, the refusals and questions of 确定 in their
// order, the write of each mode, the preset prices of the price chooser and the sale's linked
// boxes, headless; then the dialog itself through its widgets.

#include "sale_fixture.h"

#include "../support/screenfixture.h"

#include "foundation/lineentrymodel.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "sales/forms/salesscreens.h"
#include "sales/forms/spxs_sele.h"
#include "sales/salelinewriter.h"
#include "screenkit/editors.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

using Box = LineEntryModel::Box;

QString Boxes(const LineEntryModel &m)
{
    const LineEntryModel::Values &v = m.values();
    return QStringList{NumberText(v.price),    NumberText(v.quantity), NumberText(v.rate),
                       NumberText(v.taxPrice), NumberText(v.discount), NumberText(v.total)}
        .join('|');
}

class SaleLineDialogTest : public SaleRulesTest
{
protected:
    SaleLineWriter writer() { return SaleLineWriter(db(), state, clock, notices); }

    // The dialog's opening on `goods` in `mode`, with its boxes as the dialog loads them.
    SaleLineOpening open(LineMode mode, const QString &goods, qint64 id = 0, double wholeDiscount = 1.0)
    {
        DocumentContext c = entry();
        c.wholeDiscount = wholeDiscount;
        unitRetail.reset();
        opening = writer().open(c, mode, goods, id);
        model = std::make_unique<LineEntryModel>(LineRules::Sale, state);
        model->load(opening.values);
        model->applyRateRule();
        return opening;
    }
    // 确定 on what the dialog holds: the boxes, the unit chosen (the opening's by default), the
    // opening's retail, cost, note, stock label and source.
    SaleResult confirm(LineMode mode, const QString &goods, qint64 id = 0, const QString &unit = {},
                       const QString &note = {})
    {
        SaleLineInput in;
        in.values = model->values();
        in.unit = unit.isEmpty() ? opening.units.value(opening.unitIndex) : unit;
        in.storedUnitFactor = in.unit == opening.units.value(opening.unitIndex) ? opening.storedUnitFactor : 0.0;
        in.retail = unitRetail.value_or(opening.retail);
        in.cost = opening.cost;
        in.note = note.isNull() ? opening.lineNote : note;
        in.stockText = opening.stock;
        in.sourceNumber = opening.sourceNumber;
        in.sourceLineId = opening.sourceLineId;
        DocumentContext c = entry();
        return writer().write(c, mode, goods, id, in);
    }
    // The dialog's unit list choosing `unit` (not the base unit).
    void chooseUnit(const QString &unit)
    {
        const SaleUnitPrice p = writer().unitPrice(QStringLiteral("100001"), QString::fromLatin1(kA), unit, false);
        unitRetail = p.retail;
        model->unitChanged(p.price);
    }
    QString row(const QString &table, const QString &columns, qint64 id) const
    {
        return rows(QStringLiteral("select %1 from %2 where id = ?").arg(columns, table), {id});
    }
    QString written() const
    {
        return scalar("select count(*) from jxc_lsxssp") + QLatin1Char('/') + scalar("select count(*) from jxc_tempspxf2");
    }

    SaleLineOpening opening;
    std::unique_ptr<LineEntryModel> model;
    std::optional<double> unitRetail;
};

TEST_F(SaleLineDialogTest, TheModeTagsMapToModes)
{
    const QList<QPair<const char *, LineMode>> tags{{"spxs_new", LineMode::Insert},     {"spxs", LineMode::Draft},
                                                     {"spxs_add", LineMode::BasketAdd}, {"spxs_modi", LineMode::BasketModify},
                                                     {"spxs_modish", LineMode::Pending}, {"cgjh_new", LineMode::None},
                                                     {"", LineMode::None}};
    for (const auto &[tag, mode] : tags) {
        EXPECT_EQ(SaleLineModeFromTag(QString::fromLatin1(tag)), mode) << tag;
        if (mode != LineMode::None) {
            EXPECT_EQ(SaleLineModeTag(mode), QString::fromLatin1(tag));
        }
    }
}

TEST_F(SaleLineDialogTest, ANewLineOpensInTheBaseUnitAtTheCustomersPriceWithTheWarehouseCost)
{
    state.DefaultTaxRate = "13";
    for (LineMode mode : {LineMode::Insert, LineMode::BasketAdd}) {
        const SaleLineOpening o = open(mode, kA);
        EXPECT_EQ(o.name, "可乐");
        EXPECT_EQ(o.units, (QStringList{"瓶", "箱"}));
        EXPECT_EQ(o.unitIndex, 0);
        EXPECT_EQ(o.stock, "48");
        EXPECT_EQ(o.values.price, 3.5);
        EXPECT_EQ(o.values.quantity, 1);
        EXPECT_EQ(o.values.discount, 1);
        EXPECT_EQ(o.values.rate, 13);
        EXPECT_EQ(o.retail, 4);
        EXPECT_EQ(o.cost, 2);
        EXPECT_EQ(o.lineNote, "");
        EXPECT_EQ(o.sourceLineId, "0");
    }
    // A quote to the customer is its price; a graded customer without one gets its level's price.
    InsertRow(db(), "jxc_khbj", {{"g_sn", kA}, {"kh_sn", "100001"}, {"kb_bj", 3.3}, {"kb_bjrq", "2025-03-01"}});
    EXPECT_EQ(open(LineMode::Insert, kA).values.price, 3.3);
    EXPECT_EQ(open(LineMode::Insert, kB).values.price, 3);
    EXPECT_EQ(open(LineMode::Insert, kB).cost, 2.5);
}

TEST_F(SaleLineDialogTest, AStoredLineOpensWithItsOwnValuesAndItsCostOnlyWhenTheCostBoxShows)
{
    const qint64 id = line(kA, 3, 3.2, "admin",
                           {{"ls_tax", 13.0}, {"ls_taxdj", 3.62}, {"ls_lsj", 4.2}, {"ls_bz", "旧"}, {"ls_cbj2", 1.5},
                            {"gl_djh3", "CJ25031410001"}, {"idck", 7}});
    const SaleLineOpening o = open(LineMode::Draft, kA, id);
    EXPECT_EQ(o.values.price, 3.2);
    EXPECT_EQ(o.values.quantity, 3);
    EXPECT_EQ(o.values.rate, 13);
    EXPECT_EQ(o.retail, 4.2);
    EXPECT_EQ(o.lineNote, "旧");
    EXPECT_EQ(o.sourceNumber, "CJ25031410001");
    EXPECT_EQ(o.sourceLineId, "7");
    // The dialog's boxes follow from price and rate: 3.2 × 1.13 = 3.616 → 3.62.
    EXPECT_EQ(Boxes(*model), "3.2|3|13|3.62|1|10.86");

    // The cost box hidden: the warehouse cost is written back; shown: the line's own is kept.
    EXPECT_EQ(o.cost, 2);
    ASSERT_TRUE(confirm(LineMode::Draft, kA, id).done());
    EXPECT_EQ(row("jxc_lsxssp", "ls_cbj2, ls_cbj, ls_zcb, gl_djh3, idck", id), "2|2|6|CJ25031410001|7");
    state.AllowSaleCostEdit = "1";
    state.RightEditSaleCost = true;
    RunSql(db(), "update jxc_lsxssp set ls_cbj2 = 1.5 where id = ?", {id});
    EXPECT_EQ(open(LineMode::Draft, kA, id).cost, 1.5);
    ASSERT_TRUE(confirm(LineMode::Draft, kA, id).done());
    EXPECT_EQ(row("jxc_lsxssp", "ls_cbj2, ls_cbj, ls_zcb", id), "1.5|1.5|4.5");

    // Another operator's line, or one of another number, is not opened: the goods' defaults.
    const qint64 other = line(kA, 5, 3.4, "op2");
    EXPECT_EQ(open(LineMode::Draft, kA, other).values.quantity, 1);
}

// A sale with a whole-order factor: its lines opened in the dialog keep their discount, and 确定
// writes it back instead of full price.
TEST_F(SaleLineDialogTest, AStoredDiscountIsKeptUnderAWholeOrderFactor)
{
    const qint64 id = line(kA, 2, 3.5, "admin", {{"ls_dzl", 0.9}, {"ls_je", 6.3}, {"ls_zje", 6.3}});
    EXPECT_EQ(open(LineMode::Draft, kA, id, 0.9).values.discount, 0.9);
    EXPECT_EQ(Boxes(*model), "3.5|2|0|3.5|0.9|6.3");
    model->change(Box::Quantity, 3);
    ASSERT_TRUE(confirm(LineMode::Draft, kA, id).done());
    EXPECT_EQ(row("jxc_lsxssp", "ls_sl, ls_dzl, ls_je, ls_zje", id), "3|0.9|9.45|9.45");

    // The basket row keeps its discount the same way.
    const qint64 basket = InsertRow(db(), "jxc_tempspxf2",
                                    {{"g_sn", kA}, {"a_name", "admin"}, {"ts_dj", 3.5}, {"ts_sl", 1.0}, {"ts_zsl", 1.0},
                                     {"ts_dzl", 0.9}, {"ts_tax", 0.0}, {"ts_taxdj", 3.5}, {"ts_je", 3.15},
                                     {"ts_zje", 3.15}, {"dw_name", "瓶"}, {"ts_zhdj", 1.0}, {"t_zp", ""}});
    EXPECT_EQ(open(LineMode::BasketModify, kA, basket, 0.9).values.discount, 0.9);
}

// A line kept in an auxiliary unit after auxiliary units were turned off: the unit stays on the
// list, chosen, with the line's own factor, so 3 箱 are 36 bottles and not 3.
TEST_F(SaleLineDialogTest, AStoredUnitMissingFromTheListKeepsTheLinesFactor)
{
    const qint64 id = line(kA, 2, 40, "admin",
                           {{"dw_name", "箱"}, {"ls_zsl", 24.0}, {"g_zhxs", 12.0}, {"ls_cbj", 24.0}, {"ls_zcb", 48.0},
                            {"g_sptm", "6912"}});
    state.UseAuxUnits = "0";
    const SaleLineOpening o = open(LineMode::Draft, kA, id);
    EXPECT_EQ(o.units, (QStringList{"瓶", "箱"}));
    EXPECT_EQ(o.unitIndex, 1);
    EXPECT_EQ(o.storedUnitFactor, 12);
    model->change(Box::Quantity, 3);
    ASSERT_TRUE(confirm(LineMode::Draft, kA, id).done());
    EXPECT_EQ(row("jxc_lsxssp", "dw_name, ls_sl, ls_zsl, g_zhxs, ls_cbj, ls_zcb, ls_zje", id), "箱|3|36|12|24|72|120");

    // Quantity 0 in that unit: factor 1 on the stored line.
    const qint64 zero = line(kA, 0, 40, "admin", {{"dw_name", "箱"}, {"ls_zsl", 0.0}});
    EXPECT_EQ(open(LineMode::Draft, kA, zero).storedUnitFactor, 1);
}

TEST_F(SaleLineDialogTest, RefusalsComeInOrderAndWriteNothing)
{
    struct Case
    {
        double discount, quantity;
        const char *unit;
        double price;
        const char *text;
    };
    const Case cases[] = {
        {0, 0, "瓶", 3.5, "打折率错误，重新输入！"},
        {-1, 1, "瓶", 3.5, "打折率错误，重新输入！"},
        {0.5, 0, "瓶", 3.5, "数量不能为0或负数，重新输入！"},
        {1, -2, "瓶", 3.5, "数量不能为0或负数，重新输入！"},
        {0.75, 100, "瓶", 3.5, "商品的最低折扣为：“0.8”，\r\n\r\n打折率不能低于最低折扣！"},
        {1, 49, "瓶", 3.5, "库存数量小于销售数量，不能出库！"},
        // 5 箱 are 60 bottles; refused before the price questions of a price under the cost.
        {1, 5, "箱", 1, "库存数量小于销售数量，不能出库！"},
    };
    for (const LineMode mode : {LineMode::Insert, LineMode::BasketAdd}) {
        for (const Case &c : cases) {
            notices.shown.clear();
            open(mode, kA);
            if (QString::fromUtf8(c.unit) != "瓶")
                chooseUnit(QString::fromUtf8(c.unit));
            model->change(Box::Price, c.price);
            model->change(Box::Discount, c.discount);
            model->change(Box::Quantity, c.quantity);
            const SaleResult r = confirm(mode, kA, 0, QString::fromUtf8(c.unit));
            EXPECT_EQ(r.status, SaleStatus::Refused) << c.text;
            EXPECT_EQ(notices.texts(), QStringList{QString::fromUtf8(c.text)});
        }
    }
    EXPECT_EQ(written(), "0/0");
    EXPECT_EQ(linesChanged, 0);

    // The limits themselves pass: discount 0.8, 4 箱 (48 bottles).
    open(LineMode::Insert, kA);
    model->change(Box::Discount, 0.8);
    ASSERT_TRUE(confirm(LineMode::Insert, kA).done());
    EXPECT_EQ(lines("ls_dzl, ls_zje"), "0.8|2.8");
    open(LineMode::Insert, kA);
    chooseUnit("箱");
    model->change(Box::Quantity, 4);
    EXPECT_TRUE(confirm(LineMode::Insert, kA, 0, "箱").done());

    // Negative stock allowed: the shortage is a question, and No writes nothing.
    state.AllowNegativeStock = "1";
    notices.shown.clear();
    notices.script({Notices::Answer::No});
    open(LineMode::Insert, kA);
    model->change(Box::Quantity, 49);
    EXPECT_EQ(confirm(LineMode::Insert, kA).status, SaleStatus::Declined);
    EXPECT_EQ(notices.texts(), QStringList{"库存数量小于销售数量，销售后将产生负库存，继续销售吗?"});
    EXPECT_EQ(written(), "2/0");
}

TEST_F(SaleLineDialogTest, ASalePriceUnderThePurchasePriceOrTheCostIsAsked)
{
    const QString belowPurchase = "打折后售价小于进价，继续销售吗?";
    const QString belowCost = "该商品销售价格低于其成本价格，是否继续销售?";
    struct Case
    {
        const char *goods;
        double price, discount;
        QStringList asked;  // every question answered Yes
    };
    // A: purchase price 2.20, cost 2.00; B: 2.20 and 2.50.
    const Case cases[] = {
        {kA, 2.1, 1, {belowPurchase}},
        {kA, 1.9, 1, {belowPurchase, belowCost}},
        {kB, 2.4, 1, {belowCost}},
        {kA, 2.75, 0.8, {}},  // 2.20 sold at 2.20 is not below
        {kA, 2.7, 0.8, {belowPurchase}},
    };
    for (const Case &c : cases) {
        // Any No leaves nothing written.
        for (int no = 0; no < c.asked.size(); ++no) {
            notices.shown.clear();
            for (int i = 0; i < no; ++i)
                notices.script({Notices::Answer::Yes});
            notices.script({Notices::Answer::No});
            open(LineMode::Insert, c.goods);
            model->change(Box::Price, c.price);
            model->change(Box::Discount, c.discount);
            EXPECT_EQ(confirm(LineMode::Insert, c.goods).status, SaleStatus::Declined);
            EXPECT_EQ(notices.texts(), c.asked.mid(0, no + 1)) << c.goods << " " << c.price;
            EXPECT_EQ(written(), "0/0");
        }
        notices.shown.clear();
        open(LineMode::Insert, c.goods);
        model->change(Box::Price, c.price);
        model->change(Box::Discount, c.discount);
        EXPECT_TRUE(confirm(LineMode::Insert, c.goods).done());
        EXPECT_EQ(notices.texts(), c.asked) << c.goods << " " << c.price;
        RunSql(db(), "delete from jxc_lsxssp");
    }
    // In a unit of 12 the purchase price and the cost count 12 times: 40 a 箱 is above both.
    notices.shown.clear();
    open(LineMode::Insert, kA);
    chooseUnit("箱");
    EXPECT_TRUE(confirm(LineMode::Insert, kA, 0, "箱").done());
    EXPECT_EQ(notices.texts(), QStringList{});
    notices.shown.clear();
    open(LineMode::Insert, kA);
    chooseUnit("箱");
    model->change(Box::Price, 25);
    notices.script({Notices::Answer::No});
    EXPECT_EQ(confirm(LineMode::Insert, kA, 0, "箱").status, SaleStatus::Declined);
    EXPECT_EQ(notices.texts(), QStringList{belowPurchase});
}

// A line given by its total alone: priced from the total before the price questions, which
// therefore compare 25 and not 0 against the purchase price.
TEST_F(SaleLineDialogTest, ATotalOnlyLineIsPricedBeforeThePriceQuestions)
{
    state.DefaultTaxRate = "13";
    open(LineMode::Insert, kA);
    model->change(Box::Price, 0);
    model->change(Box::Quantity, 4);
    model->change(Box::Total, 100);
    model->keyReleased(Box::Total);
    EXPECT_EQ(model->values().price, 0);
    notices.fallback = Notices::Answer::No;
    const SaleResult r = confirm(LineMode::Insert, kA);
    ASSERT_TRUE(r.done());
    EXPECT_EQ(notices.texts(), QStringList{});
    EXPECT_EQ(row("jxc_lsxssp", "ls_dj, ls_taxdj, ls_dzl, ls_tax, ls_je, ls_taxje, ls_zje, ls_zhje", r.lineId),
              "25|25|1|0|100|0|100|25");

    // A total-only line under the purchase price is still asked about, at its derived price.
    RunSql(db(), "delete from jxc_lsxssp");
    open(LineMode::Insert, kA);
    model->change(Box::Price, 0);
    model->change(Box::Quantity, 4);
    model->change(Box::Total, 8);
    model->keyReleased(Box::Total);
    EXPECT_EQ(confirm(LineMode::Insert, kA).status, SaleStatus::Declined);
    EXPECT_EQ(notices.texts(), QStringList{"打折后售价小于进价，继续销售吗?"});
    EXPECT_EQ(written(), "0/0");
}

TEST_F(SaleLineDialogTest, TypedTotalsAndTaxInclusivePricesAreWrittenAsDerived)
{
    struct Case
    {
        const char *useDiscount, *rate;
        Box typedBox;
        double quantity, typed;
        const char *expected;  // ls_dj|ls_taxdj|ls_dzl|ls_tax|ls_je|ls_taxje|ls_zje
    };
    const Case cases[] = {
        // Discount off: the price follows the total, kept as typed.
        {"0", "0", Box::Total, 6, 50, "8.33|8.33|1|0|49.98|0|50"},
        // Discount on: the discount follows the total.
        {"1", "0", Box::Total, 4, 12.6, "3.5|3.5|0.9|0|12.6|0|12.6"},
        // The tax-inclusive price gives the price.
        {"1", "13", Box::TaxPrice, 2, 11.3, "10|11.3|1|13|20|2.6|22.6"},
    };
    for (const Case &c : cases) {
        state.UseDiscount = c.useDiscount;
        state.DefaultTaxRate = c.rate;
        open(LineMode::Insert, kA);
        model->change(Box::Quantity, c.quantity);
        model->change(c.typedBox, c.typed);
        model->keyReleased(c.typedBox);
        const SaleResult r = confirm(LineMode::Insert, kA);
        ASSERT_TRUE(r.done());
        EXPECT_EQ(row("jxc_lsxssp", "ls_dj, ls_taxdj, ls_dzl, ls_tax, ls_je, ls_taxje, ls_zje", r.lineId), c.expected);
    }
}

TEST_F(SaleLineDialogTest, EachModeWritesItsRow)
{
    // "spxs_new": a line of the operator under the number, in 箱, with the note made safe.
    open(LineMode::Insert, kA);
    chooseUnit("箱");
    model->change(Box::Quantity, 4);
    SaleResult r = confirm(LineMode::Insert, kA, 0, "箱", "加急'处理");
    ASSERT_TRUE(r.done());
    EXPECT_EQ(r.number, kSaleNumber);
    EXPECT_EQ(linesChanged, 1);
    EXPECT_EQ(row("jxc_lsxssp",
                  "gl_djh, g_sn, a_name, t_zp, g_tmbz, dw_name, g_sptm, g_zhxs, ls_sl, ls_zsl, ls_cksl, ls_dj, "
                  "ls_zhje, ls_lsj, ls_je, ls_zje, ls_cbj, ls_zcb, ls_cbj2, ls_bz",
                  r.lineId),
              "XS25031410001|20000001|admin|||箱|6912|12|4|48|4|40|40|45|160|160|24|96|2|加急‘处理");
    const qint64 lineId = r.lineId;

    // "spxs": the same line, 3 箱 now; goods, operator and gift mark stay.
    open(LineMode::Draft, kA, lineId);
    EXPECT_EQ(opening.units.value(opening.unitIndex), "箱");
    EXPECT_EQ(opening.lineNote, "加急‘处理");
    model->change(Box::Quantity, 3);
    ASSERT_TRUE(confirm(LineMode::Draft, kA, lineId).done());
    EXPECT_EQ(row("jxc_lsxssp", "a_name, g_sn, ls_sl, ls_zsl, ls_zcb, ls_zje", lineId), "admin|20000001|3|36|72|120");
    EXPECT_EQ(linesChanged, 2);

    // Stock leaving separately: the line leaves nothing now.
    state.SeparateStockOut = "1";
    open(LineMode::Draft, kA, lineId);
    ASSERT_TRUE(confirm(LineMode::Draft, kA, lineId).done());
    EXPECT_EQ(row("jxc_lsxssp", "ls_cksl", lineId), "0");

    // "spxs_add" and "spxs_modi": the basket row, the unit factor in ts_zhdj; no line heard of.
    open(LineMode::BasketAdd, kB);
    model->change(Box::Quantity, 2);
    r = confirm(LineMode::BasketAdd, kB);
    ASSERT_TRUE(r.done());
    EXPECT_EQ(row("jxc_tempspxf2", "g_sn, a_name, t_zp, dw_name, ts_zhdj, ts_sl, ts_zsl, ts_dj, ts_je, ts_zje, ts_cbj, "
                                   "ts_zcb, ts_cbj2, ts_lsj",
                  r.lineId),
              "20000002|admin||瓶|1|2|2|3|6|6|2.5|5|2.5|3.5");
    open(LineMode::BasketModify, kB, r.lineId);
    EXPECT_EQ(opening.values.quantity, 2);
    model->change(Box::Quantity, 3);
    ASSERT_TRUE(confirm(LineMode::BasketModify, kB, r.lineId).done());
    EXPECT_EQ(row("jxc_tempspxf2", "ts_sl, ts_zcb, ts_zje", r.lineId), "3|7.5|9");
    EXPECT_EQ(scalar("select count(*) from jxc_tempspxf2"), "1");
    EXPECT_EQ(linesChanged, 3);
}

TEST_F(SaleLineDialogTest, APendingLineBecomesTheOperatorsAndANewLineFollowsANewNumber)
{
    // "spxs_modish": op2's line of the pending sale; the line becomes admin's.
    PendingSaleHeader(db(), "XS25031310001", 7, 7);
    const qint64 pending = SaleLine(db(), "XS25031310001", kA, 2, 3.5, "op2");
    DocumentContext c = entry();
    c.page = DocPage::Pending;
    c.number = "XS25031310001";
    opening = writer().open(c, LineMode::Pending, kA, pending);
    EXPECT_EQ(opening.values.quantity, 2);
    SaleLineInput in;
    in.values = opening.values;
    in.values.quantity = 3;
    in.values.total = 10.5;
    in.unit = "瓶";
    in.retail = opening.retail;
    in.cost = opening.cost;
    in.stockText = opening.stock;
    ASSERT_TRUE(writer().write(c, LineMode::Pending, kA, pending, in).done());
    EXPECT_EQ(row("jxc_lsxssp", "gl_djh, a_name, ls_sl, ls_zje", pending), "XS25031310001|admin|3|10.5");

    // "spxs_new" while op2 holds lines under the number: a new number, admin's earlier line moves
    // with it, op2's stays.
    const qint64 mine = line(kB, 1, 3);
    const qint64 theirs = line(kB, 1, 3, "op2");
    open(LineMode::Insert, kA);
    const SaleResult r = confirm(LineMode::Insert, kA);
    ASSERT_TRUE(r.done());
    EXPECT_EQ(r.number, "XS25031410002");
    EXPECT_EQ(renumbered, QStringList{"XS25031410002"});
    EXPECT_EQ(row("jxc_lsxssp", "gl_djh", r.lineId), "XS25031410002");
    EXPECT_EQ(row("jxc_lsxssp", "gl_djh", mine), "XS25031410002");
    EXPECT_EQ(row("jxc_lsxssp", "gl_djh", theirs), "XS25031410001");
}

TEST_F(SaleLineDialogTest, ThePriceChooserOffersTheSixBasePrices)
{
    RunSql(db(), "update jxc_goods set g_sj1 = 3.3, g_sj2 = 3.2, g_sj3 = 3.1, g_sj4 = 3, g_sj5 = 2.9 where g_sn = ?",
           {kA});
    const std::array<double, 6> expected{3.5, 3.3, 3.2, 3.1, 3.0, 2.9};
    EXPECT_EQ(writer().presetPrices(kA), expected);
    EXPECT_EQ(writer().presetPrices("99999999"), (std::array<double, 6>{}));

    // Taken in 箱, the chosen base price is the line's price all the same.
    open(LineMode::Insert, kA);
    chooseUnit("箱");
    model->change(Box::Quantity, 2);
    EXPECT_EQ(Boxes(*model), "40|2|0|40|1|80");
    model->change(Box::Price, writer().presetPrices(kA)[3]);
    EXPECT_EQ(Boxes(*model), "3.1|2|0|3.1|1|6.2");
}

TEST_F(SaleLineDialogTest, TheSaleBoxesFollowEachOther)
{
    LineEntryModel m(LineRules::Sale, state);
    LineEntryModel::Values v;
    v.price = 10;
    m.load(v);
    m.applyRateRule();
    EXPECT_EQ(Boxes(m), "10|1|0|10|1|10");

    // A discount recomputes from the price; 0 changes nothing; the label is discount × price.
    m.change(Box::Discount, 0.85);
    EXPECT_EQ(Boxes(m), "10|1|0|10|0.85|8.5");
    EXPECT_EQ(m.discountedPrice(), 8.5);
    m.change(Box::Discount, 0);
    EXPECT_EQ(Boxes(m), "10|1|0|10|0|8.5");
    m.change(Box::Discount, 1);

    // A rate gives the tax-inclusive price rounded to PriceDecimals; the quantity the total.
    m.change(Box::Rate, 13);
    m.change(Box::Quantity, 3);
    EXPECT_EQ(Boxes(m), "10|3|13|11.3|1|33.9");
    m.change(Box::Price, 3.333);
    EXPECT_EQ(Boxes(m), "3.333|3|13|3.77|1|11.31");

    // The tax-inclusive price typed: the price follows, the typed value stays; the guard is down.
    m.change(Box::TaxPrice, 22.6);
    m.keyReleased(Box::TaxPrice);
    EXPECT_EQ(Boxes(m), "20|3|13|22.6|1|67.8");
    EXPECT_FALSE(m.priceHold());

    // A unit is a plain price change (no hold).
    m.unitChanged(40);
    EXPECT_EQ(Boxes(m), "40|3|13|45.2|1|135.6");
    EXPECT_FALSE(m.priceHold());

    // The total typed: with discounts the discount follows, the total stays as typed.
    m.change(Box::Total, 122.04);
    m.keyReleased(Box::Total);
    EXPECT_NEAR(m.values().discount, 0.9, 1e-12);
    EXPECT_EQ(m.values().total, 122.04);
    EXPECT_EQ(m.values().price, 40);

    // Without discounts the price follows.
    state.UseDiscount = "0";
    m.change(Box::Discount, 1);
    m.change(Box::Total, 90.4);
    m.keyReleased(Box::Total);
    EXPECT_NEAR(m.values().price, 90.4 / 3 / 1.13, 1e-9);
    EXPECT_NEAR(m.values().taxPrice, 90.4 / 3, 1e-9);
    EXPECT_EQ(m.values().total, 90.4);

    // With RoundTotals the total rounds to TotalDecimals.
    state.RoundTotals = "1";
    state.TotalDecimals = "1";
    m.change(Box::Quantity, 1);
    EXPECT_EQ(m.values().total, 30.1);
}

// ---- The dialog through its widgets --------------------------------------------------------

class SaleLineScreenTest : public ScreenFixture
{
protected:
    void SetUp() override
    {
        clock.set(QDateTime(QDate(2025, 3, 14), QTime(10, 30, 0)));
        ScreenFixture::SetUp();
        if (IsSkipped())
            return;
        reloadState();
        SeedSaleSet(db());
        RegisterMasterdataScreens(registry);
        RegisterSalesScreens(registry);
    }
    void reloadState() override
    {
        ScreenFixture::reloadState();
        SetSaleDefaults(state);
    }
    static void typeInto(MoneyEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(SaleLineScreenTest, F5WritesTheLineAsShown)
{
    RunSql(db(), "update jxc_goods set g_sj3 = 3.1 where g_sn = ?", {kA});
    DocumentContext c;
    c.type = SaleDocType();
    c.number = kSaleNumber;
    c.day = "2025-03-14";
    c.warehouse = "100001";
    c.partner = "100001";
    int changed = 0;
    c.linesChanged = [&] { ++changed; };
    std::unique_ptr<QDialog> d(registry.create(sales::kLineDialog, QString(), context()));
    SetDocumentContext(d.get(), &c);
    d->setProperty(handoff::LineTag, "spxs_new");
    d->setProperty(handoff::GoodsCode, kA);
    whenShown(sales::kLineDialog, [&](QDialog *shown) {
        EXPECT_EQ(shown->windowTitle(), "商品信息(商品销售)");
        EXPECT_EQ(shown->findChild<QLabel *>("kc_sl")->text(), "48");
        auto *quantity = shown->findChild<MoneyEdit *>("tsl");
        EXPECT_EQ(shown->focusWidget(), quantity);
        typeInto(quantity, "0");
        PressKey(shown, Qt::Key_F5);
        EXPECT_TRUE(shown->isVisible());
        typeInto(quantity, "3");
        EXPECT_EQ(shown->findChild<MoneyEdit *>("tzje")->value(), 10.5);
        typeInto(shown->findChild<MoneyEdit *>("tdzl"), "0.9");
        EXPECT_EQ(shown->findChild<QLabel *>("lzhj")->text(), "3.15");
        // The price chooser's third level, in 箱: the base price all the same.
        shown->findChild<QComboBox *>("comDw")->setCurrentIndex(1);
        EXPECT_EQ(shown->findChild<MoneyEdit *>("tgsj")->value(), 40);
        whenShown(sales::kPriceChooser, [](QDialog *chooser) {
            EXPECT_EQ(chooser->findChild<QLabel *>("lname")->text(), "可乐");
            auto *level3 = chooser->findChild<MoneyEdit *>("tsj3");
            QTest::mouseDClick(level3, Qt::LeftButton);
        });
        static_cast<TF_Spxs_Sele *>(shown)->choosePrice();
        EXPECT_EQ(shown->findChild<MoneyEdit *>("tgsj")->value(), 3.1);
        shown->findChild<QComboBox *>("comDw")->setCurrentIndex(0);
        typeInto(shown->findChild<MoneyEdit *>("tgsj"), "3.5");
        shown->findChild<QLineEdit *>("tbz")->setText("加急");
        PressKey(shown, Qt::Key_F5);
    });
    EXPECT_EQ(d->exec(), QDialog::Accepted);
    EXPECT_EQ(notices.texts(), QStringList{"数量不能为0或负数，重新输入！"});
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(RowsText(db(), "select gl_djh, a_name, ls_sl, ls_dj, ls_dzl, ls_je, ls_zje, dw_name, ls_bz from jxc_lsxssp"),
              "XS25031410001|admin|3|3.5|0.9|9.45|9.45|瓶|加急");
}

} // namespace
