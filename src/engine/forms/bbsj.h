#pragma once

// TF_Bbsj "报表设计": the catalogue of print templates by category, with its editor panel
// (增加/修改), 删除, 读取报表信息 (the default catalogue again) and 设计报表 (the template
// editor on the row's file).

#include "engine/reportcatalog.h"
#include "screenkit/screenbase.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

class Clock;
class DataGrid;
class KeyedCombo;
class Notices;
class QGroupBox;
class QLineEdit;
class SqlGridModel;

class TF_Bbsj final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Bbsj(const QSqlDatabase &db, const Clock &clock, Notices &notices, int uiFontSize,
            const QString &templateFolder = {}, QWidget *parent = nullptr);

    // "设计报表" opens the template editor through this; tests put a recorder in its place.
    std::function<void(const QString &file)> openDesigner;

    DataGrid *grid() const { return m_grid; }
    KeyedCombo *filterCombo() const { return m_filter; }
    QGroupBox *editPanel() const { return m_panel; }
    QLineEdit *nameEdit() const { return m_name; }
    QLineEdit *fileEdit() const { return m_file; }
    KeyedCombo *typeCombo() const { return m_type; }

    // "增加" (Add) or "修改" (Modify): the editor panel in that mode.
    void openEditor(CatalogEditMode mode);
    void confirmEditor();  // "确定"
    void cancelEditor();   // "取消"
    void deleteCurrent();  // "删除"
    void restoreDefaults();  // "读取报表信息"
    void designCurrent();  // "设计报表", double-click

private:
    void applyFilter();

    QSqlDatabase m_db;
    const Clock &m_clock;
    Notices &m_notices;
    QString m_folder;
    int m_fontSize;
    KeyedCombo *m_filter = nullptr;
    DataGrid *m_grid = nullptr;
    SqlGridModel *m_model = nullptr;
    QGroupBox *m_panel = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_file = nullptr;
    KeyedCombo *m_type = nullptr;
    CatalogEditMode m_mode = CatalogEditMode::Add;
    QVariant m_editId;
};
