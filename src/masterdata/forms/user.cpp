#include "masterdata/forms/user.h"

#include "masterdata/employeerules.h"
#include "masterdata/forms/masterdatascreens.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"

#include <QAction>
#include <QMenu>

TF_User::TF_User(const ScreenContext &context, QWidget *parent)
    : MasterListWindow(context, "TF_User", QStringLiteral("员工信息"), QStringLiteral("请输入员工的相关信息进行查询："),
                       QStringLiteral("(被“禁用”的员工，做业务时将不再显示)"), parent)
{
    addTool("btnAdd", QStringLiteral("增加"), [this] { addEmployee(); });
    addTool("btnModi", QStringLiteral("修改"), [this] { modifyEmployee(); });
    addTool("btnDel", QStringLiteral("删除"), [this] { deleteEmployee(); });
    addTool("btnPrint", QStringLiteral("打印"), [this] { printList(); });
    addTool("btnSearch", QStringLiteral("查找"), [this] { findEmployees(); });
    addTool("btnAll", QStringLiteral("全部"), [this] { showAll(); });
    addTool("btnExit", QStringLiteral("退出"), [this] { reject(); });
    addItem(QStringLiteral("增加(&T)"), [this] { addEmployee(); });
    addItem(QStringLiteral("修改(&U)"), [this] { modifyEmployee(); });
    addItem(QStringLiteral("删除(&V)"), [this] { deleteEmployee(); });
    addItem(QStringLiteral("查找(&X)"), [this] { findEmployees(); });
    addItem(QStringLiteral("全部(&Y)"), [this] { showAll(); });
    addItem(QStringLiteral("打印(&Z)"), [this] { printList(); });
    m_disable = addItem(QStringLiteral("禁用(&W)"), [this] { toggleDisabled(); });
    m_disable->setCheckable(true);
    finishPopup([this](QMenu *) { m_disable->setChecked(hasRows() && m_grid->currentValue(QStringLiteral("u_jy")).toBool()); });
    setColumns({MasterColumn("u_name", "员工姓名", 90), MasterColumn("u_duty", "所任职务", 80),
                MasterColumn("u_tc", "提成比例", 70, ColumnKind::Number, QStringLiteral("0.00%;-0.00%")),
                MasterColumn("u_tctxt", "提成方式", 90),
                MasterColumn("u_zdlr", "最低提成毛利", 90, ColumnKind::Number, QStringLiteral("0;-0")),
                MasterColumn("u_tele", "联系电话", 100), MasterColumn("u_address", "联系地址", 150),
                MasterColumn("u_jy", "禁用", 40, ColumnKind::Check), MasterColumn("u_note", "备注", 120),
                MasterColumn("ck_name", "所属仓库", 80), HiddenColumn("id", ColumnKind::Integer), HiddenColumn("u_sn"),
                HiddenColumn("u_jm"), HiddenColumn("u_cg", ColumnKind::Check), HiddenColumn("u_xs", ColumnKind::Check),
                HiddenColumn("u_kc", ColumnKind::Check)});
    m_grid->setFooter(QStringLiteral("u_name"), FooterKind::TextCount, QStringLiteral("合计人数："));
    connect(m_grid, &DataGrid::rowActivated, this, [this] { modifyEmployee(); });
    connect(this, &ScreenDialog::opened, this, &TF_User::activate);
}

ListStatement TF_User::statement() const
{
    return EmployeeRules(m_context.data->mainDb(), *m_context.state, *m_context.notices).statement();
}

SearchCriteria TF_User::keywordCriteria(const QString &key) const { return EmployeeRules::keywordCriteria(key); }

void TF_User::activate()
{
    m_grid->setColumnGated(QStringLiteral("ck_name"), !IsTrue(m_context.state->BindPartnersToWarehouse));
    load();
}

void TF_User::addEmployee()
{
    auto d = create(QStringLiteral("TF_User_Add"), QStringLiteral("增加员工"));
    d->exec();
    const QString code = d->property(handoff::EmployeeCode).toString();
    load();
    positionOn(QStringLiteral("u_sn"), code);
}

void TF_User::modifyEmployee()
{
    if (!hasRows())
        return;
    const qint64 id = currentId();
    auto d = create(QStringLiteral("TF_User_Modi"), QStringLiteral("修改员工"));
    d->setProperty(handoff::EmployeeId, id);
    d->exec();
    load();
    positionOn(QStringLiteral("id"), id);
}

void TF_User::deleteEmployee()
{
    if (!hasRows())
        return;
    if (EmployeeRules(m_context.data->mainDb(), *m_context.state, *m_context.notices).remove(currentId()))
        load();
}

void TF_User::findEmployees()
{
    auto d = create(QStringLiteral("TF_User_Search"), QStringLiteral("员工查询"));
    d->exec();
    const QVariant answer = d->property(handoff::Criteria);
    if (!answer.isValid())
        return;
    const QStringList t = answer.toStringList();
    EmployeeSearchTexts texts;
    QString *fields[] = {&texts.name, &texts.duty, &texts.telephone, &texts.address};
    for (int i = 0; i < 4 && i < t.size(); ++i)
        *fields[i] = t.at(i);
    load(EmployeeRules::searchCriteria(texts));
}

void TF_User::toggleDisabled()
{
    if (!hasRows())
        return;
    if (EmployeeRules(m_context.data->mainDb(), *m_context.state, *m_context.notices)
            .setDisabled(currentId(), m_disable->isChecked()))
        load();
}
