// One transaction per action of the partner, warehouse, employee, department, type and region
// records: each action, failing at any of its statements, shows its failure text and leaves every
// table as it was; then it goes through.

#include "records_fixture.h"

#include "foundation/db/dberror.h"
#include "masterdata/departmentrules.h"
#include "masterdata/employeerules.h"
#include "masterdata/partnertyperules.h"
#include "masterdata/warehouserules.h"
#include "masterdata/zonerules.h"

#include <functional>

namespace {

class RecordAtomicityTest : public RecordsTest
{
protected:
    // Runs `action` with a failure at statement 1, 2, … until it goes through; each failed run
    // must show `text` and change nothing. Returns the statements the action took.
    int failEverywhere(const std::function<bool()> &action, const QString &text)
    {
        const QMap<QString, QString> before = AllRows(db());
        for (int n = 1; n < 200; ++n) {
            SCOPED_TRACE(n);
            notices.shown.clear();
            InjectStatementFailure(db(), n);
            bool done = false;
            try {
                done = action();
            } catch (const DbError &e) {
                // Escaping the rule, the error would end the program.
                ADD_FAILURE() << "escaped: " << e.text().toStdString();
            }
            InjectStatementFailure(db(), 0);
            if (done)
                return n - 1;
            EXPECT_TRUE(notices.last().startsWith(text)) << notices.last().toStdString();
            const QMap<QString, QString> after = AllRows(db());
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
        }
        return -1;
    }
    qint64 idOf(const QString &table, const QString &column, const QString &code)
    {
        return scalar(QStringLiteral("select id from %1 where %2 = ?").arg(table, column), {code}).toLongLong();
    }
    static EmployeeInput zhangsan()
    {
        EmployeeInput in;
        in.name = QStringLiteral("张三");
        in.warehouseSn = QStringLiteral("-1");
        in.warehouseName = QStringLiteral("所有仓库");
        return in;
    }
    static WarehouseInput store(const QString &name, bool isDefault)
    {
        WarehouseInput in;
        in.name = name;
        in.isDefault = isDefault;
        in.operators = {{QStringLiteral("admin"), QStringLiteral("100001")}};
        return in;
    }
};

TEST_F(RecordAtomicityTest, EveryActionIsWholeOrNothing)
{
    // Customer 华联超市 (100002) and supplier 宏达商贸 (100002) with opening balances; ledger and
    // cash rows carrying their names and those of an employee and a department; a customer who
    // lists the employee among its salesmen; a customer of type 1001.
    ASSERT_TRUE(partners().add(hualian()).saved());
    ASSERT_TRUE(partners(PartnerKind::Supplier).add(named("宏达商贸", 800)).saved());
    employee("100002", "张三");
    insert("jxc_dept", {{"de_sn", "100002"}, {"de_name", "采购部"}});
    for (const char *table : {"jxc_goodslist", "jxc_xjyh"}) {
        insert(table, {{"gl_djh", "A"}, {"ghs_sn", "100002"}, {"ghs_name", "华联超市"}, {"u_name", "张三"}});
        insert(table, {{"gl_djh", "B"}, {"ghs_sn", "100002"}, {"ghs_name", "宏达商贸"}});
        insert(table, {{"gl_djh", "C"}, {"ghs_sn", "100002"}, {"ghs_name", "采购部"}});
    }
    insert("jxc_zcmx", {{"u_name", "张三"}});
    insert("jxc_khxx", {{"kh_sn", "100003"}, {"kh_name", "联华超市"}, {"kt_sn", "1001"}, {"kt_name", "一级"},
                        {"kh_uname", "张三,"}, {"kh_usn", "100002,"}, {"ck_sn", "-1"}, {"ck_name", "所有仓库"}});
    insert("jxc_ghstype", {{"gt_sn", "100009"}, {"gt_name", "C级供货商"}});
    insert("jxc_ghsxx", {{"ghs_sn", "100003"}, {"ghs_name", "乙"}, {"gt_name", "C级供货商"}, {"ck_sn", "-1"}});
    warehouse("100002", "二号仓");
    insert("jxc_goodslist", {{"gl_djh", "D"}, {"ck_sn", "100002"}, {"ck_name", "二号仓"}});
    insert("jxc_xjyh", {{"gl_djh", "E"}, {"ck_name", "二号仓"}});
    insert("jxc_ghsxx", {{"ghs_sn", "100004"}, {"ghs_name", "丙"}, {"ck_sn", "100002"}, {"ck_name", "二号仓"}});
    employee("100003", "李四", {{"ck_sn", "100002"}, {"ck_name", "二号仓"}});

    PartnerRules customers = partners();
    PartnerRules suppliers = partners(PartnerKind::Supplier);
    WarehouseRules warehouses(db(), notices);
    EmployeeRules employees(db(), state, notices);
    DepartmentRules departments(db(), notices);
    PartnerTypeRules types(db(), notices);
    ZoneRules zones(db(), notices);
    // The rows' ids up front: the failing statement must be the action's own.
    const qint64 customer = customerId("100002");
    const qint64 supplier = supplierId("100002");
    const qint64 otherCustomer = customerId("100003");
    const qint64 otherSupplier = idOf("jxc_ghsxx", "ghs_sn", "100003");
    const qint64 customerType = idOf("jxc_khtype", "kt_sn", "1001");
    const qint64 supplierType = idOf("jxc_ghstype", "gt_sn", "100009");
    const qint64 zhang = idOf("jxc_user", "u_sn", "100002");
    const qint64 li = idOf("jxc_user", "u_sn", "100003");
    const qint64 purchasing = idOf("jxc_dept", "de_sn", "100002");

    struct Case
    {
        const char *action;
        std::function<bool()> run;
        const char *text;
        int least;  // statements the action takes at least (its writes among them)
    };
    const Case cases[] = {
        {"customer modify: rename pushed, opening updated",
         [&] {
             PartnerInput in = hualian();
             in.name = QStringLiteral("华联商场");
             in.opening = -80;
             return customers.modify(customer, in).saved();
         },
         "保存客户信息失败：", 5},
        {"supplier modify: rename pushed, opening updated",
         [&] {
             PartnerInput in = named(QStringLiteral("宏达贸易"), 750);
             in.typeName.clear();
             return suppliers.modify(supplier, in).saved();
         },
         "保存供货商信息失败：", 5},
        {"customer default", [&] {
             PartnerInput in = hualian();
             in.name = QStringLiteral("华联商场");
             in.opening = -80;
             in.isDefault = true;
             return customers.modify(customer, in).saved();
         },
         "保存客户信息失败：", 3},
        {"customer disable", [&] { return customers.setDisabled(customer, true); }, "保存客户信息失败：", 1},
        {"customer short code", [&] { return customers.setShortCode(customer, QStringLiteral("hlsc2")); },
         "保存客户信息失败：", 1},
        {"warehouse add as default", [&] { return warehouses.add(store(QStringLiteral("三号仓"), true)).saved(); },
         "保存仓库信息失败：", 2},
        {"warehouse rename pushed, default", [&] { return warehouses.modify("100002", store(QStringLiteral("北仓"), true)).saved(); },
         "保存仓库信息失败：", 5},
        {"customer type rename", [&] { return types.renameCustomerType(customerType, QStringLiteral("批发一级")); },
         "保存客户类型失败：", 2},
        {"supplier type rename", [&] {
             return types.saveSupplierType(supplierType, QStringLiteral("丙级供货商"), true).saved();
         },
         "保存供货商类型失败：", 2},
        {"region add as default", [&] { return zones.save(0, QStringLiteral("华东"), true).saved(); }, "保存地区信息失败：", 2},
        {"employee add", [&] {
             EmployeeInput in = zhangsan();
             in.name = QStringLiteral("王五");
             return employees.add(in).saved();
         },
         "保存员工信息失败：", 1},
        {"employee rename pushed", [&] {
             EmployeeInput in = zhangsan();
             in.name = QStringLiteral("张珊");
             return employees.modify(zhang, in).saved();
         },
         "保存员工信息失败：", 4},
        {"employee disable", [&] { return employees.setDisabled(zhang, true); },
         "保存员工信息失败：", 1},
        {"employee delete", [&] { return employees.remove(li); }, "删除失败：", 1},
        {"department add", [&] { return departments.save(0, QStringLiteral("销售部")).saved(); }, "保存部门信息失败：", 1},
        {"department rename pushed", [&] { return departments.save(purchasing, QStringLiteral("采购一部")).saved(); },
         "保存部门信息失败：", 2},
        {"department delete", [&] { return departments.remove(purchasing); }, "删除失败：", 1},
        {"supplier delete with its opening rows", [&] { return suppliers.remove(otherSupplier); },
         "删除失败：", 1},
        {"customer delete with its opening rows", [&] { return customers.remove(otherCustomer); }, "删除失败：", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        const int statements = failEverywhere(c.run, QString::fromUtf8(c.text));
        EXPECT_GE(statements, c.least);
    }

    // What went through at last is all there.
    EXPECT_EQ(customerField("100002", "kh_name") + customerField("100002", "kh_default"), "华联商场1");
    EXPECT_EQ(RowsText(db(), "select k_yfje, k_ljje from jxc_ysyfk_dj where k_type = 'kh'"), "-80|-80");
    EXPECT_EQ(RowsText(db(), "select ghs_name from jxc_goodslist where gl_djh in ('A', 'B', 'C') order by gl_djh"),
              "华联商场; 宏达贸易; 采购一部");
    EXPECT_EQ(RowsText(db(), "select ck_name from jxc_ckxx where ck_default = 1"), "北仓");
    EXPECT_EQ(RowsText(db(), "select ck_name from jxc_ghsxx where ghs_sn = '100004'"), "北仓");
    EXPECT_EQ(count("jxc_user", "u_sn = '100003'"), 0);
    EXPECT_EQ(RowsText(db(), "select u_name from jxc_zcmx"), "张珊");
    EXPECT_EQ(count("jxc_khxx", "kh_sn = '100003'"), 0);
    EXPECT_EQ(count("jxc_dept", "de_sn = '100002'"), 0);
}

} // namespace
