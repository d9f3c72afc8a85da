#include "masterdata_fixture.h"

#include "foundation/goods.h"

QString MasterDataTest::GetNewGoodsSnFor(int cid) const
{
    return GetNewGoodsSn(db(), QString::number(cid));
}
