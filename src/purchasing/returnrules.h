#pragma once

// The purchase return being entered ("CT"): its number, its totals, the save with its stock
// test, the audit through the posting engine, and the whole-document return that copies an
// audited receipt's lines. Return headers store their amounts negated (th_yfje = −应收,
// th_sfje = −实收, th_fpje = −发票金额); lines stay positive. The entry grid is read-only: lines
// come only through the line dialog, the picker or a whole receipt.

#include "foundation/db/liststatement.h"
#include "purchasing/purchasesave.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

class Clock;
class Notices;
struct LoginState;

// What a whole-document return takes from its source receipt for the window's header.
struct WholeReturnSource
{
    QString receipt;        // the receipt's number, kept by the window until save or discard
    QString number;         // the return's number the lines went under
    QString supplierSn;
    QString supplierName;
    QString warehouseName;
    QString handlerName;
    QString note;
    QString invoiceNo;
    double invoiceAmount = 0.0;
    double paid = 0.0;      // 实收金额 := the receipt's j_sfje
    double payable = 0.0;   // 应收金额 := the total of the copied lines
};

class ReturnRules
{
public:
    ReturnRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // A new return's number: today's next "CT" number of jxc_thd.
    QString newNumber() const;

    // The operator's lines of `number` with the goods' name, short code, specification, colour
    // and stock, by id.
    ListStatement linesStatement(const QString &number) const;

    // 应收金额: Σ th_zje of every line under the number, the reserved "00000000" included,
    // rounded to TotalDecimals with RoundTotals.
    double payable(const QString &number) const;
    // 实收金额 after the lines changed: the payable with PurchasePaidDefault "0", else as typed.
    double paidAfterChange(double payable, double typedPaid) const;

    // "添加商品(F2)": refused with "请选择供货商！" when the trimmed supplier box is empty.
    bool mayAddLines(const QString &supplierText);

    // Saves the return: the refusals, CheckNegativeStock(number, warehouse, "CT") (with
    // AllowNegativeStock a question whose No stops, else a notice that stops), the confirmation,
    // then one transaction under the stem lock: the number tested against other operators' lines
    // (a new number drawn from jxc_thsp, the operator's lines moving), the header, the log of a
    // pending save and, for a whole-document return, the source receipt marked (j_th 1,
    // j_dhdid the return). With AuditOnSave the audit follows after the commit, behind
    // CheckBeforeAudit. `sourceReceipt`: the receipt of a whole-document return, else empty.
    PurchaseSaveResult save(const QString &number, int lines, const PurchaseHeaderInput &input,
                            const QString &sourceReceipt = QString());
    bool auditsOnSave() const;

    // Audits return `number` ("checkDj") through RunAuditPurchaseReturn; the engine's stock
    // question is asked and the audit repeated when the answer is yes. Nothing when the number
    // has no line. True when it was audited; a refusal or failure is shown.
    bool checkDj(const QString &number);

    // The whole-document return of receipt `receipt`: refused with "该单据已经进行过整单退货，
    // 不能重复退货！" when it was returned whole already; nullopt (nothing written) when the
    // receipt is not found. Otherwise in one transaction every receipt line, "00000000"
    // included, in receipt line order, becomes a return line of the operator under `number`
    // (a new number when another operator's lines hold it): th_ figures from the jh_ ones,
    // id2 0, gl_djh2 the receipt, idck the receipt line's id2. A database error shows
    // "整单退货失败：…".
    std::optional<WholeReturnSource> loadWholeReceipt(const QString &receipt, const QString &number, const QString &day);

    // Deletes the operator's line; the operator's lines of the number (No at closing).
    bool removeLine(qint64 lineId);
    void discard(const QString &number);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
