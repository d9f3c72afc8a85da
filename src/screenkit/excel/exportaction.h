#pragma once

// The "导出…" item of a screen's menu: one call adds it and wires it to ExportGrid.

#include <QString>

class DataGrid;
class FileChoice;
class Notices;
class QAction;
class QMenu;
class QWidget;

// Adds `caption` ("导出Excel表(&E)", "导出为Excel(&E)" …) to the menu; triggering it exports
// the grid (asks for the file, writes .xlsx, "导出失败：" on failure). The grid, file choice and
// notices must outlive the menu.
QAction *AddExportGridItem(QMenu *menu, const DataGrid *grid, FileChoice &files, Notices &notices,
                           const QString &caption = QStringLiteral("导出Excel表(&E)"));
// The same behind any action (a button's, a toolbar's).
void WireExportGrid(QAction *action, const DataGrid *grid, FileChoice &files, Notices &notices);
