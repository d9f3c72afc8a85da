// Cancel-audit of inventory and production documents. Their audits belong to other screens, so
// the tests write what those audits write: the ledger rows with their codes and signs, the stock
// and goods totals, the cost walk, the expense rows.

#include "unaudit_fixture.h"

#include "engine/costwalk.h"
#include "foundation/db/transaction.h"

namespace {

class UnauditInventoryTest : public UnauditTest
{
protected:
    void SetUp() override
    {
        UnauditTest::SetUp();
        insert(QStringLiteral("jxc_ckxx"), {{"ck_sn", "100002"}, {"ck_name", "分仓"}});
        addReceipt(QStringLiteral("CJ24030610001"), QStringLiteral("2024-03-06 10:00"), {{"G1", 10, 7}}, 70, 0);
        postReceipt(QStringLiteral("CJ24030610001"));
    }

    // A header of `table` audited by admin.
    void header(const QString &table, const QString &prefix, const QString &number, const QVariantMap &extra = {})
    {
        QVariantMap v{{"gl_djh", number}, {prefix + "status", 1}, {prefix + "checker", "admin"},
                      {prefix + "chkrq", "2024-03-08"}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            v.insert(it.key(), it.value());
        insert(table, v);
    }

    // What an audit writes for one movement: the ledger row, stock (kc_sl and kc_zsl by `stock`),
    // g_kc (by `total`) and the walk.
    qint64 move(const QString &flag, const QString &number, const QString &date, const QString &goodsSn,
                const QString &wh, double qty, double price, double stockChange, bool total = true,
                const QVariantMap &extra = {})
    {
        QVariantMap v{{"gl_flag", flag}, {"gl_djh", number}, {"gl_kdrq", date}, {"g_sn", goodsSn}, {"ck_sn", wh},
                      {"gl_sl", qty}, {"gl_dj", price}, {"gl_je", qty * price}, {"gl_zje", qty * price}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            v.insert(it.key(), it.value());
        const qint64 id = insert(QStringLiteral("jxc_goodslist"), v);
        if (count(QStringLiteral("select count(*) from jxc_kcsp where g_sn = ? and ck_sn = ?"), {goodsSn, wh}) == 0)
            insert(QStringLiteral("jxc_kcsp"), {{"g_sn", goodsSn}, {"ck_sn", wh}, {"kc_sl", 0.0}, {"kc_zsl", 0.0},
                                                {"kc_xssl", 0.0}, {"kc_cbj", price}});
        RunSql(db(), QStringLiteral("update jxc_kcsp set kc_sl = kc_sl + ?, kc_zsl = kc_zsl + ? where g_sn = ? and ck_sn = ?"),
               {stockChange, stockChange, goodsSn, wh});
        if (total)
            RunSql(db(), QStringLiteral("update jxc_goods set g_kc = g_kc + ? where g_sn = ?"), {stockChange, goodsSn});
        RecalcStockCost(db(), state, clock, QString::number(id), QStringLiteral("0"));
        return id;
    }
    void expense(const QString &number, const QString &note)
    {
        insert(QStringLiteral("jxc_yyfy"), {{"gl_djh", number}, {"fy_rq", "2024-03-07"}, {"fy_je", 14.0}, {"fy_note", note}});
    }
    void transfer(double qty)
    {
        header(QStringLiteral("jxc_kcdbd"), QStringLiteral("db_"), QStringLiteral("DB24030710001"),
               {{"ck_out", "100001"}, {"ck_in", "100002"}, {"db_dbrq", "2024-03-07 10:00"}});
        insert(QStringLiteral("jxc_dbsp"), {{"gl_djh", "DB24030710001"}, {"g_sn", "G1"}, {"db_sl", qty}, {"db_zsl", qty}});
        move("db", "DB24030710001", "2024-03-07 10:00", "G1", "100001", -qty, 7, -qty, false);
        move("db", "DB24030710001", "2024-03-07 10:00", "G1", "100002", qty, 7, qty, false);
    }
    void stocktaking()
    {
        header(QStringLiteral("jxc_kcpd"), QStringLiteral("pd_"), QStringLiteral("PD24030710001"),
               {{"ck_sn", "100001"}, {"pd_rq", "2024-03-07 09:00"}});
        insert(QStringLiteral("jxc_kcpdsp"), {{"gl_djh", "PD24030710001"}, {"g_sn", "G1"}, {"kc_sl", 10.0},
                                              {"kc_zsl", 10.0}, {"pd_sl", 8.0}, {"pd_dj", 7.0}, {"id2", 1},
                                              {"gl_djh2", "CJ24030610001"}, {"pd_rkrq", "2024-03-06"}, {"idck", 77}});
        move("pd", "PD24030710001", "2024-03-07 09:00", "G1", "100001", -2, 7, -2, true, {{"id2", 1}});
        expense(QStringLiteral("PD24030710001"), QString());
    }
};

TEST_F(UnauditInventoryTest, TransferCancel)
{
    transfer(5);
    ASSERT_NEAR(stock("G1", "kc_zcb", "100002"), 35, kEps);
    EXPECT_EQ(cancel(QStringLiteral("DB24030710001")), UnauditOutcome::Done);
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
    EXPECT_NEAR(stock("G1", "kc_cbj"), 7, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 70, kEps);
    EXPECT_NEAR(stock("G1", "kc_sl", "100002"), 0, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb", "100002"), 0, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 10, kEps);
    EXPECT_EQ(lastLog(), QStringLiteral("取消审核库存调拨单DB24030710001"));
    EXPECT_EQ(scalar(QStringLiteral("select db_status from jxc_kcdbd where gl_djh = 'DB24030710001'")), QStringLiteral("0"));
}

// The shortage of the receiving warehouse refuses before anything is written (log line and
// pending copy included); allowed and confirmed it goes negative.
TEST_F(UnauditInventoryTest, TransferShortage)
{
    transfer(5);
    RunSql(db(), QStringLiteral("update jxc_kcsp set kc_sl = 2, kc_zsl = 2 where g_sn = 'G1' and ck_sn = '100002'"));
    insert(QStringLiteral("jxc_kcdbd"), {{"gl_djh", "DB24030710001"}, {"db_status", 0}, {"a_name", "li"}});
    const auto before = everything();
    EXPECT_EQ(cancel(QStringLiteral("DB24030710001")), UnauditOutcome::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“G1”：不能出库！"));
    EXPECT_TRUE(before == everything());
    state.AllowNegativeStock = QStringLiteral("1");
    EXPECT_EQ(cancel(QStringLiteral("DB24030710001")), UnauditOutcome::Done);
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
    EXPECT_NEAR(stock("G1", "kc_sl", "100002"), -3, kEps);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_kcdbd where db_status = 0")), 1);  // reset, copy gone
}

TEST_F(UnauditInventoryTest, LossCancelKeepsEntriesOfOtherNumbers)
{
    header(QStringLiteral("jxc_bsd"), QStringLiteral("bs_"), QStringLiteral("BS24030710001"),
           {{"ck_sn", "100001"}, {"bs_bsrq", "2024-03-07 10:00"}});
    move("bs", "BS24030710001", "2024-03-07 10:00", "G1", "100001", -2, 7, -2);
    expense(QStringLiteral("BS24030710001"), QString());
    expense(QStringLiteral("FY24030710001"), QStringLiteral("报损单BS24030710001的说明"));
    EXPECT_EQ(cancel(QStringLiteral("BS24030710001")), UnauditOutcome::Done);
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 10, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 10, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 70, kEps);
    EXPECT_EQ(scalar(QStringLiteral("select bs_status from jxc_bsd where gl_djh = 'BS24030710001'")), QStringLiteral("0"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_yyfy where gl_djh = 'BS24030710001'")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_yyfy where gl_djh = 'FY24030710001'")), 1);
}

TEST_F(UnauditInventoryTest, StocktakingCancel)
{
    stocktaking();
    insert(QStringLiteral("jxc_kcjs"), {{"js_rq", "2024-03"}, {"ck_sn", "100001"}, {"js_sl", 1.0}, {"js_zje", 1.0}});
    EXPECT_EQ(UnauditStocktaking(db(), state, clock, notices, QStringLiteral("PD24030710001")), UnauditOutcome::Done);
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("您的操作将取消当前的单据，确认吗？")});
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 10, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 10, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 70, kEps);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_yyfy where gl_djh = 'PD24030710001'")), 0);
    EXPECT_EQ(lastLog(), QStringLiteral("取消审核库存盘点单：PD24030710001"));
    const QVariantMap js = row(QStringLiteral("select js_sl, js_zje from jxc_kcjs where js_rq = '2024-03'"));
    EXPECT_NEAR(n(js, "js_sl"), 3, kEps);
    EXPECT_NEAR(n(js, "js_zje"), 15, kEps);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_kcjs")), 1);
}

