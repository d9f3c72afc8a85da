#pragma once

// The master-data screens in the screen registry, and the hand-offs between them. A caller
// creates a dialog through the registry, sets its inputs as dynamic properties, runs it and
// reads its results back from the same object; tests may put doubles in the registry that
// honour the same names.

class QComboBox;
class QDialog;
class QString;
class QWidget;
class ScreenRegistry;
struct ScreenContext;

void RegisterMasterdataScreens(ScreenRegistry &registry);

namespace handoff {
// Goods add dialog: in "source" (the caller's page tag: "spxxgl", "cgjh", "cgjhsh", "spxs",
// "spxssh" or another) and "copyGoodsId" (id of the goods to copy, source "spxxgl" only);
// out, after a save that closes the dialog, "goodsCode" and "openingQty" (canonical number
// text). Nothing is set when the dialog closes without such a save.
inline constexpr const char *Source = "source";
inline constexpr const char *CopyGoodsId = "copyGoodsId";
inline constexpr const char *GoodsCode = "goodsCode";
inline constexpr const char *OpeningQty = "openingQty";
// Goods modify dialog: in "goodsId".
inline constexpr const char *GoodsId = "goodsId";
// Look-up lists: in "callerCombo" (the QComboBox to refill) and "refillOnSave" (only the
// goods dialogs' unit, colour and specification combos are refilled by the add dialog).
inline constexpr const char *CallerCombo = "callerCombo";
inline constexpr const char *RefillOnSave = "refillOnSave";
// Unit and barcode dialogs: "auxMode" ("spxxgl_add", "spxxgl_modi", "spxxgl_add2",
// "spxxgl_modi2"), "rowId" (edit modes), "goodsCode", "baseUnit", "mainBarcode" and
// "basePrices" (the calling dialog's eight prices: purchase, sale, five levels, retail).
inline constexpr const char *AuxMode = "auxMode";
inline constexpr const char *RowId = "rowId";
inline constexpr const char *BaseUnit = "baseUnit";
inline constexpr const char *MainBarcode = "mainBarcode";
inline constexpr const char *BasePrices = "basePrices";
// Change-of-class chooser: in "selectedCount", out "classCode" (empty: cancelled).
inline constexpr const char *SelectedCount = "selectedCount";
inline constexpr const char *ClassCode = "classCode";
}  // namespace handoff

// Opens a look-up list (TF_Dwgl, TF_Color, TF_Ggxh, TF_HJxx) for `combo`.
void OpenLookupList(const ScreenContext &context, QWidget *parent, const QString &listClass, QComboBox *combo,
                    bool refillOnSave);
