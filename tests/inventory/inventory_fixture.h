#pragma once

// Fixture of the inventory rules: the inventory set (tests/support/inventoryset.h), notices
// scripted, and the targets of the dialogs as the windows hand them over.

#include "../support/inventoryset.h"
#include "../support/scriptednotices.h"
#include "../support/seed.h"
#include "../support/testdb.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/loginstate.h"
#include "inventory/inventorydoc.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariantMap>

inline constexpr double kEps = 1e-8;

class InventoryTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        SeedInventorySet(db(), clock, state);
    }

    // The entry page of a document type: the first number of 2024-03-08, the warehouse (the out
    // warehouse of a transfer) 主仓库; its calls record what the window would do.
    DocumentContext entry(InventoryDoc doc = InventoryDoc::Transfer)
    {
        DocumentContext c;
        c.type = InventoryDocType(doc);
        c.page = DocPage::Entry;
        c.number = c.type.prefix + QStringLiteral("24030810001");
        c.day = QStringLiteral("2024-03-08");
        c.warehouse = QString::fromLatin1(kMainWarehouse);
        c.linesChanged = [this] { ++linesChanged; };
        c.numberChanged = [this](const QString &n) { renumbered << n; };
        return c;
    }
    DocumentContext pending(const QString &number)
    {
        DocumentContext c = entry(InventoryDocOf(number));
        c.page = DocPage::Pending;
        c.number = number;
        c.day = QStringLiteral("2024-03-08 10:15");
        return c;
    }

    QString scalar(const QString &sql, const QVariantList &binds = {}) const { return QueryScalar(db(), sql, binds); }
    double number(const QString &sql, const QVariantList &binds = {}) const { return TextToNumber(scalar(sql, binds)); }
    int count(const QString &sql, const QVariantList &binds = {}) const { return scalar(sql, binds).toInt(); }
    QString rows(const QString &sql, const QVariantList &binds = {}) const { return RowsText(db(), sql, binds); }
    double stock(const QString &goods, const QString &warehouse = QString::fromLatin1(kMainWarehouse)) const
    {
        return number(QStringLiteral("select kc_sl from jxc_kcsp where g_sn = ? and ck_sn = ?"), {goods, warehouse});
    }
    // Every table's rows (for "nothing was written").
    QMap<QString, QString> snapshot() const { return AllRows(db()); }

    LoginState state;
    ScriptedNotices notices;
    int linesChanged = 0;
    QStringList renumbered;
};
