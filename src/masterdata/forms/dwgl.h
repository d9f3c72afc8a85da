#pragma once

// The look-up list windows TF_Dwgl "单位管理", TF_Color "颜色管理", TF_Ggxh "规格型号" and
// TF_HJxx "库位信息" (one screen for the four members), and their add dialogs TF_Dwgl_Add,
// TF_Color_Add, TF_Ggxh_Add, TF_Hjxx_Add.

#include "masterdata/lookuplistrules.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

#include <QPointer>

class DataGrid;
class QComboBox;
class QLineEdit;
class SqlGridModel;

class TF_LookupList final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_LookupList(LookupKind kind, const ScreenContext &context, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    void addRow();
    void deleteRow();
    void confirm();

private:
    void activate();
    void refillCaller(bool selectNewest);

    ScreenContext m_context;
    LookupKind m_kind;
    DataGrid *m_grid;
    SqlGridModel *m_model;
};

class TF_LookupAdd final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_LookupAdd(LookupKind kind, const ScreenContext &context, QWidget *parent = nullptr);

    QLineEdit *nameBox() const { return m_name; }
    void save();
    QString savedCode() const { return m_saved; }

private:
    ScreenContext m_context;
    LookupKind m_kind;
    QLineEdit *m_name;
    QString m_saved;
};
