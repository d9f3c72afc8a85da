#include "purchasing/purchaselinewriter.h"

#include "foundation/basket.h"
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
#include "foundation/sanitize.h"
#include "purchasing/pendingdocedits.h"
#include "purchasing/pendingdocuments.h"
#include "purchasing/purchaselinemath.h"

#include <QSqlQuery>

namespace {

QString tagStem(PurchaseKind kind)
{
    return kind == PurchaseKind::Return ? QStringLiteral("cgth") : QStringLiteral("cgjh");
}

} // namespace

LineMode LineModeFromTag(PurchaseKind kind, const QString &tag)
{
    const LineMode mode = LineModeOfTag(tagStem(kind), tag);
    // The return has no insert mode.
    return kind == PurchaseKind::Return && mode == LineMode::Insert ? LineMode::None : mode;
}

QString LineModeTag(PurchaseKind kind, LineMode mode)
{
    return LineModeTagOf(tagStem(kind), mode);
}

LineRules PurchaseLineRules(PurchaseKind kind)
{
    switch (kind) {
    case PurchaseKind::Return:
        return LineRules::Return;
    case PurchaseKind::Order:
        return LineRules::Order;
    case PurchaseKind::Receipt:
        break;
    }
    return LineRules::Receipt;
}

PurchaseLineWriter::PurchaseLineWriter(const QSqlDatabase &db, const LoginState &state, Notices &notices,
                                       PurchaseKind kind)
    : m_db(db), m_state(state), m_notices(notices), m_kind(kind)
{
}

LineOpening PurchaseLineWriter::open(const DocumentContext &context, LineMode mode, const QString &goods,
                                     qint64 lineId) const
{
    LineOpening o;
    o.lastPrice = OpenGoodsLabels(m_db, m_state, context, goods, {QStringLiteral("g_scjj")}, o).value(0).toDouble();
    o.values.price = DefaultPurchasePrice(m_db, m_state, goods);
    o.values.rate = TextToNumber(m_state.DefaultTaxRate);
    if (!IsStoredLineMode(mode))
        return o;
    const bool ret = m_kind == PurchaseKind::Return;
    const StoredLineRow row =
        StoredLineRowOf(PurchaseDocType(m_kind), mode, context.number, m_state.CurrentOperatorName, lineId);
    const std::optional<QVariantMap> more = OpenStoredLine(
        m_db, row, ret ? QStringList{QStringLiteral("gl_djh2"), QStringLiteral("idck")} : QStringList{}, o);
    if (more && ret) {
        o.sourceNumber = more->value(QStringLiteral("gl_djh2")).toString();
        const QString idck = ValueText(more->value(QStringLiteral("idck")));
        o.sourceLineId = idck.isEmpty() ? QStringLiteral("0") : idck;
    }
    return o;
}

double PurchaseLineWriter::unitPrice(const QString &goods, const QString &unit, bool baseUnit) const
{
    const QString column = PurchasePriceColumn(m_state);
    const QString text = baseUnit
                             ? QueryScalar(m_db, QStringLiteral("select %1 from jxc_goods where g_sn = ?").arg(column), {goods})
                             : QueryScalar(m_db,
                                           QStringLiteral("select %1 from jxc_goodsdw where g_sn = ? and dw_name = ? "
                                                          "order by id")
                                               .arg(column),
                                           {goods, unit});
    return TextToNumber(text);
}

ListStatement PurchaseLineWriter::history(const QString &goods, const QString &supplier) const
{
    const bool order = m_kind == PurchaseKind::Order;
    ListStatement st;
    st.body = QStringLiteral("select a.id, b.j_jhrq, a.gl_djh, a.jh_dj, a.jh_sl, a.jh_zje from %1 a join %2 b "
                             "on b.gl_djh = a.gl_djh where b.j_status = 1 and a.g_sn = ?")
                  .arg(order ? QStringLiteral("jxc_cgsp") : QStringLiteral("jxc_jhsp"),
                       order ? QStringLiteral("jxc_cgd") : QStringLiteral("jxc_jhd"));
    st.binds << goods;
    if (IsNotOff(m_state.ShowSupplierHistory)) {
        st.body += QStringLiteral(" and b.ghs_sn = ?");
        st.binds << supplier;
    }
    // Ten rows: the limit is part of the statement, its order the same as the grid's.
    const QString order10 = order ? QStringLiteral("a.id desc") : QStringLiteral("a.gl_djh desc, a.id desc");
    st.body = QStringLiteral("select * from (") + st.body + QStringLiteral(" order by ") + order10
              + QStringLiteral(" limit 10) h");
    st.order = order ? QStringLiteral("id desc") : QStringLiteral("gl_djh desc, id desc");
    return st;
}

ListStatement PurchaseLineWriter::quotes(const QString &goods, const QString &supplier) const
{
    return {QStringLiteral("select * from (select a.id, a.gb_bjrq, a.gb_bj, b.g_jj, b.g_sj, c.u_name, a.gb_note "
                           "from jxc_ghsbj a left join jxc_goods b on b.g_sn = a.g_sn "
                           "left join jxc_user c on c.u_sn = a.u_sn where a.g_sn = ? and a.ghs_sn = ? "
                           "order by a.id limit 10) q"),
            QStringLiteral("id"),
            {goods, supplier}};
}

