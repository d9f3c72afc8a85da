#pragma once

// TF_Spxxgl "商品信息管理": the class tree, the goods list and the goods commands.

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

#include <QPointer>

class DataGrid;
class FileChoice;
class GoodsClassTree;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class ReportOutput;
class SqlGridModel;

class TF_Spxxgl final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Spxxgl(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Spxxgl() override;

    DataGrid *grid() const { return m_grid; }
    GoodsClassTree *classTree() const { return m_tree; }
    QLineEdit *searchBox() const { return m_key; }
    QMenu *popup() const { return m_popup; }
    QAction *action(const QString &text) const;
    // Tests and the shell may replace the file chooser and the print output.
    void setFileChoice(FileChoice *files) { m_files = files; }
    void setReportOutput(ReportOutput *output) { m_output = output; }

    // Commands (buttons, menu items and tests).
    void activate();
    void loadList();
    void addGoods();
    void pasteGoods();
    void modifyGoods();
    void deleteGoods();
    void toggleDisabled();
    void batchDisable();
    void setFixedCost(bool on);
    void copyGoods();
    void changeClass();
    void showThisClass();
    void exportList();
    void printSelectedLabels();
    void printAllLabels();
    void printList();
    void classClicked();
    void searchClass(bool perKey);
    QString stockTotal() const;
    QLabel *picture() const { return m_picture; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildScreen();
    void buildPopup();
    void applyColumnGates();
    void onSearchEdited(const QString &text);
    void onSearchEnter();
    void openRegistered(const QString &screenClass, const QString &caption, bool needsRows);
    void openAddDialog(qint64 copyId);
    void positionOn(const QString &code);
    void showPicture();
    QList<qint64> selectedIds() const;
    qint64 currentId() const;
    bool hasWarehouse() const;

    ScreenContext m_context;
    GoodsClassTree *m_tree = nullptr;
    QLineEdit *m_classBox = nullptr;
    DataGrid *m_grid = nullptr;
    SqlGridModel *m_model = nullptr;
    QLineEdit *m_key = nullptr;
    QLabel *m_keyLabel = nullptr;
    QCheckBox *m_showDisabled = nullptr;
    QCheckBox *m_clickPicture = nullptr;
    QLabel *m_picture = nullptr;
    QMenu *m_popup = nullptr;
    QMenu *m_importMenu = nullptr;
    QAction *m_importAux = nullptr;
    QAction *m_importShelf = nullptr;
    QAction *m_paste = nullptr;
    QAction *m_disable = nullptr;
    FileChoice *m_files = nullptr;
    ReportOutput *m_output = nullptr;
    std::unique_ptr<FileChoice> m_ownFiles;
    std::unique_ptr<ReportOutput> m_ownOutput;

    QString m_search;         // remembered as-you-type text (stock total)
    QString m_listSearch;     // text of the last Enter search
    QString m_classCondition; // class code of the list statement (class click, Enter search off)
    QString m_order;          // order clause kept when the sort is removed
    qint64 m_copiedId = 0;
    bool m_copyWaiting = false;
};
