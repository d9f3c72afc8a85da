#pragma once

// The window of every document type: the entry page (header fields, number, date, the
// operator's draft lines, buttons, barcode panel), the pending page (a bar with key box, order
// and "查询(F2)", saved documents above the selected one's lines) and the query page (period,
// key box, three views). Tables and columns come from the type's description; statements of
// the entry grid and of the pending and query pages, save, audit, print and rights are the
// subsystem's hooks. It is a dialog screen: the registry makes it by class name and the main
// window shows it modally, kept or freed.

#include "foundation/db/liststatement.h"
#include "foundation/doctype.h"
#include "foundation/draftlines.h"
#include "screenkit/gridcolumn.h"
#include "screenkit/screenbase.h"

#include <QDate>
#include <QSqlDatabase>

#include <functional>
#include <memory>

class BarcodePanel;
class Clock;
class DataGrid;
class DateEdit;
class DateRangeBar;
class Notices;
class QAction;
class QButtonGroup;
class QFrame;
class QGridLayout;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
struct LoginState;

// Columns over DraftLines' statements: id (hidden), 商品编号, 商品名称, 单位, 单价, 数量, 总金额.
QList<GridColumn> DefaultLineColumns();

struct DocumentShape
{
    DocType type;
    QString caption;          // window caption
    QString title;            // large title on the entry page
    QString entryPage = QStringLiteral("单据录入");
    QString pendingPage = QStringLiteral("待审核单据");
    QString queryPage = QStringLiteral("单据查询");
    QString dateCaption = QStringLiteral("日期：");
    QList<GridColumn> lineColumns = DefaultLineColumns();
    bool barcodePanel = true;
    // The barcode panel's check items ("同一条码不能重复添加商品(&Y)", "添加完商品后打开修改窗口(&Z)")
    // and the accelerator of the lines popup's "隐藏/显示条码输入面板" item.
    bool barcodeRepeatsItem = true;
    bool barcodeEditorItem = true;
    QChar barcodeToggleKey = QLatin1Char('Z');
    QString pendingKeyCaption = QStringLiteral("请输入单据相关信息进行查询：");
    // The date field: a refused future date puts today back (else the date before); the number
    // is drawn again on every exit of the field, also for the same day (else on a change of day,
    // keeping a number of the same day).
    bool todayOnRefusedDate = false;
    bool renumberOnDateExit = false;
    // The query page's lower grid shows under 单据表 and, with this, under 汇总表 too.
    bool summaryDetail = false;
};

struct DocumentHooks
{
    // Each time the window is shown, before the new document starts (lists, rights).
    std::function<void()> opening;
    // The entry grid's statement for a number (default: DraftLines' plain columns).
    std::function<ListStatement(const QString &number)> linesStatement;
    std::function<void()> add;                                // "添加商品(F2)"
    std::function<void(const QVariant &lineId)> modify;        // "修改", double-click on a line
    std::function<void(const QVariant &lineId)> remove;        // "删除"; default: DraftLines
    std::function<void()> print;                               // "打印"
    std::function<void()> save;                                // "保存(F5)", and Yes on closing
    std::function<void()> discard;                             // No on closing; default: DraftLines
    std::function<void(const QString &code)> barcode;          // a scanned code
    std::function<void(const QString &from, const QString &to)> renumbered;
    std::function<void()> started;                             // after a new document began
    std::function<void()> linesReloaded;                       // after the entry grid read its lines
    std::function<void()> refreshPending;                      // "查询(F2)", F2, the order box
    std::function<void(const QString &number)> pendingSelected;  // default: lines of the number
    std::function<void()> runQuery;                            // F2, Enter, a period on the query page
};

class DocumentWindow : public ScreenDialog
{
    Q_OBJECT

public:
    enum Page { EntryPage = 0, PendingPage = 1, QueryPage = 2 };
    enum class QueryView { Documents, Summary, Details };

    // db, state, clock and notices must outlive the window.
    DocumentWindow(const DocumentShape &shape, const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                   Notices &notices, QWidget *parent = nullptr);
    ~DocumentWindow() override;

    DocumentHooks &hooks() { return m_hooks; }
    const DocumentShape &shape() const { return m_shape; }
    DraftLines &draft() { return *m_draft; }
    // Another document type for the entry page (the loss and overflow window's type choice): the
    // draft lines and the closing question follow it; the number and lines are the caller's.
    void setDocType(const DocType &type);

