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
#include "purchasing/receiptaudit.h"

#include <QDate>

namespace {

QString FreightPayer(const ReceiptHeaderInput &in)
{
    if (in.freight <= 0.0 && in.packing <= 0.0)
        return QStringLiteral("");
    return in.wePayFreight ? QStringLiteral("我方付运费") : QStringLiteral("对方付运费");
}

} // namespace

ReceiptSave::ReceiptSave(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

bool ReceiptSave::auditsOnSave() const
{
    return IsNotOff(m_state.AuditOnSave);
}

ReceiptSaveResult ReceiptSave::save(const QString &number, int lines, const ReceiptHeaderInput &in)
{
    ReceiptSaveResult result;
    result.number = number;
    auto refuse = [&](const char *text) {
        m_notices.notice(QString::fromUtf8(text));
        result.status = PurchaseStatus::Refused;
        return result;
    };
    if (lines <= 0)
        return refuse("单据中没有业务发生，不能保存！");
    const QString supplierText = StripControls(in.supplierText).trimmed();
    if (supplierText.isEmpty())
        return refuse("请选择供货商！");
    // The supplier saved is the one chosen: a name typed without choosing is refused.
    try {
        const QString chosenName =
            in.supplierSn.isEmpty()
                ? QString()
                : QueryScalar(m_db, QStringLiteral("select ghs_name from jxc_ghsxx where ghs_sn = ?"), {in.supplierSn});
        if (chosenName.isEmpty() || chosenName.trimmed() != supplierText)
            return refuse("请选择供货商！");
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = PurchaseStatus::Failed;
        return result;
    }
    if (in.handlerText.trimmed().isEmpty() || in.handlerSn.isEmpty())
        return refuse("请选择经办人！");
    if (in.warehouseSn.isEmpty())
        return refuse("请选择仓库！");

    const bool audit = auditsOnSave();
    const QString question =
        audit ? QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“进退货查询”功能中取消审核！")
              : QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的采购单，可以在“待审核采\r\n\r\n"
                               "购单”面板中，进行修改及审核操作！");
    if (!m_notices.confirm(question)) {
        result.status = PurchaseStatus::Declined;
        return result;
    }

    double paid = in.paid;
    if (const std::optional<int> n = PurchaseAmountRounding(m_state))
        paid = RoundTo(paid, *n);
    const DocType type = PurchaseDocType(PurchaseKind::Receipt);
    DraftLines draft(m_db, type, m_state);
    QString saved;
    try {
        Transaction tx(m_db);
        PostingLockKeys keys;
        keys.numberStems << type.prefix + QDate::fromString(in.day, QStringLiteral("yyyy-MM-dd")).toString(QStringLiteral("yyMMdd"));
        LockForPosting lock(m_db, keys);
        saved = draft.numberForSave(number, in.day, type.headerTable, DraftLines::Taken::AnyRow);
        saved = draft.numberForSave(saved, in.day, type.linesTable);
        const int goods = draft.count(saved);
        const bool settleByPaid = in.settleIndex == 0;
        InsertValues(m_db, type.headerTable,
                     {{QStringLiteral("gl_djh"), saved},
                      {QStringLiteral("ghs_sn"), in.supplierSn},
                      {QStringLiteral("ck_sn"), in.warehouseSn},
                      {QStringLiteral("j_jhrq"), in.day + QLatin1Char(' ') + m_clock.now().toString(QStringLiteral("HH:mm"))},
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
                      {QStringLiteral("j_fpno"), SafeTextKeepMath(in.invoiceNo.trimmed())},
                      {QStringLiteral("j_fpje"), in.invoiceAmount},
                      {QStringLiteral("j_yf"), in.freight},
                      {QStringLiteral("j_bzf"), in.packing},
                      {QStringLiteral("j_jsfs"), in.settleIndex},
                      {QStringLiteral("j_kmmc"), StripControls(in.accountText)},
                      {QStringLiteral("j_crk"), 1},
                      {QStringLiteral("j_qk"), 1},
                      {QStringLiteral("j_yffs"), FreightPayer(in)},
                      {QStringLiteral("j_dhdid"), QStringLiteral("")},
                      {QStringLiteral("ht_sn"), in.contractCode.isEmpty() ? QStringLiteral("") : in.contractCode}});
        if (!IsTrue(m_state.SeparateStockIn))
            RunSql(m_db, QStringLiteral("update jxc_jhsp set jh_rksl = jh_sl, jh_qxsl = 0 where gl_djh = ?"), {saved});
        if (!in.contractCode.isEmpty())
            LinkContract(m_db, in.contractCode, in.supplierSn, saved);
        if (settleByPaid)
            ApplyPurchaseAdjust(m_db, m_state, m_clock, saved, paid, in.payable);
        if (!audit)
            WriteLog(m_db, m_state, m_clock,
                     QStringLiteral("增加未审核进货单%1，共%2种商品").arg(saved).arg(goods));
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = PurchaseStatus::Failed;
        return result;
    }
    result.status = PurchaseStatus::Done;
    result.number = saved;
    if (audit) {
        const QString audited = ReceiptAudit(m_db, m_state, m_clock, m_notices).checkDj(saved);
        result.audited = !audited.isEmpty();
        if (result.audited)
            result.number = audited;
    }
    return result;
}
