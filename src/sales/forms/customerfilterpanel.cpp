#include "sales/forms/customerfilterpanel.h"

#include "foundation/loginstate.h"
#include "screenkit/partnerchooser.h"

#include <QLineEdit>

CustomerFilterPanel::CustomerFilterPanel(const QSqlDatabase &db, const LoginState &state, QLineEdit *box,
                                         QWidget *parent)
    : QObject(parent), m_db(db), m_state(state), m_box(box), m_parent(parent)
{
}

CustomerFilterPanel::~CustomerFilterPanel() = default;

ChooserPanel *CustomerFilterPanel::panel()
{
    if (!m_chooser) {
        PartnerChooserSpec spec;
        spec.options.caption = QStringLiteral("选择客户");
        spec.options.searchCaption = QStringLiteral("查找客户(F2)：");
        spec.options.searchFields = {QStringLiteral("kh_name"), QStringLiteral("kh_jm"),  QStringLiteral("kh_sn"),
                                     QStringLiteral("kh_tele"), QStringLiteral("kh_lxr"), QStringLiteral("kh_address")};
        spec.options.codeField = QStringLiteral("kh_sn");
        spec.options.nameField = QStringLiteral("kh_name");
        spec.options.allCaption = QStringLiteral("查询全部客户");
        spec.objectName = "RzPanel_Kh2";
        spec.columns = {PartnerColumn("kh_sn", "编号", 70),           PartnerColumn("kh_name", "客户名称", 160),
                        PartnerColumn("kh_lxr", "联系人", 70),        PartnerColumn("kh_tele", "联系电话", 100),
                        PartnerColumn("kh_address", "联系地址", 160), PartnerColumn("kh_jm", "kh_jm", 60, false),
                        PartnerColumn("id", "id", 40, false)};
        OpenCustomerList(m_db, m_state, m_customers, QStringLiteral("0"));
        m_chooser = std::make_unique<PartnerChooser>(spec, m_db, m_state, m_customers, m_parent);
    }
    return m_chooser->panel();
}

CustomerFilterPanel::Outcome CustomerFilterPanel::run(bool filtered)
{
    ChooserPanel *p = panel();
    QString search = filtered ? m_box->text().trimmed() : QString();
    if (search == QStringLiteral("全部客户") || search == QStringLiteral("当前客户"))
        search.clear();
    const std::optional<PartnerPick> pick = m_chooser->choose(search, false, false);
    if (!pick)
        return Outcome::None;
    if (p->allChosen()) {
        m_box->setText(QStringLiteral("全部客户"));
        return Outcome::All;
    }
    m_box->setText(pick->name);
    return Outcome::Chosen;
}
