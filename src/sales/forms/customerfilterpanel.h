#pragma once

// RzPanel_Kh2: the customer panel of the sale window's list pages (the pending page's box
// tGhsName, the query page's tKhName1). Typing in the box shows it filtered by the text (none
// for "全部客户" / "当前客户") over name, short code, code, telephone, contact and address; the
// box's button shows it unfiltered. 确定 (F5) or a double click puts the chosen customer's name
// in the box; "查询全部客户" puts "全部客户". The page then hides it and queries. The panel is the
// kit's PartnerChooser over the login's customer list.

#include "foundation/partnerlists.h"

#include <QObject>

#include <memory>
#include <QSqlDatabase>

class ChooserPanel;
class PartnerChooser;
class QLineEdit;
class QWidget;
struct LoginState;

class CustomerFilterPanel final : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { None, Chosen, All };

    CustomerFilterPanel(const QSqlDatabase &db, const LoginState &state, QLineEdit *box, QWidget *parent);
    ~CustomerFilterPanel() override;

    // Shows the panel: `filtered` with the box's text as the search (typing), else unfiltered
    // (the button). The box holds the answer afterwards.
    Outcome run(bool filtered);

    ChooserPanel *panel();

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    QLineEdit *m_box;
    QWidget *m_parent;
    PartnerList m_customers{PartnerList::Kind::Customers};
    std::unique_ptr<PartnerChooser> m_chooser;
};
