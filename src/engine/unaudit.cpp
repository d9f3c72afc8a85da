#include "engine/unaudit.h"

#include "engine/unauditphases.h"
#include "foundation/db/dberror.h"
#include "foundation/db/transaction.h"
#include "foundation/notices.h"

UnauditKind UnauditKindOfNumber(const QString &number)
{
    const QString prefix = number.left(2).toUpper();
    static const struct
    {
        const char *prefix;
        UnauditKind kind;
    } kPrefixes[] = {
        {"CJ", UnauditKind::PurchaseIn},       {"CT", UnauditKind::PurchaseReturn},
        {"XS", UnauditKind::Sale},             {"XT", UnauditKind::SalesReturn},
        {"XH", UnauditKind::Exchange},         {"DB", UnauditKind::Transfer},
        {"PD", UnauditKind::StocktakingFromLedger},
        {"CF", UnauditKind::Split},            {"KB", UnauditKind::Bundle},
        {"BS", UnauditKind::Loss},             {"BY", UnauditKind::Overflow},
        {"JH", UnauditKind::CustomerBorrow},   {"HH", UnauditKind::CustomerReturnBorrow},
        {"SC", UnauditKind::ProductionIn},     {"ST", UnauditKind::ProductionReturn},
        {"LY", UnauditKind::DeptIssue},        {"LT", UnauditKind::DeptReturn},
        {"LF", UnauditKind::DeptReturn},
    };
    for (const auto &p : kPrefixes)
        if (prefix == QLatin1String(p.prefix))
            return p.kind;
    return UnauditKind::Unknown;
}

namespace unaudit_impl {

const unauditphases::CancelPhases *phasesOf(UnauditKind kind)
{
    using namespace unauditphases;
    if (const CancelPhases *p = PurchaseCancelPhases(kind))
        return p;
    return SalesCancelPhases(kind);
}

} // namespace unaudit_impl

UnauditOutcome UnauditCheck(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                            const Clock &clock, Notices &notices, const QString &number,
                            const UnauditOptions &options)
{
    if (const auto *phases = unaudit_impl::phasesOf(kind))
        return CheckCancel(db, state, clock, notices, number, options, phases->check);
    if (kind == UnauditKind::Unknown)
        return UnauditOutcome::Refused;
    return unauditphases::CheckInventory(kind, db, state, clock, notices, number, options);
}

void UnauditApply(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                  const Clock &clock, const QString &number, const UnauditOptions &options)
{
    if (kind == UnauditKind::Unknown)
        throw UnauditRefusal(QStringLiteral("单据") + number + QStringLiteral("未审核，不能取消审核！"));
    Transaction tx(db);
    if (const auto *phases = unaudit_impl::phasesOf(kind))
        CancelDocument(db, state, clock, number, options, phases->cancel);
    else
        unauditphases::ApplyInventory(kind, db, state, clock, number, options);
    tx.commit();
}

UnauditOutcome RunUnaudit(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                          const Clock &clock, Notices &notices, const QString &number,
                          const UnauditOptions &options)
{
    const QString failed = QStringLiteral("取消审核失败：");
    try {
        const UnauditOutcome checked = UnauditCheck(kind, db, state, clock, notices, number, options);
        if (checked != UnauditOutcome::Done)
            return checked;
        UnauditApply(kind, db, state, clock, number, options);
        return UnauditOutcome::Done;
    } catch (const UnauditRefusal &refusal) {
        notices.notice(refusal.text());
        return UnauditOutcome::Refused;
    } catch (const DbError &e) {
        notices.notice(failed + e.text());
        return UnauditOutcome::Failed;
    }
}

UnauditOutcome UnauditByNumber(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                               Notices &notices, const QString &number, const UnauditOptions &options)
{
    return RunUnaudit(UnauditKindOfNumber(number), db, state, clock, notices, number, options);
}

#define JXC_UNAUDIT_ROUTINE_BODY(name, kind)                                                       \
    UnauditOutcome name(const QSqlDatabase &db, const LoginState &state, const Clock &clock,       \
                        Notices &notices, const QString &number, const UnauditOptions &options)   \
    {                                                                                              \
        return RunUnaudit(UnauditKind::kind, db, state, clock, notices, number, options);         \
    }

JXC_UNAUDIT_ROUTINE_BODY(UnauditPurchaseIn, PurchaseIn)
JXC_UNAUDIT_ROUTINE_BODY(UnauditPurchaseReturn, PurchaseReturn)
JXC_UNAUDIT_ROUTINE_BODY(UnauditSale, Sale)
JXC_UNAUDIT_ROUTINE_BODY(UnauditSalesReturn, SalesReturn)
JXC_UNAUDIT_ROUTINE_BODY(UnauditExchange, Exchange)
JXC_UNAUDIT_ROUTINE_BODY(UnauditTransfer, Transfer)
JXC_UNAUDIT_ROUTINE_BODY(UnauditStocktaking, Stocktaking)
JXC_UNAUDIT_ROUTINE_BODY(UnauditStocktakingFromLedger, StocktakingFromLedger)
JXC_UNAUDIT_ROUTINE_BODY(UnauditSplit, Split)
JXC_UNAUDIT_ROUTINE_BODY(UnauditBundle, Bundle)
JXC_UNAUDIT_ROUTINE_BODY(UnauditLoss, Loss)
JXC_UNAUDIT_ROUTINE_BODY(UnauditOverflow, Overflow)
JXC_UNAUDIT_ROUTINE_BODY(UnauditCustomerBorrow, CustomerBorrow)
JXC_UNAUDIT_ROUTINE_BODY(UnauditCustomerReturnBorrow, CustomerReturnBorrow)
JXC_UNAUDIT_ROUTINE_BODY(UnauditProductionIn, ProductionIn)
JXC_UNAUDIT_ROUTINE_BODY(UnauditProductionReturn, ProductionReturn)
JXC_UNAUDIT_ROUTINE_BODY(UnauditDeptIssue, DeptIssue)
JXC_UNAUDIT_ROUTINE_BODY(UnauditDeptReturn, DeptReturn)

#undef JXC_UNAUDIT_ROUTINE_BODY
