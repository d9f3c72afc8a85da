#pragma once

// TF_Kcdb "库存调拨": the stock transfer window on the kit's document window. Entry page "库存调拨
// 单": out warehouse, in warehouse, date and number over the operator's draft lines (scanned,
// picked, changed in the line dialog), handler and note, save (pending or audited at once).
// The pages "待审核调拨单" and "库存调拨查询" and printing come with their own work.

#include "inventory/forms/inventorywindow.h"
#include "inventory/transferentry.h"

class FileChoice;
class KeyedCombo;
class QToolButton;

class TF_Kcdb final : public InventoryWindow
{
    Q_OBJECT

public:
    TF_Kcdb(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Kcdb() override;

    KeyedCombo *inWarehouseBox() const { return m_inWarehouse; }
    QToolButton *importExportButton() const { return m_inOut; }
    void setFileChoice(FileChoice *files) { m_files = files; }

    // Commands (buttons, keys, menus and tests).
    void addGoods();
    void modifyLine();
    void deleteLine();
    void save();

private:
    void opening();
    void afterOpening();
    void startDocument();
    void applyRights();
    void onScanned(const QString &code);
    void exportExcel();

    TransferEntry m_entry;
    bool m_entryRight = false;
    KeyedCombo *m_inWarehouse = nullptr;
    QToolButton *m_inOut = nullptr;
    FileChoice *m_files = nullptr;
    std::unique_ptr<FileChoice> m_ownFiles;
};
