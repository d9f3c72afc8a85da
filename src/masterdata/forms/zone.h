#pragma once

// "基本资料设置": the supplier types TF_Ghsgl_Type (tab "供货商类型设置") and the regions TF_Zone
// (tab "所属地区设置"): a list with "添加", "修改", "删除", "退出" and an edit panel. One window
// for both. The supplier types hand the current type back on "退出" ("chosenType"); Esc hands
// nothing back.

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class DataGrid;
class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class SqlGridModel;

enum class BasicListKind { SupplierTypes, Regions };

class TF_BasicList final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_BasicList(BasicListKind kind, const ScreenContext &context, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    QFrame *panel() const { return m_panel; }
    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *keyBox() const { return m_key; }
    QCheckBox *defaultBox() const { return m_default; }

    void addRow();
    void modifyRow();
    void deleteRow();
    void confirmPanel();
    void quit();

private:
    void load();
    void showPanel(bool modify);
    void hidePanel();
    QString codeField() const;
    QString nameField() const;

    ScreenContext m_context;
    BasicListKind m_kind;
    DataGrid *m_grid = nullptr;
    SqlGridModel *m_model = nullptr;
    QLineEdit *m_key = nullptr;  // regions only
    QFrame *m_panel = nullptr;
    QLineEdit *m_name = nullptr;
    QCheckBox *m_default = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_modify = nullptr;
    qint64 m_editing = 0;  // the row being modified; 0 while adding
};
