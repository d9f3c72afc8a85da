#include "shell/forms/backup.h"

#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/dialogparts.h"
#include "screenkit/filechoice.h"
#include "shell/restore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

const char *const kBackupIntervalNote =
    "          自动进行备份的“时间间隔”是指软件持续运行的时间(即，每次打开\r到第一次关闭)。比如设置为“每隔1小时备份一次”，"
    "那么软件打开后开始\r计时，计够一个小时，就会自动备份一次数据。如果中间重新打开软件，\r将会重新从零开始计时。";

TF_Backup::TF_Backup(const BackupContext &context, Notices &notices, FileChoice &files,
                     std::function<void(int)> startTimer, std::function<void()> stopTimer, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context), m_notices(notices), m_files(files),
      m_startTimer(std::move(startTimer)), m_stopTimer(std::move(stopTimer))
{
    setObjectName(QStringLiteral("TF_Backup"));
    setWindowTitle(QStringLiteral("备份/恢复数据库"));
    resize(520, 330);

    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));

    // Page "备份数据".
    auto *backup = new QWidget(pages);
    edPath = new QLineEdit(backup);
    edPath->setObjectName(QStringLiteral("edPath"));
    edPath->setMaxLength(kBackupPathLength + 1);
    btnPath = new QPushButton(QStringLiteral("…"), backup);
    btnPath->setObjectName(QStringLiteral("btnPath"));
    pbBackup = new QProgressBar(backup);
    pbBackup->setObjectName(QStringLiteral("pbBackup"));
    pbBackup->setRange(0, 100);
    chkAuto = new QCheckBox(QStringLiteral("自动备份"), backup);
    chkAuto->setObjectName(QStringLiteral("chkAuto"));
    spHours = new QSpinBox(backup);
    spHours->setObjectName(QStringLiteral("spHours"));
    spHours->setRange(1, 24);
    cbDays = new QComboBox(backup);
    cbDays->setObjectName(QStringLiteral("cbDays"));
    cbDays->addItems(BackupDaysChoices());
    chkExit = new QCheckBox(QStringLiteral("系统退出时自动备份"), backup);
    chkExit->setObjectName(QStringLiteral("chkExit"));
    btnInfo = new QToolButton(backup);
    btnInfo->setObjectName(QStringLiteral("btnInfo"));
    btnInfo->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    btnInfo->setAutoRaise(true);

    auto *grid = new QGridLayout(backup);
    grid->addWidget(new QLabel(QStringLiteral("备份路径："), backup), 0, 0);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(edPath, 1);
    pathRow->addWidget(btnPath);
    grid->addLayout(pathRow, 0, 1, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("备份进度："), backup), 1, 0);
    grid->addWidget(pbBackup, 1, 1, 1, 4);
    auto *autoRow = new QHBoxLayout;
    autoRow->addWidget(chkAuto);
    autoRow->addWidget(new QLabel(QStringLiteral("每隔"), backup));
    autoRow->addWidget(spHours);
    autoRow->addWidget(new QLabel(QStringLiteral("小时备份一次"), backup));
    autoRow->addStretch();
    autoRow->addWidget(btnInfo);
    grid->addLayout(autoRow, 2, 0, 1, 5);
    auto *daysRow = new QHBoxLayout;
    daysRow->addWidget(new QLabel(QStringLiteral("保留最近："), backup));
    daysRow->addWidget(cbDays);
    daysRow->addWidget(new QLabel(QStringLiteral("天的备份"), backup));
    daysRow->addStretch();
    grid->addLayout(daysRow, 3, 0, 1, 5);
    grid->addWidget(chkExit, 4, 0, 1, 5);

    pnlInfo = new QFrame(backup);
    pnlInfo->setObjectName(QStringLiteral("pnlInfo"));
    pnlInfo->setFrameShape(QFrame::StyledPanel);
    pnlInfo->setAutoFillBackground(true);
    auto *infoLayout = new QVBoxLayout(pnlInfo);
    infoLayout->addWidget(new QLabel(QStringLiteral("说明："), pnlInfo));
    auto *note = new QLabel(QString::fromUtf8(kBackupIntervalNote).replace(QLatin1Char('\r'), QLatin1Char('\n')),
                            pnlInfo);
    note->setObjectName(QStringLiteral("lbNote"));
    note->setWordWrap(true);
    infoLayout->addWidget(note);
    btnInfoClose = new QPushButton(QStringLiteral("关闭(Esc)"), pnlInfo);
    btnInfoClose->setObjectName(QStringLiteral("btnInfoClose"));
    infoLayout->addWidget(btnInfoClose, 0, Qt::AlignRight);
    grid->addWidget(pnlInfo, 0, 0, 5, 5);
    pnlInfo->hide();
    pages->addTab(backup, QStringLiteral("备份数据"));

    // Page "恢复数据".
    auto *restore = new QWidget(pages);
    edFile = new QLineEdit(restore);
    edFile->setObjectName(QStringLiteral("edFile"));
    btnFile = new QPushButton(QStringLiteral("…"), restore);
    btnFile->setObjectName(QStringLiteral("btnFile"));
    pbRestore = new QProgressBar(restore);
    pbRestore->setObjectName(QStringLiteral("pbRestore"));
    pbRestore->setRange(0, 100);
    auto *rgrid = new QGridLayout(restore);
    rgrid->addWidget(new QLabel(QStringLiteral("恢复文件："), restore), 0, 0);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(edFile, 1);
    fileRow->addWidget(btnFile);
    rgrid->addLayout(fileRow, 0, 1);
    rgrid->addWidget(new QLabel(QStringLiteral("恢复进度："), restore), 1, 0);
    rgrid->addWidget(pbRestore, 1, 1);
    rgrid->setRowStretch(2, 1);
    pages->addTab(restore, QStringLiteral("恢复数据"));

    const ConfirmButtons confirm = AddConfirmButtons(this, QStringLiteral("确定(F5)"), "btnExit",
                                                     QStringLiteral("退出(Esc)"), [this] { btnOKClick(); },
                                                     [this] { escape(); });
    btnOK = confirm.ok;
    btnExit = confirm.close;
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addLayout(confirm.row);

    connect(chkAuto, &QCheckBox::toggled, spHours, &QWidget::setEnabled);
    connect(btnPath, &QPushButton::clicked, this, &TF_Backup::btnPathClick);
    connect(btnFile, &QPushButton::clicked, this, &TF_Backup::btnFileClick);
    connect(btnInfo, &QToolButton::clicked, this, [this] {
        pnlInfo->show();
        pnlInfo->raise();
    });
    connect(btnInfoClose, &QPushButton::clicked, pnlInfo, &QWidget::hide);
    connect(pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1) {
            edFile->clear();
            pbRestore->setValue(0);
        }
    });
    connect(this, &ScreenDialog::opened, this, &TF_Backup::FormActivate);
    FormActivate();
}

