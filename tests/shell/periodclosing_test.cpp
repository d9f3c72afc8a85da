// Period closing "数据结算": the summary, the deletions and the carry-forward of the four running
// ledgers (the carried rows keep the running stock, cost and balances, proved with the engine's
// own walks), all or nothing, never under another workstation, and its screen.

#include "closingfixture.h"
#include "foreignsession.h"
#include "setfixture.h"

#include "engine/balances.h"
#include "engine/costwalk.h"
#include "foundation/db/connection.h"
#include "foundation/db/dialect.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "shell/forms/nzjs.h"
#include "shell/periodclosing.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <atomic>
#include <functional>
#include <thread>


namespace {

using closingfixture::kGoods;

const QString kBound = QStringLiteral("2023-12-31 23:59:00");
const QDate kClosingDate(2023, 12, 31);

// Answers from a script and runs `onAsk` at each question (another workstation arriving while a
// question shows).
class HookedNotices final : public Notices
{
public:
    explicit HookedNotices(ScriptedNotices &inner) : m_inner(inner) {}
    void notice(const QString &text) override { m_inner.notice(text); }
    Answer ask(const QString &text, bool withCancel) override
    {
        if (onAsk)
            onAsk(text);
        return m_inner.ask(text, withCancel);
    }
    void error(const QString &text) override { m_inner.error(text); }
    std::function<void(const QString &)> onAsk;

private:
    ScriptedNotices &m_inner;
};

class PeriodClosingTest : public SetTest
{
protected:
    void SetUp() override
    {
        SetTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(state.PriceDecimals, 2);
        ASSERT_EQ(state.QtyDecimals, 2);
        ASSERT_FALSE(IsTrue(state.RoundTotals));
        closingfixture::SeedClosingData(db());
    }

    ClosingContext closingContext(bool backup = false)
    {
        ClosingContext c;
        c.data = data.get();
        c.state = &state;
        c.clock = &clock;
        c.programFolder = folder.path();
        c.backup = backup;
        return c;
    }
    ClosingResult close(const QDate &date = kClosingDate, bool backup = false)
    {
        return RunPeriodClosing(closingContext(backup), date, notices);
    }

    QString count(const QString &table, const QString &where = QString(), const QVariantList &binds = {}) const
    {
        return scalar(QStringLiteral("select count(*) from %1%2")
                          .arg(table, where.isEmpty() ? QString() : QStringLiteral(" where ") + where),
                      binds);
    }
    // The named columns of one row, "column=value" joined.
    QString row(const QString &table, const QString &where, const QStringList &columns,
                const QVariantList &binds = {}) const
    {
        QSqlQuery q = OpenSelect(db(), QStringLiteral("select %1 from %2 where %3").arg(columns.join(QStringLiteral(", ")), table, where),
                                 binds);
        if (!q.next())
            return QStringLiteral("(no row)");
        QStringList out;
        for (int i = 0; i < columns.size(); ++i)
            out << columns.at(i) + QLatin1Char('=') + ValueText(q.value(i));
        return out.join(QLatin1Char(' '));
    }
    // Every row of `table` in id order, every column.
    QString dump(const QString &table) const
    {
        QSqlQuery q = OpenSelect(db(), QStringLiteral("select * from %1 order by id").arg(table));
        QStringList rows;
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << ValueText(q.value(i));
            rows << cells.join(QLatin1Char('|'));
        }
        return table + QLatin1Char(':') + rows.join(QLatin1Char('\n'));
    }
    // The tables a closing touches, as they stand.
    QString everything() const
    {
        QStringList out;
        for (const char *t : {"jxc_nj", "jxc_jhd", "jxc_jhsp", "jxc_thd", "jxc_thsp", "jxc_lsxsd", "jxc_lsxssp",
                              "jxc_yyfy", "jxc_posxsd", "jxc_posxssp", "jxc_ysyfk_dj", "jxc_log", "jxc_tempspxf",
                              "jxc_goodslist", "jxc_kcsp", "jxc_ysyfk", "jxc_xjyh", "jxc_fpdjb", "jxc_khxx", "jxc_ghsxx"})
            out << dump(QString::fromLatin1(t));
        return out.join(QLatin1Char('\n'));
    }
    QStringList summaryRows() const
    {
        QSqlQuery q = OpenSelect(db(), QStringLiteral("select nj_jsrq, nj_year, nj_xm, nj_ds, nj_sl, nj_je from jxc_nj "
                                                      "order by nj_year desc, id"));
        QStringList out;
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < 6; ++i)
                cells << ValueText(q.value(i));
            out << cells.join(QLatin1Char(' '));
        }
        return out;
    }
    QString backupPath() const { return folder.filePath(QStringLiteral("演示帐套(数据结算)24_03_08_10_20_30.DAT")); }

    QTemporaryDir folder;
};

