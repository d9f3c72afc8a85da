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
inline constexpr const char *kPriceChooser = "TF_Price";
inline constexpr const char *kPriceCaption = "商品售价选择";
}  // namespace sales

namespace handoff {
// The price-level chooser TF_Price: in "goodsCode" and "goodsName"; out, when a price was
// chosen, "chosenPrice" (a number, the goods' base-unit price).
inline constexpr const char *GoodsName = "goodsName";
inline constexpr const char *ChosenPrice = "chosenPrice";
}  // namespace handoff

// TF_Spxs, TF_Spxs_Sele, TF_Price.
void RegisterSalesScreens(ScreenRegistry &registry);
