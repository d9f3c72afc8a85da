#include "masterdata/forms/user2.h"

#include "masterdata/employeerules.h"
#include "masterdata/forms/listfilter.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/masterlist.h"
#include "masterdata/handlerchooserrules.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "foundation/rights.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_User2::TF_User2(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_User2"));
    setWindowTitle(QStringLiteral("选择经办人"));
    resize(720, 420);
    auto *layout = new QVBoxLayout(this);
    const KeyRow keyRow = MakeKeyRow(this, QStringLiteral("请输入员工信息查询："), QStringLiteral("查询"));
    m_key = keyRow.key;
    QPushButton *find = keyRow.find;
    layout->addLayout(keyRow.row);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new SqlGridModel(context.data->mainDb(), m_grid);
    m_model->setColumns({MasterColumn("u_name", "员工姓名", 90), MasterColumn("u_duty", "所任职务", 80),
                         MasterColumn("u_tc", "提成比例", 70, ColumnKind::Number, QStringLiteral("0.00%;-0.00%")),
                         MasterColumn("u_tele", "联系电话", 100), MasterColumn("u_address", "联系地址", 150),
                         MasterColumn("u_note", "备注", 120), HiddenColumn("id", ColumnKind::Integer),
                         HiddenColumn("u_sn"), HiddenColumn("u_jm"), HiddenColumn("u_cgpl", ColumnKind::Integer),
                         HiddenColumn("u_xspl", ColumnKind::Integer), HiddenColumn("u_cg", ColumnKind::Check),
                         HiddenColumn("u_xs", ColumnKind::Check), HiddenColumn("u_kc", ColumnKind::Check),
                         HiddenColumn("u_fdmc")});
    m_grid->setModel(m_model);
    m_grid->setFooter(QStringLiteral("u_name"), FooterKind::TextCount, QStringLiteral("合计人数："));
    layout->addWidget(m_grid, 1);

    m_add = NamedButton(this, "btnAdd", QStringLiteral("添加(F8)"));
    m_modify = NamedButton(this, "btnModi", QStringLiteral("修改(F9)"));
    QPushButton *ok = NamedButton(this, "btnOK", QStringLiteral("确定(F5)"));
    QPushButton *cancel = NamedButton(this, "btnCancel", QStringLiteral("取消(Esc)"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_modify);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(m_key, &QLineEdit::textChanged, this, &TF_User2::filter);
    connect(find, &QPushButton::clicked, this, &TF_User2::filter);
    connect(m_add, &QPushButton::clicked, this, &TF_User2::addEmployee);
    connect(m_modify, &QPushButton::clicked, this, &TF_User2::modifyEmployee);
    connect(ok, &QPushButton::clicked, this, &TF_User2::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &DataGrid::rowActivated, this, &TF_User2::confirm);
    keys()->bind(Qt::Key_F5, [this] { confirm(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    // The add and modify keys act only while their buttons show.
    keys()->bind(Qt::Key_F8, [this] {
        if (m_add->isVisibleTo(this))
            addEmployee();
    });
    keys()->bind(Qt::Key_F9, [this] {
        if (m_modify->isVisibleTo(this))
            modifyEmployee();
    });
    connect(this, &ScreenDialog::opened, this, &TF_User2::activate);
}

void TF_User2::activate()
{
    const bool may = HasRight(m_context.data->mainDb(), *m_context.state, QStringLiteral("qtcz"), 4);
    m_add->setVisible(may);
    m_modify->setVisible(may);
    load();
    m_key->setFocus();
}

void TF_User2::load()
{
    const ListStatement s =
        EmployeeRules(m_context.data->mainDb(), *m_context.state, *m_context.notices).statement(true);
    m_model->setStatement(s.body, s.order, s.binds);
    ReloadKeepingRow(m_grid);
}

void TF_User2::filter()
{
    m_grid->setFilter(ListFilter(EmployeeRules::keywordCriteria(m_key->text())));
}

void TF_User2::addEmployee()
{
    std::unique_ptr<QDialog> d(
        m_context.registry->create(QStringLiteral("TF_User_Add"), QStringLiteral("增加员工"), m_context, this));
    d->exec();
    const QString code = d->property(handoff::EmployeeCode).toString();
    load();
    if (!code.isEmpty())
        m_grid->locate(QStringLiteral("u_sn"), code);
}

void TF_User2::modifyEmployee()
{
    if (m_grid->rowCount() == 0)
        return;
    const qint64 id = m_grid->currentValue(QStringLiteral("id")).toLongLong();
    std::unique_ptr<QDialog> d(
        m_context.registry->create(QStringLiteral("TF_User_Modi"), QStringLiteral("修改员工"), m_context, this));
    d->setProperty(handoff::EmployeeId, id);
    d->exec();
    load();
    m_grid->locate(QStringLiteral("id"), id);
}

void TF_User2::confirm()
{
    // An empty grid answers nothing.
    if (m_grid->rowCount() == 0) {
        reject();
        return;
    }
    const HandlerAnswer a = HandlerChooserRules(m_context.data->mainDb(), *m_context.state)
                                .answer(property(handoff::CallerTag).toString(),
                                        m_grid->currentValue(QStringLiteral("u_name")).toString(),
                                        property(handoff::CustomerSn).toString());
    if (a.answered) {
        setProperty(handoff::HandlerItems, KeyedItemsProperty(a.items));
        setProperty(handoff::HandlerSelected, a.selected);
    }
    accept();
}
