// Customers: the opening receivable, names and duplicates, defaults, salesmen, the opening
// update, renames, deletes, disabling, short codes, searches and the warehouse binding.

#include "records_fixture.h"

#include "masterdata/bindinglistrules.h"
#include "masterdata/partnerlistquery.h"

class CustomerTest : public RecordsTest
{
protected:
    QString reg(const QString &number, const QString &column)
    {
        return scalar(QStringLiteral("select %1 from jxc_ysyfk_dj where gl_djh = ?").arg(column), {number});
    }
    QString ledger(const QString &number, const QString &column)
    {
        return scalar(QStringLiteral("select %1 from jxc_ysyfk where gl_djh = ?").arg(column), {number});
    }
    QStringList customers(const SearchCriteria &c)
    {
        return listed(PartnerListStatement(db(), state, PartnerKind::Customer), c, QStringLiteral("kh_name"));
    }
};

TEST_F(CustomerTest, AddWritesTheRecordAndItsOpeningReceivable)
{
    const int zones = count("jxc_zone");
    const RecordSaveResult r = partners().add(hualian());
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.code, "100002");
    EXPECT_TRUE(notices.texts().isEmpty()) << notices.texts().join("|").toStdString();
    const QStringList expected{"HLCS", "1002", "二级", "-50", "0", "0", "0", "-1", "所有仓库", "", "", "省会地区",
                               "0571-88886666"};
    QStringList got;
    for (const char *c : {"kh_jm", "kt_sn", "kt_name", "kh_lwje", "kh_pl", "kh_default", "kh_forbid", "ck_sn",
                          "ck_name", "kh_uname", "kh_usn", "z_name", "kh_tele"})
        got << customerField("100002", c);
    EXPECT_EQ(got, expected);

    ASSERT_EQ(count("jxc_ysyfk_dj"), 1);
    const QString n = "YS25031410001";
    const QStringList regExpected{"100002", "kh", "YS", "admin", "100001", "期初应收款", "期初应收款", "客户的期初应收款",
                                  "-50", "-50", "0", "0", "0", "1", "2025-03-14", "1", "admin", "2025-03-14"};
    QStringList regGot;
    for (const char *c : {"k_ghskh", "k_type", "k_djlx", "a_name", "u_sn", "k_fkfs", "k_djtxt", "k_note", "k_yfje",
                          "k_ljje", "k_sfje", "k_yhje", "k_qcje", "k_flag", "k_rq", "k_check", "k_checker",
                          "k_chkrq"})
        regGot << reg(n, c);
    EXPECT_EQ(regGot, regExpected);
    ASSERT_EQ(count("jxc_ysyfk"), 1);
    QStringList ledgerGot;
    for (const char *c : {"k_ghskh", "k_type", "k_djlx", "a_name", "u_sn", "k_fkfs", "k_djtxt", "k_note", "k_yfje",
                          "k_ljje", "k_sfje", "k_yhje", "k_qcje", "k_flag", "k_rq"})
        ledgerGot << ledger(n, c);
    EXPECT_EQ(ledgerGot, regExpected.mid(0, 15));
    EXPECT_EQ(count("jxc_zone"), zones);
    EXPECT_EQ(count("jxc_log"), 0);

    // The day's next registration; none without an opening amount.
    PartnerInput second = named("联华超市", 100);
    EXPECT_EQ(partners().add(second).code, "100003");
    EXPECT_EQ(reg("YS25031410002", "k_ghskh"), "100003");
    EXPECT_EQ(partners().add(named("无期初")).code, "100004");
    EXPECT_EQ(count("jxc_ysyfk_dj", "k_ghskh = '100004'") + count("jxc_ysyfk", "k_ghskh = '100004'"), 0);
}

TEST_F(CustomerTest, StaleRowsOfTheNextCodeGoWhenItTakesAnOpeningAmount)
{
    insert("jxc_ysyfk_dj", {{"gl_djh", "YS24010110001"}, {"k_type", "kh"}, {"k_ghskh", "100002"}, {"k_yfje", 9}});
    insert("jxc_ysyfk", {{"gl_djh", "SK24010110001"}, {"k_type", "kh"}, {"k_ghskh", "100002"}, {"k_yfje", 9}});
    insert("jxc_ysyfk", {{"gl_djh", "YF24010110001"}, {"k_type", "ghs"}, {"k_ghskh", "100002"}, {"k_yfje", 9}});
    ASSERT_TRUE(partners().add(hualian()).saved());
    EXPECT_EQ(count("jxc_ysyfk_dj", "k_type = 'kh' and k_ghskh = '100002'"), 1);
    EXPECT_EQ(count("jxc_ysyfk", "k_type = 'kh' and k_ghskh = '100002'"), 1);
    EXPECT_EQ(count("jxc_ysyfk", "k_type = 'ghs'"), 1);  // a supplier's rows stay
    EXPECT_EQ(reg("YS25031410001", "k_yfje"), "-50");
}

