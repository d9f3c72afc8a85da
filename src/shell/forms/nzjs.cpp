#include "shell/forms/nzjs.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/excel/gridexport.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *note(QWidget *parent, const QString &text, const char *colour = nullptr)
{
    auto *label = new QLabel(text, parent);
    if (colour)
        label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
    return label;
}

} // namespace

TF_Nzjs::TF_Nzjs(const ClosingContext &context, Notices &notices, FileChoice &files, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context), m_notices(notices), m_files(files)
{
    setObjectName(QStringLiteral("TF_Nzjs"));
    setWindowTitle(QStringLiteral("数据结算"));
    resize(720, 520);

    DateEdit1 = new DateEdit(this);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    lblWarning = note(this, QString(), "#d00000");
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(new QLabel(QStringLiteral("结算日期："), this));
    dateRow->addWidget(DateEdit1);
    dateRow->addWidget(lblWarning, 1);

    chkBackup = new QCheckBox(QStringLiteral("结算时备份数据库"), this);
    chkBackup->setObjectName(QStringLiteral("chkBackup"));
    chkBackup->setChecked(true);

    btnOK = NamedButton(this, "btnOK", QStringLiteral("确定结算"));
    btnExport = NamedButton(this, "btnExport", QStringLiteral("导出"));
    btnDel = NamedButton(this, "btnDel", QStringLiteral("删除"));
    btnExit = NamedButton(this, "btnExit", QStringLiteral("退出"));
    for (QPushButton *b : {btnOK, btnExport, btnDel, btnExit})
        b->setAutoDefault(false);

    grid = new DataGrid(this);
    grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_model = new SqlGridModel(m_context.data->mainDb());
    m_model->setColumns({HiddenColumn("id", ColumnKind::Integer), ListColumn("nj_jsrq", "结算日期", 100, ColumnKind::DateText),
                         ListColumn("nj_year", "年份", 100, ColumnKind::DateText), ListColumn("nj_xm", "结算项目", 170),
                         ListColumn("nj_ds", "单据数", 80, ColumnKind::Integer),
                         ListColumn("nj_sl", "数量", 100, ColumnKind::Quantity),
                         ListColumn("nj_je", "金额", 110, ColumnKind::Money)});
    grid->setModel(m_model);
    grid->setFooter(QStringLiteral("nj_jsrq"), FooterKind::TextCount, QStringLiteral("记录数："));
    grid->setFooter(QStringLiteral("nj_ds"), FooterKind::Sum);
    grid->setFooter(QStringLiteral("nj_sl"), FooterKind::Sum);
    grid->setFooter(QStringLiteral("nj_je"), FooterKind::Sum);
    const LoginState &state = *m_context.state;
    SetQtyColumnFormat(*grid, QStringLiteral("nj_sl"), state);
    SetMoneyColumnFormat(*grid, QStringLiteral("nj_je"), state);
    SetQtyFooterFormat(*grid, QStringLiteral("nj_sl"), state);
    SetMoneyFooterFormat(*grid, QStringLiteral("nj_je"), state);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(dateRow);
    layout->addWidget(chkBackup);
    layout->addWidget(note(this, QStringLiteral("数据结算前一定要备份数据库。结算日期(含)及之前的数据将被删除。"), "#d00000"));
    layout->addWidget(note(this, QStringLiteral("提示：结算时需要较长时间，请耐心等待。")));
    layout->addWidget(note(this, QStringLiteral("注：库存盘点项的数量为盘点数量，金额为库存数量。")));
    layout->addLayout(CommandBar({btnOK, btnExport, btnDel, btnExit}));
    layout->addWidget(grid, 1);

    connect(DateEdit1, &QDateEdit::dateChanged, this, &TF_Nzjs::showWarning);
    connect(btnOK, &QPushButton::clicked, this, &TF_Nzjs::btnOKClick);
    connect(btnExport, &QPushButton::clicked, this, &TF_Nzjs::btnExportClick);
    connect(btnDel, &QPushButton::clicked, this, &TF_Nzjs::btnDelClick);
    connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &ScreenDialog::opened, this, &TF_Nzjs::FormActivate);
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
}

void TF_Nzjs::FormActivate()
{
    btnOK->setEnabled(true);
    DateEdit1->setDate(DefaultClosingDate(m_context.clock->today()));
    showWarning();
    loadSummary();
}

void TF_Nzjs::showWarning()
{
    lblWarning->setText(ClosingWarningText(DateEdit1->date()));
}

void TF_Nzjs::loadSummary()
{
    const ListStatement s = ClosingSummaryStatement();
    m_model->setStatement(s.body, s.order, s.binds);
    grid->reload(ReloadTarget::KeepKey);
    grid->recomputeFooter();
}

void TF_Nzjs::btnOKClick()
{
    BusyGuard busy(btnOK);
    if (!busy.acquired())
        return;
    ClosingContext run = m_context;
    run.backup = chkBackup->isChecked();
    run.afterCommit = [this] { loadSummary(); };
    RunPeriodClosing(run, DateEdit1->date(), m_notices);
}

void TF_Nzjs::btnDelClick()
{
    if (grid->rowCount() == 0)
        return;
    if (m_notices.ask(QStringLiteral("您确定要删除当前选中的数据吗？")) != Notices::Answer::Yes)
        return;
    try {
        DeleteClosingSummaryRow(m_context.data->mainDb(), grid->currentValue(QStringLiteral("id")).toLongLong());
    } catch (const DbError &e) {
        m_notices.notice(e.text());
    }
    loadSummary();
}

void TF_Nzjs::btnExportClick()
{
    ExportGrid(*grid, m_files, m_notices, this);
}
