#pragma once

// The tip of the day (jxc_mryt) and the state of its "启动时显示" box (jxc_txdisp.t_mryt).

#include <QSqlDatabase>
#include <QString>

class Clock;

struct Tip
{
    qint64 id = 0;  // 0: no tip (empty table)
    QString text;
};

// Whether the box "启动时显示" starts ticked: t_mryt is "1".
bool TipBoxTicked(const QSqlDatabase &db);
// Stores the box: t_mryt "1" or "0".
void StoreTipBox(const QSqlDatabase &db, bool ticked);

// The tip to show on opening: of the first two tips by mr_state, id (the one shown last comes
// after the others), the first when it was never shown or shown today, else the second, else
// the tip of the lowest id. The tip is marked as shown today.
Tip OpenTipOfTheDay(const QSqlDatabase &db, const Clock &clock);

// The tip after (or before) `currentId` by id, wrapping round; marked as shown today. An empty
// table gives no tip and marks nothing.
Tip NextTip(const QSqlDatabase &db, const Clock &clock, qint64 currentId, bool forward);
