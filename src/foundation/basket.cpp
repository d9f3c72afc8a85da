#include "foundation/basket.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/goods.h"
#include "foundation/notices.h"
#include "foundation/db/transaction.h"
#include "foundation/linemath.h"
#include "foundation/loginstate.h"
#include "foundation/rowvalues.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <stdexcept>

namespace {

QVariant cutText(const QString &table, const QString &column, const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return CutToColumn(table, column, value.toString());
    return value;
}

} // namespace

Basket::Basket(const QSqlDatabase &db, const DocType &type, const LoginState &state)
    : m_db(db), m_type(type), m_state(state)
{
    if (m_type.basketTable.isEmpty())
        throw std::invalid_argument("document type without a basket: " + m_type.name.toStdString());
    m_type.check();
}

void Basket::clear()
{
    RunSql(m_db, QStringLiteral("delete from %1 where a_name = ?").arg(m_type.basketTable),
           {m_state.CurrentOperatorName});
}

int Basket::count() const
{
    return QueryScalar(m_db, QStringLiteral("select count(*) from %1 where a_name = ?").arg(m_type.basketTable),
                       {m_state.CurrentOperatorName})
        .toInt();
}

bool Basket::contains(const QString &goods) const
{
    return OpenSelect(m_db, QStringLiteral("select g_sn from %1 where a_name = ? and g_sn = ?").arg(m_type.basketTable),
                      {m_state.CurrentOperatorName, goods})
        .next();
}

int Basket::add(const QList<BasketItem> &items)
{
    Transaction tx(m_db);
    const QString sql = QStringLiteral("insert into %1 (g_sn, ts_sl, ts_dj, ts_zje, a_name) values (?, ?, ?, ?, ?)")
                            .arg(m_type.basketTable);
    for (const BasketItem &item : items) {
        RunSql(m_db, sql,
               {item.goods, item.quantity, item.price, LineAmount(item.price, item.quantity, m_type.amountDecimals),
                m_state.CurrentOperatorName});
    }
    tx.commit();
    return int(items.size());
}

bool Basket::setQuantity(qint64 rowId, double quantity)
{
    QSqlQuery row = OpenSelect(m_db, QStringLiteral("select ts_dj from %1 where id = ? and a_name = ?")
                                         .arg(m_type.basketTable),
                               {rowId, m_state.CurrentOperatorName});
    if (!row.next())
        return false;
    const double price = row.value(0).toDouble();
    RunSql(m_db, QStringLiteral("update %1 set ts_sl = ?, ts_zje = ? where id = ?").arg(m_type.basketTable),
           {quantity, LineAmount(price, quantity, m_type.amountDecimals), rowId});
    return true;
}

bool Basket::remove(qint64 rowId)
{
    return RunSql(m_db, QStringLiteral("delete from %1 where id = ? and a_name = ?").arg(m_type.basketTable),
                  {rowId, m_state.CurrentOperatorName})
           > 0;
}

qint64 Basket::addRow(const QVariantMap &values)
{
    QVariantMap row = values;
    row.insert(DocType::operatorField(), m_state.CurrentOperatorName);
    return InsertValues(m_db, m_type.basketTable, row);
}

bool Basket::updateRow(qint64 rowId, const QVariantMap &values)
{
    return UpdateValues(m_db, m_type.basketTable, values,
                        SqlWhere(QStringLiteral("id = ? and a_name = ?"), {rowId, m_state.CurrentOperatorName}))
           > 0;
}

QVariantMap Basket::readRow(qint64 rowId, const QStringList &columns) const
{
    return ReadValues(m_db, m_type.basketTable, columns,
                      SqlWhere(QStringLiteral("id = ? and a_name = ?"), {rowId, m_state.CurrentOperatorName}));
}

void Basket::dropEmptyCodes()
{
    if (m_type.basketKeepsEmptyCodes)
        return;
    RunSql(m_db, QStringLiteral("delete from %1 where a_name = ? and (g_sn is null or g_sn = '')").arg(m_type.basketTable),
           {m_state.CurrentOperatorName});
}

