#include "shell/forms/viewlog.h"

#include "foundation/db/clock.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "shell/logquery.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_ViewLog::TF_ViewLog(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                       QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
    setObjectName(QStringLiteral("TF_ViewLog"));
    setWindowTitle(QStringLiteral("查看日志"));
    resize(760, 500);

    btnExit = new QPushButton(QStringLiteral("退出"), this);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    btnClear = new QPushButton(QStringLiteral("清空"), this);
    btnClear->setObjectName(QStringLiteral("btnClear"));
    auto *bar = new QHBoxLayout;
    bar->addWidget(btnExit);
    bar->addWidget(btnClear);
    bar->addStretch();

    dates = new DateRangeBar(m_clock, false, this);
    dates->setObjectName(QStringLiteral("dates"));
    btnSearch = new QPushButton(QStringLiteral("查询"), this);
    btnSearch->setObjectName(QStringLiteral("btnSearch"));
    auto *period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("日志记录的时间段："), this));
    period->addWidget(dates);
    period->addWidget(btnSearch);
    period->addStretch();

    edKey = new QLineEdit(this);
    edKey->setObjectName(QStringLiteral("edKey"));
    edKey->setPlaceholderText(QStringLiteral("回车键开始查询"));
    InstallCharFilter(edKey, CharFilter::Standard);
    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("输入日志记录的相关内容进行查询："), this));
    search->addWidget(edKey, 1);

    grid = new DataGrid(this);
    grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_model = new SqlGridModel(m_db);
    GridColumn id{QStringLiteral("id"), QStringLiteral("id"), 40, ColumnKind::Integer};
    id.visible = false;
    m_model->setColumns({id, GridColumn{QStringLiteral("log_time"), QStringLiteral("日志日期"), 150},
                         GridColumn{QStringLiteral("a_name"), QStringLiteral("操作员"), 100},
                         GridColumn{QStringLiteral("log_note"), QStringLiteral("日志内容"), 440}});
    grid->setModel(m_model);
    grid->setFooter(QStringLiteral("log_time"), FooterKind::TextCount, QStringLiteral("记录数："));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(period);
    layout->addLayout(search);
    layout->addWidget(grid, 1);

    connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnClear, &QPushButton::clicked, this, &TF_ViewLog::btnClearClick);
    connect(btnSearch, &QPushButton::clicked, this, &TF_ViewLog::btnSearchClick);
    connect(dates, &DateRangeBar::periodChosen, this, &TF_ViewLog::btnSearchClick);
    connect(edKey, &QLineEdit::returnPressed, this, &TF_ViewLog::btnSearchClick);
    connect(this, &ScreenDialog::opened, this, &TF_ViewLog::FormActivate);
    keys()->addEnterOwner(edKey);
    keys()->bind(Qt::Key_F2, [this] { btnSearchClick(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    FormActivate();
}

void TF_ViewLog::FormActivate()
{
    btnClear->setVisible(HasRight(m_db, m_state, QStringLiteral("qtcz"), 11));
    const QDate today = m_clock.today();
    dates->startEdit()->setDate(QDate(today.year(), today.month(), 1));
    dates->endEdit()->setDate(today);
    edKey->clear();
    btnSearchClick();
}

void TF_ViewLog::btnSearchClick()
{
    const LogQuery q = LogSearch(m_db, dates->startEdit()->dateText(), dates->endEdit()->dateText(), edKey->text());
    m_model->setStatement(q.body, q.order, q.binds);
    grid->reload(ReloadTarget::First);
    grid->recomputeFooter();
}

void TF_ViewLog::btnClearClick()
{
    if (!HasRight(m_db, m_state, QStringLiteral("qtcz"), 11)) {
        m_notices.notice(QStringLiteral("您没有权限进行清除日志！"));
        return;
    }
    if (grid->rowCount() == 0)
        return;
    if (m_notices.ask(QStringLiteral("将清除所有日志，并不能恢复，确认清除吗？")) == Notices::Answer::No)
        return;
    ClearLog(m_db);
    btnSearchClick();
}
