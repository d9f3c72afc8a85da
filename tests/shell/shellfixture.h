#pragma once

// A program folder of its own for each test: data/ with the default account set and the
// register built as on a fresh machine, the program's connections, a fixed clock, the notice
// double, a URL-opener double and a screen registry of the test's own.

#include "../support/scopedhome.h"
#include "../support/scriptednotices.h"
#include "../support/testdb.h"

#include "foundation/datamodule.h"
#include "foundation/handoff.h"
#include "foundation/loginstate.h"
#include "platform/system/urlopener.h"
#include "shell/forms/screenregistry.h"

#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

class TF_MainForm;
class TF_Login;

// Records what it was asked to open.
class RecordingOpener final : public UrlOpener
{
public:
    bool openFile(const QString &path) override
    {
        opened << path;
        return true;
    }
    bool openUrl(const QString &url) override
    {
        opened << url;
        return true;
    }
    QStringList opened;
};

// A screen double: records its opening in the log, runs `onOpen` (to set hand-off values)
// and closes at once.
class DoubleScreen final : public QDialog
{
public:
    DoubleScreen(QString screenClass, QStringList *log, std::function<void()> onOpen, QWidget *parent)
        : QDialog(parent), m_class(std::move(screenClass)), m_log(log), m_onOpen(std::move(onOpen))
    {
        setObjectName(m_class);
    }
    int exec() override
    {
        if (m_log)
            m_log->append(m_class);
        if (m_onOpen)
            m_onOpen();
        return QDialog::Rejected;
    }

private:
    QString m_class;
    QStringList *m_log;
    std::function<void()> m_onOpen;
};

class ShellTest : public ::testing::Test
{
protected:
    ShellTest();
    ~ShellTest() override;
    void SetUp() override;
    void TearDown() override;

    // Another account set `file` with every table, listed in nothing yet.
    void makeAccountSet(const QString &file);
    // Replaces the register's rows: {zt_sn, zt_name, zt_dbname, zt_default, zt_forbid}.
    struct SetRow
    {
        QString sn, name, dbname;
        int isDefault = 0;
        int forbidden = 0;
    };
    void setRegister(const QList<SetRow> &rows);

    // Installs a double for `screenClass` that logs its opening into `opened`.
    void installDouble(const QString &screenClass, std::function<void()> onOpen = {});
    void installDoubles(const QStringList &classes);

    // The main window of this program folder (not started).
    TF_MainForm &mainForm();
    // Runs the start sequence; the login is answered with Enter and the given password.
    bool startAndLogin(const QString &password = QString());

    QSqlDatabase db() const { return data->mainDb(); }
    QString count(const QString &sql, const QVariantList &binds = {}) const;

    QTemporaryDir home;  // the program folder (JXC_HOME) while the test runs, data/ below it
    std::optional<ScopedProgramFolder> programFolder;
    ConnectionSettings settings;
    FixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))};
    ScriptedNotices notices;
    RecordingOpener urls;
    ScreenRegistry registry;
    FollowOnRequests followOn;
    LoginState state;
    std::unique_ptr<DataModule> data;
    QStringList opened;  // screens the doubles saw, in order
    int terminated = 0;  // how often the program was asked to end

private:
    std::unique_ptr<TF_MainForm> m_form;
    QStringList m_sets;
};
