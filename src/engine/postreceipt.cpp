#include "engine/postreceipt.h"

#include "engine/auditsupport.h"
#include "engine/balances.h"
#include "engine/partnerside.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/numbering.h"
#include "foundation/oplog.h"

namespace postreceipt_impl {

using namespace postingsupport;

// What differs between a receipt from a customer and a payment to a supplier.
struct SettlementKind
{
    const PartnerSide &partner;
    QString writeOffPrefix, writeOffAccount, writeOffText, writeOffNote;
    QString ledgerFlag;       // goods-ledger code of the write-off row
    bool writeOffIsProfit;    // gl_lr = the amount (receipts) or 0 (payments)
    QString cashKind;
    double cashSign;
    QString logText;          // %1 partner name, %2 amount
};

SettlementKind receiptKind()
{
    return {CustomerSide(), QStringLiteral("YS"), QStringLiteral("应收款"),
            QStringLiteral("增加应收款(抹零)"), QStringLiteral("收款单抹零登记："), QStringLiteral("xs"),
            true, QStringLiteral("收款单"), 1.0, QStringLiteral("审核收款，客户：%1，金额：%2")};
}

SettlementKind paymentKind()
{
    return {SupplierSide(), QStringLiteral("YF"), QStringLiteral("应付款"),
            QStringLiteral("增加应付款(抹零)"), QStringLiteral("付款单抹零登记："), QStringLiteral("cj"),
            false, QStringLiteral("付款单"), -1.0, QStringLiteral("审核付款，供货商：%1，金额：%2")};
}

void auditSettlement(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                     const QString &number, const SettlementKind &kind)
{
    Transaction tx(db);
    const RowTexts reg = ReadFirstRow(
        db,
        QStringLiteral("select a.*, b.u_name, c.%1 as partner_name from jxc_ysyfk_dj a "
                       "join jxc_user b on a.u_sn = b.u_sn join %2 c on a.k_ghskh = c.%3 "
                       "where a.gl_djh = ? order by a.id limit 1")
            .arg(kind.partner.name, kind.partner.table, kind.partner.key),
        {number});
    if (reg.isEmpty())
        throw DbError(QStringLiteral("单据%1的经手人或%2资料不存在，不能审核！").arg(number, kind.partner.title));

    const QString partner = reg.value(QStringLiteral("k_ghskh"));
    const QString partnerName = reg.value(QStringLiteral("partner_name"));
    const QString date = reg.value(QStringLiteral("k_rq"));
    const QString account = reg.value(QStringLiteral("k_fkfs"));
    const QString regOperator = reg.value(QStringLiteral("a_name"));
    const double settled = Num(reg, QStringLiteral("k_sfje"));
    const double writeOff = Num(reg, QStringLiteral("k_mlje"));

    const double provisional =
        TextToNumber(GetPartnerBalanceAt(db, state, clock, partner, kind.partner.type,
                                         QStringLiteral("0"), date))
        - settled;
    InsertRow(db, QStringLiteral("jxc_ysyfk"),
              {{QStringLiteral("k_ghskh"), partner},
               {QStringLiteral("a_name"), regOperator},
               {QStringLiteral("u_sn"), reg.value(QStringLiteral("u_sn"))},
               {QStringLiteral("k_fkfs"), account},
               {QStringLiteral("k_sfje"), settled},
               {QStringLiteral("k_yhje"), Num(reg, QStringLiteral("k_yhje"))},
               {QStringLiteral("k_qcje"), Num(reg, QStringLiteral("k_qcje"))},
               {QStringLiteral("k_ljje"), provisional},
               {QStringLiteral("k_yfje"), Num(reg, QStringLiteral("k_yfje"))},
               {QStringLiteral("k_type"), reg.value(QStringLiteral("k_type"))},
               {QStringLiteral("k_djlx"), reg.value(QStringLiteral("k_djlx"))},
               {QStringLiteral("k_djtxt"), reg.value(QStringLiteral("k_djtxt"))},
               {QStringLiteral("k_note"), reg.value(QStringLiteral("k_note"))},
               {QStringLiteral("k_flag"), reg.value(QStringLiteral("k_flag")).toInt()},
               {QStringLiteral("gl_djh2"), reg.value(QStringLiteral("gl_djh2"))},
               {QStringLiteral("k_rq"), date},
               {QStringLiteral("gl_djh"), number}});

    if (writeOff != 0) {
        const QString writeOffNumber = GetNewDjhByDate(db, QStringLiteral("jxc_ysyfk"),
                                                       QStringLiteral("gl_djh"), kind.writeOffPrefix, date);
        const QString note = kind.writeOffNote + number;
        const qint64 writeOffId =
            InsertRow(db, QStringLiteral("jxc_ysyfk"),
                      {{QStringLiteral("k_ghskh"), partner},
                       {QStringLiteral("a_name"), regOperator},
                       {QStringLiteral("u_sn"), reg.value(QStringLiteral("u_sn"))},
                       {QStringLiteral("k_fkfs"), kind.writeOffAccount},
                       {QStringLiteral("k_sfje"), 0.0},
                       {QStringLiteral("k_yhje"), 0.0},
                       {QStringLiteral("k_qcje"), Num(reg, QStringLiteral("k_qcje"))},
                       {QStringLiteral("k_ljje"), provisional},
                       {QStringLiteral("k_yfje"), -writeOff},
                       {QStringLiteral("k_type"), kind.partner.type},
                       {QStringLiteral("k_djlx"), kind.writeOffPrefix},
                       {QStringLiteral("k_djtxt"), kind.writeOffText},
                       {QStringLiteral("k_note"), note},
                       {QStringLiteral("k_flag"), 1},
                       {QStringLiteral("gl_djh2"), number},
                       {QStringLiteral("k_rq"), date},
                       {QStringLiteral("gl_djh"), writeOffNumber}});
        // The write-off shows in the sales or purchase figures as the reserved goods.
        InsertRow(db, QStringLiteral("jxc_goodslist"),
                  {{QStringLiteral("gl_flag"), kind.ledgerFlag},
                   {QStringLiteral("gl_djh"), writeOffNumber},
                   {QStringLiteral("gl_kdrq"), date},
                   {QStringLiteral("g_sn"), QStringLiteral("00000000")},
                   {QStringLiteral("g_name"), QStringLiteral("优惠商品")},
                   {QStringLiteral("g_jm"), QStringLiteral("YHSP")},
                   {QStringLiteral("dw_name"), QStringLiteral("")},
                   {QStringLiteral("gl_dj"), 0.0},
                   {QStringLiteral("gl_sl"), 0.0},
                   {QStringLiteral("gl_zje"), -writeOff},
                   {QStringLiteral("gl_lr"), kind.writeOffIsProfit ? -writeOff : 0.0},
                   {QStringLiteral("gl_dzl"), 1.0},
                   {QStringLiteral("u_name"), reg.value(QStringLiteral("u_name"))},
                   {QStringLiteral("a_name"), regOperator},
                   {QStringLiteral("ck_sn"), DefaultWarehouseSn(db)},
                   {QStringLiteral("ck_name"), DefaultWarehouseName(db)},
                   {QStringLiteral("ghs_sn"), partner},
                   {QStringLiteral("ghs_name"), partnerName},
                   {QStringLiteral("gg_name"), QStringLiteral("")},
                   {QStringLiteral("color_name"), QStringLiteral("")},
                   {QStringLiteral("gl_sysl"), 0.0},
                   {QStringLiteral("gl_fdmc"), QStringLiteral("")},
                   {QStringLiteral("gl_dqkc"), 0.0},
                   {QStringLiteral("gl_kc"), 0.0},
                   {QStringLiteral("gl_pjjj"), 0.0},
                   {QStringLiteral("gl_kczje"), 0.0},
                   {QStringLiteral("gl_checker"), regOperator},
                   {QStringLiteral("gl_chkrq"), clock.todayText()},
                   {QStringLiteral("gl_sqsl"), 0.0},
                   {QStringLiteral("gl_sqje"), 0.0},
                   {QStringLiteral("gl_bz"), QStringLiteral("")},
                   {QStringLiteral("gl_note"), note},
                   {QStringLiteral("gl_tax"), 0.0},
                   {QStringLiteral("gl_taxdj"), 0.0},
                   {QStringLiteral("gl_taxje"), 0.0},
                   {QStringLiteral("gl_je"), -writeOff},
                   {QStringLiteral("gl_lsj"), 0.0},
                   {QStringLiteral("gl_cbj"), 0.0},
                   {QStringLiteral("gl_zcb"), 0.0},
                   {QStringLiteral("id2"), writeOffId},
                   {QStringLiteral("gl_djh2"), number},
                   {QStringLiteral("gl_qxsl"), 0.0}});
    }

    RecalcPartnerBalances(db, state, clock, partner, kind.partner.type, date);

    RunSql(db,
           QStringLiteral("update jxc_ysyfk_dj set k_check = 1, k_checker = ?, k_chkrq = ? where id = ?"),
           {CutToColumn(QStringLiteral("jxc_ysyfk_dj"), QStringLiteral("k_checker"), state.CurrentOperatorName),
            clock.todayText(), reg.value(QStringLiteral("id"))});

    InsertRow(db, QStringLiteral("jxc_xjyh"),
              {{QStringLiteral("xj_rq"), date},
               {QStringLiteral("gl_djh"), number},
               {QStringLiteral("xj_dlx"), kind.cashKind},
               {QStringLiteral("xj_je"), kind.cashSign * settled},
               {QStringLiteral("u_name"), reg.value(QStringLiteral("u_name"))},
               {QStringLiteral("ghs_name"), partnerName},
               {QStringLiteral("ghs_sn"), partner},
               {QStringLiteral("ck_name"), QStringLiteral("")},
               {QStringLiteral("xj_kmmc"), account},
               {QStringLiteral("xj_note"), reg.value(QStringLiteral("k_note"))},
               {QStringLiteral("a_name"), regOperator},
               {QStringLiteral("xj_chk"), QStringLiteral("1")},
               {QStringLiteral("xj_ljje"), 0.0}});

    WriteLog(db, state, clock, kind.logText.arg(partnerName, NumberText(settled)));
    RecalcCashBalances(db, state, clock, account, date);
    tx.commit();
}

} // namespace postreceipt_impl

void AuditReceipt(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                  const QString &number)
{
    postreceipt_impl::auditSettlement(db, state, clock, number, postreceipt_impl::receiptKind());
}

void AuditPayment(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                  const QString &number)
{
    postreceipt_impl::auditSettlement(db, state, clock, number, postreceipt_impl::paymentKind());
}
