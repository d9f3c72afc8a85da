#pragma once

// The purchasing screens in the screen registry, and the names of the dynamic properties
// through which a document window talks to the dialogs it opens by class name: it sets their
// inputs before exec() and reads their results from the same object afterwards. Tests put
// doubles in the registry that honour the same names.

#include "purchasing/purchasedoc.h"

class ScreenRegistry;

// The class names and captions of a document's line dialog and goods picker.
struct PurchaseScreens
{
    const char *lineDialog;     // "TF_Cgjh_Sele"
    const char *lineCaption;    // "商品信息(采购进货)"
    const char *picker;         // "TF_Cgjh_Add"
    const char *pickerCaption;  // "增加商品(采购进货)"
};
const PurchaseScreens &PurchaseScreensOf(PurchaseKind kind);

// TF_Cgjh, TF_Cgth, TF_Cgd; the line dialogs TF_Cgjh_Sele, TF_Cgth_Sele, TF_Cgd_Sele (one class); the goods
// pickers TF_Cgjh_Add, TF_Cgth_Add, TF_Cgd_Add (one class).
void RegisterPurchasingScreens(ScreenRegistry &registry);

namespace handoff {
// Line dialog: in "documentContext" (foundation/doccontext.h: DocumentContext *), "lineMode"
// (the mode tag "cgjh_new", "cgjh", "cgjh_add", "cgjh_modi", "cgjh_modish" or the return's
// "cgth…"), "goodsCode" (masterdata's handoff::GoodsCode) and "lineId" (the line or basket
// row changed). The picker and the import dialogs take "documentContext" too.
inline constexpr const char *LineTag = "lineMode";
inline constexpr const char *LineId = "lineId";
// Kit picker TF_Spxs_Clsele: in "pickMode" ("spxs"); out, when accepted, "kitCode", "kitName"
// and "kitQuantity" (the quantity as typed).
inline constexpr const char *PickMode = "pickMode";
inline constexpr const char *KitCode = "kitCode";
inline constexpr const char *KitName = "kitName";
inline constexpr const char *KitQuantity = "kitQuantity";
// The handler chooser TF_User2 and the note presets TF_Djbz take handoff::CallerTag ("jh")
// and answer with handoff::HandlerItems/HandlerSelected (masterdatascreens.h) and
// handoff::NoteText (foundation/forms/handoffnames.h); the supplier modify dialog takes
// handoff::PartnerId.
// Picture viewer TF_Spxxgl_Pic2: in "pictureFile" (goods code + ".jpg").
inline constexpr const char *PictureFile = "pictureFile";
// The payment dialog TF_Yfkgl_Fk and the change-of-date dialog TF_ModiDateJh: in
// "documentNumber" (a "CJ" or "CT" number).
inline constexpr const char *DocumentNumber = "documentNumber";
}  // namespace handoff
