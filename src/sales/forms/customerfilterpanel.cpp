#include "sales/forms/customerfilterpanel.h"

#include "foundation/loginstate.h"
#include "screenkit/chooserpanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/gridmodel.h"
#include "screenkit/partnergridmodel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

CustomerFilterPanel::CustomerFilterPanel(const QSqlDatabase &db, const LoginState &state, QLineEdit *box,
                                         QWidget *parent)
    : QObject(parent), m_db(db), m_state(state), m_box(box), m_parent(parent)
{
}

ChooserPanel *CustomerFilterPanel::panel()
{
    if (m_panel)
        return m_panel;
    ChooserOptions o;
    o.caption = QStringLiteral("选择客户");
    o.searchCaption = QStringLiteral("查找客户(F2)：");
    o.searchFields = {QStringLiteral("kh_name"), QStringLiteral("kh_jm"),  QStringLiteral("kh_sn"),
                      QStringLiteral("kh_tele"), QStringLiteral("kh_lxr"), QStringLiteral("kh_address")};
    o.codeField = QStringLiteral("kh_sn");
    o.nameField = QStringLiteral("kh_name");
    o.allCaption = QStringLiteral("查询全部客户");
    m_panel = new ChooserPanel(o, m_state.UiFontSize, m_parent);
    m_panel->setObjectName(QStringLiteral("RzPanel_Kh2"));
    m_panel->addButton()->hide();
    m_panel->modifyButton()->hide();
    QList<GridColumn> columns{ListColumn("kh_sn", "编号", 70), ListColumn("kh_name", "客户名称", 160),
                              ListColumn("kh_lxr", "联系人", 70), ListColumn("kh_tele", "联系电话", 100),
                              ListColumn("kh_address", "联系地址", 160)};
    for (const char *hidden : {"kh_jm", "id"})
        columns << HiddenColumn(hidden);
    GridModel *model = NewPartnerGridModel(m_customers, columns);
    model->setKeyField(QStringLiteral("kh_sn"));
    OpenCustomerList(m_db, m_state, m_customers, QStringLiteral("0"));
    m_panel->setModel(model);
    return m_panel;
}

CustomerFilterPanel::Outcome CustomerFilterPanel::run(bool filtered)
{
    ChooserPanel *p = panel();
    OpenCustomers(m_db, m_customers);
    p->grid()->reload(ReloadTarget::First);
    QString search = filtered ? m_box->text().trimmed() : QString();
    if (search == QStringLiteral("全部客户") || search == QStringLiteral("当前客户"))
        search.clear();
    p->setSearchText(search);
    if (p->exec() != QDialog::Accepted)
        return Outcome::None;
    if (p->allChosen()) {
        m_box->setText(QStringLiteral("全部客户"));
        return Outcome::All;
    }
    m_box->setText(p->chosenName());
    return Outcome::Chosen;
}
