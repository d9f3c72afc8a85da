#pragma once

// Change of date of a saved purchase receipt, return or order ("修改开单日期"): its date and
// with it its number, and its header fields (an order: no invoice, freight, stock test,
// settlement difference or contract; audited mode is the receipt's and the return's). The new number is the next of the chosen day,
// counted over the lines table; header and every line move in one transaction.

#include "purchasing/purchasedoc.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

class Clock;
class Notices;
struct LoginState;

// What the dialog opens with (left joins: a missing supplier, warehouse or handler shows empty).
struct DateChangeDoc
{
    PurchaseKind kind = PurchaseKind::Receipt;
    QString oldNumber;
    QString oldDay;          // "yyyy-MM-dd"
    QString storedDateTime;  // the header's date text as stored
    QString supplierSn;
    QString supplierName;
    QString warehouseName;
    QString handlerName;
    QString contract;        // ht_sn of a receipt
    QString note;
    int settleIndex = 1;
    QString accountName;
    double payable = 0;      // as shown: a return's sign turned
    double paid = 0;
    QString invoiceNo;
    double invoiceAmount = 0;
    double freight = 0;
    double packing = 0;
    bool wePay = false;      // j_yffs "我方付运费"
    QString originalNo;
};

struct DateChangeInput
{
    QString day;             // "yyyy-MM-dd"
    QString warehouseSn;
    QString supplierText;    // the supplier box
    QString supplierSn;      // the supplier chosen (the kept one unless another was taken)
    QString supplierName;    // that supplier's name
    QString handlerSn;
    QString note;
    int settleIndex = 1;
    QString accountText;
    double payable = 0;
    double paid = 0;
    QString invoiceNo;
    double invoiceAmount = 0;
    double freight = 0;
    double packing = 0;
    bool wePay = false;
    QString originalNo;
};

// Pending: a saved document not yet audited. Audited: opened from the purchase document query;
// the posting of the old number is taken back and the document posted again under the new one.
enum class DateChangeMode { Pending, Audited };

class DocDateChangeRules
{
public:
    DocDateChangeRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // The receipt ("CJ"), return ("CT") or order ("CD") `number`; none when it has no header.
    std::optional<DateChangeDoc> open(const QString &number) const;

    // The number shown for `day`: the old one on its own day, else the next of that day
    // counted over the lines table. Writes nothing.
    QString numberForDay(const DateChangeDoc &doc, const QString &day) const;

    // The save: the supplier box must hold the chosen supplier's name ("请选择供货商！"); a return
    // is tested for stock in the chosen warehouse first (question or refusal; No or a refusal
    // writes nothing). Then one transaction: the locks of the old header and the new number's
    // day, the old header still pending (else "单据<N>的状态已改变，请重新查询！"), a new number
    // when another operator took it, the header's fields, every line moved, the settlement
    // difference of a receipt settled by paid amount, its contract linked, and a receipt's
    // whole-return link to a renumbered return. A database error shows "更改日期失败：…".
    // Done carries the number saved.
    //
    // Audited: refused while a payment registration names the document ("单据<N>已有付款登记，
    // 不能修改日期！"); the cancel's checks and questions first (UnauditCheck with keepAudited; the
    // stock test only when the warehouse changes), a refusal or No writing nothing; then in the
    // one transaction the reversal of the old number, the header and lines, the discount as the
    // audit fixes it, and the posting under the new number.
    PurchaseResult save(const DateChangeDoc &doc, const QString &shownNumber, const DateChangeInput &in,
                        DateChangeMode mode = DateChangeMode::Pending);

private:
    PurchaseResult run(const DateChangeDoc &doc, const QString &shownNumber, const DateChangeInput &in, DateChangeMode mode);

    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