TEST_F(CustomerTest, NamesRegionsAndDuplicates)
{
    PartnerInput east = named("东方超市");
    east.region = " 华东 ";
    ASSERT_TRUE(partners().add(east).saved());
    EXPECT_EQ(scalar("select z_sn || ',' || z_name || ',' || z_jm || ',' || z_default from jxc_zone "
                     "where z_name = '华东'"),
              "100004,华东,HD,0");

    const int before = count("jxc_khxx");
    EXPECT_EQ(partners().add(named("   ")).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "客户名称必须填写！");
    ASSERT_TRUE(partners().add(hualian()).saved());
    notices.script({Notices::Answer::No});
    EXPECT_EQ(partners().add(hualian()).status, SaveStatus::Declined);
    EXPECT_EQ(notices.last(), "客户已经存在，确认重复添加吗？");
    EXPECT_EQ(count("jxc_khxx"), before + 1);
    EXPECT_EQ(count("jxc_ysyfk_dj"), 1);
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(partners().add(hualian()).saved());
    EXPECT_EQ(count("jxc_khxx"), before + 2);

    // Letters compare whatever their case; saving unchanged asks nothing.
    ASSERT_TRUE(partners().add(named("Tesco")).saved());
    notices.shown.clear();
    notices.script({Notices::Answer::No});
    EXPECT_EQ(partners().add(named("TESCO")).status, SaveStatus::Declined);
    const qint64 tesco = scalar("select id from jxc_khxx where kh_name = 'Tesco'").toLongLong();
    notices.shown.clear();
    EXPECT_TRUE(partners().modify(tesco, named("Tesco")).saved());
    EXPECT_TRUE(notices.texts().isEmpty());
    notices.script({Notices::Answer::No});
    EXPECT_EQ(partners().modify(tesco, named("东方超市")).status, SaveStatus::Declined);
    EXPECT_EQ(notices.last(), "客户已经存在，确认可以重复吗？");
    EXPECT_EQ(scalar("select kh_name from jxc_khxx where id = ?", {tesco}), "Tesco");
}

TEST_F(CustomerTest, OnlyOneDefaultCustomer)
{
    PartnerInput in = hualian();
    in.isDefault = true;
    ASSERT_TRUE(partners().add(in).saved());
    EXPECT_EQ(scalar("select kh_sn from jxc_khxx where kh_default <> 0"), "100002");
    EXPECT_EQ(count("jxc_khxx", "kh_default <> 0"), 1);
    PartnerInput builtIn = named("普通客户");
    builtIn.isDefault = true;
    ASSERT_TRUE(partners().modify(customerId("100001"), builtIn).saved());
    EXPECT_EQ(scalar("select kh_sn from jxc_khxx where kh_default <> 0"), "100001");
    EXPECT_EQ(count("jxc_khxx", "kh_default <> 0"), 1);
}

TEST_F(CustomerTest, SalesmenInTreeOrderAndTickedWhateverTheStoredOrder)
{
    employee("100002", "张三");
    employee("100003", "李四");
    PartnerInput in = hualian();
    in.salesmen = {{"张三", "100002"}, {"李四", "100003"}};
    ASSERT_TRUE(partners().add(in).saved());
    EXPECT_EQ(customerField("100002", "kh_uname"), "张三,李四,");
    EXPECT_EQ(customerField("100002", "kh_usn"), "100002,100003,");
    const KeyedItems tree = partners().employees();
    ASSERT_EQ(tree.size(), 3);
    EXPECT_EQ(TickedChildren(tree, "张三,李四,", "100002,100003,"), (QList<bool>{false, true, true}));
    // A list stored in another order ticks both.
    EXPECT_EQ(TickedChildren(tree, "李四,张三,", "100003,100002,"), (QList<bool>{false, true, true}));
    EXPECT_EQ(TickedChildren(tree, "", ""), (QList<bool>{false, false, false}));

    // Lists longer than their columns are refused, nothing written.
    PartnerInput many = named("大客户");
    for (int i = 0; i < 40; ++i)
        many.salesmen << KeyedItem{QStringLiteral("业务员%1").arg(i), QStringLiteral("1%1").arg(i, 5, 10, QChar('0'))};
    const int before = count("jxc_khxx");
    EXPECT_EQ(partners().add(many).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "所选业务员过多，无法保存！");
    EXPECT_EQ(count("jxc_khxx"), before);
}

