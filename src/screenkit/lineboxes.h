#pragma once

// The priced line dialogs' boxes bound to their LineEntryModel (foundation/lineentrymodel.h):
// a box's value change runs the model's change rule, a key released in the tax-inclusive price
// or the total (or in a box named with keyAsTaxPrice) its key rule, and every box then shows the
// model's values without signals. Nothing runs while `filling` (the opening and a row taken from
// a history set the boxes themselves). A null box (a variant without a total) is skipped.

#include "foundation/lineentrymodel.h"
#include "foundation/lineopening.h"

#include <QObject>
#include <QVariantMap>

#include <functional>

class LineDialog;
class MoneyEdit;
class QComboBox;
class QLineEdit;

class LineBoxes final : public QObject
{
public:
    struct Edits
    {
        MoneyEdit *price = nullptr;
        MoneyEdit *quantity = nullptr;
        MoneyEdit *rate = nullptr;
        MoneyEdit *taxPrice = nullptr;
        MoneyEdit *discount = nullptr;
        MoneyEdit *total = nullptr;
    };

    LineBoxes(LineEntryModel &model, const Edits &edits, QObject *parent);

    // A key released in `edit` counts as one in the tax-inclusive price (the sale's cost box).
    void keyAsTaxPrice(MoneyEdit *edit);
    // Values set as they are, then the rate rule once (an opening, a row taken), and shown.
    void load(const LineEntryModel::Values &values);
    // The model's values into the boxes; then `shown`.
    void show();

    bool filling = false;
    std::function<void()> shown;

private:
    LineEntryModel &m_model;
    Edits m_edits;
};

// A stored unit the goods' list lacks: its place in the list and the line's factor.
struct StoredUnitMemo
{
    int index = -1;
    double factor = 0.0;
    // The factor 确定 passes for the unit chosen (0: the goods' own).
    double factorAt(int current) const { return current == index ? factor : 0.0; }
};

// An opening into the dialog: the goods labels (with `moreInfo`, field → text), the unit list
// and its choice (the unit label showing the chosen unit when it is not the base unit), the
// line's note. Call with the boxes filling: choosing the unit is not a unit change.
StoredUnitMemo ShowLineOpening(LineDialog &dialog, QComboBox *unit, QLineEdit *note, const LineDialogOpening &o,
                               const QVariantMap &moreInfo = {});
