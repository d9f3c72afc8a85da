#include "engine/printlines.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/oplog.h"

namespace {

struct LineQuery
{
    QString body;      // the select without its order clause; one "?" for the number
    QString order;     // fixed order clause; empty: PrintLineOrder decides
    QString goodsName; // the goods-name column for the goods-name order
};

QString JhspLike(const QString &table)
{
    return QStringLiteral("select a.*, b.g_name, b.gg_name, b.color_name, b.g_bz, b.g_sccs, c.gc_name, b.hj_name%1 "
                          "from %2 a, jxc_goods b, jxc_goodsclass c "
                          "where a.g_sn = b.g_sn and b.gc_sn = c.gc_sn%3 and a.gl_djh = ?")
        .arg(table == QLatin1String("jxc_jhsp") ? QStringLiteral(", b.g_zhxs as gzhxs") : QString(), table,
             table == QLatin1String("jxc_jhsp") ? QStringLiteral(" and a.g_sn <> ''") : QString());
}

// False for a code without a line query. The orders sort on expressions ("a.id + 0",
// "a.g_sn || ''") rather than bare columns: SQLite without statistics would otherwise walk every
// line of the table in that column's order instead of searching the document's lines by number.
bool FindLineQuery(const QString &code, LineQuery &q)
{
    const QString byId = QStringLiteral(" order by a.id + 0");
    q.goodsName = QStringLiteral("b.g_name");
    if (code == QLatin1String("CJ")) {
        q.body = JhspLike(QStringLiteral("jxc_jhsp"));
    } else if (code == QLatin1String("CT") || code == QLatin1String("XT")) {
        q.body = JhspLike(code == QLatin1String("CT") ? QStringLiteral("jxc_thsp") : QStringLiteral("jxc_xsthsp"));
        q.order = byId;
    } else if (code == QLatin1String("XS")) {
        // The goods name followed by the line's barcode note and gift tag; NULL counts as "".
        q.body = QStringLiteral("select a.*, coalesce(b.g_name, '') || coalesce(a.g_tmbz, '') || coalesce(a.t_zp, '') "
                                "as g_name, b.gg_name, b.color_name, a.ls_taxdj * a.ls_dzl as sj, b.g_bz, b.g_sccs, "
                                "c.gc_name, b.hj_name, b.dw_name2, b.g_zhxs as gzhxs "
                                "from jxc_lsxssp a, jxc_goods b, jxc_goodsclass c "
                                "where a.ls_dzl > 0 and a.g_sn = b.g_sn and b.gc_sn = c.gc_sn and a.gl_djh = ?");
    } else if (code == QLatin1String("XH")) {
        q.body = QStringLiteral("select a.*, b.g_name, b.gg_name, b.color_name, b.dw_name, b.g_bz, b.g_sccs, c.gc_name, "
                                "b.hj_name, b.g_sptm from jxc_xshhsp a, jxc_goods b, jxc_goodsclass c "
                                "where a.g_sn = b.g_sn and b.gc_sn = c.gc_sn and a.gl_djh = ?");
        q.order = byId;
    } else if (code == QLatin1String("CD")) {
        q.body = QStringLiteral("select a.*, b.g_name, b.gg_name, b.color_name, b.g_bz, b.g_sccs, b.hj_name "
                                "from jxc_cgsp a, jxc_goods b where a.g_sn = b.g_sn and a.g_sn <> '' and a.gl_djh = ?");
    } else if (code == QLatin1String("XD")) {
        q.body = QStringLiteral("select a.*, b.g_name, b.gg_name, b.color_name, a.ls_taxdj * a.ls_dzl as sj, b.g_bz, "
                                "b.g_sccs, b.hj_name from jxc_xssp a, jxc_goods b "
                                "where a.ls_dzl > 0 and a.g_sn = b.g_sn and a.gl_djh = ?");
    } else if (code == QLatin1String("DB")) {
        q.body = QStringLiteral("select b.*, a.g_name, a.gg_name, a.color_name, a.hj_name from jxc_goods a, jxc_dbsp b "
                                "where a.g_sn = b.g_sn and b.gl_djh = ?");
        q.order = QStringLiteral(" order by b.id");
    } else if (code == QLatin1String("BS") || code == QLatin1String("BY")) {
        q.body = QStringLiteral("select a.%1_sl as sl, a.%1_dj as dj, a.%1_zje as zje, a.%1_note as dnote, a.gl_djh, "
                                "b.g_name, b.dw_name, b.gg_name, b.color_name, a.g_sn, b.hj_name "
                                "from jxc_%1sp a, jxc_goods b where a.g_sn = b.g_sn and a.gl_djh = ?")
                     .arg(code == QLatin1String("BS") ? QStringLiteral("bs") : QStringLiteral("by"));
        q.order = byId;
    } else if (code == QLatin1String("CF") || code == QLatin1String("KB")) {
        q.body = QStringLiteral("select a.*, b.g_name, b.dw_name, b.gg_name, b.color_name, c.ck_name "
                                "from %1 a, jxc_goods b, jxc_ckxx c "
                                "where a.g_sn = b.g_sn and a.ck_sn = c.ck_sn and a.gl_djh = ?")
                     .arg(code == QLatin1String("CF") ? QStringLiteral("jxc_cfsp") : QStringLiteral("jxc_kbsp"));
        q.order = byId;
    } else if (code == QLatin1String("PD")) {
        q.body = QStringLiteral("select a.*, b.g_name, b.dw_name, b.gg_name, b.color_name, a.pd_sl - a.kc_sl as cysl, "
                                "b.g_sptm from jxc_kcpdsp a, jxc_goods b where a.g_sn = b.g_sn and a.gl_djh = ?");
        q.order = QStringLiteral(" order by a.id desc");
    } else if (code == QLatin1String("khjh")) {
        q.body = QStringLiteral("select a.*, b.g_name, b.dw_name, b.gg_name, b.color_name "
                                "from jxc_khjhsp a, jxc_goods b where a.g_sn = b.g_sn and a.gl_djh = ?");
        q.order = byId;
    } else if (code == QLatin1String("SC") || code == QLatin1String("ST")) {
        q.body = QStringLiteral("select a.*, b.g_name, b.dw_name, b.gg_name, b.color_name, b.g_sptm, b.g_sccs, "
                                "b.hj_name, b.g_bz, c.gc_name from jxc_scrksp a, jxc_goods b, jxc_goodsclass c "
                                "where a.g_sn = b.g_sn and b.gc_sn = c.gc_sn and a.gl_djh = ?");
        q.order = byId;
    } else if (code == QLatin1String("LY") || code == QLatin1String("LT")) {
        q.body = QStringLiteral("select a.*, b.g_name, b.gg_name, b.color_name, b.hj_name, b.g_bz, c.gc_name "
                                "from jxc_bmlysp a, jxc_goods b, jxc_goodsclass c "
                                "where a.g_sn = b.g_sn and b.gc_sn = c.gc_sn and a.gl_djh = ?");
        q.order = byId;
    } else {
        return false;
    }
    return true;
}

// Rows per page of the filled print: N > 0, or 0 when filling is off.
int RowsPerPage(const LoginState &state, const QString &code)
{
    QString text;
    if (code == QLatin1String("CJ"))
        text = state.PurchaseRowsPerPage;
    else if (code == QLatin1String("XS"))
        text = state.SalesRowsPerPage;
    text = text.trimmed();
    if (text.isEmpty() || text == QLatin1String("0"))
        return 0;
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n > 0 ? n : 0;  // text the parameters form never stores leaves filling off
}

} // namespace

