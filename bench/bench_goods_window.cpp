// Speed of the goods window TF_Spxxgl "商品信息管理" on 100,000 goods in 220 classes (20 classes
// of 10 sub-classes each), offscreen, each measured until the grid's first rows are painted:
//   opening the window: class tree, list, footer (≤ 0.3 s);
//   a click on a sub-class in the tree: the list filtered to the class (≤ 0.3 s);
//   a pinyin search typed into the search box: the list filtered by the short code (≤ 0.3 s);
//   for information, the same search typed key by key (a filter per key), and the Enter search
//   of 回车查询 (parameter cs_hcj) with its class click.
// Each beside a raw reference reading the same through sqlite3 / libpq directly: the classes,
// the count and first block of 400 rows of the list's statement, the footer's stock total.
// Median and worst of 5 runs. SQLite file, then PostgreSQL when JXC_BENCH_PG names a socket
// folder or host.

#include "benchraw.h"
#include "benchsupport.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/pinyin.h"
#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/spxxgl.h"
#include "masterdata/goodsclassrules.h"
#include "masterdata/goodslistquery.h"
#include "screenkit/datagrid.h"
#include "screenkit/gridmodel.h"
#include "shell/forms/screenregistry.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr int kGoods = 100000;
constexpr int kTopClasses = 20;
constexpr int kSubClasses = 10;
constexpr int kRuns = 5;
constexpr int kBlock = 400;  // the rows a grid reads first

const char *const kBrands[] = {"可口可乐", "百事", "康师傅", "统一", "农夫山泉", "娃哈哈", "伊利", "蒙牛", "雀巢", "旺旺"};
const char *const kProducts[] = {"矿泉水", "绿茶", "红茶", "方便面", "牛奶", "饼干", "果汁", "咖啡", "酸奶", "薯片"};
// 康师傅方便面: one goods in a hundred.
const QString kPinyin = QStringLiteral("KSFFBM");

class QuietNotices final : public Notices
{
public:
    void notice(const QString &) override {}
    Answer ask(const QString &, bool) override { return Answer::Yes; }
    void error(const QString &) override {}
};

// Counts the paints of a widget.
class PaintCounter final : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The classes through the class rules (codes as the program gives them); the goods by SQL,
// spread over the sub-classes, names of a brand and a product with their pinyin short code.
// Returns the sub-class codes.
QStringList fill(const QSqlDatabase &db)
{
    QuietNotices notices;
    GoodsClassRules rules(db, notices);
    QStringList subClasses;
    for (int t = 0; t < kTopClasses; ++t) {
        const std::optional<GoodsClassRow> top = rules.create(1);
        if (!top)
            throw DbError(QStringLiteral("class"));
        rules.rename(top->key, QStringLiteral("类别%1").arg(t + 1));
        for (int c = 0; c < kSubClasses; ++c) {
            const std::optional<GoodsClassRow> sub = rules.create(top->key);
            if (!sub)
                throw DbError(QStringLiteral("sub-class"));
            rules.rename(sub->key, QStringLiteral("类别%1-%2").arg(t + 1).arg(c + 1));
            subClasses << sub->sn;
        }
    }
    const Dialect d = Dialect::of(db);
    auto text = [&](const QString &expr) { return d.castText(expr); };
    Transaction tx(db);
    DropTableIfExists(db, QStringLiteral("bench_words"));
    RunSql(db, QStringLiteral("create table bench_words (kind int, n int, w varchar(32), py varchar(32))"));
    for (int n = 0; n < 10; ++n) {
        for (int kind = 0; kind < 2; ++kind) {
            const QString w = QString::fromUtf8(kind == 0 ? kBrands[n] : kProducts[n]);
            RunSql(db, QStringLiteral("insert into bench_words (kind, n, w, py) values (?, ?, ?, ?)"), {kind, n, w, GetPY(w)});
        }
    }
    DropTableIfExists(db, QStringLiteral("bench_classes"));
    RunSql(db, QStringLiteral("create table bench_classes (n int, gc_sn varchar(32))"));
    for (int i = 0; i < subClasses.size(); ++i)
        RunSql(db, QStringLiteral("insert into bench_classes (n, gc_sn) values (?, ?)"), {i, subClasses.at(i)});
    RunSql(db, QStringLiteral("with recursive s(i) as (select 1 union all select i + 1 from s where i < %1) ").arg(kGoods)
                   + QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, dw_name, gg_name, color_name, g_sptm, gc_sn, "
                                    "g_jj, g_sj, g_lsj, g_kc, g_zdkc, g_zhxs, g_jy, g_iszp, g_gdcbj, g_tc, g_sccs, g_bz) "
                                    "select ")
                   + text(QStringLiteral("20000000 + i")) + QStringLiteral(", b.w || p.w || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", b.py || p.py || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", '瓶', '500ml', '红色', ") + text(QStringLiteral("6900000000000 + i"))
                   + QStringLiteral(", c.gc_sn, 1 + i % 97, 2 + i % 97, 2.5 + i % 97, i % 50, 5, 1, "
                                    "case when i % 100 = 0 then 1 else 0 end, 0, 0, 0, '厂商', '' "
                                    "from s join bench_words b on b.kind = 0 and b.n = i % 10 "
                                    "join bench_words p on p.kind = 1 and p.n = (i / 10) % 10 "
                                    "join bench_classes c on c.n = i % ")
                   + QString::number(subClasses.size()));
    RunSql(db, QStringLiteral("drop table bench_words"));
    RunSql(db, QStringLiteral("drop table bench_classes"));
    tx.commit();
    return subClasses;
}

