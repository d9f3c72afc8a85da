#include "engine/partnerside.h"

const PartnerSide &SupplierSide()
{
    static const PartnerSide side{QStringLiteral("ghs"), QStringLiteral("jxc_ghsxx"), QStringLiteral("ghs_sn"),
                                  QStringLiteral("ghs_name"), QStringLiteral("ghs_lwje"),
                                  QStringLiteral("供货商")};
    return side;
}

const PartnerSide &CustomerSide()
{
    static const PartnerSide side{QStringLiteral("kh"), QStringLiteral("jxc_khxx"), QStringLiteral("kh_sn"),
                                  QStringLiteral("kh_name"), QStringLiteral("kh_lwje"), QStringLiteral("客户")};
    return side;
}

const PartnerSide *PartnerSideOfType(const QString &type)
{
    if (type == SupplierSide().type)
        return &SupplierSide();
    if (type == CustomerSide().type)
        return &CustomerSide();
    return nullptr;
}
