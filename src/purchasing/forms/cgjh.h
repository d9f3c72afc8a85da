#pragma once

// TF_Cgjh "采购进货": the purchase receipt window on the kit's document window. The purchase
// order TF_Cgd and the purchase return TF_Cgth are the same window of another kind (purchasedoc.h)
// with the differences their subclasses and the kind's branches below state. Entry page:
// supplier, warehouse, date and number over the operator's draft lines (typed in the grid,
// scanned, picked, from the line dialog, a kit or the imports), the totals and settlement below,
// save (pending or audited at once) and printing. Pending page "待审核采购单": the pending
// receipts with their lines, line and document deletes, preview and the audit commands. Query
// page "采购进货查询": the family's shared query page (purchase_lists.h).
// Every dialog it opens goes through the screen registry with the document context.

#include "engine/forms/printseams.h"
#include "foundation/doccontext.h"
#include "foundation/partnerlists.h"
#include "purchasing/receiptentry.h"
#include "screenkit/documentwindow.h"
#include "shell/forms/screenregistry.h"

#include <QPointer>

#include <memory>

class ChooserPanel;
class DocumentBottom;
class PartnerChooser;
class FileChoice;
class KeyedCombo;
class MoneyEdit;
class PrintChoiceDialog;
class PurchaseQueryPage;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class ReportOutput;
class SupplierFilterPanel;
struct DraftPrintHeader;
using DraftReceiptHeader = DraftPrintHeader;
struct PurchaseHeaderInput;

