#include "masterdata_fixture.h"

#include "foundation/goods.h"

QString MasterDataTest::GetNewGoodsSnFor(int cid) const
{
    return GetNewGoodsSn(db(), QString::number(cid));
}

#include "records_fixture.h"

#include "foundation/pinyin.h"

QString RecordsTest::GetPYFor(const QString &name)
{
    return GetPY(name);
}
