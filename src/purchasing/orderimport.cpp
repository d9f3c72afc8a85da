#include "purchasing/orderimport.h"

#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/sanitize.h"
#include "purchasing/purchasedoc.h"

#include <QSqlQuery>

namespace {

bool Bound(const LoginState &state)
{
    return state.BindOperatorWarehouse == QLatin1String("1") && !state.isAdministrator();
}

// " and (<expr1> like ? or …)" over `fields` for a key, its patterns appended to `binds`.
QString KeyCondition(const QSqlDatabase &db, const QString &key, const QStringList &fields, QVariantList &binds)
{
    const QString k = SafeText(key.trimmed());
    if (k.isEmpty())
        return QString();
    const Dialect dialect = Dialect::of(db);
    QStringList likes;
    for (const QString &f : fields) {
        likes << dialect.likeClause(f);
        binds << Dialect::containsPattern(k);
    }
    return QStringLiteral(" and (") + likes.join(QStringLiteral(" or ")) + QLatin1Char(')');
}

} // namespace

OrderImportRules::OrderImportRules(const QSqlDatabase &db, const LoginState &state, Notices &notices)
    : m_db(db), m_state(state), m_notices(notices)
{
}

KeyedItems OrderImportRules::warehouses() const
{
    if (Bound(m_state))
        return LoadOperatorWarehouses(m_db, m_state);
    return LoadKeyedCombo(m_db, QStringLiteral("jxc_ckxx"), QStringLiteral("ck_name"), QStringLiteral("ck_sn"),
                          QStringLiteral("id"), QStringLiteral("所有仓库"));
}

QString OrderImportRules::periodAndPlace(const OrderImportFilter &filter, QVariantList &binds) const
{
    // Void orders are never imported, whatever "显示已完成单据" says.
    QString where = QStringLiteral("a.j_status = 1 and a.j_qk = 0 and a.j_jhrq >= ? and a.j_jhrq <= ?");
    binds << filter.from << filter.to + QStringLiteral(" 23:59:00");
    if (!filter.warehouse.isEmpty() && filter.warehouse != kAllKey) {
        where += QStringLiteral(" and a.ck_sn = ?");
        binds << filter.warehouse;
    }
    return where;
}

ListStatement OrderImportRules::documents(const OrderImportFilter &filter) const
{
    ListStatement st;
    st.body = QStringLiteral("select a.*, c.ck_name, d.u_name, b.ghs_name from jxc_cgd a "
                             "left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn left join jxc_ckxx c on c.ck_sn = a.ck_sn "
                             "left join jxc_user d on d.u_sn = a.u_sn where ")
              + periodAndPlace(filter, st.binds);
    if (!filter.showFinished)
        st.body += QStringLiteral(" and exists (select 1 from jxc_cgsp e where e.gl_djh = a.gl_djh "
                                  "and e.jh_sl > coalesce(e.jh_rksl, 0))");
    st.body += KeyCondition(m_db, filter.key,
                            {QStringLiteral("a.gl_djh"), QStringLiteral("b.ghs_name"), QStringLiteral("b.ghs_jm"),
                             QStringLiteral("a.ghs_sn")},
                            st.binds);
    st.order = QStringLiteral("a.gl_djh desc, a.id desc");
    return st;
}

ListStatement OrderImportRules::orderLines(const QString &order) const
{
    return {QStringLiteral("select a.*, a.jh_sl - coalesce(a.jh_rksl, 0) as dsl, b.g_name, b.gg_name, b.color_name "
                           "from jxc_cgsp a left join jxc_goods b on b.g_sn = a.g_sn where a.gl_djh = ?"),
            QStringLiteral("a.id"),
            {order}};
}

ListStatement OrderImportRules::lines(const OrderImportFilter &filter) const
{
    ListStatement st;
    st.body = QStringLiteral("select s.*, s.jh_sl - coalesce(s.jh_rksl, 0) as dsl, a.j_jhrq, a.ck_sn, a.u_sn, a.ghs_sn, "
                             "c.ck_name, d.u_name, b.ghs_name, g.g_name, g.gg_name, g.color_name "
                             "from jxc_cgsp s join jxc_cgd a on a.gl_djh = s.gl_djh "
                             "left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn left join jxc_ckxx c on c.ck_sn = a.ck_sn "
                             "left join jxc_user d on d.u_sn = a.u_sn left join jxc_goods g on g.g_sn = s.g_sn where ")
              + periodAndPlace(filter, st.binds);
    if (!filter.showFinished)
        st.body += QStringLiteral(" and s.jh_sl > coalesce(s.jh_rksl, 0)");
    st.body += KeyCondition(m_db, filter.key,
                            {QStringLiteral("a.gl_djh"), QStringLiteral("b.ghs_name"), QStringLiteral("b.ghs_jm"),
                             QStringLiteral("a.ghs_sn"), QStringLiteral("s.g_sn"), QStringLiteral("g.g_name"),
                             QStringLiteral("g.g_jm")},
                            st.binds);
    st.order = QStringLiteral("s.gl_djh desc, s.id desc");
    return st;
}

