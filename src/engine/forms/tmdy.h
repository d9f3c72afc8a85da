#pragma once

// TF_Tmdy "条码打印": the barcode-label queue with its goods picker, and TF_Tmdy_Modi
// "条码数量", the number of labels of one queued goods.

#include "screenkit/screenbase.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

class DataGrid;
class Notices;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class ReportOutput;
class SqlGridModel;
struct LoginState;

class TF_Tmdy_Modi final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Tmdy_Modi(const QSqlDatabase &db, Notices &notices, const QVariant &queueId, const QString &goods,
                 const QString &count, int uiFontSize, QWidget *parent = nullptr);

    QLineEdit *countEdit() const { return m_count; }
    // "保存(F5)": writes the count and closes; a negative number is refused, the dialog stays.
    void save();

private:
    QSqlDatabase m_db;
    Notices &m_notices;
    QVariant m_id;
    QLineEdit *m_count;
};

class TF_Tmdy final : public ScreenDialog
{
    Q_OBJECT

public:
    // `output` prints the labels (the preview on a workstation); `templateFolder` is where
    // txm.json lives (the program's report/ when empty).
    TF_Tmdy(const QSqlDatabase &db, const LoginState &state, Notices &notices, ReportOutput &output,
            const QString &templateFolder = {}, QWidget *parent = nullptr);

    // "条码设置" opens the template editor through this; tests put a recorder in its place.
    std::function<void(const QString &templateName)> openDesigner;
    // "修改" opens TF_Tmdy_Modi modally through this (tests drive the dialog themselves).
    std::function<void(TF_Tmdy_Modi &dialog)> runModifyDialog;

    DataGrid *queueGrid() const { return m_queue; }
    DataGrid *pickerGrid() const { return m_picker; }
    QLineEdit *searchEdit() const { return m_search; }
    QLineEdit *quantityEdit() const { return m_quantity; }
    bool pickerShown() const;

    void addByCode();       // "增加(F4)"
    void addPicked();       // picker "确定(F5)"
    void modifyCurrent();   // "修改"
    void deleteCurrent();   // "删除"
    void printLabels();     // "打印"
    void designLabels();    // "条码设置"
    void showPicker();
    void hidePicker();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void activate();
    void reloadQueue();
    void onSearchEdited(const QString &text);
    void pickRow(int row);
    void resetQuantity();
    void clearSearch();

    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
    ReportOutput &m_output;
    QString m_folder;
    QLineEdit *m_search = nullptr;
    QPushButton *m_searchButton = nullptr;
    QLineEdit *m_quantity = nullptr;
    DataGrid *m_queue = nullptr;
    SqlGridModel *m_queueModel = nullptr;
    QFrame *m_pickerPanel = nullptr;
    DataGrid *m_picker = nullptr;
    SqlGridModel *m_pickerModel = nullptr;
};
