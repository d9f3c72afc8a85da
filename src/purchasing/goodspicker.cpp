#include "purchasing/goodspicker.h"

#include "foundation/basket.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/pickerbatch.h"
#include "purchasing/pendingdocedits.h"
#include "purchasing/pendingdocuments.h"
#include "purchasing/purchaselinemath.h"

#include <QSqlQuery>

namespace {

const QString kBase = QStringLiteral("coalesce(a.g_jy, 0) = 0 and a.g_sn <> '00000000'");

bool returnLimited(const LoginState &state)
{
    return IsNotOff(state.ReturnOnlySuppliedGoods);
}

} // namespace

PickerListMode PickerModeOf(const PickerFilters &filters)
{
    if (filters.warehouse)
        return PickerListMode::Warehouse;
    return filters.supplier ? PickerListMode::Supplier : PickerListMode::All;
}

ListStatement PickerGoodsStatement(const QSqlDatabase &db, const LoginState &state, PurchaseKind kind,
                                   const QString &warehouse, const QString &supplier, const PickerFilters &filters)
{
    Q_UNUSED(db)
    ListStatement st;
    const DocType type = PurchaseDocType(kind == PurchaseKind::Order ? PurchaseKind::Order : PurchaseKind::Receipt);
    // Goods of the supplier's audited documents (into the warehouse when given).
    auto supplied = [&](bool intoWarehouse) {
        QString sql = QStringLiteral(" and exists (select 1 from %1 c join %2 d on d.gl_djh = c.gl_djh "
                                     "where c.g_sn = a.g_sn and d.j_status = 1 and d.ghs_sn = ?")
                          .arg(type.linesTable, type.headerTable);
        st.binds << supplier;
        if (intoWarehouse) {
            sql += QStringLiteral(" and d.ck_sn = ?");
            st.binds << warehouse;
        }
        return sql + QStringLiteral(")");
    };
    QString select;
    QString where;
    if (kind == PurchaseKind::Return) {
        const bool negative = IsTrue(state.AllowNegativeStock);
        if (negative) {
            select = QStringLiteral("select a.*, coalesce(b.kc_sl, 0) as kc_sl from jxc_goods a "
                                    "left join jxc_kcsp b on b.g_sn = a.g_sn and b.ck_sn = ? where ");
        } else {
            select = QStringLiteral("select a.*, d.kc_sl from jxc_goods a "
                                    "join jxc_kcsp d on d.g_sn = a.g_sn and d.ck_sn = ? where d.kc_sl > 0 and ");
        }
        st.binds << warehouse;
        where = kBase;
        if (returnLimited(state)) {
            // The stock row of the no-negative join is aliased d: the documents take c and e.
            QString sql = QStringLiteral(" and exists (select 1 from jxc_jhsp c join jxc_jhd e on e.gl_djh = c.gl_djh "
                                         "where c.g_sn = a.g_sn and e.j_status = 1 and e.ghs_sn = ?");
            st.binds << supplier;
            if (!negative) {
                sql += QStringLiteral(" and e.ck_sn = ?");
                st.binds << warehouse;
            }
            where += sql + QStringLiteral(")");
        }
    } else {
        switch (PickerModeOf(filters)) {
        case PickerListMode::Warehouse:
            if (filters.supplier) {
                select = QStringLiteral("select a.*, b.kc_sl from jxc_goods a join jxc_kcsp b "
                                        "on b.g_sn = a.g_sn and b.ck_sn = ? where ");
                st.binds << warehouse;
                where = kBase + supplied(true);
            } else if (IsTrue(state.BindOperatorWarehouse)) {
                select = QStringLiteral("select a.*, b.kc_sl from jxc_goods a left join jxc_kcsp b "
                                        "on b.g_sn = a.g_sn and b.ck_sn = ? where ");
                st.binds << warehouse;
                where = kBase;
            } else {
                select = QStringLiteral("select a.*, b.kc_sl from jxc_goods a join jxc_kcsp b "
                                        "on b.g_sn = a.g_sn and b.ck_sn = ? where ");
                st.binds << warehouse;
                where = kBase;
            }
            break;
        case PickerListMode::Supplier:
            select = QStringLiteral("select a.*, a.g_kc as kc_sl from jxc_goods a where ");
            where = kBase + supplied(false);
            break;
        case PickerListMode::All:
            select = QStringLiteral("select a.*, a.g_kc as kc_sl from jxc_goods a where ");
            where = kBase;
            break;
        }
    }
    if (!filters.classSn.isEmpty()) {
        where += QStringLiteral(" and a.gc_sn = ?");
        st.binds << filters.classSn;
    }
    st.body = select + where;
    st.order = QStringLiteral("a.g_cgpl desc, a.g_sn");
    return st;
}

QString PickerSortExpression(const LoginState &state, PurchaseKind kind, const PickerFilters &filters,
                             const QString &field)
{
    if (kind == PurchaseKind::Return) {
        if (field == QLatin1String("kc_sl"))
            return IsTrue(state.AllowNegativeStock) ? QStringLiteral("b.kc_sl") : QStringLiteral("d.kc_sl");
        return QStringLiteral("a.") + field;
    }
    switch (PickerModeOf(filters)) {
    case PickerListMode::Warehouse:
        return field == QLatin1String("kc_sl") ? QStringLiteral("b.kc_sl") : QStringLiteral("a.") + field;
    case PickerListMode::Supplier:
        return field == QLatin1String("kc_sl") ? QStringLiteral("a.g_kc") : QStringLiteral("a.") + field;
    case PickerListMode::All:
        break;
    }
    return field == QLatin1String("kc_sl") ? QStringLiteral("g_kc") : field;
}

