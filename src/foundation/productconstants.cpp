#include "foundation/productconstants.h"

namespace {

ProductConstants &constants()
{
    static ProductConstants c;
    return c;
}

} // namespace

const ProductConstants &SetProductConstants()
{
    ProductConstants &c = constants();
    c.brandWord = QStringLiteral("Corvel");
    c.versionText = QStringLiteral("2023V2");
    c.makerWebAddress = QStringLiteral("https://www.corvel-soft.cn");
    c.makerPhone = QStringLiteral("400-800-5173（同号微信）");
    c.makerCompanyName = QStringLiteral("科维软件有限公司");
    c.makerSoftwareName = c.brandWord + QStringLiteral("软件");
    return c;
}

const ProductConstants &Product()
{
    if (constants().brandWord.isEmpty())
        SetProductConstants();
    return constants();
}
