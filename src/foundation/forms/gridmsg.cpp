#include "foundation/forms/gridmsg.h"

#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/gridlayoutfile.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

QString &GridLayoutFlag()
{
    static QString flag;
    return flag;
}

TF_GridMsg::TF_GridMsg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TF_GridMsg"));
    setWindowTitle(QStringLiteral("列表信息界面布局调整操作提示"));
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("操作提示："), this);
    title->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(title);
    auto *line1 = new QLabel(QStringLiteral("您可以用鼠标调整当前列表中的列的宽度，"), this);
    line1->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(line1);
    auto *line2 = new QLabel(QStringLiteral("可以使用鼠标移动列的位置。"), this);
    line2->setObjectName(QStringLiteral("Label3"));
    layout->addWidget(line2);
    auto *row = new QHBoxLayout;
    auto *use = new QLabel(QStringLiteral("调整结束后使用"), this);
    use->setObjectName(QStringLiteral("Label4"));
    auto *mouse = new QLabel(QStringLiteral("鼠标右键"), this);
    mouse->setObjectName(QStringLiteral("Label5"));
    QFont bold = mouse->font();
    bold.setBold(true);
    mouse->setFont(bold);
    QPalette pal = mouse->palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    mouse->setPalette(pal);
    auto *save = new QLabel(QStringLiteral("保存调整的结果。"), this);
    save->setObjectName(QStringLiteral("Label6"));
    row->addWidget(use);
    row->addWidget(mouse);
    row->addWidget(save);
    row->addStretch();
    layout->addLayout(row);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(QStringLiteral("确定(F5)"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_exit = new QPushButton(QStringLiteral("退出(Esc)"), this);
    m_exit->setObjectName(QStringLiteral("btnExit"));
    m_ok->setAutoDefault(false);
    m_exit->setAutoDefault(false);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_exit);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &TF_GridMsg::btnOKClick);
    connect(m_exit, &QPushButton::clicked, this, &TF_GridMsg::btnExitClick);
}

void TF_GridMsg::btnOKClick()
{
    GridLayoutFlag() = QStringLiteral("1");
    accept();
}

void TF_GridMsg::btnExitClick()
{
    reject();
}

void TF_GridMsg::showEvent(QShowEvent *event)
{
    QFont f = font();
    f.setPointSize(m_fontSize > 0 ? m_fontSize : 10);
    setFont(f);
    GridLayoutFlag().clear();
    QDialog::showEvent(event);
}

void TF_GridMsg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F5) {
        btnOKClick();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        btnExitClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

TF_GridMsg *GridLayoutTipDialog()
{
    static QPointer<TF_GridMsg> dialog;
    if (!dialog) {
        dialog = new TF_GridMsg;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, dialog.data(), &QObject::deleteLater);
    }
    return dialog;
}

void ShowGridLayoutTip(DataGrid &grid, int fontSize)
{
    TF_GridMsg *tip = GridLayoutTipDialog();
    tip->setFontSize(fontSize);
    tip->exec();
    grid.setAutoColumnWidth(false);
}

bool SaveGridLayout(const QString &name, DataGrid &grid, Notices &notices)
{
    const QString path = GridLayoutFilePath(name);
    QString reason;
    if (!WriteGridLayout(path, grid, &reason)) {
        notices.notice(QStringLiteral("列表布局保存失败：%1\r\n\r\n%2").arg(path, reason));
        return false;
    }
    notices.notice(QStringLiteral("布局调整成功！"));
    GridLayoutFlag().clear();
    return true;
}

void RestoreGridLayout(const QString &name, DataGrid &grid)
{
    GridLayoutFlag().clear();
    const QString path = GridLayoutFilePath(name);
    if (QFile::exists(path))
        ReadGridLayout(path, grid);
}

void GridLayoutCommand(const QString &name, DataGrid &grid, Notices &notices, int fontSize)
{
    if (GridLayoutFlag() != QLatin1String("1"))
        ShowGridLayoutTip(grid, fontSize);
    else
        SaveGridLayout(name, grid, notices);
}

QString GridLayoutCommandText()
{
    return GridLayoutFlag() == QLatin1String("1") ? QStringLiteral("保存当前列表布局(&B)")
                                                   : QStringLiteral("定义列表布局(&B)");
}

QAction *AddGridLayoutItem(QMenu *menu, DataGrid *grid, const QString &name, Notices *notices,
                           int fontSize)
{
    QAction *action = menu->addAction(GridLayoutCommandText());
    action->setObjectName(QStringLiteral("miLayout"));
    QObject::connect(menu, &QMenu::aboutToShow, action,
                     [action] { action->setText(GridLayoutCommandText()); });
    QObject::connect(action, &QAction::triggered, grid, [grid, name, notices, fontSize] {
        GridLayoutCommand(name, *grid, *notices, fontSize);
    });
    return action;
}
