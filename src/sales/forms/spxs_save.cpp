// TF_Spxs: its save (the entry page's "保存(F5)", F5 on any page, Yes on closing) and its
// printing ("打印单据(&W)"/"(&X)" with the print dialog, "预览单据(&X)"/"(&Z)", print on save),
// and the pending page it carries.

#include "sales/forms/spxs.h"

#include "foundation/datamodule.h"
#include "foundation/db/dberror.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "sales/forms/spxs_pending.h"
#include "sales/saleprint.h"
#include "sales/salesave.h"
#include "screenkit/editors.h"
#include "screenkit/filechoice.h"
#include "screenkit/screenbase.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

void TF_Spxs::installSaveAndPrint()
{
    setSaveAction([this] { saveSale(); });
    setPrintAction([this](bool preview) { printSale(preview); });
    m_pendingPage = new SalePendingPage(*this, m_context,
                                        {[this]() -> ReportOutput & { return m_print.output(); },
                                         [this] { return m_print.choice(); },
                                         [this]() -> FileChoice & { return files(); }});
}

FileChoice &TF_Spxs::files()
{
    if (!m_files) {
        m_ownFiles = std::make_unique<DialogFileChoice>();
        m_files = m_ownFiles.get();
    }
    return *m_files;
}

SaleHeaderInput TF_Spxs::saleInput()
{
    SaleHeaderInput in;
    in.customerText = m_customerBox->text();
    in.customerSn = m_customerSn;
    in.warehouseSn = m_warehouse->currentKey();
    in.handlerText = m_handler->currentText();
    in.handlerSn = m_handler->currentKey();
    in.day = documentDay();
    in.due = m_due->value();
    in.received = m_received->value();
    in.settleIndex = m_settle->currentIndex();
    in.accountText = m_account->currentText();
    in.note = m_note->text();
    in.originalNo = m_originalNo->text();
    in.invoiceNo = m_invoiceNo->text();
    in.invoiceAmount = m_invoiceAmount->value();
    in.freight = m_freight->value();
    in.packing = m_packing->value();
    in.wePayFreight = m_wePay->isChecked();
    in.contractCode = m_contractCode;
    in.wholeDiscount = m_discount->value();
    return in;
}

SaleDraftPrint TF_Spxs::draftPrint() const
{
    SaleDraftPrint p;
    p.partnerText = m_customerBox->text();
    p.partnerSn = m_customerSn;
    p.warehouseText = m_warehouse->currentText();
    p.date = documentDay();
    p.note = m_note->text();
    p.handlerText = m_handler->currentText();
    p.handlerSn = m_handler->currentKey();
    p.accountText = m_account->currentText();
    p.originalNo = m_originalNo->text();
    p.invoiceNo = m_invoiceNo->text();
    p.invoiceAmount = m_invoiceAmount->value();
    p.freight = m_freight->value();
    p.packing = m_packing->value();
    p.due = m_due->value();
    p.paid = m_received->value();
    return p;
}

void TF_Spxs::saveSale()
{
    // A second F5 while the first is running does nothing; the new document enables it again.
    BusyGuard busy(saveButton());
    if (!busy.acquired())
        return;
    LoginState &state = *m_context.state;
    const SaleSaveResult r =
        SaleSaveRules(m_db, state, *m_context.clock, *m_context.notices).save(number(), lineCount(), saleInput());
    if (!r.saved()) {
        reloadLines();
        return;
    }
    m_contractCode.clear();
    if (IsTrue(state.PrintSaleOnSave)) {
        PrintOptions direct;
        direct.mode = PrintMode::Direct;
        direct.copies = 1;
        try {
            SalePrintRules(m_db, state, *m_context.clock).printSaved(r.number, m_print.output(), direct);
        } catch (const DbError &e) {
            m_context.notices->notice(e.text());
        }
    }
    startNew(state.DocDateDefault != QLatin1String("0"));
}

void TF_Spxs::printSale(bool preview)
{
    PrintOptions options;
    options.mode = preview ? PrintMode::Preview : PrintMode::Print;
    options.choice = m_print.choice();
    try {
        SalePrintRules(m_db, *m_context.state, *m_context.clock).printDraft(number(), draftPrint(), m_print.output(), options);
    } catch (const DbError &e) {
        m_context.notices->notice(e.text());
    }
    updateButtons();
}