// Later business refuses the stocktaking cancel: a later-dated document, and one dated before
// the count but entered after it.
TEST_F(UnauditInventoryTest, StocktakingLaterBusiness)
{
    for (const char *date : {"2024-03-07 10:00", "2024-03-06 15:00"}) {
        SCOPED_TRACE(date);
        Transaction scenario(db());
        stocktaking();
        const QString number = QStringLiteral("XS2403%1%2").arg(QLatin1String(date).mid(8, 2)).arg(QStringLiteral("10001"));
        move("xs", number, QLatin1String(date), "G1", "100001", 1, 7, -1);
        const auto before = everything();
        notices = ScriptedNotices();
        EXPECT_EQ(cancel(QStringLiteral("PD24030710001")), UnauditOutcome::Refused);
        EXPECT_EQ(notices.last(), QStringLiteral("在【2024-03-07 09:00】日期之后盘点商品已发生业务，\r\n\r\n单号为：【") + number
                                      + QStringLiteral("】，\r\n\r\n该盘点单 PD24030710001 不能撤销！"));
        EXPECT_TRUE(before == everything());
    }
}

// The first-in-first-out branch: stock moves by the row, the batches of the count come back.
TEST_F(UnauditInventoryTest, StocktakingFromLedgerFirstInFirstOut)
{
    state.CostMethod = QStringLiteral("1");
    stocktaking();
    insert(QStringLiteral("jxc_rklist"), {{"gl_djh", "PD24030710001"}, {"g_sn", "G1"}, {"gl_sl", 8.0}});
    EXPECT_EQ(cancel(QStringLiteral("PD24030710001"), {.bulk = true}), UnauditOutcome::Done);
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_rklist where gl_djh = 'PD24030710001'")), 0);
    const QVariantMap r = row(QStringLiteral("select gl_flag, gl_djh, gl_kdrq, gl_dj, gl_sl, gl_zje, ck_sn, gl_sysl, gl_dqkc, id2 "
                                             "from jxc_rklist"));
    EXPECT_EQ(t(r, "gl_flag"), QStringLiteral("pd"));
    EXPECT_EQ(t(r, "gl_djh"), QStringLiteral("CJ24030610001"));
    EXPECT_EQ(t(r, "gl_kdrq"), QStringLiteral("2024-03-06"));
    EXPECT_NEAR(n(r, "gl_sl"), 10, kEps);
    EXPECT_NEAR(n(r, "gl_zje"), 70, kEps);
    EXPECT_EQ(t(r, "id2"), QStringLiteral("77"));
}

