#include "shell/reminderqueries.h"

#include "engine/printdocument.h"
#include "foundation/db/dialect.h"
#include "foundation/loginstate.h"
#include "foundation/rights.h"
#include "foundation/sanitize.h"
#include "foundation/sqlnames.h"
#include "report/model/reportoutput.h"

KeyedItems ReminderWarehouses(const QSqlDatabase &db, const LoginState &state)
{
    const QString table = QStringLiteral("jxc_ckxx");
    if (state.BindOperatorWarehouse == QLatin1String("1") && !state.isAdministrator()) {
        const QStringList codes = WarehousesOfOperator(db, state.CurrentOperatorSn);
        if (codes.isEmpty())
            return {};
        QStringList marks;
        QVariantList binds;
        for (const QString &code : codes) {
            marks << QStringLiteral("?");
            binds << code;
        }
        return LoadWarehouseCombo(db, table, QStringLiteral("ck_name"), QStringLiteral("ck_sn"), QStringLiteral("id"),
                                  SqlWhere(QStringLiteral("ck_sn in (%1)").arg(marks.join(QStringLiteral(", "))), binds));
    }
    return LoadKeyedCombo(db, table, QStringLiteral("ck_name"), QStringLiteral("ck_sn"), QStringLiteral("id"),
                          QStringLiteral("所有仓库"));
}

ListStatement StockAlarmStatement(const QSqlDatabase &db, const QString &warehouseKey, const QString &typedText)
{
    ListStatement s;
    if (warehouseKey.isEmpty() || warehouseKey == kAllKey) {
        s.body = QStringLiteral("select g.g_sn, g.g_name, g.dw_name, g.gg_name, g.color_name, g.g_kc as kc, g.g_zdkc "
                                "from jxc_goods g where g.g_kc < g.g_zdkc");
    } else {
        // The stock rows under names of their own, so the goods' names stay unambiguous for
        // the grid's sorting.
        s.body = QStringLiteral("select g.g_sn, g.g_name, g.dw_name, g.gg_name, g.color_name, k.kc_sl as kc, g.g_zdkc "
                                "from (select g_sn as kc_goods, kc_sl from jxc_kcsp where ck_sn = ?) k "
                                "join jxc_goods g on g.g_sn = k.kc_goods where k.kc_sl < g.g_zdkc");
        s.binds << warehouseKey;
    }
    s.body += QStringLiteral(" and g.g_sn <> '00000000' and coalesce(g.g_jy, 0) = 0");
    const QString text = SafeText(typedText.trimmed());
    if (!text.isEmpty()) {
        const Dialect dialect = Dialect::of(db);
        s.body += QStringLiteral(" and (%1 or %2 or %3)")
                      .arg(dialect.likeClause(QStringLiteral("g.g_sn")), dialect.likeClause(QStringLiteral("g.g_name")),
                           dialect.likeClause(QStringLiteral("g.g_jm")));
        const QString pattern = Dialect::containsPattern(text);
        s.binds << pattern << pattern << pattern;
    }
    s.order = QStringLiteral("kc, g_sn");
    return s;
}

ListStatement ReceivablesStatement(const QSqlDatabase &db, const LoginState &state, const QString &customerSn)
{
    ListStatement s;
    // The latest row of each customer through the index (k_type, k_ghskh, k_rq, id).
    s.body = QStringLiteral(
        "select y.id, c.kh_name, y.gl_djh, y.k_rq, y.k_ljje, y.k_fkfs, u.u_name, y.k_djtxt, y.k_note, y.k_ghskh "
        "from jxc_khxx c "
        "join jxc_ysyfk y on y.id = (select y2.id from jxc_ysyfk y2 where y2.k_type = 'kh' "
        "and y2.k_ghskh = c.kh_sn order by y2.k_rq desc, y2.id desc limit 1) "
        "left join jxc_user u on u.u_sn = y.u_sn "
        "where coalesce(c.kh_forbid, 0) = 0 and y.k_ljje <> 0");
    if (PartnerBindingApplies(state))
        s.body += QStringLiteral(" and ") + WarehouseBindingCondition(db, state, QStringLiteral("c.ck_sn"), s.binds);
    if (!customerSn.isEmpty()) {
        s.body += QStringLiteral(" and c.kh_sn = ?");
        s.binds << customerSn;
    }
    s.order = QStringLiteral("y.k_ghskh, y.k_rq, y.id");
    return s;
}

DataSet StockAlarmLines(const QSqlDatabase &db, const QString &warehouseKey, const QString &typedText)
{
    const ListStatement s = StockAlarmStatement(db, warehouseKey, typedText);
    return DataSet::read(db, s.body + QStringLiteral(" order by ") + s.order, s.binds);
}

PrintJob PrintStockAlarm(const QSqlDatabase &db, const LoginState &state, ReportOutput &output,
                         const QString &warehouseKey, const QString &typedText, const QString &warehouseText)
{
    const DataSet lines = StockAlarmLines(db, warehouseKey, typedText);
    ReportVariables variables;
    variables.set(QStringLiteral("ckName"), warehouseText);
    variables.set(QStringLiteral("goodsCount"), QString::number(lines.rowCount()));
    return PrintListReport(state, output, QStringLiteral("sjtxkc"), QStringLiteral("sjtxkc"), lines, variables);
}