int PurchaseLineWriter::quoteCount(const QString &goods, const QString &supplier) const
{
    return QueryScalar(m_db, QStringLiteral("select count(*) from jxc_ghsbj where g_sn = ? and ghs_sn = ?"), {goods, supplier})
        .toInt();
}

PurchaseResult PurchaseLineWriter::write(DocumentContext &context, LineMode mode, const QString &goods, qint64 lineId,
                                         const LineInput &in)
{
    PurchaseResult result;
    result.number = context.number;
    const LineEntryModel::Values &v = in.values;
    if (v.quantity <= 0.0) {
        m_notices.notice(QStringLiteral("数量不能为0或负数，重新输入！"));
        result.status = PurchaseStatus::Refused;
        return result;
    }
    if (mode == LineMode::None)
        return result;

    const DocType type = PurchaseDocType(m_kind);
    const bool basket = IsBasketMode(mode);
    const LineColumns columns = basket ? LineColumns::basket() : type.line;
    LineFigures f;
    f.quantity = v.quantity;
    f.discount = v.discount;
    f.tax = v.rate;
    f.price = RoundTo(v.price, m_state.PriceDecimals);
    f.taxPrice = RoundTo(v.taxPrice, m_state.PriceDecimals);
    const std::optional<int> rounding = PurchaseAmountRounding(m_state);
    SetDialogAmounts(f, rounding);
    f.total = m_kind == PurchaseKind::Return ? ReturnLineTotal(f, rounding) : v.total;

    try {
        const double factor = in.storedUnitFactor > 0.0
                                  ? in.storedUnitFactor
                                  : (IsTrue(m_state.UseAuxUnits) ? GetUnitFactor(m_db, goods, in.unit) : 1.0);
        f.baseQuantity = f.quantity * factor;
        if (m_kind == PurchaseKind::Return && f.baseQuantity > TextToNumber(in.stockText)) {
            if (!IsTrue(m_state.AllowNegativeStock)) {
                m_notices.notice(QStringLiteral("库存数量小于退货数量，不能退货！"));
                result.status = PurchaseStatus::Refused;
                return result;
            }
            if (!m_notices.confirm(QStringLiteral("库存数量小于退货数量，退货后将产生负库存，继续退货吗?"))) {
                result.status = PurchaseStatus::Declined;
                return result;
            }
        }
        QVariantMap values = LineFigureValues(f, columns);
        values.insert(columns.note, SafeText(in.note.trimmed()));
        values.insert(QStringLiteral("dw_name"), StripControls(in.unit));
        values.insert(QStringLiteral("g_sptm"), GetUnitBarcode(m_db, m_state, goods, in.unit));
        if (!basket && !columns.stockIn.isEmpty())
            values.insert(columns.stockIn, *StockInQuantity(m_state, m_kind, f.quantity));
        if (m_kind == PurchaseKind::Return) {
            values.insert(QStringLiteral("gl_djh2"), in.sourceNumber);
            values.insert(QStringLiteral("idck"), in.sourceLineId.toLongLong());
        }

        Transaction tx(m_db);
        DraftLines draft(m_db, type, m_state);
        QString number = context.number;
        switch (mode) {
        case LineMode::Insert:
            number = draft.numberForNewLines(context.number, context.day);
            values.insert(QStringLiteral("g_sn"), goods);
            result.lineId = draft.insertLine(number, values);
            break;
        case LineMode::Draft:
            draft.updateLine(lineId, values);
            result.lineId = lineId;
            break;
        case LineMode::Pending:
            RequirePendingPurchase(m_db, m_kind, context.number);
            values.insert(QStringLiteral("a_name"), m_state.CurrentOperatorName);
            draft.updateDocumentLine(context.number, lineId, values);
            ResumPendingHeader(m_db, m_state, m_kind, context.number);
            result.lineId = lineId;
            break;
        case LineMode::BasketAdd:
            values.insert(QStringLiteral("g_sn"), goods);
            result.lineId = Basket(m_db, type, m_state).addRow(values);
            break;
        case LineMode::BasketModify:
            Basket(m_db, type, m_state).updateRow(lineId, values);
            result.lineId = lineId;
            break;
        case LineMode::None:
            break;
        }
        tx.commit();
        if (mode == LineMode::Insert) {
            context.renumber(number);
            result.number = number;
        }
    } catch (const PendingStateChanged &e) {
        m_notices.notice(e.text());
        result.status = PurchaseStatus::Refused;
        return result;
    } catch (const DbError &e) {
        const bool adding = mode == LineMode::Insert || mode == LineMode::BasketAdd;
        m_notices.notice((adding ? QStringLiteral("添加商品失败：") : QStringLiteral("修改商品失败：")) + e.text());
        result.status = PurchaseStatus::Failed;
        return result;
    }
    if (!basket)
        context.notifyLinesChanged();
    return result;
}
