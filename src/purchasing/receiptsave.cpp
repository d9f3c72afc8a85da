#include "purchasing/receiptsave.h"

#include "engine/postinglocks.h"
#include "engine/postpurchase.h"
#include "foundation/contracts.h"
#include "foundation/db/clock.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/draftlines.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/oplog.h"
#include "foundation/rowvalues.h"
#include "foundation/sanitize.h"
#include "purchasing/purchaselinemath.h"
#include "purchasing/orderaudit.h"
#include "purchasing/receiptaudit.h"

#include <QDate>

ReceiptSave::ReceiptSave(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                         PurchaseKind kind)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices), m_kind(kind)
{
}

bool ReceiptSave::auditsOnSave() const
{
    return IsNotOff(m_state.AuditOnSave);
}

QString ReceiptSave::question(bool audit) const
{
    if (m_kind == PurchaseKind::Order)
        return audit ? QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“采购订单查询”功能中取消审核！")
                     : QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的采购订单，可以在“待审核\r\n\r\n"
                                      "采购订单”面板中，进行修改及审核操作！");
    return audit ? QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“进退货查询”功能中取消审核！")
                 : QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的采购单，可以在“待审核采\r\n\r\n"
                                  "购单”面板中，进行修改及审核操作！");
}

ReceiptSaveResult ReceiptSave::save(const QString &number, int lines, const ReceiptHeaderInput &in)
{
    ReceiptSaveResult result;
    result.number = number;
    if (!AcceptPurchaseSaveInput(m_db, m_notices, lines, in, result))
        return result;

    const bool audit = auditsOnSave();
    if (!m_notices.confirm(question(audit))) {
        result.status = PurchaseStatus::Declined;
        return result;
    }

    const bool receipt = m_kind == PurchaseKind::Receipt;
    const double paid = SavedPaid(m_state, in.paid);
    const DocType type = PurchaseDocType(m_kind);
    DraftLines draft(m_db, type, m_state);
    QString saved;
    try {
        Transaction tx(m_db);
        LockForPosting lock(m_db, NumberStemKeys(type.prefix, in.day));
        // A header anybody saved under the number, then other operators' lines.
        saved = draft.numberForSave(number, in.day, type.headerTable, DraftLines::Taken::AnyRow);
        saved = draft.numberForSave(saved, in.day, type.linesTable);
        const int goods = draft.count(saved);
        const bool settleByPaid = in.settleIndex == 0;
        QVariantMap header{
            {QStringLiteral("gl_djh"), saved},
            {QStringLiteral("ghs_sn"), in.supplierSn},
            {QStringLiteral("ck_sn"), in.warehouseSn},
            {QStringLiteral("j_jhrq"), SavedStamp(in.day, m_clock)},
            {QStringLiteral("j_yfje"), settleByPaid && m_state.SettleDiffMode == QLatin1String("0") ? paid : in.payable},
            {QStringLiteral("j_sfje"), paid},
            {QStringLiteral("u_sn"), in.handlerSn},
            {QStringLiteral("j_note"), SafeTextKeepMath(in.note.trimmed())},
            {QStringLiteral("gl_djh2"), SafeTextKeepMath(in.originalNo.trimmed())},
            {QStringLiteral("a_name"), m_state.CurrentOperatorName},
            {QStringLiteral("j_status"), 0},
            {QStringLiteral("j_checker"), QStringLiteral("")},
            {QStringLiteral("j_chkrq"), QStringLiteral("")},
            {QStringLiteral("j_yhje"), 0.0},
            {QStringLiteral("j_hkje"), 0.0},
            {QStringLiteral("j_th"), 0},
            {QStringLiteral("j_jsfs"), in.settleIndex},
            {QStringLiteral("j_kmmc"), StripControls(in.accountText)},
            // The receipt's j_qk is its stock-in flag; the order's is the void flag.
            {QStringLiteral("j_qk"), receipt ? 1 : 0}};
        if (receipt) {
            header.insert(QStringLiteral("j_fpno"), SafeTextKeepMath(in.invoiceNo.trimmed()));
            header.insert(QStringLiteral("j_fpje"), in.invoiceAmount);
            header.insert(QStringLiteral("j_yf"), in.freight);
            header.insert(QStringLiteral("j_bzf"), in.packing);
            header.insert(QStringLiteral("j_crk"), 1);
            header.insert(QStringLiteral("j_yffs"), FreightPayer(in.freight, in.packing, in.wePayFreight));
            header.insert(QStringLiteral("j_dhdid"), QStringLiteral(""));
            header.insert(QStringLiteral("ht_sn"), in.contractCode.isEmpty() ? QStringLiteral("") : in.contractCode);
        }
        InsertValues(m_db, type.headerTable, header);
        if (receipt && !IsTrue(m_state.SeparateStockIn))
            RunSql(m_db, QStringLiteral("update jxc_jhsp set jh_rksl = jh_sl, jh_qxsl = 0 where gl_djh = ?"), {saved});
        if (receipt && !in.contractCode.isEmpty())
            LinkContract(m_db, in.contractCode, in.supplierSn, saved);
        if (receipt && settleByPaid)
            ApplyPurchaseAdjust(m_db, m_state, m_clock, saved, paid, in.payable);
        if (!audit)
            WriteLog(m_db, m_state, m_clock,
                     (receipt ? QStringLiteral("增加未审核进货单%1，共%2种商品") : QStringLiteral("增加未审核采购订单%1，共%2种商品"))
                         .arg(saved)
                         .arg(goods));
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = PurchaseStatus::Failed;
        return result;
    }
    result.status = PurchaseStatus::Done;
    result.number = saved;
    if (audit) {
        if (receipt) {
            const QString audited = ReceiptAudit(m_db, m_state, m_clock, m_notices).checkDj(saved);
            result.audited = !audited.isEmpty();
            if (result.audited)
                result.number = audited;
        } else {
            result.audited = OrderAudit(m_db, m_state, m_clock, m_notices).audit(saved);
        }
    }
    return result;
}
