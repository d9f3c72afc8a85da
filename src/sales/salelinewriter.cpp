#include "sales/salelinewriter.h"

#include "engine/costprice.h"
#include "foundation/basket.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/goods.h"
#include "foundation/linecells.h"
#include "foundation/lineopening.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rowvalues.h"
#include "foundation/saleprice.h"
#include "foundation/sanitize.h"

#include <QSqlQuery>

namespace {

const QString kStem = QStringLiteral("spxs");

// Half away from zero at `decimals`, as the dialog compares prices.
double Rounded(double value, int decimals)
{
    return RoundTo(value, decimals);
}

// The total-only conversion of the sale's linked boxes.
LineEntryModel::Values PricedFromTotal(const LoginState &state, const LineEntryModel::Values &values)
{
    LineEntryModel model(LineRules::Sale, state);
    model.load(values);
    model.deriveFromTotal();
    return model.values();
}

} // namespace

LineMode SaleLineModeFromTag(const QString &tag)
{
    return LineModeOfTag(kStem, tag);
}

QString SaleLineModeTag(LineMode mode)
{
    return LineModeTagOf(kStem, mode);
}

SaleLineWriter::SaleLineWriter(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

bool SaleLineWriter::costShown() const
{
    return IsTrue(m_state.AllowSaleCostEdit) && m_state.RightEditSaleCost;
}

SaleLineOpening SaleLineWriter::open(const DocumentContext &context, LineMode mode, const QString &goods,
                                     qint64 lineId) const
{
    SaleLineOpening o;
    const QString level = GetCustomerLevel(m_db, m_state, context.partner);
    const QVariantList prices = OpenGoodsLabels(
        m_db, m_state, context, goods, {QStringLiteral("g_sj"), QStringLiteral("g_lsj"), LevelPriceColumn(level)}, o);
    o.values.price = prices.value(0).toDouble();
    o.retail = prices.value(1).toDouble();
    if (level != QLatin1String("1000") && prices.value(2).toDouble() != 0.0)
        o.values.price = prices.value(2).toDouble();
    const QString costDay = context.costDay.isEmpty() ? context.day : context.costDay;
    o.cost = GetCostPrice(m_db, m_state, m_clock, goods, context.warehouse, costDay);

    if (mode == LineMode::Insert || mode == LineMode::BasketAdd) {
        o.values.rate = TextToNumber(m_state.DefaultTaxRate);
        const QString price = GetSalePrice(m_db, m_state, context.partner, goods);
        if (!price.isEmpty())
            o.values.price = TextToNumber(price);
        return o;
    }
    if (!IsStoredLineMode(mode))
        return o;

    // The line keeps its own discount, a whole-order factor included.
    const bool basket = IsBasketMode(mode);
    const QString p = basket ? QStringLiteral("ts_") : QStringLiteral("ls_");
    const QString source = basket ? QStringLiteral("gl_djh2") : QStringLiteral("gl_djh3");
    const StoredLineRow row = StoredLineRowOf(SaleDocType(), mode, context.number, m_state.CurrentOperatorName, lineId);
    const std::optional<QVariantMap> more = OpenStoredLine(
        m_db, row, {p + QStringLiteral("lsj"), p + QStringLiteral("cbj2"), source, QStringLiteral("idck")}, o);
    if (!more)
        return o;
    o.retail = more->value(p + QStringLiteral("lsj")).toDouble();
    if (costShown())
        o.cost = more->value(p + QStringLiteral("cbj2")).toDouble();
    o.sourceNumber = more->value(source).toString();
    const QString idck = ValueText(more->value(QStringLiteral("idck")));
    o.sourceLineId = idck.isEmpty() ? QStringLiteral("0") : idck;
    return o;
}

SaleUnitPrice SaleLineWriter::unitPrice(const QString &customer, const QString &goods, const QString &unit,
                                        bool baseUnit) const
{
    SaleUnitPrice p;
    if (baseUnit) {
        p.price = TextToNumber(GetSalePrice(m_db, m_state, customer, goods));
        p.retail = TextToNumber(QueryScalar(m_db, QStringLiteral("select g_lsj from jxc_goods where g_sn = ?"), {goods}));
    } else {
        p.price = TextToNumber(GetSalePriceByUnit(m_db, m_state, customer, goods, unit));
        p.retail = TextToNumber(QueryScalar(
            m_db, QStringLiteral("select g_lsj from jxc_goodsdw where g_sn = ? and dw_name = ? order by id"), {goods, unit}));
    }
    return p;
}

ListStatement SaleLineWriter::saleHistory(const QString &goods, const QString &customer) const
{
    ListStatement st;
    st.body = QStringLiteral("select a.id, b.ls_xsrq, a.gl_djh, a.ls_dj, a.ls_sl, a.ls_zje, a.dw_name from jxc_lsxssp a "
                             "join jxc_lsxsd b on b.gl_djh = a.gl_djh where b.ls_status = 1 and a.g_sn = ?");
    st.binds << goods;
    if (IsNotOff(m_state.ShowCustomerHistory)) {
        st.body += QStringLiteral(" and b.kh_sn = ?");
        st.binds << customer;
    }
    // Twenty rows: the limit is part of the statement, its order the grid's.
    st.body = QStringLiteral("select * from (") + st.body
              + QStringLiteral(" order by a.gl_djh desc, a.id desc limit 20) h");
    st.order = QStringLiteral("gl_djh desc, id desc");
    return st;
}

ListStatement SaleLineWriter::purchaseHistory(const QString &goods) const
{
    return {QStringLiteral("select * from (select a.id, b.j_jhrq, a.gl_djh, a.jh_dj, a.jh_sl, a.jh_zje from jxc_jhsp a "
                           "join jxc_jhd b on b.gl_djh = a.gl_djh where b.j_status = 1 and a.g_sn = ? "
                           "order by a.gl_djh desc, a.id desc limit 10) h"),
            QStringLiteral("gl_djh desc, id desc"),
            {goods}};
}

std::array<double, 6> SaleLineWriter::presetPrices(const QString &goods) const
{
    std::array<double, 6> prices{};
    QSqlQuery q = OpenSelect(m_db, QStringLiteral("select g_sj, g_sj1, g_sj2, g_sj3, g_sj4, g_sj5 from jxc_goods where g_sn = ?"),
                             {goods});
    if (q.next())
        for (int i = 0; i < 6; ++i)
            prices[size_t(i)] = q.value(i).toDouble();
    return prices;
}

SaleResult SaleLineWriter::write(DocumentContext &context, LineMode mode, const QString &goods, qint64 lineId,
                                 const SaleLineInput &in)
{
    SaleResult result;
    result.number = context.number;
    LineEntryModel::Values v = in.values;
    const auto refuse = [&](const QString &text) {
        m_notices.notice(text);
        result.status = SaleStatus::Refused;
        return result;
    };
    const auto declined = [&] {
        result.status = SaleStatus::Declined;
        return result;
    };
    if (v.discount <= 0.0)
        return refuse(QStringLiteral("打折率错误，重新输入！"));
    if (v.quantity <= 0.0)
        return refuse(QStringLiteral("数量不能为0或负数，重新输入！"));
    if (v.discount < MinSaleDiscountOf(m_state))
        return refuse(MinDiscountText(m_state));
    if (mode == LineMode::None)
        return declined();

    const bool adding = mode == LineMode::Insert || mode == LineMode::BasketAdd;
    const QString failure = adding ? QStringLiteral("添加商品失败：") : QStringLiteral("修改商品失败：");
    const int pd = m_state.PriceDecimals;
    double factor = 1.0;
    double presetCost = 0.0;
    QString barcode;
    try {
        factor = in.storedUnitFactor > 0.0 ? in.storedUnitFactor : LineUnitFactor(m_db, m_state, goods, in.unit);
        presetCost = TextToNumber(QueryScalar(m_db, QStringLiteral("select g_jj from jxc_goods where g_sn = ?"), {goods}));
        barcode = GetUnitBarcode(m_db, m_state, goods, in.unit);
    } catch (const DbError &e) {
        m_notices.notice(failure + e.text());
        result.status = SaleStatus::Failed;
        return result;
    }
    if (v.quantity * factor > TextToNumber(in.stockText)) {
        if (!IsTrue(m_state.AllowNegativeStock))
            return refuse(QStringLiteral("库存数量小于销售数量，不能出库！"));
        if (!m_notices.confirm(QStringLiteral("库存数量小于销售数量，销售后将产生负库存，继续销售吗?")))
            return declined();
    }
    // A line given by its total alone is priced before the price questions: they compare the
    // price it sells at, not the 0 typed.
    v = PricedFromTotal(m_state, v);
    const double sold = Rounded(v.price * v.discount, pd);
    if (Rounded(presetCost * factor, pd) > sold
        && !m_notices.confirm(QStringLiteral("打折后售价小于进价，继续销售吗?")))
        return declined();
    const double lineCost = in.cost * factor;
    if (Rounded(lineCost, pd) > sold && !m_notices.confirm(QStringLiteral("该商品销售价格低于其成本价格，是否继续销售?")))
        return declined();

    const double pr = RoundTo(v.price, pd);
    const double tr = RoundTo(v.taxPrice, pd);
    const std::optional<int> rounding = SaleAmountRounding(m_state);
    const auto amount = [&](double x) { return rounding ? RoundTo(x, *rounding) : x; };
    const DocType type = SaleDocType();
    const bool basket = IsBasketMode(mode);
    const QString p = basket ? QStringLiteral("ts_") : QStringLiteral("ls_");
    const auto col = [&](const char *name) { return p + QString::fromLatin1(name); };
    QVariantMap values{{col("dj"), pr},
                       {col("sl"), v.quantity},
                       {col("zje"), v.total},
                       {col("dzl"), v.discount},
                       {col("je"), amount(pr * v.quantity * v.discount)},
                       {col("tax"), v.rate},
                       {col("taxdj"), tr},
                       {col("taxje"), amount((tr - pr) * v.discount * v.quantity)},
                       {col("lsj"), in.retail},
                       {col("zsl"), v.quantity * factor},
                       {QStringLiteral("dw_name"), StripControls(in.unit)},
                       {QStringLiteral("g_sptm"), barcode},
                       {col("cbj"), lineCost},
                       {col("zcb"), amount(v.quantity * lineCost)},
                       {col("cbj2"), in.cost},
                       {basket ? QStringLiteral("ts_zhdj") : QStringLiteral("g_zhxs"), factor},
                       {basket ? QStringLiteral("ts_note") : QStringLiteral("ls_bz"), SafeText(in.note.trimmed())},
                       {basket ? QStringLiteral("gl_djh2") : QStringLiteral("gl_djh3"), in.sourceNumber},
                       {QStringLiteral("idck"), in.sourceLineId.toLongLong()}};
    if (!basket)
        values.insert(QStringLiteral("ls_cksl"), SaleStockOut(m_state, v.quantity));

    if (basket) {
        try {
            Transaction tx(m_db);
            Basket b(m_db, type, m_state);
            if (mode == LineMode::BasketAdd) {
                values.insert(QStringLiteral("g_sn"), goods);
                values.insert(QStringLiteral("t_zp"), QString());
                result.lineId = b.addRow(values);
            } else {
                b.updateRow(lineId, values);
                result.lineId = lineId;
            }
            tx.commit();
        } catch (const DbError &e) {
            m_notices.notice(failure + e.text());
            result.status = SaleStatus::Failed;
        }
        return result;
    }
    DraftLines draft(m_db, type, m_state);
    return RunSaleWrite(m_db, m_notices, context, failure, [&](SaleResult &r) {
        QString number = context.number;
        switch (mode) {
        case LineMode::Insert:
            number = draft.numberForNewLines(context.number, context.day);
            values.insert(QStringLiteral("g_sn"), goods);
            values.insert(QStringLiteral("t_zp"), QString());
            values.insert(QStringLiteral("ls_zhje"), pr);
            values.insert(QStringLiteral("g_tmbz"), QString());
            r.lineId = draft.insertLine(number, values);
            break;
        case LineMode::Draft:
            draft.updateLine(lineId, values);
            r.lineId = lineId;
            break;
        case LineMode::Pending:
            values.insert(QStringLiteral("a_name"), m_state.CurrentOperatorName);
            draft.updateDocumentLine(context.number, lineId, values);
            r.lineId = lineId;
            break;
        default:
            break;
        }
        return number;
    });
}
