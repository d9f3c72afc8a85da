#include "masterdata/forms/dept.h"

#include "masterdata/departmentrules.h"
#include "masterdata/forms/listfilter.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/masterlist.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_Dept::TF_Dept(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_Dept"));
    setWindowTitle(QStringLiteral("部门管理"));
    resize(420, 420);
    auto *layout = new QVBoxLayout(this);
    QPushButton *add = NamedButton(this, "btnAdd", QStringLiteral("增加"));
    QPushButton *modify = NamedButton(this, "btnModi", QStringLiteral("修改"));
    QPushButton *del = NamedButton(this, "btnDel", QStringLiteral("删除"));
    QPushButton *ok = NamedButton(this, "btnOK", QStringLiteral("确定"));
    QPushButton *quit = NamedButton(this, "btnExit", QStringLiteral("退出"));
    layout->addLayout(CommandBar({add, modify, del, ok, quit}));
    const KeyRow keyRow = MakeKeyRow(this, QStringLiteral("部门名称或编号："), QStringLiteral("查询(F2)"));
    m_key = keyRow.key;
    QPushButton *find = keyRow.find;
    layout->addLayout(keyRow.row);
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new SqlGridModel(context.data->mainDb(), m_grid);
    m_model->setColumns({MasterColumn("de_sn", "部门编号", 90), MasterColumn("de_name", "部门名称", 200),
                         HiddenColumn("id", ColumnKind::Integer)});
    m_grid->setModel(m_model);
    layout->addWidget(m_grid, 1);

    connect(add, &QPushButton::clicked, this, &TF_Dept::addDepartment);
    connect(modify, &QPushButton::clicked, this, &TF_Dept::renameDepartment);
    connect(del, &QPushButton::clicked, this, &TF_Dept::deleteDepartment);
    connect(ok, &QPushButton::clicked, this, &TF_Dept::confirm);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(find, &QPushButton::clicked, this, &TF_Dept::search);
    connect(m_key, &QLineEdit::returnPressed, this, &TF_Dept::search);
    connect(m_grid, &DataGrid::rowActivated, this, &TF_Dept::renameDepartment);
    keys()->bind(Qt::Key_F2, [this] { search(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(this, &ScreenDialog::opened, this, &TF_Dept::activate);
}

void TF_Dept::activate()
{
    m_key->clear();
    load();
    search();
}

void TF_Dept::load()
{
    const ListStatement s = DepartmentRules::statement();
    m_model->setStatement(s.body, s.order, s.binds);
    ReloadKeepingRow(m_grid);
}

void TF_Dept::search()
{
    m_grid->setFilter(ListFilter(DepartmentRules::searchCriteria(m_key->text())));
}

void TF_Dept::edit(bool rename)
{
    if (rename && m_grid->rowCount() == 0)
        return;
    std::unique_ptr<QDialog> d(
        m_context.registry->create(QStringLiteral("TF_Dept_Sele"), QStringLiteral("部门信息"), m_context, this));
    d->setProperty(handoff::DeptMode, rename ? QStringLiteral("modi") : QStringLiteral("add"));
    if (rename) {
        d->setProperty(handoff::DeptId, m_grid->currentValue(QStringLiteral("id")));
        d->setProperty(handoff::DeptName, m_grid->currentValue(QStringLiteral("de_name")));
    }
    if (d->exec() != QDialog::Accepted)
        return;
    const QString code = d->property(handoff::DeptCode).toString();
    load();
    m_grid->locate(QStringLiteral("de_sn"), code);
    // Requisition and production windows reload their lists after any save.
    if (DepartmentRules(m_context.data->mainDb(), *m_context.notices)
            .answer(property(handoff::CallerTag).toString(), QString(), false)
            .reload)
        setProperty(handoff::DeptReload, true);
}

void TF_Dept::addDepartment() { edit(false); }

void TF_Dept::renameDepartment() { edit(true); }

void TF_Dept::deleteDepartment()
{
    if (m_grid->rowCount() == 0)
        return;
    if (DepartmentRules(m_context.data->mainDb(), *m_context.notices)
            .remove(m_grid->currentValue(QStringLiteral("id")).toLongLong()))
        load();
}

void TF_Dept::confirm()
{
    const QString name = m_grid->rowCount() > 0 ? m_grid->currentValue(QStringLiteral("de_name")).toString() : QString();
    const DepartmentAnswer a = DepartmentRules(m_context.data->mainDb(), *m_context.notices)
                                   .answer(property(handoff::CallerTag).toString(), name, true);
    if (a.refill) {
        setProperty(handoff::DeptItems, KeyedItemsProperty(a.items));
        setProperty(handoff::DeptSelect, a.select);
    }
    if (a.reload)
        setProperty(handoff::DeptReload, true);
    accept();
}
