// Saving the purchase receipt of the entry page and auditing pending receipts: refusals, the
// header as written, settlement differences, numbers another operator took, audit on save,
// atomicity, two workstations saving one number at once, the pending list and its audit
// commands, and the whole road into stock.

#include "purchase_fixture.h"

#include "../support/stations.h"

#include "engine/balances.h"
#include "foundation/numbering.h"
#include "purchasing/pendingdocuments.h"
#include "purchasing/receiptaudit.h"
#include "purchasing/receiptsave.h"

namespace {

class ReceiptSaveTest : public PurchaseRulesTest
{
protected:
    ReceiptHeaderInput header(double payable, double paid = -1) const
    {
        return FixtureHeader(payable, paid < 0 ? payable : paid);
    }
    ReceiptSaveResult save(const ReceiptHeaderInput &in, const QString &number = kFirstNumber)
    {
        const int lines = scalar("select count(*) from jxc_jhsp where gl_djh = ? and a_name = 'admin'", {number}).toInt();
        return ReceiptSave(db(), state, clock, notices).save(number, lines, in);
    }
    QString headers() const { return scalar("select count(*) from jxc_jhd"); }
    QString logs(const QString &like) const
    {
        return rows("select log_note from jxc_log where log_note like ? order by id", {like});
    }
};

TEST_F(ReceiptSaveTest, RefusalsComeInOrderAndWriteNothing)
{
    struct Case
    {
        bool lines;
        void (*change)(ReceiptHeaderInput &);
        const char *text;
    };
    const Case cases[] = {
        {false, [](ReceiptHeaderInput &) {}, "单据中没有业务发生，不能保存！"},
        {true, [](ReceiptHeaderInput &in) { in.supplierText = "  "; }, "请选择供货商！"},
        // A name typed without choosing: the supplier saved would not be the one shown.
        {true, [](ReceiptHeaderInput &in) { in.supplierText = "某某"; }, "请选择供货商！"},
        {true, [](ReceiptHeaderInput &in) { in.supplierSn.clear(); }, "请选择供货商！"},
        {true, [](ReceiptHeaderInput &in) { in.handlerText.clear(); }, "请选择经办人！"},
        {true, [](ReceiptHeaderInput &in) { in.warehouseSn.clear(); }, "请选择仓库！"},
    };
    for (const Case &c : cases) {
        RunSql(db(), "delete from jxc_jhsp");
        if (c.lines)
            draftLine(kFirstNumber, kG1, 1, 2);
        notices.shown.clear();
        ReceiptHeaderInput in = header(2);
        c.change(in);
        const ReceiptSaveResult r = save(in);
        EXPECT_EQ(r.status, PurchaseStatus::Refused) << c.text;
        EXPECT_EQ(notices.texts(), QStringList{QString::fromUtf8(c.text)});
        EXPECT_EQ(headers(), "0");
    }
    // No at the confirmation writes nothing either.
    notices.shown.clear();
    notices.script({Notices::Answer::No});
    EXPECT_EQ(save(header(2)).status, PurchaseStatus::Declined);
    EXPECT_EQ(headers(), "0");
    EXPECT_EQ(logs("%"), "");
}

TEST_F(ReceiptSaveTest, TheConfirmationFollowsAuditOnSave)
{
    const QString pendingText = "单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的采购单，可以在“待审核采\r\n\r\n"
                                "购单”面板中，进行修改及审核操作！";
    const QString auditText = "单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“进退货查询”功能中取消审核！";
    struct Case
    {
        const char *setting;
        bool audits;
    };
    for (const Case c : {Case{"0", false}, Case{"False", false}, Case{"", true}, Case{"1", true}}) {
        RunSql(db(), "delete from jxc_jhsp");
        RunSql(db(), "delete from jxc_jhd");
        draftLine(kFirstNumber, kG1, 1, 2);
        state.AuditOnSave = c.setting;
        notices.shown.clear();
        const ReceiptSaveResult r = save(header(2));
        ASSERT_FALSE(notices.shown.isEmpty());
        EXPECT_EQ(notices.shown.first().text, c.audits ? auditText : pendingText) << c.setting;
        EXPECT_EQ(r.audited, c.audits) << c.setting;
        EXPECT_EQ(scalar("select j_status from jxc_jhd"), c.audits ? "1" : "0") << c.setting;
    }
}

TEST_F(ReceiptSaveTest, APendingSaveWritesTheHeaderAsTheScreenShowsIt)
{
    draftLine(kFirstNumber, kG1, 2, 2.35);
    draftLine(kFirstNumber, kG2, 1, 3);
    RunSql(db(), "update jxc_jhsp set jh_rksl = 0, jh_qxsl = 5");
    ReceiptHeaderInput in = header(7.7);
    in.note = " 到\x07货 ";
    const ReceiptSaveResult r = save(in);
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.number, kFirstNumber);
    EXPECT_EQ(rows("select gl_djh, ghs_sn, ck_sn, u_sn, j_jhrq, j_yfje, j_sfje, j_note, gl_djh2, a_name, j_status, "
                   "j_checker, j_chkrq, j_yhje, j_hkje, j_th, j_fpje, j_yf, j_bzf, j_jsfs, j_kmmc, j_crk, j_qk, j_yffs, "
                   "ht_sn from jxc_jhd"),
              "CJ25031410001|100001|100001|100001|2025-03-14 09:30|7.7|7.7|到货||admin|0|||0|0|0|0|0|0|1|现金|1|1||");
    EXPECT_EQ(rows("select jh_rksl, jh_qxsl from jxc_jhsp order by id"), "2|0; 1|0");
    EXPECT_EQ(logs("%"), "增加未审核进货单CJ25031410001，共2种商品");
    // The next document of the day.
    EXPECT_EQ(GetNewDjhByDate(db(), "jxc_jhd", "gl_djh", "CJ", "2025-03-14"), "CJ25031410002");

