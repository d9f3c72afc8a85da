// Speed of the purchase receipt window on a large account set: 100,000 goods in 300 classes
// (barcodes, an auxiliary unit on every tenth), 2,000 audited receipts of 100 lines (200,000
// lines with their goods-ledger rows) and a draft receipt of 200 lines; offscreen, through the
// real TF_Cgjh with every question answered Yes:
//   one more barcode scanned into the 200-line receipt, from Enter until the grid shows the new
//   line and the totals (≤ 50 ms median);
//   saving and auditing a 200-line receipt dated today (AuditOnSave on), from F5 until the next
//   document shows (≤ 200 ms median);
//   for information: the picker's opening and a search over the 100,000 goods, a batch of 300
//   goods into the basket, 确定 of a 300-row basket, the line dialog's opening with its history.
// Each is printed beside a raw reference doing the same plain work through sqlite3 / libpq
// directly (the same statements, no screen) and the ratio. Median and worst of 7 runs. SQLite
// file, then PostgreSQL when JXC_BENCH_PG names a socket folder or host.

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
#include "purchasing/forms/cgjh.h"
#include "purchasing/forms/cgjh_add.h"
#include "purchasing/forms/purchasingscreens.h"
#include "purchasing/goodspicker.h"
#include "purchasing/purchaselinewriter.h"
#include "purchasing/receiptentry.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/datagrid.h"
#include "shell/forms/screenregistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <cstdio>
#include <memory>

namespace {

constexpr int kGoods = 100000;
constexpr int kClasses = 300;
constexpr int kReceipts = 2000;
constexpr int kLinesPerReceipt = 100;
constexpr int kDraftLines = 200;
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
    RunSql(db, series(kClasses)
                   + QStringLiteral("insert into jxc_goodsclass (gc_key, gc_pid, gc_sn, gc_name, gc_cid) select 100 + i, 1, ")
                   + text(QStringLiteral("2000 + i")) + QStringLiteral(", '类别' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 100 + i from s"));
    RunSql(db, series(kGoods)
                   + QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, dw_name, g_jj, g_scjj, g_pjjj, g_sptm, "
                                    "gc_sn, g_jy, g_cgpl, g_kc, g_zhxs, g_gdcbj) select ")
                   + text(QStringLiteral("30000000 + i")) + QStringLiteral(", '商品' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 'SP' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", '个', 1 + i % 97, 1 + i % 97, 1 + i % 97, ") + text(QStringLiteral("6900000000000 + i"))
                   + QStringLiteral(", ") + text(QStringLiteral("2001 + i % 300"))
                   + QStringLiteral(", 0, i % 50, 100, 1, 0 from s"));
    RunSql(db, series(kGoods / 10)
                   + QStringLiteral("insert into jxc_goodsdw (g_sn, dw_name, g_zhxs, g_jj, g_scjj, g_pjjj, g_sptm) select ")
                   + text(QStringLiteral("30000000 + i * 10")) + QStringLiteral(", '箱', 12, 12, 12, 12, ")
                   + text(QStringLiteral("1690000000000 + i * 10")) + QStringLiteral(" from s"));
    RunSql(db, series(kGoods)
                   + QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl, kc_zsl, kc_cbj, kc_zcb, kc_xssl) select ")
                   + text(QStringLiteral("30000000 + i")) + QStringLiteral(", '100001', 100, 100, 1 + i % 97, "
                                                                            "100 * (1 + i % 97), 0 from s"));
    RunSql(db, series(kReceipts)
                   + QStringLiteral("insert into jxc_jhd (gl_djh, ghs_sn, ck_sn, j_jhrq, j_yfje, j_sfje, u_sn, a_name, "
                                    "j_status, j_jsfs, j_kmmc, j_yhje, j_hkje, j_checker, j_chkrq) select 'CJ2401' || ")
                   + text(QStringLiteral("10000 + i")) + QStringLiteral(", '100001', '100001', '2024-01-01 10:00', 1000, "
                                                                        "1000, '100001', 'admin', 1, 1, '现金', 0, 0, "
                                                                        "'admin', '2024-01-01' from s"));
    const int lines = kReceipts * kLinesPerReceipt;
    RunSql(db, series(lines)
                   + QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, a_name, jh_dj, jh_sl, jh_je, jh_zje, jh_taxdj, "
                                    "jh_tax, jh_taxje, jh_dzl, jh_zsl, jh_rksl, dw_name) select 'CJ2401' || ")
                   + text(QStringLiteral("10001 + (i - 1) / 100")) + QStringLiteral(", ")
                   + text(QStringLiteral("30000001 + (i * 7919) % 100000"))
                   + QStringLiteral(", 'admin', 10, 10, 100, 100, 10, 0, 0, 1, 10, 10, '个' from s"));
    RunSql(db, QStringLiteral("insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, ck_sn, ck_name, ghs_sn, "
                              "ghs_name, gl_sl, gl_dj, gl_je, gl_zje, gl_pjjj, gl_dqkc, gl_kc, gl_kczje, a_name) "
                              "select 'cj', gl_djh, '2024-01-01 10:00', g_sn, '100001', '主仓库', '100001', "
                              "'普通供货商', jh_sl, jh_dj, jh_je, jh_zje, jh_dj, 100, 100, 1000, 'admin' from jxc_jhsp"));
    tx.commit();
}

