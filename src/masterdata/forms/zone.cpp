#include "masterdata/forms/zone.h"

#include "masterdata/forms/listfilter.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/masterlist.h"
#include "masterdata/partnertyperules.h"
#include "masterdata/zonerules.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TF_BasicList::TF_BasicList(BasicListKind kind, const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context), m_kind(kind)
{
    const bool types = kind == BasicListKind::SupplierTypes;
    setObjectName(types ? QStringLiteral("TF_Ghsgl_Type") : QStringLiteral("TF_Zone"));
    setWindowTitle(QStringLiteral("基本资料设置"));
    resize(460, 420);
    auto *outer = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    auto *page = new QWidget(tabs);
    tabs->addTab(page, types ? QStringLiteral("供货商类型设置") : QStringLiteral("所属地区设置"));
    outer->addWidget(tabs);
    auto *layout = new QVBoxLayout(page);

    if (!types) {
        auto *keyRow = new QHBoxLayout;
        keyRow->addWidget(new QLabel(QStringLiteral("输入地区信息查询："), page));
        m_key = new QLineEdit(page);
        m_key->setObjectName(QStringLiteral("tkey"));
        keyRow->addWidget(m_key, 1);
        layout->addLayout(keyRow);
        connect(m_key, &QLineEdit::textChanged, this,
                [this](const QString &text) { m_grid->setFilter(ListFilter(ZoneRules::keyCriteria(text))); });
    }
    m_grid = new DataGrid(page);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new SqlGridModel(context.data->mainDb(), m_grid);
    if (types)
        m_model->setColumns({MasterColumn("gt_sn", "编号", 80), MasterColumn("gt_name", "供货商类型", 160),
                             MasterColumn("gt_default", "默认选择", 70, ColumnKind::Check),
                             HiddenColumn("id", ColumnKind::Integer)});
    else
        m_model->setColumns({MasterColumn("z_sn", "编号", 80), MasterColumn("z_name", "所属地区", 140),
                             MasterColumn("z_jm", "简码", 80), MasterColumn("z_default", "默认选择", 70, ColumnKind::Check),
                             HiddenColumn("id", ColumnKind::Integer)});
    m_grid->setModel(m_model);
    layout->addWidget(m_grid, 1);

    m_panel = new QFrame(page);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFrameShape(QFrame::Box);
    auto *pl = new QHBoxLayout(m_panel);
    pl->addWidget(new QLabel(types ? QStringLiteral("供货商类型：") : QStringLiteral("所属地区："), m_panel));
    m_name = new QLineEdit(m_panel);
    m_name->setObjectName(QStringLiteral("tname"));
    m_name->setMaxLength(types ? 32 : 16);
    if (types)
        InstallCharFilter(m_name, CharFilter::Standard);
    pl->addWidget(m_name, 1);
    m_default = new QCheckBox(QStringLiteral("默认选择"), m_panel);
    m_default->setObjectName(QStringLiteral("chkDefault"));
    pl->addWidget(m_default);
    QPushButton *panelOk = NamedButton(m_panel, "btnPanelOk", QStringLiteral("确定"));
    QPushButton *panelExit = NamedButton(m_panel, "btnPanelExit", QStringLiteral("退出"));
    pl->addWidget(panelOk);
    pl->addWidget(panelExit);
    m_panel->hide();
    layout->addWidget(m_panel);

    m_add = NamedButton(page, "btnAdd", QStringLiteral("添加"));
    m_modify = NamedButton(page, "btnModi", QStringLiteral("修改"));
    QPushButton *del = NamedButton(page, "btnDel", QStringLiteral("删除"));
    QPushButton *exit = NamedButton(page, "btnExit", QStringLiteral("退出"));
    layout->addLayout(CommandBar({m_add, m_modify, del, exit}));

    connect(m_add, &QPushButton::clicked, this, &TF_BasicList::addRow);
    connect(m_modify, &QPushButton::clicked, this, &TF_BasicList::modifyRow);
    connect(del, &QPushButton::clicked, this, &TF_BasicList::deleteRow);
    connect(exit, &QPushButton::clicked, this, &TF_BasicList::quit);
    connect(panelOk, &QPushButton::clicked, this, &TF_BasicList::confirmPanel);
    connect(panelExit, &QPushButton::clicked, this, &TF_BasicList::hidePanel);
    connect(m_grid, &DataGrid::rowActivated, this, &TF_BasicList::modifyRow);
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(this, &ScreenDialog::opened, this, [this] {
        if (m_key)
            m_key->clear();
        load();
    });
}

QString TF_BasicList::codeField() const
{
    return m_kind == BasicListKind::SupplierTypes ? QStringLiteral("gt_sn") : QStringLiteral("z_sn");
}

QString TF_BasicList::nameField() const
{
    return m_kind == BasicListKind::SupplierTypes ? QStringLiteral("gt_name") : QStringLiteral("z_name");
}

void TF_BasicList::load()
{
    const ListStatement s = m_kind == BasicListKind::SupplierTypes
                                ? PartnerTypeRules(m_context.data->mainDb(), *m_context.notices).supplierTypeStatement()
                                : ZoneRules(m_context.data->mainDb(), *m_context.notices).statement();
    m_model->setStatement(s.body, s.order, s.binds);
    ReloadKeepingRow(m_grid);
}

void TF_BasicList::showPanel(bool modify)
{
    m_editing = modify ? m_grid->currentValue(QStringLiteral("id")).toLongLong() : 0;
    m_name->setText(modify ? m_grid->currentValue(nameField()).toString() : QString());
    m_default->setChecked(modify && m_grid->currentValue(m_kind == BasicListKind::SupplierTypes
                                                             ? QStringLiteral("gt_default")
                                                             : QStringLiteral("z_default"))
                                        .toBool());
    m_panel->show();
    m_add->setEnabled(false);
    m_modify->setEnabled(false);
    m_name->setFocus();
}

void TF_BasicList::hidePanel()
{
    m_panel->hide();
    m_add->setEnabled(true);
    m_modify->setEnabled(true);
}

void TF_BasicList::addRow() { showPanel(false); }

void TF_BasicList::modifyRow()
{
    if (m_grid->rowCount() > 0)
        showPanel(true);
}

void TF_BasicList::confirmPanel()
{
    const RecordSaveResult r =
        m_kind == BasicListKind::SupplierTypes
            ? PartnerTypeRules(m_context.data->mainDb(), *m_context.notices)
                  .saveSupplierType(m_editing, m_name->text(), m_default->isChecked())
            : ZoneRules(m_context.data->mainDb(), *m_context.notices).save(m_editing, m_name->text(), m_default->isChecked());
    if (!r.saved())
        return;
    load();
    m_grid->locate(codeField(), r.code);
    hidePanel();
}

void TF_BasicList::deleteRow()
{
    if (m_grid->rowCount() == 0)
        return;
    const qint64 id = m_grid->currentValue(QStringLiteral("id")).toLongLong();
    const bool done = m_kind == BasicListKind::SupplierTypes
                          ? PartnerTypeRules(m_context.data->mainDb(), *m_context.notices).removeSupplierType(id)
                          : ZoneRules(m_context.data->mainDb(), *m_context.notices).remove(id);
    if (done)
        load();
}

void TF_BasicList::quit()
{
    // The supplier dialogs take the current type back; the regions hand nothing back.
    if (m_kind == BasicListKind::SupplierTypes && m_grid->rowCount() > 0)
        setProperty(handoff::ChosenType, m_grid->currentValue(QStringLiteral("gt_name")).toString());
    accept();
}
