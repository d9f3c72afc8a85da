#pragma once

// TF_Ckgl "仓库管理": every warehouse whatever the bindings, its key box and search dialog,
// add, modify, delete, print.

#include "masterdata/forms/masterlist.h"

class TF_Ckgl final : public MasterListWindow
{
    Q_OBJECT

public:
    explicit TF_Ckgl(const ScreenContext &context, QWidget *parent = nullptr);

    void activate();
    void addWarehouse();
    void modifyWarehouse();
    void deleteWarehouse();
    void findWarehouses();
    void printList() { printRows(MasterList::Warehouses); }
    void searchKeyword() override;

protected:
    ListStatement statement() const override;
    SearchCriteria keywordCriteria(const QString &key) const override;

private:
    bool m_newestFirst = false;  // the search dialog's result
};
