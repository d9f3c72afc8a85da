#include "screenkit/dialogparts.h"

#include "screenkit/datagrid.h"
#include "screenkit/screenbase.h"

#include <QHBoxLayout>
#include <QPushButton>

QPushButton *NamedButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

GridColumn ListColumn(const char *field, const char *caption, int width, ColumnKind kind)
{
    GridColumn c;
    c.field = QString::fromLatin1(field);
    c.caption = QString::fromUtf8(caption);
    c.width = width;
    c.kind = kind;
    return c;
}

GridColumn HiddenColumn(const char *field, ColumnKind kind, int width)
{
    GridColumn c{QString::fromLatin1(field), QString::fromLatin1(field), width, kind};
    c.visible = false;
    return c;
}

ListButtons MakeListButtons(QWidget *parent)
{
    return {NamedButton(parent, "btnAdd", QStringLiteral("增加")), NamedButton(parent, "btnModi", QStringLiteral("修改")),
            NamedButton(parent, "btnDel", QStringLiteral("删除")), NamedButton(parent, "btnExit", QStringLiteral("退出"))};
}

QHBoxLayout *CommandBar(std::initializer_list<QWidget *> widgets)
{
    auto *bar = new QHBoxLayout;
    for (QWidget *w : widgets)
        bar->addWidget(w);
    bar->addStretch();
    return bar;
}

void ConnectListButtons(ScreenDialog *dialog, const ListButtons &buttons, DataGrid *grid,
                        std::function<void()> add, std::function<void()> modify, std::function<void()> remove)
{
    QObject::connect(buttons.add, &QPushButton::clicked, dialog, [add] { add(); });
    QObject::connect(buttons.modify, &QPushButton::clicked, dialog, [modify] { modify(); });
    QObject::connect(buttons.remove, &QPushButton::clicked, dialog, [remove] { remove(); });
    QObject::connect(buttons.exit, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(grid, &DataGrid::rowActivated, dialog, [modify](int) { modify(); });
    dialog->keys()->bind(Qt::Key_Escape, [dialog] { dialog->reject(); });
}

void ReloadKeepingRow(DataGrid *grid)
{
    grid->reload(ReloadTarget::KeepKey);
    grid->recomputeFooter();
}

ConfirmButtons AddConfirmButtons(ScreenDialog *dialog, const QString &okCaption, const char *closeName,
                                 const QString &closeCaption, std::function<void()> confirm,
                                 std::function<void()> escape)
{
    ConfirmButtons b;
    b.ok = NamedButton(dialog, "btnOK", okCaption);
    b.close = NamedButton(dialog, closeName, closeCaption);
    b.row = new QHBoxLayout;
    b.row->addStretch();
    b.row->addWidget(b.ok);
    b.row->addWidget(b.close);
    QObject::connect(b.ok, &QPushButton::clicked, dialog, [confirm] { confirm(); });
    QObject::connect(b.close, &QPushButton::clicked, dialog, &QDialog::reject);
    dialog->keys()->bind(Qt::Key_F5, confirm);
    if (!escape)
        escape = [dialog] { dialog->reject(); };
    dialog->keys()->bind(Qt::Key_Escape, std::move(escape));
    return b;
}
