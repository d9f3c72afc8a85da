#pragma once

// TF_ModiDateJh "修改开单日期": the change of date of a purchase receipt or return. Input: the
// property "documentNumber" (a "CJ" or "CT" number) and "dateChangeMode" ("audited" from the
// purchase document query: the document is posted again under its new number; else pending);
// result: the property "newNumber" (the number saved) when the save went through, unset
// otherwise. The caller refreshes itself. The supplier box feeds the supplier panel.

#include "foundation/partnerlists.h"
#include "purchasing/docdatechange.h"
#include "purchasing/forms/datechangefields.h"
#include "purchasing/forms/purchasingscreens.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

#include <optional>

class ChooserPanel;
class DateEdit;
class MoneyEdit;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace handoff {
inline constexpr const char *NewNumber = "newNumber";
inline constexpr const char *DateChangeModeTag = "dateChangeMode";
}  // namespace handoff

// The date box of a change-of-date dialog changed to `date`: a later day than today asks the
// future-date question (No puts the document's day back), then the number of the day shows.
void ShowNumberForDay(const ScreenContext &context, const DocDateChangeRules &rules, const DateChangeDoc &doc,
                      DateEdit *dateBox, QLabel *numberLabel, bool &filling, const QDate &date);

class TF_ModiDateJh final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_ModiDateJh(const ScreenContext &context, QWidget *parent = nullptr);

    void save();
    ChooserPanel *supplierPanel() const { return m_panel; }

private:
    void activate();
    void onDateChanged(const QDate &date);

    ScreenContext m_context;
    DocDateChangeRules m_rules;
    std::optional<DateChangeDoc> m_doc;
    PartnerList m_suppliers{PartnerList::Kind::Suppliers};
    ChooserPanel *m_panel = nullptr;
    QString m_supplierSn;
    QString m_supplierName;
    bool m_filling = false;
    DateChangeFields m_fields;
    QLineEdit *m_supplier = nullptr;
    MoneyEdit *m_freight = nullptr;
    MoneyEdit *m_packing = nullptr;
    QCheckBox *m_wePay = nullptr;
    QLineEdit *m_invoiceNo = nullptr;
    MoneyEdit *m_invoiceAmount = nullptr;
    QList<QWidget *> m_freightRows, m_invoiceRows;
};
