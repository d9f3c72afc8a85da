#pragma once

// Screens of the master data through their real widgets: a program folder of its own with the
// default account set, the program's connections, a fixed clock (2025-03-14), the notice
// double, and a registry holding the master-data screens.

#include "../support/scopedhome.h"
#include "../support/scriptednotices.h"
#include "../support/testdb.h"

#include "foundation/datamodule.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/handoff.h"
#include "foundation/loginstate.h"
#include "shell/forms/screenregistry.h"

class DataGrid;
struct PrintJob;

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

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

// A key as the operator presses it: to the control that has the focus.
inline void Press(QWidget *window, Qt::Key key)
{
    QWidget *target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key);
}

// The text of a job rendered to PDF (pdftotext -layout); with JXC_MD_PDF_DIR set the PDF is
// kept there as <template>.pdf to be looked at.
QString PdfText(const PrintJob &job);

// Double-clicks the row of a grid (its second column).
void DoubleClickRow(DataGrid *grid, int row);

class MasterScreenTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QSqlDatabase db() const { return data->mainDb(); }
    QString scalar(const QString &sql, const QVariantList &binds = {}) const { return QueryScalar(db(), sql, binds); }
    ScreenContext context();
    void setParam(const QString &column, const QVariant &value);

    // Runs `step` on the next modal dialog whose object name is `name` once it is shown
    // (polling the event loop), while the caller goes on into exec().
    void whenShown(const QString &name, std::function<void(QDialog *)> step);

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