TEST_F(UnauditInventoryTest, BorrowReturnAndDepartmentReturn)
{
    header(QStringLiteral("jxc_khjh"), QStringLiteral("jh_"), QStringLiteral("HH24030710001"), {{"ck_sn", "100001"}});
    const qint64 line = insert(QStringLiteral("jxc_khjhsp"), {{"gl_djh", "JH24030110001"}, {"g_sn", "G1"},
                                                              {"jh_hhsl", 3.0}, {"jh_xssl", 1.0}});
    insert(QStringLiteral("jxc_khjhsp"), {{"gl_djh", "HH24030710001"}, {"g_sn", "G1"}});
    move("hh", "HH24030710001", "2024-03-07 10:00", "G1", "100001", 3, 7, 3, true, {{"id2", line}, {"gl_fdmc", "hh"}});
    move("hh", "HH24030710001", "2024-03-07 10:00", "G1", "100001", 2, 7, 2, true, {{"id2", line}, {"gl_fdmc", "xs"}});
    EXPECT_EQ(cancel(QStringLiteral("HH24030710001"), {.bulk = true}), UnauditOutcome::Done);
    const QVariantMap l = row(QStringLiteral("select jh_hhsl, jh_xssl from jxc_khjhsp where id = ?"), {line});
    EXPECT_NEAR(n(l, "jh_hhsl"), 0, kEps);
    EXPECT_NEAR(n(l, "jh_xssl"), 0, kEps);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_khjh where gl_djh = 'HH24030710001'")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_khjhsp where gl_djh = 'HH24030710001'")), 0);
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);

    for (const char *number : {"LT24030710001", "LF24030710001"}) {
        SCOPED_TRACE(number);
        Transaction scenario(db());
        header(QStringLiteral("jxc_bmlyd"), QStringLiteral("ly_"), QLatin1String(number), {{"ck_sn", "100001"}});
        const qint64 issue = insert(QStringLiteral("jxc_bmlysp"), {{"gl_djh", "LY24030110001"}, {"g_sn", "G1"}, {"ly_hhsl", 5.0}});
        insert(QStringLiteral("jxc_bmlysp"), {{"gl_djh", number}, {"g_sn", "G1"}, {"ly_sl", 2.0}, {"ly_zsl", 2.0}});
        move("lt", QLatin1String(number), "2024-03-07 10:00", "G1", "100001", -2, 7, 2, true, {{"id2", issue}});
        EXPECT_EQ(cancel(QLatin1String(number), {.bulk = true}), UnauditOutcome::Done);
        EXPECT_NEAR(num(QStringLiteral("select ly_hhsl from jxc_bmlysp where id = ?"), {issue}),
                    QLatin1String(number).startsWith(QLatin1String("LF")) ? 5 : 3, kEps);
        EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
        EXPECT_NEAR(goods("G1", "g_kc"), 10, kEps);
    }
}

