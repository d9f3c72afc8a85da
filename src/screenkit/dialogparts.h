#pragma once

// Parts the list windows and small dialogs build alike: named buttons, the command bar over a
// list with its add / modify / delete / exit buttons, the confirm row under a dialog, and the
// reload of a list that keeps the current row.

#include "screenkit/gridcolumn.h"

#include <QString>

#include <functional>
#include <initializer_list>

class DataGrid;
class QHBoxLayout;
class QPushButton;
class QWidget;
class ScreenDialog;

// A widget given its object name (the name tests find it by).
template <typename T>
T *WithName(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A push button with its object name (the name the layouts and tests find it by).
QPushButton *NamedButton(QWidget *parent, const char *name, const QString &caption);

// A shown column: field, caption (UTF-8), width and kind; the rest as GridColumn's defaults.
GridColumn ListColumn(const char *field, const char *caption, int width, ColumnKind kind = ColumnKind::Text);

// A column the query reads but the grid does not show.
GridColumn HiddenColumn(const char *field, ColumnKind kind = ColumnKind::Text, int width = 60);

// "增加", "修改", "删除", "退出" of a list window, as btnAdd, btnModi, btnDel, btnExit.
struct ListButtons
{
    QPushButton *add = nullptr;
    QPushButton *modify = nullptr;
    QPushButton *remove = nullptr;
    QPushButton *exit = nullptr;
};
ListButtons MakeListButtons(QWidget *parent);

// A left-aligned row of `widgets`, the rest of the width left empty.
QHBoxLayout *CommandBar(std::initializer_list<QWidget *> widgets);

// Wires a list window: the buttons to the actions, a double-clicked or Enter-pressed row to
// modify, "退出" and Esc close the dialog.
void ConnectListButtons(ScreenDialog *dialog, const ListButtons &buttons, DataGrid *grid,
                        std::function<void()> add, std::function<void()> modify, std::function<void()> remove);

// Reads the rows again, staying on the current row, and recounts the footer.
void ReloadKeepingRow(DataGrid *grid);

// The confirm and close buttons under a dialog, right-aligned: the confirm button ("btnOK") and
// F5 run `confirm`, the close button closes the dialog, Esc runs `escape` (closing when empty).
struct ConfirmButtons
{
    QPushButton *ok = nullptr;
    QPushButton *close = nullptr;
    QHBoxLayout *row = nullptr;
};
ConfirmButtons AddConfirmButtons(ScreenDialog *dialog, const QString &okCaption, const char *closeName,
                                 const QString &closeCaption, std::function<void()> confirm,
                                 std::function<void()> escape = {});
