#include "purchasing/forms/cgd.h"

TF_Cgd::TF_Cgd(const ScreenContext &context, QWidget *parent)
    : TF_Cgjh(PurchaseKind::Order, context, parent)
{
    setObjectName(QStringLiteral("TF_Cgd"));
}
