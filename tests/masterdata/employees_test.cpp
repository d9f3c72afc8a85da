// Employees, the handler chooser's answers and departments.

#include "records_fixture.h"

#include "masterdata/departmentrules.h"
#include "masterdata/employeerules.h"
#include "masterdata/handlerchooserrules.h"

class EmployeeTest : public RecordsTest
{
protected:
    EmployeeRules rules() { return EmployeeRules(db(), state, notices); }
    static EmployeeInput zhangsan()
    {
        EmployeeInput in;
        in.name = "张三";
        in.rate = 5;
        in.mode = 1;
        in.margin = 20;
        in.warehouseSn = "-1";
        in.warehouseName = "所有仓库";
        return in;
    }
    QString field(const QString &sn, const QString &column)
    {
        return scalar(QStringLiteral("select %1 from jxc_user where u_sn = ?").arg(column), {sn});
    }
    qint64 idOf(const QString &sn) { return scalar("select id from jxc_user where u_sn = ?", {sn}).toLongLong(); }
};

TEST_F(EmployeeTest, AddModifyAndTheirChecks)
{
    RecordSaveResult r = rules().add(zhangsan());
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.code, "100002");
    QStringList got;
    for (const char *c : {"u_jm", "u_tc", "u_tcfs", "u_tctxt", "u_zdlr", "u_cg", "u_xs", "u_kc", "u_jy", "u_cgpl",
                          "u_xspl", "ck_sn"})
        got << field("100002", c);
    EXPECT_EQ(got, (QStringList{"ZS", "5", "1", "按毛利提成", "20", "1", "1", "1", "0", "0", "0", "-1"}));

    EmployeeInput onSales = zhangsan();
    onSales.name = "李四";
    onSales.mode = 0;  // the margin typed before stays out
    ASSERT_TRUE(rules().add(onSales).saved());
    EXPECT_EQ(field("100003", "u_zdlr") + field("100003", "u_tcfs") + field("100003", "u_tctxt"), "00按销售额提成");

    EmployeeInput again = zhangsan();
    again.name = "张三 ";
    EXPECT_EQ(rules().add(again).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "员工姓名不能重复！");
    EXPECT_EQ(rules().modify(idOf("100003"), again).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "员工姓名不能重复！");
    notices.shown.clear();
    RunSql(db(), "update jxc_user set u_cgpl = 7 where u_sn = '100002'");
    EXPECT_TRUE(rules().modify(idOf("100002"), zhangsan()).saved());
    EXPECT_TRUE(notices.texts().isEmpty());
    EXPECT_EQ(field("100002", "u_cgpl"), "7");
    EmployeeInput empty;
    EXPECT_EQ(rules().add(empty).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "员工姓名必须填写！");
}

TEST_F(EmployeeTest, RenameReachesCopiesAndSalesmanLists)
{
    ASSERT_TRUE(rules().add(zhangsan()).saved());
    RunSql(db(), "update jxc_user set u_cgpl = 7 where u_sn = '100002'");
    insert("jxc_khxx", {{"kh_sn", "100002"}, {"kh_name", "甲"}, {"kt_sn", "1000"}, {"kh_uname", "张三,张三丰,"},
                        {"kh_usn", "100002,100009,"}});
    insert("jxc_khxx", {{"kh_sn", "100003"}, {"kh_name", "乙"}, {"kt_sn", "1000"}, {"kh_uname", "李张三,"}});
    for (const char *table : {"jxc_goodslist", "jxc_xjyh", "jxc_zcmx"})
        insert(table, {{"u_name", "张三"}});
    EmployeeInput in = zhangsan();
    in.name = "张珊";
    ASSERT_TRUE(rules().modify(idOf("100002"), in).saved());
    EXPECT_EQ(scalar("select kh_uname from jxc_khxx where kh_sn = '100002'"), "张珊,张三丰,");
    EXPECT_EQ(scalar("select kh_usn from jxc_khxx where kh_sn = '100002'"), "100002,100009,");
    EXPECT_EQ(scalar("select kh_uname from jxc_khxx where kh_sn = '100003'"), "李张三,");
    for (const char *table : {"jxc_goodslist", "jxc_xjyh", "jxc_zcmx"})
        EXPECT_EQ(count(table, "u_name = '张珊'") * 10 + count(table, "u_name = '张三'"), 10) << table;
    EXPECT_EQ(field("100002", "u_cgpl"), "7");

    EmployeeInput tom = zhangsan();
    tom.name = "Tom";
    ASSERT_TRUE(rules().add(tom).saved());
    insert("jxc_khxx", {{"kh_sn", "100004"}, {"kh_name", "丙"}, {"kt_sn", "1000"}, {"kh_uname", "tom,Tommy,"}});
    tom.name = "Tim";
    ASSERT_TRUE(rules().modify(idOf("100003"), tom).saved());
    EXPECT_EQ(scalar("select kh_uname from jxc_khxx where kh_sn = '100004'"), "Tim,Tommy,");
    EXPECT_EQ(RenameInCommaList("a,B,b,ab,", "b", "c"), "a,c,c,ab,");
}

