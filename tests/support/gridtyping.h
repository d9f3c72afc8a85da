#pragma once

// Typing into a DataGrid as an operator does: the first key opens the cell's editor, the rest
// go into it.

#include "screenkit/datagrid.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

// Types into the grid: the first key opens the editor, the rest go into it.
inline QWidget *GridKeyTarget(DataGrid &grid)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (auto *editor = grid.view()->findChild<QLineEdit *>(QStringLiteral("gridEditor")))
        return editor;
    return grid.view();
}

inline void TypeIntoGrid(DataGrid &grid, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(GridKeyTarget(grid), c.toLatin1());
}

inline void KeyIntoGrid(DataGrid &grid, Qt::Key key)
{
    QTest::keyClick(GridKeyTarget(grid), key);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
