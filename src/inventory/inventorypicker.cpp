#include "inventory/inventorypicker.h"

#include "engine/costprice.h"
#include "engine/pendingdocument.h"
#include "foundation/basket.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/formats.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

ListStatement InventoryPickerGoods(InventoryDoc doc, const QString &warehouse, const QString &classSn)
{
    const bool transfer = doc == InventoryDoc::Transfer;
    ListStatement st;
    st.body = transfer ? QStringLiteral("select a.*, b.kc_sl, b.ck_sn, b.kc_cbj from jxc_goods a join jxc_kcsp b on a.g_sn = b.g_sn")
                       : QStringLiteral("select a.g_sn, a.g_jm, a.g_name, a.dw_name, a.gg_name, a.g_sptm, a.color_name, "
                                        "a.g_kc, b.kc_sl from jxc_goods a join jxc_kcsp b on a.g_sn = b.g_sn");
    st.body += QStringLiteral(" where a.g_jy = 0 and a.g_sn <> '00000000' and b.ck_sn = ?");
    st.binds << warehouse;
    if (!classSn.isEmpty()) {
        st.body += QStringLiteral(" and a.gc_sn = ?");
        st.binds << classSn;
    }
    st.order = !transfer ? QStringLiteral("a.g_sn") : classSn.isEmpty() ? QStringLiteral("b.id") : QStringLiteral("a.g_sn desc");
    return st;
}

QString InventoryPickerSortExpression(const QString &field)
{
    if (field == QLatin1String("kc_sl") || field == QLatin1String("kc_cbj"))
        return QStringLiteral("b.") + field;
    return QStringLiteral("a.") + field;
}

ListStatement InventoryBasketStatement(InventoryDoc doc, const LoginState &state)
{
    if (doc == InventoryDoc::Transfer)
        return {QStringLiteral("select a.*, b.g_name, b.gg_name, b.color_name from jxc_tempspxf2 a "
                               "join jxc_goods b on a.g_sn = b.g_sn where a.a_name = ?"),
                QStringLiteral("a.id"),
                {state.CurrentOperatorName}};
    return {QStringLiteral("select a.*, b.g_name, b.dw_name, b.gg_name, b.color_name from jxc_tempspxf a "
                           "join jxc_goods b on a.g_sn = b.g_sn where a.a_name = ?"),
            doc == InventoryDoc::Stocktaking ? QStringLiteral("a.id desc") : QStringLiteral("a.id"),
            {state.CurrentOperatorName}};
}

InventoryPickerRules::InventoryPickerRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                           Notices &notices, InventoryDoc doc)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices), m_doc(doc)
{
}

void InventoryPickerRules::open()
{
    m_duplicateShown = false;
    ClearOperatorTemp(m_db, m_state.CurrentOperatorName);
}

namespace {

const char *const kCountedAlready = "该商品已添加，不能重复添加，\r\n\r\n可以修改已添加商品的数量！";

// The goods of `goods` already in the operator's basket or on the number.
QSet<QString> CountedGoods(const QSqlDatabase &db, const LoginState &state, const QString &number,
                           const QStringList &goods)
{
    QSet<QString> out;
    if (goods.isEmpty())
        return out;
    const QString marks = QStringList(goods.size(), QStringLiteral("?")).join(QLatin1Char(','));
    QVariantList binds{state.CurrentOperatorName};
    for (const QString &g : goods)
        binds << g;
    binds << number;
    for (const QString &g : goods)
        binds << g;
    QSqlQuery q = OpenSelect(db,
                             QStringLiteral("select g_sn from jxc_tempspxf where a_name = ? and g_sn in (%1) union "
                                            "select g_sn from jxc_kcpdsp where gl_djh = ? and g_sn in (%1)")
                                 .arg(marks),
                             binds);
    while (q.next())
        out.insert(q.value(0).toString());
    return out;
}

} // namespace

bool InventoryPickerRules::refuseCounted(const DocumentContext &context, const QString &goods)
{
    if (CountedGoods(m_db, m_state, context.number, {goods}).isEmpty())
        return false;
    m_notices.notice(QString::fromUtf8(kCountedAlready));
    return true;
}

