#pragma once

// Changes made from a pending page to a saved, not yet audited purchase document: deleting one
// of its lines or the whole document, and the state guard every write into such a document
// takes (another workstation may have audited it since the list was read).

#include "purchasing/purchasedoc.h"
#include "purchasing/purchaselistdoc.h"

#include <QSqlDatabase>
#include <QString>

#include <stdexcept>

class Clock;
class Notices;
struct LoginState;

// Raised inside a write when the document is no longer pending; its text is
// "单据<N>的状态已改变，请重新查询！". The write's transaction rolls back.
class PendingStateChanged : public std::runtime_error
{
public:
    explicit PendingStateChanged(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// Inside the caller's transaction: the header rows of `number` locked and read again; raises
// PendingStateChanged unless the number has a pending header and no audited one.
void RequirePendingPurchase(const QSqlDatabase &db, PurchaseKind kind, const QString &number);
// The same for a write that needs the document audited (an order's cancel-audit and void).
void RequireAuditedPurchase(const QSqlDatabase &db, PurchaseKind kind, const QString &number);

class PendingDocEdits
{
public:
    PendingDocEdits(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                    const PurchaseListDoc &doc);

    // "删除商品": asks "您确定要删除当前选中的商品吗！"; on Yes, in one transaction, the line
    // `lineId` of `number` is deleted; the header is re-summed while lines remain, else deleted
    // (a receipt's with the log line "因删除单据的所有商品而删除<单据名>：" + number; a return's
    // and an order's without, a whole return freeing its source receipt). Done's number is
    // empty when the document went with its last line.
    PurchaseResult deleteLine(const QString &number, qint64 lineId);

    // "删除单据": asks "您确定要删除“待审核”单据吗！"; on Yes, in one transaction, every header
    // and every line of `number` (all operators) go, the log line "删除<单据名>：" + number is
    // written and the header's contract is dropped; a return frees the receipt it returned
    // whole (j_th 0, j_dhdid "").
    PurchaseResult deleteDocument(const QString &number);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    PurchaseListDoc m_doc;
};
