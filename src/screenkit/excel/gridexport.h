#pragma once

// The one export of a grid: every "导出…" command of the system writes an .xlsx workbook with
// the rows the grid shows (filter, sort and layout applied; every row, not only loaded ones).

#include <QString>

class DataGrid;
class FileChoice;
class Notices;
class QWidget;

inline constexpr const char *kXlsxFilter = "Excel 工作簿 (*.xlsx)";

// "库存.xls" and "库存" both become "库存.xlsx"; ".xlsx" stays.
QString XlsxFileName(const QString &chosen);

// Writes the workbook (sheet "Sheet1": band row, captions, rows, footer) through a temporary
// file renamed at the end: a failure leaves no file. False with the reason.
bool WriteGridWorkbook(const DataGrid &grid, const QString &path, QString *error);

// Asks for the file (empty name at start), writes it, shows "导出失败：" and the reason on
// failure and nothing on success. Returns the written path, empty on Cancel or failure.
QString ExportGrid(const DataGrid &grid, FileChoice &files, Notices &notices, QWidget *parent = nullptr);