void TF_Backup::FormActivate()
{
    pages->setCurrentIndex(0);
    pnlInfo->hide();
    pbBackup->setValue(0);
    const BackupSettingsForm form = ReadBackupSettings(m_context.db);
    edPath->setText(form.folder);
    chkAuto->setChecked(form.autoBackup);
    chkExit->setChecked(form.onExit);
    spHours->setValue(form.hours);
    cbDays->setCurrentIndex(std::max(0, cbDays->findText(form.days)));
    spHours->setEnabled(form.autoBackup);
}

void TF_Backup::escape()
{
    if (pnlInfo->isVisible()) {
        pnlInfo->hide();
        return;
    }
    reject();
}

void TF_Backup::btnPathClick()
{
    const QString folder = m_files.folder(this, QStringLiteral("选择备份目录"), edPath->text());
    if (!folder.isEmpty())
        edPath->setText(folder);
}

void TF_Backup::btnFileClick()
{
    const QString file = m_files.openFileName(this, QStringLiteral("打开"), QStringLiteral("(*.dat) (*.dat);;(*.*) (*)"));
    if (!file.isEmpty())
        edFile->setText(file);
}

void TF_Backup::btnOKClick()
{
    if (pages->currentIndex() == 0)
        backupPage();
    else
        restorePage();
}

void TF_Backup::backupPage()
{
    BackupSettingsForm form;
    form.folder = edPath->text();
    form.autoBackup = chkAuto->isChecked();
    form.hours = spHours->value();
    form.days = cbDays->currentText();
    form.onExit = chkExit->isChecked();
    BusyGuard busy(btnOK);
    pbBackup->setValue(0);
    const BackupOutcome out = BackupFromSettings(m_context, form);
    if (out.settingsStored) {
        if (form.autoBackup) {
            if (m_startTimer)
                m_startTimer(form.hours);
        } else if (m_stopTimer) {
            m_stopTimer();
        }
    }
    if (out.ok)
        pbBackup->setValue(100);
    m_notices.notice(out.text);
}

void TF_Backup::restorePage()
{
    BusyGuard busy(btnOK);
    pbRestore->setValue(0);
    const BackupOutcome out = RestoreSetInUse(m_context, edFile->text());
    if (out.ok)
        pbRestore->setValue(100);
    m_notices.notice(out.text);
}
