// Cancel-audit of purchase receipts (CJ, jxc_jhd/jxc_jhsp) and purchase returns (CT,
// jxc_thd/jxc_thsp): the cancel kit over the posting's descriptions of the two kinds.

#include "engine/postpurchase.h"
#include "engine/unauditphases.h"

namespace unauditphases {

const CancelPhases *PurchaseCancelPhases(UnauditKind kind)
{
    // A receipt whose goods were taken in by a stock-in document stays; what the posting put on
    // hand goes (nothing for lines not yet taken in).
    static const CancelPhases receipt = [] {
        CancelPhases p{CheckOf(PurchaseInKind(), QStringLiteral("cggl"), 3), CancelOf(PurchaseInKind())};
        p.check.later = {QStringLiteral("jxc_rksp"), QStringLiteral("gl_djh"), QStringLiteral("入库"),
                         QStringLiteral("商品入库单")};
        p.check.stockType = QStringLiteral("CJ");
        return p;
    }();
    // The stored quantities of a return are negative: the stock rises again. A change of date
    // (keepAudited) needs no right. The reserved goods keep the movement of the posting.
    static const CancelPhases purchaseReturn = [] {
        CancelPhases p{CheckOf(PurchaseReturnKind(), QStringLiteral("cggl"), 6), CancelOf(PurchaseReturnKind())};
        p.check.rightWaivedWhenKept = true;
        return p;
    }();
    return kind == UnauditKind::PurchaseIn ? &receipt : kind == UnauditKind::PurchaseReturn ? &purchaseReturn : nullptr;
}

} // namespace unauditphases
