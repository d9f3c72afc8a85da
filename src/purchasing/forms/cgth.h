#pragma once

// TF_Cgth "采购退货": the purchase return window — the receipt's window of kind Return with a
// read-only grid (lines only through the line dialog and the picker), "应收金额"/"实收金额" and
// "余款记入应付帐款", no barcode panel, settlement, original number, freight or imports, and the
// whole-document return: a receipt handed over by the shell's follow-on (ReturnSourceNo) or
// chosen in the purchase document query is copied line by line, and the window keeps it as the
// return's source until the return is saved (which marks it), the draft is discarded or the
// window closes.

#include "purchasing/forms/cgjh.h"
#include "purchasing/returnrules.h"

class TF_Cgth final : public TF_Cgjh
{
    Q_OBJECT

public:
    TF_Cgth(const ScreenContext &context, QWidget *parent = nullptr);

    QString sourceReceipt() const { return m_sourceReceipt; }
    QPushButton *wholeReturnButton() const { return m_wholeReturn; }

    void save() override;
    void updateTotals() override;
    // "整单退货": the checks, then the purchase document query in return mode.
    void wholeReturn();
    // Copies receipt `receipt` into a new return and fills the header from it.
    void loadWholeReceipt(const QString &receipt, bool fromQuery);

protected:
    void documentStarted() override;
    void draftDiscarded() override;

private:
    ReturnRules rules() const;

    QString m_sourceReceipt;
    QPushButton *m_wholeReturn = nullptr;
};
