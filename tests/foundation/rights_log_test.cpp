// Rights of roles with the operator-warehouse binding, the operation log, the employee
// counters, the audit hooks and operator passwords.

#include "../support/testdb.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/handoff.h"
#include "foundation/loginstate.h"
#include "foundation/oplog.h"
#include "foundation/password.h"
#include "foundation/rights.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class RightsTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        // A role holding cggl 1 to 3 and tjgl of eight characters; its operator 100002.
        RunSql(db(),
               QStringLiteral("insert into jxc_role (r_sn, r_name, cggl, xsgl, tjgl, qtcz) values (?, ?, ?, ?, ?, ?)"),
               {QStringLiteral("100002"), QStringLiteral("采购员"), QStringLiteral("1110"), QStringLiteral("0"),
                QStringLiteral("11111111"), QString()});
        RunSql(db(), QStringLiteral("insert into jxc_admin (a_sn, a_name, r_sn, a_pwd) values (?, ?, ?, ?)"),
               {QStringLiteral("100002"), QStringLiteral("李四"), QStringLiteral("100002"), QStringLiteral("Ab(1)")});
        admin.CurrentOperatorName = QStringLiteral("admin");
        admin.CurrentOperatorSn = QStringLiteral("100001");
        admin.CurrentRoleSn = QStringLiteral("100001");
        buyer.CurrentOperatorName = QStringLiteral("李四");
        buyer.CurrentOperatorSn = QStringLiteral("100002");
        buyer.CurrentRoleSn = QStringLiteral("100002");
    }

    void bindingOn()
    {
        admin.BindOperatorWarehouse = QStringLiteral("1");
        buyer.BindOperatorWarehouse = QStringLiteral("1");
    }

    LoginState admin;
    LoginState buyer;
};

TEST_F(RightsTest, PositionsOfTheRightsText)
{
    const struct
    {
        const char *module;
        int position;
        bool held;
    } cases[] = {{"cggl", 1, true}, {"cggl", 3, true}, {"cggl", 4, false}, {"cggl", 5, false},
                 {"cggl", 0, false}, {"xsgl", 1, false}, {"tjgl", 8, true},  {"tjgl", 18, false},
                 {"qtcz", 1, false}, {"kcgl", 1, false}};
    for (const auto &c : cases) {
        EXPECT_EQ(HasRight(db(), buyer, QString::fromLatin1(c.module), c.position), c.held)
            << c.module << " " << c.position;
        EXPECT_EQ(UserHasRight(db(), QString::fromLatin1(c.module), c.position, QStringLiteral("李四")), c.held)
            << c.module << " " << c.position;
    }
    EXPECT_TRUE(HasRight(db(), admin, QStringLiteral("qtcz"), 60));
    EXPECT_FALSE(HasRight(db(), admin, QStringLiteral("qtcz"), 61));
    EXPECT_FALSE(UserHasRight(db(), QStringLiteral("cggl"), 1, QStringLiteral("无此人")));
    LoginState noRole = buyer;
    noRole.CurrentRoleSn = QStringLiteral("999999");
    EXPECT_FALSE(HasRight(db(), noRole, QStringLiteral("cggl"), 1));
}

TEST_F(RightsTest, UnknownModuleRaises)
{
    EXPECT_THROW(HasRight(db(), admin, QStringLiteral("r_name"), 1), std::invalid_argument);
    EXPECT_THROW(HasRight(db(), admin, QStringLiteral("cggl from jxc_role --"), 1), std::invalid_argument);
    EXPECT_THROW(UserHasRight(db(), QStringLiteral("nothing"), 1, QStringLiteral("admin")), std::invalid_argument);
}

