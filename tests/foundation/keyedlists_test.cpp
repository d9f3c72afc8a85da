// Keyed drop-down lists, text lists, default records, hotkey names, partner lists and regions,
// with the warehouse binding matched by whole codes.

#include "../support/testdb.h"

#include "foundation/db/connection.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/defaultrecords.h"
#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "foundation/partnerlists.h"
#include "foundation/schema/register.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <stdexcept>

namespace {

KeyedItem item(const char *text, const char *key)
{
    return {QString::fromUtf8(text), QString::fromUtf8(key)};
}

QStringList textsOf(const KeyedItems &items)
{
    QStringList texts;
    for (const KeyedItem &i : items)
        texts << i.text;
    return texts;
}

QStringList utf8List(std::initializer_list<const char *> texts)
{
    QStringList out;
    for (const char *t : texts)
        out << QString::fromUtf8(t);
    return out;
}

// Warehouses 100001 主仓库 ("100001,"), 100002 分仓库 ("100002,"), 100003 三号库 ("1000021,");
// operator op2 (code 100002, role 100002); employees by id 100001 默认员工 (all warehouses),
// 100002 业务员甲 (100002), 100003 业务员乙 (100003), 100004 仓管员 (no sales), 100005 停用员工;
// customers K (salesman 100003) and L (none).
class KeyedListTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        RunSql(db(), QStringLiteral("insert into jxc_ckxx (ck_sn, ck_name, ck_asn, ck_default) values "
                                    "('100002', '分仓库', '100002,', 0), ('100003', '三号库', '1000021,', 0)"));
        RunSql(db(), QStringLiteral("insert into jxc_admin (a_sn, a_name, r_sn, a_jyt) values "
                                    "('100002', 'op2', '100002', 0), ('100003', 'gone', '100002', 1)"));
        const auto addUser = [this](const char *sn, const char *name, const char *ck, int xs, int jy) {
            RunSql(db(), QStringLiteral("insert into jxc_user (u_sn, u_name, ck_sn, u_xs, u_cg, u_kc, u_jy) "
                                        "values (?, ?, ?, ?, 0, 0, ?)"),
                   {QString::fromUtf8(sn), QString::fromUtf8(name), QString::fromUtf8(ck), xs, jy});
        };
        addUser("100002", "业务员甲", "100002", 1, 0);
        addUser("100003", "业务员乙", "100003", 1, 0);
        addUser("100004", "仓管员", "100001", 0, 0);
        addUser("100005", "停用员工", "-1", 1, 1);
        RunSql(db(), QStringLiteral("insert into jxc_khxx (kh_sn, kh_name, kh_usn, kt_sn, ck_sn, kh_forbid) values "
                                    "('K', '客户K', '100003,', '1003', '100002', 0), "
                                    "('L', '客户L', '', '1000', '100003', 0)"));
        admin.CurrentOperatorName = QStringLiteral("admin");
        admin.CurrentOperatorSn = QStringLiteral("100001");
        admin.CurrentRoleSn = QStringLiteral("100001");
        admin.BindPartnersToWarehouse = QStringLiteral("1");
        op2.CurrentOperatorName = QStringLiteral("op2");
        op2.CurrentOperatorSn = QStringLiteral("100002");
        op2.CurrentRoleSn = QStringLiteral("100002");
        op2.BindPartnersToWarehouse = QStringLiteral("1");
        op2Free = op2;
        op2Free.BindPartnersToWarehouse = QStringLiteral("0");
    }
    LoginState admin, op2, op2Free;
};

TEST_F(KeyedListTest, KeyedComboWithAndWithoutWhere)
{
    const QString ck = QStringLiteral("jxc_ckxx"), name = QStringLiteral("ck_name"), sn = QStringLiteral("ck_sn"),
                  byId = QStringLiteral("id");
    const KeyedItems all = LoadKeyedCombo(db(), ck, name, sn, byId, QStringLiteral("所有仓库"));
    EXPECT_EQ(all, (KeyedItems{item("所有仓库", "-1"), item("主仓库", "100001"), item("分仓库", "100002"),
                               item("三号库", "100003")}));
    EXPECT_EQ(all.at(1).key, QStringLiteral("100001"));

    EXPECT_EQ(LoadKeyedComboWhere(db(), ck, name, sn, byId, SqlWhere(), QStringLiteral("全部")),
              (KeyedItems{item("主仓库", "100001"), item("分仓库", "100002"), item("三号库", "100003")}));
    const SqlWhere notMain(QStringLiteral("ck_sn<>?"), {QStringLiteral("100001")});
    EXPECT_EQ(LoadKeyedComboWhere(db(), ck, name, sn, byId, notMain, QStringLiteral("全部")),
              (KeyedItems{item("分仓库", "100002"), item("三号库", "100003"), item("全部", "-1")}));
    EXPECT_EQ(LoadKeyedComboWhere2(db(), ck, name, sn, QStringLiteral("ck_sn desc"), notMain, QStringLiteral("请选择")),
              (KeyedItems{item("请选择", "-1"), item("三号库", "100003"), item("分仓库", "100002")}));
    // A where clause whose places and values do not match is refused.
    EXPECT_THROW(LoadKeyedComboWhere(db(), ck, name, sn, byId, QStringLiteral("where ck_sn=?"), QString()),
                 std::invalid_argument);
    EXPECT_EQ(LoadKeyedComboWhere(db(), ck, name, sn, byId, SqlWhere(QStringLiteral("where ck_sn=?"), {QStringLiteral("100003")})),
              (KeyedItems{item("三号库", "100003")}));
}

