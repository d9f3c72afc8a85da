// Cancel-audit of sales (XS, jxc_lsxsd/jxc_lsxssp), sales returns (XT, jxc_xsthd/jxc_xsthsp) and
// goods exchanges (XH, jxc_xshhd/jxc_xshhsp).

#include "engine/costwalk.h"
#include "engine/members.h"
#include "engine/reversalsupport.h"
#include "engine/stockcheck.h"
#include "engine/unauditphases.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/oplog.h"

namespace unauditsales_impl {

using namespace reversal;

RowTexts salesHeader(const QSqlDatabase &db, const QString &table, const QString &columns,
                       const QString &statusColumn, const QString &number)
{
    return Row(db,
               QStringLiteral("select %1 from %2 where gl_djh = ? and %3 = 1 order by id limit 1")
                   .arg(columns, table, statusColumn),
               {number});
}

// Right, header, auditor rule, hook and confirmation shared by the three types.
UnauditOutcome commonChecks(const QSqlDatabase &db, const LoginState &state, Notices &notices,
                            const QString &number, const UnauditOptions &options, int position,
                            const QString &documentName, const QString &table,
                            const QString &statusColumn, const QString &checkerColumn,
                            bool goodsOutTest)
{
    UnauditOutcome o = RequireRight(db, state, notices, QStringLiteral("xsgl"), position, documentName);
    if (o != UnauditOutcome::Done)
        return o;
    if (goodsOutTest
        && QueryScalar(db, QStringLiteral("select count(*) from jxc_cksp where gl_djh2 = ?"), {number}).toInt() > 0)
        return Refuse(notices, QStringLiteral("该单据") + number
                                   + QStringLiteral("已有出库信息，不能取消审核！\r\n\r\n请在商品出库单中删除该单据的所有信息，"
                                                    "\r\n\r\n然后再取消审核！"));
    const RowTexts header = salesHeader(db, table, checkerColumn, statusColumn, number);
    if (header.isEmpty())
        return Refuse(notices, NotAuditedText(number));
    o = AuditorRule(db, state, notices, QStringLiteral("xsgl"), position, number,
                    header.value(checkerColumn));
    if (o != UnauditOutcome::Done)
        return o;
    if ((o = BeforeUnauditHook(notices, number)) != UnauditOutcome::Done)
        return o;
    return Confirm(notices, options, ConfirmText(number));
}

QString firstAccount(const QSqlDatabase &db, const QString &number)
{
    return QueryScalar(db, QStringLiteral("select xj_kmmc from jxc_xjyh where gl_djh = ? order by id limit 1"),
                       {number});
}

void deletePosBill(const QSqlDatabase &db, const QString &number)
{
    RunSql(db, QStringLiteral("delete from jxc_posxssp where gl_djh = ?"), {number});
    RunSql(db, QStringLiteral("delete from jxc_posxsd where gl_djh = ?"), {number});
}

} // namespace unauditsales_impl

