#pragma once

// The handler chooser TF_User2: which list the opener refills and what it selects there, by the
// opener's tag. QtCore + QtSql.
//
// | tags                                   | list (LoadUserCombo, no "all" item)     | selection            |
// | "jh", "th", "scrk", "sctk", "cgd",     | flag u_cg                               | the chosen name      |
// | "bmly", "bmth"                         |                                         | (none when absent)   |
// | "xs", "xsth", "spdd"                   | u_xs; with BindSalesmanCustomer "1" the | the chosen name; the |
// |                                        | customer's salesmen first               | first with salesmen  |
// | "kcdb", "bsby", "kcpd"                 | flag u_kc                               | the chosen name      |

#include "foundation/keyedlists.h"

#include <QSqlDatabase>
#include <QString>

struct LoginState;

struct HandlerAnswer
{
    bool answered = false;  // false: the opener changes nothing
    KeyedItems items;       // the opener's handler list (u_name keyed u_sn)
    int selected = -1;      // the item to select, -1 none
};

class HandlerChooserRules
{
public:
    HandlerChooserRules(const QSqlDatabase &db, const LoginState &state) : m_db(db), m_state(state) {}

    // The answer for the opener `callerTag` when the operator confirms the employee `chosenName`;
    // `customerSn` is the customer of a sales opener.
    HandlerAnswer answer(const QString &callerTag, const QString &chosenName, const QString &customerSn) const;

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
};
