#pragma once

// Saving the purchase receipt being entered (the entry page's "保存(F5)"): refusals in the
// screen's order, the confirmation, then in one transaction the number stem's posting lock,
// the number tests (a header anybody saved under the number, then other operators' lines) with
// the operator's lines moving to a fresh number, the header, the received quantities, the
// contract link, the settlement of paid ≠ due and the log line; with AuditOnSave the audit
// follows after the commit.

#include "purchasing/purchasesave.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct LoginState;

using ReceiptHeaderInput = PurchaseHeaderInput;
using ReceiptSaveResult = PurchaseSaveResult;

class ReceiptSave
{
public:
    // The receipt's save, or the order's (kind Order): jxc_cgd/jxc_cgsp, no invoice, freight,
    // contract, stock-in or settlement line; j_qk 0 (not void); the audit is OrderAudit's.
    ReceiptSave(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                PurchaseKind kind = PurchaseKind::Receipt);

    // `lines`: how many lines the entry grid holds. Refusals ("单据中没有业务发生，不能保存！",
    // "请选择供货商！" — also when the box's trimmed text is not the chosen supplier's name —,
    // "请选择经办人！", "请选择仓库！") and the confirmation come first and write nothing. A
    // database error rolls everything back and shows "保存失败：" with its text.
    ReceiptSaveResult save(const QString &number, int lines, const ReceiptHeaderInput &input);

    // Whether saving audits at once: AuditOnSave off only for "0" and "False".
    bool auditsOnSave() const;

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    PurchaseKind m_kind;

    QString question(bool audit) const;
};
