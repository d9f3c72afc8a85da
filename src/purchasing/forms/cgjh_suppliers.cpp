// The supplier filter panel of TF_Cgjh's pending and query pages.

#include "purchasing/forms/cgjh.h"

#include "foundation/loginstate.h"
#include "purchasing/forms/purchase_lists.h"
#include "purchasing/forms/supplierpanel.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

void TF_Cgjh::buildSupplierFilter()
{
    m_supplierFilter = new SupplierFilterPanel(this, m_suppliers, m_context.state->UiFontSize);
    if (m_pendingSupplierBox) {
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("btnGhs2"));
        button->setText(QStringLiteral("..."));
        button->setFocusPolicy(Qt::NoFocus);
        pendingBar()->insertWidget(pendingBar()->indexOf(m_pendingSupplierBox) + 1, button);
        const auto search = [this] { refreshPending(); };
        m_supplierFilter->attach(m_pendingSupplierBox, button, search, true);
        m_supplierFilter->setAllTarget(m_pendingSupplierBox, search);
    }
    if (m_query && m_query->supplierBox())
        m_supplierFilter->attach(m_query->supplierBox(), m_query->supplierButton(), [this] { m_query->search(); }, false);
    connect(pages(), &QTabWidget::currentChanged, m_supplierFilter, [this](int) { m_supplierFilter->close(); });
}
