#pragma once

// The statements of the purchase documents' query page, for the document kind its description
// names: the audited documents (单据表), the goods summary of their ledger rows (汇总表), the
// ledger rows themselves (明细表), and the lower grid's rows of each. Every view of receipts and
// returns keeps the operator's warehouses when operators are bound to warehouses (the order's
// list has its warehouse box instead); typed texts are trimmed, passed through SafeText and
// compared literally, letter case ignored.
//
// The return's page has no supplier box: its key ("供货商/单据号：") is looked for in the
// number and the supplier's name and short code (明细表 and the summary's lower grid: number
// or the row's supplier name), its documents by number descending with yhje 0. The order's
// page (单据表 and 明细表 only) reads orders and their lines instead of ledger rows: the
// warehouse box, void orders hidden unless asked for, the key in number, note and supplier
// (明细表 also in the line's note and the goods' name, short code, code and specification),
// and each line's open quantity dsl = jh_sl − jh_rksl.

#include "foundation/db/liststatement.h"
#include "purchasing/purchaselistdoc.h"

#include <QSqlDatabase>
#include <QString>

struct LoginState;

struct PurchaseQueryCriteria
{
    QString from;      // "yyyy-MM-dd"
    QString to;        // "yyyy-MM-dd"; the period ends at to + " 23:59:00"
    QString supplier;  // supplier box
    QString key;       // key box
    // The order's audited list: the warehouse chosen ("-1" every one) and "显示作废单据".
    QString warehouse = QStringLiteral("-1");
    bool showVoid = false;
};

class PurchaseListQueries
{
public:
    PurchaseListQueries(const QSqlDatabase &db, const LoginState &state, const PurchaseListDoc &doc)
        : m_db(db), m_state(state), m_doc(doc) {}

    // 单据表: audited headers of the period with wfje (still owed: payable − paid − discount −
    // paid later), gtype "采购进货" (the return "采购退货") and the supplier's, warehouse's and
    // handler's names (left joins: a document whose record is gone still shows); the supplier
    // text in ghs_sn, ghs_name or ghs_jm, the key in gl_djh, gl_djh2 or the note; newest first.
    ListStatement documents(const PurchaseQueryCriteria &c) const;
    // 汇总表: per goods, over the kind's ledger rows of the period, Σ gl_sl (sl), gl_je (je),
    // gl_taxje (taxje), gl_zje (zje) with the goods' columns and class name, by the goods' id; the
    // supplier text in the row's supplier code, name or short code, the key in g_sn, g_name,
    // g_jm or gl_bz.
    ListStatement summary(const PurchaseQueryCriteria &c) const;
    // 明细表: the kind's ledger rows of the period with their goods' class name; a supplier text
    // keeps rows with a number whose ghs_sn or ghs_name holds it; by gl_kdrq, gl_djh, id.
    ListStatement details(const PurchaseQueryCriteria &c) const;

    // Lower grid of 单据表: the ledger rows of `number`, by id.
    ListStatement documentRows(const QString &number) const;
    // Lower grid of 汇总表: the kind's ledger rows of goods `goods` in the period whose supplier
    // code or name holds the supplier text (trimmed only), by id.
    ListStatement goodsRows(const PurchaseQueryCriteria &c, const QString &goods) const;

private:
    QString binding(const QString &column, QVariantList &binds) const;
    // The order list's warehouse and void filters on header alias `header`.
    void orderFilters(const PurchaseQueryCriteria &c, ListStatement &st, const QString &header) const;
    bool ret() const { return m_doc.kind == PurchaseKind::Return; }

    QSqlDatabase m_db;
    const LoginState &m_state;
    PurchaseListDoc m_doc;
};

// "整单退货" of an audited document: "" when receipt `number` may be returned whole, else the
// refusal ("单据<N>不能退货，只有“CJ”开头的单据才能退货！", "该单据已经进行过整单退货，不能重复退货！").
QString WholeReturnRefusal(const QSqlDatabase &db, const QString &number);
