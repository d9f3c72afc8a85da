#pragma once

#include "foundation/forms/handoffnames.h"

// The master-data screens in the screen registry, and the hand-offs between them. A caller
// creates a dialog through the registry, sets its inputs as dynamic properties, runs it and
// reads its results back from the same object; tests may put doubles in the registry that
// honour the same names.

#include "foundation/keyedlists.h"

#include <QVariant>

#include <functional>

class KeyedCombo;
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
// Customer and supplier dialogs: the modify dialog takes "partnerId" (row id); the add dialog
// leaves "partnerCode" after its save (the sales windows' "xs9": take that customer).
inline constexpr const char *PartnerId = "partnerId";
inline constexpr const char *PartnerCode = "partnerCode";
// Type lists and the region list: in "callerTag", the opener's mode ("khgl_add", "khgl_modi",
// "ghsgl_add", "ghsgl_modi"); out "chosenType" (the chosen type's name; customer types also
// "chosenTypeKey"), set only when the list hands a type back.
inline constexpr const char *ChosenType = "chosenType";
inline constexpr const char *ChosenTypeKey = "chosenTypeKey";
// Customer type rename: in "typeId" and "typeName".
inline constexpr const char *TypeId = "typeId";
inline constexpr const char *TypeName = "typeName";
// Short code: in "recordName" and "shortCode"; out "newShortCode" (the typed text, on "保存").
inline constexpr const char *RecordName = "recordName";
inline constexpr const char *ShortCode = "shortCode";
inline constexpr const char *NewShortCode = "newShortCode";
// Search dialogs: out "criteria", the trimmed texts in the order of the boxes, on confirm only.
inline constexpr const char *Criteria = "criteria";
// Warehouse dialogs: the modify dialog takes "warehouseSn"; the add dialog leaves it.
inline constexpr const char *WarehouseSn = "warehouseSn";
// Employee dialogs: the modify dialog takes "employeeId"; the add dialog leaves "employeeCode".
inline constexpr const char *EmployeeId = "employeeId";
inline constexpr const char *EmployeeCode = "employeeCode";
// Handler chooser: in "callerTag" and, for sales openers, "customerSn"; out on confirm, when
// the opener gets an answer, "handlerItems" (its new handler list) and "handlerSelected".
inline constexpr const char *CustomerSn = "customerSn";
inline constexpr const char *HandlerItems = "handlerItems";
inline constexpr const char *HandlerSelected = "handlerSelected";
// Department window: in "callerTag"; out "deptItems" and "deptSelect" ("确定" for
// "fyjsr_add"/"fyjsr_add1"), "deptReload" ("bmly", "bmth", "scrk", "sctk": after any save and
// on "确定").
inline constexpr const char *DeptItems = "deptItems";
inline constexpr const char *DeptSelect = "deptSelect";
inline constexpr const char *DeptReload = "deptReload";
// Department edit dialog: in "deptMode" ("add", "modi"), "deptId", "deptName"; out "deptCode".
inline constexpr const char *DeptMode = "deptMode";
inline constexpr const char *DeptId = "deptId";
inline constexpr const char *DeptName = "deptName";
inline constexpr const char *DeptCode = "deptCode";
}  // namespace handoff

// Keyed items in a dynamic property and back.
QVariant KeyedItemsProperty(const KeyedItems &items);
KeyedItems KeyedItemsOf(const QVariant &property);

// Applies what the handler chooser answered to the opener's handler list (refilled, the
// answer's item selected); false when it answered nothing.
bool ApplyHandlerAnswer(const QDialog *chooser, KeyedCombo *combo);
// Applies the department window's answer: the list refilled and the department selected by
// name, or `reload` run; false when it answered nothing.
bool ApplyDepartmentAnswer(const QDialog *window, KeyedCombo *combo, const std::function<void()> &reload);

// Opens a look-up list (TF_Dwgl, TF_Color, TF_Ggxh, TF_HJxx) for `combo`.
void OpenLookupList(const ScreenContext &context, QWidget *parent, const QString &listClass, QComboBox *combo,
                    bool refillOnSave);