// A production receipt that was the goods' only stock leaves the goods the row's price.
TEST_F(UnauditInventoryTest, ProductionReceiptAverage)
{
    header(QStringLiteral("jxc_scrkd"), QStringLiteral("sc_"), QStringLiteral("SC24030710001"),
           {{"ck_sn", "100001"}, {"sc_rq", "2024-03-07"}});
    insert(QStringLiteral("jxc_scrksp"), {{"gl_djh", "SC24030710001"}, {"g_sn", "G2"}, {"sc_sl", 4.0}});
    move("sc", "SC24030710001", "2024-03-07 10:00", "G2", "100001", 4, 6.5, 4);
    RunSql(db(), QStringLiteral("update jxc_goods set g_pjjj = 6.5 where g_sn = 'G2'"));
    EXPECT_EQ(cancel(QStringLiteral("SC24030710001"), {.bulk = true}), UnauditOutcome::Done);
    EXPECT_NEAR(goods("G2", "g_pjjj"), 6.5, kEps);
    EXPECT_NEAR(goods("G2", "g_kc"), 0, kEps);
    EXPECT_NEAR(stock("G2", "kc_sl"), 0, kEps);
    EXPECT_EQ(lastLog(), QStringLiteral("取消审核生产入库单SC24030710001"));
}

// Splits and bundles exist only in data: their audit wrote "cf"/"kb" ledger rows (the goods given
// up signed negative, the goods made positive), the stock, the goods' totals and averages. The
// cancel puts back each stock row's quantity and cost and each goods' total and average cost.
TEST_F(UnauditInventoryTest, SplitAndBundleCancelsRestoreStockAndAverageCost)
{
    addReceipt(QStringLiteral("CJ24030610002"), QStringLiteral("2024-03-06 11:00"), {{"G2", 4, 2}}, 8, 0);
    postReceipt(QStringLiteral("CJ24030610002"));
    const auto figures = [this] {
        QStringList out;
        for (const char *g : {"G1", "G2"}) {
            for (const char *c : {"kc_sl", "kc_zsl", "kc_cbj", "kc_zcb"})
                out << QString::number(stock(QLatin1String(g), c), 'f', 4);
            for (const char *c : {"g_kc", "g_pjjj"})
                out << QString::number(goods(QLatin1String(g), c), 'f', 4);
        }
        return out;
    };
    const QStringList before = figures();
    ASSERT_EQ(before, (QStringList{"10.0000", "10.0000", "7.0000", "70.0000", "10.0000", "7.0000",
                                   "4.0000", "4.0000", "2.0000", "8.0000", "4.0000", "2.0000"}));
    struct Case
    {
        const char *table, *prefix, *number, *flag, *log;
        double givenQty, givenPrice, madeQty, madePrice;
    };
    const Case cases[] = {
        {"jxc_cfd", "cf_", "CF24030710001", "cf", "取消审核商品拆分单CF24030710001", -1, 7, 5, 1.4},
        {"jxc_kbd", "kb_", "KB24030710001", "kb", "取消审核商品捆绑单KB24030710001", -2, 7, 1, 14},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        Transaction scenario(db());
        const QString number = QLatin1String(c.number);
        header(QLatin1String(c.table), QLatin1String(c.prefix), number, {{"ck_sn", "100001"}});
        move(QLatin1String(c.flag), number, "2024-03-07 10:00", "G1", "100001", c.givenQty, c.givenPrice, c.givenQty);
        move(QLatin1String(c.flag), number, "2024-03-07 10:00", "G2", "100001", c.madeQty, c.madePrice, c.madeQty);
        RunSql(db(), QStringLiteral("update jxc_goods set g_pjjj = ? where g_sn = 'G2'"), {stock("G2", "kc_cbj")});
        ASSERT_NE(figures(), before);

        EXPECT_EQ(cancel(number, {.bulk = true}), UnauditOutcome::Done);
        EXPECT_EQ(figures(), before);
        EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_goodslist where gl_djh = ?"), {number}), 0);
        EXPECT_EQ(scalar(QStringLiteral("select %1status from %2 where gl_djh = ?")
                             .arg(QLatin1String(c.prefix), QLatin1String(c.table)),
                         {number}),
                  QStringLiteral("0"));
        EXPECT_EQ(lastLog(), QString::fromUtf8(c.log));
    }
}

