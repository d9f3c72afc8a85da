#pragma once

// Fixture of the cancel-audit tests: the posting fixture (set created 2024-03-01, today
// 2024-03-08, operator "admin", goods G1 and G2) with negative stock not allowed, a scripted
// notice service, and helpers that post documents through the audit entries.

#include "posting_fixture.h"
#include "../support/scriptednotices.h"

#include "engine/audit.h"
#include "engine/unaudit.h"
#include "foundation/db/sqlroutines.h"

class UnauditTest : public PostingTest
{
protected:
    void SetUp() override
    {
        PostingTest::SetUp();
        state.AllowNegativeStock = QStringLiteral("0");
    }

    void post(const AuditResult &r)
    {
        ASSERT_TRUE(r.audited()) << r.text.toStdString();
    }
    void postReceipt(const QString &n) { post(RunAuditPurchaseIn(db(), state, clock, n)); }
    void postPurchaseReturn(const QString &n) { post(RunAuditPurchaseReturn(db(), state, clock, n, true)); }
    void postSale(const QString &n) { post(RunAuditSale(db(), state, clock, n, true)); }
    void postSalesReturn(const QString &n) { post(RunAuditSalesReturn(db(), state, clock, n)); }

    UnauditOutcome cancel(const QString &number, const UnauditOptions &options = {})
    {
        return UnauditByNumber(db(), state, clock, notices, number, options);
    }

    int logRows() { return count(QStringLiteral("select count(*) from jxc_log")); }
    QString lastLog()
    {
        return scalar(QStringLiteral("select log_note from jxc_log order by id desc limit 1"));
    }

    // A role with the given right strings (empty: no rights) and an operator of it.
    void addRole(const QString &role, const QVariantMap &rights)
    {
        QVariantMap values{{"r_sn", role}, {"r_name", role}};
        for (const char *m : {"cggl", "xsgl", "scjg", "scjh", "kcgl", "wlzk", "tjgl", "rcgl", "qtcz"})
            values.insert(QLatin1String(m), rights.value(QLatin1String(m), QString()));
        insert(QStringLiteral("jxc_role"), values);
    }
    void addOperator(const QString &name, const QString &role)
    {
        insert(QStringLiteral("jxc_admin"), {{"a_sn", name}, {"a_name", name}, {"r_sn", role}, {"a_pwd", ""}});
    }
    // A right string holding exactly the given positions.
    static QString rights(std::initializer_list<int> positions)
    {
        QString s(20, QLatin1Char('0'));
        for (int p : positions)
            s[p - 1] = QLatin1Char('1');
        return s;
    }
    void loginAs(const QString &name, const QString &role)
    {
        state.CurrentOperatorName = name;
        state.CurrentOperatorSn = name;
        state.CurrentRoleSn = role;
    }

    // Tables a cancel may touch, compared before and after a refusal or failure.
    QMap<QString, QString> everything() { return snapshot(); }

    ScriptedNotices notices;
};
