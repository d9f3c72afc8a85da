#pragma once

// The account set of the settings screens: a fresh set upgraded to the latest step (marker
// "2023-10-01"), admin logged in to "演示帐套", the clock at 2024-03-08 10:20:30.

#include "../support/demoset.h"
#include "../support/modaldriver.h"
#include "../support/scriptednotices.h"
#include "../support/testdb.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/schema/schemabuilder.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest/QTest>

class SettingsTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        PrepareDemoSet(db(), clock, state, testDb().fileName());
    }
    void TearDown() override
    {
        EXPECT_TRUE(failures.isEmpty()) << failures.join(QStringLiteral(", ")).toStdString();
        DbTest::TearDown();
    }

    QString scalar(const QString &sql, const QVariantList &binds = {}) const { return QueryScalar(db(), sql, binds); }
    // Every row of a table as text (columns in order, id left out): a snapshot to compare.
    QString snapshot(const QString &table) const
    {
        QStringList rows;
        QSqlQuery q = OpenSelect(db(), QStringLiteral("select * from %1 order by id").arg(table));
        while (q.next()) {
            QStringList values;
            const QSqlRecord rec = q.record();
            for (int i = 0; i < rec.count(); ++i) {
                if (rec.fieldName(i) != QLatin1String("id"))
                    values << rec.fieldName(i) + QLatin1Char('=') + (q.value(i).isNull() ? QStringLiteral("NULL") : ValueText(q.value(i)));
            }
            rows << values.join(QLatin1Char(';'));
        }
        return rows.join(QLatin1Char('\n'));
    }


    LoginState state;
    ScriptedNotices notices;
    QStringList failures;  // modal steps that did not find their dialog
};
