#include "shell/forms/ztgl_backup.h"

#include "foundation/notices.h"
#include "screenkit/dialogparts.h"
#include "screenkit/filechoice.h"
#include "shell/restore.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TF_Ztgl_BackUp::TF_Ztgl_BackUp(const ConnectionSettings &settings, const Clock &clock, int uiFontSize,
                               Notices &notices, FileChoice &files, const AccountSetRow &row, bool restore,
                               QWidget *parent)
    : ScreenDialog(uiFontSize, parent), m_settings(settings), m_clock(clock), m_notices(notices), m_files(files),
      m_row(row), m_restore(restore)
{
    setObjectName(restore ? QStringLiteral("TF_Ztgl_Restore") : QStringLiteral("TF_Ztgl_BackUp"));
    setWindowTitle(restore ? QStringLiteral("从备份文件恢复帐套数据") : QStringLiteral("帐套数据备份到文件"));
    resize(460, 230);

    auto *info = new QGroupBox(QStringLiteral("帐套信息"), this);
    lbName = new QLabel(row.name, info);
    lbName->setObjectName(QStringLiteral("lbName"));
    lbNote = new QLabel(row.note, info);
    lbNote->setObjectName(QStringLiteral("lbNote"));
    auto *infoForm = new QFormLayout(info);
    infoForm->addRow(QStringLiteral("帐套名称："), lbName);
    infoForm->addRow(QStringLiteral("备        注："), lbNote);

    edPath = new QLineEdit(this);
    edPath->setObjectName(QStringLiteral("edPath"));
    btnPath = new QPushButton(QStringLiteral("…"), this);
    btnPath->setObjectName(QStringLiteral("btnPath"));
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(edPath, 1);
    pathRow->addWidget(btnPath);
    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setRange(0, 100);
    progress->setValue(0);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("备份位置："), pathRow);
    form->addRow(QStringLiteral("备份进度："), progress);

    const ConfirmButtons confirm = AddConfirmButtons(this, QStringLiteral("确定(F5)"), "btnExit",
                                                     QStringLiteral("退出(Esc)"), [this] { btnOKClick(); });
    btnOK = confirm.ok;
    btnExit = confirm.close;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addLayout(form);
    layout->addLayout(confirm.row);

    connect(btnPath, &QPushButton::clicked, this, &TF_Ztgl_BackUp::btnPathClick);
}

void TF_Ztgl_BackUp::btnPathClick()
{
    const QString chosen = m_restore ? m_files.openFileName(this, QStringLiteral("打开"), QString())
                                     : m_files.folder(this, QStringLiteral("选择备份目录"), edPath->text());
    if (!chosen.isEmpty())
        edPath->setText(chosen);
}

void TF_Ztgl_BackUp::btnOKClick()
{
    const QString path = edPath->text().trimmed();
    if (path.isEmpty()) {
        m_notices.notice(m_restore ? QStringLiteral("恢复路径必须填写！") : QStringLiteral("备份路径必须填写！"));
        return;
    }
    BusyGuard busy(btnOK);
    progress->setValue(0);
    const BackupOutcome out = m_restore ? RestoreAccountSet(m_settings, m_row.dbname, path)
                                        : BackupAccountSetTo(m_settings, m_clock, m_row.dbname, m_row.name, path);
    if (out.ok)
        progress->setValue(100);
    m_notices.notice(out.text);
    if (out.ok)
        accept();
}
