#pragma once

// The supplier choosers of the purchase screens, all on the kit's ChooserPanel: the supplier
// grid's columns (编号, 供货商名称, 联系人, 联系电话, 联系地址 and hidden detail), a chooser over a
// supplier list, and the filter panel the purchase list pages share: "查询全部供货商", the grid,
// "确定(F5)", "退出(Esc)", opened by a page's chooser button or by typing in its supplier box.

#include "screenkit/chooserpanel.h"
#include "screenkit/gridcolumn.h"

#include <QObject>

#include <functional>

class PartnerList;
class QAbstractButton;
class QLineEdit;

// 供货商类型 shows with `typeShown` (the entry page's chooser).
QList<GridColumn> SupplierChooserColumns(bool typeShown = false);

// A chooser panel over `suppliers` (loaded by the caller) keyed by ghs_sn, named by ghs_name.
ChooserPanel *NewSupplierChooser(ChooserOptions options, const PartnerList &suppliers, int uiFontSize,
                                 QWidget *parent = nullptr);

// "全部供货商" and "当前供货商" in a supplier box stand for no supplier.
QString SupplierFilterText(const QString &boxText);

class SupplierFilterPanel final : public QObject
{
    Q_OBJECT

public:
    // The panel lies over `host`; the list must outlive it.
    SupplierFilterPanel(QWidget *host, const PartnerList &suppliers, int uiFontSize);

    // A page's supplier box with its chooser button and its search. The button unchecks
    // "查询全部供货商", clears the filter and opens the panel under the box; with `typing`, each
    // edit of the box does the same filtered by its text. 确定 or a double-click puts the name
    // into the box the panel was opened from, hides the panel and runs that page's search.
    void attach(QLineEdit *box, QAbstractButton *button, std::function<void()> search, bool typing);
    // "查询全部供货商": "全部供货商" into `box`, the panel hidden, `search` run.
    void setAllTarget(QLineEdit *box, std::function<void()> search);

    ChooserPanel *panel() const { return m_panel; }
    bool isOpen() const;
    void close();

private:
    void open(QLineEdit *box, std::function<void()> search, const QString &filter);

    ChooserPanel *m_panel;
    QLineEdit *m_target = nullptr;
    std::function<void()> m_search;
    QLineEdit *m_allBox = nullptr;
    std::function<void()> m_allSearch;
};
