#pragma once

// The query page ("采购进货查询", "退货查询", "采购订单查询") of the purchase document windows,
// built once for the family and configured by the document kind's description: the receipt's
// supplier box, the views over PurchaseListQueries with the lower grid of 单据表 (and 汇总表),
// 查看单据, 取消审核, the receipt's 全部取消 and whole-document hand-offs (整单退货, 整单领用,
// 整单销售), 打印 (not for orders), 导出 and 退出. The order's page adds "收货仓库：",
// "显示作废单据" and the popup "单据作废(&Z)" / "取消作废(&Z)"; its lower grid shows each line's
// progress (采购数量, 订单数量, 剩余数量).

#include "purchasing/purchaselistdoc.h"
#include "purchasing/purchaselistqueries.h"
#include "shell/forms/screenregistry.h"

#include <QObject>

#include <functional>

class DataGrid;
class DocumentWindow;
class FileChoice;
class ReportOutput;
class KeyedCombo;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class SqlGridModel;

class PurchaseQueryPage final : public QObject
{
    Q_OBJECT

public:
    // `viewDocument` previews a stored document of the kind; `files` chooses export files.
    PurchaseQueryPage(DocumentWindow &window, const ScreenContext &context, const PurchaseListDoc &doc,
                      std::function<void(const QString &number)> viewDocument,
                      std::function<FileChoice &()> files, std::function<ReportOutput &()> output);

    // The window opened: the period (the receipt and the order from the first of this month, the
    // return from the first of the previous one) to today, 单据表, the order's warehouses and
    // void box, rights.
    void open();
    // Switching to the page: the receipt's period again, its supplier box emptied; the return's
    // key box emptied; then the current view searches.
    void activate();
    void search();
    void applyRights();

    // Commands (buttons, popup, tests).
    void view();
    void unauditSelected();
    void unauditAll();
    void wholeReturn();
    void wholeIssue();
    void wholeSale();
    void exportView();
    void print();
    // The order's "单据作废(&Z)" / "取消作废(&Z)" on the current document.
    void toggleVoid();

    QLineEdit *supplierBox() const { return m_supplier; }
    KeyedCombo *warehouseBox() const { return m_warehouse; }
    QCheckBox *voidBox() const { return m_showVoid; }
    QToolButton *supplierButton() const { return m_supplierButton; }
    QPushButton *button(const QString &objectName) const;
    PurchaseQueryCriteria criteria() const;

private:
    void setViewColumns();
    void showDetail();
    // The number of the current row of the view showing (汇总表: the lower grid's), or "".
    QString currentNumber() const;
    void handOff(const char *refusal, QString FollowOnRequests::*slot, bool returning);

    DocumentWindow &m_window;
    ScreenContext m_context;
    PurchaseListDoc m_doc;
    PurchaseListQueries m_queries;
    std::function<void(const QString &)> m_viewDocument;
    std::function<FileChoice &()> m_files;
    std::function<ReportOutput &()> m_output;
    QLineEdit *m_supplier = nullptr;
    KeyedCombo *m_warehouse = nullptr;
    QCheckBox *m_showVoid = nullptr;
    QToolButton *m_supplierButton = nullptr;
    QLabel *m_keyCaption = nullptr;
    QList<QPushButton *> m_buttons;
    QList<SqlGridModel *> m_models;  // 单据表, 汇总表, 明细表
    int m_shownView = -1;
};
