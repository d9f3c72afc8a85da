#include "shell/followon.h"

void PrepareFollowOn(FollowOnKind kind, FollowOnRequests &requests)
{
    switch (kind) {
    case FollowOnKind::PurchaseReceipt:
    case FollowOnKind::ProductionReceipt:
        requests.clear();
        break;
    case FollowOnKind::Sale:
        requests.ReturnSourceNo.clear();
        break;
    case FollowOnKind::None:
        break;
    }
}

QStringList FollowOnScreens(FollowOnKind kind, const FollowOnRequests &requests)
{
    QStringList out;
    switch (kind) {
    case FollowOnKind::PurchaseReceipt:
        if (!requests.ReturnSourceNo.isEmpty())
            out << QStringLiteral("TF_Cgth");
        [[fallthrough]];
    case FollowOnKind::ProductionReceipt:
        if (!requests.IssueSourceNo.isEmpty())
            out << QStringLiteral("TF_Bmly");
        if (!requests.SaleSourceNo.isEmpty())
            out << QStringLiteral("TF_Spxs");
        break;
    case FollowOnKind::Sale:
        if (!requests.ReturnSourceNo.isEmpty())
            out << QStringLiteral("TF_Xsth");
        break;
    case FollowOnKind::None:
        break;
    }
    return out;
}

void FinishFollowOn(FollowOnKind kind, FollowOnRequests &requests)
{
    if (kind == FollowOnKind::Sale)
        requests.ReturnSourceNo.clear();
}