namespace unauditphases {

using namespace reversal;
using namespace unauditsales_impl;

UnauditOutcome CheckSale(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         Notices &notices, const QString &number, const UnauditOptions &options)
{
    Q_UNUSED(clock)
    return commonChecks(db, state, notices, number, options, 3, QStringLiteral("商品销售单"),
                        QStringLiteral("jxc_lsxsd"), QStringLiteral("ls_status"),
                        QStringLiteral("ls_checker"), true);
}

void ApplySale(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
               const QString &number, const UnauditOptions &options)
{
    const QString columns = QStringLiteral("ls_xsrq, ck_sn, kh_sn, hy_sn, ls_dhbz");
    RowTexts header = salesHeader(db, QStringLiteral("jxc_lsxsd"), columns, QStringLiteral("ls_status"), number);
    const bool pos = Num(header, QStringLiteral("ls_dhbz")) == 1;
    Lock(db, {QStringLiteral("jxc_lsxsd"), number, LedgerGoods(db, number), QStringLiteral("kh"),
              header.value(QStringLiteral("kh_sn")),
              CashAccountsOf(db, QStringList{number} + RegistrationsAgainst(db, number)),
              pos ? header.value(QStringLiteral("hy_sn")) : QString()});
    RequireAuditedHeader(db, QStringLiteral("jxc_lsxsd"), QStringLiteral("ls_status"), number);
    header = salesHeader(db, QStringLiteral("jxc_lsxsd"), columns, QStringLiteral("ls_status"), number);
    const QString date = header.value(QStringLiteral("ls_xsrq"));
    const QString warehouse = header.value(QStringLiteral("ck_sn"));
    const QString member = header.value(QStringLiteral("hy_sn"));

    WriteLog(db, state, clock, QStringLiteral("取消审核商品销售单") + number);
    QMap<QString, QString> accounts;
    const QString account = firstAccount(db, number);
    if (!account.isEmpty())
        AddCashAccount(accounts, account, date);
    RunSql(db, QStringLiteral("delete from jxc_lsxsd where gl_djh = ? and ls_status = 0"), {number});

    const QVector<RowTexts> rows = Rows(
        db,
        QStringLiteral("select a.id, a.g_sn, a.gl_sl, "
                       "case when coalesce(b.ls_cksl, 0) <> 0 then coalesce(b.ls_zsl, 0) else 0 end as q "
                       "from jxc_goodslist a join jxc_lsxssp b on b.gl_djh = a.gl_djh and b.id2 = a.id2 "
                       "and b.g_sn = a.g_sn where a.gl_djh = ? and a.g_sn <> '00000000' order by a.id"),
        {number});
    for (const RowTexts &row : rows) {
        const QString goods = row.value(QStringLiteral("g_sn"));
        const double s = Num(row, QStringLiteral("gl_sl"));
        const double q = Num(row, QStringLiteral("q"));
        RunSql(db,
               QStringLiteral("update jxc_goods set g_kc = coalesce(g_kc, 0) + ?, "
                              "g_xspl = coalesce(g_xspl, 0) - 1 where g_sn = ?"),
               {q, goods});
        RunSql(db,
               QStringLiteral("update jxc_kcsp set kc_sl = coalesce(kc_sl, 0) + ?, kc_zsl = coalesce(kc_zsl, 0) + ?, "
                              "kc_xssl = coalesce(kc_xssl, 0) - ? where g_sn = ? and ck_sn = ?"),
               {q, s, s, goods, warehouse});
        RecalcStockCost(db, state, clock, row.value(QStringLiteral("id")), QStringLiteral("1"));
    }

    if (pos) {
        if (!member.isEmpty())
            PostPosMember(db, state, clock, number, member, QStringLiteral("unXS"));
        deletePosBill(db, number);
    }

    if (!options.keepAudited)
        RunSql(db,
               QStringLiteral("update jxc_lsxsd set ls_dhbz = 0, ls_status = 0, ls_chkrq = '', "
                              "ls_checker = '', ls_hkje = 0 where gl_djh = ? and ls_status = 1"),
               {number});

    FinanceRemoval removal;
    removal.number = number;
    removal.partnerType = QStringLiteral("kh");
    removal.partner = header.value(QStringLiteral("kh_sn"));
    removal.date = date;
    const QMap<QString, QString> touched = RemoveFinanceRows(db, state, clock, removal);
    for (auto it = touched.cbegin(); it != touched.cend(); ++it)
        AddCashAccount(accounts, it.key(), it.value());

    if (IsTrue(state.UseSalesOrder))
        ReverseOrderProgress(db, number, QStringLiteral("jxc_lsxssp"), QStringLiteral("jxc_xssp"),
                             QStringLiteral("ls_sl"), QStringLiteral("ls_cksl"), QStringLiteral("ls_dhbz"));
    EnsureZeroGoodsStock(db, date.left(7));
    RecalcCashAccounts(db, state, clock, accounts);
}

UnauditOutcome CheckSalesReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                Notices &notices, const QString &number, const UnauditOptions &options)
{
    const UnauditOutcome o = commonChecks(db, state, notices, number, options, 6,
                                          QStringLiteral("销售退货单"), QStringLiteral("jxc_xsthd"),
                                          QStringLiteral("th_status"), QStringLiteral("th_checker"), false);
    if (o != UnauditOutcome::Done)
        return o;
    const QString warehouse = QueryScalar(
        db, QStringLiteral("select ck_sn from jxc_xsthd where gl_djh = ? and th_status = 1 order by id limit 1"),
        {number});
    return StockTestOutcome(state, notices,
                            CheckNegativeStock(db, state, clock, number, warehouse, QStringLiteral("XT")));
}

void ApplySalesReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                      const QString &number, const UnauditOptions &options)
{
    const QString columns = QStringLiteral("th_xsrq, ck_sn, kh_sn, hy_sn, th_qk");
    RowTexts header = salesHeader(db, QStringLiteral("jxc_xsthd"), columns, QStringLiteral("th_status"), number);
    const bool pos = !header.value(QStringLiteral("th_qk")).isEmpty() && Num(header, QStringLiteral("th_qk")) != 0;
    Lock(db, {QStringLiteral("jxc_xsthd"), number, LedgerGoods(db, number), QStringLiteral("kh"),
              header.value(QStringLiteral("kh_sn")),
              CashAccountsOf(db, QStringList{number} + RegistrationsAgainst(db, number)),
              pos ? header.value(QStringLiteral("hy_sn")) : QString()});
    RequireAuditedHeader(db, QStringLiteral("jxc_xsthd"), QStringLiteral("th_status"), number);
    header = salesHeader(db, QStringLiteral("jxc_xsthd"), columns, QStringLiteral("th_status"), number);
    const QString date = header.value(QStringLiteral("th_xsrq"));
    const QString warehouse = header.value(QStringLiteral("ck_sn"));
    const QString member = header.value(QStringLiteral("hy_sn"));

    WriteLog(db, state, clock, QStringLiteral("取消审核商品退货单") + number);
    QMap<QString, QString> accounts;
    const QString account = firstAccount(db, number);
    if (!account.isEmpty())
        AddCashAccount(accounts, account, date);
    RunSql(db, QStringLiteral("delete from jxc_xsthd where gl_djh = ? and th_status = 0"), {number});

    const QVector<RowTexts> rows = Rows(
        db,
        QStringLiteral("select id, g_sn, gl_sl from jxc_goodslist where gl_djh = ? and g_sn <> '00000000' "
                       "order by id"),
        {number});
    for (const RowTexts &row : rows) {
        const QString goods = row.value(QStringLiteral("g_sn"));
        const double s = Num(row, QStringLiteral("gl_sl"));
        RunSql(db, QStringLiteral("update jxc_goods set g_kc = coalesce(g_kc, 0) + ? where g_sn = ?"), {s, goods});
        RunSql(db,
               QStringLiteral("update jxc_kcsp set kc_sl = coalesce(kc_sl, 0) + ?, kc_zsl = coalesce(kc_zsl, 0) + ?, "
                              "kc_xssl = coalesce(kc_xssl, 0) - ? where g_sn = ? and ck_sn = ?"),
               {s, s, s, goods, warehouse});
        RecalcStockCost(db, state, clock, row.value(QStringLiteral("id")), QStringLiteral("1"));
    }

    if (pos) {
        if (!member.isEmpty())
            PostPosMember(db, state, clock, number, member, QStringLiteral("unXT"));
        deletePosBill(db, number);
    }

    if (!options.keepAudited)
        RunSql(db,
               QStringLiteral("update jxc_xsthd set th_qk = 0, th_status = 0, th_chkrq = '', "
                              "th_checker = '', th_hkje = 0 where gl_djh = ? and th_status = 1"),
               {number});

    FinanceRemoval removal;
    removal.number = number;
    removal.partnerType = QStringLiteral("kh");
    removal.partner = header.value(QStringLiteral("kh_sn"));
    removal.date = date;
    removal.expenses = false;
    const QMap<QString, QString> touched = RemoveFinanceRows(db, state, clock, removal);
    for (auto it = touched.cbegin(); it != touched.cend(); ++it)
        AddCashAccount(accounts, it.key(), it.value());

    EnsureZeroGoodsStock(db, date.left(7));
    RecalcCashAccounts(db, state, clock, accounts);
}

