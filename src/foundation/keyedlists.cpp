#include "foundation/keyedlists.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/rights.h"


#include <stdexcept>

namespace {

KeyedItems keyedRows(const QSqlDatabase &db, const QString &table, const QString &display,
                     const QString &key, const QString &sort, const SqlWhere &where)
{
    CheckColumnName(table, display);
    CheckColumnName(table, key);
    const QString order = CheckedSort(table, sort);
    const QString sql = QStringLiteral("select %1, %2 from %3%4 order by %5")
                            .arg(display, key, table, CheckedWhere(where), order);
    KeyedItems items;
    QSqlQuery q = OpenSelect(db, sql, where.isEmpty() ? QVariantList() : where.binds);
    while (q.next())
        items.append({q.value(0).toString(), ValueText(q.value(1))});
    return items;
}

QStringList keyedTexts(const QSqlDatabase &db, const QString &table, const QString &column,
                       const QString &sort, const SqlWhere &where)
{
    CheckColumnName(table, column);
    const QString order = CheckedSort(table, sort);
    const QString sql = QStringLiteral("select %1 from %2%3 order by %4")
                            .arg(column, table, CheckedWhere(where), order);
    QStringList texts;
    QSqlQuery q = OpenSelect(db, sql, where.isEmpty() ? QVariantList() : where.binds);
    while (q.next())
        texts << ValueText(q.value(0));
    return texts;
}

// Columns of the account-set register, which is not part of an account set's catalogue.
bool keyedRegisterColumn(const QString &column)
{
    static const QStringList columns = {QStringLiteral("id"),        QStringLiteral("zt_sn"),
                                        QStringLiteral("zt_name"),   QStringLiteral("zt_default"),
                                        QStringLiteral("zt_forbid"), QStringLiteral("zt_note"),
                                        QStringLiteral("zt_dbname"), QStringLiteral("zt_dbpwd")};
    return columns.contains(column.trimmed().toLower());
}

} // namespace

KeyedItems LoadKeyedCombo(const QSqlDatabase &db, const QString &table, const QString &display,
                          const QString &key, const QString &sort, const QString &allCaption)
{
    KeyedItems rows = keyedRows(db, table, display, key, sort, SqlWhere());
    if (!allCaption.isEmpty())
        rows.prepend({allCaption, kAllKey});
    return rows;
}

KeyedItems LoadKeyedComboWhere(const QSqlDatabase &db, const QString &table, const QString &display,
                               const QString &key, const QString &sort, const SqlWhere &where,
                               const QString &allCaption)
{
    KeyedItems rows = keyedRows(db, table, display, key, sort, where);
    if (!where.isEmpty() && !allCaption.isEmpty())
        rows.append({allCaption, kAllKey});
    return rows;
}

KeyedItems LoadKeyedComboWhere2(const QSqlDatabase &db, const QString &table, const QString &display,
                                const QString &key, const QString &sort, const SqlWhere &where,
                                const QString &firstCaption)
{
    KeyedItems rows = keyedRows(db, table, display, key, sort, where);
    if (!firstCaption.isEmpty())
        rows.prepend({firstCaption, kAllKey});
    return rows;
}

KeyedItems LoadWarehouseCombo(const QSqlDatabase &db, const QString &table, const QString &display,
                              const QString &key, const QString &sort, const SqlWhere &where,
                              const QString &allCaption)
{
    KeyedItems rows = keyedRows(db, table, display, key, sort, where);
    if (allCaption == QStringLiteral("所有仓库"))
        rows.prepend({allCaption, kAllKey});
    return rows;
}

KeyedItems LoadKeyedTCombo(const QSqlDatabase &db, const QString &table, const QString &display,
                           const QString &key, const QString &sort)
{
    return keyedRows(db, table, display, key, sort, SqlWhere());
}

KeyedItems LoadZtCombo(const QSqlDatabase &registerDb, const QString &table, const QString &display,
                       const QString &key, const QString &sortColumn)
{
    if (table != QLatin1String("jxc_xtzt") || !keyedRegisterColumn(display) || !keyedRegisterColumn(key)
        || !keyedRegisterColumn(sortColumn))
        throw std::invalid_argument(
            QStringLiteral("未知的帐套列表：%1(%2, %3, %4)").arg(table, display, key, sortColumn).toStdString());
    // The default flag is 1 for true: descending puts the default set first.
    const QString sql = QStringLiteral("select %1, %2 from jxc_xtzt where zt_forbid = 0 "
                                       "order by zt_default desc, %3")
                            .arg(display, key, sortColumn);
    KeyedItems items;
    QSqlQuery q = OpenSelect(registerDb, sql);
    while (q.next())
        items.append({q.value(0).toString(), ValueText(q.value(1))});
    return items;
}

KeyedItems LoadAdminCombo(const QSqlDatabase &db, const LoginState &state, const QString &allCaption)
{
    KeyedItems items;
    if (state.isAdministrator() && !allCaption.isEmpty())
        items.append({allCaption, kAllKey});
    QString sql = QStringLiteral("select a_name, a_sn from jxc_admin where a_jyt = 0");
    QVariantList binds;
    if (PartnerBindingApplies(state)) {
        sql += QStringLiteral(" and a_sn = ?");
        binds << state.CurrentOperatorSn;
    }
    QSqlQuery q = OpenSelect(db, sql + QStringLiteral(" order by id"), binds);
    while (q.next())
        items.append({q.value(0).toString(), ValueText(q.value(1))});
    return items;
}

