#pragma once

// How the purchase document family is described to its shared list pages and list rules: the
// document type (tables, number prefix, line columns) and around it what the pending and query
// pages need — the header's column prefix, date and status columns, the sign of stored header
// amounts, the ledger kind its audit writes, the log wording, the templates and the rights. The
// receipt, return and order windows configure the same pages and rules with these.

#include "engine/pendingdocs.h"
#include "purchasing/purchasedoc.h"

#include <QString>

struct PurchaseListDoc
{
    PurchaseKind kind = PurchaseKind::Receipt;
    DocType type;
    QString headerPrefix;    // "j_" (receipt, order), "th_" (return)
    QString dateColumn;      // j_jhrq / th_thrq
    QString statusColumn;    // j_status / th_status
    QString noteColumn;      // j_note / th_note
    QString lineTotal;       // jh_zje / th_zje
    int amountSign = 1;      // −1: header amounts stored negative (the return)
    QString ledgerFlag;      // "cj" / "ct": the ledger rows its audit writes
    QString logName;         // "采购进货单" in the log lines
    QString printTag;        // "cgjh": SetPrintVariables' tag and the stored document's tag
    QString pendingTemplate; // "cgjhdsh"
    QString documentsTemplate;  // "cgjhdjb"
    QString summaryTemplate;    // "cgjhhzb"
    QString detailsTemplate;    // "cgjhmxb"
    QString documentsTitle;     // bTitle of the document table's print
    // Rights of the module "cggl"; 0: not gated.
    int deleteRight = 16;
    int addLinesRight = 18;
    int auditRight = 2;
    int unauditRight = 3;
    // The query page: a supplier box of its own (the receipt's), the key box's caption, the
    // views it offers (the order has no 汇总表) and the lower grid under 汇总表.
    bool querySupplierBox = true;
    QString queryKeyCaption;    // "" : the view's caption (单据编号或备注： / 商品名称或编码：)
    bool summaryView = true;
    // The text of 取消审核 outside 单据表.
    QString unauditOutsideDocuments;

    QString headerColumn(const char *tail) const { return headerPrefix + QString::fromLatin1(tail); }
};

// The receipt's (CJ), the return's (CT) and the order's (CD) description.
PurchaseListDoc PurchaseListDocOf(PurchaseKind kind);

// The same kind described to the shared pending-document rules (engine/pendingdocs.h).
PendingDocDescription PurchasePendingDescription(PurchaseKind kind);