TEST_F(RightsTest, WarehouseBindingGatesEveryRight)
{
    bindingOn();
    // The main warehouse lists only the administrator: the buyer owns none.
    EXPECT_TRUE(HasRight(db(), admin, QStringLiteral("cggl"), 1));
    EXPECT_FALSE(HasRight(db(), buyer, QStringLiteral("cggl"), 1));
    // The administrator role holds every right even without a warehouse.
    RunSql(db(), QStringLiteral("update jxc_ckxx set ck_asn = ?"), {QString()});
    for (int position : {1, 16, 60})
        EXPECT_TRUE(HasRight(db(), admin, QStringLiteral("qtcz"), position));

    // A code containing the buyer's code is not the buyer's.
    RunSql(db(), QStringLiteral("update jxc_ckxx set ck_asn = ?"), {QStringLiteral("1000021,")});
    EXPECT_FALSE(HasRight(db(), buyer, QStringLiteral("cggl"), 1));
    RunSql(db(), QStringLiteral("update jxc_ckxx set ck_asn = ?"), {QStringLiteral("100001,100002,")});
    EXPECT_TRUE(HasRight(db(), buyer, QStringLiteral("cggl"), 1));
    EXPECT_FALSE(HasRight(db(), buyer, QStringLiteral("cggl"), 4));  // binding adds no right

    // Binding off: no warehouse needed. Only "1" means on.
    RunSql(db(), QStringLiteral("update jxc_ckxx set ck_asn = ?"), {QString()});
    buyer.BindOperatorWarehouse = QStringLiteral("0");
    EXPECT_TRUE(HasRight(db(), buyer, QStringLiteral("cggl"), 1));
    buyer.BindOperatorWarehouse = QStringLiteral("2");
    EXPECT_TRUE(HasRight(db(), buyer, QStringLiteral("cggl"), 1));
    // UserHasRight ignores the binding.
    bindingOn();
    EXPECT_TRUE(UserHasRight(db(), QStringLiteral("cggl"), 1, QStringLiteral("李四")));
}

TEST_F(RightsTest, WarehouseListsMatchWholeCodes)
{
    const struct
    {
        const char *list;
        const char *code;
        bool binds;
    } cases[] = {{"100001,", "100001", true},       {"1000011,", "100001", false},
                 {"2100001,", "100001", false},     {"100002,100001,", "100001", true},
                 {"100002, 100001", "100001", true}, {"", "100001", false},
                 {"100001,", "", false},            {"100001", "100001", true}};
    for (const auto &c : cases)
        EXPECT_EQ(WarehouseBindsOperator(QString::fromLatin1(c.list), QString::fromLatin1(c.code)), c.binds)
            << c.list << " / " << c.code;

    RunSql(db(), QStringLiteral("insert into jxc_ckxx (ck_sn, ck_name, ck_asn) values (?, ?, ?)"),
           {QStringLiteral("100002"), QStringLiteral("分仓"), QStringLiteral("1000011,100002,")});
    EXPECT_EQ(WarehousesOfOperator(db(), QStringLiteral("100001")), QStringList{QStringLiteral("100001")});
    EXPECT_EQ(WarehousesOfOperator(db(), QStringLiteral("100002")), QStringList{QStringLiteral("100002")});
    EXPECT_EQ(WarehousesOfOperator(db(), QStringLiteral("1000011")), QStringList{QStringLiteral("100002")});
}

TEST_F(RightsTest, LoadSysParamsCachesTheRolesRightsWithBinding)
{
    RunSql(db(), QStringLiteral("update jxc_xtcs set cs_cgyh = 1"));
    LoadSysParams(db(), buyer, clock);
    EXPECT_EQ(buyer.BindOperatorWarehouse, QStringLiteral("1"));
    EXPECT_FALSE(buyer.RightShowCost || buyer.RightChangeDocDate || buyer.RightShowSalePrice
                 || buyer.RightEditSaleCost);
    LoadSysParams(db(), admin, clock);
    EXPECT_TRUE(admin.RightShowCost && admin.RightChangeDocDate && admin.RightShowSalePrice
                && admin.RightEditSaleCost);
}

