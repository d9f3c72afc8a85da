#pragma once

// The fields every trading document window shares around its grid: the partner box with its
// "..." button in the header, and the bottom area — amounts (due or payable, received or paid),
// settlement, handler with its chooser button, original number, note with its presets button,
// invoice number and amount, freight, packing, the hidden "我方付费" box — with the account
// panel ("同时选择付款账户：" / "同时选择收款账户：", `comYhzh`, "X") that shows while an amount box
// has the focus. A window describes its own captions and names (DocumentBottomOptions), places
// its extra fields in the free cells of grid() and says which widgets show or hide the account
// panel on entering them; the piece keeps the focus behaviour of the buttons and the panel.

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class KeyedCombo;
class MoneyEdit;
class QCheckBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

// The small "..." button beside a box: it takes no focus.
QToolButton *NewBoxButton(QWidget *parent, const char *objectName);

// The partner box of a header (`tghs`, `tkh` …) with its chooser button, in one row widget.
struct PartnerField
{
    QWidget *row = nullptr;
    QLineEdit *box = nullptr;
    QToolButton *button = nullptr;
};
PartnerField NewPartnerField(QWidget *parent, const char *boxName, const char *buttonName, int maxLength);

struct DocumentBottomOptions
{
    const char *payableCaption = "应付金额：";
    const char *paidCaption = "实付金额：";
    const char *paidName = "tsfje";
    const char *settleCaption = "结算方式：";
    bool settleBox = true;  // false: the caption alone (the settlement goes elsewhere)
    const char *noteCaption = "备注：";
    int noteSpan = 5;       // columns the note row spans from column 3
    bool invoice = true;    // false: the invoice fields stay hidden for good
    const char *accountPanelName = "PanelYhzh";
    const char *accountCaption = "同时选择付款账户：";
    bool noteButton = true; // the note presets button shows while the note has the focus
};

class DocumentBottom : public QObject
{
    Q_OBJECT

public:
    // Builds the fields into `bottom` (a widget with a box layout) in a grid of four rows:
    // amounts, settlement and handler; original number and note; invoice, freight and packing;
    // the account panel.
    DocumentBottom(QWidget *bottom, const DocumentBottomOptions &options, QObject *parent = nullptr);

    QGridLayout *grid() const { return m_grid; }

    // Whether the account panel may show at all (the cash-and-bank option); asked each time.
    void setAccountsInUse(std::function<bool()> inUse) { m_accountsInUse = std::move(inUse); }
    void setAccountPanelShown(bool shown);
    // Entering one of `show` shows the account panel, entering one of `hide` hides it.
    void showAccountOn(const QList<QWidget *> &show);
    void hideAccountOn(const QList<QWidget *> &hide);

    // Amounts, invoice amount, freight and packing to 0, note and invoice number emptied.
    void clearFields();
    QList<MoneyEdit *> moneyEdits() const;

    MoneyEdit *payable = nullptr;
    MoneyEdit *paid = nullptr;
    KeyedCombo *settle = nullptr;
    KeyedCombo *handler = nullptr;
    QToolButton *handlerButton = nullptr;
    QLineEdit *originalNo = nullptr;
    QLineEdit *note = nullptr;
    QToolButton *noteButton = nullptr;
    QLineEdit *invoiceNo = nullptr;
    MoneyEdit *invoiceAmount = nullptr;
    MoneyEdit *freight = nullptr;
    MoneyEdit *packing = nullptr;
    QCheckBox *wePay = nullptr;
    QFrame *accountPanel = nullptr;
    KeyedCombo *account = nullptr;
    QLabel *payableLabel = nullptr;
    QLabel *paidLabel = nullptr;
    QLabel *settleLabel = nullptr;
    QLabel *originalNoLabel = nullptr;
    QLabel *accountCaption = nullptr;
    QList<QWidget *> invoiceWidgets;  // empty when the options keep no invoice
    QList<QWidget *> freightWidgets;
    QList<QWidget *> amountWidgets;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QWidget *w);

    DocumentBottomOptions m_options;
    QGridLayout *m_grid = nullptr;
    QList<QWidget *> m_show;
    QList<QWidget *> m_hide;
    QList<QWidget *> m_watched;
    std::function<bool()> m_accountsInUse;
};
