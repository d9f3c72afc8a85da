// TF_Cgjh: the commands of the entry page that open other dialogs (goods picker, line dialog,
// goods add dialog, imports, kit picker, handler chooser, note presets, supplier chooser),
// scanning, deleting, printing and the pending page.

#include "purchasing/forms/cgjh.h"
#include "purchasing/forms/supplierpanel.h"
#include "purchasing/forms/cgjh_importdd.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/modidatejh.h"
#include "purchasing/forms/purchasingscreens.h"
#include "purchasing/pendingdocedits.h"
#include "purchasing/orderaudit.h"
#include "purchasing/pendingdocuments.h"
#include "purchasing/purchaselistdoc.h"
#include "purchasing/purchaselistprint.h"
#include "purchasing/receiptaudit.h"
#include "purchasing/receiptprint.h"
#include "purchasing/returnrules.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/chooserpanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/filechoice.h"
#include "screenkit/partnerchooser.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

// ---- Lines ----------------------------------------------------------------------------------

void TF_Cgjh::openLineDialog(const QString &tag, const QString &goods, qint64 lineId, DocumentContext &context)
{
    const PurchaseScreens &names = PurchaseScreensOf(m_kind);
    std::unique_ptr<QDialog> dialog(m_context.registry->create(QString::fromLatin1(names.lineDialog),
                                                               QString::fromUtf8(names.lineCaption), m_context, this));
    SetDocumentContext(dialog.get(), &context);
    dialog->setProperty(handoff::LineTag, tag);
    dialog->setProperty(handoff::GoodsCode, goods);
    dialog->setProperty(handoff::LineId, lineId);
    dialog->exec();
}

void TF_Cgjh::addOld()
{
    if (m_kind == PurchaseKind::Return
        && !ReturnRules(m_db, *m_context.state, *m_context.clock, *m_context.notices).mayAddLines(m_supplierBox->text()))
        return;
    const PurchaseScreens &names = PurchaseScreensOf(m_kind);
    if (!m_picker)
        m_picker = m_context.registry->create(QString::fromLatin1(names.picker), QString::fromUtf8(names.pickerCaption),
                                              m_context, this);
    SetDocumentContext(m_picker, &documentContext());
    const int result = m_picker->exec();
    updateTotals();
    if (result == QDialog::Accepted)
        m_handler->setFocus(Qt::OtherFocusReason);
}

void TF_Cgjh::addNew()
{
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Spxxgl_Add"), QStringLiteral("增加商品"), m_context, this));
    dialog->setProperty(handoff::Source, QStringLiteral("cgjh"));
    dialog->exec();
    const QString code = dialog->property(handoff::GoodsCode).toString();
    dialog.reset();
    if (!code.isEmpty())
        openLineDialog(QStringLiteral("cgjh_new"), code, 0, documentContext());
    updateTotals();
}

void TF_Cgjh::modifyLine()
{
    if (lineCount() == 0)
        return;
    const QString goods = linesGrid()->currentValue(QStringLiteral("g_sn")).toString();
    const qint64 id = linesGrid()->currentValue(QStringLiteral("id")).toLongLong();
    openLineDialog(m_kind == PurchaseKind::Return ? QStringLiteral("cgth") : QStringLiteral("cgjh"), goods, id,
                   documentContext());
    updateTotals();
}

void TF_Cgjh::deleteLine()
{
    if (lineCount() == 0 || !m_context.notices->confirm(QStringLiteral("您确定要删除当前选中的商品吗！")))
        return;
    const qint64 id = linesGrid()->currentValue(QStringLiteral("id")).toLongLong();
    if (m_kind == PurchaseKind::Return)
        ReturnRules(m_db, *m_context.state, *m_context.clock, *m_context.notices).removeLine(id);
    else
        m_entry.removeLine(id);
    updateTotals();
}

void TF_Cgjh::onScanned(const QString &typed)
{
    QString code = typed;
    // The order takes the code before a full-width comma and leaves it in the box.
    if (m_kind == PurchaseKind::Order && code.contains(QChar(0xFF0C))) {
        code = code.section(QChar(0xFF0C), 0, 0);
        barcodePanel()->entryBox()->setText(code);
    }
    const PurchaseResult r = m_entry.scan(documentContext(), code, barcodePanel()->refusesRepeats());
    if (!r.done())
        return;
    linesGrid()->locate(QStringLiteral("id"), r.lineId);
    if (barcodePanel()->opensEditorAfterAdd())
        modifyLine();
}