const QStringList kFirstSummary = {
    QStringLiteral("2024-03-08 2023-12-31 采购进货单 2 20 120"),
    QStringLiteral("2024-03-08 2023-12-31 采购退货单 1 2 16"),
    QStringLiteral("2024-03-08 2023-12-31 商品销售单 2 5 50"),
    QStringLiteral("2024-03-08 2023-12-31 费用及收入--费用 1 0 -10"),
    QStringLiteral("2024-03-08 2023-12-31 费用及收入--收入 1 0 20"),
};

TEST(PeriodClosingDates, DefaultDateBoundAndWarning)
{
    EXPECT_EQ(DefaultClosingDate(QDate(2024, 3, 8)), QDate(2023, 12, 31));
    EXPECT_EQ(DefaultClosingDate(QDate(2024, 1, 1)), QDate(2023, 12, 31));
    EXPECT_EQ(DefaultClosingDate(QDate(2024, 12, 31)), QDate(2023, 12, 31));
    EXPECT_EQ(ClosingBound(QDate(2023, 6, 30)), QStringLiteral("2023-06-30 23:59:00"));
    EXPECT_EQ(ClosingWarningText(QDate(2023, 12, 31)), QStringLiteral("将删除： 2023-12-31 及该日期之前的全部数据！"));
    EXPECT_EQ(ClosingRefusalText(),
              QStringLiteral("当前帐套正在被其他工作站使用，不能进行数据结算！\r\n\r\n请其他工作站退出本系统后再操作。"));
}

TEST_F(PeriodClosingTest, SummaryCountsTheAuditedDocumentsUpToTheDate)
{
    notices.script({Notices::Answer::Yes});
    const ClosingResult r = close();
    EXPECT_EQ(r.outcome, ClosingOutcome::Done) << r.text.toStdString();
    EXPECT_EQ(notices.texts(),
              (QStringList{QStringLiteral("数据结算前将备份数据库。\r\n\r\n结算日期【2023-12-31】及之前的所有数据将被删除。"
                                          "\r\n\r\n您确定要进行数据结算吗！"),
                           QStringLiteral("结算完成！")}));
    EXPECT_EQ(summaryRows(), kFirstSummary);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    // The closing writes no log row.
    EXPECT_EQ(count(QStringLiteral("jxc_log")), QStringLiteral("2"));
}