    // Who pays the freight.
    struct Freight
    {
        double freight, packing;
        const char *payer;
    };
    for (const Freight f : {Freight{5, 0, "我方付运费"}, Freight{0, 2, "我方付运费"}, Freight{0, 0, ""}}) {
        RunSql(db(), "delete from jxc_jhd");
        draftLine("CJ25031410002", kG1, 1, 1);
        ReceiptHeaderInput h = header(1);
        h.freight = f.freight;
        h.packing = f.packing;
        save(h, "CJ25031410002");
        EXPECT_EQ(scalar("select j_yffs from jxc_jhd"), f.payer);
        RunSql(db(), "delete from jxc_jhsp where gl_djh = 'CJ25031410002'");
    }
}

TEST_F(ReceiptSaveTest, PaidIsRoundedWithRoundTotals)
{
    state.RoundTotals = "1";
    state.TotalDecimals = "1";
    state.PurchasePaidDefault = "1";
    draftLine(kFirstNumber, kG1, 1, 8);
    ASSERT_TRUE(save(header(8, 5.25)).saved());
    EXPECT_EQ(scalar("select j_sfje from jxc_jhd"), "5.3");
}

TEST_F(ReceiptSaveTest, ASettlementDifferenceIsBookedByTheModeAndAuditedAsDiscount)
{
    struct Case
    {
        const char *mode;
        int settle;
        double paid;
        const char *lines;    // g_sn|jh_dj|jh_taxdj|jh_je|jh_zje|jh_taxje by id
        const char *header;   // j_yfje|j_sfje
        const char *discount; // j_yhje after the audit
    };
    const Case cases[] = {
        {"1", 0, 95, "G60|60|60|60|60|0; G40|40|40|40|40|0; 00000000|0|0|-5|-5|0", "100|95", "5"},
        {"0", 0, 95, "G60|57.5|57.5|57.5|57.5|0; G40|37.5|37.5|37.5|37.5|0", "95|95", "0"},
        {"1", 1, 0, "G60|60|60|60|60|0; G40|40|40|40|40|0", "100|0", "0"},
    };
    AddGoods(db(), "G60", "六十", 60);
    AddGoods(db(), "G40", "四十", 40);
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.mode) + "/" + std::to_string(c.settle));
        for (const char *t : {"jxc_jhsp", "jxc_jhd", "jxc_log", "jxc_goodslist", "jxc_kcsp", "jxc_ysyfk", "jxc_xjyh"})
            RunSql(db(), QStringLiteral("delete from %1").arg(t));
        state.SettleDiffMode = c.mode;
        draftLine(kFirstNumber, "G60", 1, 60);
        draftLine(kFirstNumber, "G40", 1, 40);
        ReceiptHeaderInput in = header(100, c.paid);
        in.settleIndex = c.settle;
        ASSERT_TRUE(save(in).saved());
        EXPECT_EQ(rows("select g_sn, jh_dj, jh_taxdj, jh_je, jh_zje, jh_taxje from jxc_jhsp order by id"), c.lines);
        EXPECT_EQ(rows("select j_yfje, j_sfje from jxc_jhd"), c.header);
        EXPECT_EQ(logs("增加未审核%"), "增加未审核进货单CJ25031410001，共2种商品");
        if (QString(c.mode) == "1" && c.settle == 0)
            EXPECT_EQ(rows("select jh_sl, jh_dj, jh_zsl, jh_rksl, jh_dzl from jxc_jhsp where g_sn = '00000000'"), "0|0|0|0|1");
        ASSERT_FALSE(ReceiptAudit(db(), state, clock, notices).checkDj(kFirstNumber).isEmpty());
        EXPECT_EQ(scalar("select j_yhje from jxc_jhd"), c.discount);
    }
}

