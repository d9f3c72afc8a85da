#pragma once

// The page "待审核销售单" of TF_Spxs: the pending sales (PendingSaleRules) with the lines of the
// current row below; their audit one by one ("单据审核(&W)") or all at once ("审核全部"); the
// lines edited in place, through the sale line dialog, the sale picker and the gift dialog (all
// opened by name through the screen registry), deleted one by one or with the whole sale; the
// change of date; preview, continuous printing and the list report; export. The customer box
// tGhsName filters through the panel RzPanel_Kh2.

#include "foundation/doccontext.h"
#include "sales/saleentry.h"
#include "shell/forms/screenregistry.h"

#include <QObject>

#include <functional>

class CustomerFilterPanel;
class DocumentWindow;
class FileChoice;
class PrintChoiceDialog;
class QAction;
class QBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class ReportOutput;

// What the window lends the page for printing and export.
struct SalePageServices
{
    std::function<ReportOutput &()> output;
    std::function<PrintChoiceDialog *()> choice;
    std::function<FileChoice &()> files;
};

class SalePendingPage final : public QObject
{
    Q_OBJECT

public:
    SalePendingPage(DocumentWindow &window, const ScreenContext &context, SalePageServices services);

    // Entering the page (and F2, "查询(F2)", the order box): the query, the list takes the focus.
    void activate();
    void search();
    void applyRights();

    // Commands (buttons, menus, tests).
    void view();
    void printList();
    void printContinuously();
    void auditAll();
    void auditSelected();
    void deleteDocument();
    void redate();
    void exportList();
    void addGoods();
    void addGift();
    void modifyLine();
    void deleteLine();
    void chooseCustomer(bool filtered);

    QLineEdit *customerBox() const { return m_customerBox; }
    QLabel *customerName() const { return m_customerName; }
    CustomerFilterPanel *customerPanel() const { return m_panel; }
    QPushButton *button(const QString &objectName) const;
    QMenu *listMenu() const { return m_listMenu; }
    QMenu *linesMenu() const { return m_linesMenu; }
    DocumentContext &documentContext() { return m_ctx; }

private:
    void addButton(QBoxLayout *row, QWidget *parent, const char *name, const char *text,
                   void (SalePendingPage::*slot)());
    void buildBars();
    void buildGrids();
    void buildMenus();
    void showLines(const QString &number);
    // After a change: the list and the lines read again on the same rows.
    void reloadKept();
    void onLinesChanged();
    void updateLineButtons();
    void openLineDialog(const char *screen, const char *caption, const QString &tag);
    QList<QPair<QString, QString>> listedSales() const;
    bool hasRows() const;
    QString currentNumber() const;

    DocumentWindow &m_window;
    ScreenContext m_context;
    SalePageServices m_services;
    SaleEntry m_entry;
    DocumentContext m_ctx;
    bool m_addRight = false;
    QLineEdit *m_customerBox = nullptr;
    QToolButton *m_customerButton = nullptr;
    QLabel *m_customerName = nullptr;
    CustomerFilterPanel *m_panel = nullptr;
    QList<QPushButton *> m_buttons;
    QMenu *m_listMenu = nullptr;
    QMenu *m_linesMenu = nullptr;
};
