// Warehouses: saves with their operators and default flag, renames and their pushes, deletes,
// searches.

#include "records_fixture.h"

#include "masterdata/warehouserules.h"

class WarehouseTest : public RecordsTest
{
protected:
    WarehouseRules rules() { return WarehouseRules(db(), notices); }
    static WarehouseInput named(const QString &name, bool withAdmin = true)
    {
        WarehouseInput in;
        in.name = name;
        if (withAdmin)
            in.operators = {{"admin", "100001"}};
        return in;
    }
    QString field(const QString &sn, const QString &column)
    {
        return scalar(QStringLiteral("select %1 from jxc_ckxx where ck_sn = ?").arg(column), {sn});
    }
};

TEST_F(WarehouseTest, SavesWithOperatorsAndOneDefault)
{
    RecordSaveResult r = rules().add(named("二号仓"));
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.code, "100002");
    QStringList got;
    for (const char *c : {"ck_jm", "ck_aname", "ck_asn", "ck_pos", "ck_default"})
        got << field("100002", c);
    EXPECT_EQ(got, (QStringList{"EHC", "admin,", "100001,", "0", "0"}));

    WarehouseInput def = named("三号仓");
    def.isDefault = true;
    ASSERT_TRUE(rules().add(def).saved());
    EXPECT_EQ(field("100001", "ck_default"), "0");
    EXPECT_EQ(field("100003", "ck_default"), "1");

    WarehouseInput none = named("四号仓", false);
    none.isDefault = true;
    EXPECT_EQ(rules().add(none).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "必须选择操作员！");
    EXPECT_EQ(field("100003", "ck_default"), "1");
    EXPECT_EQ(rules().add(named(" ")).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "仓库名称必须填写！");

    // The main warehouse saved as loaded keeps its flags.
    const QVariantMap main = rules().record("100001");
    WarehouseInput same = named(main.value("ck_name").toString());
    same.keeper = main.value("ck_fzr").toString();
    same.note = main.value("ck_note").toString();
    same.isDefault = true;
    ASSERT_TRUE(rules().modify("100001", same).saved());
    EXPECT_EQ(field("100001", "ck_default") + field("100001", "ck_pos"), "11");
    EXPECT_EQ(count("jxc_ckxx", "ck_default <> 0") + count("jxc_ckxx", "ck_pos <> 0"), 2);

    WarehouseInput many = named("五号仓");
    for (int i = 0; i < 30; ++i)
        many.operators << KeyedItem{QStringLiteral("操作员%1").arg(i), QStringLiteral("2%1").arg(i, 5, 10, QChar('0'))};
    EXPECT_EQ(rules().add(many).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "所选操作员过多，无法保存！");
}

TEST_F(WarehouseTest, OperatorTreeTicksStoredOperatorsInAnyOrder)
{
    insert("jxc_admin", {{"a_sn", "100002"}, {"a_name", "wang"}, {"r_sn", "100002"}, {"a_jyt", 0}});
    const KeyedItems tree = rules().operators();
    ASSERT_EQ(tree, (KeyedItems{{"admin", "100001"}, {"wang", "100002"}}));
    EXPECT_EQ(TickedChildren(tree, "wang,admin,", "100002,100001,"), (QList<bool>{true, true}));
    WarehouseInput in = named("二号仓");
    in.operators = tree;
    ASSERT_TRUE(rules().add(in).saved());
    EXPECT_EQ(field("100002", "ck_aname") + field("100002", "ck_asn"), "admin,wang,100001,100002,");
}

