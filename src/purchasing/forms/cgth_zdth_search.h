#pragma once

// TF_Cgth_Zdth_Search "高级查询": the criteria of the purchase document query's advanced search —
// a supplier text (typed or taken from the chooser TF_Cgth_Zdth_Search_GhsSele), the document
// dates, a warehouse ("所有仓库" = all; a bound operator's own warehouses only), an operator
// ("所有操作员" = all) and a goods class from the class panel. "查询(F5)" accepts and leaves the
// criteria in the dialog's properties (SearchCriteriaOf); "退出(Esc)" leaves none.

#include "purchasing/purchasedocquery.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

#include <optional>

class DateEdit;
class KeyTree;
class KeyedCombo;
class QFrame;
class QLineEdit;

// The criteria a search dialog left, none unless it was accepted with them.
std::optional<DocSearchCriteria> SearchCriteriaOf(const QDialog *dialog);

class TF_Cgth_Zdth_Search final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_Cgth_Zdth_Search(const ScreenContext &context, QWidget *parent = nullptr);

    QLineEdit *supplierBox() const { return m_supplier; }
    QLineEdit *classBox() const { return m_class; }
    DateEdit *fromEdit() const { return m_from; }
    DateEdit *toEdit() const { return m_to; }
    KeyedCombo *warehouseBox() const { return m_warehouse; }
    KeyedCombo *operatorBox() const { return m_operator; }
    QFrame *classPanel() const { return m_classPanel; }
    KeyTree *classTree() const { return m_tree; }

    void runSearch();      // "查询(F5)"
    void chooseSupplier(); // the speed button
    void showClasses();    // a click in the class box
    void takeClass();      // "确定" of the class panel, a double click

private:
    void activate();
    bool eventFilter(QObject *watched, QEvent *event) override;

    ScreenContext m_context;
    QLineEdit *m_supplier = nullptr;
    DateEdit *m_from = nullptr;
    DateEdit *m_to = nullptr;
    KeyedCombo *m_warehouse = nullptr;
    KeyedCombo *m_operator = nullptr;
    QLineEdit *m_class = nullptr;
    QString m_classCode;
    QFrame *m_classPanel = nullptr;
    KeyTree *m_tree = nullptr;
};