TEST_F(RightsTest, AuditHooksLetEverythingThrough)
{
    EXPECT_EQ(CheckBeforeAudit(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05")), QStringLiteral("ok"));
    EXPECT_EQ(CheckBeforeUnaudit(QStringLiteral("CJ24030510001")), QStringLiteral("ok"));
}

class OperationLogTest : public DbTest
{
protected:
    LoginState state = [] {
        LoginState s;
        s.CurrentOperatorName = QStringLiteral("张三");
        return s;
    }();
};

TEST_F(OperationLogTest, RowCarriesTimeOperatorAndSentence)
{
    clock.set(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3)));
    WriteLog(db(), state, clock, QStringLiteral("审核采购进货单CJ24030510001"));
    QSqlQuery row = OpenSelect(db(), QStringLiteral("select log_time, a_name, log_note from jxc_log"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(ValueText(row.value(0)), QStringLiteral("2024-03-05 09:07:03"));
    EXPECT_EQ(ValueText(row.value(1)), QStringLiteral("张三"));
    EXPECT_EQ(ValueText(row.value(2)), QStringLiteral("审核采购进货单CJ24030510001"));
    EXPECT_FALSE(row.next());
}

TEST_F(OperationLogTest, SentenceIsCutTo200Characters)
{
    const QString ascii = QString(250, QLatin1Char('a'));
    const QString chinese = QString(240, QChar(0x5355));  // 单
    QString wide;
    for (int i = 0; i < 210; ++i)
        wide += QString::fromUcs4(U"\U00020000");  // outside the basic plane
    for (const QString &sentence : {ascii, chinese, wide}) {
        RunSql(db(), QStringLiteral("delete from jxc_log"));
        WriteLog(db(), state, clock, sentence);
        const QString stored = QueryScalar(db(), QStringLiteral("select log_note from jxc_log"));
        EXPECT_EQ(stored.toUcs4().size(), 200);
        EXPECT_TRUE(sentence.startsWith(stored));
    }
    RunSql(db(), QStringLiteral("delete from jxc_log"));
    WriteLog(db(), state, clock, QStringLiteral("短句"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select log_note from jxc_log")), QStringLiteral("短句"));
}

TEST_F(OperationLogTest, FailedWriteLeavesNoRow)
{
    InjectStatementFailure(db(), 1);
    EXPECT_THROW(WriteLog(db(), state, clock, QStringLiteral("x")), DbError);
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_log")), QStringLiteral("0"));
}

TEST_F(OperationLogTest, EmployeeCountersGoUpByOne)
{
    const QString sn = QStringLiteral("100001");
    IncUserPurchaseCount(db(), sn);
    IncUserPurchaseCount(db(), sn);
    IncUserSalesCount(db(), sn);
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select u_cgpl from jxc_user where u_sn = ?"), {sn}), QStringLiteral("2"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select u_xspl from jxc_user where u_sn = ?"), {sn}), QStringLiteral("1"));
    // An empty count starts from 0; an unknown employee changes nothing.
    RunSql(db(), QStringLiteral("update jxc_user set u_xspl = NULL"));
    IncUserSalesCount(db(), sn);
    IncUserSalesCount(db(), QStringLiteral("999999"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select u_xspl from jxc_user where u_sn = ?"), {sn}), QStringLiteral("1"));
}

class PasswordTest : public DbTest
{
protected:
    void setPassword(const QString &name, const QString &typed)
    {
        RunSql(db(), QStringLiteral("update jxc_admin set a_pwd = ? where a_name = ?"), {StoredPasswordForm(typed), name});
    }
};

TEST_F(PasswordTest, ComparedTrimmedSanitisedAndIgnoringCase)
{
    const QString admin = QStringLiteral("admin");
    EXPECT_TRUE(PasswordMatches(db(), admin, QString()));  // the new set's empty password
    EXPECT_TRUE(PasswordMatches(db(), admin, QStringLiteral("  ")));
    EXPECT_FALSE(PasswordMatches(db(), admin, QStringLiteral("x")));

    setPassword(admin, QStringLiteral(" Ab(1)+2-3/4? "));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select a_pwd from jxc_admin where a_name = ?"), {admin}),
              QStringLiteral("Ab(1)+2-3/4？"));
    const struct
    {
        const char *typed;
        bool ok;
    } cases[] = {{"Ab(1)+2-3/4?", true}, {"aB(1)+2-3/4?", true}, {"  AB(1)+2-3/4?\t", true},
                 {"Ab(1)+2-3/4？", true}, {"Ab(1)+2-3/4", false}, {"", false},
                 {"' or '1'='1", false}};
    for (const auto &c : cases)
        EXPECT_EQ(PasswordMatches(db(), admin, QString::fromUtf8(c.typed)), c.ok) << c.typed;
    EXPECT_FALSE(PasswordMatches(db(), QStringLiteral("' or '1'='1"), QStringLiteral("' or '1'='1")));
    EXPECT_FALSE(PasswordMatches(db(), QStringLiteral("nobody"), QString()));
}

TEST(FollowOnRequests, ReceiverTakesAndEmpties)
{
    FollowOnRequests requests;
    requests.ReturnSourceNo = QStringLiteral("CJ24030510001");
    requests.SaleSourceNo = QStringLiteral("CJ24030510002");
    EXPECT_EQ(requests.takeReturnSource(), QStringLiteral("CJ24030510001"));
    EXPECT_EQ(requests.ReturnSourceNo, QString());
    EXPECT_EQ(requests.takeIssueSource(), QString());
    requests.clear();
    EXPECT_EQ(requests.takeSaleSource(), QString());
    EXPECT_EQ(&FollowOn(), &FollowOn());
}

} // namespace
