#pragma once

// Arranging list columns and keeping the arrangement: the tip dialog and the layout routines
// the list screens call ("定义列表布局(&B)" / "保存当前列表布局(&B)").

#include <QDialog>

class DataGrid;
class Notices;
class QAction;
class QLabel;
class QMenu;
class QPushButton;

// "1" while the operator arranges a list after confirming the tip, empty otherwise. One per
// process, shared by every list screen.
QString &GridLayoutFlag();

class TF_GridMsg final : public QDialog
{
    Q_OBJECT

public:
    explicit TF_GridMsg(QWidget *parent = nullptr);

    void setFontSize(int points) { m_fontSize = points; }
    QPushButton *btnOK() const { return m_ok; }
    QPushButton *btnExit() const { return m_exit; }

    void btnOKClick();
    void btnExitClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPushButton *m_ok;
    QPushButton *m_exit;
    int m_fontSize = 10;
};

// The tip dialog (created once, kept), shown modally; afterwards the grid's automatic column
// width is off whichever button closed it.
void ShowGridLayoutTip(DataGrid &grid, int fontSize);
// The dialog ShowGridLayoutTip uses (tests drive it while it is open).
TF_GridMsg *GridLayoutTipDialog();

// Writes Layout/<name>.ini; "布局调整成功！" and the flag cleared, or a notice naming the file
// and the reason with the flag left "1".
bool SaveGridLayout(const QString &name, DataGrid &grid, Notices &notices);
// Clears the flag; when Layout/<name>.ini exists, automatic width off and the file applied.
void RestoreGridLayout(const QString &name, DataGrid &grid);

// The screens' command: the tip while the flag is not "1", the save when it is.
void GridLayoutCommand(const QString &name, DataGrid &grid, Notices &notices, int fontSize);
// Caption of the command for the current flag.
QString GridLayoutCommandText();
// Adds the command to a grid's popup menu; its caption follows the flag at every opening.
QAction *AddGridLayoutItem(QMenu *menu, DataGrid *grid, const QString &name, Notices *notices,
                           int fontSize);