struct Window
{
    Window(const ScreenContext &context) : w(context)
    {
        w.grid()->view()->viewport()->installEventFilter(&painted);
    }
    // Until the events are handled: the grid's rows painted.
    void settle()
    {
        QApplication::processEvents();
    }
    SqlGridModel *model() const { return static_cast<SqlGridModel *>(w.grid()->model()); }

    TF_Spxxgl w;
    PaintCounter painted;
};

// Count and first block of the grid's statement and the footer's stock total, as plain reads.
struct RawRead
{
    QString list;
    QVariantList listBinds;
    QString total;
    QVariantList totalBinds;
};

RawRead rawReadOf(const Window &window, const QSqlDatabase &db, const QString &search, const QString &classCode)
{
    RawRead r;
    r.list = window.model()->selectSql(&r.listBinds);
    const Dialect d = Dialect::of(db);
    r.total = QStringLiteral("select sum(g_kc) from jxc_goods where g_jy = 0");
    if (!search.isEmpty()) {
        QStringList parts;
        for (const QString &f : GoodsSearchFields()) {
            parts << d.likeClause(f);
            r.totalBinds << Dialect::containsPattern(search);
        }
        r.total += QStringLiteral(" and (") + parts.join(QStringLiteral(" or ")) + QLatin1Char(')');
    }
    if (!classCode.isEmpty()) {
        r.total += QStringLiteral(" and ") + d.likeClause(QStringLiteral("gc_sn"));
        r.totalBinds << Dialect::startsWithPattern(classCode);
    }
    return r;
}

void rawRun(RawDb &raw, const RawRead &r, bool classes)
{
    if (classes)
        raw.run(QStringLiteral("select id, gc_key, gc_pid, gc_cid, gc_sn, gc_name, gc_jm from jxc_goodsclass "
                               "order by gc_key, id"));
    raw.run(QStringLiteral("select count(*) from (%1) c").arg(r.list), r.listBinds);
    raw.run(r.list + QStringLiteral(" limit %1").arg(kBlock), r.listBinds);
    raw.run(r.total, r.totalBinds);
}

void checkPainted(Window &window, int before, const char *what)
{
    if (window.painted.paints <= before)
        std::printf("    %s: the grid was not painted\n", what);
}

