#include "purchasing/forms/supplierpanel.h"

#include "foundation/partnerlists.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/partnergridmodel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

GridColumn Column(const char *field, const char *caption, int width, bool visible = true)
{
    GridColumn c = ListColumn(field, caption, width);
    c.visible = visible;
    return c;
}

} // namespace

QList<GridColumn> SupplierChooserColumns(bool typeShown)
{
    return {Column("ghs_sn", "编号", 70),           Column("ghs_name", "供货商名称", 160),
            Column("ghs_lxr", "联系人", 70),        Column("ghs_tele", "联系电话", 100),
            Column("ghs_address", "联系地址", 160), Column("gt_name", "供货商类型", 80, typeShown),
            Column("z_name", "所属地区", 80, false), Column("ghs_lwje", "我方应付金额", 90, false),
            Column("ghs_default", "默认供货商", 60, false), Column("ghs_forbid", "禁用", 50, false),
            Column("ghs_note", "备注", 120, false), Column("ghs_jm", "ghs_jm", 60, false),
            Column("ghs_pl", "ghs_pl", 60, false),  Column("id", "id", 40, false)};
}

ChooserPanel *NewSupplierChooser(ChooserOptions options, const PartnerList &suppliers, int uiFontSize, QWidget *parent)
{
    options.codeField = QStringLiteral("ghs_sn");
    options.nameField = QStringLiteral("ghs_name");
    if (options.searchFields.isEmpty())
        options.searchFields = {QStringLiteral("ghs_name"), QStringLiteral("ghs_jm"), QStringLiteral("ghs_sn"),
                                QStringLiteral("ghs_tele"), QStringLiteral("ghs_address")};
    auto *panel = new ChooserPanel(options, uiFontSize, parent);
    GridModel *model = NewPartnerGridModel(suppliers, SupplierChooserColumns(), panel);
    model->setKeyField(QStringLiteral("ghs_sn"));
    panel->setModel(model);
    panel->grid()->setFooter(QStringLiteral("ghs_sn"), FooterKind::Count);
    panel->addButton()->hide();
    panel->modifyButton()->hide();
    return panel;
}

QString SupplierFilterText(const QString &boxText)
{
    const QString t = boxText.trimmed();
    if (t == QStringLiteral("全部供货商") || t == QStringLiteral("当前供货商"))
        return QString();
    return t;
}

SupplierFilterPanel::SupplierFilterPanel(QWidget *host, const PartnerList &suppliers, int uiFontSize)
    : QObject(host)
{
    ChooserOptions o;
    o.caption = QStringLiteral("选择供货商");
    o.allCaption = QStringLiteral("查询全部供货商");
    m_panel = NewSupplierChooser(o, suppliers, uiFontSize);
    m_panel->setObjectName(QStringLiteral("RzPanelGhsxx"));
    // The page's supplier box is the search box of this panel.
    m_panel->searchBox()->hide();
    m_panel->searchLabel()->hide();
    m_panel->embed(host);
    connect(m_panel, &QDialog::accepted, this, [this] {
        // "查询全部供货商": the pending page's box and search, whichever page opened the panel.
        QLineEdit *box = m_panel->allChosen() ? m_allBox : m_target;
        const std::function<void()> search = m_panel->allChosen() ? m_allSearch : m_search;
        if (!box)
            return;
        box->setText(m_panel->allChosen() ? QStringLiteral("全部供货商") : m_panel->chosenName());
        if (search)
            search();
    });
}

void SupplierFilterPanel::attach(QLineEdit *box, QAbstractButton *button, std::function<void()> search, bool typing)
{
    m_panel->addKeyOwner(box);
    if (button)
        connect(button, &QAbstractButton::clicked, this, [this, box, search] { open(box, search, QString()); });
    if (typing)
        connect(box, &QLineEdit::textEdited, this,
                [this, box, search](const QString &text) { open(box, search, SupplierFilterText(text)); });
}

void SupplierFilterPanel::setAllTarget(QLineEdit *box, std::function<void()> search)
{
    m_allBox = box;
    m_allSearch = std::move(search);
}

void SupplierFilterPanel::open(QLineEdit *box, std::function<void()> search, const QString &filter)
{
    m_target = box;
    m_search = std::move(search);
    m_panel->openBelow(box, filter);
}

bool SupplierFilterPanel::isOpen() const
{
    return m_panel->isVisible();
}

void SupplierFilterPanel::close()
{
    m_panel->hide();
}
