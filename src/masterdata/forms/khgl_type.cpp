#include "masterdata/forms/khgl_type.h"

#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/masterlist.h"
#include "masterdata/partnertyperules.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"

#include <QPushButton>
#include <QVBoxLayout>

TF_Khgl_Type::TF_Khgl_Type(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_Khgl_Type"));
    setWindowTitle(QStringLiteral("客户类型"));
    resize(320, 320);
    auto *layout = new QVBoxLayout(this);
    QPushButton *modify = NamedButton(this, "btnModi", QStringLiteral("修改"));
    QPushButton *ok = NamedButton(this, "btnOK", QStringLiteral("确定"));
    QPushButton *quit = NamedButton(this, "btnExit", QStringLiteral("退出"));
    layout->addLayout(CommandBar({modify, ok, quit}));
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new SqlGridModel(context.data->mainDb(), m_grid);
    m_model->setColumns({MasterColumn("kt_sn", "类型编号", 80), MasterColumn("kt_name", "类型名称", 140),
                         HiddenColumn("kt_default", ColumnKind::Check), HiddenColumn("id", ColumnKind::Integer)});
    m_grid->setModel(m_model);
    layout->addWidget(m_grid, 1);
    connect(modify, &QPushButton::clicked, this, &TF_Khgl_Type::rename);
    connect(ok, &QPushButton::clicked, this, &TF_Khgl_Type::choose);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &DataGrid::rowActivated, this, &TF_Khgl_Type::choose);
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(this, &ScreenDialog::opened, this, &TF_Khgl_Type::load);
}

void TF_Khgl_Type::load()
{
    const ListStatement s = PartnerTypeRules(m_context.data->mainDb(), *m_context.notices).customerTypeStatement();
    m_model->setStatement(s.body, s.order, s.binds);
    ReloadKeepingRow(m_grid);
}

void TF_Khgl_Type::rename()
{
    if (m_grid->rowCount() == 0)
        return;
    std::unique_ptr<QDialog> d(m_context.registry->create(QStringLiteral("TF_Khgl_Type_Sele"),
                                                          QStringLiteral("客户类型修改"), m_context, this));
    d->setProperty(handoff::TypeId, m_grid->currentValue(QStringLiteral("id")));
    d->setProperty(handoff::TypeName, m_grid->currentValue(QStringLiteral("kt_name")));
    d->exec();
    load();
}

void TF_Khgl_Type::choose()
{
    if (m_grid->rowCount() > 0) {
        setProperty(handoff::ChosenType, m_grid->currentValue(QStringLiteral("kt_name")).toString());
        setProperty(handoff::ChosenTypeKey, m_grid->currentValue(QStringLiteral("kt_sn")).toString());
    }
    accept();
}