    // ---- Entry page ----
    QString number() const { return m_number; }
    void setNumber(const QString &number);  // label and lines follow
    QDate documentDate() const;
    QString documentDay() const;            // "yyyy-MM-dd"
    // A new document: today (or the date of the previous one with `keepDate`), a new number,
    // the operator's lines already under it. Runs at every showing with today.
    void startNew(bool keepDate = false);
    void reloadLines();
    int lineCount() const;
    DataGrid *linesGrid() const { return m_lines; }
    QGridLayout *headerLayout() const { return m_header; }  // the screen's header fields
    QWidget *bottomArea() const { return m_bottom; }          // the screen's totals boxes
    DateEdit *dateEdit() const { return m_date; }
    QLabel *numberLabel() const { return m_numberLabel; }
    QLabel *titleLabel() const { return m_title; }
    QGroupBox *buttonGroup() const { return m_buttons; }
    QPushButton *addButton() const { return m_add; }
    QPushButton *modifyButton() const { return m_modify; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *exitButton() const { return m_exit; }
    QMenu *linesMenu() const { return m_linesMenu; }
    // Right-gated: the entry buttons and F2 only with the right; printing only when allowed
    // before saving.
    void setEntryAllowed(bool allowed);
    void setPrintBeforeSave(bool allowed);
    // 修改, 删除, 打印 only with lines.
    void updateButtons();

    BarcodePanel *barcodePanel() const { return m_barcode; }
    void setBarcodePanelShown(bool shown);
    bool barcodePanelShown() const { return m_barcodeShown; }

    // ---- Pending page ----
    DataGrid *pendingGrid() const { return m_pending; }
    DataGrid *pendingLinesGrid() const { return m_pendingLines; }
    QFrame *pendingLower() const { return m_pendingLower; }
    // The bar above the list: key box `tchkKey`, order box `comSort` ("顺序", "倒序"; a change
    // runs refreshPending), "查询(F2)"; screens add their own boxes and buttons to its layout.
    QLineEdit *pendingKeyBox() const { return m_pendingKey; }
    QComboBox *pendingOrderBox() const { return m_pendingOrder; }
    bool pendingDescending() const;
    QPushButton *pendingSearchButton() const { return m_pendingSearch; }
    QHBoxLayout *pendingBar() const { return m_pendingBar; }
    // The strip above the selected document's lines (its partner, its buttons).
    QHBoxLayout *pendingLowerBar() const { return m_pendingLowerBar; }

    // ---- Query page ----
    DateRangeBar *periodBar() const { return m_period; }
    QLineEdit *queryKeyBox() const { return m_queryKey; }
    // Room for the screen's boxes and buttons beside the period and the key box.
    QHBoxLayout *queryBar() const { return m_queryBar; }
    QueryView queryView() const;
    void setQueryView(QueryView view);
    DataGrid *queryGrid() const { return m_query; }
    DataGrid *queryDetailGrid() const { return m_queryDetail; }
    // The lower half of the query page (its caption above the detail grid), sized like the
    // pending page's.
    QFrame *queryLower() const { return m_queryLower; }
    QLabel *queryDetailLabel() const { return m_queryDetailLabel; }

    QTabWidget *pages() const { return m_pages; }

public Q_SLOTS:
    // Esc or a button that rejects: the window closes through its closing question.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildEntryPage(QWidget *page);
    void buildPendingPage(QWidget *page);
    void buildQueryPage(QWidget *page);
    void onDateChanged(const QDate &date);
    void onDateLeft();
    bool renumberForDate(DraftLines::SameDay sameDay);
    QString barcodeToggleText() const;
    void placeBarcodePanel();
    void placePendingLower();
    void removeCurrentLine();
    void onF2();
    void runPendingSearch();

    DocumentShape m_shape;
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    std::unique_ptr<DraftLines> m_draft;
    DocumentHooks m_hooks;
    QString m_number;
    QDate m_lastDate;
    bool m_entryAllowed = true;
    bool m_printBeforeSave = true;
    bool m_barcodeShown = true;
    bool m_closing = false;
    bool m_askingDate = false;

    QTabWidget *m_pages = nullptr;
    QWidget *m_entryPage = nullptr;
    QLabel *m_title = nullptr;
    QGridLayout *m_header = nullptr;
    DateEdit *m_date = nullptr;
    QLabel *m_numberLabel = nullptr;
    DataGrid *m_lines = nullptr;
    QWidget *m_bottom = nullptr;
    QGroupBox *m_buttons = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_modify = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_exit = nullptr;
    QMenu *m_linesMenu = nullptr;
    QAction *m_barcodeAction = nullptr;
    BarcodePanel *m_barcode = nullptr;

    DataGrid *m_pending = nullptr;
    QFrame *m_pendingLower = nullptr;
    DataGrid *m_pendingLines = nullptr;
    QLineEdit *m_pendingKey = nullptr;
    QComboBox *m_pendingOrder = nullptr;
    QPushButton *m_pendingSearch = nullptr;
    QHBoxLayout *m_pendingBar = nullptr;
    QHBoxLayout *m_pendingLowerBar = nullptr;
    QWidget *m_pendingLowerStrip = nullptr;
    QHBoxLayout *m_queryBar = nullptr;

    DateRangeBar *m_period = nullptr;
    QLineEdit *m_queryKey = nullptr;
    QButtonGroup *m_views = nullptr;
    DataGrid *m_query = nullptr;
    DataGrid *m_queryDetail = nullptr;
    QFrame *m_queryLower = nullptr;
    QLabel *m_queryDetailLabel = nullptr;
};
