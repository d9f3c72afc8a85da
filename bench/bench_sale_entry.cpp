// Speed of the sale window's entry page on a large account set: 100,000 goods with stock rows
// in the warehouse, 20,000 unit barcodes, 20,000 extra barcodes, 200,000 goods-ledger rows,
// customer quotes, the default (retail) customer owning 10,000 audited sales, and a draft sale
// of 200 lines; offscreen, through the real TF_Spxs with every question answered Yes:
//   Enter in the barcode box with a goods not yet on the sale, until the grid shows the new line
//   and the totals (≤ 50 ms median over 100 scans, worst printed);
//   for information: the picker's opening with a search keystroke over the 100,000 goods, a batch
//   of 300 goods into the basket and its 确定, the line dialog's opening.
// Each is printed beside a raw reference doing the same plain work through sqlite3 / libpq
// directly (the same statements, no screen) and the ratio. SQLite file, then PostgreSQL when
// JXC_BENCH_PG names a socket folder or host.

#include "benchraw.h"
#include "benchsupport.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "sales/forms/salesscreens.h"
#include "sales/forms/spxs.h"
#include "sales/forms/spxs_add.h"
#include "sales/saleentry.h"
#include "sales/salepicker.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/datagrid.h"
#include "shell/forms/screenregistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int kGoods = 100000;
constexpr int kUnitBarcodes = 20000;
constexpr int kExtraBarcodes = 20000;
constexpr int kLedgerRows = 200000;
constexpr int kCustomerSales = 10000;
constexpr int kDraftLines = 200;
constexpr int kScans = 100;
constexpr int kBatch = 300;
constexpr int kRuns = 7;

class YesNotices final : public Notices
{
public:
    void notice(const QString &text) override { std::printf("    notice: %s\n", qPrintable(text)); }
    Answer ask(const QString &, bool) override { return Answer::Yes; }
    void error(const QString &text) override { std::printf("    error: %s\n", qPrintable(text)); }
};

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

QString Goods(int i)
{
    return QString::number(30000000 + i);
}

QString Barcode(int i)
{
    return QString::number(6900000000000LL + i);
}