int Basket::copyInto(const QString &number, const LineExtras &lineExtras)
{
    Transaction tx(m_db);
    dropEmptyCodes();
    const QList<QPair<QString, QString>> map = m_type.basketToLine();
    QList<QVariantMap> basketRows;
    {
        // Every basket column by name: the mapped ones and whatever the extras compute from.
        QSqlQuery rows = OpenSelect(m_db, QStringLiteral("select * from %1 where a_name = ? order by id").arg(m_type.basketTable),
                                    {m_state.CurrentOperatorName});
        while (rows.next()) {
            QVariantMap row;
            const QSqlRecord record = rows.record();
            for (int i = 0; i < record.count(); ++i)
                row.insert(record.fieldName(i).toLower(), rows.value(i));
            basketRows << row;
        }
    }
    QString sql;
    QStringList extraColumns;
    QList<QPair<QString, QString>> copied = map;
    int written = 0;
    for (const QVariantMap &basketRow : std::as_const(basketRows)) {
        const QVariantMap extras = lineExtras ? lineExtras(basketRow) : QVariantMap();
        if (sql.isEmpty()) {
            extraColumns = extras.keys();
            for (const QString &c : extraColumns) {
                CheckColumnName(m_type.linesTable, c);
                // An extra value of a copied column replaces the copy.
                copied.removeIf([&c](const QPair<QString, QString> &pair) { return pair.second == c; });
            }
            QStringList columns{DocType::numberField(), DocType::goodsField(), DocType::operatorField()};
            for (const auto &pair : std::as_const(copied))
                columns << pair.second;
            for (const QString &c : extraColumns)
                if (columns.contains(c))
                    throw std::invalid_argument("basket copy: an extra column is a fixed one: " + c.toStdString());
            columns << extraColumns;
            sql = QStringLiteral("insert into %1 (%2) values (%3)")
                      .arg(m_type.linesTable, columns.join(QStringLiteral(", ")),
                           QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
        } else if (extras.keys() != extraColumns) {
            throw std::invalid_argument("basket copy: every row must give the same extra columns");
        }
        if (m_type.basketSkipsCountedGoods
            && !QueryScalar(m_db, QStringLiteral("select id from %1 where gl_djh = ? and g_sn = ? limit 1").arg(m_type.linesTable),
                            {number, basketRow.value(QStringLiteral("g_sn"))})
                    .isEmpty())
            continue;
        QVariantList binds{number, basketRow.value(QStringLiteral("g_sn")), m_state.CurrentOperatorName};
        for (const auto &pair : std::as_const(copied))
            binds << cutText(m_type.linesTable, pair.second, basketRow.value(pair.first));
        for (const QString &c : extraColumns)
            binds << cutText(m_type.linesTable, c, extras.value(c));
        RunSql(m_db, sql, binds);
        ++written;
    }
    clear();
    tx.commit();
    return written;
}

QString Basket::rowsBody() const
{
    return QStringLiteral("select b.id, b.g_sn, a.g_name, a.dw_name, b.ts_sl as sl, b.ts_dj as dj, b.ts_zje as zje "
                          "from %1 b left join jxc_goods a on a.g_sn = b.g_sn where b.a_name = ?")
        .arg(m_type.basketTable);
}

QVariantList Basket::rowsBinds() const
{
    return {m_state.CurrentOperatorName};
}

bool Basket::pickedAlready(const QString &number, const QString &goods, bool operatorLinesOnly) const
{
    if (contains(goods))
        return true;
    QString sql = QStringLiteral("select id from %1 where g_sn = ? and gl_djh = ?").arg(m_type.linesTable);
    QVariantList binds{goods, number};
    if (operatorLinesOnly) {
        sql += QStringLiteral(" and a_name = ?");
        binds << m_state.CurrentOperatorName;
    }
    return !QueryScalar(m_db, sql + QStringLiteral(" limit 1"), binds).isEmpty();
}

ListStatement PickerBasketStatement(const DocType &type, const LoginState &state)
{
    return {QStringLiteral("select a.*, b.g_name, b.gg_name, b.color_name, a.ts_dj * a.ts_dzl as g_sj "
                           "from %1 a left join jxc_goods b on b.g_sn = a.g_sn "
                           "where a.a_name = ? and a.ts_dzl > 0")
                .arg(type.basketTable),
            QStringLiteral("a.id desc"),
            {state.CurrentOperatorName}};
}

bool RemoveBasketRow(const QSqlDatabase &db, const DocType &type, const LoginState &state, Notices &notices,
                     qint64 rowId)
{
    try {
        return Basket(db, type, state).remove(rowId);
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("删除商品失败：") + e.text());
        return false;
    }
}

bool EmptyBasket(const QSqlDatabase &db, const LoginState &state, Notices &notices)
{
    try {
        ClearOperatorTemp(db, state.CurrentOperatorName);
        return true;
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("删除商品失败：") + e.text());
        return false;
    }
}
