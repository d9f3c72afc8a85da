#include "masterdata/forms/khgl.h"

#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/partnerlistquery.h"
#include "masterdata/partnerrules.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "foundation/sanitize.h"
#include "screenkit/datagrid.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace {

inline constexpr const char *kMoneyFormat = "￥,0.00;-￥,0.00";

QString noteOf(PartnerKind kind)
{
    return kind == PartnerKind::Customer ? QStringLiteral("(被“禁用”的客户，做销售操作时将不再显示)")
                                         : QStringLiteral("(被“禁用”的供货商，做采购操作时将不再显示)");
}

QString keyLabelOf(PartnerKind kind)
{
    return kind == PartnerKind::Customer ? QStringLiteral("请输入客户的相关信息进行查询：")
                                         : QStringLiteral("请输入供货商的相关信息进行查询：");
}

}  // namespace

TF_PartnerList::TF_PartnerList(PartnerKind kind, const ScreenContext &context, QWidget *parent)
    : MasterListWindow(context, PartnerKindOf(kind).listClass, QString::fromUtf8(PartnerKindOf(kind).listCaption),
                       keyLabelOf(kind), noteOf(kind), parent),
      m_kind(kind)
{
    const PartnerKindInfo &k = PartnerKindOf(kind);
    const bool customers = kind == PartnerKind::Customer;
    addTool("btnAdd", QStringLiteral("增加"), [this] { addPartner(); });
    addTool("btnModi", QStringLiteral("修改"), [this] { modifyPartner(); });
    addTool("btnDel", QStringLiteral("删除"), [this] { deletePartner(); });
    addTool("btnSearch", QStringLiteral("查找"), [this] { findPartners(); });
    addTool("btnPrint", QStringLiteral("打印"), [this] { printList(); });
    addTool("btnExport", QStringLiteral("导出"), [this] { exportRows(); });
    addTool("btnImport", QStringLiteral("导入"), [this, k] {
        openRegistered(QString::fromLatin1(k.importClass),
                       m_kind == PartnerKind::Customer ? QStringLiteral("导入客户信息") : QStringLiteral("导入供货商信息"));
    });
    if (!customers)
        addTool("btnCopy", QStringLiteral("复制"),
                [this] { openRegistered(QStringLiteral("TF_Ghsgl_Copy"), QStringLiteral("复制客户资料到供货商信息")); });
    addTool("btnExit", QStringLiteral("退出"), [this] { reject(); });

    addItem(QStringLiteral("增加(&S)"), [this] { addPartner(); });
    addItem(QStringLiteral("修改(&T)"), [this] { modifyPartner(); });
    addItem(QStringLiteral("删除(&U)"), [this] { deletePartner(); });
    m_disable = addItem(QStringLiteral("禁用(&V)"), [this] { toggleDisabled(); });
    m_disable->setCheckable(true);
    addItem(QStringLiteral("查找(&X)"), [this] { findPartners(); });
    addItem(QStringLiteral("全部(&Y)"), [this] { showAll(); });
    addItem(QStringLiteral("打印(&Z)"), [this] { printList(); });
    addItem(QStringLiteral("修改简码(&W)"), [this] { changeShortCode(); });
    finishPopup([this](QMenu *) {
        m_disable->setChecked(hasRows() && m_grid->currentValue(column("forbid")).toBool());
    });

    QList<GridColumn> columns{
        MasterColumn(qPrintable(column("sn")), "编号", 70),
        MasterColumn(qPrintable(column("name")), customers ? "客户名称" : "供货商名称", 150),
        MasterColumn(qPrintable(column("lxr")), "联系人", 70),
        MasterColumn(qPrintable(column("tele")), "联系电话", 110),
        customers ? MasterColumn("ktname", "客户类型", 70) : MasterColumn("gt_name", "供货商类型", 80),
        MasterColumn("z_name", "所属地区", 70),
        MasterColumn(qPrintable(column("lwje")), customers ? "我方应收金额" : "我方应付金额", 100, ColumnKind::Money,
                     QString::fromUtf8(kMoneyFormat)),
        MasterColumn(qPrintable(column("address")), "联系地址", 150),
        MasterColumn(qPrintable(column("default")), customers ? "默认客户" : "默认供货商", 60, ColumnKind::Check),
        MasterColumn(qPrintable(column("forbid")), "禁用", 40, ColumnKind::Check),
        MasterColumn(qPrintable(column("jm")), "简码", 70),
        MasterColumn(qPrintable(column("note")), "备注", 120)};
    if (customers)
        columns << MasterColumn("kh_uname", "业务员", 100);
    columns << MasterColumn("ck_name", "所属仓库", 80);
    for (const char *hidden : customers ? std::initializer_list<const char *>{"id", "kh_usn", "kt_sn", "kt_name"}
                                        : std::initializer_list<const char *>{"id", "ghs_pl"}) {
        GridColumn c = MasterColumn(hidden, hidden, 40,
                                    QLatin1String(hidden) == QLatin1String("id") ? ColumnKind::Integer : ColumnKind::Text);
        c.visible = false;
        columns << c;
    }
    setColumns(columns);
    m_grid->setFooter(column("sn"), FooterKind::Text, QStringLiteral("记录数"));
    m_grid->setFooter(column("name"), FooterKind::Count);

    connect(m_grid, &DataGrid::rowActivated, this, [this] { modifyPartner(); });
    connect(this, &ScreenDialog::opened, this, &TF_PartnerList::activate);
}

