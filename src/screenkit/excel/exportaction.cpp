#include "screenkit/excel/exportaction.h"

#include "screenkit/excel/gridexport.h"
#include "screenkit/datagrid.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

void WireExportGrid(QAction *action, const DataGrid *grid, FileChoice &files, Notices &notices)
{
    QPointer<const DataGrid> target(grid);
    QObject::connect(action, &QAction::triggered, action, [target, &files, &notices] {
        if (!target)
            return;
        ExportGrid(*target, files, notices, const_cast<DataGrid *>(target.data())->window());
    });
}

QAction *AddExportGridItem(QMenu *menu, const DataGrid *grid, FileChoice &files, Notices &notices,
                           const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QStringLiteral("exportGrid"));
    WireExportGrid(action, grid, files, notices);
    return action;
}
