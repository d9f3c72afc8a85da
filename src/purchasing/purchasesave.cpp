#include "purchasing/purchasesave.h"

#include "foundation/db/numbers.h"
#include "purchasing/purchaselinemath.h"

bool AcceptPurchaseSaveInput(const QSqlDatabase &db, Notices &notices, int lines, const PurchaseHeaderInput &in,
                             PurchaseSaveResult &result)
{
    const SaveInputCheck check =
        AcceptDocumentSaveInput(db, notices, lines, SupplierSide(), QStringLiteral("请选择供货商！"),
                                {in.supplierText, in.supplierSn, in.handlerText, in.handlerSn, in.warehouseSn});
    if (check == SaveInputCheck::Accepted)
        return true;
    result.status = check == SaveInputCheck::Failed ? PurchaseStatus::Failed : PurchaseStatus::Refused;
    return false;
}

double SavedPaid(const LoginState &state, double paid)
{
    if (const std::optional<int> n = PurchaseAmountRounding(state))
        return RoundTo(paid, *n);
    return paid;
}
