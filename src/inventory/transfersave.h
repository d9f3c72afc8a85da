#pragma once

// Saving the stock transfer being entered ("保存(F5)"): the refusals in the screen's order, the
// shortage of the out warehouse, then the shared save (inventorysave.h).

#include "inventory/inventorysave.h"

struct TransferHeaderInput
{
    QString outSn, outName;  // 调出仓库
    QString inSn, inName;    // 调入仓库
    QString handlerSn, handlerText;
    QString day;             // "yyyy-MM-dd"
    QString note;
};

class TransferSave
{
public:
    TransferSave(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // `lines`: the lines the entry grid holds. Refusals, nothing written: "没有调拨商品，不能保存！",
    // "请选择经办人！", "请选择调出仓库！", "请选择调入仓库！", "调出仓库与调入仓库不能相同！" (same
    // names); CheckNegativeStock on the out warehouse refuses (AllowNegativeStock off) or asks.
    // The header: ck_out, ck_in, u_sn, db_note through SafeTextKeepMath.
    InventorySaveResult save(const QString &number, int lines, const TransferHeaderInput &input);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
