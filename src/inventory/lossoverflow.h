#pragma once

// The rules of the loss and overflow window TF_Bsby and its line dialog TF_Bsby_Sele: the entry
// grid's statement by type, the save, and the line dialog's opening and 确定 by mode.

#include "foundation/db/liststatement.h"
#include "inventory/inventorysave.h"
#include "inventory/transferlinewriter.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct DocumentContext;
struct LoginState;

struct LossHeaderInput
{
    QString warehouseSn;
    QString handlerSn, handlerText;
    QString day;  // "yyyy-MM-dd"
    QString note;
};

struct LossLineOpening
{
    InventoryGoodsLabels goods;
    double quantity = 1.0;
    double cost = 0.0;   // the hidden 单价
    QString note;
    QString batchNumber;
    QString batchId = QStringLiteral("0");
};

struct LossLineInput
{
    double quantity = 0.0;
    double cost = 0.0;
    QString note;
    QString batchNumber;
    QString batchId = QStringLiteral("0");
};

class LossOverflowRules
{
public:
    LossOverflowRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // The operator's lines of the number in jxc_bssp or jxc_bysp with the goods' g_name, g_jm,
    // dw_name, gg_name, color_name and sl, dj, zje, dnote; by id.
    ListStatement linesStatement(InventoryDoc doc, const QString &number) const;

    // "保存(F5)": "请选择商品！", "请选择经办人！", "请选择仓库！", then the shared save (ck_sn, u_sn,
    // the trimmed note through SafeTextKeepMath).
    InventorySaveResult save(InventoryDoc doc, const QString &number, int lines, const LossHeaderInput &input);

    // The line dialog. Opening: the goods and its stock in the document's warehouse, quantity 1,
    // no note, no batch; Draft and Pending take the line's quantity, note, batch and cost,
    // BasketModify the row's (the quantity as stored), BasketAdd the cost kc_cbj of the stock row
    // (0 without one).
    LossLineOpening open(const DocumentContext &context, InventoryLineMode mode, const QString &goods,
                         qint64 rowId) const;
    // 确定: "数量不能为0或负数，重新输入！" for a quantity of 0 or less; lines get the amount
    // round(cost × quantity) to TotalDecimals and the note trimmed through SafeTextKeepMath (a
    // loss line its batch too, a pending line the operator after its document was re-read under
    // its locks); basket rows the unrounded amount and ts_dzl 0. One transaction; the context
    // hears that its lines changed.
    InventoryResult write(DocumentContext &context, InventoryLineMode mode, const QString &goods, qint64 rowId,
                          const LossLineInput &input);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
