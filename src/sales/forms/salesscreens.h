#pragma once

// The sales screens in the screen registry, and the class names of the dialogs the sale window
// opens by name. The line dialog and the picker take the purchase documents' property names
// (purchasing/forms/purchasingscreens.h, namespace handoff): "documentContext", "lineMode"
// (the mode tags "spxs_new", "spxs_add", "spxs_modi", "spxs", "spxs_modish"), "goodsCode" and
// "lineId".

class ScreenRegistry;

namespace sales {
inline constexpr const char *kLineDialog = "TF_Spxs_Sele";
inline constexpr const char *kLineCaption = "商品信息(商品销售)";
inline constexpr const char *kPicker = "TF_Spxs_Add";
inline constexpr const char *kPickerCaption = "增加商品(商品销售)";
}  // namespace sales

// TF_Spxs.
void RegisterSalesScreens(ScreenRegistry &registry);
