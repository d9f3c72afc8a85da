#include "masterdata/forms/ckgl.h"

#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/warehouserules.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"

#include <QLineEdit>

TF_Ckgl::TF_Ckgl(const ScreenContext &context, QWidget *parent)
    : MasterListWindow(context, "TF_Ckgl", QStringLiteral("仓库管理"), QStringLiteral("请输入仓库的相关信息进行查询："),
                       QString(), parent)
{
    addTool("btnAdd", QStringLiteral("增加"), [this] { addWarehouse(); });
    addTool("btnModi", QStringLiteral("修改"), [this] { modifyWarehouse(); });
    addTool("btnDel", QStringLiteral("删除"), [this] { deleteWarehouse(); });
    addTool("btnSearch", QStringLiteral("查找"), [this] { findWarehouses(); });
    addTool("btnPrint", QStringLiteral("打印"), [this] { printList(); });
    addTool("btnExit", QStringLiteral("退出"), [this] { reject(); });
    addItem(QStringLiteral("增加(&T)"), [this] { addWarehouse(); });
    addItem(QStringLiteral("修改(&V)"), [this] { modifyWarehouse(); });
    addItem(QStringLiteral("删除(&W)"), [this] { deleteWarehouse(); });
    addItem(QStringLiteral("查找(&X)"), [this] { findWarehouses(); });
    addItem(QStringLiteral("全部(&Y)"), [this] { showAll(); });
    addItem(QStringLiteral("打印(&Z)"), [this] { printList(); });
    finishPopup();
    setColumns({MasterColumn("ck_name", "仓库名称", 120), MasterColumn("ck_fzr", "负责人", 80),
                MasterColumn("ck_aname", "操作员", 120), MasterColumn("ck_tele", "联系电话", 100),
                MasterColumn("ck_address", "仓库地址", 150), MasterColumn("ck_default", "默认仓库", 60, ColumnKind::Check),
                MasterColumn("ck_sn", "仓库编号", 70), MasterColumn("ck_note", "备注", 120),
                HiddenColumn("id", ColumnKind::Integer), HiddenColumn("ck_jm"), HiddenColumn("ck_pos", ColumnKind::Check),
                HiddenColumn("ck_asn")});
    m_grid->model()->column(QStringLiteral("ck_pos")).caption = QStringLiteral("默认POS仓库");
    m_grid->setFooter(QStringLiteral("ck_name"), FooterKind::TextCount, QStringLiteral("合计:"));
    connect(m_grid, &DataGrid::rowActivated, this, [this] { modifyWarehouse(); });
    connect(this, &ScreenDialog::opened, this, &TF_Ckgl::activate);
}

ListStatement TF_Ckgl::statement() const { return WarehouseRules::statement(m_newestFirst); }

SearchCriteria TF_Ckgl::keywordCriteria(const QString &key) const { return WarehouseRules::keywordCriteria(key); }

void TF_Ckgl::activate()
{
    m_key->clear();
    searchKeyword();
}

void TF_Ckgl::searchKeyword()
{
    m_newestFirst = false;
    MasterListWindow::searchKeyword();
}

void TF_Ckgl::addWarehouse()
{
    auto d = create(QStringLiteral("TF_Ckgl_Add"), QStringLiteral("增加仓库"));
    d->exec();
    const QString code = d->property(handoff::WarehouseSn).toString();
    load();
    positionOn(QStringLiteral("ck_sn"), code);
}

void TF_Ckgl::modifyWarehouse()
{
    if (!hasRows())
        return;
    const QString code = m_grid->currentValue(QStringLiteral("ck_sn")).toString();
    auto d = create(QStringLiteral("TF_Ckgl_Modi"), QStringLiteral("修改仓库"));
    d->setProperty(handoff::WarehouseSn, code);
    d->exec();
    load();
    positionOn(QStringLiteral("ck_sn"), code);
}

void TF_Ckgl::deleteWarehouse()
{
    if (!hasRows())
        return;
    WarehouseRules rules(m_context.data->mainDb(), *m_context.notices);
    if (rules.remove(m_grid->currentValue(QStringLiteral("ck_sn")).toString()))
        load();
}

void TF_Ckgl::findWarehouses()
{
    auto d = create(QStringLiteral("TF_Ckgl_Search"), QStringLiteral("仓库查找"));
    d->exec();
    const QVariant answer = d->property(handoff::Criteria);
    if (!answer.isValid())
        return;
    const QStringList t = answer.toStringList();
    WarehouseSearchTexts texts;
    QString *fields[] = {&texts.name, &texts.keeper, &texts.telephone, &texts.address};
    for (int i = 0; i < 4 && i < t.size(); ++i)
        *fields[i] = t.at(i);
    m_key->clear();
    m_newestFirst = true;
    load(WarehouseRules::searchCriteria(texts));
}