GoodsPickerRules::GoodsPickerRules(const QSqlDatabase &db, const LoginState &state, Notices &notices, PurchaseKind kind)
    : m_db(db), m_state(state), m_notices(notices), m_kind(kind)
{
}

void GoodsPickerRules::open()
{
    ClearOperatorTemp(m_db, m_state.CurrentOperatorName);
}

int GoodsPickerRules::basketCount() const
{
    return Basket(m_db, PurchaseDocType(m_kind), m_state).count();
}

bool GoodsPickerRules::isDuplicate(const DocumentContext &context, const QString &goods) const
{
    return Basket(m_db, PurchaseDocType(m_kind), m_state).pickedAlready(context.number, goods);
}

bool GoodsPickerRules::mayAddOne(const DocumentContext &context, const QString &goods)
{
    if (m_kind == PurchaseKind::Return || !isDuplicate(context, goods))
        return true;
    return m_notices.confirm(QStringLiteral("该商品已添加，需要重复添加吗？"));
}

int GoodsPickerRules::addDirect(const DocumentContext &context, const QList<PickedGoods> &goods, double defaultQuantity)
{
    const bool isReturn = m_kind == PurchaseKind::Return;
    if (!isReturn && defaultQuantity <= 0.0) {
        m_notices.notice(QStringLiteral("默认添加数量必须大于0！"));
        return -1;
    }
    // The answers first (one question per batch), then the rows in one transaction.
    PickerBatchAnswers answers(m_notices);
    QStringList chosen;
    try {
        for (const PickedGoods &g : goods) {
            const bool pass = isReturn ? answers.passShortage(TextToNumber(g.stockText), IsTrue(m_state.AllowNegativeStock),
                                                              QStringLiteral("库存数量小于退货数量，不能退货！"),
                                                              QStringLiteral("库存数量小于退货数量，退货后将产生负库存，继续退货吗?"))
                                       : answers.passDuplicate(isDuplicate(context, g.goods));
            if (pass)
                chosen << g.goods;
        }
        const double q = isReturn ? 1.0 : defaultQuantity;
        const std::optional<int> rounding = PurchaseAmountRounding(m_state);
        Basket basket(m_db, PurchaseDocType(m_kind), m_state);
        Transaction tx(m_db);
        for (const QString &code : std::as_const(chosen)) {
            QSqlQuery row = OpenSelect(m_db,
                                       QStringLiteral("select %1, dw_name, g_sptm from jxc_goods where g_sn = ?")
                                           .arg(PurchasePriceColumn(m_state)),
                                       {code});
            double p = 0.0;
            QString unit, barcode;
            if (row.next()) {
                p = row.value(0).toDouble();
                unit = row.value(1).toString();
                barcode = row.value(2).toString();
            }
            p = RoundTo(p, m_state.PriceDecimals);
            const double amount = rounding ? RoundTo(q * p, *rounding) : q * p;
            QVariantMap values{{QStringLiteral("g_sn"), code},     {QStringLiteral("ts_dj"), p},
                               {QStringLiteral("ts_sl"), q},       {QStringLiteral("ts_zsl"), q},
                               {QStringLiteral("ts_dzl"), 1.0},    {QStringLiteral("ts_je"), amount},
                               {QStringLiteral("ts_zje"), amount}, {QStringLiteral("ts_tax"), 0.0},
                               {QStringLiteral("ts_taxdj"), p},    {QStringLiteral("ts_taxje"), 0.0},
                               {QStringLiteral("dw_name"), unit},  {QStringLiteral("g_sptm"), barcode}};
            if (isReturn) {
                values.insert(QStringLiteral("gl_djh2"), QStringLiteral(""));
                values.insert(QStringLiteral("idck"), 0);
            }
            basket.addRow(values);
        }
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("添加商品失败：") + e.text());
        return -1;
    }
    return int(chosen.size());
}

bool GoodsPickerRules::editCell(qint64 rowId, LineCell cell, const QString &typed)
{
    return EditPurchaseCell(m_db, m_state, m_notices, m_kind, CellPlace::Basket, QString(), rowId, cell, typed);
}

bool GoodsPickerRules::removeRow(qint64 rowId)
{
    return RemoveBasketRow(m_db, PurchaseDocType(m_kind), m_state, m_notices, rowId);
}

bool GoodsPickerRules::removeAll()
{
    return EmptyBasket(m_db, m_state, m_notices);
}

void GoodsPickerRules::discard()
{
    removeAll();
}

PurchaseResult GoodsPickerRules::confirm(DocumentContext &context)
{
    const DocType type = PurchaseDocType(m_kind);
    return RunAddingLines(m_db, m_notices, context, [&](PurchaseResult &) {
        Basket basket(m_db, type, m_state);
        basket.dropEmptyCodes();
        QString number = context.number;
        if (context.pending())
            RequirePendingPurchase(m_db, m_kind, number);
        else
            number = DraftLines(m_db, type, m_state).numberForNewLines(context.number, context.day);
        Basket::LineExtras extras;
        if (!type.line.stockIn.isEmpty()) {
            extras = [this, &type](const QVariantMap &row) {
                return QVariantMap{
                    {type.line.stockIn, *StockInQuantity(m_state, m_kind, row.value(QStringLiteral("ts_sl")).toDouble())}};
            };
        }
        basket.copyInto(number, extras);
        ClearOperatorTemp(m_db, m_state.CurrentOperatorName);
        if (context.pending())
            ResumPendingHeader(m_db, m_state, m_kind, number);
        return number;
    });
}
