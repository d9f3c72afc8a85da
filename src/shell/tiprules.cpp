#include "shell/tiprules.h"

#include "foundation/db/clock.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"

#include <QSqlQuery>

#include <optional>

namespace {

struct TipRow
{
    Tip tip;
    QString shownOn;
};

TipRow readTip(QSqlQuery &q)
{
    return {{q.value(0).toLongLong(), ValueText(q.value(1))}, ValueText(q.value(2))};
}

std::optional<TipRow> firstTip(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {})
{
    QSqlQuery q = OpenSelect(db, sql, binds);
    if (!q.next())
        return std::nullopt;
    return readTip(q);
}

// All tips "0", the shown one "1" with today's date, in one transaction.
Tip mark(const QSqlDatabase &db, const Clock &clock, const Tip &tip)
{
    if (tip.id == 0)
        return tip;
    Transaction tx(db);
    RunSql(db, QStringLiteral("update jxc_mryt set mr_state = '0'"));
    RunSql(db, QStringLiteral("update jxc_mryt set mr_state = '1', mr_rq = ? where id = ?"), {clock.todayText(), tip.id});
    tx.commit();
    return tip;
}

} // namespace

bool TipBoxTicked(const QSqlDatabase &db)
{
    return QueryScalar(db, QStringLiteral("select t_mryt from jxc_txdisp order by id limit 1")) == QLatin1String("1");
}

void StoreTipBox(const QSqlDatabase &db, bool ticked)
{
    RunSql(db, QStringLiteral("update jxc_txdisp set t_mryt = ?"), {ticked ? QStringLiteral("1") : QStringLiteral("0")});
}

Tip OpenTipOfTheDay(const QSqlDatabase &db, const Clock &clock)
{
    QList<TipRow> pair;
    {
        QSqlQuery q = OpenSelect(db, QStringLiteral("select id, mr_ts, mr_rq from jxc_mryt order by coalesce(mr_state, ''), id limit 2"));
        while (q.next())
            pair.append(readTip(q));
    }
    if (pair.isEmpty())
        return {};
    const TipRow &a = pair.first();
    Tip shown;
    if (a.shownOn.isEmpty() || a.shownOn == clock.todayText())
        shown = a.tip;
    else if (pair.size() > 1)
        shown = pair[1].tip;
    else
        shown = firstTip(db, QStringLiteral("select id, mr_ts, mr_rq from jxc_mryt order by id limit 1"))->tip;
    return mark(db, clock, shown);
}

Tip NextTip(const QSqlDatabase &db, const Clock &clock, qint64 currentId, bool forward)
{
    const QString columns = QStringLiteral("select id, mr_ts, mr_rq from jxc_mryt ");
    std::optional<TipRow> next =
        forward ? firstTip(db, columns + QStringLiteral("where id > ? order by id limit 1"), {currentId})
                : firstTip(db, columns + QStringLiteral("where id < ? order by id desc limit 1"), {currentId});
    if (!next)
        next = firstTip(db, columns + (forward ? QStringLiteral("order by id limit 1") : QStringLiteral("order by id desc limit 1")));
    if (!next)
        return {};
    return mark(db, clock, next->tip);
}