void fill(const QSqlDatabase &db)
{
    const Dialect d = Dialect::of(db);
    auto series = [&](int n) {
        return QStringLiteral("with recursive s(i) as (select 1 union all select i + 1 from s where i < %1) ").arg(n);
    };
    auto text = [&](const QString &expr) { return d.castText(expr); };
    Transaction tx(db);
    RunSql(db, series(kGoods)
                   + QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, dw_name, g_jj, g_sj, g_lsj, g_scjj, g_pjjj, "
                                    "g_sptm, gc_sn, g_jy, g_cgpl, g_xspl, g_kc, g_zhxs, g_gdcbj) select ")
                   + text(QStringLiteral("30000000 + i")) + QStringLiteral(", '商品' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 'SP' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", '个', 1 + i % 97, 2 + i % 97, 3 + i % 97, 1, 1, ")
                   + text(QStringLiteral("6900000000000 + i"))
                   + QStringLiteral(", '1000', 0, 0, i % 50, 100, 1, 0 from s"));
    RunSql(db, series(kUnitBarcodes)
                   + QStringLiteral("insert into jxc_goodsdw (g_sn, dw_name, g_zhxs, g_jj, g_sj, g_lsj, g_sptm) select ")
                   + text(QStringLiteral("30000000 + i * 5")) + QStringLiteral(", '箱', 12, 12, 30, 36, ")
                   + text(QStringLiteral("1690000000000 + i * 5")) + QStringLiteral(" from s"));
    RunSql(db, series(kExtraBarcodes)
                   + QStringLiteral("insert into jxc_goodstm (g_sn, g_sptm, g_tmbz) select ")
                   + text(QStringLiteral("30000000 + i * 5 - 2")) + QStringLiteral(", ")
                   + text(QStringLiteral("2690000000000 + i * 5")) + QStringLiteral(", '礼盒装' from s"));
    RunSql(db, series(kGoods)
                   + QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl, kc_zsl, kc_cbj, kc_zcb, kc_xssl) select ")
                   + text(QStringLiteral("30000000 + i"))
                   + QStringLiteral(", '100001', 1000, 1000, 1 + i % 97, 1000 * (1 + i % 97), 0 from s"));
    RunSql(db, series(kGoods / 10)
                   + QStringLiteral("insert into jxc_khbj (g_sn, kb_bj, kh_sn, kb_bjrq, u_sn, a_name, kb_note) select ")
                   + text(QStringLiteral("30000000 + i * 10")) + QStringLiteral(", 5, '100001', '2024-01-01', '100001', "
                                                                                "'admin', '' from s"));
    // The retail customer's 10,000 audited sales of one line each.
    RunSql(db, series(kCustomerSales)
                   + QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ck_sn, ls_xsrq, ls_yfje, ls_sfje, u_sn, "
                                    "a_name, ls_status, ls_dzl, ls_jsfs, ls_kmmc) select 'XS2401' || ")
                   + text(QStringLiteral("10000 + i")) + QStringLiteral(", '100001', '100001', '2024-01-01 10:00', 5, 5, "
                                                                        "'100001', 'admin', 1, 1, 0, '现金' from s"));
    RunSql(db, series(kCustomerSales)
                   + QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, a_name, ls_dj, ls_sl, ls_je, ls_zje, ls_taxdj, "
                                    "ls_tax, ls_taxje, ls_dzl, ls_zsl, ls_cksl, ls_cbj, ls_zcb, ls_cbj2, dw_name, g_zhxs) "
                                    "select 'XS2401' || ")
                   + text(QStringLiteral("10000 + i")) + QStringLiteral(", ")
                   + text(QStringLiteral("30000001 + (i * 7919) % 100000"))
                   + QStringLiteral(", 'admin', 5, 1, 5, 5, 5, 0, 0, 1, 1, 1, 2, 2, 2, '个', 1 from s"));
    RunSql(db, series(kLedgerRows)
                   + QStringLiteral("insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, ck_sn, ck_name, ghs_sn, "
                                    "ghs_name, gl_sl, gl_dj, gl_je, gl_zje, gl_pjjj, gl_dqkc, gl_kc, gl_kczje, a_name) "
                                    "select 'cj', 'CJ2401' || ")
                   + text(QStringLiteral("10000 + i / 100")) + QStringLiteral(", '2024-01-01 10:00', ")
                   + text(QStringLiteral("30000001 + (i * 7919) % 100000"))
                   + QStringLiteral(", '100001', '主仓库', '100001', '普通供货商', 10, 2, 20, 20, 2, 100, 100, 200, "
                                    "'admin' from s"));
    tx.commit();
}

// The 200 draft lines of admin under `number` (goods 1 … 200).
void draft(const QSqlDatabase &db, const QString &number)
{
    Transaction tx(db);
    for (int i = 1; i <= kDraftLines; ++i)
        RunSql(db,
               QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, a_name, ls_dj, ls_sl, ls_je, ls_zje, ls_taxdj, ls_tax, "
                              "ls_taxje, ls_dzl, ls_zsl, ls_cksl, ls_cbj, ls_zcb, ls_cbj2, ls_lsj, ls_zhje, dw_name, "
                              "g_sptm, g_zhxs, g_tmbz, t_zp, idck) values (?, ?, 'admin', 2, 3, 6, 6, 2, 0, 0, 1, 3, 3, "
                              "1, 3, 1, 3, 2, '个', ?, 1, '', '', 0)"),
               {number, Goods(i), Barcode(i)});
    tx.commit();
}

