#include "masterdata/recordsave.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/notices.h"
#include "foundation/numbering.h"
#include "foundation/sanitize.h"
#include "foundation/sqlnames.h"

#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

QString StoredText(const QString &table, const QString &column, const QString &typed, TextForm form)
{
    QString t = StripControls(typed).trimmed();
    if (form == TextForm::Safe)
        t = SafeText(t);
    else if (form == TextForm::KeepMath)
        t = SafeTextKeepMath(t);
    return CutToColumn(table, column, t);
}

QVariantMap RecordMap(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = OpenSelect(db, sql, binds);
    QVariantMap m;
    if (!q.next())
        return m;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        m.insert(rec.fieldName(i).toLower(), ValueText(q.value(i)));
    return m;
}

bool WriteFlag(const QSqlDatabase &db, Notices &notices, const QString &failedText, const QString &table,
               const QString &column, qint64 id, bool on)
{
    CheckColumnName(table, column);
    try {
        Transaction tx(db);
        RunSql(db, QStringLiteral("update %1 set %2 = ? where id = ?").arg(table, column), {on ? 1 : 0, id});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        notices.notice(failedText + e.text());
        return false;
    }
}

bool NameTaken(const QSqlDatabase &db, const QString &table, const QString &column, const QString &name,
               qint64 exceptId)
{
    CheckColumnName(table, column);
    QSqlQuery q = OpenSelect(db,
                             QStringLiteral("select id from %1 where lower(%2) = lower(?) and id <> ? limit 1")
                                 .arg(table, column),
                             {name, exceptId});
    return q.next();
}

QString CommaList(const QStringList &entries)
{
    QString out;
    for (const QString &e : entries)
        out += e + QLatin1Char(',');
    return out;
}

QStringList CommaEntries(const QString &list)
{
    QStringList out;
    for (const QString &e : list.split(QLatin1Char(',')))
        if (!e.isEmpty())
            out << e;
    return out;
}

QList<bool> TickedChildren(const KeyedItems &children, const QString &storedNames, const QString &storedCodes)
{
    const QStringList nameList = CommaEntries(storedNames);
    const QStringList codeList = CommaEntries(storedCodes);
    const QSet<QString> names(nameList.begin(), nameList.end());
    const QSet<QString> codes(codeList.begin(), codeList.end());
    QList<bool> out;
    for (const KeyedItem &child : children)
        out << (names.contains(child.text) || (!child.key.isEmpty() && codes.contains(child.key)));
    return out;
}

QString CodeDraws::draw(const QString &table, const QString &column)
{
    const QString code = GetNewSn(m_db, table, column);
    m_seen.emplace_back(table, column, code);
    return code;
}

void CodeDraws::note(const QString &table, const QString &column)
{
    m_seen.emplace_back(table, column, GetNewSn(m_db, table, column));
}

bool CodeDraws::moved() const
{
    for (const auto &[table, column, code] : m_seen) {
        try {
            if (GetNewSn(m_db, table, column) != code)
                return true;
        } catch (const DbError &) {
            return false;
        }
    }
    return false;
}

void RunWithFreshCodes(const QSqlDatabase &db, const std::function<void(CodeDraws &)> &attempt)
{
    CodeDraws first(db);
    try {
        attempt(first);
        return;
    } catch (const DbError &) {
        if (!first.moved())
            throw;
    }
    CodeDraws second(db);
    attempt(second);
}