TEST_F(PeriodClosingTest, DocumentsLogAndRegistrationsUpToTheDateGo)
{
    ASSERT_EQ(close().outcome, ClosingOutcome::Done);
    EXPECT_EQ(scalar(QStringLiteral("select gl_djh from jxc_jhd")), QStringLiteral("CJ24010510001"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) || max(gl_djh) from jxc_jhsp")), QStringLiteral("1CJ24010510001"));
    for (const char *t : {"jxc_thd", "jxc_thsp", "jxc_lsxsd", "jxc_lsxssp", "jxc_posxsd", "jxc_posxssp", "jxc_yyfy"})
        EXPECT_EQ(count(QString::fromLatin1(t)), QStringLiteral("0")) << t;
    EXPECT_EQ(scalar(QStringLiteral("select count(*) || max(k_rq) from jxc_ysyfk_dj")), QStringLiteral("12024-01-02"));
    EXPECT_EQ(scalar(QStringLiteral("select min(log_time) from jxc_log")), QStringLiteral("2023-12-31 23:59:30"));
    EXPECT_EQ(count(QStringLiteral("jxc_log")), QStringLiteral("2"));
    EXPECT_EQ(count(QStringLiteral("jxc_tempspxf"), QStringLiteral("a_name = 'admin'")), QStringLiteral("0"));
}

TEST_F(PeriodClosingTest, GoodsLedgerKeepsOneOpeningRowWithTheRunningValues)
{
    ASSERT_EQ(close().outcome, ClosingOutcome::Done);
    const QString later = row(QStringLiteral("jxc_goodslist"), QStringLiteral("id = 5"),
                              {QStringLiteral("gl_flag"), QStringLiteral("gl_sqsl"), QStringLiteral("gl_kc"),
                               QStringLiteral("gl_pjjj"), QStringLiteral("gl_kczje")});
    EXPECT_EQ(later, QStringLiteral("gl_flag=cj gl_sqsl=15 gl_kc=20 gl_pjjj=6.6875 gl_kczje=133.75"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) || ':' || min(id) || ',' || max(id) from jxc_goodslist "
                                    "where ck_sn = '100001'")),
              QStringLiteral("2:4,5"));
    EXPECT_EQ(row(QStringLiteral("jxc_goodslist"), QStringLiteral("id = 4"),
                  {QStringLiteral("gl_flag"), QStringLiteral("gl_djh"), QStringLiteral("gl_kdrq"), QStringLiteral("gl_sl"),
                   QStringLiteral("gl_dj"), QStringLiteral("gl_zje"), QStringLiteral("gl_je"), QStringLiteral("gl_sqsl"),
                   QStringLiteral("gl_sqje"), QStringLiteral("ghs_name"), QStringLiteral("gl_note"), QStringLiteral("ghs_sn"),
                   QStringLiteral("gl_lr"), QStringLiteral("gl_zcb"), QStringLiteral("gl_taxje"), QStringLiteral("gl_sysl"),
                   QStringLiteral("id2"), QStringLiteral("idck"), QStringLiteral("gl_djh2"), QStringLiteral("gl_kc"),
                   QStringLiteral("gl_pjjj"), QStringLiteral("gl_kczje")}),
              QStringLiteral("gl_flag=qc gl_djh= gl_kdrq=2023-12-31 23:59:00 gl_sl=15 gl_dj=6.25 gl_zje=93.75 "
                             "gl_je=93.75 gl_sqsl=0 gl_sqje=0 ghs_name=数据结算结转 gl_note=数据结算结转 ghs_sn= "
                             "gl_lr=0 gl_zcb=0 gl_taxje=0 gl_sysl=15 id2= idck= gl_djh2= gl_kc=15 gl_pjjj=6.25 "
                             "gl_kczje=93.75"));
    // The later date is kept in 100002, not the back-dated row of the larger id.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) || ':' || max(id) from jxc_goodslist where ck_sn = '100002'")),
              QStringLiteral("1:6"));
    EXPECT_EQ(row(QStringLiteral("jxc_goodslist"), QStringLiteral("id = 6"),
                  {QStringLiteral("gl_flag"), QStringLiteral("gl_sl"), QStringLiteral("gl_dj"), QStringLiteral("gl_je")}),
              QStringLiteral("gl_flag=qc gl_sl=5 gl_dj=10 gl_je=50"));

    // The engine's walk from the carried row finds every stored value right.
    const QString ledger = dump(QStringLiteral("jxc_goodslist")) + dump(QStringLiteral("jxc_kcsp"));
    RecalcStockCost(db(), state, clock, QStringLiteral("4"), QStringLiteral("0"));
    RecalcStockCost(db(), state, clock, QStringLiteral("6"), QStringLiteral("0"));
    EXPECT_EQ(dump(QStringLiteral("jxc_goodslist")) + dump(QStringLiteral("jxc_kcsp")), ledger);
}

// Keys compared column by column: goods "1" in warehouse "23" and goods "12" in warehouse "3"
// would read alike joined into one text, and the back-dated row of the second key, dated like
// the first key's last row, would be kept beside its own last row.
TEST_F(PeriodClosingTest, KeysThatReadAlikeJoinedStayApart)
{
    using closingfixture::goodsRow;
    goodsRow(db(), {11, "cj", "CJ23121010009", "2023-12-10 09:00", "23", 5, 50, 10, 0, 0, 5, 10, 50});
    goodsRow(db(), {12, "cj", "CJ23121010010", "2023-12-10 09:00", "3", 2, 20, 10, 0, 0, 2, 10, 20});
    goodsRow(db(), {13, "cj", "CJ23122010009", "2023-12-20 09:00", "3", 3, 36, 12, 2, 20, 5, 11.2, 56});
    RunSql(db(), QStringLiteral("update jxc_goodslist set g_sn = '1' where id = 11"));
    RunSql(db(), QStringLiteral("update jxc_goodslist set g_sn = '12' where id in (12, 13)"));
    ASSERT_EQ(close().outcome, ClosingOutcome::Done);
    EXPECT_EQ(RowsText(db(), QStringLiteral("select id, g_sn, ck_sn, gl_flag, gl_sl, gl_dj, gl_je from jxc_goodslist "
                                            "where ck_sn in ('23', '3') order by id")),
              QStringLiteral("11|1|23|qc|5|10|50; 13|12|3|qc|5|11.2|56"));
}

