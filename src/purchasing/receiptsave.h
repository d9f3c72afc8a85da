#pragma once

// Saving the purchase receipt being entered (the entry page's "保存(F5)"): refusals in the
// screen's order, the confirmation, then in one transaction the number stem's posting lock,
// the number tests (a header anybody saved under the number, then other operators' lines) with
// the operator's lines moving to a fresh number, the header, the received quantities, the
// contract link, the settlement of paid ≠ due and the log line; with AuditOnSave the audit
// follows after the commit.

#include "purchasing/purchasedoc.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct LoginState;

struct ReceiptHeaderInput
{
    QString supplierText;    // the supplier box as it stands
    QString supplierSn;      // the supplier chosen (CurrentSupplierSn)
    QString warehouseSn;
    QString handlerText;     // the handler box's text
    QString handlerSn;
    QString day;             // "yyyy-MM-dd"
    double payable = 0.0;
    double paid = 0.0;
    int settleIndex = 1;     // 0 "按实付款结算", 1 "余款记入应付帐"
    QString accountText;     // the account box's text
    QString note;
    QString originalNo;
    QString invoiceNo;
    double invoiceAmount = 0.0;
    double freight = 0.0;
    double packing = 0.0;
    bool wePayFreight = true;  // the hidden "我方付费", always checked
    QString contractCode;      // a contract the window holds (none is set yet)
};

struct ReceiptSaveResult
{
    PurchaseStatus status = PurchaseStatus::Refused;
    QString number;          // the number saved under (after renumbering)
    bool audited = false;    // AuditOnSave audited it
    bool saved() const { return status == PurchaseStatus::Done; }
};

class ReceiptSave
{
public:
    ReceiptSave(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

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
};
