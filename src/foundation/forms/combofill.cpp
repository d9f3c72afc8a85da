#include "foundation/forms/combofill.h"

#include "foundation/goods.h"
#include "screenkit/editors.h"

void FillKeyedCombo(KeyedCombo *combo, const KeyedItems &items, bool selectFirst)
{
    combo->clear();
    for (const KeyedItem &item : items)
        combo->addKeyed(item.text, item.key);
    combo->setCurrentIndex(selectFirst && combo->count() > 0 ? 0 : -1);
}

void FillComboItems(QComboBox *combo, const QStringList &texts)
{
    combo->clear();
    combo->addItems(texts);
    combo->setCurrentIndex(-1);
}

void FillGoodsUnitsCombo(QComboBox *combo, const QSqlDatabase &db, const LoginState &state,
                         const QString &goodsSn)
{
    FillComboItems(combo, FillGoodsUnits(db, state, goodsSn));
}