TEST_F(CustomerTest, OpeningUpdateTouchesOnlyOpeningRowsWhileNothingWasPosted)
{
    ASSERT_TRUE(partners().add(hualian()).saved());
    const qint64 id = customerId("100002");
    EXPECT_TRUE(partners().openingEditable("100002"));
    // A pending receipt of the customer: a registration only.
    insert("jxc_ysyfk_dj", {{"gl_djh", "SK25031410001"}, {"k_type", "kh"}, {"k_ghskh", "100002"}, {"k_djlx", "SK"},
                            {"k_djtxt", "收款单"}, {"k_yfje", 5}, {"k_ljje", 7}, {"k_check", 0}});
    PartnerInput in = hualian();
    in.opening = -80;
    ASSERT_TRUE(partners().modify(id, in).saved());
    EXPECT_EQ(customerField("100002", "kh_lwje"), "-80");
    EXPECT_EQ(reg("YS25031410001", "k_yfje") + reg("YS25031410001", "k_ljje"), "-80-80");
    EXPECT_EQ(ledger("YS25031410001", "k_yfje") + ledger("YS25031410001", "k_ljje"), "-80-80");
    EXPECT_EQ(reg("SK25031410001", "k_yfje") + reg("SK25031410001", "k_ljje"), "57");

    // Once something is posted the box is disabled and a balance written meanwhile stays.
    insert("jxc_ysyfk", {{"gl_djh", "XS25031410001"}, {"k_type", "kh"}, {"k_ghskh", "100002"}, {"k_djtxt", "销售单"},
                         {"k_yfje", 200}, {"k_ljje", 120}});
    EXPECT_FALSE(partners().openingEditable("100002"));
    RunSql(testDb().openSecondConnection(), "update jxc_khxx set kh_lwje = 120 where kh_sn = '100002'");
    in.name = "华联商场";
    in.openingEnabled = true;  // even a dialog that still shows the box enabled
    ASSERT_TRUE(partners().modify(id, in).saved());
    EXPECT_EQ(customerField("100002", "kh_lwje"), "120");
    EXPECT_EQ(reg("YS25031410001", "k_yfje"), "-80");

    // Without an opening amount the box is disabled from the start.
    ASSERT_TRUE(partners().add(named("无期初")).saved());
    EXPECT_FALSE(partners().openingEditable("100003"));
}

