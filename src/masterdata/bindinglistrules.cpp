#include "masterdata/bindinglistrules.h"

#include "masterdata/partnerkind.h"

#include "foundation/loginstate.h"
#include "foundation/rights.h"

BindingList WarehouseBindingList(const QSqlDatabase &db, const LoginState &state)
{
    BindingList list;
    const KeyedItem all{QString::fromUtf8(kAllWarehousesText), QString::fromLatin1(kAllWarehousesKey)};
    const KeyedItems warehouses = LoadKeyedCombo(db, QStringLiteral("jxc_ckxx"), QStringLiteral("ck_name"),
                                                 QStringLiteral("ck_sn"), QStringLiteral("id"));
    if (state.BindOperatorWarehouse != QLatin1String("1") || state.isAdministrator()) {
        list.items << all << warehouses;
        return list;
    }
    const QStringList mine = WarehousesOfOperator(db, state.CurrentOperatorSn);
    for (const KeyedItem &w : warehouses)
        if (mine.contains(w.key))
            list.items << w;
    list.items << all;
    return list;
}
