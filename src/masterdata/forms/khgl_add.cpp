#include "masterdata/forms/khgl_add.h"

#include "masterdata/bindinglistrules.h"
#include "masterdata/forms/listfilter.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/masterlist.h"
#include "masterdata/partnerrules.h"
#include "masterdata/partnertyperules.h"
#include "masterdata/zonerules.h"

#include "foundation/datamodule.h"
#include "foundation/forms/combofill.h"
#include "foundation/loginstate.h"
#include "foundation/sanitize.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *box(QWidget *parent, const char *name, int length)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(length);
    return e;
}

}  // namespace

TF_PartnerEdit::TF_PartnerEdit(PartnerKind kind, bool modify, const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context), m_kind(kind),
      m_modify(modify)
{
    const PartnerKindInfo &k = PartnerKindOf(kind);
    const bool customers = kind == PartnerKind::Customer;
    setObjectName(QString::fromLatin1(modify ? k.modifyClass : k.addClass));
    setWindowTitle(QString::fromUtf8(modify ? k.modifyCaption : k.addCaption));
    auto *outer = new QVBoxLayout(this);
    auto *form = new QGridLayout;
    outer->addLayout(form);
    auto label = [this](const char *text) { return new QLabel(QString::fromUtf8(text), this); };

    m_name = box(this, "tname", 128);
    form->addWidget(label(customers ? "客户名称：" : "供货商名称："), 0, 0);
    form->addWidget(m_name, 0, 1, 1, 3);

    m_type = new KeyedCombo(this);
    m_type->setObjectName(QStringLiteral("comType"));
    QPushButton *typeButton = NamedButton(this, "btnType", QStringLiteral("..."));
    typeButton->setFixedWidth(28);
    auto *typeRow = new QHBoxLayout;
    typeRow->addWidget(m_type, 1);
    typeRow->addWidget(typeButton);
    form->addWidget(label(customers ? "客户类型：" : "供货商类型："), 1, 0);
    form->addLayout(typeRow, 1, 1);

    m_region = box(this, "tzone", k.regionLength);
    m_region->setPlaceholderText(QStringLiteral("不存在的地区保存后会自动加入"));
    m_region->setToolTip(QStringLiteral("不存在的地区保存后会自动加入"));
    QPushButton *zoneButton = NamedButton(this, "btnZone", QStringLiteral("..."));
    zoneButton->setFixedWidth(28);
    auto *zoneRow = new QHBoxLayout;
    zoneRow->addWidget(m_region, 1);
    zoneRow->addWidget(zoneButton);
    form->addWidget(label("所属地区："), 1, 2);
    form->addLayout(zoneRow, 1, 3);

    m_contact = box(this, "tlxr", k.contactLength);
    m_tele = box(this, "ttele", 32);
    if (customers) {
        form->addWidget(label("联系人："), 2, 0);
        form->addWidget(m_contact, 2, 1);
        form->addWidget(label("联系电话："), 2, 2);
        form->addWidget(m_tele, 2, 3);
    } else {
        form->addWidget(label("联系电话："), 2, 0);
        form->addWidget(m_tele, 2, 1);
        form->addWidget(label("联系人："), 2, 2);
        form->addWidget(m_contact, 2, 3);
    }

    m_opening = new MoneyEdit(this);
    m_opening->setObjectName(QStringLiteral("tqc"));
    m_opening->setDecimals(2);
    m_opening->setMaxLength(10);
    m_opening->setDisplayFormat(QStringLiteral("0.00;-0.00"));
    m_default = new QCheckBox(customers ? QStringLiteral("默认客户") : QStringLiteral("默认供货商"), this);
    m_default->setObjectName(QStringLiteral("chkDefault"));
    m_forbid = new QCheckBox(QStringLiteral("禁用"), this);
    m_forbid->setObjectName(QStringLiteral("chkForbid"));
    form->addWidget(label(customers ? "期初应收：" : "期初应付："), 3, 0);
    form->addWidget(m_opening, 3, 1);
    auto *checks = new QHBoxLayout;
    checks->addWidget(m_default);
    checks->addWidget(m_forbid);
    checks->addStretch();
    form->addLayout(checks, 3, 2, 1, 2);

    m_address = box(this, "taddress", 128);
    form->addWidget(label("联系地址："), 4, 0);
    form->addWidget(m_address, 4, 1, 1, 3);
    m_note = box(this, "tnote", 200);
    form->addWidget(label("备        注："), 5, 0);
    form->addWidget(m_note, 5, 1, 1, 3);

    int row = 6;
    if (customers) {
        m_salesmen = new CheckTree(this);
        m_salesmen->setObjectName(QStringLiteral("treeUser"));
        m_salesmen->setMinimumHeight(110);
        form->addWidget(label("所属业务员："), row, 0, Qt::AlignTop);
        form->addWidget(m_salesmen, row, 1, 1, 3);
        ++row;
    }
    m_warehouse = new KeyedCombo(this);
    m_warehouse->setObjectName(QStringLiteral("comCk"));
    m_warehouseLabel = label("绑定仓库：");
    form->addWidget(m_warehouseLabel, row, 0);
    form->addWidget(m_warehouse, row, 1);
    ++row;

    auto *note = new QLabel(
        customers ? QStringLiteral("(新增此客户时,如果此客户目前欠我方的货款金额,可以在往来帐款\n中的应收款功能输入期初金额.)")
                  : QStringLiteral("(期初应付:新增此供应商时,我方目前欠此供应商的货款金额.\n可以在往来帐款的应付款功能中输入期初金额.)"),
        this);
    note->setObjectName(QStringLiteral("LabelNote"));
    note->setStyleSheet(QStringLiteral("color: red;"));
    form->addWidget(note, row, 0, 1, 4);

    // The region panel.
    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("PanelZone"));
    m_panel->setFrameShape(QFrame::Box);
    auto *pl = new QVBoxLayout(m_panel);
    m_zoneGrid = new DataGrid(m_panel);
    m_zoneGrid->setObjectName(QStringLiteral("DBGridZone"));
    m_zoneModel = new SqlGridModel(m_context.data->mainDb(), m_zoneGrid);
    m_zoneModel->setColumns({MasterColumn("z_sn", "编号", 70), MasterColumn("z_name", "所属地区", 120),
                             MasterColumn("z_jm", "简码", 70), HiddenColumn("id", ColumnKind::Integer)});
    m_zoneGrid->setModel(m_zoneModel);
    m_zoneGrid->setMinimumHeight(150);
    pl->addWidget(m_zoneGrid, 1);
    auto *panelButtons = new QHBoxLayout;
    QPushButton *zoneAdd = NamedButton(m_panel, "btnZoneAdd", QStringLiteral("添加(F8)"));
    QPushButton *zoneOk = NamedButton(m_panel, "btnZoneOk", QStringLiteral("确定(F5)"));
    QPushButton *zoneExit = NamedButton(m_panel, "btnZoneExit", QStringLiteral("退出(Esc)"));
    panelButtons->addStretch();
    for (QPushButton *b : {zoneAdd, zoneOk, zoneExit})
        panelButtons->addWidget(b);
    pl->addLayout(panelButtons);
    m_panel->hide();
    outer->addWidget(m_panel);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton *ok = NamedButton(this, "btnOK", QStringLiteral("确定(F5)"));
    QPushButton *cancel = NamedButton(this, "btnCancel", QStringLiteral("取消(Esc)"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    outer->addLayout(buttons);

    for (QLineEdit *e : {m_name, m_region, m_contact, m_tele, m_address, m_note})
        InstallCharFilter(e, CharFilter::Standard);
    keys()->setEnterMovesFocus(true);
    keys()->addEnterOwner(m_region);
    keys()->bind(Qt::Key_F5, [this] { f5(); });
    keys()->bind(Qt::Key_Escape, [this] { escape(); });
    if (customers)
        keys()->bind(Qt::Key_F8, [this] {
            if (m_panel->isVisible())
                addRegion();
        });
    connect(ok, &QPushButton::clicked, this, &TF_PartnerEdit::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(typeButton, &QPushButton::clicked, this, &TF_PartnerEdit::openTypes);
    connect(zoneButton, &QPushButton::clicked, this, &TF_PartnerEdit::showRegionPanel);
    connect(zoneAdd, &QPushButton::clicked, this, &TF_PartnerEdit::addRegion);
    connect(zoneOk, &QPushButton::clicked, this, &TF_PartnerEdit::takeRegion);
    connect(zoneExit, &QPushButton::clicked, m_panel, &QWidget::hide);
    connect(m_zoneGrid, &DataGrid::rowActivated, this, &TF_PartnerEdit::takeRegion);
    connect(m_region, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_zoneGrid->setFilter(ListFilter(ZoneRules::keyCriteria(text)));
    });
    connect(this, &ScreenDialog::opened, this, &TF_PartnerEdit::activate);
}

void TF_PartnerEdit::f5()
{
    if (m_kind == PartnerKind::Customer && m_panel->isVisible())
        takeRegion();
    else
        save();
}

void TF_PartnerEdit::escape()
{
    if (m_kind == PartnerKind::Customer && m_panel->isVisible())
        m_panel->hide();
    else
        reject();
}

void TF_PartnerEdit::fillTypes(const QString &selectKey)
{
    PartnerTypeRules types(m_context.data->mainDb(), *m_context.notices);
    if (m_kind == PartnerKind::Customer) {
        FillKeyedCombo(m_type, types.customerTypeItems(), true);
        if (!selectKey.isEmpty())
            m_type->selectKey(selectKey);
        return;
    }
    m_type->clear();
    for (const QString &t : types.supplierTypeTexts())
        m_type->addKeyed(t, t);
    m_type->setCurrentIndex(m_type->findText(selectKey));
}

void TF_PartnerEdit::activate()
{
    const QSqlDatabase db = m_context.data->mainDb();
    const LoginState &state = *m_context.state;
    PartnerRules rules(db, state, *m_context.clock, *m_context.notices, m_kind);
    m_panel->hide();
    const ListStatement zones = ZoneRules(db, *m_context.notices).statement();
    m_zoneModel->setStatement(zones.body, zones.order, zones.binds);
    m_zoneGrid->reload(ReloadTarget::First);

    const BindingList binding = WarehouseBindingList(db, state);
    FillKeyedCombo(m_warehouse, binding.items);
    m_warehouse->setCurrentIndex(binding.items.isEmpty() ? -1 : binding.chosen);
    const bool bindingShown = IsTrue(state.BindPartnersToWarehouse);
    m_warehouse->setVisible(bindingShown);
    m_warehouseLabel->setVisible(bindingShown);

    if (m_salesmen) {
        m_salesmen->clear();
        QTreeWidgetItem *root = m_salesmen->addRoot(QStringLiteral("选择业务员"));
        for (const KeyedItem &e : rules.employees())
            m_salesmen->addChild(root, e.text, e.key);
        m_salesmen->expandAll();
    }
    if (m_modify) {
        loadRecord();
    } else {
        fillTypes(QString());
        m_opening->setValue(0);
        m_opening->setEnabled(true);
    }
    m_name->setFocus();
}

void TF_PartnerEdit::loadRecord()
{
    const PartnerKindInfo &k = PartnerKindOf(m_kind);
    PartnerRules rules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices, m_kind);
    m_id = property(handoff::PartnerId).toLongLong();
    const QVariantMap r = rules.record(m_id);
    auto text = [&](const QString &c) { return r.value(c).toString(); };
    m_code = text(k.column("sn"));
    m_name->setText(text(k.column("name")));
    m_contact->setText(text(k.column("lxr")));
    m_tele->setText(text(k.column("tele")));
    m_address->setText(text(k.column("address")));
    m_note->setText(text(k.column("note")));
    m_opening->setValue(text(k.column("lwje")).toDouble());
    m_region->setText(text(QStringLiteral("z_name")));
    m_default->setChecked(text(k.column("default")) == QLatin1String("1"));
    m_forbid->setChecked(text(k.column("forbid")) == QLatin1String("1"));
    const bool builtIn = m_code == QLatin1String(kBuiltInSn);
    if (m_kind == PartnerKind::Customer) {
        fillTypes(text(QStringLiteral("kt_sn")));
        m_type->setEnabled(!builtIn);
        const QList<QTreeWidgetItem *> children = m_salesmen->children();
        KeyedItems items;
        for (QTreeWidgetItem *c : children)
            items << KeyedItem{c->text(0), c->data(0, Qt::UserRole).toString()};
        m_salesmen->setChildStates(TickedChildren(items, text(QStringLiteral("kh_uname")), text(QStringLiteral("kh_usn"))));
    } else {
        m_storedType = text(QStringLiteral("gt_name"));
        fillTypes(m_storedType);
    }
    // A binding the list does not offer stays as stored unless the operator picks an item.
    m_warehouse->setCurrentIndex(-1);
    m_warehouse->selectKey(text(QStringLiteral("ck_sn")));
    m_warehouse->setEnabled(!builtIn);
    m_opening->setEnabled(rules.openingEditable(m_code));
}

