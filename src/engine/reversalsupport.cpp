#include "engine/reversalsupport.h"

#include "engine/balances.h"
#include "engine/postinglocks.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"

#include <algorithm>

namespace reversal {

QString NotAuditedText(const QString &number)
{
    return QStringLiteral("单据") + number + QStringLiteral("未审核，不能取消审核！");
}

QString ConfirmText(const QString &number)
{
    return QStringLiteral("您的操作将取消当前选中的已审核单据：") + number + QStringLiteral("，确认吗？");
}

UnauditOutcome Refuse(Notices &notices, const QString &text)
{
    notices.notice(text);
    return UnauditOutcome::Refused;
}

UnauditOutcome RequireRight(const QSqlDatabase &db, const LoginState &state, Notices &notices,
                            const QString &module, int position, const QString &documentName)
{
    if (HasRight(db, state, module, position))
        return UnauditOutcome::Done;
    return Refuse(notices, QStringLiteral("您没有取消审核") + documentName + QStringLiteral("的权限！"));
}

UnauditOutcome AuditorRule(const QSqlDatabase &db, const LoginState &state, Notices &notices,
                           const QString &module, int position, const QString &number,
                           const QString &checker)
{
    if (state.isAdministrator() || checker == state.CurrentOperatorName
        || UserHasRight(db, module, position, checker))
        return UnauditOutcome::Done;
    return Refuse(notices, QStringLiteral("单据：") + number + QStringLiteral("，的审核人：") + checker
                               + QStringLiteral("\r\n\r\n不允许其他人取消审核！"));
}

UnauditOutcome BeforeUnauditHook(Notices &notices, const QString &number)
{
    const QString answer = CheckBeforeUnaudit(number);
    if (answer == QLatin1String("ok"))
        return UnauditOutcome::Done;
    return Refuse(notices, answer);
}

UnauditOutcome Confirm(Notices &notices, const UnauditOptions &options, const QString &text)
{
    if (options.bulk)
        return UnauditOutcome::Done;
    return notices.confirm(text) ? UnauditOutcome::Done : UnauditOutcome::Declined;
}

UnauditOutcome StockTestOutcome(const LoginState &state, Notices &notices, const QString &message)
{
    if (message.isEmpty())
        return UnauditOutcome::Done;
    if (!IsTrue(state.AllowNegativeStock))
        return Refuse(notices, message);
    return notices.confirm(message) ? UnauditOutcome::Done : UnauditOutcome::Declined;
}

RowTexts Row(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    return postingsupport::ReadFirstRow(db, sql, binds);
}

QVector<RowTexts> Rows(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    return postingsupport::ReadRows(db, sql, binds);
}

double Num(const RowTexts &row, const QString &column)
{
    return TextToNumber(row.value(column));
}

QString Placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

QVariantList Binds(const QStringList &values)
{
    QVariantList binds;
    for (const QString &v : values)
        binds << v;
    return binds;
}

QStringList LedgerGoods(const QSqlDatabase &db, const QString &number)
{
    QStringList goods;
    for (const RowTexts &row : Rows(db,
                                    QStringLiteral("select distinct g_sn from jxc_goodslist "
                                                   "where gl_djh = ? and g_sn is not null"),
                                    {number}))
        goods << row.value(QStringLiteral("g_sn"));
    std::sort(goods.begin(), goods.end());
    return goods;
}

QStringList RegistrationsAgainst(const QSqlDatabase &db, const QString &number)
{
    QStringList numbers;
    const QString sql = QStringLiteral(
        "select gl_djh from jxc_ysyfk_dj where gl_djh2 = ? and gl_djh <> ? and gl_djh is not null "
        "union select gl_djh from jxc_ysyfk where gl_djh2 = ? and gl_djh <> ? and gl_djh is not null");
    for (const RowTexts &row : Rows(db, sql, {number, number, number, number})) {
        const QString n = row.value(QStringLiteral("gl_djh"));
        if (!n.isEmpty() && !numbers.contains(n))
            numbers << n;
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QStringList CashAccountsOf(const QSqlDatabase &db, const QStringList &numbers)
{
    QStringList accounts;
    if (numbers.isEmpty())
        return accounts;
    for (const RowTexts &row :
         Rows(db,
              QStringLiteral("select distinct xj_kmmc from jxc_xjyh where gl_djh in (%1)")
                  .arg(Placeholders(numbers.size())),
              Binds(numbers)))
        accounts << row.value(QStringLiteral("xj_kmmc"));
    std::sort(accounts.begin(), accounts.end());
    return accounts;
}

void Lock(const QSqlDatabase &db, const LockSet &locks)
{
    PostingLockKeys keys;
    keys.headers.push_back({locks.headerTable, locks.number});
    keys.goods = locks.goods;
    keys.partnerType = locks.partnerType;
    keys.partner = locks.partner;
    keys.cashAccounts = locks.cashAccounts;
    LockForPosting lock(db, keys);
    Q_UNUSED(lock)
    if (!locks.member.isEmpty()) {
        const Dialect dialect = Dialect::of(db);
        if (dialect.isPostgres() && LockForPosting::enabled())
            QueryScalar(db,
                        QStringLiteral("select hy_sn from jxc_hyxx where hy_sn = ?") + dialect.forUpdate(),
                        {locks.member});
    }
}

void AddCashAccount(QMap<QString, QString> &accounts, const QString &account, const QString &date)
{
    auto it = accounts.find(account);
    if (it == accounts.end())
        accounts.insert(account, date);
    else if (date < it.value())
        it.value() = date;
}

QMap<QString, QString> RemoveFinanceRows(const QSqlDatabase &db, const LoginState &state,
                                         const Clock &clock, const FinanceRemoval &removal)
{
    const QString &n = removal.number;
    const QStringList registrations =
        removal.registrations ? RegistrationsAgainst(db, n) : QStringList();
    const QStringList numbers = QStringList{n} + registrations;
    const QString in = Placeholders(numbers.size());
    const QVariantList numberBinds = Binds(numbers);

    // Goods ledger: the write-off rows of its registrations.
    if (!registrations.isEmpty())
        RunSql(db,
               QStringLiteral("delete from jxc_goodslist where gl_djh2 in (%1)")
                   .arg(Placeholders(registrations.size())),
               Binds(registrations));

    // Cash rows of the document and of its registrations; each account is recalculated from the
    // earliest row removed.
    QMap<QString, QString> accounts;
    for (const RowTexts &row :
         Rows(db,
              QStringLiteral("select xj_kmmc, min(xj_rq) as rq from jxc_xjyh where gl_djh in (%1) "
                             "group by xj_kmmc")
                  .arg(in),
              numberBinds)) {
        QString from = row.value(QStringLiteral("rq"));
        if (removal.date < from || from.isEmpty())
            from = removal.date;
        AddCashAccount(accounts, row.value(QStringLiteral("xj_kmmc")), from);
    }
    RunSql(db, QStringLiteral("delete from jxc_xjyh where gl_djh in (%1)").arg(in), numberBinds);

    if (removal.expenses)
        RunSql(db, QStringLiteral("delete from jxc_yyfy where gl_djh in (%1)").arg(in), numberBinds);

    // Partner account: the document's row, the copies of registrations against it and their
    // write-offs (gl_djh2 = the registration).
    QString partnerFrom = removal.date;
    const QString earliest = QueryScalar(
        db,
        QStringLiteral("select min(k_rq) from jxc_ysyfk where (gl_djh in (%1) or gl_djh2 in (%1)) "
                       "and k_ghskh = ? and k_type = ?")
            .arg(in),
        numberBinds + numberBinds + QVariantList{removal.partner, removal.partnerType});
    if (!earliest.isEmpty() && earliest < partnerFrom)
        partnerFrom = earliest;
    if (removal.registrations)
        RunSql(db, QStringLiteral("delete from jxc_ysyfk where gl_djh in (%1) or gl_djh2 in (%1)").arg(in),
               numberBinds + numberBinds);
    else
        RunSql(db, QStringLiteral("delete from jxc_ysyfk where gl_djh = ?"), {n});
    RecalcPartnerBalances(db, state, clock, removal.partner, removal.partnerType, partnerFrom);

    if (removal.registrations)
        RunSql(db, QStringLiteral("delete from jxc_ysyfk_dj where gl_djh in (%1) or gl_djh2 = ?").arg(in),
               numberBinds + QVariantList{n});

    if (removal.invoices) {
        RunSql(db, QStringLiteral("delete from jxc_fpdjb where gl_djh = ?"), {n});
        RecalcInvoiceBalances(db, state, clock, removal.partner, removal.partnerType, removal.date);
    }
    return accounts;
}

void RecalcCashAccounts(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                        const QMap<QString, QString> &accounts)
{
    for (auto it = accounts.cbegin(); it != accounts.cend(); ++it)
        RecalcCashBalances(db, state, clock, it.key(), it.value());
}

void ReverseOrderProgress(const QSqlDatabase &db, const LoginState &state, const OrderLink &link,
                          const QString &linesTable, const QString &number)
{
    if (!link.on(state))
        return;
    const QVector<RowTexts> lines = Rows(
        db,
        QStringLiteral("select id3, g_sn, %1 as qty from %2 where gl_djh = ? and id3 is not null "
                       "and id3 <> 0 order by id")
            .arg(link.quantity, linesTable),
        {number});
    for (const RowTexts &line : lines) {
        const qint64 id = line.value(QStringLiteral("id3")).toLongLong();
        const QString goods = line.value(QStringLiteral("g_sn"));
        RunSql(db,
               QStringLiteral("update %1 set %2 = coalesce(%2, 0) - ? where id2 = ? and g_sn = ?")
                   .arg(link.table, link.done),
               {Num(line, QStringLiteral("qty")), id, goods});
        RunSql(db,
               QStringLiteral("update %1 set %2 = 0 where id = ? and coalesce(%2, 0) <= 0").arg(link.table, link.done),
               {id});
        RunSql(db,
               QStringLiteral("update %1 set %2 = case when coalesce(%3, 0) >= coalesce(%4, 0) "
                              "then 1 else 0 end where id2 = ? and g_sn = ?")
                   .arg(link.table, link.closed, link.done, link.quantity),
               {id, goods});
    }
}

} // namespace reversal
