#pragma once

// TF_Yfkgl_Fk "单据付款": a payment against one audited purchase receipt or a refund against one
// purchase return. Input: the property "documentNumber" (a "CJ" or "CT" number); result: the
// property "paidAmount" (the amount saved) when a payment was saved, unset otherwise.

#include "purchasing/docpayment.h"
#include "purchasing/forms/purchasingscreens.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

#include <optional>

class DateEdit;
class KeyedCombo;
class MoneyEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace handoff {
inline constexpr const char *PaidAmount = "paidAmount";
}  // namespace handoff

class TF_Yfkgl_Fk final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_Yfkgl_Fk(const ScreenContext &context, QWidget *parent = nullptr);

    void save();

private:
    void activate();

    ScreenContext m_context;
    DocPaymentRules m_rules;
    std::optional<DocPaymentView> m_view;
    QLabel *m_number = nullptr;
    QLabel *m_supplier = nullptr;
    QLabel *m_balance = nullptr;
    MoneyEdit *m_payable = nullptr;
    MoneyEdit *m_paid = nullptr;
    MoneyEdit *m_paidLater = nullptr;
    MoneyEdit *m_amount = nullptr;
    DateEdit *m_date = nullptr;
    KeyedCombo *m_handler = nullptr;
    KeyedCombo *m_account = nullptr;
    QLineEdit *m_note = nullptr;
};
