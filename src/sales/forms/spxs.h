#pragma once

// TF_Spxs "商品销售": the sale window on the kit's document window. Entry page: customer,
// warehouse, date and number over the operator's lines (scanned, picked, from the line dialog,
// a kit, a copied receipt, edited in the grid), the amounts, settlement, handler, note, invoice,
// freight and the whole-order discount below. Saving and printing are hooks (`setSaveAction`,
// `setPrintAction`) that the window fills with its own save (SaleSaveRules, print on save) and
// print (SalePrintRules, mode "1") in spxs_save.cpp; the pending page "待审核销售单" is its own
// class (SalePendingPage, spxs_pending.h); the query page says that it is not finished yet.
// Every dialog it opens goes through the screen registry with the document context.

#include "engine/forms/printseams.h"
#include "foundation/doccontext.h"
#include "foundation/partnerlists.h"
#include "sales/saleentry.h"
#include "screenkit/documentwindow.h"
#include "shell/forms/screenregistry.h"

#include <QPointer>

#include <functional>
#include <memory>

class ChooserPanel;
class DocumentBottom;
class PartnerChooser;
class FileChoice;
class KeyedCombo;
class MoneyEdit;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class SalePendingPage;
struct SaleDraftPrint;
struct SaleHeaderInput;

class TF_Spxs final : public DocumentWindow
{
    Q_OBJECT

public:
    TF_Spxs(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Spxs() override;

    void setFileChoice(FileChoice *files) { m_files = files; }
    // What "保存(F5)" (and Yes on closing) and the print entries do; until set, nothing.
    void setSaveAction(std::function<void()> action) { m_saveAction = std::move(action); }
    void setPrintAction(std::function<void(bool preview)> action) { m_printAction = std::move(action); }
    // Where prints go and how the template is chosen (tests pass doubles).
    void setReportOutput(ReportOutput *output) { m_print.setOutput(output); }
    void setPrintChoice(PrintChoiceDialog *choice) { m_print.setChoice(choice); }
    SalePendingPage *pendingPage() const { return m_pendingPage; }

    // The entry page's context, filled in with number, day, warehouse and customer.
    DocumentContext &documentContext();
    QString customerSn() const { return m_customerSn; }
    ChooserPanel *customerChooser() const;
    // The contract the sale holds (no screen attaches one yet); dropped on closing unsaved.
    QString contractCode() const { return m_contractCode; }
    void setContractCode(const QString &code) { m_contractCode = code; }

    // Commands (buttons, keys, menus and tests).
    void addOld();
    void addNew();
    void addGift();
    void modifyLine();
    void deleteLine();
    void importExcel();
    void exportExcel();
    void importOrders();
    void sellKit();
    void chooseHandler();
    void chooseNote();
    void chooseCustomer(const QString &search);
    void save();
    void print(bool preview);
    void updateTotals();
    // The window's own save and print (what the hooks do unless replaced).
    void saveSale();
    void printSale(bool preview);

private:
    void buildHeader();
    void buildBottom();
    void buildButtons();
    void opening();
    void afterOpening();
    void startDocument();
    void copySource(const QString &source);
    void applyRights();
    void applyFormats();
    void loadHandlers();
    void onLinesChanged();
    void onLinesReloaded();
    void onScanned(const QString &code);
    void openLineDialog(const QString &tag, const QString &goods, qint64 lineId);
    bool warehouseChosen();
    void setAccountPanelShown(bool shown);
    void discardDraft();
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The save and print hooks and the pending page (spxs_save.cpp).
    void installSaveAndPrint();
    SaleHeaderInput saleInput();
    SaleDraftPrint draftPrint() const;
    FileChoice &files();

    ScreenContext m_context;
    QSqlDatabase m_db;
    SaleEntry m_entry;
    PartnerList m_customers{PartnerList::Kind::Customers};
    DocumentContext m_ctx;
    QString m_customerSn;
    QString m_contractCode;
    bool m_entryRight = false;
    std::function<void()> m_saveAction;
    std::function<void(bool)> m_printAction;

    QLineEdit *m_customerBox = nullptr;
    QToolButton *m_customerButton = nullptr;
    KeyedCombo *m_warehouse = nullptr;
    MoneyEdit *m_due = nullptr;
    MoneyEdit *m_received = nullptr;
    KeyedCombo *m_settle = nullptr;
    KeyedCombo *m_handler = nullptr;
    QLineEdit *m_originalNo = nullptr;
    QLabel *m_originalNoLabel = nullptr;
    QLineEdit *m_note = nullptr;
    QLineEdit *m_invoiceNo = nullptr;
    MoneyEdit *m_invoiceAmount = nullptr;
    MoneyEdit *m_freight = nullptr;
    MoneyEdit *m_packing = nullptr;
    QCheckBox *m_wePay = nullptr;
    MoneyEdit *m_discount = nullptr;
    DocumentBottom *m_bottom = nullptr;
    QFrame *m_accountPanel = nullptr;
    KeyedCombo *m_account = nullptr;
    QPushButton *m_addNew = nullptr;
    QPushButton *m_addGift = nullptr;
    QToolButton *m_inOut = nullptr;
    QPushButton *m_importOrders = nullptr;
    QPushButton *m_kit = nullptr;
    QMenu *m_printMenu = nullptr;
    QMenu *m_popupPrint = nullptr;

    std::unique_ptr<PartnerChooser> m_chooser;
    QPointer<QDialog> m_picker;
    FileChoice *m_files = nullptr;
    std::unique_ptr<FileChoice> m_ownFiles;
    SalePendingPage *m_pendingPage = nullptr;
    PrintSeams m_print;
};