TEST_F(WarehouseTest, RenamePushesByCodeAndCashRowsByName)
{
    ASSERT_TRUE(rules().add(named("二号仓")).saved());
    warehouse("100003", "二号仓");
    insert("jxc_goodslist", {{"gl_djh", "A"}, {"ck_sn", "100002"}, {"ck_name", "二号仓"}});
    insert("jxc_goodslist", {{"gl_djh", "B"}, {"ck_sn", "100003"}, {"ck_name", "二号仓"}});
    insert("jxc_xjyh", {{"gl_djh", "C"}, {"ck_name", "二号仓"}});
    insert("jxc_khxx", {{"kh_sn", "100002"}, {"kh_name", "甲"}, {"kt_sn", "1000"}, {"ck_sn", "100002"},
                        {"ck_name", "二号仓"}});
    insert("jxc_khxx", {{"kh_sn", "100003"}, {"kh_name", "乙"}, {"kt_sn", "1000"}, {"ck_sn", "100003"},
                        {"ck_name", "二号仓"}});
    // Suppliers and employees bound to either warehouse.
    insert("jxc_ghsxx", {{"ghs_sn", "100002"}, {"ghs_name", "丙"}, {"ck_sn", "100002"}, {"ck_name", "二号仓"}});
    insert("jxc_ghsxx", {{"ghs_sn", "100003"}, {"ghs_name", "丁"}, {"ck_sn", "100003"}, {"ck_name", "二号仓"}});
    employee("100002", "张三", {{"ck_sn", "100002"}, {"ck_name", "二号仓"}});
    employee("100003", "李四", {{"ck_sn", "100003"}, {"ck_name", "二号仓"}});
    ASSERT_TRUE(rules().modify("100002", named("北仓")).saved());
    EXPECT_EQ(field("100002", "ck_jm"), "BC");
    EXPECT_EQ(scalar("select ck_name from jxc_goodslist where gl_djh = 'A'"), "北仓");
    EXPECT_EQ(scalar("select ck_name from jxc_goodslist where gl_djh = 'B'"), "二号仓");
    EXPECT_EQ(scalar("select ck_name from jxc_xjyh where gl_djh = 'C'"), "北仓");
    EXPECT_EQ(scalar("select ck_name from jxc_khxx where kh_sn = '100002'"), "北仓");
    EXPECT_EQ(scalar("select ck_name from jxc_khxx where kh_sn = '100003'"), "二号仓");
    EXPECT_EQ(RowsText(db(), "select ghs_sn, ck_name from jxc_ghsxx where ck_sn <> '-1' order by ghs_sn"),
              "100002|北仓; 100003|二号仓");
    EXPECT_EQ(RowsText(db(), "select u_sn, ck_name from jxc_user where u_sn in ('100002', '100003') order by u_sn"),
              "100002|北仓; 100003|二号仓");
}

TEST_F(WarehouseTest, DeleteRefusesWarehousesInUse)
{
    ASSERT_TRUE(rules().add(named("二号仓")).saved());
    const char *inUse = "该仓库中有商品，或已发生过业务，不能删除！";
    qint64 row = insert("jxc_goodslist", {{"gl_djh", "A"}, {"ck_sn", "100002"}});
    EXPECT_FALSE(rules().remove("100002"));
    EXPECT_EQ(notices.last(), inUse);
    RunSql(db(), "delete from jxc_goodslist where id = ?", {row});
    row = insert("jxc_kcdbd", {{"gl_djh", "DB25031410001"}, {"ck_out", "100001"}, {"ck_in", "100002"}});
    EXPECT_FALSE(rules().remove("100002"));
    EXPECT_EQ(notices.last(), inUse);
    RunSql(db(), "delete from jxc_kcdbd where id = ?", {row});
    EXPECT_FALSE(rules().remove("100001"));
    EXPECT_EQ(notices.last(), "该仓库为系统内置仓库，不能删除！");

    insert("jxc_kcsp", {{"g_sn", "00000000"}, {"ck_sn", "100002"}, {"kc_sl", 0}});
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(rules().remove("100002"));
    EXPECT_EQ(notices.last(), "您确定要删除该仓库信息吗！");
    EXPECT_EQ(count("jxc_ckxx", "ck_sn = '100002'"), 0);
    EXPECT_EQ(count("jxc_kcsp", "ck_sn = '100002'"), 1);
}

TEST_F(WarehouseTest, KeyAndSearchDialog)
{
    RunSql(db(), "update jxc_ckxx set ck_fzr = '张明' where ck_sn = '100001'");
    WarehouseInput north = named("北区库");
    north.keeper = "李仓";
    ASSERT_TRUE(rules().add(north).saved());
    ASSERT_TRUE(rules().add(named("南区库")).saved());
    WarehouseInput west = named("西区库");
    west.keeper = "李四";
    ASSERT_TRUE(rules().add(west).saved());
    EXPECT_EQ(listed(WarehouseRules::statement(), WarehouseRules::keywordCriteria("仓"), "ck_name"),
              (QStringList{"主仓库", "北区库"}));
    EXPECT_EQ(listed(WarehouseRules::statement(), WarehouseRules::keywordCriteria("nqk"), "ck_name"),
              QStringList{"南区库"});
    WarehouseSearchTexts t;
    t.keeper = "李";
    EXPECT_EQ(listed(WarehouseRules::statement(true), WarehouseRules::searchCriteria(t), "ck_name"),
              (QStringList{"西区库", "北区库"}));
}