class TF_Cgjh : public DocumentWindow
{
    Q_OBJECT

public:
    TF_Cgjh(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Cgjh() override;

    PurchaseKind kind() const { return m_kind; }

    // Tests and the shell may replace the printer, the template choice and the file chooser.
    void setReportOutput(ReportOutput *output) { m_print.setOutput(output); }
    void setPrintChoice(PrintChoiceDialog *choice) { m_print.setChoice(choice); }
    void setFileChoice(FileChoice *files) { m_files = files; }

    DocumentContext &documentContext();
    QString supplierSn() const { return m_supplierSn; }
    ChooserPanel *supplierChooser() const;
    SupplierFilterPanel *supplierFilter() const { return m_supplierFilter; }
    QMenu *pendingMenu() const { return m_pendingMenu; }
    PurchaseQueryPage *queryPage() const { return m_query; }

    // Commands (buttons, keys, menus and tests).
    void addOld();
    void addNew();
    void modifyLine();
    void deleteLine();
    void printDraft(bool preview);
    void importExcel();
    void exportExcel();
    void importOrders();
    void importKit();
    void chooseHandler();
    void chooseNote();
    void chooseSupplier(const QString &search);
    virtual void save();
    void refreshPending();
    void auditSelected();
    void auditAll();
    virtual void updateTotals();
    // Pending page: "查看单据" (preview of the selected receipt), "删除商品", "删除单据".
    void viewPending();
    void deletePendingLine();
    void addPendingGoods();
    void modifyPendingLine();
    void deletePendingDocument();
    // Pending page: "打印" (the list), "导出", "连续打印" (every pending receipt, directly).
    void printPendingList();
    void exportPending();
    void printPendingContinuously();
    // "修改" / "更改日期(&Z)": TF_ModiDateJh on the selected receipt; the list then stands on the
    // number it was saved under.
    void redatePending();
    // A stored receipt previewed (the choice dialog first when the operator chooses formats).
    void viewStored(const QString &number);

protected:
    TF_Cgjh(PurchaseKind kind, const ScreenContext &context, QWidget *parent);
    // A new document began (after the kind's fields were reset).
    virtual void documentStarted() {}
    // No at the closing question, after the operator's lines went.
    virtual void draftDiscarded() {}

    void buildHeader();
    void buildBottom();
    void buildButtons();
    void buildPendingPage();
    // The pending list's amount columns (summed, shown with RightShowCost).
    QStringList pendingAmountFields() const;
    // The supplier filter panel of the pending and query pages (cgjh_suppliers.cpp).
    void buildSupplierFilter();
    void opening();
    void afterOpening();
    void startDocument();
    void applyRights();
    void applyFormats();
    void onLinesChanged();
    void onScanned(const QString &code);
    void openLineDialog(const QString &tag, const QString &goods, qint64 lineId, DocumentContext &context);
    void showPendingLines(const QString &number);
    // After a change from the pending page: list and lines read again on the same rows.
    void reloadPendingKept();
    void updatePendingButtons();
    void setAccountPanelShown(bool shown);
    void discardDraft();
    PurchaseHeaderInput headerInput() const;
    DraftReceiptHeader printHeader() const;
    ReportOutput &output();
    FileChoice &files();
    PrintChoiceDialog *printChoice();

    PurchaseKind m_kind;
    ScreenContext m_context;
    QSqlDatabase m_db;
    ReceiptEntry m_entry;
    PartnerList m_suppliers{PartnerList::Kind::Suppliers};
    DocumentContext m_ctx;
    DocumentContext m_pendingCtx;
    QString m_supplierSn;
    QString m_contractCode;  // a contract the receipt holds (none is attached yet)
    bool m_entryRight = false;

    QLineEdit *m_supplierBox = nullptr;
    QToolButton *m_supplierButton = nullptr;
    KeyedCombo *m_warehouse = nullptr;
    MoneyEdit *m_payable = nullptr;
    MoneyEdit *m_paid = nullptr;
    KeyedCombo *m_settle = nullptr;
    KeyedCombo *m_handler = nullptr;
    QToolButton *m_handlerButton = nullptr;
    QLineEdit *m_originalNo = nullptr;
    QLabel *m_originalNoLabel = nullptr;
    QLineEdit *m_note = nullptr;
    QToolButton *m_noteButton = nullptr;
    QLineEdit *m_invoiceNo = nullptr;
    MoneyEdit *m_invoiceAmount = nullptr;
    QList<QWidget *> m_invoiceWidgets;
    MoneyEdit *m_freight = nullptr;
    MoneyEdit *m_packing = nullptr;
    QList<QWidget *> m_freightWidgets;
    QList<QWidget *> m_costWidgets;
    QCheckBox *m_wePay = nullptr;
    DocumentBottom *m_bottom = nullptr;
    QFrame *m_accountPanel = nullptr;
    KeyedCombo *m_account = nullptr;
    QPushButton *m_addNew = nullptr;
    QToolButton *m_inOut = nullptr;
    QPushButton *m_importOrders = nullptr;
    QPushButton *m_importKit = nullptr;
    QMenu *m_printMenu = nullptr;
    QMenu *m_popupPrint = nullptr;
    QPushButton *m_checkAll = nullptr;
    QMenu *m_pendingMenu = nullptr;
    QLabel *m_pendingSupplier = nullptr;
    QLabel *m_settleLabel = nullptr;
    QLabel *m_warehouseLabel = nullptr;
    QLabel *m_payableLabel = nullptr;
    QLabel *m_paidLabel = nullptr;
    QLabel *m_accountCaption = nullptr;

    QPushButton *m_pendingAdd = nullptr;
    QPushButton *m_pendingModify = nullptr;
    QPushButton *m_pendingDelete = nullptr;
    QPushButton *m_deleteDocument = nullptr;
    QPushButton *m_pendingPrint = nullptr;
    QPushButton *m_redate = nullptr;
    QLineEdit *m_pendingSupplierBox = nullptr;
    PurchaseQueryPage *m_query = nullptr;
    bool m_pendingAddRight = false;
    std::unique_ptr<PartnerChooser> m_chooser;
    SupplierFilterPanel *m_supplierFilter = nullptr;
    QPointer<QDialog> m_picker;
    PrintSeams m_print;
    FileChoice *m_files = nullptr;
    std::unique_ptr<FileChoice> m_ownFiles;
};