void measureMode(const ConnectionSettings &s, const QString &file, ScreenContext &context, LoginState &state,
                 const QString &classCode, bool enterSearch)
{
    state.PickerEnterSearch = enterSearch ? QStringLiteral("1") : QStringLiteral("0");
    const QSqlDatabase db = context.data->mainDb();
    RawDb raw(s, file);
    const char *mode = enterSearch ? "  (回车查询)" : "";

    // Opening.
    int rows = 0;
    RawRead openRead;
    const Timing open = MeasureRuns(kRuns, [&] {
        Window window(context);
        window.w.show();
        window.settle();
        checkPainted(window, 0, "open");
        rows = window.w.grid()->rowCount();
        if (openRead.list.isEmpty())
            openRead = rawReadOf(window, db, QString(), QString());
        window.w.close();
    });
    const Timing openRaw = MeasureRuns(kRuns, [&] { rawRun(raw, openRead, true); });
    ReportTiming(qPrintable(QStringLiteral("open TF_Spxxgl, %1 rows%2").arg(rows).arg(QString::fromUtf8(mode))), open,
                 openRaw, enterSearch ? 0 : 300);

    Window window(context);
    window.w.show();
    window.settle();

    // The program keeps the window and shows it again: the list is loaded again and starts on its
    // first row (the goods made current here is not kept).
    window.w.grid()->locate(QStringLiteral("g_sn"), QStringLiteral("20050000"));
    int before = 0;
    const Timing reopen = MeasureRuns(
        kRuns,
        [&] {
            window.w.show();
            window.settle();
        },
        [&] {
            window.w.hide();
            window.settle();
            before = window.painted.paints;
        });
    checkPainted(window, before, "reopen");
    ReportTiming(qPrintable(QStringLiteral("show the kept window again%1").arg(QString::fromUtf8(mode))), reopen, openRaw,
                 enterSearch ? 0 : 300);

    // A class click and back to the root (not timed).
    const auto toRoot = [&] {
        window.w.classTree()->selectRoot();
        window.w.classClicked();
        window.settle();
    };
    const Timing byClass = MeasureRuns(
        kRuns,
        [&] {
            window.w.classTree()->selectBySn(classCode);
            window.w.classClicked();
            window.settle();
            rows = window.w.grid()->rowCount();
        },
        [&] {
            toRoot();
            before = window.painted.paints;
        });
    checkPainted(window, before, "class");
    const RawRead classRead = rawReadOf(window, db, QString(), classCode);
    toRoot();
    const Timing byClassRaw = MeasureRuns(kRuns, [&] { rawRun(raw, classRead, false); });
    ReportTiming(qPrintable(QStringLiteral("class click, %1 rows%2").arg(rows).arg(QString::fromUtf8(mode))), byClass,
                 byClassRaw, enterSearch ? 0 : 300);

    // The pinyin search: the whole text at once (pasted, or the last key), Enter in 回车查询.
    QLineEdit *box = window.w.searchBox();
    const auto clearSearch = [&] {
        box->clear();
        if (enterSearch)
            Q_EMIT box->returnPressed();
        else
            Q_EMIT box->textEdited(QString());
        window.settle();
        before = window.painted.paints;
    };
    const Timing search = MeasureRuns(
        kRuns,
        [&] {
            box->setText(kPinyin);
            if (enterSearch)
                Q_EMIT box->returnPressed();
            else
                Q_EMIT box->textEdited(kPinyin);
            window.settle();
            rows = window.w.grid()->rowCount();
        },
        clearSearch);
    checkPainted(window, before, "search");
    const RawRead searchRead = rawReadOf(window, db, kPinyin, QString());
    clearSearch();
    const Timing searchRaw = MeasureRuns(kRuns, [&] { rawRun(raw, searchRead, false); });
    ReportTiming(qPrintable(QStringLiteral("pinyin search \"%1\", %2 rows%3").arg(kPinyin).arg(rows).arg(QString::fromUtf8(mode))),
                 search, searchRaw, enterSearch ? 0 : 300);

    if (!enterSearch) {
        // Typed key by key: a filter per key.
        const Timing typed = MeasureRuns(
            kRuns,
            [&] {
                QString t;
                for (const QChar c : kPinyin) {
                    t += c;
                    box->setText(t);
                    Q_EMIT box->textEdited(t);
                    window.settle();
                }
            },
            clearSearch);
        // The raw reference of the typing: each prefix's reads.
        std::vector<RawRead> prefixes;
        QString t;
        for (const QChar c : kPinyin) {
            t += c;
            box->setText(t);
            Q_EMIT box->textEdited(t);
            prefixes.push_back(rawReadOf(window, db, t, QString()));
        }
        clearSearch();
        const Timing typedRaw = MeasureRuns(kRuns, [&] {
            for (const RawRead &r : prefixes)
                rawRun(raw, r, false);
        });
        ReportTiming("the search typed key by key (6 filters)", typed, typedRaw, 0);
    }
    window.w.close();
}

void run(const ConnectionSettings &s, const QString &file, const QString &classCode)
{
    DataModule data(s);
    data.OpenMainDatabase(file);
    const QSqlDatabase db = data.mainDb();
    FixedClock clock(QDateTime(QDate(2025, 3, 14), QTime(9, 0)));
    LoginState state;
    SignInBenchAdministrator(db, state, clock);
    QuietNotices notices;
    ScreenRegistry registry;
    RegisterMasterdataScreens(registry);
    ScreenContext context;
    context.data = &data;
    context.state = &state;
    context.clock = &clock;
    context.notices = &notices;
    context.registry = &registry;
    measureMode(s, file, context, state, classCode, false);
    measureMode(s, file, context, state, classCode, true);
}

}  // namespace

// The offscreen platform's notes on window hints say nothing about speed.
static void quiet(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtDebugMsg && !text.contains(QLatin1String("propagateSizeHints")))
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    // The window keeps its column layout under the program folder's data: a folder of its own.
    qputenv("JXC_HOME", dir.path().toUtf8());
    const QString file = QStringLiteral("goodswindow.db");
    for (const ConnectionSettings &s : BenchTargets(dir.path(), argc, argv)) {
        try {
            QString classCode;
            {
                QSqlDatabase db = CreateBenchSet(s, file);
                QElapsedTimer t;
                t.start();
                const QStringList classes = fill(db);
                // Goods i is in sub-class i % 200 and disabled when i % 100 == 0: sub-class 100
                // holds only disabled goods, which the list leaves out; 101 holds 500 shown ones.
                classCode = classes.value(classes.size() / 2 + 1);
                SettleStatistics(db);
                std::printf("%s: %d goods in %lld classes built in %.1f s\n", DialectName(s), kGoods,
                            static_cast<long long>(classes.size()) + kTopClasses, t.elapsed() / 1000.0);
            }
            CloseConnection(QStringLiteral("bench"));
            run(s, file, classCode);
            DropDatabase(s, file);
        } catch (const DbError &e) {
            std::printf("failed: %s\n", qPrintable(e.text()));
            return 1;
        }
    }
    return 0;
}
