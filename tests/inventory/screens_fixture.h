#pragma once

// The inventory screens through their real widgets (tests/support/screenfixture.h): the
// inventory set (tests/support/inventoryset.h) in the fixture's account set, and a registry
// holding the real registrations of the master-data and inventory screens.

#include "../support/inventoryset.h"
#include "../support/screenfixture.h"
#include "../support/seed.h"

#include "foundation/db/numbers.h"
#include "inventory/forms/inventoryscreens.h"
#include "masterdata/forms/masterdatascreens.h"
#include "screenkit/datagrid.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QtTest/QTest>

class InventoryScreenTest : public ScreenFixture
{
protected:
    void SetUp() override
    {
        clock.set(QDateTime(QDate(2024, 3, 8), QTime(10, 15, 0)));
        ScreenFixture::SetUp();
        if (IsSkipped())
            return;
        reloadState();
        SeedInventorySet(db(), clock, state);
        RegisterMasterdataScreens(registry);
        RegisterInventoryScreens(registry);
    }
    void reloadState() override
    {
        ScreenFixture::reloadState();
        SetInventoryDefaults(state);
    }

    template <typename T>
    T *open(const QString &screenClass)
    {
        window.reset(registry.create(screenClass, screenClass, context()));
        window->show();
        QApplication::setActiveWindow(window.get());
        return static_cast<T *>(window.get());
    }
    template <typename T>
    static T *find(QObject *parent, const char *name)
    {
        return parent->findChild<T *>(QString::fromLatin1(name));
    }
    static void keyTo(QWidget *target, Qt::Key key)
    {
        target->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(target, key);
    }
    static void selectRows(DataGrid *grid, const QList<int> &rows)
    {
        QTableView *view = grid->view();
        view->clearSelection();
        for (int row : rows)
            view->selectionModel()->select(view->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QString rows(const QString &sql, const QVariantList &binds = {}) const { return RowsText(db(), sql, binds); }

    std::unique_ptr<QDialog> window;
};
