#include "screens_fixture.h"

#include "masterdata/forms/masterdatascreens.h"

void MasterScreenTest::SetUp()
{
    ScreenFixture::SetUp();
    if (IsSkipped())
        return;
    RunSql(db(), QStringLiteral("update jxc_xtcs set cs_fzdw = 0, cs_kc = 1, cs_hcj = 0"));
    setParam(QStringLiteral("cs_fzdw"), 0);
    RegisterMasterdataScreens(registry);
}
