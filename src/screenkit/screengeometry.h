#pragma once

// Screens remember their size and position per operator, in Layout/windows.ini of the program
// folder beside the grid layouts (a group per operator, a key per screen's object name). A
// screen shown for the first time (no size kept) is first widened until the footer of each of
// its grids shows whole, within the desktop.

#include <QRect>
#include <QString>

class QWidget;

// Layout/windows.ini of the program folder.
QString ScreenGeometryFilePath();

// Restores `screen`'s kept geometry when it is first shown (or fits it to its footers when
// none is kept) and keeps its geometry whenever it is hidden. Screens without an object name
// or without an operator are left alone.
void RememberScreenGeometry(QWidget *screen, const QString &operatorName);

// The width `screen` needs so that every grid footer inside it shows whole: its width plus
// what the widest footer lacks, at most `maxWidth`.
int WidthShowingFooters(const QWidget *screen, int maxWidth);

// The kept geometry of a screen for an operator; an invalid rectangle when none.
QRect KeptScreenGeometry(const QString &operatorName, const QString &screenName);
