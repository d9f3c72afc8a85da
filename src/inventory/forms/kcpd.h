#pragma once

// TF_Kcpd "库存盘点": the stocktaking window on the kit's document window. Entry page "库存盘点
// 单": the counted warehouse, date and number over the operator's lines (scanned, picked,
// changed in the line dialog), the totals of every line of the number (库存数量, 盘点数量),
// handler and note, save (pending or audited at once). The pages "待审核盘点单" and "库存盘点
// 查询", printing and the count import come with their own work.

#include "inventory/forms/inventorywindow.h"
#include "inventory/stocktaking.h"

class QLineEdit;
class QPushButton;

class TF_Kcpd final : public InventoryWindow
{
    Q_OBJECT

public:
    TF_Kcpd(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Kcpd() override;

    QLineEdit *bookTotalBox() const { return m_bookTotal; }
    QLineEdit *countTotalBox() const { return m_countTotal; }
    QPushButton *importButton() const { return m_import; }

    // Commands (buttons, keys, menus and tests).
    void addGoods();
    void modifyLine();
    void deleteLine();
    void importCounts();
    void save();

private:
    void opening();
    void afterOpening();
    void startDocument();
    void applyRights();
    void onScanned(const QString &code);
    void updateTotals();

    StocktakingRules m_rules;
    QLineEdit *m_bookTotal = nullptr;
    QLineEdit *m_countTotal = nullptr;
    QPushButton *m_import = nullptr;
};