void run(const ConnectionSettings &s, const QString &file)
{
    DataModule data(s);
    data.OpenMainDatabase(file);
    const QSqlDatabase db = data.mainDb();
    FixedClock clock(QDateTime(QDate(2025, 3, 14), QTime(9, 30)));
    LoginState state;
    SignInBenchAdministrator(db, state, clock);
    state.RightShowCost = true;
    state.RightShowSalePrice = true;
    state.UseAuxUnits = QStringLiteral("1");
    state.ScanAddsQty = QStringLiteral("1");
    YesNotices notices;
    ScreenRegistry registry;
    RegisterMasterdataScreens(registry);
    RegisterSalesScreens(registry);
    ScreenContext context;
    context.data = &data;
    context.state = &state;
    context.clock = &clock;
    context.notices = &notices;
    context.registry = &registry;
    RawDb raw(s, file);
    const bool lite = s.kind == DbKind::Sqlite;
    const QString begin = lite ? QStringLiteral("begin immediate") : QStringLiteral("begin");

    std::unique_ptr<QDialog> dialog(registry.create(QStringLiteral("TF_Spxs"), QString(), context));
    auto *window = static_cast<TF_Spxs *>(dialog.get());
    window->show();
    QApplication::processEvents();
    const QString number = window->number();
    draft(db, number);
    window->reloadLines();

    // ---- Enter in the barcode box, 100 goods not yet on the sale ----
    QLineEdit *box = window->barcodePanel()->entryBox();
    int next = 1000;
    const Timing scan = MeasureRuns(kScans, [&] {
        box->setText(Barcode(next++));
        QTest::keyClick(box, Qt::Key_Return);
        (void)window->linesGrid()->footerText(QStringLiteral("ls_zje"));
    });
    if (window->lineCount() != kDraftLines + kScans + 1)
        std::printf("    the grid shows %d lines\n", window->lineCount());
    const ListStatement linesSt = SaleEntry(db, state, clock, notices).linesStatement(number);
    int rawNext = 50000;
    const Timing scanRaw = MeasureRuns(kScans, [&] {
        const QString code = Barcode(rawNext);
        const QString goods = Goods(rawNext++);
        raw.run(QStringLiteral("select a.g_sn from jxc_goods a join jxc_kcsp b on b.g_sn = a.g_sn and b.ck_sn = '100001' "
                               "where a.g_sptm = ? limit 1"),
                {code});
        raw.run(QStringLiteral("select g_sn from jxc_goodsdw where g_sptm = ? limit 1"), {code});
        raw.run(QStringLiteral("select g_sn from jxc_goodstm where g_sptm = ? limit 1"), {code});
        raw.run(QStringLiteral("select * from jxc_goods where g_sn = ?"), {goods});
        raw.run(QStringLiteral("select kb_bj from jxc_khbj where kh_sn = '100001' and g_sn = ? limit 1"), {goods});
        raw.run(QStringLiteral("select b.ls_dj from jxc_lsxssp b join jxc_lsxsd a on a.gl_djh = b.gl_djh where a.kh_sn = "
                               "'100001' and b.g_sn = ? and a.ls_status = 1 order by a.ls_xsrq desc limit 1"),
                {goods});
        raw.run(QStringLiteral("select kc_sl, kc_cbj from jxc_kcsp where g_sn = ? and ck_sn = '100001'"), {goods});
        raw.run(QStringLiteral("select id from jxc_lsxssp where gl_djh = ? and a_name <> 'admin' limit 1"), {number});
        raw.run(begin);
        raw.run(QStringLiteral("select id from jxc_lsxssp where gl_djh = ? and a_name = 'admin' and g_sn = ? and g_sptm = ?"),
                {number, goods, code});
        raw.run(QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, a_name, ls_dj, ls_sl, ls_je, ls_zje, ls_taxdj, ls_tax, "
                               "ls_taxje, ls_dzl, ls_zsl, ls_cksl, ls_cbj, ls_zcb, ls_cbj2, ls_lsj, ls_zhje, dw_name, g_sptm, "
                               "g_zhxs, g_tmbz, t_zp, idck) values (?, ?, 'admin', 5, 1, 5, 5, 5, 0, 0, 1, 1, 1, 2, 2, 2, 6, "
                               "5, '个', ?, 1, '', '', 0)"),
                {number, goods, code});
        raw.run(QStringLiteral("commit"));
        raw.run(QStringLiteral("select count(*) from (%1) c").arg(linesSt.body), linesSt.binds);
        raw.run(linesSt.body + QStringLiteral(" order by ") + linesSt.order + QStringLiteral(" limit 400"), linesSt.binds);
        raw.run(QStringLiteral("select sum(ls_sl), sum(ls_je), sum(ls_taxje), sum(ls_zje) from jxc_lsxssp where gl_djh = ? "
                               "and a_name = 'admin'"),
                {number});
        raw.run(QStringLiteral("select sum(ls_zje) from jxc_lsxssp where gl_djh = ? and g_sn <> '00000000'"), {number});
    });
    ReportTiming("Enter in the barcode box, 200-line sale (100 scans)", scan, scanRaw, 50);
    RunSql(db, QStringLiteral("delete from jxc_lsxssp where gl_djh = ? and g_sn > ?"), {number, Goods(kDraftLines)});
    window->reloadLines();

    // ---- The line dialog's opening (for information) ----
    const Timing sele = MeasureRuns(kRuns, [&] {
        std::unique_ptr<QDialog> d(registry.create(QString::fromLatin1(sales::kLineDialog), QString(), context));
        SetDocumentContext(d.get(), &window->documentContext());
        d->setProperty(handoff::LineTag, QStringLiteral("spxs"));
        d->setProperty(handoff::GoodsCode, Goods(1));
        d->setProperty(handoff::LineId, window->linesGrid()->value(0, QStringLiteral("id")));
        d->show();
        QApplication::processEvents();
        d->close();
    });
    const Timing seleRaw = MeasureRuns(kRuns, [&] {
        raw.run(QStringLiteral("select * from jxc_goods where g_sn = ?"), {Goods(1)});
        raw.run(QStringLiteral("select dw_name from jxc_goodsdw where g_sn = ? order by id"), {Goods(1)});
        raw.run(QStringLiteral("select kc_sl, kc_cbj from jxc_kcsp where ck_sn = '100001' and g_sn = ?"), {Goods(1)});
        raw.run(QStringLiteral("select * from jxc_lsxssp where id = ?"), {window->linesGrid()->value(0, QStringLiteral("id"))});
        raw.run(QStringLiteral("select a.ls_xsrq, b.gl_djh, b.ls_dj, b.ls_sl, b.ls_zje from jxc_lsxssp b join jxc_lsxsd a "
                               "on a.gl_djh = b.gl_djh where b.g_sn = ? and a.ls_status = 1 and a.kh_sn = '100001' "
                               "order by b.gl_djh desc, b.id desc limit 20"),
                {Goods(1)});
        raw.run(QStringLiteral("select a.j_jhrq, b.gl_djh, b.jh_dj, b.jh_sl, b.jh_zje from jxc_jhsp b join jxc_jhd a "
                               "on a.gl_djh = b.gl_djh where b.g_sn = ? and a.j_status = 1 order by b.gl_djh desc, b.id desc "
                               "limit 10"),
                {Goods(1)});
    });
    ReportTiming("line dialog opening", sele, seleRaw, 0);

    // ---- The picker: opening with a search keystroke, 300 into the basket, 确定 (information) ----
    std::unique_ptr<QDialog> pickerDialog(registry.create(QString::fromLatin1(sales::kPicker), QString(), context));
    auto *picker = static_cast<TF_Spxs_Add *>(pickerDialog.get());
    const Timing pickerOpen = MeasureRuns(kRuns, [&] {
        SetDocumentContext(picker, &window->documentContext());
        picker->show();
        QApplication::processEvents();
        picker->searchBox()->setText(QStringLiteral("商品9999"));
        QApplication::processEvents();
        picker->hide();
    });
    const ListStatement goods = SalePickerQuery(state).goods(QStringLiteral("100001"), QStringLiteral("100001"), {});
    const Timing pickerRaw = MeasureRuns(kRuns, [&] {
        raw.run(QStringLiteral("select * from jxc_goodsclass where gc_pid <> 0 order by gc_key"));
        raw.run(QStringLiteral("delete from jxc_tempspxf2 where a_name = 'admin'"));
        raw.run(QStringLiteral("select count(*) from (%1) c").arg(goods.body), goods.binds);
        raw.run(goods.body + QStringLiteral(" order by ") + goods.order + QStringLiteral(" limit 400"), goods.binds);
        const QString filtered = QStringLiteral("select * from (%1) f where f.g_name like ? or f.g_jm like ? or f.g_sn like ? "
                                                "or f.g_sptm like ? or f.gg_name like ? or f.color_name like ?")
                                     .arg(goods.body);
        QVariantList binds = goods.binds;
        for (int i = 0; i < 6; ++i)
            binds << QStringLiteral("%商品9999%");
        raw.run(QStringLiteral("select count(*) from (%1) c").arg(filtered), binds);
        raw.run(filtered + QStringLiteral(" limit 400"), binds);
    });
    ReportTiming("picker opening and a search keystroke over 100,000", pickerOpen, pickerRaw, 0);

    SetDocumentContext(picker, &window->documentContext());
    picker->show();
    QApplication::processEvents();
    picker->searchBox()->clear();
    QApplication::processEvents();
    QTableView *view = picker->listGrid()->view();
    const Timing batch = MeasureRuns(
        kRuns,
        [&] {
            view->selectionModel()->select(QItemSelection(view->model()->index(0, 0), view->model()->index(kBatch - 1, 0)),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
            picker->addSelected();
        },
        [&] {
            RunSql(db, QStringLiteral("delete from jxc_tempspxf2"));
            view->clearSelection();
        });
    const Timing batchRaw = MeasureRuns(
        kRuns,
        [&] {
            raw.run(begin);
            for (int i = 1; i <= kBatch; ++i) {
                const QString g = Goods(100000 - i);
                raw.run(QStringLiteral("select id from jxc_tempspxf2 where a_name = 'admin' and g_sn = ?"), {g});
                raw.run(QStringLiteral("select id from jxc_lsxssp where g_sn = ? and gl_djh = ? limit 1"), {g, number});
                raw.run(QStringLiteral("select g_lsj, dw_name, g_sptm from jxc_goods where g_sn = ?"), {g});
                raw.run(QStringLiteral("select kb_bj from jxc_khbj where kh_sn = '100001' and g_sn = ? limit 1"), {g});
                raw.run(QStringLiteral("select b.ls_dj from jxc_lsxssp b join jxc_lsxsd a on a.gl_djh = b.gl_djh where "
                                       "a.kh_sn = '100001' and b.g_sn = ? and a.ls_status = 1 order by a.ls_xsrq desc limit 1"),
                        {g});
                raw.run(QStringLiteral("select kc_sl, kc_cbj from jxc_kcsp where g_sn = ? and ck_sn = '100001'"), {g});
                raw.run(QStringLiteral("insert into jxc_tempspxf2 (g_sn, a_name, ts_dj, ts_sl, ts_zsl, ts_dzl, ts_je, ts_zje, "
                                       "ts_tax, ts_taxdj, ts_taxje, ts_lsj, ts_cbj, ts_zcb, ts_cbj2, ts_zhdj, dw_name, g_sptm, "
                                       "idck) values (?, 'admin', 2, 1, 1, 1, 2, 2, 0, 2, 0, 3, 1, 1, 1, 1, '个', ?, 0)"),
                        {g, Barcode(100000 - i)});
            }
            raw.run(QStringLiteral("commit"));
            raw.run(QStringLiteral("select count(*) from jxc_tempspxf2 where a_name = 'admin' and ts_dzl > 0"));
        },
        [&] { raw.run(QStringLiteral("delete from jxc_tempspxf2")); });
    ReportTiming("a batch of 300 into the basket", batch, batchRaw, 0);
    // What one batch put into the basket, so the figure above is read against what it did.
    RunSql(db, QStringLiteral("delete from jxc_tempspxf2"));
    view->clearSelection();
    view->selectionModel()->select(QItemSelection(view->model()->index(0, 0), view->model()->index(kBatch - 1, 0)),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    picker->addSelected();
    std::printf("    one batch: %d rows selected, %s rows in the basket\n",
                int(view->selectionModel()->selectedRows().size()),
                qPrintable(QueryScalar(db, QStringLiteral("select count(*) from jxc_tempspxf2 where a_name = 'admin'"))));
    RunSql(db, QStringLiteral("delete from jxc_tempspxf2"));
    view->clearSelection();

    SalePickerRules rules(db, state, clock, notices);
    auto fillBasket = [&] {
        RunSql(db, QStringLiteral("delete from jxc_lsxssp where gl_djh = ? and g_sn > ?"), {number, Goods(kDraftLines)});
        RunSql(db, QStringLiteral("delete from jxc_tempspxf2"));
        QList<SalePickedGoods> picked;
        for (int i = 1; i <= kBatch; ++i)
            picked << SalePickedGoods{Goods(100000 - i), 1000};
        rules.addDirect(window->documentContext(), picked, 1);
    };
    const Timing confirm = MeasureRuns(kRuns, [&] { rules.confirm(window->documentContext()); }, fillBasket);
    const Timing confirmRaw = MeasureRuns(
        kRuns,
        [&] {
            raw.run(begin);
            raw.run(QStringLiteral("delete from jxc_tempspxf2 where a_name = 'admin' and (g_sn is null or g_sn = '')"));
            raw.run(QStringLiteral("select id from jxc_lsxssp where gl_djh = ? and a_name <> 'admin' limit 1"), {number});
            raw.run(QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, a_name, ls_dj, ls_sl, ls_je, ls_zje, ls_zhje, ls_tax, "
                                   "ls_taxdj, ls_taxje, ls_dzl, ls_zsl, ls_cksl, ls_lsj, ls_cbj, ls_zcb, ls_cbj2, g_zhxs, "
                                   "dw_name, g_sptm, g_tmbz, gl_djh3, idck, t_zp) select ?, g_sn, a_name, ts_dj, ts_sl, ts_je, "
                                   "ts_zje, ts_zje, ts_tax, ts_taxdj, ts_taxje, ts_dzl, ts_zsl, ts_sl, ts_lsj, ts_cbj, ts_zcb, "
                                   "ts_cbj2, ts_zhdj, dw_name, g_sptm, '', '', idck, '' from jxc_tempspxf2 where a_name = "
                                   "'admin' order by id"),
                    {number});
            raw.run(QStringLiteral("delete from jxc_tempspxf2 where a_name = 'admin'"));
            raw.run(QStringLiteral("commit"));
        },
        [&] {
            raw.run(QStringLiteral("delete from jxc_lsxssp where gl_djh = ? and g_sn > ?"), {number, Goods(kDraftLines)});
            raw.run(QStringLiteral("delete from jxc_tempspxf2"));
            raw.run(QStringLiteral("insert into jxc_tempspxf2 (g_sn, a_name, ts_dj, ts_sl, ts_zsl, ts_dzl, ts_je, ts_zje, ts_tax, "
                                   "ts_taxdj, ts_taxje, ts_lsj, ts_cbj, ts_zcb, ts_cbj2, ts_zhdj, dw_name, g_sptm, idck) "
                                   "select g_sn, 'admin', 2, 1, 1, 1, 2, 2, 0, 2, 0, 3, 1, 1, 1, 1, '个', g_sptm, 0 from "
                                   "jxc_goods where g_sn > ? order by g_sn limit 300"),
                    {Goods(100000 - kBatch - 1)});
        });
    ReportTiming("确定 of a 300-row basket", confirm, confirmRaw, 0);
    picker->hide();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("JXC_HOME", dir.path().toLocal8Bit());
    const QString file = QStringLiteral("sales.db");
    return RunBenchOnTargets(
        BenchTargets(dir.path(), argc, argv), file,
        [](const QSqlDatabase &db) {
            fill(db);
            return QStringLiteral("%1 goods with stock, %2 unit and %3 extra barcodes, %4 ledger rows, a customer of %5 "
                                  "audited sales")
                .arg(kGoods)
                .arg(kUnitBarcodes)
                .arg(kExtraBarcodes)
                .arg(kLedgerRows)
                .arg(kCustomerSales);
        },
        [&file](const ConnectionSettings &s, const QSqlDatabase &) { run(s, file); });
}