void TF_Cgjh::importKit()
{
    std::unique_ptr<QDialog> picker(
        m_context.registry->create(QStringLiteral("TF_Spxs_Clsele"), QStringLiteral("选择配料商品"), m_context, this));
    picker->setProperty(handoff::PickMode, QStringLiteral("spxs"));
    if (picker->exec() != QDialog::Accepted)
        return;
    KitChoice kit{picker->property(handoff::KitCode).toString(), picker->property(handoff::KitName).toString(),
                  picker->property(handoff::KitQuantity).toString()};
    picker.reset();
    if (kit.code.isEmpty())
        return;
    QString note;
    if (m_entry.addKit(documentContext(), kit, &note).done())
        m_note->setText(note);
}

void TF_Cgjh::importExcel()
{
    std::unique_ptr<QDialog> dialog(m_context.registry->create(
        m_kind == PurchaseKind::Order ? QStringLiteral("TF_Cgd_Import") : QStringLiteral("TF_Cgjh_Import"),
        QStringLiteral("采购单据导入"), m_context, this));
    SetDocumentContext(dialog.get(), &documentContext());
    dialog->exec();
    reloadLines();
    updateTotals();
}

void TF_Cgjh::exportExcel()
{
    if (!m_files) {
        m_ownFiles = std::make_unique<DialogFileChoice>();
        m_files = m_ownFiles.get();
    }
    ExportGrid(*linesGrid(), *m_files, *m_context.notices, this);
}

void TF_Cgjh::importOrders()
{
    std::unique_ptr<QDialog> dialog(m_context.registry->create(QStringLiteral("TF_Cgjh_ImportDD"),
                                                               QStringLiteral("导入订单"), m_context, this));
    SetDocumentContext(dialog.get(), &documentContext());
    dialog->exec();
    std::optional<ImportedOrderHeader> h;
    if (auto *import = qobject_cast<TF_Cgjh_ImportDD *>(dialog.get()))
        h = import->imported();
    dialog.reset();
    if (h) {
        // The order's header; a text not in a list leaves that list without a choice.
        m_note->setText(h->note);
        m_supplierBox->setText(h->supplierName);
        m_supplierSn = h->supplierSn;
        m_settle->setCurrentIndex(h->settleIndex);
        for (auto [combo, text] : {std::pair{m_warehouse, h->warehouseName}, std::pair{m_handler, h->handlerName},
                                   std::pair{m_account, h->accountText}})
            if (!combo->selectText(text))
                combo->setCurrentIndex(-1);
        if (h->wholeDocument) {
            m_originalNo->setText(h->order);
            m_invoiceNo->clear();
            for (MoneyEdit *e : {m_invoiceAmount, m_freight, m_packing})
                e->setValue(0);
        }
    }
    reloadLines();
    updateButtons();
    updateTotals();
}

// ---- Header and bottom choosers -------------------------------------------------------------

void TF_Cgjh::chooseHandler()
{
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_User2"), QStringLiteral("选择经办人"), m_context, this));
    dialog->setProperty(handoff::CallerTag, m_kind == PurchaseKind::Return  ? QStringLiteral("th")
                                            : m_kind == PurchaseKind::Order ? QStringLiteral("cgd")
                                                                            : QStringLiteral("jh"));
    dialog->exec();
    ApplyHandlerAnswer(dialog.get(), m_handler);
}

void TF_Cgjh::chooseNote()
{
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Djbz"), QStringLiteral("单据备注信息设置"), m_context, this));
    dialog->setProperty(handoff::CallerTag, m_kind == PurchaseKind::Return ? QStringLiteral("th") : QStringLiteral("jh"));
    if (dialog->exec() != QDialog::Accepted)
        return;
    const QVariant text = dialog->property(handoff::NoteText);
    if (text.isValid())
        m_note->setText(text.toString());
}

ChooserPanel *TF_Cgjh::supplierChooser() const
{
    return m_chooser ? m_chooser->panel() : nullptr;
}

