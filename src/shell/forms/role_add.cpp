#include "shell/forms/role_add.h"

#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/dialogparts.h"
#include "screenkit/trees.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_Role_Add::TF_Role_Add(const QSqlDatabase &db, const LoginState &state, Notices &notices, RoleDialogMode mode,
                         qint64 rowId, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_notices(notices), m_mode(mode), m_rowId(rowId)
{
    setObjectName(QStringLiteral("TF_Role_Add"));
    setWindowTitle(QStringLiteral("增加角色"));
    resize(420, 560);

    auto *info = new QGroupBox(QStringLiteral("角色信息"), this);
    edName = new QLineEdit(info);
    edName->setObjectName(QStringLiteral("edName"));
    edName->setMaxLength(16);
    auto *infoLayout = new QHBoxLayout(info);
    infoLayout->addWidget(new QLabel(QStringLiteral("角色名称："), info));
    infoLayout->addWidget(edName, 1);

    auto *rights = new QGroupBox(QStringLiteral("操作权限"), this);
    tree = new CheckTree(rights);
    tree->setObjectName(QStringLiteral("ChkTree"));
    tree->setHeaderHidden(true);
    auto *rightsLayout = new QVBoxLayout(rights);
    rightsLayout->addWidget(tree);

    chkAll = new QCheckBox(QStringLiteral("全选"), this);
    chkAll->setObjectName(QStringLiteral("chkAll"));
    const ConfirmButtons confirm = AddConfirmButtons(this, QStringLiteral("确定(F5)"), "btnCancel",
                                                     QStringLiteral("取消(Esc)"), [this] { btnOKClick(); });
    btnOK = confirm.ok;
    btnCancel = confirm.close;
    confirm.row->insertWidget(0, chkAll);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addWidget(rights, 1);
    layout->addLayout(confirm.row);

    connect(chkAll, &QCheckBox::clicked, this, [this](bool on) { tree->checkAll(on); });
    setChkTree();
}

void TF_Role_Add::setChkTree()
{
    edName->clear();
    tree->clear();
    for (const RightGroup &g : RightsCatalog()) {
        QTreeWidgetItem *root = tree->addRoot(g.caption, g.module);
        for (int i = 0; i < g.rights.size(); ++i)
            tree->addChild(root, g.rights.at(i), i + 1);
    }
    tree->expandAll();
    if (m_mode == RoleDialogMode::Modify) {
        QString name;
        const RoleRights rights = ReadRoleRights(m_db, m_rowId, &name);
        edName->setText(name);
        tree->setChildStates(RightStatesOf(rights));
        chkAll->setChecked(false);
    } else {
        chkAll->setChecked(true);
        tree->checkAll(true);
    }
}

void TF_Role_Add::btnOKClick()
{
    const RoleSaveResult result = SaveRole(m_db, m_mode, m_rowId, edName->text(), tree->childStates());
    if (!result.saved()) {
        m_notices.notice(result.refusal);
        return;
    }
    accept();
}
