#pragma once

#include <QString>

class DataGrid;

// A grid's arrangement kept in a file: our own INI keyed by field name,
//   [JxcGridLayout]
//   autowidth=0
//   g_name=2,150,1        (visual position, width, visible)
// One file per layout name in Layout/ of the program folder, shared by every operator.
QString GridLayoutFilePath(const QString &name);

// Writes the grid's arrangement (temporary file, then rename). False with the reason.
bool WriteGridLayout(const QString &filePath, const DataGrid &grid, QString *error);

// Applies a file written by WriteGridLayout: automatic column width goes off (whatever the
// file says, so the kept widths hold), unknown fields are ignored, columns the file does not
// name keep their designed place, gated columns stay hidden. A file of another format or a
// damaged one changes nothing and returns false.
bool ReadGridLayout(const QString &filePath, DataGrid &grid);