UnauditOutcome CheckExchange(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                             Notices &notices, const QString &number, const UnauditOptions &options)
{
    Q_UNUSED(clock)
    return commonChecks(db, state, notices, number, options, 3, QStringLiteral("商品换货单"),
                        QStringLiteral("jxc_xshhd"), QStringLiteral("ls_status"),
                        QStringLiteral("ls_checker"), false);
}

void ApplyExchange(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                   const QString &number, const UnauditOptions &options)
{
    Q_UNUSED(options)
    const QString columns = QStringLiteral("ls_xsrq, kh_sn");
    RowTexts header = salesHeader(db, QStringLiteral("jxc_xshhd"), columns, QStringLiteral("ls_status"), number);
    Lock(db, {QStringLiteral("jxc_xshhd"), number, LedgerGoods(db, number), QStringLiteral("kh"),
              header.value(QStringLiteral("kh_sn")), CashAccountsOf(db, {number}), QString()});
    RequireAuditedHeader(db, QStringLiteral("jxc_xshhd"), QStringLiteral("ls_status"), number);
    header = salesHeader(db, QStringLiteral("jxc_xshhd"), columns, QStringLiteral("ls_status"), number);
    const QString date = header.value(QStringLiteral("ls_xsrq"));

    WriteLog(db, state, clock, QStringLiteral("取消审核商品换货单") + number);
    QMap<QString, QString> accounts;
    const QString account = firstAccount(db, number);
    if (!account.isEmpty())
        AddCashAccount(accounts, account, date);
    RunSql(db, QStringLiteral("delete from jxc_xshhd where gl_djh = ? and ls_status = 0"), {number});

    // Each row in its own warehouse.
    const QVector<RowTexts> rows = Rows(
        db,
        QStringLiteral("select id, g_sn, ck_sn, gl_sl from jxc_goodslist where gl_djh = ? "
                       "and g_sn <> '00000000' order by id"),
        {number});
    for (const RowTexts &row : rows) {
        const QString goods = row.value(QStringLiteral("g_sn"));
        const double s = Num(row, QStringLiteral("gl_sl"));
        RunSql(db,
               QStringLiteral("update jxc_goods set g_kc = coalesce(g_kc, 0) + ?, "
                              "g_xspl = coalesce(g_xspl, 0) - 1 where g_sn = ?"),
               {s, goods});
        RunSql(db,
               QStringLiteral("update jxc_kcsp set kc_sl = coalesce(kc_sl, 0) + ?, kc_zsl = coalesce(kc_zsl, 0) + ?, "
                              "kc_xssl = coalesce(kc_xssl, 0) - ? where g_sn = ? and ck_sn = ?"),
               {s, s, s, goods, row.value(QStringLiteral("ck_sn"))});
        RecalcStockCost(db, state, clock, row.value(QStringLiteral("id")), QStringLiteral("1"));
    }

    RunSql(db,
           QStringLiteral("update jxc_xshhd set ls_status = 0, ls_chkrq = '', ls_checker = '' "
                          "where gl_djh = ? and ls_status = 1"),
           {number});
    RunSql(db, QStringLiteral("delete from jxc_lsxssp where gl_djh = ?"), {number});
    RunSql(db, QStringLiteral("delete from jxc_lsxsd where gl_djh = ?"), {number});

    FinanceRemoval removal;
    removal.number = number;
    removal.partnerType = QStringLiteral("kh");
    removal.partner = header.value(QStringLiteral("kh_sn"));
    removal.date = date;
    removal.registrations = false;
    removal.invoices = false;
    removal.expenses = false;
    const QMap<QString, QString> touched = RemoveFinanceRows(db, state, clock, removal);
    for (auto it = touched.cbegin(); it != touched.cend(); ++it)
        AddCashAccount(accounts, it.key(), it.value());
    RecalcCashAccounts(db, state, clock, accounts);
}

} // namespace unauditphases
