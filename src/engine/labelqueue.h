#pragma once

// The barcode-label queue (jxc_tm) and the label print run (jxc_txm, template "txm").
//
// The queue holds one row per goods with the number of labels; the label screen adds goods by
// code or from the goods picker, changes and deletes rows, and prints. A print rewrites
// jxc_txm (one row per label, in queue order) and builds the label rows from the queue itself:
// each queued goods gives its count of rows with that goods' columns, so a goods without a
// barcode never picks up the labels of other barcode-less goods, and two goods sharing a
// barcode never double each other's labels. Goods without a barcode are left out and named.

#include "report/model/reportoutput.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

class Notices;
struct LoginState;

// The queue as the screen lists it (Q_Tm): id, g_sn, g_name, g_sptm, g_sj, tm_sl.
QString LabelQueueSql();
inline QString LabelQueueOrder() { return QStringLiteral("a.id"); }

// The goods picker (Q_Goods8): active goods with a barcode, without the reserved goods.
QString LabelPickerSql();
inline QString LabelPickerOrder() { return QStringLiteral("g_sn"); }

// The number typed in the quantity box; false for an empty or unreadable text.
bool ReadLabelQuantity(const QString &text, double *quantity);

enum class LabelAddOutcome { Added, Accumulated, Declined, Refused };
struct LabelAddResult
{
    LabelAddOutcome outcome = LabelAddOutcome::Refused;
    QString text;  // the refusal shown
};

// "增加(F4)": adds the goods whose code is typed with the typed quantity. Refusals come back
// as text ("请输入商品编号！", "请输入打印数量！", "系统中没有所查询的商品，请核对后输入！"); a
// queued goods asks "商品编号已经存在，是否累加条码数量？" (No: nothing changes).
LabelAddResult AddLabelByCode(const QSqlDatabase &db, Notices &notices, const QString &codeText,
                              const QString &quantityText);

// The picker's "确定(F5)": every chosen goods with the quantity, summed into a queued row
// without asking. "" or the refusal ("请输入打印数量！").
QString AddPickedLabels(const QSqlDatabase &db, const QStringList &goodsCodes, const QString &quantityText);

// TF_Tmdy_Modi: writes the number of labels of one queue row. "" or "数量不能小于0！" (also
// for an unreadable text, which is read as nothing typed).
QString SetLabelCount(const QSqlDatabase &db, const QVariant &queueId, const QString &countText);

void DeleteQueuedLabel(const QSqlDatabase &db, const QVariant &queueId);

struct LabelRun
{
    DataSet rows;              // one row per label: tm_code and the goods' columns
    QStringList withoutBarcode;  // names of queued goods with labels to print but no barcode
    // "以下商品没有条码，未打印：" and the names, or "" when every goods had its barcode.
    QString skippedNotice() const;
};

// The label rows of the queue, read only (the editor's preview of 条码设置).
LabelRun ReadLabelRows(const QSqlDatabase &db);

// "打印": rewrites jxc_txm in one transaction and returns the label rows.
LabelRun PrepareLabelRun(const QSqlDatabase &db);

// The job of a label run: template "txm.fr3", data set Q_GoodsPrin, the login state's decimals.
PrintJob LabelPrintJob(const LabelRun &run, const LoginState &state, const QString &templateFolder = {});

inline constexpr const char *kLabelTemplate = "txm.fr3";
inline constexpr const char *kLabelDataSet = "Q_GoodsPrin";
