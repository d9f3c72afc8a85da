#pragma once

// TF_Cgd_Modi "修改开单日期": the change of date of a pending purchase order. Input: the property
// "documentNumber" (a "CD" number); result: "newNumber" (the number saved) when the save went
// through, unset otherwise; the order window refreshes itself from it. The supplier is a list
// of the suppliers not forbidden; no freight, invoice, stock test, adjustment or contract.

#include "purchasing/docdatechange.h"
#include "purchasing/forms/datechangefields.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

#include <optional>

class KeyedCombo;

class TF_Cgd_Modi final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_Cgd_Modi(const ScreenContext &context, QWidget *parent = nullptr);

    void save();

private:
    void activate();
    void onDateChanged(const QDate &date);

    ScreenContext m_context;
    DocDateChangeRules m_rules;
    std::optional<DateChangeDoc> m_doc;
    bool m_filling = false;
    DateChangeFields m_fields;
    KeyedCombo *m_supplier = nullptr;
};