TEST_F(ReceiptSaveTest, ANumberSavedMeanwhileIsReplacedBeforeTheHeaderIsWritten)
{
    draftLine(kFirstNumber, kG1, 1, 2);
    // wang saved a receipt under the same number after admin's line was written.
    insert("jxc_jhd", {{"gl_djh", kFirstNumber}, {"a_name", "wang"}, {"j_status", 0}, {"ghs_sn", "100001"},
                       {"ck_sn", "100001"}, {"u_sn", "100001"}, {"j_jhrq", "2025-03-14 09:00"}});
    const ReceiptSaveResult r = save(header(2));
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.number, "CJ25031410002");
    EXPECT_EQ(rows("select gl_djh from jxc_jhsp"), "CJ25031410002");
    EXPECT_EQ(logs("%"), "增加未审核进货单CJ25031410002，共1种商品");
    EXPECT_EQ(GetNewDjhByDate(db(), "jxc_jhd", "gl_djh", "CJ", "2025-03-14"), "CJ25031410003");

    // Another operator's draft lines under the number move nothing of theirs.
    draftLine("CJ25031410003", kG1, 1, 2);
    draftLine("CJ25031410003", kG2, 1, 3, "li");
    const ReceiptSaveResult second = save(header(2), "CJ25031410003");
    EXPECT_EQ(second.number, "CJ25031410004");
    EXPECT_EQ(rows("select a_name from jxc_jhsp where gl_djh = 'CJ25031410003'"), "li");
}

