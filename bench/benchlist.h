#pragma once

// A list as a screen opens it, timed beside its raw reference: through the kit's grid model
// (the count and the footers' sums, then the first rows), and the same plain work through
// sqlite3 / libpq (one statement for the count with the sums, one for the first block of rows).

#include "benchraw.h"

#include "foundation/db/liststatement.h"
#include "screenkit/dialogparts.h"
#include "screenkit/gridmodel.h"

#include <QSqlDatabase>
#include <QStringList>

inline Timing MeasureList(int runs, const QSqlDatabase &db, const ListStatement &st, const QStringList &sums)
{
    SqlGridModel model(db);
    QList<GridColumn> columns;
    for (const QString &f : sums)
        columns << ListColumn(f.toLatin1().constData(), "", 80, ColumnKind::Money);
    model.setColumns(columns);
    return MeasureRuns(runs, [&] {
        model.setStatement(st.body, st.order, st.binds);
        model.reload();
        int count = 0;
        model.sums(sums, &count);
        model.data(model.index(0, 0), Qt::DisplayRole);
    });
}

inline Timing MeasureRawList(int runs, RawDb &raw, const ListStatement &st, const QStringList &sums)
{
    QStringList s{QStringLiteral("count(*)")};
    for (const QString &f : sums)
        s << QStringLiteral("sum(%1)").arg(f);
    const QString footers = QStringLiteral("select %1 from (%2) z").arg(s.join(QStringLiteral(", ")), st.body);
    const QString block = st.body + QStringLiteral(" order by ") + st.order + QStringLiteral(" limit 400");
    return MeasureRuns(runs, [&] {
        raw.run(footers, st.binds);
        raw.run(block, st.binds);
    });
}
