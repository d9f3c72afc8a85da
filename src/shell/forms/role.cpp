#include "shell/forms/role.h"

#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "shell/forms/role_add.h"
#include "shell/roles.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TF_Role::TF_Role(const QSqlDatabase &db, const LoginState &state, Notices &notices, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_state(state), m_notices(notices)
{
    setObjectName(QStringLiteral("TF_Role"));
    setWindowTitle(QStringLiteral("角色管理"));
    resize(494, 422);

    const ListButtons list = MakeListButtons(this);
    btnAdd = list.add;
    btnModi = list.modify;
    btnDel = list.remove;
    btnExit = list.exit;
    QHBoxLayout *bar = CommandBar({btnAdd, btnModi, btnDel, btnExit});

    grid = new DataGrid(this);
    grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_model = new SqlGridModel(m_db);
    m_model->setColumns({HiddenColumn("id", ColumnKind::Integer, 40), GridColumn{QStringLiteral("r_sn"), QStringLiteral("角色编号"), 120},
                         GridColumn{QStringLiteral("r_name"), QStringLiteral("角色名称"), 260}});
    const ListStatement roles = RoleListStatement();
    m_model->setStatement(roles.body, roles.order, roles.binds);
    grid->setModel(m_model);
    grid->setFooter(QStringLiteral("r_sn"), FooterKind::TextCount, QStringLiteral("记录数："));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(grid, 1);

    ConnectListButtons(this, list, grid, [this] { btnAddClick(); }, [this] { btnModiClick(); },
                       [this] { btnDelClick(); });
    connect(this, &ScreenDialog::opened, this, &TF_Role::FormActivate);
    FormActivate();
}

void TF_Role::FormActivate()
{
    ReloadKeepingRow(grid);
}

void TF_Role::btnAddClick()
{
    TF_Role_Add dialog(m_db, m_state, m_notices, RoleDialogMode::Add, 0, this);
    if (dialog.exec() == QDialog::Accepted) {
        grid->reload(ReloadTarget::KeepKey);
        grid->locate(QStringLiteral("r_name"), StoredRoleName(dialog.edName->text()));
        grid->recomputeFooter();
    }
}

void TF_Role::btnModiClick()
{
    if (grid->rowCount() == 0)
        return;
    const QString refusal = RoleModifyRefusal(grid->currentValue(QStringLiteral("r_sn")).toString());
    if (!refusal.isEmpty()) {
        m_notices.notice(refusal);
        return;
    }
    TF_Role_Add dialog(m_db, m_state, m_notices, RoleDialogMode::Modify,
                       grid->currentValue(QStringLiteral("id")).toLongLong(), this);
    if (dialog.exec() == QDialog::Accepted)
        ReloadKeepingRow(grid);
}

void TF_Role::btnDelClick()
{
    if (grid->rowCount() == 0)
        return;
    const QString sn = grid->currentValue(QStringLiteral("r_sn")).toString();
    const QString refusal = RoleDeleteRefusal(m_db, sn);
    if (!refusal.isEmpty()) {
        m_notices.notice(refusal);
        return;
    }
    if (m_notices.ask(QStringLiteral("您确定要删除选中的角色吗？")) == Notices::Answer::No)
        return;
    DeleteRole(m_db, sn);
    ReloadKeepingRow(grid);
}
