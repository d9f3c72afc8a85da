#pragma once

// TF_Cgth_Zdth_Search_GhsSele "选择供货商": the advanced search's supplier chooser on the kit's
// ChooserPanel — "查找供货商(F2)：" filtering over name, short code, code, telephone and address,
// "确定(F5)" or a double click answering the supplier's name in the property "supplierName",
// "修改(F9)" opening TF_Ghsgl_Modi on the row, "退出(Esc)".

#include "foundation/partnerlists.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class ChooserPanel;

namespace handoff {
inline constexpr const char *SupplierName = "supplierName";
}  // namespace handoff

class TF_Cgth_Zdth_Search_GhsSele final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_Cgth_Zdth_Search_GhsSele(const ScreenContext &context, QWidget *parent = nullptr);

    ChooserPanel *chooser() const { return m_panel; }

private:
    void activate();

    ScreenContext m_context;
    PartnerList m_suppliers{PartnerList::Kind::Suppliers};
    ChooserPanel *m_panel = nullptr;
};