TEST_F(ReceiptSaveTest, AuditOnSaveAuditsAndAnEngineRefusalLeavesItPending)
{
    state.AuditOnSave = "1";
    draftLine(kFirstNumber, kG1, 2, 2.35);
    draftLine(kFirstNumber, kG2, 1, 3);
    const ReceiptSaveResult r = save(header(7.7));
    ASSERT_TRUE(r.audited);
    EXPECT_EQ(rows("select j_status, j_checker, j_chkrq from jxc_jhd"), "1|admin|2025-03-14");
    EXPECT_EQ(logs("%审核采购进货单%"), "审核采购进货单CJ25031410001，共2种商品");
    EXPECT_EQ(logs("增加未审核%"), "");

    draftLine("CJ25031410002", kG1, 1, 2);
    RunSql(db(), "delete from jxc_user where u_sn = '100001'");
    notices.shown.clear();
    const ReceiptSaveResult refused = save(header(2), "CJ25031410002");
    EXPECT_TRUE(refused.saved());
    EXPECT_FALSE(refused.audited);
    EXPECT_EQ(notices.last(), "单据CJ25031410002的经手人、供货商或仓库资料不存在，不能审核！");
    EXPECT_EQ(scalar("select j_status from jxc_jhd where gl_djh = 'CJ25031410002'"), "0");
}

TEST_F(ReceiptSaveTest, AFailureAnywhereInTheSaveWritesNothing)
{
    draftLine(kFirstNumber, kG1, 1, 60);
    draftLine(kFirstNumber, kG2, 1, 40);
    ReceiptHeaderInput in = header(100, 95);
    in.settleIndex = 0;  // the adjustment line is written too
    int failures = 0;
    for (int n = 1; n <= 40; ++n) {
        notices.shown.clear();
        InjectStatementFailure(db(), n);
        const ReceiptSaveResult r = ReceiptSave(db(), state, clock, notices).save(kFirstNumber, 2, in);
        InjectStatementFailure(db(), 0);
        if (r.saved())
            break;
        ++failures;
        ASSERT_EQ(r.status, PurchaseStatus::Failed) << n;
        EXPECT_TRUE(notices.last().startsWith("保存失败：")) << n;
        EXPECT_EQ(headers(), "0") << n;
        EXPECT_EQ(rows("select gl_djh, g_sn from jxc_jhsp order by id"), "CJ25031410001|20000001; CJ25031410001|20000002")
            << n;
        EXPECT_EQ(logs("%"), "") << n;
    }
    EXPECT_GT(failures, 5);
    EXPECT_EQ(headers(), "1");
}

class ReceiptStationsTest : public ReceiptSaveTest
{
protected:
    // admin (one line) and li (two lines) save their drafts under one number at once.
    QStringList saveAtOnce(bool numberLock)
    {
        draftLine(kFirstNumber, kG1, 1, 2);
        draftLine(kFirstNumber, kG2, 1, 3, "li");
        draftLine(kFirstNumber, kG3, 2, 2.5, "li");
        const QStringList who{QStringLiteral("admin"), QStringLiteral("li")};
        return SaveAtOnce(
            testDb(), 2, QStringLiteral("insert into jxc_jhd"),
            [&](const QSqlDatabase &c, int s) {
            LoginState mine = state;
            mine.CurrentOperatorName = who.at(s);
            ScriptedNotices answers;
            const ReceiptSaveResult r = ReceiptSave(c, mine, clock, answers).save(kFirstNumber, s + 1, header(s == 0 ? 2 : 8));
            if (!r.saved())
                ADD_FAILURE() << who.at(s).toStdString() << ": " << answers.texts().join(" / ").toStdString();
            },
            numberLock);
    }
};

TEST_F(ReceiptStationsTest, TwoSavesOfOneNumberEndUnderTwoNumbers)
{
    const QStringList errors = saveAtOnce(true);
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    // Whoever saved second moved on to a number of its own; each header has its operator's lines
    // and due amount, and each save logged the number it wrote.
    EXPECT_EQ(scalar("select count(distinct gl_djh) from jxc_jhd"), "2");
    EXPECT_EQ(rows("select a_name, j_yfje from jxc_jhd order by a_name"), "admin|2; li|8");
    EXPECT_EQ(LinesUnderOwnHeaders(db(), "jxc_jhd", "jxc_jhsp"), "admin|1; li|2 / 0");
    EXPECT_EQ(scalar("select count(*) from jxc_log l join jxc_jhd h on l.log_note like '%' || h.gl_djh || '%'"), "2");
}