QString PrintLogNote(const QString &code)
{
    static const QList<std::pair<const char *, const char *>> notes = {
        {"CJ", "打印采购进货单"}, {"CT", "打印采购退货单"}, {"XS", "打印商品销售单"}, {"XT", "打印销售退货单"},
        {"XH", "打印商品换货单"}, {"CD", "打印采购订单"},   {"XD", "打印销售订单"},   {"DB", "打印库存调拨单"},
        {"PD", "打印库存盘点单"}, {"CF", "打印商品拆分单"}, {"KB", "打印商品捆绑单"}, {"BS", "打印商品报损单"},
        {"BY", "打印商品报溢单"}, {"khjh", "打印客户借货单"}, {"JG", "打印产品加工单"}, {"SC", "打印生产入库单"},
        {"ST", "打印生产退回单"}, {"LY", "打印部门领用单"}, {"LT", "打印部门退回单"}, {"WF", "打印外发加工单"},
        {"WS", "打印外发收货单"}, {"WT", "打印外发调整单"},
    };
    for (const auto &n : notes)
        if (code == QLatin1String(n.first))
            return QString::fromUtf8(n.second);
    return QString();
}

PrintLinesQuery GetPrintLinesSql(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                 const QString &number, const QString &code)
{
    PrintLinesQuery result;
    LineQuery q;
    const bool known = FindLineQuery(code, q);
    const QString setting = state.PrintLineOrder;

    Transaction transaction(db);
    if (known) {
        const int n = RowsPerPage(state, code);
        if (n > 0) {
            const QString op = state.CurrentOperatorName;
            const QString lines = code == QLatin1String("CJ") ? QStringLiteral("jxc_jhsp") : QStringLiteral("jxc_lsxssp");
            ClearOperatorTemp(db, op);
            // Every line of the number, also those the query leaves out: they print as empty rows.
            RunSql(db,
                   QStringLiteral("insert into jxc_tempspxf (rid, a_name) select id, cast(? as varchar(32)) "
                                  "from %1 where gl_djh = ? order by id")
                       .arg(lines),
                   {op, number});
            const int c = QueryScalar(db, QStringLiteral("select count(*) as num from jxc_tempspxf where a_name = ?"),
                                      {op})
                              .toInt();
            const int k = n - c % n;
            if (k != n && k > 0)
                for (int i = 0; i < k; ++i)
                    RunSql(db, QStringLiteral("insert into jxc_tempspxf (rid, a_name) values (0, ?)"), {op});
            result.sql = QStringLiteral("select y.* from jxc_tempspxf x left join (%1) y on x.rid = y.id "
                                        "where x.a_name = ?")
                             .arg(q.body);
            // Blank rows carry no goods code or name: they sort first on both databases.
            if (setting == QLatin1String("1"))
                result.sql += QStringLiteral(" order by y.g_sn nulls first, x.id");
            else if (setting == QLatin1String("2"))
                result.sql += QStringLiteral(" order by y.g_name nulls first, x.id");
            else
                result.sql += QStringLiteral(" order by x.id");
            result.binds = {number, op};
            result.rowsPerPage = n;
        } else {
            result.sql = q.body;
            if (!q.order.isEmpty())
                result.sql += q.order;
            else if (setting == QLatin1String("1"))
                result.sql += QStringLiteral(" order by a.g_sn || '', a.id + 0");
            else if (setting == QLatin1String("2"))
                result.sql += QStringLiteral(" order by %1, a.id + 0").arg(q.goodsName);
            else
                result.sql += QStringLiteral(" order by a.id + 0");
            result.binds = {number};
        }
    }
    WriteLog(db, state, clock, PrintLogNote(code));
    transaction.commit();
    return result;
}