// The 200 draft lines of admin under `number` (goods 1 … 200).
void draft(const QSqlDatabase &db, const QString &number)
{
    Transaction tx(db);
    RunSql(db, QStringLiteral("delete from jxc_jhsp where gl_djh = ? and a_name = 'admin'"), {number});
    for (int i = 1; i <= kDraftLines; ++i)
        RunSql(db,
               QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, a_name, jh_dj, jh_sl, jh_je, jh_zje, jh_taxdj, jh_tax, "
                              "jh_taxje, jh_dzl, jh_zsl, jh_rksl, dw_name, g_sptm) values (?, ?, 'admin', 2, 3, 6, 6, 2, 0, "
                              "0, 1, 3, 3, '个', ?)"),
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
    state.CurrentOperatorName = QStringLiteral("admin");
    state.CurrentOperatorSn = QStringLiteral("100001");
    state.CurrentRoleSn = QStringLiteral("100001");
    LoadSysParams(db, state, clock);
    state.RightShowCost = true;
    state.RightShowSalePrice = true;
    state.UseAuxUnits = QStringLiteral("1");
    YesNotices notices;
    ScreenRegistry registry;
    RegisterMasterdataScreens(registry);
    RegisterPurchasingScreens(registry);
    ScreenContext context;
    context.data = &data;
    context.state = &state;
    context.clock = &clock;
    context.notices = &notices;
    context.registry = &registry;
    RawDb raw(s, file);
    const bool lite = s.kind == DbKind::Sqlite;
    const QString begin = lite ? QStringLiteral("begin immediate") : QStringLiteral("begin");

    std::unique_ptr<QDialog> dialog(registry.create(QStringLiteral("TF_Cgjh"), QString(), context));
    auto *window = static_cast<TF_Cgjh *>(dialog.get());
    window->show();
    QApplication::processEvents();
    draft(db, window->number());
    window->reloadLines();

    // ---- One more barcode into the 200-line receipt ----
    const QString scanned = Barcode(5000);
    QLineEdit *box = window->barcodePanel()->entryBox();
    QString totals;
    const Timing scan = MeasureRuns(
        kRuns,
        [&] {
            box->setText(scanned);
            QTest::keyClick(box, Qt::Key_Return);
            totals = window->linesGrid()->footerText(QStringLiteral("jh_zje"));
        },
        [&] { RunSql(db, QStringLiteral("delete from jxc_jhsp where g_sn = ?"), {Goods(5000)}); });
    if (window->lineCount() != kDraftLines + 1)
        std::printf("    the grid shows %d lines\n", window->lineCount());
    const ListStatement linesSt = ReceiptEntry(db, state, notices).linesStatement(window->number());
    const Timing scanRaw = MeasureRuns(
        kRuns,
        [&] {
            raw.run(QStringLiteral("select g_sn, dw_name, g_jj from jxc_goods where g_sptm = ? order by id limit 1"), {scanned});
            raw.run(QStringLiteral("select a_name from jxc_jhsp where gl_djh = ?"), {window->number()});
            raw.run(QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, a_name, jh_dj, jh_taxdj, jh_sl, jh_je, jh_zje, jh_tax, "
                                   "jh_taxje, jh_dzl, jh_zsl, jh_rksl, dw_name, g_sptm) values (?, ?, 'admin', 5, 5, 1, 5, 5, 0, "
                                   "0, 1, 1, 1, '个', ?)"),
                    {window->number(), Goods(5000), scanned});
            raw.run(QStringLiteral("select count(*) from (%1) c").arg(linesSt.body), linesSt.binds);
            raw.run(linesSt.body + QStringLiteral(" order by a.id limit 400"), linesSt.binds);
            raw.run(QStringLiteral("select sum(jh_sl), sum(jh_zje), sum(jh_je), sum(jh_taxje) from jxc_jhsp where gl_djh = ? "
                                   "and a_name = ?"),
                    {window->number(), QStringLiteral("admin")});
            raw.run(QStringLiteral("select sum(jh_zje) from jxc_jhsp where gl_djh = ? and g_sn <> '00000000'"),
                    {window->number()});
        },
        [&] { raw.run(QStringLiteral("delete from jxc_jhsp where g_sn = ?"), {Goods(5000)}); });
    ReportTiming("one more barcode into 200 lines", scan, scanRaw, 50);
    RunSql(db, QStringLiteral("delete from jxc_jhsp where g_sn = ?"), {Goods(5000)});
    window->reloadLines();

    // ---- The line dialog's opening with its history (for information) ----
    const Timing sele = MeasureRuns(kRuns, [&] {
        std::unique_ptr<QDialog> d(registry.create(QStringLiteral("TF_Cgjh_Sele"), QString(), context));
        SetDocumentContext(d.get(), &window->documentContext());
        d->setProperty(handoff::LineTag, QStringLiteral("cgjh"));
        d->setProperty(handoff::GoodsCode, Goods(1));
        d->setProperty(handoff::LineId, window->linesGrid()->value(0, QStringLiteral("id")));
        d->show();
        QApplication::processEvents();
        d->close();
    });
    const ListStatement history = PurchaseLineWriter(db, state, notices, PurchaseKind::Receipt).history(Goods(1), QStringLiteral("100001"));
    const Timing seleRaw = MeasureRuns(kRuns, [&] {
        raw.run(QStringLiteral("select g_sn, g_name, gg_name, dw_name, g_sccs, color_name, g_bz, g_scjj, g_jj from jxc_goods "
                               "where g_sn = ?"),
                {Goods(1)});
        raw.run(QStringLiteral("select dw_name from jxc_goodsdw where g_sn = ? order by id"), {Goods(1)});
        raw.run(QStringLiteral("select kc_sl from jxc_kcsp where ck_sn = ? and g_sn = ?"), {QStringLiteral("100001"), Goods(1)});
        raw.run(QStringLiteral("select * from jxc_jhsp where id = ?"), {window->linesGrid()->value(0, QStringLiteral("id"))});
        raw.run(QStringLiteral("select count(*) from (%1) c").arg(history.body), history.binds);
        raw.run(history.body + QStringLiteral(" order by ") + history.order, history.binds);
    });
    ReportTiming("line dialog opening with its history", sele, seleRaw, 0);

    // ---- The picker: opening and a search, a batch of 300, 确定 of 300 rows (information) ----
    std::unique_ptr<QDialog> pickerDialog(registry.create(QStringLiteral("TF_Cgjh_Add"), QString(), context));
    auto *picker = static_cast<TF_Cgjh_Add *>(pickerDialog.get());
    const Timing pickerOpen = MeasureRuns(kRuns, [&] {
        SetDocumentContext(picker, &window->documentContext());
        picker->show();
        QApplication::processEvents();
        picker->searchBox()->setText(QStringLiteral("商品9999"));
        QApplication::processEvents();
        picker->hide();
    });
    const ListStatement goods = PickerGoodsStatement(db, state, PurchaseKind::Receipt, QStringLiteral("100001"),
                                                     QStringLiteral("100001"), PickerFilters());
    const Timing pickerRaw = MeasureRuns(kRuns, [&] {
        raw.run(QStringLiteral("select * from jxc_goodsclass order by gc_key"));
        raw.run(QStringLiteral("delete from jxc_tempspxf2 where a_name = 'admin'"));
        raw.run(QStringLiteral("select count(*) from (%1) c").arg(goods.body), goods.binds);
        raw.run(goods.body + QStringLiteral(" order by ") + goods.order + QStringLiteral(" limit 400"), goods.binds);
        const QString filtered = QStringLiteral("select * from (%1) f where f.g_name like ? or f.g_jm like ? or f.g_sn like ?")
                                     .arg(goods.body);
        QVariantList binds = goods.binds;
        binds << QStringLiteral("%商品9999%") << QStringLiteral("%商品9999%") << QStringLiteral("%商品9999%");
        raw.run(QStringLiteral("select count(*) from (%1) c").arg(filtered), binds);
        raw.run(filtered + QStringLiteral(" limit 400"), binds);
    });
    ReportTiming("picker opening and a search over 100,000", pickerOpen, pickerRaw, 0);

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
                raw.run(QStringLiteral("select id from jxc_tempspxf2 where a_name = 'admin' and g_sn = ?"), {Goods(i)});
                raw.run(QStringLiteral("select id from jxc_jhsp where g_sn = ? and gl_djh = ? limit 1"), {Goods(i), window->number()});
                raw.run(QStringLiteral("select g_jj, dw_name, g_sptm from jxc_goods where g_sn = ?"), {Goods(i)});
                raw.run(QStringLiteral("insert into jxc_tempspxf2 (g_sn, a_name, ts_dj, ts_sl, ts_zsl, ts_dzl, ts_je, ts_zje, "
                                       "ts_tax, ts_taxdj, ts_taxje, dw_name, g_sptm) values (?, 'admin', 2, 1, 1, 1, 2, 2, 0, "
                                       "2, 0, '个', ?)"),
                        {Goods(i), Barcode(i)});
            }
            raw.run(QStringLiteral("commit"));
            raw.run(QStringLiteral("select count(*) from jxc_tempspxf2 where a_name = 'admin' and ts_dzl > 0"));
        },
        [&] { raw.run(QStringLiteral("delete from jxc_tempspxf2")); });
    ReportTiming("a batch of 300 into the basket", batch, batchRaw, 0);

    const QString number = window->number();
    auto fillBasket = [&] {
        RunSql(db, QStringLiteral("delete from jxc_jhsp where gl_djh = ? and g_sn > ?"), {number, Goods(kDraftLines)});
        RunSql(db, QStringLiteral("delete from jxc_tempspxf2"));
        picker->show();
        QApplication::processEvents();
        view->clearSelection();
        view->selectionModel()->select(QItemSelection(view->model()->index(0, 0), view->model()->index(kBatch - 1, 0)),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        picker->addSelected();
    };
    const Timing confirm = MeasureRuns(kRuns, [&] { picker->okButton()->click(); }, fillBasket);
    const Timing confirmRaw = MeasureRuns(
        kRuns,
        [&] {
            raw.run(begin);
            raw.run(QStringLiteral("delete from jxc_tempspxf2 where a_name = 'admin' and (g_sn is null or g_sn = '')"));
            raw.run(QStringLiteral("select a_name from jxc_jhsp where gl_djh = ?"), {number});
            raw.run(QStringLiteral("select g_sn, ts_dj, ts_sl, ts_je, ts_tax, ts_taxdj, ts_taxje, ts_zje, ts_zsl, ts_dzl, "
                                   "ts_note, dw_name, g_sptm from jxc_tempspxf2 where a_name = 'admin' order by id"));
            for (int i = 1; i <= kBatch; ++i)
                raw.run(QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, a_name, jh_dj, jh_sl, jh_je, jh_tax, jh_taxdj, "
                                       "jh_taxje, jh_zje, jh_zsl, jh_dzl, jh_bz, dw_name, g_sptm, jh_rksl) values "
                                       "(?, ?, 'admin', 2, 1, 2, 0, 2, 0, 2, 1, 1, '', '个', ?, 1)"),
                        {number, Goods(kDraftLines + i), Barcode(i)});
            raw.run(QStringLiteral("delete from jxc_tempspxf2 where a_name = 'admin'"));
            raw.run(QStringLiteral("commit"));
            raw.run(QStringLiteral("select count(*) from (%1) c").arg(linesSt.body), linesSt.binds);
            raw.run(linesSt.body + QStringLiteral(" order by a.id limit 400"), linesSt.binds);
        },
        [&] {
            raw.run(QStringLiteral("delete from jxc_jhsp where gl_djh = ? and g_sn > ?"), {number, Goods(kDraftLines)});
        });
    ReportTiming("确定 of a 300-row basket", confirm, confirmRaw, 0);
    picker->hide();
    RunSql(db, QStringLiteral("delete from jxc_jhsp where gl_djh = ? and g_sn > ?"), {number, Goods(kDraftLines)});

    // ---- Save and audit of a 200-line receipt ----
    state.AuditOnSave = QStringLiteral("1");
    QString next;
    const Timing save = MeasureRuns(
        kRuns,
        [&] {
            QTest::keyClick(window->linesGrid()->view(), Qt::Key_F5);
            next = window->number();
        },
        [&] {
            draft(db, window->number());
            window->reloadLines();
            window->updateTotals();
            window->linesGrid()->view()->setFocus();
        });
    if (window->lineCount() != 0 || QueryScalar(db, QStringLiteral("select j_status from jxc_jhd where gl_djh <> ? order by id desc"),
                                                {next}) != QStringLiteral("1"))
        std::printf("    the receipt was not saved and audited\n");
    int rawSerial = 50000;
    QString rawNumber;
    const Timing saveRaw = MeasureRuns(
        kRuns,
        [&] {
            raw.run(begin);
            raw.run(QStringLiteral("select gl_djh from jxc_jhd where gl_djh = ?"), {rawNumber});
            raw.run(QStringLiteral("select a_name from jxc_jhsp where gl_djh = ?"), {rawNumber});
            raw.run(QStringLiteral("insert into jxc_jhd (gl_djh, ghs_sn, ck_sn, j_jhrq, j_yfje, j_sfje, u_sn, a_name, j_status, "
                                   "j_jsfs, j_kmmc, j_yhje, j_hkje) values (?, '100001', '100001', '2025-03-14 09:30', 1200, "
                                   "1200, '100001', 'admin', 0, 1, '现金', 0, 0)"),
                    {rawNumber});
            raw.run(QStringLiteral("update jxc_jhsp set jh_rksl = jh_sl, jh_qxsl = 0 where gl_djh = ?"), {rawNumber});
            raw.run(QStringLiteral("update jxc_jhd set j_status = 1, j_checker = 'admin', j_chkrq = '2025-03-14' where gl_djh = ?"),
                    {rawNumber});
            raw.run(QStringLiteral("insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, ck_sn, gl_sl, gl_dj, gl_je, gl_zje, "
                                   "a_name) select 'cj', gl_djh, '2025-03-14 09:30', g_sn, '100001', jh_sl, jh_dj, jh_je, jh_zje, "
                                   "a_name from jxc_jhsp where gl_djh = ? order by id"),
                    {rawNumber});
            raw.run(QStringLiteral("update jxc_kcsp set kc_sl = kc_sl + 3, kc_zsl = kc_zsl + 3, kc_zcb = kc_zcb + 6 where "
                                   "ck_sn = '100001' and g_sn in (select g_sn from jxc_jhsp where gl_djh = ?)"),
                    {rawNumber});
            raw.run(QStringLiteral("update jxc_goods set g_kc = g_kc + 3, g_scjj = 2, g_cgpl = g_cgpl + 1 where g_sn in "
                                   "(select g_sn from jxc_jhsp where gl_djh = ?)"),
                    {rawNumber});
            raw.run(QStringLiteral("insert into jxc_ysyfk (gl_djh, k_type, k_ghskh, k_rq, k_yfje, k_sfje, k_ljje) values "
                                   "(?, 'ghs', '100001', '2025-03-14 09:30', 1200, 1200, 0)"),
                    {rawNumber});
            raw.run(QStringLiteral("insert into jxc_xjyh (gl_djh, xj_kmmc, xj_rq) values (?, '现金', '2025-03-14 09:30')"),
                    {rawNumber});
            raw.run(QStringLiteral("insert into jxc_log (log_time, a_name, log_note) values ('2025-03-14 09:30', 'admin', ?)"),
                    {QStringLiteral("审核采购进货单") + rawNumber});
            raw.run(QStringLiteral("commit"));
            raw.run(QStringLiteral("select max(gl_djh) from jxc_jhd where gl_djh like 'CJ250314%'"));
        },
        [&] {
            rawNumber = QStringLiteral("CJ250314") + QString::number(++rawSerial);
            draft(db, rawNumber);
        });
    ReportTiming("save and audit of 200 lines, F5 to next", save, saveRaw, 200);
    window->hide();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("JXC_HOME", dir.path().toLocal8Bit());
    const QString file = QStringLiteral("receipts.db");
    return RunBenchOnTargets(
        BenchTargets(dir.path(), argc, argv), file,
        [](const QSqlDatabase &db) {
            fill(db);
            return QStringLiteral("%1 goods in %2 classes, %3 audited receipt lines with their ledger rows")
                .arg(kGoods)
                .arg(kClasses)
                .arg(kReceipts * kLinesPerReceipt);
        },
        [&file](const ConnectionSettings &s, const QSqlDatabase &) { run(s, file); });
}