TEST_F(CustomerTest, RenamePushesIntoTheRowsOfItsOwnCode)
{
    ASSERT_TRUE(partners().add(hualian()).saved());
    for (const char *table : {"jxc_goodslist", "jxc_xjyh"}) {
        insert(table, {{"gl_djh", "A"}, {"ghs_sn", "100002"}, {"ghs_name", "华联超市"}});
        insert(table, {{"gl_djh", "B"}, {"ghs_sn", "100003"}, {"ghs_name", "华联超市"}});
    }
    PartnerInput in = hualian();
    in.name = "华联商场";
    ASSERT_TRUE(partners().modify(customerId("100002"), in).saved());
    EXPECT_EQ(customerField("100002", "kh_jm"), "HLSC");
    for (const char *table : {"jxc_goodslist", "jxc_xjyh"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(scalar(QStringLiteral("select ghs_name from %1 where gl_djh = 'A'").arg(table)), "华联商场");
        EXPECT_EQ(scalar(QStringLiteral("select ghs_name from %1 where gl_djh = 'B'").arg(table)), "华联超市");
    }
}

TEST_F(CustomerTest, DeleteRefusesRecordsInUseAndKeepsOtherRows)
{
    EXPECT_FALSE(partners().remove(customerId("100001")));
    EXPECT_EQ(notices.last(), "该客户为系统内置客户，不能删除！");

    struct Use
    {
        const char *table;
        QVariantMap row;
    };
    const Use uses[] = {
        {"jxc_lsxsd", {{"gl_djh", "XS25031410001"}, {"kh_sn", "100002"}}},
        {"jxc_xsd", {{"gl_djh", "XD25031410001"}, {"kh_sn", "100002"}}},
        {"jxc_xsthd", {{"gl_djh", "XT25031410001"}, {"kh_sn", "100002"}}},
        {"jxc_posxsd", {{"gl_djh", "XS25031410002"}, {"kh_sn", "100002"}}},
        {"jxc_ysyfk_dj", {{"gl_djh", "SK25031410001"}, {"k_type", "kh"}, {"k_ghskh", "100002"}, {"k_djtxt", "收款单"}}},
        {"jxc_xjyh", {{"gl_djh", "SK25031410001"}, {"ghs_sn", "100002"}}},
    };
    ASSERT_TRUE(partners().add(hualian()).saved());
    const qint64 id = customerId("100002");
    for (const Use &u : uses) {
        SCOPED_TRACE(u.table);
        const qint64 row = insert(u.table, u.row);
        notices.shown.clear();
        EXPECT_FALSE(partners().remove(id));
        EXPECT_EQ(notices.texts(), QStringList{"该客户已发生过业务，不能删除！"});
        RunSql(db(), QStringLiteral("delete from %1 where id = ?").arg(u.table), {row});
    }
    // A supplier's payment row of the same code does not count.
    insert("jxc_xjyh", {{"gl_djh", "FK25031410001"}, {"ghs_sn", "100002"}});
    notices.script({Notices::Answer::No});
    EXPECT_FALSE(partners().remove(id));
    EXPECT_EQ(notices.last(), "您确定要删除当前客户吗！");
    EXPECT_EQ(count("jxc_khxx", "kh_sn = '100002'"), 1);
    EXPECT_EQ(count("jxc_ysyfk_dj") + count("jxc_ysyfk"), 2);
    EXPECT_TRUE(partners().remove(id));
    EXPECT_EQ(count("jxc_khxx", "kh_sn = '100002'"), 0);
    EXPECT_EQ(count("jxc_ysyfk_dj") + count("jxc_ysyfk"), 0);
    EXPECT_EQ(count("jxc_xjyh", "gl_djh = 'FK25031410001'"), 1);
}

TEST_F(CustomerTest, DisableAndShortCode)
{
    ASSERT_TRUE(partners().add(hualian()).saved());
    const qint64 id = customerId("100002");
    EXPECT_TRUE(partners().setDisabled(id, true));
    EXPECT_EQ(customerField("100002", "kh_forbid"), "1");
    EXPECT_TRUE(partners().setDisabled(id, false));
    EXPECT_EQ(customerField("100002", "kh_forbid"), "0");
    EXPECT_TRUE(partners().setShortCode(id, " hlcs2 "));
    EXPECT_EQ(customerField("100002", "kh_jm"), "HLCS2");
}

TEST_F(CustomerTest, KeywordAndCriteriaMatchEveryStoredForm)
{
    ASSERT_TRUE(partners().add(hualian()).saved());
    PartnerInput lh = named("联华超市");
    lh.typeKey = "1001";
    lh.region = "地市区域";
    ASSERT_TRUE(partners().add(lh).saved());
    auto keyword = [&](const char *k) { return customers(PartnerKeywordCriteria(PartnerKind::Customer, k)); };
    EXPECT_EQ(keyword("hl"), QStringList{"华联超市"});
    EXPECT_EQ(keyword("联"), (QStringList{"华联超市", "联华超市"}));
    EXPECT_EQ(keyword("0571-8888"), QStringList{"华联超市"});
    EXPECT_EQ(keyword("zzz"), QStringList{});
    EXPECT_EQ(keyword(" "), (QStringList{"普通客户", "华联超市", "联华超市"}));

    auto criteria = [&](const PartnerSearchTexts &t) {
        return customers(PartnerSearchCriteria(PartnerKind::Customer, t));
    };
    PartnerSearchTexts t;
    t.region = "省会地区";
    EXPECT_EQ(criteria(t), QStringList{"华联超市"});
    t = {};
    t.type = "二级";
    EXPECT_EQ(criteria(t), QStringList{"华联超市"});
    RunSql(db(), "update jxc_khxx set kt_name = '' where kh_sn = '100002'");
    EXPECT_EQ(criteria(t), QStringList{"华联超市"});  // the type's own name counts
    t = {};
    t.name = "超市";
    t.type = "一级";
    EXPECT_EQ(criteria(t), QStringList{"联华超市"});
    EXPECT_EQ(criteria(PartnerSearchTexts{}), (QStringList{"普通客户", "华联超市", "联华超市"}));
}

TEST_F(CustomerTest, WarehouseBindingOfListsAndNewRecords)
{
    warehouse("100002", "分仓", "100002,");
    warehouse("100003", "三号库", "1000021,");
    for (const char *bound : {"-1", "100002", "100001", "100003"})
        insert("jxc_khxx", {{"kh_sn", QStringLiteral("2%1").arg(count("jxc_khxx"))},
                            {"kh_name", QStringLiteral("绑定%1").arg(bound)},
                            {"kt_sn", "1000"},
                            {"ck_sn", bound}});
    setParam("cs_shtc", 1);
    LoginState op2 = state;
    op2.CurrentOperatorName = "op2";
    op2.CurrentOperatorSn = "100002";
    op2.CurrentRoleSn = "100002";
    EXPECT_EQ(listed(PartnerListStatement(db(), op2, PartnerKind::Customer), {}, "kh_name"),
              (QStringList{"普通客户", "绑定-1", "绑定100002"}));
    EXPECT_EQ(listed(PartnerListStatement(db(), state, PartnerKind::Customer), {}, "kh_name").size(), 5);

    // Operators bound, the partner binding off: op2's new customer takes his first warehouse.
    setParam("cs_shtc", 0);
    setParam("cs_cgyh", 1);
    op2.BindOperatorWarehouse = "1";
    op2.BindPartnersToWarehouse = "0";
    const BindingList list = WarehouseBindingList(db(), op2);
    ASSERT_EQ(list.items, (KeyedItems{{"分仓", "100002"}, {"所有仓库", "-1"}}));
    EXPECT_EQ(list.chosen, 0);
    const BindingList all = WarehouseBindingList(db(), state);
    EXPECT_EQ(all.items.first(), (KeyedItem{"所有仓库", "-1"}));
    EXPECT_EQ(all.items.size(), 4);
    EXPECT_EQ(all.chosen, 0);

    PartnerRules asOp2(db(), op2, clock, notices, PartnerKind::Customer);
    PartnerInput in = named("新客户");
    in.warehouseSn = list.items.at(list.chosen).key;
    in.warehouseName = list.items.at(list.chosen).text;
    const RecordSaveResult r = asOp2.add(in);
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(customerField(r.code, "ck_sn") + customerField(r.code, "ck_name"), "100002分仓");
    // A record bound to a warehouse his list does not offer keeps it.
    const qint64 other = scalar("select id from jxc_khxx where ck_sn = '100001'").toLongLong();
    PartnerInput keep = named("绑定100001");
    keep.warehouseSn.clear();
    keep.warehouseName.clear();
    ASSERT_TRUE(asOp2.modify(other, keep).saved());
    EXPECT_EQ(scalar("select ck_sn from jxc_khxx where id = ?", {other}), "100001");
}

TEST_F(CustomerTest, AFailureMidSaveWritesNothing)
{
    PartnerInput in = hualian();
    in.region = "华东";
    const int customersBefore = count("jxc_khxx");
    const int zones = count("jxc_zone");
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        InjectStatementFailure(db(), n);
        const RecordSaveResult r = partners().add(in);
        InjectStatementFailure(db(), 0);
        if (r.saved()) {
            RunSql(db(), "delete from jxc_khxx where kh_sn = ?", {r.code});
            RunSql(db(), "delete from jxc_ysyfk_dj");
            RunSql(db(), "delete from jxc_ysyfk");
            RunSql(db(), "delete from jxc_zone where z_name = '华东'");
            continue;
        }
        EXPECT_EQ(r.status, SaveStatus::Failed);
        EXPECT_TRUE(notices.last().startsWith("保存客户信息失败：")) << notices.last().toStdString();
        EXPECT_EQ(count("jxc_khxx"), customersBefore);
        EXPECT_EQ(count("jxc_zone"), zones);
        EXPECT_EQ(count("jxc_ysyfk_dj") + count("jxc_ysyfk"), 0);
    }
}

