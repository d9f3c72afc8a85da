#include "purchasing/returnrules.h"

#include "engine/audit.h"
#include "engine/stockcheck.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/draftlines.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/numbering.h"
#include "foundation/oplog.h"
#include "foundation/rights.h"
#include "foundation/rowvalues.h"
#include "foundation/sanitize.h"
#include "purchasing/purchaselinemath.h"
#include "purchasing/receiptaudit.h"

#include <QSqlQuery>

namespace {

DocType ReturnType()
{
    return PurchaseDocType(PurchaseKind::Return);
}

} // namespace

ReturnRules::ReturnRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

QString ReturnRules::newNumber() const
{
    return GetNewDjh(m_db, m_clock, QStringLiteral("jxc_thd"), QStringLiteral("gl_djh"), QStringLiteral("CT"));
}

ListStatement ReturnRules::linesStatement(const QString &number) const
{
    return {QStringLiteral("select a.*, b.g_name, b.g_jm, b.gg_name, b.color_name, b.g_kc from jxc_thsp a "
                           "left join jxc_goods b on b.g_sn = a.g_sn where a.gl_djh = ? and a.a_name = ?"),
            QStringLiteral("a.id"),
            {number, m_state.CurrentOperatorName}};
}

double ReturnRules::payable(const QString &number) const
{
    const double total =
        QueryScalar(m_db, QStringLiteral("select coalesce(sum(th_zje), 0) from jxc_thsp where gl_djh = ?"), {number}).toDouble();
    if (const std::optional<int> n = PurchaseAmountRounding(m_state))
        return RoundTo(total, *n);
    return total;
}

double ReturnRules::paidAfterChange(double payable, double typedPaid) const
{
    return m_state.PurchasePaidDefault == QLatin1String("0") ? payable : typedPaid;
}

bool ReturnRules::mayAddLines(const QString &supplierText)
{
    if (!StripControls(supplierText).trimmed().isEmpty())
        return true;
    m_notices.notice(QStringLiteral("请选择供货商！"));
    return false;
}

bool ReturnRules::auditsOnSave() const
{
    return IsNotOff(m_state.AuditOnSave);
}

PurchaseSaveResult ReturnRules::save(const QString &number, int lines, const PurchaseHeaderInput &in,
                                     const QString &sourceReceipt)
{
    PurchaseSaveResult result;
    result.number = number;
    if (!AcceptPurchaseSaveInput(m_db, m_notices, lines, in, result))
        return result;
    try {
        const QString shortage = CheckNegativeStock(m_db, m_state, m_clock, number, in.warehouseSn, QStringLiteral("CT"));
        if (!shortage.isEmpty()) {
            if (!IsTrue(m_state.AllowNegativeStock)) {
                m_notices.notice(shortage);
                return result;
            }
            if (!m_notices.confirm(shortage)) {
                result.status = PurchaseStatus::Declined;
                return result;
            }
        }
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = PurchaseStatus::Failed;
        return result;
    }
    const bool audit = auditsOnSave();
    const QString question =
        audit ? QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“进退货查询”功能中取消审核！")
              : QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的退货单，可以在“待审核\r\n\r\n"
                               "退货单”面板中，进行修改及审核操作！");
    if (!m_notices.confirm(question)) {
        result.status = PurchaseStatus::Declined;
        return result;
    }

    const double paid = SavedPaid(m_state, in.paid);
    const DocType type = ReturnType();
    DraftLines draft(m_db, type, m_state);
    QString saved;
    try {
        Transaction tx(m_db);
        LockForPosting lock(m_db, NumberStemKeys(type.prefix, in.day));
        saved = draft.numberForSave(number, in.day, type.linesTable);
        const int goods = draft.count(saved);
        InsertValues(m_db, type.headerTable,
                     {{QStringLiteral("gl_djh"), saved},
                      {QStringLiteral("ghs_sn"), in.supplierSn},
                      {QStringLiteral("ck_sn"), in.warehouseSn},
                      {QStringLiteral("th_thrq"), SavedStamp(in.day, m_clock)},
                      {QStringLiteral("th_yfje"), -in.payable},
                      {QStringLiteral("th_sfje"), -paid},
                      {QStringLiteral("th_hkje"), 0.0},
                      {QStringLiteral("u_sn"), in.handlerSn},
                      {QStringLiteral("th_note"), SafeTextKeepMath(in.note.trimmed())},
                      {QStringLiteral("th_status"), 0},
                      {QStringLiteral("th_checker"), QStringLiteral("")},
                      {QStringLiteral("th_chkrq"), QStringLiteral("")},
                      {QStringLiteral("th_jsfs"), 1},
                      {QStringLiteral("th_kmmc"), StripControls(in.accountText)},
                      {QStringLiteral("th_fpno"), SafeTextKeepMath(in.invoiceNo.trimmed())},
                      {QStringLiteral("th_fpje"), -in.invoiceAmount},
                      {QStringLiteral("a_name"), m_state.CurrentOperatorName},
                      {QStringLiteral("th_qk"), 0}});
        if (!audit)
            WriteLog(m_db, m_state, m_clock, QStringLiteral("增加未审核采购退货单%1，共%2种商品").arg(saved).arg(goods));
        if (!sourceReceipt.isEmpty())
            RunSql(m_db, QStringLiteral("update jxc_jhd set j_th = 1, j_dhdid = ? where gl_djh = ?"), {saved, sourceReceipt});
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = PurchaseStatus::Failed;
        return result;
    }
    result.status = PurchaseStatus::Done;
    result.number = saved;
    if (audit) {
        const QString check = CheckBeforeAudit(saved, in.day);
        if (check != QLatin1String("ok"))
            m_notices.notice(check);
        else
            result.audited = checkDj(saved);
    }
    return result;
}

