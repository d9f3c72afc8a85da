#include "sales/salesave.h"

#include "engine/balances.h"
#include "engine/docsave.h"
#include "engine/postinglocks.h"
#include "engine/postsales.h"
#include "engine/stockcheck.h"
#include "foundation/contracts.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/transaction.h"
#include "foundation/draftlines.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/oplog.h"
#include "foundation/rights.h"
#include "foundation/rowvalues.h"
#include "foundation/sanitize.h"
#include "sales/saleaudit.h"

QString PrepaymentShortQuestion(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                const QString &customer, double due, double received)
{
    QString balanceText = GetPartnerBalanceAt(db, state, clock, customer, QStringLiteral("kh"), QStringLiteral("0"),
                                              QStringLiteral("9999-12-31"));
    if (balanceText.isEmpty())
        balanceText = QStringLiteral("0");
    const double prepaid = -TextToNumber(balanceText);
    if (!(prepaid < due - received))
        return QString();
    return QStringLiteral("该客户当前的预付款余额为：") + NumberText(prepaid)
           + QStringLiteral("，\r\n\r\n不足以支付本单的金额。\r\n\r\n继续保存吗？");
}

SaleSaveRules::SaleSaveRules(const QSqlDatabase &db, LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

bool SaleSaveRules::auditsOnSave() const
{
    return IsNotOff(m_state.AuditOnSave);
}

SaleSaveResult SaleSaveRules::save(const QString &number, int lines, const SaleHeaderInput &in)
{
    SaleSaveResult result;
    result.number = number;
    const SaveInputCheck check =
        AcceptDocumentSaveInput(m_db, m_notices, lines, CustomerSide(), QStringLiteral("请选择客户！"),
                                {in.customerText, in.customerSn, in.handlerText, in.handlerSn, in.warehouseSn});
    if (check != SaveInputCheck::Accepted) {
        result.status = check == SaveInputCheck::Failed ? SaleStatus::Failed : SaleStatus::Refused;
        return result;
    }
    try {
        if (AskNegativeStock(m_db, m_state, m_clock, m_notices, number, in.warehouseSn, QStringLiteral("XS"))
            == StockAnswer::Stopped) {
            result.status = SaleStatus::Declined;
            return result;
        }
        if (in.settleIndex == 1 && IsTrue(m_state.WarnShortPrepayment)) {
            const QString question =
                PrepaymentShortQuestion(m_db, m_state, m_clock, in.customerSn, in.due, in.received);
            if (!question.isEmpty() && !m_notices.confirm(question)) {
                result.status = SaleStatus::Declined;
                return result;
            }
        }
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = SaleStatus::Failed;
        return result;
    }

    const bool audit = auditsOnSave();
    const QString question =
        audit ? QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“销售退货查询”功能中取消审核！")
              : QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的销售单，可以在“待审核销\r\n\r\n"
                               "售单”面板中，进行修改及审核操作！");
    if (!m_notices.confirm(question)) {
        result.status = SaleStatus::Declined;
        return result;
    }

    double received = in.received;
    if (const std::optional<int> n = SaleAmountRounding(m_state))
        received = RoundTo(received, *n);
    const bool settleByPayment = in.settleIndex == 0;
    const DocType type = SaleDocType();
    DraftLines draft(m_db, type, m_state);
    QString saved;
    try {
        Transaction tx(m_db);
        LockForPosting lock(m_db, NumberStemKeys(type.prefix, in.day));
        // Only a header anybody saved under the number moves the operator's lines on.
        saved = draft.numberForSave(number, in.day, type.headerTable, DraftLines::Taken::AnyRow);
        const int goods = draft.count(saved);
        const QVariantMap header{
            {QStringLiteral("gl_djh"), saved},
            {QStringLiteral("kh_sn"), in.customerSn},
            {QStringLiteral("ck_sn"), in.warehouseSn},
            {QStringLiteral("ls_xsrq"), SavedStamp(in.day, m_clock)},
            {QStringLiteral("ls_yfje"),
             settleByPayment && m_state.SettleDiffMode == QLatin1String("0") ? received : in.due},
            {QStringLiteral("ls_sfje"), received},
            {QStringLiteral("u_sn"), in.handlerSn},
            {QStringLiteral("ls_note"), SafeTextKeepMath(in.note.trimmed())},
            {QStringLiteral("gl_djh2"), SafeTextKeepMath(in.originalNo.trimmed())},
            {QStringLiteral("ls_fpno"), SafeTextKeepMath(in.invoiceNo.trimmed())},
            {QStringLiteral("a_name"), m_state.CurrentOperatorName},
            {QStringLiteral("ls_yhje"), 0.0},
            {QStringLiteral("ls_fpje"), in.invoiceAmount},
            {QStringLiteral("ls_yf"), in.freight},
            {QStringLiteral("ls_bzf"), in.packing},
            {QStringLiteral("ls_status"), 0},
            {QStringLiteral("ls_checker"), QStringLiteral("")},
            {QStringLiteral("ls_chkrq"), QStringLiteral("")},
            {QStringLiteral("ls_crk"), 1},
            {QStringLiteral("ls_jsfs"), in.settleIndex},
            {QStringLiteral("ls_kmmc"), StripControls(in.accountText)},
            {QStringLiteral("ls_th"), 0},
            {QStringLiteral("ls_hkje"), 0.0},
            {QStringLiteral("ls_dhbz"), 0},
            {QStringLiteral("ls_qk"), 1},
            {QStringLiteral("ls_yffs"), FreightPayer(in.freight, in.packing, in.wePayFreight)},
            {QStringLiteral("ht_sn"), in.contractCode},
            {QStringLiteral("ls_dzl"), in.wholeDiscount}};
        InsertValues(m_db, type.headerTable, header);
        if (!in.contractCode.isEmpty())
            LinkContract(m_db, in.contractCode, in.customerSn, saved);
        if (settleByPayment && !qFuzzyCompare(1.0 + in.due, 1.0 + received))
            ApplySalesAdjust(m_db, m_state, m_clock, saved, /*received=*/received, /*due=*/in.due);
        if (!audit)
            WriteLog(m_db, m_state, m_clock, QStringLiteral("增加未审核销售单%1，共%2种商品").arg(saved).arg(goods));
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = SaleStatus::Failed;
        return result;
    }
    result.status = SaleStatus::Done;
    result.number = saved;
    if (audit) {
        const QString check = CheckBeforeAudit(saved, in.day);
        if (check != QLatin1String("ok")) {
            m_notices.notice(check);
            return result;
        }
        const QString audited = SaleAuditRules(m_db, m_state, m_clock, m_notices).checkDj(saved);
        result.audited = !audited.isEmpty();
        if (result.audited)
            result.number = audited;
    }
    return result;
}