TEST_F(PeriodClosingTest, PartnerCashAndInvoiceLedgersKeepTheirBalances)
{
    ASSERT_EQ(close().outcome, ClosingOutcome::Done);
    const QStringList partnerColumns{QStringLiteral("k_yfje"), QStringLiteral("k_sfje"), QStringLiteral("k_yhje"),
                                     QStringLiteral("k_qcje"), QStringLiteral("k_ljje"), QStringLiteral("k_djtxt"),
                                     QStringLiteral("k_note"), QStringLiteral("k_rq"), QStringLiteral("gl_djh"),
                                     QStringLiteral("gl_djh2")};
    const QString k1 = QStringLiteral("k_type = 'kh' and k_ghskh = '100001'");
    EXPECT_EQ(count(QStringLiteral("jxc_ysyfk"), k1), QStringLiteral("2"));
    EXPECT_EQ(row(QStringLiteral("jxc_ysyfk"), k1 + QStringLiteral(" and k_rq <= ?"), partnerColumns, {kBound}),
              QStringLiteral("k_yfje=110 k_sfje=0 k_yhje=0 k_qcje=0 k_ljje=110 k_djtxt=数据结算结转 "
                             "k_note=数据结算结转 k_rq=2023-12-31 23:59:00 gl_djh= gl_djh2="));
    RecalcPartnerBalances(db(), state, clock, QStringLiteral("100001"), QStringLiteral("kh"), QStringLiteral("2023-12-31"));
    EXPECT_EQ(scalar(QStringLiteral("select k_ljje from jxc_ysyfk where %1 order by k_rq, id").arg(k1)), QStringLiteral("110"));
    EXPECT_EQ(scalar(QStringLiteral("select k_ljje from jxc_ysyfk where %1 and k_rq > ?").arg(k1), {kBound}),
              QStringLiteral("60"));
    EXPECT_EQ(scalar(QStringLiteral("select kh_lwje from jxc_khxx where kh_sn = '100001'")), QStringLiteral("60"));
    // A balance of 0 leaves no row; the supplier of K1's code is an account of its own.
    EXPECT_EQ(count(QStringLiteral("jxc_ysyfk"), QStringLiteral("k_ghskh = '100002'")), QStringLiteral("0"));
    EXPECT_EQ(count(QStringLiteral("jxc_ysyfk"), QStringLiteral("k_type = 'ghs'")), QStringLiteral("1"));
    EXPECT_EQ(row(QStringLiteral("jxc_ysyfk"), QStringLiteral("k_type = 'ghs'"), {QStringLiteral("k_yfje"), QStringLiteral("k_ljje")}),
              QStringLiteral("k_yfje=70 k_ljje=70"));

    // Cash: the last audited row up to the date, the pending one gone.
    EXPECT_EQ(count(QStringLiteral("jxc_xjyh"), QStringLiteral("xj_kmmc = '现金' and xj_rq <= ?"), {kBound}),
              QStringLiteral("1"));
    EXPECT_EQ(row(QStringLiteral("jxc_xjyh"), QStringLiteral("xj_kmmc = '现金' and xj_rq <= ?"),
                  {QStringLiteral("xj_je"), QStringLiteral("xj_ljje"), QStringLiteral("xj_dlx"), QStringLiteral("xj_note"),
                   QStringLiteral("ghs_name"), QStringLiteral("ghs_sn"), QStringLiteral("gl_djh"), QStringLiteral("xj_rq")},
                  {kBound}),
              QStringLiteral("xj_je=-20 xj_ljje=-20 xj_dlx=数据结算结转 xj_note=数据结算结转 ghs_name= ghs_sn= gl_djh= "
                             "xj_rq=2023-12-31 23:59:00"));
    EXPECT_EQ(count(QStringLiteral("jxc_xjyh"), QStringLiteral("xj_chk <> '1'")), QStringLiteral("0"));
    EXPECT_EQ(GetCashBalance(db(), state, clock, QStringLiteral("现金")), QStringLiteral("30"));
    // The five other accounts keep their opening rows as carried rows of 0.
    EXPECT_EQ(count(QStringLiteral("jxc_xjyh"), QStringLiteral("xj_kmmc <> '现金' and xj_rq = ? and xj_je = 0 and xj_ljje = 0 "
                                                               "and xj_dlx = '数据结算结转'"),
                    {kBound}),
              QStringLiteral("5"));
    EXPECT_EQ(count(QStringLiteral("jxc_xjyh"), QStringLiteral("xj_kmmc <> '现金'")), QStringLiteral("5"));

    // Invoices: S1 invoiced in full leaves nothing; K1 and K2 keep one carried row each.
    EXPECT_EQ(count(QStringLiteral("jxc_fpdjb"), QStringLiteral("fp_type = 'ghs'")), QStringLiteral("0"));
    const QStringList invoiceColumns{QStringLiteral("fp_yfje"), QStringLiteral("fp_sfje"), QStringLiteral("fp_kpje"),
                                     QStringLiteral("fp_qcje"), QStringLiteral("fp_ljje"), QStringLiteral("fp_djtxt"),
                                     QStringLiteral("fp_note"), QStringLiteral("fp_rq"), QStringLiteral("gl_djh")};
    EXPECT_EQ(row(QStringLiteral("jxc_fpdjb"), QStringLiteral("fp_ghskh = '100001'"), invoiceColumns),
              QStringLiteral("fp_yfje=40 fp_sfje=0 fp_kpje=0 fp_qcje=0 fp_ljje=40 fp_djtxt=数据结算结转 "
                             "fp_note=数据结算结转 fp_rq=2023-12-31 23:59:00 gl_djh="));
    // An opening amount is carried once: the balance walk gives the same balance again.
    RecalcInvoiceBalances(db(), state, clock, QStringLiteral("100002"), QStringLiteral("kh"), QStringLiteral("2023-01-01"));
    EXPECT_EQ(row(QStringLiteral("jxc_fpdjb"), QStringLiteral("fp_ghskh = '100002'"),
                  {QStringLiteral("fp_yfje"), QStringLiteral("fp_qcje"), QStringLiteral("fp_ljje")}),
              QStringLiteral("fp_yfje=15 fp_qcje=0 fp_ljje=15"));
}