void OrderImportRules::writeLine(const QString &number, qint64 lineId, bool ordered)
{
    QSqlQuery q = OpenSelect(m_db,
                             QStringLiteral("select g_sn, jh_dj, jh_tax, jh_taxdj, jh_dzl, dw_name, g_sptm, jh_bz, jh_sl, "
                                            "jh_rksl, jh_zsl, id2, gl_djh from jxc_cgsp where id = ?"),
                             {lineId});
    if (!q.next())
        return;
    const double ordered_ = q.value(8).toDouble();
    const double received = q.value(9).toDouble();
    if (!ordered && ordered_ <= received)
        return;
    const double qty = ordered ? ordered_ : ordered_ - received;
    const double price = q.value(1).toDouble();
    const double taxPrice = q.value(3).toDouble();
    const double discount = q.value(4).toDouble();
    const double base = ordered_ == 0.0 ? 0.0 : q.value(10).toDouble() / ordered_ * qty;
    QVariantMap line{{QStringLiteral("g_sn"), q.value(0)},
                     {QStringLiteral("jh_dj"), price},
                     {QStringLiteral("jh_tax"), q.value(2)},
                     {QStringLiteral("jh_taxdj"), taxPrice},
                     {QStringLiteral("jh_dzl"), discount},
                     {QStringLiteral("dw_name"), q.value(5)},
                     {QStringLiteral("g_sptm"), q.value(6)},
                     {QStringLiteral("jh_bz"), q.value(7)},
                     {QStringLiteral("jh_sl"), qty},
                     {QStringLiteral("jh_je"), price * qty * discount},
                     {QStringLiteral("jh_taxje"), (taxPrice - price) * qty * discount},
                     {QStringLiteral("jh_zje"), taxPrice * qty * discount},
                     {QStringLiteral("jh_zsl"), base},
                     {QStringLiteral("jh_rksl"), IsTrue(m_state.SeparateStockIn) ? 0.0 : qty},
                     {QStringLiteral("gl_djh2"), q.value(12)},
                     {QStringLiteral("id3"), q.value(11)},
                     {QStringLiteral("g_tmbz"), QStringLiteral("")}};
    q.finish();
    DraftLines(m_db, PurchaseDocType(PurchaseKind::Receipt), m_state).insertLine(number, line);
}

std::optional<ImportedOrderHeader> OrderImportRules::header(const QString &order) const
{
    QSqlQuery q = OpenSelect(m_db,
                             QStringLiteral("select a.j_note, a.ghs_sn, b.ghs_name, a.j_jsfs, c.ck_name, d.u_name, a.j_kmmc "
                                            "from jxc_cgd a left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn "
                                            "left join jxc_ckxx c on c.ck_sn = a.ck_sn left join jxc_user d on d.u_sn = a.u_sn "
                                            "where a.gl_djh = ? order by a.id limit 1"),
                             {order});
    if (!q.next())
        return std::nullopt;
    ImportedOrderHeader h;
    h.order = order;
    h.note = q.value(0).toString();
    h.supplierSn = q.value(1).toString();
    h.supplierName = q.value(2).toString();
    h.settleIndex = q.value(3).toInt();
    h.warehouseName = q.value(4).toString();
    h.handlerName = q.value(5).toString();
    h.accountText = q.value(6).toString();
    return h;
}

std::optional<ImportedOrderHeader> OrderImportRules::importDocument(DocumentContext &receipt, const QString &order,
                                                                    bool ordered)
{
    std::optional<ImportedOrderHeader> h;
    try {
        h = header(order);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("导入订单失败：") + e.text());
        return std::nullopt;
    }
    if (!h)
        return std::nullopt;
    h->wholeDocument = true;
    DraftLines draft(m_db, PurchaseDocType(PurchaseKind::Receipt), m_state);
    const PurchaseResult r = RunAddingLines(m_db, m_notices, receipt, [&](PurchaseResult &) {
        const QString number = draft.numberForNewLines(receipt.number, receipt.day);
        // The order replaces whatever lines the receipt had.
        draft.discard(number);
        QList<qint64> ids;
        {
            QSqlQuery q = OpenSelect(m_db, QStringLiteral("select id from jxc_cgsp where gl_djh = ? order by id"), {order});
            while (q.next())
                ids << q.value(0).toLongLong();
        }
        for (qint64 id : std::as_const(ids))
            writeLine(number, id, ordered);
        return number;
    });
    if (!r.done())
        return std::nullopt;
    return h;
}

std::optional<ImportedOrderHeader> OrderImportRules::importLines(DocumentContext &receipt, const QList<qint64> &lineIds,
                                                                 bool ordered)
{
    if (lineIds.isEmpty())
        return std::nullopt;
    std::optional<ImportedOrderHeader> h;
    try {
        h = header(QueryScalar(m_db, QStringLiteral("select gl_djh from jxc_cgsp where id = ?"), {lineIds.first()}));
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("导入订单失败：") + e.text());
        return std::nullopt;
    }
    if (!h)
        return std::nullopt;
    DraftLines draft(m_db, PurchaseDocType(PurchaseKind::Receipt), m_state);
    const PurchaseResult r = RunAddingLines(m_db, m_notices, receipt, [&](PurchaseResult &) {
        const QString number = draft.numberForNewLines(receipt.number, receipt.day);
        for (qint64 id : lineIds)
            writeLine(number, id, ordered);
        return number;
    });
    if (!r.done())
        return std::nullopt;
    return h;
}
