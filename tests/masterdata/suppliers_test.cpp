// Suppliers where they differ from customers, supplier types, customer types and regions.

#include "records_fixture.h"

#include "masterdata/partnerlistquery.h"
#include "masterdata/partnertyperules.h"
#include "masterdata/zonerules.h"

class SupplierTest : public RecordsTest
{
protected:
    PartnerRules suppliers() { return partners(PartnerKind::Supplier); }
    QString supplierField(const QString &sn, const QString &column)
    {
        return scalar(QStringLiteral("select %1 from jxc_ghsxx where ghs_sn = ?").arg(column), {sn});
    }
    static PartnerInput hongda(double opening = 800)
    {
        PartnerInput in = named("宏达商贸", opening);
        in.typeKey.clear();
        return in;
    }
    PartnerTypeRules types() { return PartnerTypeRules(db(), notices); }
    ZoneRules zones() { return ZoneRules(db(), notices); }
};

TEST_F(SupplierTest, AddWithOpeningPayableAndItsUpdate)
{
    const RecordSaveResult r = suppliers().add(hongda());
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.code, "100002");
    EXPECT_EQ(supplierField("100002", "ghs_jm"), "HDSM");
    EXPECT_EQ(supplierField("100002", "ghs_lwje"), "800");
    EXPECT_EQ(supplierField("100002", "gt_name"), "");
    const QString n = "YF25031410001";
    for (const char *table : {"jxc_ysyfk_dj", "jxc_ysyfk"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(scalar(QStringLiteral("select k_ghskh || k_type || k_djlx || k_fkfs || k_djtxt || k_note from %1 "
                                        "where gl_djh = ?")
                             .arg(table),
                         {n}),
                  "100002ghsYF期初应付款期初应付款供货商的期初应付款");
        EXPECT_EQ(scalar(QStringLiteral("select k_yfje from %1 where gl_djh = ?").arg(table), {n}), "800");
        EXPECT_EQ(scalar(QStringLiteral("select k_ljje from %1 where gl_djh = ?").arg(table), {n}), "800");
    }
    ASSERT_TRUE(suppliers().add(hongda(0)).saved());
    EXPECT_EQ(count("jxc_ysyfk_dj"), 1);

    EXPECT_TRUE(suppliers().openingEditable("100002"));
    PartnerInput in = hongda(750);
    ASSERT_TRUE(suppliers().modify(supplierId("100002"), in).saved());
    EXPECT_EQ(supplierField("100002", "ghs_lwje"), "750");
    for (const char *table : {"jxc_ysyfk_dj", "jxc_ysyfk"}) {
        EXPECT_EQ(scalar(QStringLiteral("select k_yfje from %1 where gl_djh = ?").arg(table), {n}), "750");
        EXPECT_EQ(scalar(QStringLiteral("select k_ljje from %1 where gl_djh = ?").arg(table), {n}), "750");
    }
}

TEST_F(SupplierTest, NoteTypeAndTexts)
{
    PartnerInput in = hongda(0);
    in.note = QString(100, QChar(u'备'));
    in.typeName = "B级供货商";
    ASSERT_TRUE(suppliers().add(in).saved());
    EXPECT_EQ(supplierField("100002", "ghs_note"), QString(64, QChar(u'备')));
    EXPECT_EQ(supplierField("100002", "gt_name"), "B级供货商");
    EXPECT_EQ(suppliers().add(named(" ")).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "供货商名称必须填写！");
    notices.script({Notices::Answer::No});
    EXPECT_EQ(suppliers().add(in).status, SaveStatus::Declined);
    EXPECT_EQ(notices.last(), "供货商名称已经存在，确认重复添加吗？");
    ASSERT_TRUE(suppliers().add(named("另一家")).saved());
    notices.script({Notices::Answer::No});
    EXPECT_EQ(suppliers().modify(supplierId("100003"), in).status, SaveStatus::Declined);
    EXPECT_EQ(notices.last(), "供货商名称已经存在，确认可以重复吗？");
}

TEST_F(SupplierTest, DeleteAndRename)
{
    EXPECT_FALSE(suppliers().remove(supplierId("100001")));
    EXPECT_EQ(notices.last(), "该供货商为系统内置供货商，不能删除！");
    ASSERT_TRUE(suppliers().add(hongda()).saved());
    const qint64 id = supplierId("100002");
    for (const char *header : {"jxc_jhd", "jxc_cgd", "jxc_thd"}) {
        SCOPED_TRACE(header);
        const qint64 row = insert(header, {{"gl_djh", "X"}, {"ghs_sn", "100002"}});
        EXPECT_FALSE(suppliers().remove(id));
        EXPECT_EQ(notices.last(), "该供货商已发生过业务，不能删除！");
        RunSql(db(), QStringLiteral("delete from %1 where id = ?").arg(header), {row});
    }
    // A department of the same name keeps its ledger rows.
    insert("jxc_goodslist", {{"gl_djh", "LY1"}, {"ghs_sn", "100009"}, {"ghs_name", "宏达商贸"}});
    PartnerInput renamed = hongda();
    renamed.name = "宏达贸易";
    ASSERT_TRUE(suppliers().modify(id, renamed).saved());
    EXPECT_EQ(scalar("select ghs_name from jxc_goodslist where gl_djh = 'LY1'"), "宏达商贸");

    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(suppliers().remove(id));
    EXPECT_EQ(notices.last(), "您确定要删除当前供货商吗！");
    EXPECT_EQ(count("jxc_ghsxx", "ghs_sn = '100002'"), 0);
    EXPECT_EQ(count("jxc_ysyfk_dj", "k_djlx = 'YF'") + count("jxc_ysyfk", "k_djlx = 'YF'"), 0);
}