TEST_F(PeriodClosingTest, ClosingAgainAsksAndChangesNothingAtTheSameDate)
{
    ASSERT_EQ(close().outcome, ClosingOutcome::Done);
    const QString after = everything();
    struct Case
    {
        QDate date;
        Notices::Answer answer;
    };
    for (const Case &c : {Case{QDate(2023, 12, 31), Notices::Answer::No}, Case{QDate(2023, 6, 30), Notices::Answer::No}}) {
        notices.shown.clear();
        notices.script({c.answer});
        EXPECT_EQ(close(c.date, true).outcome, ClosingOutcome::Declined);
        EXPECT_EQ(notices.texts(),
                  QStringList{c.date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("日期已经结算过了，还要重新结算吗？")});
        EXPECT_EQ(everything(), after);
    }
    // No to the second question ends as well, before any backup.
    notices.shown.clear();
    notices.script({Notices::Answer::Yes, Notices::Answer::No});
    EXPECT_EQ(close(kClosingDate, true).outcome, ClosingOutcome::Declined);
    EXPECT_EQ(notices.shown.size(), 2);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    EXPECT_EQ(everything(), after);

    // Yes at the same date: every carried row and the summary stay as they were.
    notices.shown.clear();
    notices.script({Notices::Answer::Yes, Notices::Answer::Yes});
    EXPECT_EQ(close().outcome, ClosingOutcome::Done);
    EXPECT_EQ(everything(), after);
    EXPECT_EQ(summaryRows(), kFirstSummary);
}

TEST_F(PeriodClosingTest, ALaterClosingCarriesTheCarriedRowAgain)
{
    ASSERT_EQ(close().outcome, ClosingOutcome::Done);
    clock.set(QDateTime(QDate(2025, 2, 1), QTime(9, 0)));
    ASSERT_EQ(close(QDate(2024, 1, 4)).outcome, ClosingOutcome::Done);
    // G1 in 100002 had nothing after the first closing: its carried row moves to the new date.
    EXPECT_EQ(row(QStringLiteral("jxc_goodslist"), QStringLiteral("ck_sn = '100002'"),
                  {QStringLiteral("id"), QStringLiteral("gl_flag"), QStringLiteral("gl_kdrq"), QStringLiteral("gl_sl"),
                   QStringLiteral("gl_kczje")}),
              QStringLiteral("id=6 gl_flag=qc gl_kdrq=2024-01-04 23:59:00 gl_sl=5 gl_kczje=50"));
    // The receipt of 2024-01-05 stays after it.
    EXPECT_EQ(count(QStringLiteral("jxc_goodslist"), QStringLiteral("ck_sn = '100001'")), QStringLiteral("2"));
    EXPECT_EQ(GetCashBalance(db(), state, clock, QStringLiteral("现金")), QStringLiteral("30"));
}