TEST_F(CustomerTest, ASaveRunsOnceMoreWhenAnotherWorkstationTookItsCode)
{
    int attempts = 0;
    QString code;
    RunWithFreshCodes(db(), [&](CodeDraws &draws) {
        ++attempts;
        code = draws.draw("jxc_dept", "de_sn");
        if (attempts == 1) {
            // Another workstation stores the same code first.
            RunSql(db(), "insert into jxc_dept (de_sn, de_name) values (?, '别处')", {code});
            throw DbError("duplicate key");
        }
    });
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(code, "100003");
    // Another failure, or a second clash, reaches the caller.
    attempts = 0;
    EXPECT_THROW(RunWithFreshCodes(db(), [&](CodeDraws &) {
                     ++attempts;
                     throw DbError("disk full");
                 }),
                 DbError);
    EXPECT_EQ(attempts, 1);
    attempts = 0;
    EXPECT_THROW(RunWithFreshCodes(db(), [&](CodeDraws &draws) {
                     ++attempts;
                     RunSql(db(), "insert into jxc_dept (de_sn, de_name) values (?, '别处')",
                            {draws.draw("jxc_dept", "de_sn")});
                     throw DbError("duplicate key");
                 }),
                 DbError);
    EXPECT_EQ(attempts, 2);
}