void TF_Cgjh::chooseSupplier(const QString &search)
{
    if (!m_chooser) {
        PartnerChooserSpec spec;
        spec.options.caption = QStringLiteral("选择供货商");
        spec.options.searchCaption = QStringLiteral("查找供货商(F2)：");
        spec.options.searchFields = {QStringLiteral("ghs_name"), QStringLiteral("ghs_jm"), QStringLiteral("ghs_sn"),
                                     QStringLiteral("ghs_tele"), QStringLiteral("ghs_address")};
        spec.options.codeField = QStringLiteral("ghs_sn");
        spec.options.nameField = QStringLiteral("ghs_name");
        // The return's panel has no order box and adds no supplier.
        if (m_kind != PurchaseKind::Return)
            spec.options.orderItems = {QStringLiteral("编号顺序"), QStringLiteral("编号倒序")};
        spec.objectName = "RzPanelGhs";
        spec.columns = SupplierChooserColumns(true);
        m_chooser = std::make_unique<PartnerChooser>(spec, m_db, *m_context.state, m_suppliers, this);
        m_chooser->addPartner = [this](QWidget *parent) {
            std::unique_ptr<QDialog> d(
                m_context.registry->create(QStringLiteral("TF_Ghsgl_Add"), QStringLiteral("添加供货商"), m_context, parent));
            d->exec();
            return QString();
        };
        m_chooser->modifyPartner = [this](QWidget *parent, qint64 id) {
            std::unique_ptr<QDialog> d(m_context.registry->create(QStringLiteral("TF_Ghsgl_Modi"),
                                                                  QStringLiteral("修改供货商"), m_context, parent));
            d->setProperty(handoff::PartnerId, id);
            d->exec();
        };
        if (m_kind == PurchaseKind::Order)
            m_chooser->panel()->addButton()->setText(QStringLiteral("添加供货商(F8)"));
    }
    const bool maintain = HasRight(m_db, *m_context.state, QStringLiteral("qtcz"), 2);
    const std::optional<PartnerPick> pick = m_chooser->choose(search, maintain && m_kind != PurchaseKind::Return, maintain);
    if (!pick)
        return;
    m_supplierSn = pick->code;
    m_supplierBox->setText(pick->name);
}

// ---- Printing -------------------------------------------------------------------------------

DraftReceiptHeader TF_Cgjh::printHeader() const
{
    DraftReceiptHeader h;
    h.partnerText = m_supplierBox->text();
    h.partnerSn = m_supplierSn;
    h.warehouseText = m_warehouse->currentText();
    h.date = documentDay();
    h.note = m_note->text();
    h.handlerText = m_handler->currentText();
    h.handlerSn = m_handler->currentKey();
    h.accountText = m_account->currentText();
    h.originalNo = m_originalNo->text();
    h.invoiceNo = m_invoiceNo->text();
    h.freight = m_freight->value();
    h.packing = m_packing->value();
    h.due = m_payable->value();
    h.paid = m_paid->value();
    return h;
}

void TF_Cgjh::printDraft(bool preview)
{
    if (lineCount() == 0 || IsTrue(m_context.state->NoPrintBeforeSave))
        return;
    PrintOptions options;
    options.mode = preview ? PrintMode::Preview : PrintMode::Print;
    options.choice = printChoice();
    ReceiptPrint(m_db, *m_context.state, *m_context.clock, m_kind).printDraft(number(), printHeader(), output(), options);
    updateButtons();
}

// ---- Pending page ---------------------------------------------------------------------------

void TF_Cgjh::refreshPending()
{
    const ListStatement st = PendingPurchases(m_db, *m_context.state, PurchaseListDocOf(m_kind))
                                 .list(pendingKeyBox()->text(), m_pendingSupplierBox->text(), pendingDescending());
    static_cast<SqlGridModel *>(pendingGrid()->model())->setStatement(st.body, st.order, st.binds);
    pendingGrid()->reload(ReloadTarget::First);
    showPendingLines(pendingGrid()->rowCount() > 0 ? pendingGrid()->currentValue(QStringLiteral("gl_djh")).toString()
                                                   : QString());
}

