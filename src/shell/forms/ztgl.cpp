#include "shell/forms/ztgl.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "shell/forms/ztgl_backup.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QUuid>
#include <QVBoxLayout>

// ---- TF_Ztgl_Add ----

TF_Ztgl_Add::TF_Ztgl_Add(const ConnectionSettings &settings, const QSqlDatabase &registerDb, const Clock &clock,
                         int uiFontSize, Notices &notices, qint64 rowId, QWidget *parent)
    : ScreenDialog(uiFontSize, parent), m_settings(settings), m_register(registerDb), m_clock(clock),
      m_notices(notices), m_rowId(rowId)
{
    setObjectName(isModify() ? QStringLiteral("TF_Ztgl_Modi") : QStringLiteral("TF_Ztgl_Add"));
    setWindowTitle(isModify() ? QStringLiteral("修改帐套") : QStringLiteral("建立新帐套"));

    edName = new QLineEdit(this);
    edName->setObjectName(QStringLiteral("edName"));
    edName->setMaxLength(32);
    edNote = new QLineEdit(this);
    edNote->setObjectName(QStringLiteral("edNote"));
    edNote->setMaxLength(32);
    auto *group = new QGroupBox(this);
    rbDefault = new QRadioButton(QStringLiteral("默认帐套"), group);
    rbDefault->setObjectName(QStringLiteral("rbDefault"));
    rbForbid = new QRadioButton(QStringLiteral("禁用帐套"), group);
    rbForbid->setObjectName(QStringLiteral("rbForbid"));
    // Exclusive, yet both may be clear: the group is managed here, not by auto-exclusivity.
    rbDefault->setAutoExclusive(false);
    rbForbid->setAutoExclusive(false);
    connect(rbDefault, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbForbid->setChecked(false);
    });
    connect(rbForbid, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbDefault->setChecked(false);
    });
    auto *groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(rbDefault);
    groupLayout->addWidget(rbForbid);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("帐套名称："), edName);
    form->addRow(QStringLiteral("帐套备注："), edNote);
    form->addRow(group);

    const ConfirmButtons confirm = AddConfirmButtons(this, QStringLiteral("确定(F5)"), "btnCancel",
                                                     QStringLiteral("取消(Esc)"), [this] { btnOKClick(); });
    btnOK = confirm.ok;
    btnCancel = confirm.close;
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(confirm.row);
    // As in every dialog, Enter moves to the next field; only F5 or the button saves.
    keys()->setEnterMovesFocus(true);

    if (isModify()) {
        const AccountSetRow row = ReadAccountSet(m_register, m_rowId);
        edName->setText(row.name);
        edNote->setText(row.note);
        rbDefault->setChecked(row.isDefault);
        rbForbid->setChecked(row.forbidden && !row.isDefault);
        rbForbid->setEnabled(row.sn != QLatin1String(kBuiltInAccountSet));
    }
}

void TF_Ztgl_Add::btnOKClick()
{
    AccountSetInput input;
    input.name = edName->text();
    input.note = edNote->text();
    input.isDefault = rbDefault->isChecked();
    input.forbidden = rbForbid->isChecked();
    AccountSetResult result;
    {
        BusyGuard busy(btnOK);
        result = isModify() ? ModifyAccountSet(m_register, m_rowId, input)
                            : CreateAccountSet(m_settings, m_register, m_clock, input);
    }
    if (!result.ok()) {
        m_notices.notice(result.refusal);
        return;
    }
    accept();
}

// ---- TF_Ztgl ----

