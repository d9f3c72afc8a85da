#pragma once

// TF_Khgl_Type "客户类型": the six customer types; "修改" renames one (TF_Khgl_Type_Sele), "确定"
// or a double-click hands the current type back ("chosenType", "chosenTypeKey").

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class DataGrid;
class SqlGridModel;

class TF_Khgl_Type final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_Khgl_Type(const ScreenContext &context, QWidget *parent = nullptr);
    DataGrid *grid() const { return m_grid; }
    void rename();
    void choose();

private:
    void load();

    ScreenContext m_context;
    DataGrid *m_grid;
    SqlGridModel *m_model;
};