void TF_Cgjh::showPendingLines(const QString &number)
{
    const ListStatement st = PendingPurchases(m_db, *m_context.state, PurchaseListDocOf(m_kind)).lines(number);
    static_cast<SqlGridModel *>(pendingLinesGrid()->model())->setStatement(st.body, st.order, st.binds);
    pendingLinesGrid()->reload(ReloadTarget::First);
    m_pendingSupplier->setText(number.isEmpty() ? QString()
                                                : pendingGrid()->currentValue(QStringLiteral("ghs_name")).toString());
    m_pendingCtx.number = number;
    m_pendingCtx.warehouse = pendingGrid()->currentValue(QStringLiteral("ck_sn")).toString();
    m_pendingCtx.partner = pendingGrid()->currentValue(QStringLiteral("ghs_sn")).toString();
    updatePendingButtons();
}

void TF_Cgjh::auditSelected()
{
    if (!m_checkAll || !m_checkAll->isEnabled() || pendingGrid()->rowCount() == 0)
        return;
    const QString number = pendingGrid()->currentValue(QStringLiteral("gl_djh")).toString();
    const bool audited =
        m_kind == PurchaseKind::Order
            ? OrderAudit(m_db, *m_context.state, *m_context.clock, *m_context.notices).auditSelected(number)
            : ReceiptAudit(m_db, *m_context.state, *m_context.clock, *m_context.notices, m_kind).auditSelected(number);
    if (audited)
        refreshPending();
}

void TF_Cgjh::auditAll()
{
    if (!m_checkAll || !m_checkAll->isEnabled() || pendingGrid()->rowCount() == 0)
        return;
    QList<QPair<QString, QString>> documents;
    const int number = pendingGrid()->model()->columnOf(QStringLiteral("gl_djh"));
    const int date = pendingGrid()->model()->columnOf(PurchaseListDocOf(m_kind).dateColumn);
    pendingGrid()->model()->forEachRow([&](const QVector<QVariant> &row) {
        documents << qMakePair(row.at(number).toString(), row.at(date).toString());
        return true;
    });
    if (m_kind == PurchaseKind::Order) {
        QStringList numbers;
        for (const auto &d : std::as_const(documents))
            numbers << d.first;
        OrderAudit(m_db, *m_context.state, *m_context.clock, *m_context.notices).auditAll(numbers);
    } else {
        ReceiptAudit(m_db, *m_context.state, *m_context.clock, *m_context.notices, m_kind).auditAll(documents);
    }
    refreshPending();
}

void TF_Cgjh::reloadPendingKept()
{
    pendingGrid()->reload(ReloadTarget::KeepKey);
    if (pendingGrid()->rowCount() == 0) {
        showPendingLines(QString());
        return;
    }
    const QString number = pendingGrid()->currentValue(QStringLiteral("gl_djh")).toString();
    if (number != m_pendingCtx.number) {
        showPendingLines(number);
        return;
    }
    pendingLinesGrid()->reload(ReloadTarget::KeepKey);
    updatePendingButtons();
}

void TF_Cgjh::updatePendingButtons()
{
    if (!m_pendingAdd)  // the pending page of a return or an order is not built yet
        return;
    // The receipt's line buttons follow its lines and rights; the return's and the order's the
    // list (a chosen document).
    const bool lines = m_kind == PurchaseKind::Receipt ? pendingLinesGrid()->rowCount() > 0 : pendingGrid()->rowCount() > 0;
    m_pendingAdd->setEnabled(lines && m_pendingAddRight);
    m_pendingModify->setEnabled(lines);
    m_pendingDelete->setEnabled(lines && m_deleteDocument->isEnabled());
}

void TF_Cgjh::viewStored(const QString &number)
{
    PrintOptions options;
    options.choice = printChoice();
    ReceiptPrint(m_db, *m_context.state, *m_context.clock, m_kind).printSaved(number, output(), options);
}

void TF_Cgjh::viewPending()
{
    if (pendingGrid()->rowCount() > 0)
        viewStored(pendingGrid()->currentValue(QStringLiteral("gl_djh")).toString());
}

void TF_Cgjh::addPendingGoods()
{
    if (!m_pendingAdd->isEnabled() || m_pendingCtx.number.isEmpty())
        return;
    const PurchaseScreens &names = PurchaseScreensOf(m_kind);
    std::unique_ptr<QDialog> picker(m_context.registry->create(QString::fromLatin1(names.picker),
                                                               QString::fromUtf8(names.pickerCaption), m_context, this));
    SetDocumentContext(picker.get(), &m_pendingCtx);
    picker->exec();
}