void TF_PartnerEdit::save()
{
    PartnerInput in;
    in.name = m_name->text();
    in.contact = m_contact->text();
    in.telephone = m_tele->text();
    in.address = m_address->text();
    in.note = m_note->text();
    in.region = m_region->text();
    in.opening = m_opening->value();
    in.openingEnabled = m_opening->isEnabled();
    in.isDefault = m_default->isChecked();
    in.disabled = m_forbid->isChecked();
    if (m_kind == PartnerKind::Customer) {
        in.typeKey = m_type->currentKey();
        for (QTreeWidgetItem *c : m_salesmen->children())
            if (c->checkState(0) == Qt::Checked)
                in.salesmen << KeyedItem{c->text(0), c->data(0, Qt::UserRole).toString()};
    } else {
        in.typeName = m_type->currentIndex() >= 0 ? m_type->currentText() : m_storedType;
    }
    if (m_warehouse->currentIndex() >= 0) {
        in.warehouseSn = m_warehouse->currentKey();
        in.warehouseName = m_warehouse->currentText();
    }
    PartnerRules rules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices, m_kind);
    const RecordSaveResult r = m_modify ? rules.modify(m_id, in) : rules.add(in);
    if (!r.saved())
        return;
    setProperty(handoff::PartnerCode, r.code);
    accept();
}