TEST_F(EmployeeTest, DeleteRefusesEmployeesInUse)
{
    EXPECT_FALSE(rules().remove(idOf("100001")));
    EXPECT_EQ(notices.last(), "系统内置员工，不能删除！");
    ASSERT_TRUE(rules().add(zhangsan()).saved());
    const qint64 id = idOf("100002");
    struct Use
    {
        const char *table;
        QVariantMap row;
    };
    const Use uses[] = {
        {"jxc_ysyfk", {{"u_sn", "100002"}}},
        {"jxc_ysyfk_dj", {{"u_sn", "100002"}}},
        {"jxc_goodslist", {{"u_name", "张三"}}},
        {"jxc_jhd", {{"gl_djh", "CJ25031410001"}, {"u_sn", "100002"}, {"j_status", 0}}},
        {"jxc_kcdbd", {{"gl_djh", "DB25031410001"}, {"u_sn", "100002"}}},
    };
    for (const Use &u : uses) {
        SCOPED_TRACE(u.table);
        const qint64 row = insert(u.table, u.row);
        EXPECT_FALSE(rules().remove(id));
        EXPECT_EQ(notices.last(), "该员工已发生过业务，不能删除！");
        RunSql(db(), QStringLiteral("delete from %1 where id = ?").arg(u.table), {row});
    }
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(rules().remove(id));
    EXPECT_EQ(notices.last(), "您确定要删除当前员工吗！");
    EXPECT_EQ(count("jxc_user", "u_sn = '100002'"), 0);
}

TEST_F(EmployeeTest, KeyAndSearchDialogOr)
{
    ASSERT_TRUE(rules().add(zhangsan()).saved());
    EmployeeInput keeper;
    keeper.name = "王五";
    keeper.duty = "仓管";
    ASSERT_TRUE(rules().add(keeper).saved());
    EXPECT_EQ(listed(rules().statement(), EmployeeRules::keywordCriteria("zs"), "u_name"), QStringList{"张三"});
    EmployeeSearchTexts t;
    t.name = "张";
    t.duty = "仓管";
    EXPECT_EQ(listed(rules().statement(), EmployeeRules::searchCriteria(t), "u_name"), (QStringList{"张三", "王五"}));
    EXPECT_EQ(listed(rules().statement(), EmployeeRules::searchCriteria({}), "u_name").size(), 3);
}

// The chooser's employees by id: 默认员工 all flags, 采购员 u_cg, 营业员 u_xs, 库管 u_kc, 停用 disabled.
class HandlerChooserTest : public EmployeeTest
{
protected:
    void SetUp() override
    {
        EmployeeTest::SetUp();
        employee("100002", "采购员", {{"u_xs", 0}, {"u_kc", 0}});
        employee("100003", "营业员", {{"u_cg", 0}, {"u_kc", 0}});
        employee("100004", "库管", {{"u_cg", 0}, {"u_xs", 0}});
        employee("100005", "停用", {{"u_jy", 1}});
        insert("jxc_khxx", {{"kh_sn", "100002"}, {"kh_name", "K"}, {"kt_sn", "1000"}, {"kh_usn", "100003,"}});
    }
    QStringList texts(const HandlerAnswer &a)
    {
        QStringList out;
        for (const KeyedItem &i : a.items)
            out << i.text;
        return out;
    }
};

