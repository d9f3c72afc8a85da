#include "purchasing/purchaselistdoc.h"

#include "foundation/db/sqlroutines.h"
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
    d.unauditOutsideDocuments = QStringLiteral("批量取消只能在单据表进行！");
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
    // The order's "删除单据" is logged under the receipt's name; a return's and an order's last
    // line takes the document without a log line.
    if (kind == PurchaseKind::Order)
        d.deleteLogName = QStringLiteral("采购进货单");
    d.logsEmptiedDocument = kind == PurchaseKind::Receipt;
    d.contracts = kind != PurchaseKind::Return;
    d.paidDefault = &LoginState::PurchasePaidDefault;
    if (kind == PurchaseKind::Return) {
        d.owed = false;
        d.amountSign = doc.amountSign;
        d.reservedGoods.clear();
        // A deleted return frees the receipt it returned whole, to be returned again.
        d.release = [](const QSqlDatabase &db, const QString &number) {
            RunSql(db, QStringLiteral("update jxc_jhd set j_th = 0, j_dhdid = '' where j_dhdid = ?"), {number});
        };
    }
    return d;
}