TEST_F(KeyedListTest, WarehouseComboAddsOnlyTheAllWarehousesItem)
{
    const SqlWhere mine(QStringLiteral("ck_sn in (?, ?)"), {QStringLiteral("100001"), QStringLiteral("100002")});
    EXPECT_EQ(textsOf(LoadWarehouseCombo(db(), QStringLiteral("jxc_ckxx"), QStringLiteral("ck_name"),
                                         QStringLiteral("ck_sn"), QStringLiteral("id"), mine, QStringLiteral("所有仓库"))),
              utf8List({"所有仓库", "主仓库", "分仓库"}));
    EXPECT_EQ(textsOf(LoadWarehouseCombo(db(), QStringLiteral("jxc_ckxx"), QStringLiteral("ck_name"),
                                         QStringLiteral("ck_sn"), QStringLiteral("id"), mine, QStringLiteral("全部仓库"))),
              utf8List({"主仓库", "分仓库"}));
    EXPECT_EQ(LoadKeyedTCombo(db(), QStringLiteral("jxc_dw"), QStringLiteral("dw_name"), QStringLiteral("dw_sn"),
                              QStringLiteral("id")).size(), 5);
}

TEST_F(KeyedListTest, NamesAndClausesAreCheckedBeforeAnythingRuns)
{
    const QString ck = QStringLiteral("jxc_ckxx");
    EXPECT_THROW(LoadKeyedCombo(db(), QStringLiteral("jxc_ckxx; drop table jxc_log"), QStringLiteral("ck_name"),
                                QStringLiteral("ck_sn"), QStringLiteral("id")),
                 std::invalid_argument);
    EXPECT_TRUE(TableExists(db(), QStringLiteral("jxc_log")));
    EXPECT_THROW(LoadKeyedCombo(db(), ck, QStringLiteral("ck_name, (select a_pwd from jxc_admin)"),
                                QStringLiteral("ck_sn"), QStringLiteral("id")),
                 std::invalid_argument);
    EXPECT_THROW(LoadKeyedCombo(db(), ck, QStringLiteral("ck_name"), QStringLiteral("ck_sn"),
                                QStringLiteral("id; delete from jxc_ckxx")),
                 std::invalid_argument);
    EXPECT_THROW(LoadKeyedComboWhere(db(), ck, QStringLiteral("ck_name"), QStringLiteral("ck_sn"), QStringLiteral("id"),
                                     QStringLiteral("ck_sn='1' or 1=1"), QString()),
                 std::invalid_argument);
    EXPECT_THROW(FillComboTexts(db(), QStringLiteral("jxc_dw"), QStringLiteral("nothing"), QStringLiteral("id"),
                                QStringLiteral("1")),
                 std::invalid_argument);
    EXPECT_THROW(LoadUserCombo(db(), admin, QStringLiteral("u_xs<>0 or 1"), QString()), std::invalid_argument);
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_ckxx")), QStringLiteral("3"));
}

TEST_F(KeyedListTest, SalesmenOfTheCustomerComeFirst)
{
    const QString name = QStringLiteral("u_name"), sn = QStringLiteral("u_sn"), none = QStringLiteral("(无)");
    EXPECT_EQ(LoadSalesmanCombo(db(), admin, name, sn, none, QStringLiteral("K")),
              (KeyedItems{item("业务员乙", "100003"), item("默认员工", "100001"), item("业务员甲", "100002"),
                          item("(无)", "-1")}));
    EXPECT_EQ(textsOf(LoadSalesmanCombo(db(), admin, name, sn, none, QStringLiteral("L"))),
              utf8List({"默认员工", "业务员甲", "业务员乙", "(无)"}));
    EXPECT_EQ(textsOf(LoadSalesmanCombo(db(), op2, name, sn, none, QStringLiteral("K"))),
              utf8List({"默认员工", "业务员甲", "(无)"}));
    // "1000021," does not name salesman 100002.
    RunSql(db(), QStringLiteral("update jxc_khxx set kh_usn = '1000021,' where kh_sn = 'L'"));
    EXPECT_EQ(textsOf(LoadSalesmanCombo(db(), admin, name, sn, QString(), QStringLiteral("L"))),
              utf8List({"默认员工", "业务员甲", "业务员乙"}));
}

