#include "purchasing/purchaselistdoc.h"

#include "foundation/loginstate.h"

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
        d.printTag = QStringLiteral("cgth");
        d.pendingTemplate = QStringLiteral("cgthdsh");
        d.documentsTemplate = QStringLiteral("cgthdjb");
        d.summaryTemplate = QStringLiteral("cgthhzb");
        d.detailsTemplate = QStringLiteral("cgthmxb");
        d.documentsTitle = QStringLiteral("供货商采购退货单据表");
        d.deleteRight = 16;
        d.addLinesRight = 18;
        d.unauditRight = 6;
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
        d.printTag = QStringLiteral("cgd");
        d.pendingTemplate = QStringLiteral("cgddsh");
        d.documentsTemplate = QStringLiteral("cgddjb");
        d.summaryTemplate = QStringLiteral("cgdhzb");
        d.detailsTemplate = QStringLiteral("cgdmxb");
        d.documentsTitle = QStringLiteral("供货商采购订单表");
        return d;
    }
    d.ledgerFlag = QStringLiteral("cj");
    d.logName = QStringLiteral("采购进货单");
    d.printTag = QStringLiteral("cgjh");
    d.pendingTemplate = QStringLiteral("cgjhdsh");
    d.documentsTemplate = QStringLiteral("cgjhdjb");
    d.summaryTemplate = QStringLiteral("cgjhhzb");
    d.detailsTemplate = QStringLiteral("cgjhmxb");
    d.documentsTitle = QStringLiteral("供货商采购业务单据表");
    return d;
}

PendingDocDescription PurchasePendingDescription(PurchaseKind kind)
{
    const PurchaseListDoc doc = PurchaseListDocOf(kind);
    PendingDocDescription d;
    d.type = doc.type;
    d.headerPrefix = doc.headerPrefix;
    d.dateColumn = doc.dateColumn;
    d.statusColumn = doc.statusColumn;
    d.noteColumn = doc.noteColumn;
    d.lineAmount = doc.lineTotal;
    d.partner = &SupplierSide();
    d.partnerShortCode = QStringLiteral("ghs_jm");
    d.allPartnersWords = {QStringLiteral("全部供货商"), QStringLiteral("当前供货商")};
    d.logName = doc.logName;
    d.contracts = kind != PurchaseKind::Return;
    d.resumOnLineChange = kind != PurchaseKind::Return;
    d.paidDefault = &LoginState::PurchasePaidDefault;
    return d;
}
