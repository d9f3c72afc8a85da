#pragma once

// The shell's settings screens on one account set: a fresh set upgraded to the latest step,
// opened as the main database of a data module of its own (so this process holds its presence
// mark), admin logged in to "演示帐套", the clock at 2024-03-08 10:20:30, notice, file-choice,
// printer and URL doubles, and a registry holding the foundation's and the shell's screens.

#include "../support/demoset.h"
#include "../support/modaldriver.h"
#include "../support/recordingoutput.h"
#include "../support/scriptedfilechoice.h"
#include "../support/seed.h"
#include "shellfixture.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/schema/schemabuilder.h"
#include "shell/forms/foundationscreens.h"
#include "shell/forms/shellscreens.h"

#include <QtTest/QTest>

#include <atomic>

class SetTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        static std::atomic<int> counter{0};
        const int n = ++counter;
        data = std::make_unique<DataModule>(TestConnectionSettings(), QStringLiteral("set_main_%1").arg(n),
                                            QStringLiteral("set_register_%1").arg(n));
        data->OpenMainDatabase(testDb().fileName());
        PrepareDemoSet(db(), clock, state, testDb().fileName());
        RegisterFoundationScreens(registry);
        RegisterShellScreens(registry);
    }
    void TearDown() override
    {
        EXPECT_TRUE(failures.isEmpty()) << failures.join(QStringLiteral(", ")).toStdString();
        data.reset();
        DbTest::TearDown();
    }

    // The main connection (the data module's).
    QSqlDatabase db() const { return data->mainDb(); }
    QString scalar(const QString &sql, const QVariantList &binds = {}) const { return QueryScalar(db(), sql, binds); }

    void login(const QString &name, const QString &sn, const QString &role)
    {
        LogInto(db(), state, clock, testDb().fileName(), name, sn, role);
    }
    void setParam(const QString &column, const QVariant &value)
    {
        RunSql(db(), QStringLiteral("update jxc_xtcs set %1 = ?").arg(column), {value});
        LoadSysParams(db(), state, clock);
    }
    // Role "100002" holding the rights `qtcz` and `wlzk` (others all), for operator `sn`.
    void addRole(const QString &qtcz, const QString &wlzk = QString(60, QLatin1Char('1')))
    {
        const QString all(60, QLatin1Char('1'));
        RunSql(db(), QStringLiteral("insert into jxc_role (r_sn, r_name, cggl, xsgl, scjg, scjh, kcgl, wlzk, tjgl, rcgl, "
                                    "qtcz) values ('100002', '业务员', ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {all, all, all, all, all, wlzk, all, all, qtcz});
    }
    ScreenContext context()
    {
        ScreenContext c;
        c.data = data.get();
        c.state = &state;
        c.clock = &clock;
        c.notices = &notices;
        c.urls = &urls;
        c.followOn = &followOn;
        c.registry = &registry;
        return c;
    }
    void installDouble(const QString &screenClass)
    {
        registry.registerScreen(screenClass, [this, screenClass](const ScreenContext &, QWidget *parent) {
            return new DoubleScreen(screenClass, &opened, {}, parent);
        });
    }
    // Text typed into a box, character by character (any script).
    static void type(QWidget *box, const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    std::unique_ptr<DataModule> data;
    LoginState state;
    ScriptedNotices notices;
    ScriptedFileChoice files;
    RecordingReportOutput output;
    RecordingOpener urls;
    ScreenRegistry registry;
    FollowOnRequests followOn;
    QStringList opened;    // screens the doubles saw
    QStringList failures;  // modal steps that did not find their dialog
};
