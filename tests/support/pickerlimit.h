#pragma once

// The batch limit of a goods picker through its own widgets, for every picker that has it: the
// picker lists 301 goods; all of them selected, F8 (`byF8`, where the picker has the key) or its
// add button refuses with "批量添加不能超过300行！" and adds nothing; one left out, the 300 are added without a
// word. `stored` counts the basket's rows in
// the database.

#include "scriptednotices.h"

#include "screenkit/datagrid.h"
#include "screenkit/pickrows.h"

#include <gtest/gtest.h>

#include <functional>

#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QtTest/QTest>

inline void ExpectBatchLimitOf300(PickRowsDialog *picker, ScriptedNotices &notices, const std::function<int()> &stored,
                                  bool byF8)
{
    DataGrid *list = picker->listGrid();
    ASSERT_EQ(list->rowCount(), 301);
    QTableView *view = list->view();
    view->setFocus(Qt::OtherFocusReason);
    view->selectAll();
    ASSERT_EQ(list->selectedRows().size(), 301);
    notices.shown.clear();
    if (byF8)
        QTest::keyClick(view, Qt::Key_F8);
    else
        picker->addButton()->click();
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("批量添加不能超过300行！")});
    EXPECT_EQ(stored(), 0);
    EXPECT_EQ(picker->basketGrid()->rowCount(), 0);

    view->selectionModel()->select(view->model()->index(300, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    ASSERT_EQ(list->selectedRows().size(), 300);
    picker->addButton()->click();
    EXPECT_EQ(notices.shown.size(), 1) << notices.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(stored(), 300);
    EXPECT_EQ(picker->basketGrid()->rowCount(), 300);
}
