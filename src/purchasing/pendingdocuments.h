#pragma once

// The pending purchase documents (saved, not audited): the pending list and the lines of the
// chosen document as the pending page shows them, and the re-sum of a pending header after its
// lines changed.

#include "foundation/db/liststatement.h"
#include "purchasing/purchasedoc.h"
#include "purchasing/purchaselistdoc.h"

#include <QSqlDatabase>
#include <QString>

struct LoginState;

// The header of pending document `number` after its lines changed. Receipt and order: due = Σ
// jh_zje of its lines other than the reserved goods "00000000", total = Σ jh_zje of all (each
// rounded to TotalDecimals with RoundTotals); j_yfje = due and j_sfje = total, except that a
// document settled to payables (j_jsfs 1) keeps its paid amount when PurchasePaidDefault is on.
// Return: s = Σ th_zje of every line, rounded alike; th_yfje = −s and th_sfje = −s, the latter
// kept on the same condition (th_jsfs 1, PurchasePaidDefault on). Joins the caller's transaction.
void ResumPendingHeader(const QSqlDatabase &db, const LoginState &state, PurchaseKind kind, const QString &number);

class PendingPurchases
{
public:
    PendingPurchases(const QSqlDatabase &db, const LoginState &state, const PurchaseListDoc &doc)
        : m_db(db), m_state(state), m_doc(doc) {}

    // Pending documents of the kind (status 0) of every operator with the supplier's,
    // warehouse's and handler's names (left joins: a document whose record is gone still shows,
    // and its audit names what is missing), receipts and orders with wfje = j_yfje − j_sfje −
    // j_yhje; within the operator's warehouses when operators are bound to warehouses
    // (BindOperatorWarehouse "1", a role other than the administrator's); `key` (trimmed,
    // SafeText, taken literally, letter case ignored) in gl_djh, ck_name, ck_sn or the note;
    // `supplier` likewise in ghs_name, ghs_jm or ghs_sn ("全部供货商" and "当前供货商" count as
    // empty); by date, gl_djh, id, ascending or all descending.
    ListStatement list(const QString &key, const QString &supplier, bool descending) const;

    // Every line of `number` (all operators) with the goods' name, specification, colour,
    // maker, stock and note, by id; receipt and order lines also with the price after discount
    // dj = jh_dj × jh_dzl and the goods' shelf.
    ListStatement lines(const QString &number) const;

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    PurchaseListDoc m_doc;
};
