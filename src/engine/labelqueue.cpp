#include "engine/labelqueue.h"

#include "engine/printsupport.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/sanitize.h"

#include <QSet>

#include <cmath>

QString LabelQueueSql()
{
    return QStringLiteral("select a.id, a.g_sn, b.g_name, b.g_sptm, b.g_sj, a.tm_sl "
                          "from jxc_tm a inner join jxc_goods b on a.g_sn = b.g_sn");
}

QString LabelPickerSql()
{
    return QStringLiteral("select g_sn, g_name, g_jm, g_sptm, g_sj from jxc_goods "
                          "where g_sn <> '00000000' and g_jy = 0 and g_sptm <> ''");
}

bool ReadLabelQuantity(const QString &text, double *quantity)
{
    const QString t = SafeText(text.trimmed());
    if (t.isEmpty())
        return false;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return false;
    if (quantity)
        *quantity = value;
    return true;
}

namespace {

// The queue row of a goods, or "" when it is not queued.
QString QueuedRowId(const QSqlDatabase &db, const QString &goods)
{
    return QueryScalar(db, QStringLiteral("select min(id) from jxc_tm where g_sn = ?"), {goods});
}

// Adds `quantity` labels of `goods`: summed into its queue row, else a new row.
void AddToQueue(const QSqlDatabase &db, const QString &goods, double quantity)
{
    const QString id = QueuedRowId(db, goods);
    if (id.isEmpty())
        RunSql(db, QStringLiteral("insert into jxc_tm (g_sn, tm_sl) values (?, ?)"), {goods, quantity});
    else
        RunSql(db, QStringLiteral("update jxc_tm set tm_sl = coalesce(tm_sl, 0) + ? where id = ?"),
               {quantity, id.toLongLong()});
}

} // namespace

LabelAddResult AddLabelByCode(const QSqlDatabase &db, Notices &notices, const QString &codeText,
                              const QString &quantityText)
{
    LabelAddResult result;
    const QString typed = codeText.trimmed();
    if (typed.isEmpty()) {
        result.text = QStringLiteral("请输入商品编号！");
        return result;
    }
    double quantity = 0;
    if (!ReadLabelQuantity(quantityText, &quantity)) {
        result.text = QStringLiteral("请输入打印数量！");
        return result;
    }
    const QString code = SafeText(typed);
    const QString goods = QueryScalar(db, QStringLiteral("select g_sn from jxc_goods where g_sn = ?"), {code});
    if (goods.isEmpty()) {
        result.text = QStringLiteral("系统中没有所查询的商品，请核对后输入！");
        return result;
    }
    if (!QueuedRowId(db, goods).isEmpty()) {
        if (!notices.confirm(QStringLiteral("商品编号已经存在，是否累加条码数量？"))) {
            result.outcome = LabelAddOutcome::Declined;
            return result;
        }
        AddToQueue(db, goods, quantity);
        result.outcome = LabelAddOutcome::Accumulated;
        return result;
    }
    AddToQueue(db, goods, quantity);
    result.outcome = LabelAddOutcome::Added;
    return result;
}

QString AddPickedLabels(const QSqlDatabase &db, const QStringList &goodsCodes, const QString &quantityText)
{
    double quantity = 0;
    if (!ReadLabelQuantity(quantityText, &quantity))
        return QStringLiteral("请输入打印数量！");
    Transaction tx(db);
    for (const QString &goods : goodsCodes) {
        if (!goods.isEmpty())
            AddToQueue(db, goods, quantity);
    }
    tx.commit();
    return QString();
}

QString SetLabelCount(const QSqlDatabase &db, const QVariant &queueId, const QString &countText)
{
    const QString t = countText.trimmed();
    double count = 0;
    if (!t.isEmpty()) {
        bool ok = false;
        count = t.toDouble(&ok);
        if (!ok || !std::isfinite(count))
            return QStringLiteral("数量不能小于0！");
    }
    if (count < 0)
        return QStringLiteral("数量不能小于0！");
    RunSql(db, QStringLiteral("update jxc_tm set tm_sl = ? where id = ?"), {count, queueId.toLongLong()});
    return QString();
}

void DeleteQueuedLabel(const QSqlDatabase &db, const QVariant &queueId)
{
    RunSql(db, QStringLiteral("delete from jxc_tm where id = ?"), {queueId.toLongLong()});
}

QString LabelRun::skippedNotice() const
{
    if (withoutBarcode.isEmpty())
        return QString();
    return QStringLiteral("以下商品没有条码，未打印：") + withoutBarcode.join(QStringLiteral("、"));
}

namespace {

// The queue with each goods' columns, and the labels per row (whole part of tm_sl, > 0 only).
LabelRun BuildRun(const QSqlDatabase &db, QStringList *codes)
{
    // Queue columns first under names of their own; the goods' columns follow whole.
    const DataSet queue = DataSet::read(
        db, QStringLiteral("select a.tm_sl as jxc_label_count, b.* from jxc_tm a "
                           "inner join jxc_goods b on a.g_sn = b.g_sn order by a.id"));
    QStringList goodsColumns = queue.columns();
    goodsColumns.removeFirst();
    QStringList columns{QStringLiteral("tm_code")};
    columns += goodsColumns;

    LabelRun run;
    run.rows = DataSet(columns);
    QSet<QString> named;
    for (int r = 0; r < queue.rowCount(); ++r) {
        const double count = std::trunc(TextToNumber(queue.value(r, 0)) + 0.000000001);
        if (count < 1)
            continue;
        const QString barcode = queue.value(r, QStringLiteral("g_sptm")).trimmed();
        if (barcode.isEmpty()) {
            const QString goods = queue.value(r, QStringLiteral("g_sn"));
            if (!named.contains(goods)) {
                named.insert(goods);
                const QString name = queue.value(r, QStringLiteral("g_name"));
                run.withoutBarcode << (name.isEmpty() ? goods : name);
            }
            continue;
        }
        QStringList values{barcode};
        for (int c = 1; c < queue.columns().size(); ++c)
            values << queue.value(r, c);
        for (qint64 i = 0; i < qint64(count); ++i) {
            run.rows.appendRow(values);
            if (codes)
                codes->append(barcode);
        }
    }
    return run;
}

} // namespace

LabelRun ReadLabelRows(const QSqlDatabase &db)
{
    return BuildRun(db, nullptr);
}

LabelRun PrepareLabelRun(const QSqlDatabase &db)
{
    Transaction tx(db);
    QStringList codes;
    LabelRun run = BuildRun(db, &codes);
    RunSql(db, QStringLiteral("delete from jxc_txm"));
    // Multi-row inserts: a sheet of a few thousand labels is a handful of statements.
    constexpr int kBlock = 200;
    for (int start = 0; start < codes.size(); start += kBlock) {
        const int n = std::min<int>(kBlock, int(codes.size()) - start);
        QStringList marks;
        QVariantList binds;
        for (int i = 0; i < n; ++i) {
            marks << QStringLiteral("(?)");
            binds << codes.at(start + i);
        }
        RunSql(db, QStringLiteral("insert into jxc_txm (tm_code) values ") + marks.join(QLatin1Char(',')), binds);
    }
    tx.commit();
    return run;
}

PrintJob LabelPrintJob(const LabelRun &run, const LoginState &state, const QString &templateFolder)
{
    PrintJob job = PrintJob::forTemplate(QString::fromLatin1(kLabelTemplate), templateFolder);
    job.setDataSet(QString::fromLatin1(kLabelDataSet), run.rows);
    job.decimals = PrintDecimals(state);
    return job;
}