TEST_F(KeyedListTest, UserComboFollowsRoleAndBinding)
{
    const QString all = QStringLiteral("所有业务员"), xs = QStringLiteral("u_xs");
    EXPECT_EQ(LoadUserCombo(db(), admin, xs, all),
              (KeyedItems{item("所有业务员", "-1"), item("默认员工", "100001"), item("业务员甲", "100002"),
                          item("业务员乙", "100003")}));
    EXPECT_EQ(textsOf(LoadUserCombo(db(), op2, xs, all)), utf8List({"默认员工", "业务员甲"}));
    EXPECT_EQ(textsOf(LoadUserCombo(db(), op2Free, xs, all)),
              utf8List({"所有业务员", "默认员工", "业务员甲", "业务员乙"}));
    EXPECT_EQ(textsOf(LoadUserCombo(db(), admin, QString(), QString())),
              utf8List({"默认员工", "业务员甲", "业务员乙", "仓管员"}));
}

TEST_F(KeyedListTest, AdminComboFollowsRoleAndBinding)
{
    const QString all = QStringLiteral("所有操作员");
    EXPECT_EQ(LoadAdminCombo(db(), admin, all),
              (KeyedItems{item("所有操作员", "-1"), item("admin", "100001"), item("op2", "100002")}));
    EXPECT_EQ(textsOf(LoadAdminCombo(db(), op2Free, all)), utf8List({"admin", "op2"}));
    EXPECT_EQ(LoadAdminCombo(db(), op2, all), (KeyedItems{item("op2", "100002")}));
}

TEST_F(KeyedListTest, SettleAndTextLists)
{
    EXPECT_EQ(LoadSettleCombo(QStringLiteral("cg")), (KeyedItems{item("按实付款结算", "1"), item("余款记入应付帐", "2")}));
    EXPECT_EQ(LoadSettleCombo(QStringLiteral("xs")), (KeyedItems{item("按实付款结算", "1"), item("余款记入应收帐", "2")}));
    EXPECT_EQ(LoadSettleCombo(QString()), (KeyedItems{item("按实付款结算", "1")}));

    const QString dw = QStringLiteral("jxc_dw"), name = QStringLiteral("dw_name"), byId = QStringLiteral("id"),
                  one = QStringLiteral("1"), extra = QStringLiteral("增加新单位...");
    EXPECT_EQ(FillComboTexts(db(), dw, name, byId, one, extra), utf8List({"", "增加新单位...", "张", "盒", "袋", "箱", "瓶"}));
    EXPECT_EQ(FillCxComboTexts(db(), dw, name, byId, one, extra), utf8List({"增加新单位...", "", "张", "盒", "袋", "箱", "瓶"}));
    EXPECT_EQ(FillCxComboTexts(db(), dw, name, byId, QStringLiteral("0"), QString()), utf8List({"张", "盒", "袋", "箱", "瓶"}));
    const SqlWhere some(QStringLiteral("dw_sn in (?, ?)"), {QStringLiteral("100002"), QStringLiteral("100004")});
    EXPECT_EQ(FillCxComboTextsWhere(db(), dw, name, byId, some, one, extra), utf8List({"", "盒", "箱", "增加新单位..."}));
    EXPECT_EQ(FillCxComboTextsWhere(db(), dw, name, byId, SqlWhere(), one, extra),
              utf8List({"", "增加新单位...", "张", "盒", "袋", "箱", "瓶"}));
}

