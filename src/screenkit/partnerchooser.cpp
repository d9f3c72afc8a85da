#include "screenkit/partnerchooser.h"

#include "foundation/loginstate.h"
#include "foundation/partnerlists.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/partnergridmodel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

GridColumn PartnerColumn(const char *field, const char *caption, int width, bool visible)
{
    GridColumn c = ListColumn(field, caption, width);
    c.visible = visible;
    return c;
}

PartnerChooser::PartnerChooser(PartnerChooserSpec spec, const QSqlDatabase &db, const LoginState &state,
                               PartnerList &list, QWidget *parent)
    : m_spec(std::move(spec)), m_db(db), m_state(state), m_list(list), m_parent(parent)
{
}

void PartnerChooser::openList(bool newestFirst)
{
    const QString direction = newestFirst ? QStringLiteral("1") : QStringLiteral("0");
    if (m_list.kind() == PartnerList::Kind::Customers)
        OpenCustomerList(m_db, m_state, m_list, direction);
    else
        OpenSupplierList(m_db, m_state, m_list, direction);
}

ChooserPanel *PartnerChooser::panel()
{
    if (m_panel)
        return m_panel;
    m_panel = new ChooserPanel(m_spec.options, m_state.UiFontSize, m_parent);
    m_panel->setObjectName(QString::fromLatin1(m_spec.objectName));
    m_panel->searchBox()->setObjectName(QStringLiteral("tkey"));
    if (m_spec.orderBoxName && m_panel->orderBox())
        m_panel->orderBox()->setObjectName(QString::fromLatin1(m_spec.orderBoxName));
    GridModel *model = NewPartnerGridModel(m_list, m_spec.columns);
    model->setKeyField(m_spec.options.codeField);
    m_panel->setModel(model);
    m_panel->grid()->setFooter(m_spec.options.codeField, FooterKind::Count);
    m_panel->orderChanged = [this](int index) { openList(index == 1); };
    return m_panel;
}

std::optional<PartnerPick> PartnerChooser::choose(const QString &search, bool mayAdd, bool mayModify)
{
    ChooserPanel *p = panel();
    p->addButton()->setVisible(mayAdd);
    p->modifyButton()->setVisible(mayModify);
    QString added;
    if (mayAdd && addPartner) {
        p->addRow = [this, p, &added] {
            added = addPartner(p);
            // The list shows the newest first after an add.
            if (p->orderBox() && p->orderBox()->currentIndex() != 1)
                p->orderBox()->setCurrentIndex(1);
            else
                openList(true);
            if (m_spec.takeAdded && !added.isEmpty())
                p->reject();
        };
    } else {
        p->addRow = nullptr;
    }
    if (mayModify && modifyPartner) {
        p->modifyRow = [this, p](const QVariant &) {
            modifyPartner(p, p->grid()->currentValue(QStringLiteral("id")).toLongLong());
            if (m_list.kind() == PartnerList::Kind::Customers)
                OpenCustomers(m_db, m_list);
            else
                OpenSuppliers(m_db, m_list);
        };
    } else {
        p->modifyRow = nullptr;
    }
    p->grid()->reload(ReloadTarget::First);
    p->setSearchText(search);
    const int answer = p->exec();
    p->addRow = nullptr;
    if (m_spec.takeAdded && !added.isEmpty()) {
        p->grid()->locate(m_spec.options.codeField, added);
        return PartnerPick{added, p->grid()->currentValue(m_spec.options.nameField).toString()};
    }
    if (answer != QDialog::Accepted)
        return std::nullopt;
    return PartnerPick{p->chosenCode(), p->chosenName()};
}
