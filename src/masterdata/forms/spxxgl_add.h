#pragma once

// TF_Spxxgl_Add "增加商品" and the screen it shares with TF_Spxxgl_Modi "修改商品": two tabs
// (商品基本信息; 辅助单位/一品多码 with UseAuxUnits), the class panel, the look-up lists, the
// opening-warehouse panel. The screen gathers input and calls GoodsRules / AuxUnitRules.

#include "masterdata/auxunitrules.h"
#include "masterdata/goodsclassrules.h"
#include "masterdata/goodsrules.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class DataGrid;
class GoodsClassTree;
class KeyedCombo;
class MoneyEdit;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class SqlGridModel;

class GoodsEditDialog : public ScreenDialog
{
    Q_OBJECT

public:
    enum class Mode { Add, Modify };
    GoodsEditDialog(Mode mode, const ScreenContext &context, QWidget *parent);

    // Controls by role (tests drive them; object names follow the original controls).
    QLineEdit *classBox() const { return m_class; }
    QLineEdit *codeBox() const { return m_code; }
    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *barcodeBox() const { return m_barcode; }
    QComboBox *unitCombo() const { return m_unit; }
    QComboBox *specCombo() const { return m_spec; }
    QComboBox *colourCombo() const { return m_colour; }
    QComboBox *shelfCombo() const { return m_shelf; }
    MoneyEdit *purchasePriceEdit() const { return m_jj; }
    MoneyEdit *salePriceEdit() const { return m_sj; }
    MoneyEdit *openingEdit() const { return m_opening; }
    QFrame *classPanel() const { return m_classPanel; }
    QFrame *warehousePanel() const { return m_whPanel; }
    GoodsClassTree *classTree() const { return m_tree; }
    QTabWidget *tabs() const { return m_tabs; }
    DataGrid *unitGrid() const { return m_unitGrid; }
    DataGrid *barcodeGrid() const { return m_tmGrid; }

    // The commands.
    void save();
    void chooseClass();
    void showClassPanel();
    void addUnit();
    void modifyUnit();
    void deleteUnit();
    void addBarcode();
    void modifyBarcode();
    void deleteBarcode();
    void openLookup(const QString &listClass, QComboBox *combo);

protected:
    virtual void activate() = 0;
    virtual void onClassChosen(const GoodsClassRow &row) = 0;
    virtual void saveInput(const GoodsInput &input) = 0;
    virtual AuxContext auxContext() const = 0;

    GoodsInput gather() const;
    void fillLists(bool presetShelf);
    void clearFields();
    void applyVisibility();
    void openAuxGrids();
    void reloadCommissionKind(int kind);
    void selectUnit(const QString &unit);
    void runAuxDialog(const QString &screenClass, const QString &caption, AuxMode mode, qint64 row);

    ScreenContext m_context;
    Mode m_mode;
    QSqlDatabase m_db;
    QString m_classSn;
    int m_classCid = 0;

    QTabWidget *m_tabs;
    QLineEdit *m_class;
    QPushButton *m_classButton;
    QFrame *m_classPanel;
    GoodsClassTree *m_tree;
    QLineEdit *m_name;
    QLineEdit *m_code;
    QLineEdit *m_barcode;
    QComboBox *m_unit;
    QComboBox *m_spec;
    QComboBox *m_colour;
    QComboBox *m_shelf;
    QLabel *m_colourLabel;
    QPushButton *m_colourButton;
    QLabel *m_shelfLabel;
    QPushButton *m_shelfButton;
    MoneyEdit *m_minStock;
    MoneyEdit *m_jj;
    MoneyEdit *m_sj;
    QLabel *m_jjLabel;
    QLabel *m_sjLabel;
    MoneyEdit *m_levels[5];
    QLabel *m_levelLabels[5];
    MoneyEdit *m_retail;
    QLabel *m_retailLabel;
    QComboBox *m_tclb;
    MoneyEdit *m_tc;
    QLabel *m_tcCaption;
    QLabel *m_tcUnit;
    QLabel *m_openingLabel = nullptr;
    MoneyEdit *m_opening = nullptr;
    QFrame *m_whPanel = nullptr;
    KeyedCombo *m_warehouse = nullptr;
    QLineEdit *m_maker;
    QLineEdit *m_note;
    QCheckBox *m_gift;
    QCheckBox *m_fixedCost;
    QCheckBox *m_nameWarning;
    QCheckBox *m_sameCommission = nullptr;
    QLabel *m_picture;
    DataGrid *m_unitGrid;
    SqlGridModel *m_unitModel;
    DataGrid *m_tmGrid;
    SqlGridModel *m_tmModel;

    bool eventFilter(QObject *watched, QEvent *event) override;
};

class TF_Spxxgl_Add final : public GoodsEditDialog
{
    Q_OBJECT

public:
    TF_Spxxgl_Add(const ScreenContext &context, QWidget *parent = nullptr);

protected:
    void activate() override;
    void onClassChosen(const GoodsClassRow &row) override;
    void saveInput(const GoodsInput &input) override;
    AuxContext auxContext() const override;
    void done(int result) override;

private:
    QString source() const;
    void resetForNext();
};
