#pragma once

// Filling the kit's drop-down lists from the keyed-list rules (foundation/keyedlists.h).

#include "foundation/keyedlists.h"

#include <QSqlDatabase>
#include <QStringList>

struct LoginState;
class KeyedCombo;
class QComboBox;

// Clears the list (its keys go with the items) and adds the items with their keys;
// `selectFirst` selects the first item (LoadSalesmanCombo's lists), else nothing is selected.
void FillKeyedCombo(KeyedCombo *combo, const KeyedItems &items, bool selectFirst = false);
// Unkeyed lists: the texts only.
void FillComboItems(QComboBox *combo, const QStringList &texts);
// The goods' units (base unit first) into a unit list.
void FillGoodsUnitsCombo(QComboBox *combo, const QSqlDatabase &db, const LoginState &state,
                         const QString &goodsSn);