// Rights: every type's refusal; splits and bundles need a position the role editor never writes.
TEST_F(UnauditInventoryTest, RightsRefuse)
{
    addRole(QStringLiteral("100003"), {{"kcgl", rights({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})}});
    addOperator(QStringLiteral("zhao"), QStringLiteral("100003"));
    addRole(QStringLiteral("100004"), {});
    addOperator(QStringLiteral("qian"), QStringLiteral("100004"));
    struct Case
    {
        const char *table;
        const char *prefix;
        const char *number;
        const char *op;
        const char *shown;
    };
    const Case cases[] = {
        {"jxc_cfd", "cf_", "CF24030710001", "zhao", "您没有取消审核商品拆分单的权限！"},
        {"jxc_kbd", "kb_", "KB24030710001", "zhao", "您没有取消审核商品捆绑单的权限！"},
        {"jxc_kcdbd", "db_", "DB24030710001", "qian", "您没有取消审核库存调拨单的权限！"},
        {"jxc_kcpd", "pd_", "PD24030710001", "qian", "您没有取消审核库存盘点单的权限！"},
        {"jxc_scrkd", "sc_", "SC24030710001", "qian", "您没有取消审核生产入库单的权限！"},
        {"jxc_bmlyd", "ly_", "LT24030710001", "qian", "您没有取消审核部门退回单的权限！"},
        {"jxc_khjh", "jh_", "JH24030710001", "qian", "您没有取消审核客户借货单的权限！"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        header(QLatin1String(c.table), QLatin1String(c.prefix), QLatin1String(c.number));
        loginAs(QLatin1String(c.op), c.op == QLatin1String("zhao") ? QStringLiteral("100003") : QStringLiteral("100004"));
        const auto before = everything();
        EXPECT_EQ(cancel(QLatin1String(c.number)), UnauditOutcome::Refused);
        EXPECT_EQ(notices.last(), QString::fromUtf8(c.shown));
        EXPECT_TRUE(before == everything());
    }
    // The administrator role holds them: a document without ledger rows is still reset and logged.
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"));
    EXPECT_EQ(cancel(QStringLiteral("CF24030710001"), {.bulk = true}), UnauditOutcome::Done);
    EXPECT_EQ(scalar(QStringLiteral("select cf_status from jxc_cfd where gl_djh = 'CF24030710001'")), QStringLiteral("0"));
    EXPECT_EQ(lastLog(), QStringLiteral("取消审核商品拆分单CF24030710001"));
}

TEST_F(UnauditInventoryTest, FailureAtAnyStatementOfATransferCancel)
{
    transfer(5);
    const auto before = everything();
    for (int n = 1;; ++n) {
        notices = ScriptedNotices();
        InjectStatementFailure(db(), n);
        const UnauditOutcome o = cancel(QStringLiteral("DB24030710001"), {.bulk = true});
        InjectStatementFailure(db(), 0);
        if (o == UnauditOutcome::Done)
            break;
        ASSERT_EQ(o, UnauditOutcome::Failed) << n;
        ASSERT_TRUE(before == everything()) << n;
        ASSERT_LT(n, 500);
    }
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
}

TEST_F(UnauditInventoryTest, ByNumberReachesEachRoutine)
{
    const struct
    {
        const char *number;
        UnauditKind kind;
    } cases[] = {
        {"CJ1", UnauditKind::PurchaseIn}, {"CT1", UnauditKind::PurchaseReturn}, {"XS1", UnauditKind::Sale},
        {"XT1", UnauditKind::SalesReturn}, {"XH1", UnauditKind::Exchange}, {"DB1", UnauditKind::Transfer},
        {"PD1", UnauditKind::StocktakingFromLedger}, {"CF1", UnauditKind::Split}, {"KB1", UnauditKind::Bundle},
        {"BS1", UnauditKind::Loss}, {"BY1", UnauditKind::Overflow}, {"JH1", UnauditKind::CustomerBorrow},
        {"HH1", UnauditKind::CustomerReturnBorrow}, {"SC1", UnauditKind::ProductionIn},
        {"ST1", UnauditKind::ProductionReturn}, {"LY1", UnauditKind::DeptIssue}, {"LT1", UnauditKind::DeptReturn},
        {"LF1", UnauditKind::DeptReturn}, {"ZZ1", UnauditKind::Unknown},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UnauditKindOfNumber(QLatin1String(c.number)), c.kind) << c.number;
}

} // namespace