QString TF_PartnerList::column(const char *suffix) const { return PartnerKindOf(m_kind).column(suffix); }

ListStatement TF_PartnerList::statement() const
{
    return PartnerListStatement(m_context.data->mainDb(), *m_context.state, m_kind);
}

SearchCriteria TF_PartnerList::keywordCriteria(const QString &key) const
{
    return PartnerKeywordCriteria(m_kind, key);
}

void TF_PartnerList::activate()
{
    m_grid->setColumnGated(QStringLiteral("ck_name"), !IsTrue(m_context.state->BindPartnersToWarehouse));
    load();
}

void TF_PartnerList::addPartner()
{
    const PartnerKindInfo &k = PartnerKindOf(m_kind);
    auto d = create(QString::fromLatin1(k.addClass), QString::fromUtf8(k.addCaption));
    d->exec();
    const QString code = d->property(handoff::PartnerCode).toString();
    load();
    positionOn(column("sn"), code);
}

void TF_PartnerList::modifyPartner()
{
    if (!hasRows())
        return;
    const PartnerKindInfo &k = PartnerKindOf(m_kind);
    const qint64 id = currentId();
    auto d = create(QString::fromLatin1(k.modifyClass), QString::fromUtf8(k.modifyCaption));
    d->setProperty(handoff::PartnerId, id);
    d->exec();
    load();
    positionOn(QStringLiteral("id"), id);
}

void TF_PartnerList::deletePartner()
{
    if (!hasRows())
        return;
    PartnerRules rules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices, m_kind);
    if (rules.remove(currentId()))
        load();
}

void TF_PartnerList::findPartners()
{
    const PartnerKindInfo &k = PartnerKindOf(m_kind);
    auto d = create(QString::fromLatin1(k.searchClass), QString::fromUtf8(k.searchCaption));
    d->exec();
    const QVariant answer = d->property(handoff::Criteria);
    if (!answer.isValid())
        return;
    const SearchCriteria c = PartnerSearchCriteria(m_kind, PartnerSearchTexts::fromList(answer.toStringList()));
    if (c.isEmpty()) {
        showAll();
        return;
    }
    load(c);
}

void TF_PartnerList::toggleDisabled()
{
    if (!hasRows())
        return;
    PartnerRules rules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices, m_kind);
    if (rules.setDisabled(currentId(), m_disable->isChecked()))
        load();
}

void TF_PartnerList::changeShortCode()
{
    if (!hasRows())
        return;
    auto d = create(QStringLiteral("TF_Ghsgl_Jm"), QStringLiteral("修改简码"));
    d->setProperty(handoff::RecordName, m_grid->currentValue(column("name")).toString());
    d->setProperty(handoff::ShortCode, m_grid->currentValue(column("jm")).toString());
    d->exec();
    const QVariant text = d->property(handoff::NewShortCode);
    if (!text.isValid())
        return;
    PartnerRules rules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices, m_kind);
    if (rules.setShortCode(currentId(), text.toString()))
        load();
}

void TF_PartnerList::printList()
{
    printRows(m_kind == PartnerKind::Customer ? MasterList::Customers : MasterList::Suppliers);
}

void TF_PartnerList::openRegistered(const QString &screenClass, const QString &caption)
{
    auto d = create(screenClass, caption);
    d->exec();
    load();
}