void TF_PartnerEdit::openTypes()
{
    const PartnerKindInfo &k = PartnerKindOf(m_kind);
    const bool customers = m_kind == PartnerKind::Customer;
    std::unique_ptr<QDialog> d(m_context.registry->create(QString::fromLatin1(k.typeClass),
                                                          customers ? QStringLiteral("客户类型")
                                                                    : QStringLiteral("基本资料设置"),
                                                          m_context, this));
    d->setProperty(handoff::CallerTag, QString::fromLatin1(m_modify ? k.modifyTag : k.addTag));
    d->exec();
    if (customers) {
        // Renamed types show at once; a chosen type is selected.
        const QVariant chosen = d->property(handoff::ChosenTypeKey);
        fillTypes(chosen.isValid() ? chosen.toString() : m_type->currentKey());
        return;
    }
    const QVariant chosen = d->property(handoff::ChosenType);
    if (chosen.isValid())
        fillTypes(chosen.toString());
}

void TF_PartnerEdit::showRegionPanel()
{
    m_zoneGrid->setFilter(ListFilter(ZoneRules::keyCriteria(m_region->text())));
    m_panel->show();
    m_zoneGrid->view()->setFocus();
}

void TF_PartnerEdit::takeRegion()
{
    if (m_zoneGrid->rowCount() > 0)
        m_region->setText(m_zoneGrid->currentValue(QStringLiteral("z_name")).toString());
    m_panel->hide();
    m_region->setFocus();
}

void TF_PartnerEdit::addRegion()
{
    const PartnerKindInfo &k = PartnerKindOf(m_kind);
    std::unique_ptr<QDialog> d(
        m_context.registry->create(QStringLiteral("TF_Zone"), QStringLiteral("基本资料设置"), m_context, this));
    d->setProperty(handoff::CallerTag, QString::fromLatin1(m_modify ? k.modifyTag : k.addTag));
    d->exec();
    ReloadKeepingRow(m_zoneGrid);
}
