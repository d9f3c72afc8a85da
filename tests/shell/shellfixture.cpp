#include "shellfixture.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/firststart.h"
#include "foundation/schema/register.h"
#include "foundation/schema/schemabuilder.h"
#include "shell/forms/login.h"
#include "shell/forms/mainform.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QtTest/QTest>

namespace {
int g_fixture = 0;
}

ShellTest::ShellTest() = default;
ShellTest::~ShellTest() = default;

void ShellTest::SetUp()
{
    const QString problem = TestServerProblem();
    if (!problem.isEmpty()) {
        if (!qEnvironmentVariableIsEmpty("CI"))
            FAIL() << "PostgreSQL test server not reachable: " << problem.toStdString();
        GTEST_SKIP() << "PostgreSQL test server not reachable: " << problem.toStdString();
    }
    programFolder.emplace(home.path());
    settings = TestConnectionSettings();
    settings.dataFolder = home.filePath(QStringLiteral("data"));
    settings.prefix += QStringLiteral("sh%1_").arg(++g_fixture);
    QDir().mkpath(settings.dataFolder);
    m_sets << QStringLiteral("jxc.db") << QStringLiteral("codeinfo.db");
    for (const QString &file : m_sets) {
        if (settings.kind == DbKind::Postgres && DatabaseExists(settings, file))
            DropDatabase(settings, file);
    }
    EnsureDefaultDatabases(settings, clock);
    data = std::make_unique<DataModule>(settings);
    data->OpenMainDatabase(QStringLiteral("jxc.db"));
}

void ShellTest::TearDown()
{
    m_form.reset();
    data.reset();
    programFolder.reset();
    if (settings.kind == DbKind::Postgres) {
        for (const QString &file : m_sets) {
            try {
                DropDatabase(settings, file);
            } catch (...) {
            }
        }
    }
}

void ShellTest::makeAccountSet(const QString &file)
{
    if (settings.kind == DbKind::Postgres && DatabaseExists(settings, file))
        DropDatabase(settings, file);
    CreateEmptyDatabase(settings, file);
    m_sets << file;
    {
        QSqlDatabase other = OpenConnection(settings, file, QStringLiteral("shell_test_make"));
        CreateAllTables(other, clock);
    }
    CloseConnection(QStringLiteral("shell_test_make"));
}

void ShellTest::setRegister(const QList<SetRow> &rows)
{
    data->OpenAccountSetRegister();
    {
        const QSqlDatabase reg = data->registerDb();
        RunSql(reg, QStringLiteral("delete from jxc_xtzt"));
        for (const SetRow &r : rows) {
            RunSql(reg,
                   QStringLiteral("insert into jxc_xtzt (zt_sn, zt_name, zt_dbname, zt_default, zt_forbid) "
                                  "values (?, ?, ?, ?, ?)"),
                   {r.sn, r.name, r.dbname, r.isDefault, r.forbidden});
        }
    }
    data->CloseAccountSetRegister();
}

void ShellTest::installDouble(const QString &screenClass, std::function<void()> onOpen)
{
    registry.registerScreen(screenClass, [this, screenClass, onOpen](const ScreenContext &, QWidget *parent) {
        return new DoubleScreen(screenClass, &opened, onOpen, parent);
    });
}

void ShellTest::installDoubles(const QStringList &classes)
{
    for (const QString &c : classes)
        installDouble(c);
}

TF_MainForm &ShellTest::mainForm()
{
    if (!m_form) {
        m_form = std::make_unique<TF_MainForm>(*data, state, clock, notices, urls, registry, followOn);
        m_form->setProgramFolder(home.path());
        m_form->setTerminate([this] { ++terminated; });
    }
    return *m_form;
}

bool ShellTest::startAndLogin(const QString &password)
{
    TF_MainForm &form = mainForm();
    QTimer::singleShot(0, [password] {
        auto *login = qobject_cast<TF_Login *>(QApplication::activeModalWidget());
        if (!login)
            return;
        login->tpwd2()->setText(password);
        QTest::keyClick(login->tpwd2(), Qt::Key_Return);
    });
    return form.start();
}

QString ShellTest::count(const QString &sql, const QVariantList &binds) const
{
    return QueryScalar(db(), sql, binds);
}
