#include "shell/forms/admin.h"

#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "shell/forms/admin_add.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

TF_Admin::TF_Admin(const QSqlDatabase &db, const LoginState &state, Notices &notices, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_state(state), m_notices(notices)
{
    setObjectName(QStringLiteral("TF_Admin"));
    setWindowTitle(QStringLiteral("操作员设置"));
    resize(620, 420);

    const ListButtons list = MakeListButtons(this);
    btnAdd = list.add;
    btnModi = list.modify;
    btnDel = list.remove;
    btnExit = list.exit;
    QHBoxLayout *bar = CommandBar({btnAdd, btnModi, btnDel, btnExit});

    edKey = new QLineEdit(this);
    edKey->setObjectName(QStringLiteral("edKey"));
    InstallCharFilter(edKey, CharFilter::Standard);
    btnSearch = NamedButton(this, "btnSearch", QStringLiteral("查询(F2)"));
    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("请输入操作员的相关信息进行查询："), this));
    search->addWidget(edKey, 1);
    search->addWidget(btnSearch);

    grid = new DataGrid(this);
    grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_model = new SqlGridModel(m_db);
    m_model->setColumns({
        HiddenColumn("id", ColumnKind::Integer),
        GridColumn{QStringLiteral("a_sn"), QStringLiteral("编号"), 80},
        GridColumn{QStringLiteral("a_name"), QStringLiteral("用户名称"), 130},
        GridColumn{QStringLiteral("r_name"), QStringLiteral("所属角色"), 130},
        GridColumn{QStringLiteral("a_zreoje"), QStringLiteral("最多抹零金额"), 110, ColumnKind::Money,
                   QStringLiteral("￥,0.00;￥-,0.00")},
        GridColumn{QStringLiteral("a_jy"), QStringLiteral("停用"), 50, ColumnKind::Check},
        HiddenColumn("a_jyt", ColumnKind::Integer),
        HiddenColumn("r_sn"),
        HiddenColumn("a_pwd"),
        HiddenColumn("a_pos", ColumnKind::Check),
        HiddenColumn("a_fdmc"),
    });
    m_model->setKeyField(QStringLiteral("id"));
    grid->setModel(m_model);
    grid->setFooter(QStringLiteral("a_sn"), FooterKind::TextCount, QStringLiteral("数量："));

    popup = new QMenu(this);
    actAdd = popup->addAction(QStringLiteral("增加(&V)"), this, &TF_Admin::btnAddClick);
    actModi = popup->addAction(QStringLiteral("修改(&W)"), this, &TF_Admin::btnModiClick);
    actDel = popup->addAction(QStringLiteral("删除(&X)"), this, &TF_Admin::btnDelClick);
    popup->addSeparator();
    actCopy = popup->addAction(QStringLiteral("复制操作员(&Y)"), this, &TF_Admin::copyOperator);
    actPaste = popup->addAction(QStringLiteral("粘贴操作员(&Z)"), this, &TF_Admin::pasteOperator);
    grid->setPopupMenu(popup, [this](QMenu *) { actPaste->setEnabled(m_copy.copied); });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(search);
    layout->addWidget(grid, 1);

    ConnectListButtons(this, list, grid, [this] { btnAddClick(); }, [this] { btnModiClick(); },
                       [this] { btnDelClick(); });
    connect(btnSearch, &QPushButton::clicked, this, &TF_Admin::btnSearchClick);
    connect(this, &ScreenDialog::opened, this, &TF_Admin::FormActivate);
    keys()->bind(Qt::Key_F2, [this] { btnSearchClick(); });
    FormActivate();
}

void TF_Admin::FormActivate()
{
    m_copy = OperatorCopy();
    actPaste->setEnabled(false);
    readRows();
}

void TF_Admin::readRows()
{
    const ListStatement q = OperatorList(m_db, edKey->text());
    m_model->setStatement(q.body, q.order, q.binds);
    ReloadKeepingRow(grid);
}

qint64 TF_Admin::currentId() const
{
    return grid->rowCount() > 0 && grid->currentRow() >= 0 ? grid->currentValue(QStringLiteral("id")).toLongLong() : 0;
}

void TF_Admin::btnAddClick()
{
    TF_Admin_Add dialog(m_db, m_state, m_notices, 0, this);
    if (dialog.exec() == QDialog::Accepted) {
        readRows();
        grid->locate(QStringLiteral("a_name"), dialog.edName->text().trimmed());
    }
}

void TF_Admin::btnModiClick()
{
    const qint64 id = currentId();
    if (id <= 0)
        return;
    TF_Admin_Add dialog(m_db, m_state, m_notices, id, this);
    if (dialog.exec() == QDialog::Accepted)
        readRows();
}

void TF_Admin::btnDelClick()
{
    const qint64 id = currentId();
    if (id <= 0)
        return;
    const QString sn = grid->currentValue(QStringLiteral("a_sn")).toString();
    const QString refusal = OperatorDeleteRefusal(m_db, sn);
    if (!refusal.isEmpty()) {
        m_notices.notice(refusal);
        return;
    }
    if (m_notices.ask(QStringLiteral("您确定要删除当前操作员吗！")) != Notices::Answer::Yes)
        return;
    DeleteOperator(m_db, sn);
    readRows();
}

void TF_Admin::btnSearchClick()
{
    readRows();
}

void TF_Admin::copyOperator()
{
    const qint64 id = currentId();
    if (id <= 0)
        return;
    m_copy = CopyOperator(m_db, id);
    actPaste->setEnabled(m_copy.copied);
}

void TF_Admin::pasteOperator()
{
    if (!m_copy.copied)
        return;
    PasteOperator(m_db, m_copy);
    readRows();
}