bool ReturnRules::checkDj(const QString &number)
{
    return !ReceiptAudit(m_db, m_state, m_clock, m_notices, PurchaseKind::Return).checkDj(number).isEmpty();
}

std::optional<WholeReturnSource> ReturnRules::loadWholeReceipt(const QString &receipt, const QString &number,
                                                               const QString &day)
{
    WholeReturnSource source;
    source.receipt = receipt;
    const DocType type = ReturnType();
    DraftLines draft(m_db, type, m_state);
    try {
        Transaction tx(m_db);
        QSqlQuery h = OpenSelect(m_db,
                                 QStringLiteral("select a.j_th, a.ghs_sn, a.j_note, a.j_sfje, a.j_fpno, a.j_fpje, b.ghs_name, "
                                                "c.ck_name, d.u_name from jxc_jhd a left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn "
                                                "left join jxc_ckxx c on c.ck_sn = a.ck_sn left join jxc_user d on d.u_sn = a.u_sn "
                                                "where a.gl_djh = ? order by a.id limit 1"),
                                 {receipt});
        if (!h.next())
            return std::nullopt;
        if (h.value(0).toInt() == 1) {
            m_notices.notice(QStringLiteral("该单据已经进行过整单退货，不能重复退货！"));
            return std::nullopt;
        }
        source.supplierSn = h.value(1).toString();
        source.note = h.value(2).toString();
        source.paid = h.value(3).toDouble();
        source.invoiceNo = h.value(4).toString();
        source.invoiceAmount = h.value(5).toDouble();
        source.supplierName = h.value(6).toString();
        source.warehouseName = h.value(7).toString();
        source.handlerName = h.value(8).toString();
        h.finish();
        source.number = draft.numberForNewLines(number, day);
        // Row by row in the receipt's line order, so that the return lists them alike.
        QList<QVariantMap> lines;
        {
            QSqlQuery q = OpenSelect(m_db,
                                     QStringLiteral("select g_sn, jh_dj, jh_sl, jh_zje, jh_je, jh_tax, jh_taxdj, jh_taxje, "
                                                    "jh_zsl, jh_dzl, jh_bz, dw_name, g_sptm, id2 from jxc_jhsp "
                                                    "where gl_djh = ? order by id"),
                                     {receipt});
            const QStringList to{QStringLiteral("g_sn"),   QStringLiteral("th_dj"),    QStringLiteral("th_sl"),
                                 QStringLiteral("th_zje"), QStringLiteral("th_je"),    QStringLiteral("th_tax"),
                                 QStringLiteral("th_taxdj"), QStringLiteral("th_taxje"), QStringLiteral("th_zsl"),
                                 QStringLiteral("th_dzl"), QStringLiteral("th_bz"),    QStringLiteral("dw_name"),
                                 QStringLiteral("g_sptm"), QStringLiteral("idck")};
            while (q.next()) {
                QVariantMap line;
                for (int i = 0; i < to.size(); ++i)
                    line.insert(to.at(i), q.value(i));
                lines << line;
            }
        }
        for (QVariantMap &line : lines) {
            line.insert(QStringLiteral("id2"), 0);
            line.insert(QStringLiteral("gl_djh2"), receipt);
            draft.insertLine(source.number, line);
        }
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("整单退货失败：") + e.text());
        return std::nullopt;
    }
    source.payable = payable(source.number);
    return source;
}

bool ReturnRules::removeLine(qint64 lineId)
{
    try {
        return DraftLines(m_db, ReturnType(), m_state).removeLine(lineId);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除商品失败：") + e.text());
        return false;
    }
}

void ReturnRules::discard(const QString &number)
{
    DraftLines(m_db, ReturnType(), m_state).discard(number);
}
