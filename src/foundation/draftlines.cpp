#include "foundation/draftlines.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/linemath.h"
#include "foundation/loginstate.h"
#include "foundation/numbering.h"
#include "foundation/rowvalues.h"

#include <QDate>
#include <QSqlQuery>

namespace {

// The later of two numbers of the same prefix and day (a serial past 99999 is longer).
QString later(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() > b.size() ? a : b;
    return a > b ? a : b;
}

} // namespace

DraftLines::DraftLines(const QSqlDatabase &db, const DocType &type, const LoginState &state)
    : m_db(db), m_type(type), m_state(state)
{
    m_type.check();
}

QString DraftLines::operatorName() const
{
    return m_state.CurrentOperatorName;
}

QString DraftLines::newNumber(const QString &day) const
{
    return GetNewDjhByDate(m_db, m_type.headerTable, DocType::numberField(), m_type.prefix, day);
}

DraftTotals DraftLines::totals(const QString &number) const
{
    QSqlQuery q = OpenSelect(m_db,
                             QStringLiteral("select count(*), sum(%1), sum(%2) from %3 where gl_djh = ? and a_name = ?")
                                 .arg(m_type.quantityField, m_type.amountField, m_type.linesTable),
                             {number, operatorName()});
    DraftTotals t;
    if (q.next()) {
        t.lines = q.value(0).toInt();
        t.quantity = q.value(1).toDouble();
        t.amount = q.value(2).toDouble();
    }
    return t;
}

qint64 DraftLines::addLine(const QString &number, const QString &goods, double quantity, double price)
{
    const double amount = LineAmount(price, quantity, m_type.amountDecimals);
    return InsertReturningId(m_db,
                             QStringLiteral("insert into %1 (gl_djh, g_sn, %2, %3, %4, a_name) values (?, ?, ?, ?, ?, ?)")
                                 .arg(m_type.linesTable, m_type.quantityField, m_type.priceField, m_type.amountField),
                             {number, goods, quantity, price, amount, operatorName()});
}

bool DraftLines::ownLine(qint64 lineId, double *quantity, double *price) const
{
    QSqlQuery q = OpenSelect(m_db,
                             QStringLiteral("select %1, %2 from %3 where id = ? and a_name = ?")
                                 .arg(m_type.quantityField, m_type.priceField, m_type.linesTable),
                             {lineId, operatorName()});
    if (!q.next())
        return false;
    *quantity = q.value(0).toDouble();
    *price = q.value(1).toDouble();
    return true;
}

bool DraftLines::setQuantity(qint64 lineId, double quantity)
{
    double q = 0, p = 0;
    if (!ownLine(lineId, &q, &p))
        return false;
    RunSql(m_db, QStringLiteral("update %1 set %2 = ?, %3 = ? where id = ?")
                     .arg(m_type.linesTable, m_type.quantityField, m_type.amountField),
           {quantity, LineAmount(p, quantity, m_type.amountDecimals), lineId});
    return true;
}

bool DraftLines::setPrice(qint64 lineId, double price)
{
    double q = 0, p = 0;
    if (!ownLine(lineId, &q, &p))
        return false;
    RunSql(m_db, QStringLiteral("update %1 set %2 = ?, %3 = ? where id = ?")
                     .arg(m_type.linesTable, m_type.priceField, m_type.amountField),
           {price, LineAmount(price, q, m_type.amountDecimals), lineId});
    return true;
}

bool DraftLines::removeLine(qint64 lineId)
{
    return RunSql(m_db, QStringLiteral("delete from %1 where id = ? and a_name = ?").arg(m_type.linesTable),
                  {lineId, operatorName()})
           > 0;
}

qint64 DraftLines::insertLine(const QString &number, const QVariantMap &values)
{
    QVariantMap row = values;
    row.insert(DocType::numberField(), number);
    row.insert(DocType::operatorField(), operatorName());
    return InsertValues(m_db, m_type.linesTable, row);
}

bool DraftLines::updateLine(qint64 lineId, const QVariantMap &values)
{
    return UpdateValues(m_db, m_type.linesTable, values, SqlWhere(QStringLiteral("id = ? and a_name = ?"), {lineId, operatorName()}))
           > 0;
}

bool DraftLines::updateDocumentLine(const QString &number, qint64 lineId, const QVariantMap &values)
{
    return UpdateValues(m_db, m_type.linesTable, values, SqlWhere(QStringLiteral("id = ? and gl_djh = ?"), {lineId, number}))
           > 0;
}

