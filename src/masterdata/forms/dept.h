#pragma once

// TF_Dept "部门管理": the departments, their search, add, rename, delete, and the answer to the
// forms that open it as a chooser (in "callerTag"; out "deptItems"/"deptSelect" or
// "deptReload", applied with ApplyDepartmentAnswer).

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class DataGrid;
class QLineEdit;
class SqlGridModel;

class TF_Dept final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_Dept(const ScreenContext &context, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    QLineEdit *keyBox() const { return m_key; }

    void search();
    void addDepartment();
    void renameDepartment();
    void deleteDepartment();
    void confirm();

private:
    void activate();
    void load();
    void edit(bool rename);

    ScreenContext m_context;
    QLineEdit *m_key = nullptr;
    DataGrid *m_grid = nullptr;
    SqlGridModel *m_model = nullptr;
};