KeyedItems LoadUserCombo(const QSqlDatabase &db, const LoginState &state, const QString &flagColumn,
                         const QString &allCaption)
{
    const bool bound = PartnerBindingApplies(state);
    KeyedItems items;
    if (!allCaption.isEmpty() && !bound)
        items.append({allCaption, kAllKey});
    QString sql = QStringLiteral("select u_name, u_sn from jxc_user where u_jy = 0");
    QVariantList binds;
    if (!flagColumn.isEmpty()) {
        CheckColumnName(QStringLiteral("jxc_user"), flagColumn);
        sql += QStringLiteral(" and %1 <> 0").arg(flagColumn);
    }
    if (bound)
        sql += QStringLiteral(" and ") + WarehouseBindingCondition(db, state, QStringLiteral("ck_sn"), binds);
    QSqlQuery q = OpenSelect(db, sql + QStringLiteral(" order by id"), binds);
    while (q.next())
        items.append({q.value(0).toString(), ValueText(q.value(1))});
    return items;
}

KeyedItems LoadSalesmanCombo(const QSqlDatabase &db, const LoginState &state, const QString &display,
                             const QString &key, const QString &lastCaption, const QString &customerSn)
{
    CheckColumnName(QStringLiteral("jxc_user"), display);
    CheckColumnName(QStringLiteral("jxc_user"), key);
    // The customer's salesmen, as whole codes of its list ("100003,100005,").
    const QString usn = QueryScalar(db, QStringLiteral("select kh_usn from jxc_khxx where kh_sn = ? order by id limit 1"),
                                    {customerSn});
    QStringList own;
    for (const QString &code : usn.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!code.trimmed().isEmpty())
            own << code.trimmed();

    QVariantList binds;
    QString sort = QStringLiteral("2");
    if (!own.isEmpty()) {
        QStringList marks;
        for (const QString &code : own) {
            marks << QStringLiteral("?");
            binds << code;
        }
        sort = QStringLiteral("case when u_sn in (%1) then 1 else 2 end").arg(marks.join(QStringLiteral(", ")));
    }
    QString sql = QStringLiteral("select %1, %2, %3 as dsort, u_sn from jxc_user where u_jy = 0 and u_xs <> 0")
                      .arg(display, key, sort);
    if (PartnerBindingApplies(state))
        sql += QStringLiteral(" and ") + WarehouseBindingCondition(db, state, QStringLiteral("ck_sn"), binds);
    sql += QStringLiteral(" order by dsort, u_sn");

    KeyedItems items;
    QSqlQuery q = OpenSelect(db, sql, binds);
    while (q.next())
        items.append({q.value(0).toString(), ValueText(q.value(1))});
    if (!lastCaption.isEmpty())
        items.append({lastCaption, kAllKey});
    return items;
}

KeyedItems LoadSettleCombo(const QString &kind)
{
    KeyedItems items{{QStringLiteral("按实付款结算"), QStringLiteral("1")}};
    if (kind == QLatin1String("cg"))
        items.append({QStringLiteral("余款记入应付帐"), QStringLiteral("2")});
    else if (kind == QLatin1String("xs"))
        items.append({QStringLiteral("余款记入应收帐"), QStringLiteral("2")});
    return items;
}

QStringList FillComboTexts(const QSqlDatabase &db, const QString &table, const QString &column,
                           const QString &sort, const QString &blankFlag, const QString &extraItem)
{
    const QStringList rows = keyedTexts(db, table, column, sort, SqlWhere());
    QStringList texts;
    if (blankFlag == QLatin1String("1"))
        texts << QString();
    if (!extraItem.isEmpty())
        texts << extraItem;
    return texts + rows;
}

QStringList FillCxComboTexts(const QSqlDatabase &db, const QString &table, const QString &column,
                             const QString &sort, const QString &blankFlag, const QString &extraItem)
{
    const QStringList rows = keyedTexts(db, table, column, sort, SqlWhere());
    QStringList texts;
    if (!extraItem.isEmpty())
        texts << extraItem;
    if (blankFlag == QLatin1String("1"))
        texts << QString();
    return texts + rows;
}

QStringList FillCxComboTextsWhere(const QSqlDatabase &db, const QString &table, const QString &column,
                                  const QString &sort, const SqlWhere &where, const QString &blankFlag,
                                  const QString &extraItem)
{
    const QStringList rows = keyedTexts(db, table, column, sort, where);
    QStringList texts;
    if (blankFlag == QLatin1String("1"))
        texts << QString();
    if (!extraItem.isEmpty() && where.isEmpty())
        texts << extraItem;
    texts += rows;
    if (!extraItem.isEmpty() && !where.isEmpty())
        texts << extraItem;
    return texts;
}

KeyedItems LoadOperatorWarehouses(const QSqlDatabase &db, const LoginState &state)
{
    const QString table = QStringLiteral("jxc_ckxx");
    if (state.BindOperatorWarehouse != QLatin1String("1") || state.isAdministrator())
        return LoadKeyedCombo(db, table, QStringLiteral("ck_name"), QStringLiteral("ck_sn"), QStringLiteral("id"));
    const QStringList codes = WarehousesOfOperator(db, state.CurrentOperatorSn);
    if (codes.isEmpty())
        return {};
    QVariantList binds;
    for (const QString &code : codes)
        binds << code;
    const SqlWhere where(QStringLiteral("ck_sn in (") + QStringList(codes.size(), QStringLiteral("?")).join(QStringLiteral(", "))
                             + QStringLiteral(")"),
                         binds);
    return LoadKeyedComboWhere(db, table, QStringLiteral("ck_name"), QStringLiteral("ck_sn"), QStringLiteral("id"), where);
}