int InventoryPickerRules::addCounted(const DocumentContext &context, const QStringList &goods)
{
    if (goods.size() > kMostPickedAtOnce) {
        m_notices.notice(QStringLiteral("批量添加不能超过300行！"));
        return -1;
    }
    int added = 0;
    try {
        const QSet<QString> counted = CountedGoods(m_db, m_state, context.number, goods);
        QHash<QString, QVariantList> stock;
        if (!goods.isEmpty()) {
            QVariantList binds{context.warehouse};
            for (const QString &g : goods)
                binds << g;
            QSqlQuery q = OpenSelect(m_db,
                                     QStringLiteral("select g_sn, kc_sl, kc_cbj, kc_zsl from jxc_kcsp where ck_sn = ? "
                                                    "and g_sn in (%1) order by id")
                                         .arg(QStringList(goods.size(), QStringLiteral("?")).join(QLatin1Char(','))),
                                     binds);
            while (q.next())
                if (!stock.contains(q.value(0).toString()))
                    stock.insert(q.value(0).toString(), {TextToNumber(ValueText(q.value(1))), TextToNumber(ValueText(q.value(2))),
                                                         TextToNumber(ValueText(q.value(3)))});
        }
        Basket basket(m_db, InventoryDocType(InventoryDoc::Stocktaking), m_state);
        Transaction tx(m_db);
        QSet<QString> seen;
        for (const QString &g : goods) {
            if (counted.contains(g) || seen.contains(g)) {
                if (!m_duplicateShown) {
                    m_notices.notice(QString::fromUtf8(kCountedAlready));
                    m_duplicateShown = true;
                }
                continue;
            }
            seen.insert(g);
            const QVariantList figures = stock.value(g, {0.0, 0.0, 0.0});
            basket.addRow({{QStringLiteral("g_sn"), g},
                           {QStringLiteral("ts_dj"), figures.at(0)},
                           {QStringLiteral("ts_sl"), figures.at(0)},
                           {QStringLiteral("ts_dzl"), figures.at(1)},
                           {QStringLiteral("ts_zje"), 0.0},
                           {QStringLiteral("ts_je"), figures.at(2)}});
            ++added;
        }
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("添加商品失败：") + e.text());
        return -1;
    }
    return added;
}

int InventoryPickerRules::basketCount() const
{
    return Basket(m_db, InventoryDocType(m_doc), m_state).count();
}

int InventoryPickerRules::addTransferGoods(const DocumentContext &context, const QList<PickedGoods> &goods,
                                           double defaultQuantity)
{
    if (defaultQuantity <= 0) {
        m_notices.notice(QStringLiteral("默认添加数量必须大于0！"));
        return -1;
    }
    enum class Answer { None, Refused, Accepted } answer = Answer::None;
    QList<QString> chosen;
    for (const PickedGoods &g : goods) {
        if (g.stock < 1.0) {
            if (answer == Answer::Refused)
                continue;
            if (answer == Answer::None) {
                if (!IsTrue(m_state.AllowNegativeStock)) {
                    m_notices.notice(QStringLiteral("调拨数量不能大于库存数量，重新输入！"));
                    answer = Answer::Refused;
                    continue;
                }
                if (!m_notices.confirm(QStringLiteral("调拨数量不能大于库存数量，调拨后将产生负库存，继续调拨吗?"))) {
                    answer = Answer::Refused;
                    continue;
                }
                answer = Answer::Accepted;
            }
        }
        chosen << g.goods;
    }
    const bool atSale = TransferAtSalePrice(m_state);
    try {
        Basket basket(m_db, InventoryDocType(m_doc), m_state);
        Transaction tx(m_db);
        for (const QString &code : std::as_const(chosen)) {
            QSqlQuery row = OpenSelect(m_db, QStringLiteral("select dw_name, g_sptm, g_sj from jxc_goods where g_sn = ?"), {code});
            QString unit, barcode;
            double sale = 0.0;
            if (row.next()) {
                unit = row.value(0).toString();
                barcode = row.value(1).toString();
                sale = row.value(2).toDouble();
            }
            const double cost = GetCostPrice(m_db, m_state, m_clock, code, context.warehouse, context.day);
            basket.addRow({{QStringLiteral("g_sn"), code},
                           {QStringLiteral("ts_dj"), cost},
                           {QStringLiteral("ts_sl"), defaultQuantity},
                           {QStringLiteral("ts_zje"), TransferAmount(m_state, defaultQuantity * (atSale ? sale : cost))},
                           {QStringLiteral("ts_dzl"), sale},
                           {QStringLiteral("ts_zsl"), defaultQuantity},
                           {QStringLiteral("dw_name"), unit},
                           {QStringLiteral("g_sptm"), barcode},
                           {QStringLiteral("gl_djh2"), QStringLiteral("")},
                           {QStringLiteral("idck"), 0}});
        }
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("添加商品失败：") + e.text());
        return -1;
    }
    return int(chosen.size());
}