QVariantMap DraftLines::readLine(qint64 lineId, const QStringList &columns) const
{
    return ReadValues(m_db, m_type.linesTable, columns, SqlWhere(QStringLiteral("id = ?"), {lineId}));
}

double DraftLines::documentTotal(const QString &number) const
{
    return QueryScalar(m_db,
                       QStringLiteral("select sum(%1) from %2 where gl_djh = ? and g_sn <> '00000000'")
                           .arg(m_type.amountField, m_type.linesTable),
                       {number})
        .toDouble();
}

int DraftLines::discard(const QString &number)
{
    return RunSql(m_db, QStringLiteral("delete from %1 where gl_djh = ? and a_name = ?").arg(m_type.linesTable),
                  {number, operatorName()});
}

int DraftLines::moveLines(const QString &from, const QString &to)
{
    if (from == to)
        return 0;
    return RunSql(m_db,
                  QStringLiteral("update %1 set gl_djh = ? where gl_djh = ? and a_name = ?").arg(m_type.linesTable),
                  {to, from, operatorName()});
}

QString DraftLines::renumberForDay(const QString &number, const QString &day, SameDay sameDay)
{
    // The number of the same day stays: a new one would only skip a serial.
    const QString stem = m_type.prefix + QDate::fromString(day.left(10), QStringLiteral("yyyy-MM-dd")).toString(QStringLiteral("yyMMdd"));
    if (sameDay == SameDay::Keep && number.startsWith(stem) && number.size() > stem.size())
        return number;
    Transaction tx(m_db);
    QString fresh = newNumber(day);
    if (DjhUsedByOther(m_db, m_state, m_type.linesTable, DocType::numberField(), fresh))
        fresh = GetNewDjhByDate(m_db, m_type.linesTable, DocType::numberField(), m_type.prefix, day);
    moveLines(number, fresh);
    tx.commit();
    return fresh;
}

QString DraftLines::numberForNewLines(const QString &number, const QString &day)
{
    if (!DjhUsedByOther(m_db, m_state, m_type.linesTable, DocType::numberField(), number))
        return number;
    // The lines table holds the clashing lines; the next serial is taken past them too.
    const QString byHeader = newNumber(day);
    const QString byLines = GetNewDjhByDate(m_db, m_type.linesTable, DocType::numberField(), m_type.prefix, day);
    const QString fresh = later(byHeader, byLines);
    Transaction tx(m_db);
    moveLines(number, fresh);
    tx.commit();
    return fresh;
}

QString DraftLines::numberForSave(const QString &number, const QString &day, const QString &table, Taken taken)
{
    const QString where = table.isEmpty() ? m_type.headerTable : table;
    const bool clash = taken == Taken::AnyRow
                           ? FieldValueExists(m_db, where, DocType::numberField(), number)
                           : DjhUsedByOther(m_db, m_state, where, DocType::numberField(), number);
    if (!clash)
        return number;
    Transaction tx(m_db);
    const QString fresh = later(later(newNumber(day), GetNewDjhByDate(m_db, m_type.linesTable, DocType::numberField(),
                                                                       m_type.prefix, day)),
                                GetNewDjhByDate(m_db, where, DocType::numberField(), m_type.prefix, day));
    moveLines(number, fresh);
    tx.commit();
    return fresh;
}

QString DraftLines::linesBody() const
{
    return QStringLiteral("select b.id, b.g_sn, a.g_name, a.dw_name, b.%1 as sl, b.%2 as dj, b.%3 as zje "
                          "from %4 b left join jxc_goods a on a.g_sn = b.g_sn "
                          "where b.gl_djh = ? and b.a_name = ?")
        .arg(m_type.quantityField, m_type.priceField, m_type.amountField, m_type.linesTable);
}

QVariantList DraftLines::linesBinds(const QString &number) const
{
    return {number, operatorName()};
}

QString DraftLines::documentLinesBody() const
{
    return QStringLiteral("select b.id, b.g_sn, a.g_name, a.dw_name, b.%1 as sl, b.%2 as dj, b.%3 as zje "
                          "from %4 b left join jxc_goods a on a.g_sn = b.g_sn where b.gl_djh = ?")
        .arg(m_type.quantityField, m_type.priceField, m_type.amountField, m_type.linesTable);
}