TF_Ztgl::TF_Ztgl(const ConnectionSettings &settings, const LoginState &state, const Clock &clock, Notices &notices,
                 FileChoice &files, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_settings(settings), m_state(state), m_clock(clock),
      m_notices(notices), m_files(files),
      m_connection(QStringLiteral("jxc_ztgl_") + QUuid::createUuid().toString(QUuid::Id128))
{
    setObjectName(QStringLiteral("TF_Ztgl"));
    setWindowTitle(QStringLiteral("帐套管理"));
    resize(640, 400);
    OpenConnection(m_settings, QString::fromLatin1(kRegisterFile), m_connection);

    const ListButtons list = MakeListButtons(this);
    btnAdd = list.add;
    btnModi = list.modify;
    btnBackup = new QToolButton(this);
    btnBackup->setObjectName(QStringLiteral("btnBackup"));
    btnBackup->setText(QStringLiteral("备份恢复"));
    btnBackup->setPopupMode(QToolButton::InstantPopup);
    backupMenu = new QMenu(btnBackup);
    backupMenu->addAction(QStringLiteral("备份帐套数据到文件(&Y)"), this, &TF_Ztgl::backupClick);
    backupMenu->addAction(QStringLiteral("从帐套备份文件恢复数据(&Z)"), this, &TF_Ztgl::restoreClick);
    btnBackup->setMenu(backupMenu);
    btnDel = list.remove;
    btnExit = list.exit;
    QHBoxLayout *bar = CommandBar({btnAdd, btnModi, btnBackup, btnDel, btnExit});

    grid = new DataGrid(this);
    grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_model = new SqlGridModel(registerDb());
    m_model->setColumns({HiddenColumn("id", ColumnKind::Integer, 40),
                         GridColumn{QStringLiteral("zt_sn"), QStringLiteral("编号"), 80},
                         GridColumn{QStringLiteral("zt_name"), QStringLiteral("帐套名称"), 160},
                         GridColumn{QStringLiteral("zt_default"), QStringLiteral("默认帐套"), 70, ColumnKind::Check},
                         GridColumn{QStringLiteral("zt_forbid"), QStringLiteral("是否禁用"), 70, ColumnKind::Check},
                         GridColumn{QStringLiteral("zt_note"), QStringLiteral("备注"), 180}});
    const ListStatement sets = AccountSetListStatement();
    m_model->setStatement(sets.body, sets.order, sets.binds);
    grid->setModel(m_model);
    grid->setFooter(QStringLiteral("zt_sn"), FooterKind::TextCount, QStringLiteral("记录数:"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(grid, 1);

    ConnectListButtons(this, list, grid, [this] { btnAddClick(); }, [this] { btnModiClick(); },
                       [this] { btnDelClick(); });
    connect(this, &ScreenDialog::opened, this, &TF_Ztgl::readRows);
    readRows();
}

TF_Ztgl::~TF_Ztgl()
{
    delete grid;  // the model reads through the register connection
    grid = nullptr;
    CloseConnection(m_connection);
}

QSqlDatabase TF_Ztgl::registerDb() const
{
    return QSqlDatabase::database(m_connection, false);
}

void TF_Ztgl::readRows()
{
    ReloadKeepingRow(grid);
}

AccountSetRow TF_Ztgl::currentRow() const
{
    if (grid->rowCount() == 0 || grid->currentRow() < 0)
        return {};
    return ReadAccountSet(registerDb(), grid->currentValue(QStringLiteral("id")).toLongLong());
}

void TF_Ztgl::btnAddClick()
{
    TF_Ztgl_Add dialog(m_settings, registerDb(), m_clock, m_state.UiFontSize, m_notices, 0, this);
    if (dialog.exec() == QDialog::Accepted) {
        readRows();
        grid->goLast();
    }
}

void TF_Ztgl::btnModiClick()
{
    const AccountSetRow row = currentRow();
    if (row.id == 0)
        return;
    TF_Ztgl_Add dialog(m_settings, registerDb(), m_clock, m_state.UiFontSize, m_notices, row.id, this);
    dialog.exec();
    EnsureDefaultAccountSet(registerDb());
    readRows();
}

void TF_Ztgl::btnDelClick()
{
    const AccountSetRow row = currentRow();
    if (row.id == 0)
        return;
    const QString refusal = AccountSetDeleteRefusal(row, m_state.CurrentAccountSetDb);
    if (!refusal.isEmpty()) {
        m_notices.notice(refusal);
        return;
    }
    if (m_notices.ask(QStringLiteral("删除帐套后，该帐套所包含的数据也将一起被删除，\r\n\r\n确定要删除所选的帐套信息吗？"))
        != Notices::Answer::Yes)
        return;
    const QString failed = DeleteAccountSet(m_settings, registerDb(), row);
    if (!failed.isEmpty())
        m_notices.notice(failed);
    readRows();
}

void TF_Ztgl::backupClick()
{
    const AccountSetRow row = currentRow();
    if (row.id == 0)
        return;
    TF_Ztgl_BackUp dialog(m_settings, m_clock, m_state.UiFontSize, m_notices, m_files, row, false, this);
    dialog.exec();
}

void TF_Ztgl::restoreClick()
{
    const AccountSetRow row = currentRow();
    if (row.id == 0)
        return;
    const QString refusal = AccountSetRestoreRefusal(row, m_state.CurrentAccountSetDb);
    if (!refusal.isEmpty()) {
        m_notices.notice(refusal);
        return;
    }
    TF_Ztgl_Restore dialog(m_settings, m_clock, m_state.UiFontSize, m_notices, m_files, row, this);
    dialog.exec();
}