// Without the number lock both saves test the number before either has written: both keep it.
TEST_F(ReceiptStationsTest, WithoutLocksTwoSavesKeepOneNumber)
{
    if (TestDbKind() != DbKind::Postgres)
        GTEST_SKIP() << "SQLite serialises writers without the locks";
    const QStringList errors = saveAtOnce(false);
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(rows("select count(distinct gl_djh), count(*) from jxc_jhd"), "1|2");
}

TEST_F(ReceiptSaveTest, TheMainRoadIntoStockCostPayablesAndCash)
{
    AddGoods(db(), "20000004", "矿泉水", 0);
    for (const auto &[number, quantity, price] :
         {std::tuple{QString(kFirstNumber), 10.0, 4.0}, std::tuple{QString("CJ25031410002"), 30.0, 6.0}}) {
        draftLine(number, "20000004", quantity, price);
        ReceiptHeaderInput in = header(quantity * price);
        in.settleIndex = 1;
        ASSERT_TRUE(save(in, number).saved());
    }
    ReceiptAudit audit(db(), state, clock, notices);
    notices.script({Notices::Answer::Yes, Notices::Answer::Yes});
    EXPECT_TRUE(audit.auditSelected(kFirstNumber));
    EXPECT_TRUE(audit.auditSelected("CJ25031410002"));
    EXPECT_EQ(rows("select kc_sl, kc_zsl, kc_cbj, kc_zcb from jxc_kcsp where g_sn = '20000004'"), "40|40|5.5|220");
    EXPECT_EQ(rows("select g_kc, g_pjjj, g_scjj, g_cgpl from jxc_goods where g_sn = '20000004'"), "40|5.5|6|2");
    EXPECT_EQ(scalar("select u_cgpl from jxc_user where u_sn = '100001'"), "2");
    EXPECT_EQ(scalar("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'"), "0");
    EXPECT_EQ(GetCashBalance(db(), state, clock, "现金"), "-220");
}

// ---- The pending page -------------------------------------------------------------------

class PendingReceiptsTest : public ReceiptSaveTest
{
protected:
    void SetUp() override
    {
        ReceiptSaveTest::SetUp();
        savedReceipt("CJ25031410001", {{kG1, {2, 5}}}, 0, {{"j_sfje", 4.0}, {"j_yhje", 1.0}});
        savedReceipt("CJ25031410002", {{kG2, {1, 3}}}, 0, {{"j_note", "到货"}, {"j_jhrq", "2025-03-14 09:10"}});
        savedReceipt("CJ25031410003", {{kG3, {1, 2.5}}}, 0, {{"j_jhrq", "2025-03-14 09:20"}});
        savedReceipt("CJ25031310001", {{kG3, {1, 9}}}, 1);
    }
    QString listed(const QString &key = QString(), bool descending = false, const QString &supplier = QString()) const
    {
        const ListStatement st = PendingPurchases(db(), state, PurchaseListDocOf(PurchaseKind::Receipt)).list(key, supplier, descending);
        return rows(QStringLiteral("select gl_djh, wfje, ghs_name, ck_name, u_name from (%1) x order by %2")
                        .arg(st.body, QString(st.order).replace("a.", "")),
                    st.binds);
    }
};

