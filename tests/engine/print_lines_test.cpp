// Line queries of stored documents for printing: columns, filters, order, page filling with
// blank rows, and the log row of every print.

#include "print_fixture.h"

#include "engine/printlines.h"
#include "report/model/dataset.h"

namespace {

class PrintLinesTest : public PrintTest
{
protected:
    DataSet lines(const QString &number, const QString &code, int *rowsPerPage = nullptr)
    {
        const PrintLinesQuery q = GetPrintLinesSql(db(), state, clock, number, code);
        if (rowsPerPage)
            *rowsPerPage = q.rowsPerPage;
        return q.isEmpty() ? DataSet() : DataSet::read(db(), q.sql, q.binds);
    }
    void addSaleOfLines(const QString &number, int n)
    {
        std::vector<Line> ls;
        for (int i = 0; i < n; ++i)
            ls.push_back({QStringLiteral("1001"), double(i + 1), 2.5});
        addSale(number, ls, 0, 0);
    }
    int emptyRows(const DataSet &d)
    {
        int n = 0;
        for (int r = 0; r < d.rowCount(); ++r)
            n += d.rowIsEmpty(r) ? 1 : 0;
        return n;
    }
    int scratchRows(const QString &op = QStringLiteral("admin"))
    {
        return count(QStringLiteral("select count(*) from jxc_tempspxf where a_name = ?"), {op});
    }
};

TEST_F(PrintLinesTest, SalePageFillingToWholePages)
{
    state.SalesRowsPerPage = QStringLiteral("10");
    addSaleOfLines(QStringLiteral("XS23030500023"), 23);
    addSaleOfLines(QStringLiteral("XS23030500020"), 20);
    addSale(QStringLiteral("XS23030500000"), {}, 0, 0);

    int perPage = 0;
    DataSet d = lines(QStringLiteral("XS23030500023"), QStringLiteral("XS"), &perPage);
    EXPECT_EQ(perPage, 10);
    ASSERT_EQ(d.rowCount(), 30);
    for (int r = 0; r < 23; ++r)
        EXPECT_EQ(d.value(r, QStringLiteral("ls_sl")), QString::number(r + 1)) << r;
    for (int r = 23; r < 30; ++r)
        EXPECT_TRUE(d.rowIsEmpty(r)) << r;

    d = lines(QStringLiteral("XS23030500020"), QStringLiteral("XS"));
    EXPECT_EQ(d.rowCount(), 20);
    EXPECT_EQ(emptyRows(d), 0);
    EXPECT_EQ(scratchRows(), 20);  // the previous print's rows are gone

    d = lines(QStringLiteral("XS23030500000"), QStringLiteral("XS"));
    EXPECT_EQ(d.rowCount(), 0);
    EXPECT_EQ(scratchRows(), 0);

    state.SalesRowsPerPage = QStringLiteral("0");
    d = lines(QStringLiteral("XS23030500023"), QStringLiteral("XS"), &perPage);
    EXPECT_EQ(d.rowCount(), 23);
    EXPECT_EQ(perPage, 0);
}

TEST_F(PrintLinesTest, FilteredLinesPrintEmptyWithFillingAndVanishWithout)
{
    addReceipt(QStringLiteral("CJ23030500001"), {{"1001", 24, 2.35}, {"", 1, 1}, {"1002", 10, 4.36}}, 100, 30);
    addSale(QStringLiteral("XS23030500001"),
            {{"1001", 2, 2.5}, {"1002", 1, 4.5, {{"ls_dzl", 0.0}}}, {"1002", 3, 4.5}}, 0, 0);

    EXPECT_EQ(lines(QStringLiteral("CJ23030500001"), QStringLiteral("CJ")).rowCount(), 2);
    EXPECT_EQ(lines(QStringLiteral("XS23030500001"), QStringLiteral("XS")).rowCount(), 2);

    state.PurchaseRowsPerPage = QStringLiteral("3");
    state.SalesRowsPerPage = QStringLiteral("3");
    DataSet d = lines(QStringLiteral("CJ23030500001"), QStringLiteral("CJ"));
    ASSERT_EQ(d.rowCount(), 3);
    EXPECT_EQ(d.value(0, QStringLiteral("g_name")), QStringLiteral("矿泉水"));
    EXPECT_TRUE(d.rowIsEmpty(1));
    EXPECT_EQ(d.value(2, QStringLiteral("g_name")), QStringLiteral("方便面"));
    EXPECT_EQ(d.value(2, QStringLiteral("gzhxs")), QStringLiteral("1"));
    d = lines(QStringLiteral("XS23030500001"), QStringLiteral("XS"));
    ASSERT_EQ(d.rowCount(), 3);
    EXPECT_TRUE(d.rowIsEmpty(1));
    EXPECT_EQ(d.value(2, QStringLiteral("ls_sl")), QStringLiteral("3"));
}

TEST_F(PrintLinesTest, OrderSettingPlacesBlankRows)
{
    addSale(QStringLiteral("XS23030500001"), {{"1002", 1, 4.5}, {"1001", 2, 2.5}, {"1002", 3, 4.5}}, 0, 0);
    state.SalesRowsPerPage = QStringLiteral("5");
    struct Case
    {
        const char *order;
        std::vector<const char *> expected;  // ls_sl per row, "" for a blank row
    } cases[] = {{"0", {"1", "2", "3", "", ""}},
                 {"1", {"", "", "2", "1", "3"}},
                 {"2", {"", "", "1", "3", "2"}},  // 方便面 sorts before 矿泉水
                 {"9", {"1", "2", "3", "", ""}}};
    for (const Case &c : cases) {
        state.PrintLineOrder = QString::fromLatin1(c.order);
        const DataSet d = lines(QStringLiteral("XS23030500001"), QStringLiteral("XS"));
        ASSERT_EQ(d.rowCount(), 5) << c.order;
        QStringList got, want;
        for (int r = 0; r < 5; ++r) {
            got << d.value(r, QStringLiteral("ls_sl"));
            want << QString::fromLatin1(c.expected[r]);
        }
        EXPECT_EQ(got, want) << c.order;
    }
    // Without filling: goods-code order, entry order within a code.
    state.SalesRowsPerPage = QStringLiteral("0");
    state.PrintLineOrder = QStringLiteral("1");
    const DataSet d = lines(QStringLiteral("XS23030500001"), QStringLiteral("XS"));
    ASSERT_EQ(d.rowCount(), 3);
    EXPECT_EQ(d.value(0, QStringLiteral("ls_sl")), QStringLiteral("2"));
    EXPECT_EQ(d.value(1, QStringLiteral("ls_sl")), QStringLiteral("1"));
    EXPECT_EQ(d.value(2, QStringLiteral("ls_sl")), QStringLiteral("3"));
}

TEST_F(PrintLinesTest, ComputedColumns)
{
    addSale(QStringLiteral("XS23030500001"),
            {{"1001", 2, 10, {{"ls_taxdj", 10.0}, {"ls_dzl", 0.9}, {"g_tmbz", "(箱)"}, {"t_zp", "赠品"}}},
             {"1001", 1, 10, {{"g_tmbz", QVariant()}, {"t_zp", "赠品"}}},
             {"1001", 1, 10, {{"g_tmbz", QVariant()}, {"t_zp", QVariant()}}}},
            0, 0);
    DataSet d = lines(QStringLiteral("XS23030500001"), QStringLiteral("XS"));
    ASSERT_EQ(d.rowCount(), 3);
    EXPECT_EQ(d.value(0, QStringLiteral("g_name")), QStringLiteral("矿泉水(箱)赠品"));
    EXPECT_EQ(d.value(0, QStringLiteral("sj")), QStringLiteral("9"));
    EXPECT_EQ(d.value(1, QStringLiteral("g_name")), QStringLiteral("矿泉水赠品"));
    EXPECT_EQ(d.value(2, QStringLiteral("g_name")), QStringLiteral("矿泉水"));
    EXPECT_EQ(d.value(0, QStringLiteral("gc_name")), QStringLiteral("默认类别"));

    insert(QStringLiteral("jxc_kcpdsp"), {{"gl_djh", "PD23030500001"}, {"g_sn", "1001"}, {"pd_sl", 5.0}, {"kc_sl", 5.0}});
    insert(QStringLiteral("jxc_kcpdsp"), {{"gl_djh", "PD23030500001"}, {"g_sn", "1002"}, {"pd_sl", 8.0}, {"kc_sl", 10.0}});
    d = lines(QStringLiteral("PD23030500001"), QStringLiteral("PD"));
    ASSERT_EQ(d.rowCount(), 2);
    EXPECT_EQ(d.value(0, QStringLiteral("g_name")), QStringLiteral("方便面"));
    EXPECT_EQ(d.value(0, QStringLiteral("cysl")), QStringLiteral("-2"));
    EXPECT_EQ(d.value(1, QStringLiteral("cysl")), QStringLiteral("0"));

    insert(QStringLiteral("jxc_bssp"), {{"gl_djh", "BS23030500001"}, {"g_sn", "1001"}, {"bs_sl", 2.0}, {"bs_dj", 1.5},
                                        {"bs_zje", 3.0}, {"bs_note", "破损"}});
    d = lines(QStringLiteral("BS23030500001"), QStringLiteral("BS"));
    ASSERT_EQ(d.rowCount(), 1);
    EXPECT_EQ(d.columns().mid(0, 4),
              (QStringList{QStringLiteral("sl"), QStringLiteral("dj"), QStringLiteral("zje"), QStringLiteral("dnote")}));
    EXPECT_EQ(d.value(0, QStringLiteral("dnote")), QStringLiteral("破损"));
}

TEST_F(PrintLinesTest, LogRowPerCallAndCodesWithoutQuery)
{
    const std::pair<const char *, const char *> notes[] = {
        {"CJ", "打印采购进货单"}, {"CT", "打印采购退货单"}, {"XS", "打印商品销售单"}, {"XT", "打印销售退货单"},
        {"XH", "打印商品换货单"}, {"CD", "打印采购订单"},   {"XD", "打印销售订单"},   {"DB", "打印库存调拨单"},
        {"PD", "打印库存盘点单"}, {"CF", "打印商品拆分单"}, {"KB", "打印商品捆绑单"}, {"BS", "打印商品报损单"},
        {"BY", "打印商品报溢单"}, {"khjh", "打印客户借货单"}, {"JG", "打印产品加工单"}, {"SC", "打印生产入库单"},
        {"ST", "打印生产退回单"}, {"LY", "打印部门领用单"}, {"LT", "打印部门退回单"}, {"WF", "打印外发加工单"},
        {"WS", "打印外发收货单"}, {"WT", "打印外发调整单"}, {"cj", ""}, {"QQ", ""},
    };
    const QStringList withoutQuery = {QStringLiteral("JG"), QStringLiteral("WF"), QStringLiteral("WS"),
                                      QStringLiteral("WT"), QStringLiteral("cj"), QStringLiteral("QQ")};
    for (const auto &n : notes) {
        const int before = count(QStringLiteral("select count(*) from jxc_log"));
        const QString code = QString::fromLatin1(n.first);
        const PrintLinesQuery q = GetPrintLinesSql(db(), state, clock, QStringLiteral("X'1"), code);
        EXPECT_EQ(q.isEmpty(), withoutQuery.contains(code)) << n.first;
        if (!q.isEmpty())
            EXPECT_EQ(DataSet::read(db(), q.sql, q.binds).rowCount(), 0) << n.first;
        EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_log")), before + 1) << n.first;
        EXPECT_EQ(scalar(QStringLiteral("select log_note from jxc_log order by id desc limit 1")),
                  QString::fromUtf8(n.second))
            << n.first;
        EXPECT_EQ(scalar(QStringLiteral("select a_name from jxc_log order by id desc limit 1")), QStringLiteral("admin"));
    }
}

TEST_F(PrintLinesTest, FillingRewritesOnlyTheOperatorsScratchRows)
{
    addSaleOfLines(QStringLiteral("XS23030500001"), 3);
    insert(QStringLiteral("jxc_tempspxf"), {{"a_name", "other"}, {"rid", 5}});
    insert(QStringLiteral("jxc_tempspxf2"), {{"a_name", "other"}, {"g_sn", "1001"}});
    insert(QStringLiteral("jxc_tempspxf2"), {{"a_name", "admin"}, {"g_sn", "1001"}});
    insert(QStringLiteral("jxc_tempspxf"), {{"a_name", "admin"}, {"rid", 7}});
    state.SalesRowsPerPage = QStringLiteral("4");
    const DataSet d = lines(QStringLiteral("XS23030500001"), QStringLiteral("XS"));
    EXPECT_EQ(d.rowCount(), 4);
    EXPECT_EQ(scratchRows(), 4);
    EXPECT_EQ(scratchRows(QStringLiteral("other")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_tempspxf2 where a_name = 'admin'")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_tempspxf2 where a_name = 'other'")), 1);

    // Text the parameters form never stores leaves filling off.
    state.SalesRowsPerPage = QStringLiteral("-3");
    EXPECT_EQ(lines(QStringLiteral("XS23030500001"), QStringLiteral("XS")).rowCount(), 3);
}

} // namespace
