#pragma once

// TF_User "员工信息": the employees, their key box and search dialog, add, modify, delete,
// disable, print.

#include "masterdata/forms/masterlist.h"

class TF_User final : public MasterListWindow
{
    Q_OBJECT

public:
    explicit TF_User(const ScreenContext &context, QWidget *parent = nullptr);

    void activate();
    void addEmployee();
    void modifyEmployee();
    void deleteEmployee();
    void findEmployees();
    void toggleDisabled();
    void printList() { printRows(MasterList::Employees); }

protected:
    ListStatement statement() const override;
    SearchCriteria keywordCriteria(const QString &key) const override;

private:
    QAction *m_disable = nullptr;
};