TEST_F(SupplierTest, SupplierSearchMatchesTheStoredTypeName)
{
    PartnerInput in = hongda(0);
    in.typeName = "A级供货商";
    in.contact = "王五";
    ASSERT_TRUE(suppliers().add(in).saved());
    PartnerSearchTexts t;
    t.type = "A级";
    EXPECT_EQ(listed(PartnerListStatement(db(), state, PartnerKind::Supplier),
                     PartnerSearchCriteria(PartnerKind::Supplier, t), "ghs_name"),
              QStringList{"宏达商贸"});
    EXPECT_EQ(PartnerTypeChoices(db(), PartnerKind::Supplier),
              (QStringList{"", "A级供货商", "B级供货商", "C级供货商"}));
    EXPECT_EQ(RegionChoices(db()), (QStringList{"", "省会地区", "地市区域", "其他区域"}));
}

TEST_F(SupplierTest, CustomerTypeRenameReachesItsCustomers)
{
    insert("jxc_khxx", {{"kh_sn", "100002"}, {"kh_name", "甲"}, {"kt_sn", "1001"}, {"kt_name", "一级"}});
    insert("jxc_khxx", {{"kh_sn", "100003"}, {"kh_name", "乙"}, {"kt_sn", "1001"}, {"kt_name", ""}});
    insert("jxc_khxx", {{"kh_sn", "100004"}, {"kh_name", "丙"}, {"kt_sn", "1002"}, {"kt_name", "一级"}});
    const qint64 id = scalar("select id from jxc_khtype where kt_sn = '1001'").toLongLong();
    EXPECT_FALSE(types().renameCustomerType(id, "  "));
    EXPECT_EQ(notices.last(), "级别名称必须填写！");
    EXPECT_TRUE(types().renameCustomerType(id, " 批发一级 "));
    EXPECT_EQ(count("jxc_khxx", "kt_sn = '1001' and kt_name = '批发一级'"), 2);
    EXPECT_EQ(scalar("select kt_name from jxc_khxx where kh_sn = '100004'"), "一级");
    EXPECT_EQ(types().customerTypeItems().at(1), (KeyedItem{"批发一级", "1001"}));
    EXPECT_EQ(types().customerTypeItems().size(), 6);
}

TEST_F(SupplierTest, SupplierTypesAddFlagDeleteAndRename)
{
    RecordSaveResult r = types().saveSupplierType(0, "D级供货商", true);
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.code, "100004");
    EXPECT_EQ(count("jxc_ghstype", "gt_default <> 0"), 1);
    const qint64 c = scalar("select id from jxc_ghstype where gt_sn = '100003'").toLongLong();
    ASSERT_TRUE(types().saveSupplierType(c, "C级供货商", true).saved());
    EXPECT_EQ(scalar("select gt_sn from jxc_ghstype where gt_default <> 0"), "100003");
    EXPECT_EQ(count("jxc_ghstype", "gt_default <> 0"), 1);
    EXPECT_EQ(types().saveSupplierType(0, " ", false).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "供货商类型名称必须填写！");

    PartnerInput in = hongda(0);
    in.typeName = "B级供货商";
    ASSERT_TRUE(suppliers().add(in).saved());
    const qint64 b = scalar("select id from jxc_ghstype where gt_sn = '100002'").toLongLong();
    EXPECT_FALSE(types().removeSupplierType(b));
    EXPECT_EQ(notices.last(), "该类型供货商在使用，不能删除！");
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(types().removeSupplierType(c));
    EXPECT_EQ(notices.last(), "您确定要删除当前类型吗！");
    EXPECT_EQ(count("jxc_ghstype", "gt_sn = '100003'"), 0);

    ASSERT_TRUE(types().saveSupplierType(b, "优选供货商", false).saved());
    EXPECT_EQ(supplierField("100002", "gt_name"), "优选供货商");
    EXPECT_TRUE(types().supplierTypeTexts().contains("优选供货商"));
}

TEST_F(SupplierTest, RegionsAddFlagDeleteAndSearch)
{
    RecordSaveResult r = zones().save(0, " 华南 ", true);
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(scalar("select z_sn || z_name || z_jm from jxc_zone where z_sn = ?", {r.code}), "100004华南HN");
    const qint64 other = scalar("select id from jxc_zone where z_sn = '100001'").toLongLong();
    ASSERT_TRUE(zones().save(other, "省会地区", true).saved());
    EXPECT_EQ(count("jxc_zone", "z_default <> 0"), 1);
    EXPECT_EQ(zones().save(0, "", false).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "地区名称必须填写！");

    insert("jxc_khxx", {{"kh_sn", "100002"}, {"kh_name", "甲"}, {"kt_sn", "1000"}, {"z_name", "地市区域"}});
    const qint64 used = scalar("select id from jxc_zone where z_sn = '100002'").toLongLong();
    EXPECT_FALSE(zones().remove(used));
    EXPECT_EQ(notices.last(), "该地区供货商在使用，不能删除！");
    notices.script({Notices::Answer::No});
    EXPECT_FALSE(zones().remove(other));
    EXPECT_EQ(notices.last(), "您确定要删除当前地区吗！");

    EXPECT_EQ(listed(zones().statement(), ZoneRules::keyCriteria("ds"), "z_name"), QStringList{"地市区域"});
    EXPECT_EQ(listed(zones().statement(), ZoneRules::keyCriteria("100003"), "z_name"), QStringList{"其他区域"});
}
