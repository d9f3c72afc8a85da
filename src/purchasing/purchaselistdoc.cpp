#include "purchasing/purchaselistdoc.h"

PurchaseListDoc PurchaseListDocOf(PurchaseKind kind)
{
    PurchaseListDoc d;
    d.kind = kind;
    d.type = PurchaseDocType(kind);
    if (kind == PurchaseKind::Return) {
        d.headerPrefix = QStringLiteral("th_");
        d.dateColumn = QStringLiteral("th_thrq");
        d.statusColumn = QStringLiteral("th_status");
        d.noteColumn = QStringLiteral("th_note");
        d.lineTotal = QStringLiteral("th_zje");
        d.amountSign = -1;
        d.ledgerFlag = QStringLiteral("ct");
        d.logName = QStringLiteral("采购退货单");
        d.deleteLogName = d.logName;
        d.logsEmptiedDocument = false;
        d.freesReturnSource = true;
        d.printTag = QStringLiteral("cgth");
        d.pendingTemplate = QStringLiteral("cgthdsh");
        d.documentsTemplate = QStringLiteral("cgthdjb");
        d.summaryTemplate = QStringLiteral("cgthhzb");
        d.detailsTemplate = QStringLiteral("cgthmxb");
        d.documentsTitle = QStringLiteral("供货商采购退货单据表");
        d.deleteRight = 0;
        d.addLinesRight = 0;
        d.auditRight = 5;
        d.unauditRight = 6;
        d.querySupplierBox = false;
        d.queryKeyCaption = QStringLiteral("供货商/单据号：");
        d.unauditOutsideDocuments = QStringLiteral("批量取消只能在单据表进行！\r\n\r\n（如需取消审核某个单据，请按右键！）");
        return d;
    }
    d.headerPrefix = QStringLiteral("j_");
    d.dateColumn = QStringLiteral("j_jhrq");
    d.statusColumn = QStringLiteral("j_status");
    d.noteColumn = QStringLiteral("j_note");
    d.lineTotal = QStringLiteral("jh_zje");
    if (kind == PurchaseKind::Order) {
        d.ledgerFlag.clear();
        d.logName = QStringLiteral("采购订单");
        d.deleteLogName = QStringLiteral("采购进货单");
        d.logsEmptiedDocument = false;
        d.deleteRight = 0;
        d.addLinesRight = 0;
        d.auditRight = 19;
        d.unauditRight = 20;
        d.querySupplierBox = false;
        d.queryKeyCaption = QStringLiteral("单据号/备注/供货商：");
        d.summaryView = false;
        d.unauditOutsideDocuments = QStringLiteral("取消审核操作只能在“单据表”进行。");
        d.printTag = QStringLiteral("cgd");
        // The order's lists are not printed.
        return d;
    }
    d.ledgerFlag = QStringLiteral("cj");
    d.logName = QStringLiteral("采购进货单");
    d.deleteLogName = d.logName;
    d.unauditOutsideDocuments = QStringLiteral("批量取消只能在单据表进行！");
    d.printTag = QStringLiteral("cgjh");
    d.pendingTemplate = QStringLiteral("cgjhdsh");
    d.documentsTemplate = QStringLiteral("cgjhdjb");
    d.summaryTemplate = QStringLiteral("cgjhhzb");
    d.detailsTemplate = QStringLiteral("cgjhmxb");
    d.documentsTitle = QStringLiteral("供货商采购业务单据表");
    return d;
}
