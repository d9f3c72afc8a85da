#pragma once

// The query page ("采购进货查询" and its return twin) of the purchase document windows, built
// once for the family and configured by the document kind's description: supplier box, the three
// views over PurchaseListQueries with the lower grid of 单据表 and 汇总表, 查看单据, 取消审核,
// 全部取消, the whole-document hand-offs (整单退货, 整单领用, 整单销售), 打印, 导出 and 退出.

#include "purchasing/purchaselistdoc.h"
#include "purchasing/purchaselistqueries.h"
#include "shell/forms/screenregistry.h"

#include <QObject>

#include <functional>

class DataGrid;
class DocumentWindow;
class FileChoice;
class ReportOutput;
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

    // The first of this month to today, 单据表, the supplier box emptied, rights; then search.
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

    QLineEdit *supplierBox() const { return m_supplier; }
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
    QToolButton *m_supplierButton = nullptr;
    QLabel *m_keyCaption = nullptr;
    QList<QPushButton *> m_buttons;
    QList<SqlGridModel *> m_models;  // 单据表, 汇总表, 明细表
    int m_shownView = -1;
};
