#include "engine/duplicaterepair.h"

#include "foundation/db/clock.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/numbering.h"

#include <stdexcept>
#include <vector>

namespace duplicaterepair_impl {

struct DocKind
{
    const char *type;
    const char *header;
    const char *lines;
    const char *status;
    const char *date;
};

const DocKind kKinds[] = {
    {"CJ", "jxc_jhd", "jxc_jhsp", "j_status", "j_jhrq"},
    {"CT", "jxc_thd", "jxc_thsp", "th_status", "th_thrq"},
    {"XS", "jxc_lsxsd", "jxc_lsxssp", "ls_status", "ls_xsrq"},
    {"XT", "jxc_xsthd", "jxc_xsthsp", "th_status", "th_xsrq"},
};

// Serial of a number "<prefix><yyMMdd><serial>".
qint64 serialOf(const QString &number)
{
    return number.mid(8).toLongLong();
}

// A fresh number for `date` that neither the lines nor the headers hold: a renumbered copy
// without lines leaves no trace in the lines table, so both are asked.
QString freshNumber(const QSqlDatabase &db, const Clock &clock, const DocKind &kind, const QString &date)
{
    const QString type = QLatin1String(kind.type);
    auto next = [&](const char *table, const QString &day) {
        return GetNewDjhByDate(db, QLatin1String(table), QStringLiteral("gl_djh"), type, day);
    };
    QString day = date.left(10);
    QString fromLines, fromHeaders;
    try {
        fromLines = next(kind.lines, day);
    } catch (const std::invalid_argument &) {
        // A copy without a readable date is renumbered under today.
        day = clock.todayText();
        fromLines = next(kind.lines, day);
    }
    fromHeaders = next(kind.header, day);
    return serialOf(fromHeaders) > serialOf(fromLines) ? fromHeaders : fromLines;
}

} // namespace duplicaterepair_impl

QString FixDuplicateDjh(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &number,
                        const QString &type, const QString &operatorName)
{
    using namespace duplicaterepair_impl;
    Q_UNUSED(state)
    const DocKind *kind = nullptr;
    for (const DocKind &k : kKinds) {
        if (type == QLatin1String(k.type)) {
            kind = &k;
            break;
        }
    }
    if (!kind)
        return number;
    const QString H = QLatin1String(kind->header);
    const QString L = QLatin1String(kind->lines);
    const QString S = QLatin1String(kind->status);
    const QString D = QLatin1String(kind->date);

    Transaction tx(db, Transaction::Nesting::Join);
    const int copies = QueryScalar(db, QStringLiteral("select count(*) from %1 where gl_djh = ?").arg(H), {number}).toInt();
    if (copies <= 1) {
        tx.commit();
        return number;
    }

    bool taken = false;
    QSqlQuery audited = OpenSelect(db,
                                   QStringLiteral("select coalesce(a_name, '') from %1 where gl_djh = ? and %2 = 1 "
                                                  "order by id desc limit 1")
                                       .arg(H, S),
                                   {number});
    if (audited.next()) {
        const QString owner = audited.value(0).toString();
        audited.finish();
        RunSql(db, QStringLiteral("delete from %1 where gl_djh = ? and %2 = 0 and coalesce(a_name, '') = ?").arg(H, S),
               {number, owner});
        const int pending =
            QueryScalar(db, QStringLiteral("select count(*) from %1 where gl_djh = ? and %2 = 0").arg(H, S), {number})
                .toInt();
        if (pending == 0) {
            tx.commit();
            return number;
        }
        taken = true;
    }

    // Operator groups of the pending copies, the group of the first saved copy first.
    struct Group
    {
        QString owner;
        qint64 rid;
    };
    std::vector<Group> groups;
    {
        QSqlQuery q = OpenSelect(db,
                                 QStringLiteral("select coalesce(a_name, ''), min(id) from %1 where gl_djh = ? and %2 = 0 "
                                                "group by coalesce(a_name, '') order by min(id)")
                                     .arg(H, S),
                                 {number});
        while (q.next())
            groups.push_back({q.value(0).toString(), q.value(1).toLongLong()});
    }

    QString result = number;
    for (const Group &g : groups) {
        if (!taken) {
            taken = true;  // this operator keeps the number
            continue;
        }
        const QString date = QueryScalar(db, QStringLiteral("select %1 from %2 where id = ?").arg(D, H), {g.rid});
        const QString fresh = freshNumber(db, clock, *kind, date);
        RunSql(db, QStringLiteral("update %1 set gl_djh = ? where id = ?").arg(H), {fresh, g.rid});
        RunSql(db, QStringLiteral("update %1 set gl_djh = ? where gl_djh = ? and coalesce(a_name, '') = ?").arg(L),
               {fresh, number, g.owner});
        RunSql(db,
               QStringLiteral("delete from %1 where gl_djh = ? and %2 = 0 and coalesce(a_name, '') = ? and id <> ?")
                   .arg(H, S),
               {number, g.owner, g.rid});
        if (g.owner == operatorName)
            result = fresh;
    }
    tx.commit();
    return result;
}