bool InventoryPickerRules::addAtCost(const DocumentContext &context, const QString &goods)
{
    try {
        const double cost = GetCostPrice(m_db, m_state, m_clock, goods, context.warehouse, context.day);
        Basket(m_db, InventoryDocType(m_doc), m_state)
            .addRow({{QStringLiteral("g_sn"), goods},
                     {QStringLiteral("ts_dj"), cost},
                     {QStringLiteral("ts_sl"), 1.0},
                     {QStringLiteral("ts_zje"), cost},
                     {QStringLiteral("ts_dzl"), 0.0},
                     {QStringLiteral("ts_note"), QStringLiteral("")},
                     {QStringLiteral("gl_djh2"), QStringLiteral("")},
                     {QStringLiteral("idck"), 0}});
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("添加商品失败：") + e.text());
        return false;
    }
    return true;
}

bool InventoryPickerRules::removeRow(qint64 rowId)
{
    try {
        return Basket(m_db, InventoryDocType(m_doc), m_state).remove(rowId);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}

bool InventoryPickerRules::removeAll()
{
    try {
        ClearOperatorTemp(m_db, m_state.CurrentOperatorName);
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}

InventoryResult InventoryPickerRules::confirm(DocumentContext &context)
{
    InventoryResult result;
    result.number = context.number;
    // The loss picker serves overflows too: the context's type decides.
    const InventoryDoc doc = context.type.prefix.isEmpty() ? m_doc : InventoryDocOf(context.type.prefix);
    const DocType type = InventoryDocType(doc);
    QString number = context.number;
    try {
        Basket basket(m_db, type, m_state);
        if (basket.count() == 0)
            return result;
        Transaction tx(m_db);
        if (context.pending()) {
            const QString changed = LockPendingDocument(m_db, type.headerTable, InventoryStatusColumn(doc), number);
            if (!changed.isEmpty()) {
                tx.rollback();
                m_notices.notice(changed);
                result.status = InventoryStatus::Refused;
                return result;
            }
        } else {
            LockDayNumbers(m_db, type, context.day);
            number = DraftLines(m_db, type, m_state).numberForNewLines(context.number, context.day);
        }
        Basket::LineExtras extras;
        if (doc == InventoryDoc::Loss || doc == InventoryDoc::Overflow) {
            const int decimals = TotalDecimalsValue(m_state);
            const QString amount = type.amountField;
            extras = [decimals, amount](const QVariantMap &row) {
                return QVariantMap{{amount, RoundTo(row.value(QStringLiteral("ts_zje")).toDouble(), decimals)}};
            };
        }
        basket.copyInto(number, extras);
        ClearOperatorTemp(m_db, m_state.CurrentOperatorName);
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("添加商品失败：") + e.text());
        result.status = InventoryStatus::Failed;
        return result;
    }
    if (!context.pending())
        context.renumber(number);
    result.number = number;
    context.notifyLinesChanged();
    return result;
}
