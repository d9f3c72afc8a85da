#pragma once

// What the saves of the three purchase documents share: the header values the entry page
// gathers, the outcome, the refusals in the screen's order and the posting lock on the
// number's stem (prefix + yyMMdd) that keeps two saves of one day from drawing one number.

#include "engine/docsave.h"
#include "purchasing/purchasedoc.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;

struct PurchaseHeaderInput
{
    QString supplierText;    // the supplier box as it stands
    QString supplierSn;      // the supplier chosen (CurrentSupplierSn)
    QString warehouseSn;
    QString handlerText;     // the handler box's text
    QString handlerSn;
    QString day;             // "yyyy-MM-dd"
    double payable = 0.0;    // 应付 (应收 of a return), as shown
    double paid = 0.0;       // 实付 (实收 of a return), as typed
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

struct PurchaseSaveResult
{
    PurchaseStatus status = PurchaseStatus::Refused;
    QString number;          // the number saved under (after renumbering)
    bool audited = false;    // AuditOnSave audited it
    bool saved() const { return status == PurchaseStatus::Done; }
};

// The refusals of a save, shown in this order: "单据中没有业务发生，不能保存！" (no line),
// "请选择供货商！" (an empty box, or a text that is not the chosen supplier's name),
// "请选择经办人！", "请选择仓库！". True when the input may be saved; otherwise `result`
// holds Refused (or Failed with "保存失败：…" when the supplier could not be read).
bool AcceptPurchaseSaveInput(const QSqlDatabase &db, Notices &notices, int lines, const PurchaseHeaderInput &in,
                             PurchaseSaveResult &result);

// The paid amount saved: rounded to TotalDecimals with RoundTotals.
double SavedPaid(const LoginState &state, double paid);
