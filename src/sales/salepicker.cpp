#include "sales/salepicker.h"

#include "engine/costprice.h"
#include "foundation/basket.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/pickerbatch.h"
#include "foundation/saleprice.h"
#include "sales/pendingsales.h"
#include "sales/saleentry.h"

#include <QSqlQuery>

namespace {

const QString kBase = QStringLiteral("coalesce(a.g_jy, 0) = 0 and a.g_sn <> '00000000'");

// The document's whole-order factor; 0 or less counts as 1.
double WholeFactor(const DocumentContext &context)
{
    return context.wholeDiscount > 0.0 ? context.wholeDiscount : 1.0;
}

} // namespace

ListStatement SalePickerQuery::goods(const QString &warehouse, const QString &customer,
                                     const SalePickerFilters &filters) const
{
    ListStatement st;
    const bool negative = IsTrue(m_state.AllowNegativeStock);
    QString where = kBase;
    if (!negative) {
        st.body = QStringLiteral("select a.*, b.kc_sl from jxc_goods a join jxc_kcsp b on b.g_sn = a.g_sn and b.ck_sn = ? "
                                 "where b.kc_sl > 0 and ");
        st.binds << warehouse;
    } else {
        st.body = QStringLiteral("select a.*, coalesce(b.kc_sl, 0) as kc_sl from jxc_goods a %1 jxc_kcsp b "
                                 "on b.g_sn = a.g_sn and b.ck_sn = ? where ")
                      .arg(filters.warehouse ? QStringLiteral("join") : QStringLiteral("left join"));
        st.binds << warehouse;
    }
    if (filters.customer) {
        // Goods of the customer's audited sales (from this warehouse when shortages are refused).
        where += QStringLiteral(" and exists (select 1 from jxc_lsxssp x join jxc_lsxsd y on y.gl_djh = x.gl_djh "
                                "where x.g_sn = a.g_sn and y.ls_status = 1 and y.kh_sn = ?");
        st.binds << customer;
        if (!negative) {
            where += QStringLiteral(" and y.ck_sn = ?");
            st.binds << warehouse;
        }
        where += QStringLiteral(")");
    }
    if (!filters.classSn.isEmpty()) {
        where += QStringLiteral(" and a.gc_sn = ?");
        st.binds << filters.classSn;
    }
    st.body += where;
    st.order = QStringLiteral("a.g_xspl desc, a.g_sn");
    return st;
}

QString SalePickerQuery::sortExpression(const QString &field)
{
    return field == QLatin1String("kc_sl") ? QStringLiteral("b.kc_sl") : QStringLiteral("a.") + field;
}

ListStatement SalePickerQuery::basket() const
{
    return PickerBasketStatement(SaleDocType(), m_state);
}

SalePickerRules::SalePickerRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

void SalePickerRules::open()
{
    ClearOperatorTemp(m_db, m_state.CurrentOperatorName);
}

int SalePickerRules::basketCount() const
{
    return Basket(m_db, SaleDocType(), m_state).count();
}

bool SalePickerRules::mayAddOne(const DocumentContext &context, const QString &goods)
{
    if (!Basket(m_db, SaleDocType(), m_state).pickedAlready(context.number, goods, !context.pending()))
        return true;
    return m_notices.confirm(QStringLiteral("该商品已添加，需要重复添加吗？"));
}

