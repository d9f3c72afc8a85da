#pragma once

// The customer dialogs TF_Khgl_Add "增加客户" / TF_Khgl_Modi "修改客户" and the supplier dialogs
// TF_Ghsgl_Add "添加供货商" / TF_Ghsgl_Modi "修改供货商": one dialog driven by the partner kind
// and its mode, with the region panel.

#include "masterdata/partnerkind.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class CheckTree;
class DataGrid;
class KeyedCombo;
class MoneyEdit;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class SqlGridModel;

class TF_PartnerEdit final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_PartnerEdit(PartnerKind kind, bool modify, const ScreenContext &context, QWidget *parent = nullptr);

    QLineEdit *nameBox() const { return m_name; }
    KeyedCombo *typeCombo() const { return m_type; }
    QLineEdit *regionBox() const { return m_region; }
    MoneyEdit *openingEdit() const { return m_opening; }
    CheckTree *salesmanTree() const { return m_salesmen; }
    KeyedCombo *warehouseCombo() const { return m_warehouse; }
    QFrame *regionPanel() const { return m_panel; }
    DataGrid *regionGrid() const { return m_zoneGrid; }

    void save();
    void openTypes();
    void showRegionPanel();
    void takeRegion();
    void addRegion();

private:
    void activate();
    void loadRecord();
    void fillTypes(const QString &selectKey);
    void f5();
    void escape();

    ScreenContext m_context;
    PartnerKind m_kind;
    bool m_modify;
    qint64 m_id = 0;
    QString m_code;
    QString m_storedType;  // suppliers: the stored type name, kept while the list does not hold it
    QLineEdit *m_name = nullptr;
    KeyedCombo *m_type = nullptr;
    QLineEdit *m_region = nullptr;
    QLineEdit *m_contact = nullptr;
    QLineEdit *m_tele = nullptr;
    MoneyEdit *m_opening = nullptr;
    QCheckBox *m_default = nullptr;
    QCheckBox *m_forbid = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_note = nullptr;
    CheckTree *m_salesmen = nullptr;
    KeyedCombo *m_warehouse = nullptr;
    QLabel *m_warehouseLabel = nullptr;
    QFrame *m_panel = nullptr;
    DataGrid *m_zoneGrid = nullptr;
    SqlGridModel *m_zoneModel = nullptr;
};
