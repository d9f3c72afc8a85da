#include "engine/balances.h"

#include "engine/enginebatch.h"
#include "engine/partnerside.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"

#include <vector>

namespace balances_impl {

QVariantList texts(std::initializer_list<QString> values)
{
    QVariantList out;
    for (const QString &v : values)
        out << engine::NotNull(v);
    return out;
}

QString orZero(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("0") : text;
}

// One ledger with a running balance, described for the shared walk.
struct BalanceLedger
{
    const char *table;
    const char *dateColumn;
    const char *balanceColumn;
    const char *accountWhere;  // with the account's binds
    const char *movement;      // the row's movement as an expression, NULLs as 0
};

const BalanceLedger kPartner{"jxc_ysyfk", "k_rq", "k_ljje", "k_type = ? and k_ghskh = ?",
                             "coalesce(k_qcje, 0), coalesce(k_yfje, 0), coalesce(k_sfje, 0)"};
const BalanceLedger kInvoice{"jxc_fpdjb", "fp_rq", "fp_ljje", "fp_type = ? and fp_ghskh = ? and fp_check <> 0",
                             "coalesce(fp_qcje, 0), coalesce(fp_yfje, 0), coalesce(fp_kpje, 0)"};
const BalanceLedger kCash{"jxc_xjyh", "xj_rq", "xj_ljje", "xj_kmmc = ? and xj_chk = '1'",
                          "0, coalesce(xj_je, 0), 0"};

QString balanceAt(const QSqlDatabase &db, const BalanceLedger &l, const QVariantList &account, const QString &beforeId,
                  const QString &date)
{
    QString sql = QStringLiteral("select %1 from %2 where %3 and %4 <= ?")
                      .arg(QLatin1String(l.balanceColumn), QLatin1String(l.table), QLatin1String(l.accountWhere),
                           QLatin1String(l.dateColumn));
    QVariantList binds = account;
    binds << engine::NotNull(date);
    const QString before = beforeId.trimmed();
    if (!before.isEmpty() && before != QLatin1String("0")) {
        sql += QStringLiteral(" and id < ?");
        binds << engine::IdFromText(before);
    }
    sql += QStringLiteral(" order by %1 desc, id desc limit 1").arg(QLatin1String(l.dateColumn));
    return orZero(QueryScalar(db, sql, binds));
}

QString newestBalance(const QSqlDatabase &db, const BalanceLedger &l, const QVariantList &account)
{
    return QueryScalar(db, QStringLiteral("select %1 from %2 where %3 order by %4 desc, id desc limit 1")
                               .arg(QLatin1String(l.balanceColumn), QLatin1String(l.table),
                                    QLatin1String(l.accountWhere), QLatin1String(l.dateColumn)),
                       account);
}

// Rewrites the balance of every counted row from `fromDate` on in one ordered read and one
// batched update; returns the last balance (the one before fromDate when no row follows).
double recalc(const QSqlDatabase &db, const BalanceLedger &l, const QVariantList &account, const QString &fromDate)
{
    const QString table = QLatin1String(l.table);
    const QString date = QLatin1String(l.dateColumn);
    QVariantList binds = account;
    binds << engine::NotNull(fromDate);
    double balance = TextToNumber(QueryScalar(
        db,
        QStringLiteral("select %1 from %2 where %3 and %4 < ? order by %4 desc, id desc limit 1")
            .arg(QLatin1String(l.balanceColumn), table, QLatin1String(l.accountWhere), date),
        binds));
    std::vector<QVariantList> rows;
    ForEachRow(db,
               QStringLiteral("select id, %1 from %2 where %3 and %4 >= ? order by %4, id")
                   .arg(QLatin1String(l.movement), table, QLatin1String(l.accountWhere), date),
               binds, [&](const QSqlQuery &q) {
                   // Opening amount first, then what the row makes owed, less what it settles.
                   balance = (q.value(1).toDouble() + balance) + q.value(2).toDouble() - q.value(3).toDouble();
                   rows.push_back({q.value(0).toLongLong(), balance});
               });
    engine::BatchUpdateById(db, table, {QLatin1String(l.balanceColumn)}, rows);
    return balance;
}

} // namespace balances_impl

QString GetPartnerBalanceAt(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &partner, const QString &type, const QString &beforeId, const QString &date)
{
    using namespace balances_impl;
    Q_UNUSED(state)
    Q_UNUSED(clock)
    return balanceAt(db, kPartner, texts({type, partner}), beforeId, date);
}

QString GetPartnerBalance(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &partner,
                          const QString &type)
{
    using namespace balances_impl;
    Q_UNUSED(clock)
    const QString newest = newestBalance(db, kPartner, texts({type, partner}));
    if (newest.isEmpty())
        return QStringLiteral("0");
    bool ok = false;
    int decimals = state.TotalDecimals.trimmed().toInt(&ok);
    if (!ok)
        decimals = 2;
    return NumberText(RoundTo(TextToNumber(newest), decimals));
}

void RecalcPartnerBalances(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                           const QString &partner, const QString &type, const QString &fromDate)
{
    using namespace balances_impl;
    Q_UNUSED(state)
    Q_UNUSED(clock)
    Transaction tx(db, Transaction::Nesting::Join);
    const double balance = recalc(db, kPartner, texts({type, partner}), fromDate);
    if (const PartnerSide *side = PartnerSideOfType(type))
        RunSql(db, QStringLiteral("update %1 set %2 = ? where %3 = ?").arg(side->table, side->balance, side->key),
               {balance, partner});
    tx.commit();
}

QString GetInvoiceBalanceAt(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &partner, const QString &type, const QString &beforeId, const QString &date)
{
    using namespace balances_impl;
    Q_UNUSED(state)
    Q_UNUSED(clock)
    return balanceAt(db, kInvoice, texts({type, partner}), beforeId, date);
}

void RecalcInvoiceBalances(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                           const QString &partner, const QString &type, const QString &fromDate)
{
    using namespace balances_impl;
    Q_UNUSED(state)
    Q_UNUSED(clock)
    Transaction tx(db, Transaction::Nesting::Join);
    recalc(db, kInvoice, texts({type, partner}), fromDate);
    tx.commit();
}

QString GetCashBalance(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &account)
{
    using namespace balances_impl;
    Q_UNUSED(state)
    Q_UNUSED(clock)
    return orZero(newestBalance(db, kCash, texts({account})));
}

void RecalcCashBalances(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &account,
                        const QString &fromDate)
{
    using namespace balances_impl;
    Q_UNUSED(state)
    Q_UNUSED(clock)
    Transaction tx(db, Transaction::Nesting::Join);
    recalc(db, kCash, texts({account}), fromDate);
    tx.commit();
}
