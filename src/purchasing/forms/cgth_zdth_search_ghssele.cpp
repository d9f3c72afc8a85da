#include "purchasing/forms/cgth_zdth_search_ghssele.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/supplierpanel.h"
#include "screenkit/datagrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

TF_Cgth_Zdth_Search_GhsSele::TF_Cgth_Zdth_Search_GhsSele(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_Cgth_Zdth_Search_GhsSele"));
    setWindowTitle(QStringLiteral("选择供货商"));
    ChooserOptions o;
    o.caption = QStringLiteral("选择供货商");
    o.searchCaption = QStringLiteral("查找供货商(F2)：");
    m_panel = NewSupplierChooser(o, m_suppliers, context.state->UiFontSize);
    m_panel->searchBox()->setObjectName(QStringLiteral("tkey"));
    m_panel->embed(this);
    m_panel->show();
    m_panel->modifyButton()->show();
    m_panel->modifyRow = [this](const QVariant &) {
        std::unique_ptr<QDialog> d(
            m_context.registry->create(QStringLiteral("TF_Ghsgl_Modi"), QStringLiteral("修改供货商"), m_context, this));
        d->setProperty(handoff::PartnerId, m_panel->grid()->currentValue(QStringLiteral("id")).toLongLong());
        d->exec();
        OpenSuppliers(m_context.data->mainDb(), m_suppliers);
    };
    connect(m_panel, &QDialog::accepted, this, [this] {
        setProperty(handoff::SupplierName, m_panel->chosenName());
        accept();
    });
    connect(m_panel, &QDialog::rejected, this, &QDialog::reject);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(m_panel);
    connect(this, &ScreenDialog::opened, this, &TF_Cgth_Zdth_Search_GhsSele::activate);
    resize(640, 420);
}

void TF_Cgth_Zdth_Search_GhsSele::activate()
{
    OpenSupplierList(m_context.data->mainDb(), *m_context.state, m_suppliers, QStringLiteral("0"));
    m_panel->grid()->reload(ReloadTarget::First);
    m_panel->show();
    m_panel->setSearchText(QString());
}
