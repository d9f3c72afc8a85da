#include "foundation/basket.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/linemath.h"
#include "foundation/loginstate.h"

#include <QSqlQuery>

#include <stdexcept>

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

int Basket::copyInto(const QString &number)
{
    Transaction tx(m_db);
    const int written =
        RunSql(m_db,
               QStringLiteral("insert into %1 (gl_djh, g_sn, %2, %3, %4, a_name) "
                              "select ?, g_sn, ts_sl, ts_dj, ts_zje, a_name from %5 where a_name = ? order by id")
                   .arg(m_type.linesTable, m_type.quantityField, m_type.priceField, m_type.amountField,
                        m_type.basketTable),
               {number, m_state.CurrentOperatorName});
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