void TF_Cgjh::modifyPendingLine()
{
    if (pendingLinesGrid()->rowCount() == 0)
        return;
    openLineDialog(m_kind == PurchaseKind::Return ? QStringLiteral("cgth_modish") : QStringLiteral("cgjh_modish"),
                   pendingLinesGrid()->currentValue(QStringLiteral("g_sn")).toString(),
                   pendingLinesGrid()->currentValue(QStringLiteral("id")).toLongLong(), m_pendingCtx);
}

void TF_Cgjh::deletePendingLine()
{
    if (!m_pendingDelete->isEnabled() || pendingLinesGrid()->rowCount() == 0)
        return;
    const PurchaseResult r = PendingDocEdits(m_db, *m_context.state, *m_context.clock, *m_context.notices,
                                             PurchaseListDocOf(m_kind))
                                 .deleteLine(m_pendingCtx.number,
                                             pendingLinesGrid()->currentValue(QStringLiteral("id")).toLongLong());
    if (r.status == PurchaseStatus::Declined)
        return;
    if (r.done() && r.number.isEmpty())
        refreshPending();
    else
        reloadPendingKept();
}

void TF_Cgjh::deletePendingDocument()
{
    if (!m_deleteDocument->isEnabled() || pendingGrid()->rowCount() == 0)
        return;
    PendingDocEdits(m_db, *m_context.state, *m_context.clock, *m_context.notices, PurchaseListDocOf(m_kind))
        .deleteDocument(pendingGrid()->currentValue(QStringLiteral("gl_djh")).toString());
    refreshPending();
}

FileChoice &TF_Cgjh::files()
{
    if (!m_files) {
        m_ownFiles = std::make_unique<DialogFileChoice>();
        m_files = m_ownFiles.get();
    }
    return *m_files;
}

void TF_Cgjh::printPendingList()
{
    if (!m_pendingPrint || !m_pendingPrint->isEnabled() || pendingGrid()->rowCount() == 0)
        return;
    QVariantList binds;
    const QString sql = static_cast<SqlGridModel *>(pendingGrid()->model())->selectSql(&binds);
    PurchaseListPrint(m_db, *m_context.state, *m_context.clock, PurchaseListDocOf(m_kind))
        .printPending(output(), sql, binds);
}

void TF_Cgjh::exportPending()
{
    if (pendingGrid()->rowCount() > 0)
        ExportGrid(*pendingGrid(), files(), *m_context.notices, this);
}

void TF_Cgjh::printPendingContinuously()
{
    QStringList numbers;
    const int column = pendingGrid()->model()->columnOf(QStringLiteral("gl_djh"));
    pendingGrid()->model()->forEachRow([&](const QVector<QVariant> &row) {
        numbers << row.at(column).toString();
        return true;
    });
    PurchaseListPrint(m_db, *m_context.state, *m_context.clock, PurchaseListDocOf(PurchaseKind::Receipt))
        .printContinuously(*m_context.notices, numbers, output(), ContinuousPrintQuestion(false));
}

void TF_Cgjh::redatePending()
{
    if (!m_redate->isEnabled() || pendingGrid()->rowCount() == 0)
        return;
    // The order's date dialog is its own.
    std::unique_ptr<QDialog> dialog(m_context.registry->create(
        m_kind == PurchaseKind::Order ? QStringLiteral("TF_Cgd_Modi") : QStringLiteral("TF_ModiDateJh"),
        QStringLiteral("修改开单日期"), m_context, this));
    dialog->setProperty(handoff::DocumentNumber, pendingGrid()->currentValue(QStringLiteral("gl_djh")).toString());
    dialog->exec();
    const QString saved = dialog->property(handoff::NewNumber).toString();
    dialog.reset();
    if (saved.isEmpty())
        return;
    refreshPending();
    const int row = pendingGrid()->model()->locate(QStringLiteral("gl_djh"), saved);
    if (row >= 0) {
        pendingGrid()->setCurrentRow(row);
        showPendingLines(saved);
    }
    // A return or order that took a number of the entry page's day leaves it a free one.
    if (m_kind != PurchaseKind::Receipt && lineCount() == 0)
        setNumber(draft().newNumber(documentDay()));
    reloadLines();
}
