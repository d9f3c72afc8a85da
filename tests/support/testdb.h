#pragma once

#include "qtprinters.h"

#include "foundation/db/clock.h"
#include "foundation/db/connection.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QString>

#include <memory>

// Which database the suite runs on: JXC_TEST_DB=sqlite (default) or postgres. PostgreSQL is
// found through PGHOST (socket folder or host), PGPORT and PGUSER.
DbKind TestDbKind();
ConnectionSettings TestConnectionSettings();
// Empty when the test database server can be reached, else the reason.
QString TestServerProblem();

// The day every fixture's clock shows unless a test sets another.
QDateTime TestNow();

// A fresh account set with every table and its default rows, copied from a template that is
// built once per test program. Dropped again when the object dies.
class TestDb
{
public:
    TestDb();
    ~TestDb();
    TestDb(const TestDb &) = delete;
    TestDb &operator=(const TestDb &) = delete;

    QSqlDatabase db() const;
    const QString &fileName() const { return m_file; }
    // Another connection on the same account set (a second workstation).
    QSqlDatabase openSecondConnection();

private:
    QString m_file;
    QString m_connection;
    QStringList m_extra;
};

// GoogleTest fixture: a fresh account set per test and a fixed clock.
class DbTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QSqlDatabase db() const { return m_db->db(); }
    TestDb &testDb() { return *m_db; }
    FixedClock clock{TestNow()};

private:
    std::unique_ptr<TestDb> m_db;
};
