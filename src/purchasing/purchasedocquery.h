#pragma once

// The purchase document query ("进退货查询"): audited receipts and returns together as one
// document table, the goods summary of their ledger rows and the line table, with the period on
// the document or the check date, a keyword, a type filter (all, receipts, returns, documents
// still owing) and the advanced search's warehouse, operator and goods class. Also the tests of
// its payment and whole-return commands. Statements bind every value; the warehouse binding
// holds in every view; missing supplier, warehouse or handler rows show empty names.

#include "foundation/db/liststatement.h"

#include <QSqlDatabase>
#include <QString>

struct LoginState;

enum class DocQueryType { All, Receipts, Returns, Owing };  // "", "cj", "ct", "qk"

struct DocQueryCriteria
{
    QString from;               // "yyyy-MM-dd"
    QString to;                 // "yyyy-MM-dd"; the period ends at to + " 23:59:00"
    QString key;                // the keyword box
    bool byCheckDate = false;   // "审核日期" instead of "开单日期"
    bool descending = true;     // "倒序"
    DocQueryType type = DocQueryType::All;
    QString warehouse;          // advanced search: ck_sn, "" for all
    QString operatorName;       // advanced search: a_name, "" for all
    QString classCode;          // advanced search: goods class code prefix, "" for all
};

// The criteria of the advanced search "高级查询" as the query takes them.
struct DocSearchCriteria
{
    QString from;
    QString to;
    QString supplier;   // becomes the keyword
    QString warehouse;  // "-1": all
    QString operatorText;  // "所有操作员": all
    QString classCode;
};
// Applies a search's result to the query's criteria.
void ApplyDocSearch(DocQueryCriteria &c, const DocSearchCriteria &s);

class PurchaseDocQuery
{
public:
    PurchaseDocQuery(const QSqlDatabase &db, const LoginState &state) : m_db(db), m_state(state) {}

    // One row per document: djh, ghs_sn, ck_sn, rq, yfje, sfje, wfje, yhje, gtype ("采购进货" /
    // "采购退货"), u_sn, dnote, a_name, gl_djh2, j_th (a return: NULL), ghs_name, ghs_jm, u_name,
    // ck_name, dsort ("1" / "2"), ht_sn, checker, chkrq, hkje, j_yf, j_bzf, j_yffs.
    ListStatement documents(const DocQueryCriteria &c) const;
    // Per goods over the "cj" and "ct" ledger rows (or the filter's kind; "qk": the rows of the
    // documents still owing): sl, je, taxje, zje with the goods' columns and class name.
    ListStatement summary(const DocQueryCriteria &c) const;
    // The ledger rows themselves with the class name, the document's original number and note.
    ListStatement lines(const DocQueryCriteria &c) const;
    // Lower grid of the document table: the document's ledger rows by id.
    ListStatement documentRows(const QString &number) const;
    // Lower grid of the summary: goods `goods`'s rows under the summary's filters.
    ListStatement goodsRows(const DocQueryCriteria &c, const QString &goods) const;

private:
    // " and …" filters of the ledger views (kinds, period, keyword, binding, advanced search).
    QString ledgerFilter(const DocQueryCriteria &c, QVariantList &binds) const;
    QString ledgerOrder(const DocQueryCriteria &c) const;

    QSqlDatabase m_db;
    const LoginState &m_state;
};

// "采购付款" of document `number` of the document table: "" when it may be paid, else
// "该单据不需要付款！" (a receipt whose paid, discount and later payments reach its amount due;
// a return whose refunds are not above its negative amount due).
QString DocPaymentRefusal(const QString &number, double yfje, double sfje, double yhje, double hkje);

// "整单退货" from the query: "" when `number` is an audited receipt that may be returned whole;
// the refusal text otherwise; `found` false (and "") when no such receipt exists.
QString DocWholeReturnRefusal(const QSqlDatabase &db, const QString &number, bool *found);