int SalePickerRules::addDirect(const DocumentContext &context, const QList<SalePickedGoods> &goods,
                               double defaultQuantity)
{
    if (defaultQuantity <= 0.0) {
        m_notices.notice(QStringLiteral("默认添加数量必须大于0！"));
        return -1;
    }
    const DocType type = SaleDocType();
    try {
        Basket basket(m_db, type, m_state);
        // The answers first (one question per batch), then the rows in one transaction.
        PickerBatchAnswers answers(m_notices);
        QStringList chosen;
        for (const SalePickedGoods &g : goods) {
            if (!answers.passDuplicate(basket.pickedAlready(context.number, g.goods)))
                continue;
            if (!answers.passShortage(g.stock, IsTrue(m_state.AllowNegativeStock),
                                      QStringLiteral("库存数量小于销售数量，不能销售！"),
                                      QStringLiteral("库存数量小于销售数量，销售后将产生负库存，继续销售吗?")))
                continue;
            chosen << g.goods;
        }
        const double q = defaultQuantity;
        const double t = TextToNumber(m_state.DefaultTaxRate) / 100.0;
        const double d = WholeFactor(context);
        const QString costDay = context.costDay.isEmpty() ? context.day : context.costDay;
        const std::optional<int> rounding = SaleAmountRounding(m_state);
        const auto amount = [&rounding](double x) { return rounding ? RoundTo(x, *rounding) : x; };
        Transaction tx(m_db);
        for (const QString &code : std::as_const(chosen)) {
            QSqlQuery row = OpenSelect(m_db, QStringLiteral("select g_lsj, dw_name, g_sptm from jxc_goods where g_sn = ?"),
                                       {code});
            double retail = 0.0;
            QString unit, barcode;
            if (row.next()) {
                retail = row.value(0).toDouble();
                unit = row.value(1).toString();
                barcode = row.value(2).toString();
            }
            const double p = TextToNumber(GetSalePrice(m_db, m_state, context.partner, code));
            const double c = GetCostPrice(m_db, m_state, m_clock, code, context.warehouse, costDay);
            basket.addRow({{QStringLiteral("g_sn"), code},
                           {QStringLiteral("ts_dj"), RoundTo(p, m_state.PriceDecimals)},
                           {QStringLiteral("ts_sl"), q},
                           {QStringLiteral("ts_zje"), amount(q * p * (1.0 + t) * d)},
                           {QStringLiteral("ts_dzl"), d},
                           {QStringLiteral("t_zp"), QString()},
                           {QStringLiteral("ts_je"), amount(q * p * d)},
                           {QStringLiteral("ts_tax"), t * 100.0},
                           {QStringLiteral("ts_taxdj"), RoundTo((1.0 + t) * p, m_state.PriceDecimals)},
                           {QStringLiteral("ts_taxje"), amount(q * p * t * d)},
                           {QStringLiteral("ts_lsj"), retail},
                           {QStringLiteral("ts_zsl"), q},
                           {QStringLiteral("dw_name"), unit},
                           {QStringLiteral("g_sptm"), barcode},
                           {QStringLiteral("ts_cbj"), c},
                           {QStringLiteral("ts_zcb"), amount(q * c)},
                           {QStringLiteral("ts_cbj2"), c},
                           {QStringLiteral("ts_zhdj"), 1.0},
                           {QStringLiteral("gl_djh2"), QString()},
                           {QStringLiteral("idck"), 0}});
        }
        tx.commit();
        return int(chosen.size());
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("添加商品失败：") + e.text());
        return -1;
    }
}

bool SalePickerRules::editCell(qint64 rowId, LineCell cell, const QString &typed)
{
    return SaleEntry(m_db, m_state, m_clock, m_notices).editCell(SaleCellPlace::Basket, QString(), rowId, cell, typed);
}

bool SalePickerRules::removeRow(qint64 rowId)
{
    return RemoveBasketRow(m_db, SaleDocType(), m_state, m_notices, rowId);
}

bool SalePickerRules::removeAll()
{
    return EmptyBasket(m_db, m_state, m_notices);
}

SaleResult SalePickerRules::confirm(DocumentContext &context)
{
    const DocType type = SaleDocType();
    return RunSaleWrite(m_db, m_notices, context, QStringLiteral("添加商品失败："), [&](SaleResult &) {
        Basket basket(m_db, type, m_state);
        basket.dropEmptyCodes();
        const QString number = context.pending()
                                   ? context.number
                                   : DraftLines(m_db, type, m_state).numberForNewLines(context.number, context.day);
        basket.copyInto(number, [this](const QVariantMap &row) {
            const auto v = [&row](const char *column) { return row.value(QString::fromLatin1(column)); };
            return QVariantMap{{QStringLiteral("ls_zhje"), v("ts_zje")},
                               {QStringLiteral("ls_cksl"), SaleStockOut(m_state, v("ts_sl").toDouble())},
                               {QStringLiteral("t_zp"), v("t_zp").isNull() ? QVariant(QString()) : v("t_zp")},
                               {QStringLiteral("ls_lsj"), v("ts_lsj")},
                               {QStringLiteral("ls_cbj"), v("ts_cbj")},
                               {QStringLiteral("ls_zcb"), v("ts_zcb")},
                               {QStringLiteral("ls_cbj2"), v("ts_cbj2")},
                               {QStringLiteral("g_zhxs"), v("ts_zhdj")},
                               {QStringLiteral("g_tmbz"), QString()},
                               {QStringLiteral("gl_djh3"), v("gl_djh2").isNull() ? QVariant(QString()) : v("gl_djh2")},
                               {QStringLiteral("idck"), v("idck")}};
        });
        ClearOperatorTemp(m_db, m_state.CurrentOperatorName);
        if (context.pending())
            PendingSaleRules(m_db, m_state, m_clock, m_notices).updateCheckShdjYfje(number);
        return number;
    });
}
