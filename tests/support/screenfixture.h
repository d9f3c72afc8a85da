#pragma once

// Screens through their real widgets: a program folder of its own (JXC_HOME) with the default
// account set made as at the first start, the program's connections, a fixed clock, the notice double,
// a screen registry of the test's own and the administrator signed in. Subclasses register the
// screens they drive (and doubles for the dialogs of later work).

#include "modaldriver.h"
#include "scopedhome.h"
#include "scriptednotices.h"
#include "testdb.h"

#include "foundation/datamodule.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/handoff.h"
#include "foundation/loginstate.h"
#include "shell/forms/screenregistry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

// Types text the way an input method delivers it: key events carrying the characters.
inline void TypeText(QWidget *w, const QString &text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &release);
    }
}

class ScreenFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QSqlDatabase db() const { return data->mainDb(); }
    QString scalar(const QString &sql, const QVariantList &binds = {}) const { return QueryScalar(db(), sql, binds); }
    ScreenContext context();
    // Writes a parameter and loads the login state again (the administrator signed in, both
    // price rights on).
    void setParam(const QString &column, const QVariant &value);
    // The login state loaded again from the account set, as after a login.
    virtual void reloadState();

    // Runs `step` on the next modal dialog whose object name is `name` once it is shown.
    void whenShown(const QString &name, std::function<void(QDialog *)> step) { WhenShown(name, std::move(step), failures); }

    QTemporaryDir home;  // the program folder (JXC_HOME) while the test runs, data/ below it
    std::optional<ScopedProgramFolder> programFolder;
    ConnectionSettings settings;
    FixedClock clock{QDateTime(QDate(2025, 3, 14), QTime(9, 0, 0))};
    ScriptedNotices notices;
    ScreenRegistry registry;
    FollowOnRequests followOn;
    LoginState state;
    std::unique_ptr<DataModule> data;
    QStringList failures;  // steps that did not find their dialog
};