TEST_F(KeyedListTest, AccountSetListHidesForbiddenAndLeadsWithTheDefault)
{
    const QString file = QStringLiteral("zt_list_test_%1.db").arg(QCoreApplication::applicationPid());
    const ConnectionSettings settings = TestConnectionSettings();
    if (DatabaseExists(settings, file))
        DropDatabase(settings, file);
    CreateEmptyDatabase(settings, file);
    {
        QSqlDatabase reg = OpenConnection(settings, file, QStringLiteral("zt_list_test"));
        CreateRegisterTables(reg);  // 100001 主帐套, the default
        RunSql(reg, QStringLiteral("insert into jxc_xtzt (zt_sn, zt_name, zt_default, zt_forbid, zt_dbname) values "
                                   "('100000', '甲帐套', 0, 0, 'jxc_100000.db'), "
                                   "('100002', '停用帐套', 0, 1, 'jxc_100002.db'), "
                                   "('100003', '乙帐套', 0, 0, 'jxc_100003.db')"));
        EXPECT_EQ(LoadZtCombo(reg, QStringLiteral("jxc_xtzt"), QStringLiteral("zt_name"), QStringLiteral("zt_dbname"),
                              QStringLiteral("zt_sn")),
                  (KeyedItems{item("主帐套", "jxc.db"), item("甲帐套", "jxc_100000.db"), item("乙帐套", "jxc_100003.db")}));
        EXPECT_THROW(LoadZtCombo(reg, QStringLiteral("jxc_xtzt"), QStringLiteral("zt_name"), QStringLiteral("zt_dbpwd"),
                                 QStringLiteral("zt_sn; drop table jxc_xtzt")),
                     std::invalid_argument);
    }
    CloseConnection(QStringLiteral("zt_list_test"));
    DropDatabase(settings, file);
}

TEST_F(KeyedListTest, DefaultRecordsOfAFreshSet)
{
    EXPECT_EQ(GetDefaultSupplierSn(db()), QStringLiteral("100001"));
    EXPECT_EQ(GetDefaultSupplierName(db()), QStringLiteral("普通供货商"));
    EXPECT_EQ(GetDefaultCustomerSn(db()), QStringLiteral("100001"));
    EXPECT_EQ(GetDefaultCustomerName(db()), QStringLiteral("普通客户"));
    EXPECT_EQ(GetDefaultWarehouseSn(db()), QStringLiteral("100001"));
    EXPECT_EQ(GetDefaultWarehouseName(db()), QStringLiteral("主仓库"));
    EXPECT_EQ(GetDefaultUserSn(db()), QStringLiteral("100001"));
    EXPECT_EQ(GetDefaultUserName(db()), QStringLiteral("默认员工"));
}

TEST_F(KeyedListTest, DefaultSupplierFallsBackToTheFirstAllowed)
{
    RunSql(db(), QStringLiteral("update jxc_ghsxx set ghs_default = 1"));
    RunSql(db(), QStringLiteral("insert into jxc_ghsxx (ghs_sn, ghs_name, ghs_default, ghs_forbid) "
                                "values ('100002', '第二供货商', 1, 0)"));
    EXPECT_EQ(GetDefaultSupplierSn(db()), QStringLiteral("100001"));
    RunSql(db(), QStringLiteral("update jxc_ghsxx set ghs_forbid = 1 where ghs_sn = '100001'"));
    RunSql(db(), QStringLiteral("update jxc_ghsxx set ghs_default = 0 where ghs_sn = '100002'"));
    EXPECT_EQ(GetDefaultSupplierSn(db()), QStringLiteral("100002"));
    EXPECT_EQ(GetDefaultSupplierName(db()), QStringLiteral("第二供货商"));
    // An employee with an empty name does not become the default.
    RunSql(db(), QStringLiteral("insert into jxc_user (u_sn, u_name) values ('100009', '')"));
    EXPECT_EQ(GetDefaultUserSn(db()), QStringLiteral("100001"));
}

TEST_F(KeyedListTest, RecordExistsNeedsANonEmptyValue)
{
    const QString ck = QStringLiteral("jxc_ckxx");
    EXPECT_TRUE(RecordExists(db(), ck, QStringLiteral("ck_name"), SqlWhere(QStringLiteral("ck_sn = ?"), {QStringLiteral("100002")})));
    EXPECT_FALSE(RecordExists(db(), ck, QStringLiteral("ck_name"), SqlWhere(QStringLiteral("ck_sn = ?"), {QStringLiteral("999")})));
    EXPECT_FALSE(RecordExists(db(), ck, QStringLiteral("ck_tele"), SqlWhere(QStringLiteral("ck_sn = ?"), {QStringLiteral("100002")})));
    EXPECT_THROW(RecordExists(db(), QStringLiteral("jxc_nothing"), QStringLiteral("x"), SqlWhere()), std::invalid_argument);
}

