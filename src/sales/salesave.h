#pragma once

// Saving the sale being entered (the entry page's "保存(F5)", F5 on any page, Yes on closing):
// the refusals in the screen's order, the stock question, the prepayment question, the
// confirmation; then in one transaction the number stem's posting lock, the header test with the
// operator's lines moving to a fresh number, the header, the contract link, the settlement of
// received ≠ due on the lines and the log line. With AuditOnSave the audit (SaleAuditRules)
// follows after the commit, so that a refused audit leaves a saved pending sale. The road is the
// purchase receipt's (engine/docsave.h).

#include "sales/saledoc.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct LoginState;

struct SaleHeaderInput
{
    QString customerText;   // the customer box as it stands
    QString customerSn;     // the customer chosen
    QString warehouseSn;
    QString handlerText;
    QString handlerSn;
    QString day;            // "yyyy-MM-dd"
    double due = 0.0;       // 应收, as shown
    double received = 0.0;  // 实收, as typed
    int settleIndex = 0;    // 0 "按实付款结算", 1 "余款记入应收帐"
    QString accountText;    // the account list's text
    QString note;
    QString originalNo;
    QString invoiceNo;
    double invoiceAmount = 0.0;
    double freight = 0.0;
    double packing = 0.0;
    bool wePayFreight = true;  // the hidden "我方付费", always checked
    QString contractCode;      // a contract the window holds
    double wholeDiscount = 1.0;  // 整单折扣
};

struct SaleSaveResult
{
    SaleStatus status = SaleStatus::Refused;
    QString number;         // the number saved under (after renumbering)
    bool audited = false;   // saved and audited at once
    bool saved() const { return status == SaleStatus::Done; }
};

// "该客户当前的预付款余额为：<−B>，…继续保存吗？" when the customer's balance B on the partner
// account (GetPartnerBalanceAt up to 9999-12-31) leaves −B below due − received; else "".
QString PrepaymentShortQuestion(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                const QString &customer, double due, double received);

class SaleSaveRules
{
public:
    SaleSaveRules(const QSqlDatabase &db, LoginState &state, const Clock &clock, Notices &notices);

    // `lines`: how many lines the entry grid holds. A database error rolls the transaction back
    // and shows "保存失败：" with its text (status Failed); refusals and a No write nothing.
    SaleSaveResult save(const QString &number, int lines, const SaleHeaderInput &input);

    // Whether saving audits at once: AuditOnSave off only for "0" and "False".
    bool auditsOnSave() const;

private:
    QSqlDatabase m_db;
    LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