TEST_F(HandlerChooserTest, ListsAndSelectionsByOpener)
{
    EXPECT_EQ(listed(rules().statement(true), {}, "u_name"), (QStringList{"默认员工", "采购员", "营业员", "库管"}));
    struct Case
    {
        const char *tag;
        const char *chosen;
        QStringList list;
        int selected;
    };
    const Case cases[] = {
        {"jh", "营业员", {"默认员工", "采购员"}, -1},
        {"jh", "采购员", {"默认员工", "采购员"}, 1},
        {"cgd", "采购员", {"默认员工", "采购员"}, 1},
        {"kcdb", "库管", {"默认员工", "库管"}, 1},
        {"kcpd", "库管", {"默认员工", "库管"}, 1},
        {"bmly", "采购员", {"默认员工", "采购员"}, 1},
        {"xs", "营业员", {"默认员工", "营业员"}, 1},
        {"spdd", "营业员", {"默认员工", "营业员"}, 1},
    };
    HandlerChooserRules chooser(db(), state);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tag);
        const HandlerAnswer a = chooser.answer(c.tag, c.chosen, QString());
        EXPECT_TRUE(a.answered);
        EXPECT_EQ(texts(a), c.list);
        EXPECT_EQ(a.selected, c.selected);
    }
    EXPECT_FALSE(chooser.answer("", "采购员", QString()).answered);

    setParam("cs_xsyh", 1);
    HandlerChooserRules bound(db(), state);
    const HandlerAnswer a = bound.answer("xs", "默认员工", "100002");
    EXPECT_EQ(texts(a), (QStringList{"营业员", "默认员工"}));
    EXPECT_EQ(a.selected, 0);
}

TEST_F(HandlerChooserTest, BindingLimitsTheChooser)
{
    warehouse("100002", "分仓", "100002,");
    RunSql(db(), "update jxc_user set ck_sn = '100002' where u_sn = '100002'");
    RunSql(db(), "update jxc_user set ck_sn = '100001' where u_sn = '100003'");
    setParam("cs_shtc", 1);
    LoginState op2 = state;
    op2.CurrentOperatorSn = "100002";
    op2.CurrentRoleSn = "100002";
    EXPECT_EQ(listed(EmployeeRules(db(), op2, notices).statement(true), {}, "u_name"),
              (QStringList{"默认员工", "采购员", "库管"}));
}

class DepartmentTest : public RecordsTest
{
protected:
    DepartmentRules rules() { return DepartmentRules(db(), notices); }
    qint64 idOf(const QString &sn) { return scalar("select id from jxc_dept where de_sn = ?", {sn}).toLongLong(); }
};

TEST_F(DepartmentTest, SaveSearchDeleteAndAnswers)
{
    EXPECT_EQ(rules().save(0, " 财务部 ").code, "100002");
    EXPECT_EQ(rules().save(0, "").status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "部门名称必须填写！");
    EXPECT_EQ(listed(DepartmentRules::statement(), DepartmentRules::searchCriteria("1000"), "de_name"),
              (QStringList{"默认部门", "财务部"}));
    EXPECT_EQ(listed(DepartmentRules::statement(), DepartmentRules::searchCriteria("0002"), "de_name"),
              QStringList{"财务部"});

    EXPECT_FALSE(rules().remove(idOf("100001")));
    EXPECT_EQ(notices.last(), "该部门是系统内置部门，不能删除！");
    for (const char *table : {"jxc_yyfy", "jxc_bmlyd", "jxc_scrkd"}) {
        SCOPED_TRACE(table);
        const qint64 row = insert(table, {{"gl_djh", "X"}, {"de_sn", "100002"}});
        EXPECT_FALSE(rules().remove(idOf("100002")));
        EXPECT_EQ(notices.last(), "该部门已经在使用，不能删除！");
        RunSql(db(), QStringLiteral("delete from %1 where id = ?").arg(table), {row});
    }

    // Two departments of one name: a rename reaches only its own code's rows.
    EXPECT_EQ(rules().save(0, "财务部").code, "100003");
    insert("jxc_goodslist", {{"gl_djh", "A"}, {"ghs_sn", "100002"}, {"ghs_name", "财务部"}});
    insert("jxc_goodslist", {{"gl_djh", "B"}, {"ghs_sn", "100003"}, {"ghs_name", "财务部"}});
    ASSERT_TRUE(rules().save(idOf("100002"), "财务中心").saved());
    EXPECT_EQ(scalar("select ghs_name from jxc_goodslist where gl_djh = 'A'"), "财务中心");
    EXPECT_EQ(scalar("select ghs_name from jxc_goodslist where gl_djh = 'B'"), "财务部");
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(rules().remove(idOf("100003")));
    EXPECT_EQ(notices.last(), "您确定要删除该部门信息吗！");

    const DepartmentAnswer a = rules().answer("fyjsr_add", "财务中心", true);
    EXPECT_TRUE(a.refill);
    EXPECT_EQ(a.items, (KeyedItems{{"默认部门", "100001"}, {"财务中心", "100002"}, {"添加新部门...", "-1"}}));
    EXPECT_EQ(a.select, "财务中心");
    EXPECT_TRUE(rules().answer("bmly", "", false).reload);
    EXPECT_FALSE(rules().answer("fyjsr_add", "", false).refill);
    const DepartmentAnswer none = rules().answer("", "财务中心", true);
    EXPECT_FALSE(none.refill || none.reload);
}