TEST_F(PendingReceiptsTest, TheListSearchesByKeyAndSupplierAndShowsWhatIsGone)
{
    EXPECT_EQ(listed(), "CJ25031410001|5|普通供货商|主仓库|默认员工; CJ25031410002|0|普通供货商|主仓库|默认员工; "
                        "CJ25031410003|0|普通供货商|主仓库|默认员工");
    EXPECT_EQ(listed("到货"), "CJ25031410002|0|普通供货商|主仓库|默认员工");
    EXPECT_EQ(listed(" 10003 "), "CJ25031410003|0|普通供货商|主仓库|默认员工");
    EXPECT_EQ(listed("主仓"), listed());
    EXPECT_EQ(listed("%"), "");  // taken literally
    EXPECT_EQ(listed(QString(), true).split("; ").first().left(13), "CJ25031410003");
    EXPECT_EQ(listed(QString(), false, "全部供货商"), listed());
    EXPECT_EQ(listed(QString(), false, "ZZZ").count("CJ"), 0);
    EXPECT_EQ(listed(QString(), false, "普通").count("CJ"), 3);

    // A receipt whose handler record is gone still shows, with an empty name.
    RunSql(db(), "delete from jxc_user where u_sn = '100001'");
    EXPECT_EQ(listed("到货"), "CJ25031410002|0|普通供货商|主仓库|");

    const ListStatement lines = PendingPurchases(db(), state, PurchaseListDocOf(PurchaseKind::Receipt)).lines("CJ25031410001");
    EXPECT_EQ(rows(lines.body + " order by " + lines.order, lines.binds).count("20000001"), 1);
}

TEST_F(PendingReceiptsTest, AuditCommandsAskAndAuditInListOrder)
{
    ReceiptAudit audit(db(), state, clock, notices);
    notices.script({Notices::Answer::No});
    EXPECT_FALSE(audit.auditSelected("CJ25031410002"));
    EXPECT_EQ(notices.last(), "您的操作将审核当前选中的单据，确认吗？");
    EXPECT_EQ(scalar("select j_status from jxc_jhd where gl_djh = 'CJ25031410002'"), "0");

    // 审核全部: one question, the receipts in list order; one refused, the others go on.
    RunSql(db(), "update jxc_jhd set u_sn = '100009' where gl_djh = 'CJ25031410002'");
    notices.shown.clear();
    notices.script({Notices::Answer::Yes});
    const QList<QPair<QString, QString>> list{{"CJ25031410003", "2025-03-14 09:20"},
                                               {"CJ25031410002", "2025-03-14 09:10"},
                                               {"CJ25031410001", "2025-03-14 09:00"}};
    EXPECT_EQ(audit.auditAll(list), 2);
    EXPECT_EQ(notices.texts(), (QStringList{"您的操作将审核当前列表中所有未审核的单据，确认吗？\r\n\r\n（如需审核某个单据，请按右键！）",
                                            "单据CJ25031410002的经手人、供货商或仓库资料不存在，不能审核！"}));
    EXPECT_EQ(rows("select distinct gl_djh from jxc_goodslist where gl_flag = 'cj' order by gl_djh desc"),
              "CJ25031410003; CJ25031410001");
    EXPECT_LT(number("select min(id) from jxc_goodslist where gl_djh = 'CJ25031410003'"),
              number("select min(id) from jxc_goodslist where gl_djh = 'CJ25031410001'"));
    // An empty list asks nothing.
    notices.shown.clear();
    EXPECT_EQ(audit.auditAll({}), 0);
    EXPECT_TRUE(notices.shown.isEmpty());
    // A number without lines audits nothing.
    EXPECT_TRUE(audit.checkDj("CJ25031410099").isEmpty());
}

TEST_F(PendingReceiptsTest, BoundOperatorsSeeTheirWarehousesOnly)
{
    insert("jxc_ckxx", {{"ck_sn", "100002"}, {"ck_name", "二号仓"}, {"ck_asn", "100009,"}});
    RunSql(db(), "update jxc_jhd set ck_sn = '100002' where gl_djh = 'CJ25031410002'");
    state.BindOperatorWarehouse = "1";
    state.CurrentOperatorSn = "100009";
    state.CurrentRoleSn = "100002";
    EXPECT_EQ(listed(), "CJ25031410002|0|普通供货商|二号仓|默认员工");
    state.BindOperatorWarehouse = "0";
    EXPECT_EQ(listed().count("CJ"), 3);
}

} // namespace
