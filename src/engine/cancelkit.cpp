#include "engine/cancelkit.h"

#include "engine/postingkit.h"
#include "engine/reversalsupport.h"
#include "engine/stockcheck.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/goods.h"
#include "foundation/oplog.h"

postingsupport::RowTexts AuditedHeader(const QSqlDatabase &db, const QString &table, const QString &statusColumn,
                                       const QString &number)
{
    return postingsupport::ReadFirstRow(
        db, QStringLiteral("select * from %1 where gl_djh = ? and %2 = 1 order by id limit 1").arg(table, statusColumn),
        {number});
}

void CancelDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &number,
                    const UnauditOptions &options, const CancelKind &kind)
{
    using namespace reversal;
    const QString status = kind.prefix + QStringLiteral("status");
    RowTexts header = AuditedHeader(db, kind.header, status, number);
    LockSet locks{kind.header, number, LedgerGoods(db, number), QString(), QString(), QStringList(), QString()};
    if (kind.partner) {
        locks.partnerType = kind.partner->type;
        locks.partner = header.value(kind.partner->key);
        locks.cashAccounts = CashAccountsOf(
            db, kind.registrations ? QStringList{number} + RegistrationsAgainst(db, number) : QStringList{number});
    }
    if (kind.member)
        locks.member = kind.member(header);
    Lock(db, locks);
    // The second look, under the locks.
    header = AuditedHeader(db, kind.header, status, number);
    if (header.isEmpty())
        throw UnauditRefusal(NotAuditedText(number));
    const QString date = kind.dateColumn.isEmpty() ? QString() : header.value(kind.dateColumn);

    WriteLog(db, state, clock, kind.logText + number);
    QMap<QString, QString> accounts;
    if (kind.partner) {
        const QString account = QueryScalar(
            db, QStringLiteral("select xj_kmmc from jxc_xjyh where gl_djh = ? order by id limit 1"), {number});
        if (!account.isEmpty())
            AddCashAccount(accounts, account, date);
    }
    RunSql(db, QStringLiteral("delete from %1 where gl_djh = ? and %2 = 0").arg(kind.header, status), {number});

    // The ledger rows: stock and goods back, the walk without the document, then the rows go.
    const CancelContext context{db, state, clock, number, header};
    StockMoves moves = kind.moves;
    moves.createRows = false;
    moves.exclusion = QStringLiteral("1");
    if (kind.steps)
        MoveStock(db, state, clock, moves, kind.steps(context));
    if (kind.own)
        kind.own(context);
    RunSql(db, QStringLiteral("delete from jxc_goodslist where gl_djh = ?"), {number});

    if (!kind.reset.isEmpty() && !(options.keepAudited && kind.keepAuditedKeepsHeader))
        RunSql(db, QStringLiteral("update %1 set %2 where gl_djh = ? and %3 = 1").arg(kind.header, kind.reset, status),
               {number});

    if (kind.partner) {
        FinanceRemoval removal;
        removal.number = number;
        removal.partnerType = kind.partner->type;
        removal.partner = header.value(kind.partner->key);
        removal.date = date;
        removal.registrations = kind.registrations;
        removal.invoices = kind.invoices;
        removal.expenses = kind.expenses;
        const QMap<QString, QString> touched = RemoveFinanceRows(db, state, clock, removal);
        for (auto it = touched.cbegin(); it != touched.cend(); ++it)
            AddCashAccount(accounts, it.key(), it.value());
    } else if (kind.expenses) {
        RunSql(db, QStringLiteral("delete from jxc_yyfy where gl_djh = ?"), {number});
    }
    if (kind.after)
        kind.after(context);
    if (kind.zeroRows)
        EnsureZeroGoodsStock(db, date.left(7));
    RecalcCashAccounts(db, state, clock, accounts);
}

CancelKind CancelOf(const DocumentKind &posting)
{
    CancelKind c;
    c.header = posting.header;
    c.prefix = posting.prefix;
    c.dateColumn = posting.dateColumn;
    c.partner = posting.partner;
    c.logText = QStringLiteral("取消审核") + posting.name;
    c.steps = [&posting](const CancelContext &x) {
        return ReadStockSteps(x.db, x.number, ReversalOf(posting.steps), x.header.value(QStringLiteral("ck_sn")));
    };
    c.moves = posting.moves;
    c.moves.frequencyStep = -posting.moves.frequencyStep;
    c.moves.lastPurchase = false;
    c.reset = QStringLiteral("%1status = 0, %1chkrq = '', %1checker = '', %1hkje = 0").arg(posting.prefix);
    c.expenses = !posting.freightNote.isEmpty();
    c.after = [&posting](const CancelContext &x) {
        reversal::ReverseOrderProgress(x.db, x.state, posting.orders, posting.lines, x.number);
    };
    return c;
}

CancelCheck CheckOf(const DocumentKind &posting, const QString &module, int position)
{
    CancelCheck c;
    c.module = module;
    c.position = position;
    c.name = posting.name;
    c.header = posting.header;
    c.prefix = posting.prefix;
    return c;
}

UnauditOutcome CheckCancel(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                           const QString &number, const UnauditOptions &options, const CancelCheck &check)
{
    using namespace reversal;
    UnauditOutcome o = UnauditOutcome::Done;
    if (!(options.keepAudited && check.rightWaivedWhenKept)
        && (o = RequireRight(db, state, notices, check.module, check.position, check.name)) != UnauditOutcome::Done)
        return o;
    const CancelCheck::LaterDocuments &later = check.later;
    if (!later.table.isEmpty()
        && QueryScalar(db, QStringLiteral("select count(*) from %1 where %2 = ?").arg(later.table, later.column), {number})
                   .toInt()
               > 0)
        return Refuse(notices, QStringLiteral("该单据%1已有%2信息，不能取消审核！\r\n\r\n请在%3中删除该单据的所有信息，"
                                              "\r\n\r\n然后再取消审核！")
                                   .arg(number, later.what, later.screen));
    const RowTexts header = AuditedHeader(db, check.header, check.prefix + QStringLiteral("status"), number);
    if (header.isEmpty())
        return Refuse(notices, NotAuditedText(number));
    if ((o = AuditorRule(db, state, notices, check.module, check.position, number,
                         header.value(check.prefix + QStringLiteral("checker"))))
        != UnauditOutcome::Done)
        return o;
    if ((o = BeforeUnauditHook(notices, number)) != UnauditOutcome::Done)
        return o;
    if ((o = Confirm(notices, options, ConfirmText(number))) != UnauditOutcome::Done)
        return o;
    if (check.stockType.isEmpty() || options.skipStockTest)
        return UnauditOutcome::Done;
    return StockTestOutcome(
        state, notices,
        CheckNegativeStock(db, state, clock, number, header.value(QStringLiteral("ck_sn")), check.stockType));
}