TEST(KeyCodeNames, NamesOfVirtualKeys)
{
    const std::pair<int, const char *> cases[] = {
        {32, "Space"}, {33, "Page Up"}, {34, "Page Down"}, {35, "End"}, {36, "Home"}, {37, "←"},
        {38, ""}, {39, "→"}, {40, ""}, {45, "Insert"}, {46, "Delete"}, {65, ""}, {107, "+"},
        {109, "-"}, {111, "/"}, {112, "F1"}, {123, "F12"}, {124, ""}, {186, ";"}, {187, "="},
        {188, ","}, {189, "-"}, {191, "/"}, {192, "`"}, {219, "["}, {220, "\\"}, {221, "]"},
        {222, "'"}, {0, ""}, {-1, ""}};
    for (const auto &[code, name] : cases)
        EXPECT_EQ(KeyCodeName(code), QString::fromUtf8(name)) << code;
}

TEST_F(KeyedListTest, HotKeyNamesOfPosFunctions)
{
    EXPECT_EQ(GetHotKeyName(db(), QStringLiteral("付款结账")), QStringLiteral("="));
    EXPECT_EQ(GetHotKeyName(db(), QStringLiteral("修改折扣")), QStringLiteral("F7"));
    EXPECT_EQ(GetHotKeyName(db(), QStringLiteral("删除全部")), QStringLiteral("Page Down"));
    EXPECT_EQ(GetHotKeyName(db(), QStringLiteral("不存在")), QString());
    RunSql(db(), QStringLiteral("update jxc_gnb set gn_jz = NULL where gn_name = '挂单'"));
    EXPECT_EQ(GetHotKeyName(db(), QStringLiteral("挂单")), QString());
}

TEST_F(KeyedListTest, SupplierListByDirectionAndBinding)
{
    RunSql(db(), QStringLiteral("insert into jxc_ghsxx (ghs_sn, ghs_name, ghs_forbid, ck_sn) values "
                                "('100002', '分仓供货商', 0, '100002'), ('100003', '三号库供货商', 0, '100003'), "
                                "('100004', '停用供货商', 1, '-1')"));
    PartnerList suppliers(PartnerList::Kind::Suppliers);
    const auto codes = [](const PartnerList &list) {
        QStringList out;
        for (int r = 0; r < list.rowCount(); ++r)
            out << list.value(r, QStringLiteral("ghs_sn")).toString();
        return out;
    };
    OpenSupplierList(db(), admin, suppliers, QStringLiteral("1"));
    EXPECT_EQ(codes(suppliers), utf8List({"100003", "100002", "100001"}));
    OpenSupplierList(db(), op2, suppliers, QStringLiteral("1"));
    EXPECT_EQ(codes(suppliers), utf8List({"100002", "100001"}));
    // Reloading keeps the statement of the login and sees new rows.
    RunSql(db(), QStringLiteral("insert into jxc_ghsxx (ghs_sn, ghs_name, ghs_forbid, ck_sn) values "
                                "('100005', '新供货商', 0, '-1')"));
    OpenSuppliers(db(), suppliers);
    EXPECT_EQ(codes(suppliers), utf8List({"100005", "100002", "100001"}));
    OpenSupplierList(db(), op2Free, suppliers, QStringLiteral("0"));
    EXPECT_EQ(codes(suppliers), utf8List({"100001", "100002", "100003", "100005"}));
}

TEST_F(KeyedListTest, CustomerListCarriesTheTypeName)
{
    PartnerList customers(PartnerList::Kind::Customers);
    OpenCustomers(db(), customers);  // the starting statement: every customer by id
    EXPECT_EQ(customers.rowCount(), 3);
    OpenCustomerList(db(), op2, customers, QStringLiteral("1"));
    ASSERT_EQ(customers.rowCount(), 2);  // K (warehouse 100002), then 100001 (all warehouses)
    EXPECT_EQ(customers.value(0, QStringLiteral("kh_sn")).toString(), QStringLiteral("K"));
    EXPECT_EQ(customers.value(0, QStringLiteral("ktname")).toString(), QStringLiteral("三级"));
    EXPECT_EQ(customers.value(1, QStringLiteral("ktname")).toString(), QStringLiteral("零售客户"));
    EXPECT_TRUE(customers.columns().contains(QStringLiteral("ktname")));
}

TEST_F(KeyedListTest, EnsureZoneAddsATypedRegionOnce)
{
    EXPECT_TRUE(EnsureZone(db(), QStringLiteral("华北")));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select z_sn from jxc_zone where z_name = '华北'")), QStringLiteral("100004"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select z_jm from jxc_zone where z_name = '华北'")), QStringLiteral("HB"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select z_default from jxc_zone where z_name = '华北'")), QStringLiteral("0"));
    EXPECT_FALSE(EnsureZone(db(), QStringLiteral("华北")));
    EXPECT_FALSE(EnsureZone(db(), QString()));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_zone")), QStringLiteral("4"));
}

} // namespace