TEST_F(PeriodClosingTest, MissingTablesAreSkippedAndPresentOnesUsed)
{
    PeriodClosing fresh(db(), QStringLiteral("admin"));
    EXPECT_FALSE(fresh.has(QStringLiteral("jxc_fcwxd")));
    EXPECT_FALSE(fresh.has(QStringLiteral("jxc_planpd")));
    EXPECT_TRUE(fresh.has(QStringLiteral("jxc_wxd"), QStringLiteral("gl_djh,wx_wxrq")));
    EXPECT_FALSE(fresh.changedTables().contains(QStringLiteral("jxc_fcwxd")));

    // Repair orders by the day received, each with a line.
    for (const char *date : {"2023-12-01", "2024-01-02"}) {
        const QString number = QStringLiteral("WX") + QString::fromLatin1(date).remove(QLatin1Char('-'));
        InsertRow(db(), QStringLiteral("jxc_wxd"), {{QStringLiteral("gl_djh"), number},
                                                   {QStringLiteral("wx_wxrq"), QString::fromLatin1(date)}});
        InsertRow(db(), QStringLiteral("jxc_wxsp"), {{QStringLiteral("gl_djh"), number}, {QStringLiteral("g_sn"), kGoods}});
    }
    // An order not yet dated stays.
    InsertRow(db(), QStringLiteral("jxc_wxd"), {{QStringLiteral("gl_djh"), QStringLiteral("WX0")}});

    RunSql(db(), QStringLiteral("create table jxc_fcwxd (id integer, gl_djh varchar(16), wx_rq varchar(32), wx_sl numeric)"));
    RunSql(db(), QStringLiteral("insert into jxc_fcwxd (id, gl_djh, wx_rq, wx_sl) values (1, 'FC1', '2023-12-01 10:00', 3)"));
    PeriodClosing withRepairs(db(), QStringLiteral("admin"));
    EXPECT_TRUE(withRepairs.has(QStringLiteral("jxc_fcwxd"), QStringLiteral("wx_rq,wx_sl")));
    EXPECT_TRUE(withRepairs.changedTables().contains(QStringLiteral("jxc_fcwxd")));

    ASSERT_EQ(close().outcome, ClosingOutcome::Done) << notices.last().toStdString();
    EXPECT_EQ(summaryRows(), QStringList(kFirstSummary) << QStringLiteral("2024-03-08 2023-12-31 返厂维修单 1 3 0"));
    EXPECT_EQ(count(QStringLiteral("jxc_fcwxd")), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) || ':' || min(gl_djh) || ':' || max(gl_djh) from jxc_wxd")),
              QStringLiteral("2:WX0:WX20240102"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) || ':' || max(gl_djh) from jxc_wxsp")), QStringLiteral("1:WX20240102"));

    // Without the table the item is absent again and the closing completes.
    RunSql(db(), QStringLiteral("drop table jxc_fcwxd"));
    notices.shown.clear();
    ASSERT_EQ(close().outcome, ClosingOutcome::Done) << notices.last().toStdString();
}

TEST_F(PeriodClosingTest, BackupIsWrittenFirstOrTheClosingDoesNotStart)
{
    const QString before = everything();
    const QString journal = scalar(QStringLiteral("select count(*) from jxc_goodslist"));
    notices.script({Notices::Answer::Yes});
    ASSERT_EQ(close(kClosingDate, true).outcome, ClosingOutcome::Done);
    EXPECT_EQ(notices.shown.at(1).text, QStringLiteral("备份成功！备份文件保存在：") + backupPath());
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("closing_backup"));
        copy.setDatabaseName(backupPath());
        ASSERT_TRUE(copy.open()) << copy.lastError().text().toStdString();
        EXPECT_EQ(QueryScalar(copy, QStringLiteral("select count(*) from jxc_goodslist")), journal);
        EXPECT_EQ(QueryScalar(copy, QStringLiteral("select count(*) from jxc_jhd")), QStringLiteral("4"));
        EXPECT_EQ(QueryScalar(copy, QStringLiteral("select count(*) from jxc_nj")), QStringLiteral("0"));
        copy.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("closing_backup"));
    EXPECT_NE(everything(), before);
}

TEST_F(PeriodClosingTest, AnUnwritableProgramFolderStopsBeforeAnyDeletion)
{
    const QString before = everything();
    ClosingContext c = closingContext(true);
    c.programFolder = QStringLiteral("/proc/no-such-folder");
    TF_Nzjs screen(c, notices, files);
    screen.show();
    QTest::mouseClick(screen.btnOK, Qt::LeftButton);
    ASSERT_EQ(notices.shown.size(), 2);
    EXPECT_TRUE(notices.last().startsWith(QStringLiteral("备份失败！"))) << notices.last().toStdString();
    EXPECT_EQ(everything(), before);
    EXPECT_TRUE(screen.btnOK->isEnabled());
}

TEST_F(PeriodClosingTest, AFailureAnywhereLeavesTheSetAsItWas)
{
    const QString before = everything();
    struct Case
    {
        const char *name;
        ClosingStep step;
        int statement;
    };
    // The first summary insert, a deletion in the middle, the goods update after the scratch rows
    // and the goods deletion, and the removal of the zero summary rows.
    for (const Case &c : {Case{"first summary insert", ClosingStep::Summary, 1},
                          Case{"middle deletion", ClosingStep::Deletion, 25},
                          Case{"goods carry-forward update", ClosingStep::CarryForward, 4},
                          Case{"last statement", ClosingStep::Finish, 3}}) {
        SCOPED_TRACE(c.name);
        notices.shown.clear();
        ClosingContext context = closingContext();
        context.beforeStep = [&c](ClosingStep step, const QSqlDatabase &db) {
            if (step == c.step)
                InjectStatementFailure(db, c.statement);
        };
        TF_Nzjs screen(context, notices, files);
        screen.show();
        screen.chkBackup->setChecked(false);
        QTest::mouseClick(screen.btnOK, Qt::LeftButton);
        EXPECT_EQ(notices.last(), QStringLiteral("数据结算失败：数据库操作失败：模拟的语句错误"));
        EXPECT_EQ(everything(), before);
        EXPECT_TRUE(screen.btnOK->isEnabled());
        InjectStatementFailure(db(), 0);
    }
}

TEST_F(PeriodClosingTest, AnotherWorkstationIsRefusedBeforeAnyQuestion)
{
    const QString before = everything();
    ForeignSession other(testDb().fileName(), QStringLiteral("closing_foreign"));
    ASSERT_TRUE(other.ok());
    EXPECT_EQ(close(kClosingDate, true).outcome, ClosingOutcome::Refused);
    EXPECT_EQ(notices.texts(), QStringList{ClosingRefusalText()});
    EXPECT_EQ(everything(), before);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(PeriodClosingTest, AWorkstationArrivingDuringTheQuestionIsFoundUnderTheLock)
{
    const QString before = everything();
    std::unique_ptr<ForeignSession> other;
    HookedNotices hooked(notices);
    hooked.onAsk = [&](const QString &) {
        other = std::make_unique<ForeignSession>(testDb().fileName(), QStringLiteral("closing_arriving"));
    };
    const ClosingResult r = RunPeriodClosing(closingContext(), kClosingDate, hooked);
    EXPECT_EQ(r.outcome, ClosingOutcome::Refused);
    ASSERT_TRUE(other && other->ok());
    EXPECT_EQ(notices.shown.size(), 2);
    EXPECT_EQ(notices.last(), ClosingRefusalText());
    EXPECT_EQ(everything(), before);
}

TEST_F(PeriodClosingTest, AWriterOfThisProcessWaitsForTheCommit)
{
    std::atomic<bool> started{false};
    std::atomic<bool> written{false};
    QString writerError;
    std::thread writer;
    ClosingContext c = closingContext();
    const QString setFile = testDb().fileName();
    c.beforeStep = [&](ClosingStep step, const QSqlDatabase &db) {
        if (step == ClosingStep::Deletion) {
            writer = std::thread([&started, &written, &writerError, setFile] {
                const QString name = QStringLiteral("closing_writer");
                try {
                    QSqlDatabase own = OpenConnection(TestConnectionSettings(), setFile, name);
                    SetStatementObserver(own, [&started](const QString &sql, const QVariantList &) {
                        if (sql.startsWith(QLatin1String("insert into jxc_log")))
                            started = true;
                    });
                    RunSql(own, QStringLiteral("insert into jxc_log (log_time, a_name, log_note) values "
                                               "('2024-03-08 10:21:00', 'wang', '登录系统')"));
                    written = true;
                } catch (const DbError &e) {
                    writerError = e.text();
                }
                CloseConnection(name);
            });
        } else if (step == ClosingStep::Finish) {
            // The writer has sent its insert and is still held a while later: it waits for the
            // closing, whatever the dialect.
            QElapsedTimer sent;
            sent.start();
            while (!started.load() && sent.elapsed() < 5000)
                std::this_thread::yield();
            ASSERT_TRUE(started.load());
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (Dialect::of(db).isPostgres()) {
                // Wait until the writer's insert waits for the closing's lock.
                QElapsedTimer t;
                t.start();
                while (QueryScalar(db, QStringLiteral("select count(*) from pg_locks where not granted and "
                                                      "relation = 'jxc_log'::regclass")) == QLatin1String("0")
                       && t.elapsed() < 5000)
                    std::this_thread::yield();
            }
            EXPECT_FALSE(written.load());
        }
    };
    const ClosingResult r = RunPeriodClosing(c, kClosingDate, notices);
    writer.join();
    EXPECT_EQ(r.outcome, ClosingOutcome::Done) << r.text.toStdString();
    EXPECT_TRUE(written.load()) << writerError.toStdString();
    EXPECT_EQ(count(QStringLiteral("jxc_log"), QStringLiteral("log_time = '2024-03-08 10:21:00'")), QStringLiteral("1"));
}

TEST_F(PeriodClosingTest, APostgresLockNotGrantedIsARefusalNotAHang)
{
    if (TestDbKind() != DbKind::Postgres)
        GTEST_SKIP() << "SQLite writers are kept out by BEGIN IMMEDIATE";
    // A writer of this process in an open transaction holds the log.
    QSqlDatabase writer = testDb().openSecondConnection();
    ASSERT_TRUE(writer.transaction());
    RunSql(writer, QStringLiteral("insert into jxc_log (log_time) values ('2024-03-08 10:21:00')"));
    const QString before = everything();
    ClosingContext c = closingContext();
    c.lockWaitMs = 1000;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(RunPeriodClosing(c, kClosingDate, notices).outcome, ClosingOutcome::Refused);
    EXPECT_LT(t.elapsed(), 10000);
    EXPECT_EQ(notices.last(), ClosingRefusalText());
    writer.rollback();
    EXPECT_EQ(everything(), before);
}

// ---- The screen ----------------------------------------------------------------------------

class ClosingScreenTest : public PeriodClosingTest
{
protected:
    std::unique_ptr<TF_Nzjs> open()
    {
        auto screen = std::make_unique<TF_Nzjs>(closingContext(true), notices, files);
        screen->show();
        return screen;
    }
};

TEST_F(ClosingScreenTest, ActivationSetsTheDefaultDateAndTheWarning)
{
    auto screen = open();
    EXPECT_EQ(screen->objectName(), QStringLiteral("TF_Nzjs"));
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("数据结算"));
    EXPECT_TRUE(screen->chkBackup->isChecked());
    EXPECT_EQ(screen->DateEdit1->dateText(), QStringLiteral("2023-12-31"));
    EXPECT_EQ(screen->lblWarning->text(), QStringLiteral("将删除： 2023-12-31 及该日期之前的全部数据！"));
    screen->DateEdit1->setDate(QDate(2023, 6, 30));
    EXPECT_EQ(screen->lblWarning->text(), QStringLiteral("将删除： 2023-06-30 及该日期之前的全部数据！"));
    EXPECT_EQ(screen->grid->rowCount(), 0);
    PressKey(screen.get(), Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
}

TEST_F(ClosingScreenTest, ClosingFillsTheGridAndRowsCanBeDeleted)
{
    auto screen = open();
    screen->chkBackup->setChecked(false);
    notices.script({Notices::Answer::Yes});
    QTest::mouseClick(screen->btnOK, Qt::LeftButton);
    EXPECT_EQ(notices.last(), QStringLiteral("结算完成！"));
    EXPECT_TRUE(screen->btnOK->isEnabled());
    DataGrid *grid = screen->grid;
    ASSERT_EQ(grid->rowCount(), 5);
    EXPECT_EQ(grid->value(0, QStringLiteral("nj_xm")).toString(), QStringLiteral("采购进货单"));
    EXPECT_EQ(grid->footerText(QStringLiteral("nj_jsrq")), QStringLiteral("记录数：5"));
    EXPECT_EQ(grid->footerValue(QStringLiteral("nj_ds")).toDouble(), 7);
    EXPECT_EQ(grid->footerValue(QStringLiteral("nj_sl")).toDouble(), 27);
    EXPECT_EQ(grid->footerValue(QStringLiteral("nj_je")).toDouble(), 196);
    EXPECT_EQ(grid->footerText(QStringLiteral("nj_je")), QStringLiteral("196.00"));

    grid->setCurrentRow(3);
    notices.shown.clear();
    notices.script({Notices::Answer::No});
    QTest::mouseClick(screen->btnDel, Qt::LeftButton);
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("您确定要删除当前选中的数据吗？")});
    EXPECT_EQ(grid->rowCount(), 5);
    notices.script({Notices::Answer::Yes});
    QTest::mouseClick(screen->btnDel, Qt::LeftButton);
    EXPECT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(count(QStringLiteral("jxc_nj"), QStringLiteral("nj_xm = '费用及收入--费用'")), QStringLiteral("0"));
    EXPECT_EQ(grid->footerText(QStringLiteral("nj_jsrq")), QStringLiteral("记录数：4"));
    EXPECT_EQ(grid->footerValue(QStringLiteral("nj_je")).toDouble(), 206);

    // Closing again at the same date with the grid loaded: the same rows.
    notices.shown.clear();
    notices.script({Notices::Answer::Yes, Notices::Answer::Yes});
    QTest::mouseClick(screen->btnOK, Qt::LeftButton);
    EXPECT_EQ(notices.texts(), (QStringList{QStringLiteral("2023-12-31日期已经结算过了，还要重新结算吗？"),
                                            notices.shown.value(1).text, QStringLiteral("结算完成！")}));
    EXPECT_EQ(grid->rowCount(), 4);

    // Export: ".xls" typed becomes ".xlsx".
    const QString chosen = folder.filePath(QStringLiteral("结算.xls"));
    files.script({chosen});
    QTest::mouseClick(screen->btnExport, Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(chosen + QLatin1Char('x')));
}

} // namespace
