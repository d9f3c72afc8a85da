#include "masterdata/handlerchooserrules.h"

#include "foundation/loginstate.h"

namespace {

// The flag column whose employees the opener lists.
QString flagOf(const QString &tag)
{
    static const QStringList purchase{QStringLiteral("jh"),   QStringLiteral("th"),   QStringLiteral("scrk"),
                                      QStringLiteral("sctk"), QStringLiteral("cgd"),  QStringLiteral("bmly"),
                                      QStringLiteral("bmth")};
    static const QStringList sales{QStringLiteral("xs"), QStringLiteral("xsth"), QStringLiteral("spdd")};
    static const QStringList stock{QStringLiteral("kcdb"), QStringLiteral("bsby"), QStringLiteral("kcpd")};
    if (purchase.contains(tag))
        return QStringLiteral("u_cg");
    if (sales.contains(tag))
        return QStringLiteral("u_xs");
    if (stock.contains(tag))
        return QStringLiteral("u_kc");
    return QString();
}

}  // namespace

HandlerAnswer HandlerChooserRules::answer(const QString &callerTag, const QString &chosenName,
                                          const QString &customerSn) const
{
    HandlerAnswer a;
    const QString flag = flagOf(callerTag);
    if (flag.isEmpty())
        return a;
    a.answered = true;
    if (flag == QLatin1String("u_xs") && m_state.BindSalesmanCustomer == QLatin1String("1")) {
        a.items = LoadSalesmanCombo(m_db, m_state, QStringLiteral("u_name"), QStringLiteral("u_sn"), QString(),
                                    customerSn);
        a.selected = a.items.isEmpty() ? -1 : 0;
        return a;
    }
    a.items = LoadUserCombo(m_db, m_state, flag);
    for (int i = 0; i < a.items.size(); ++i)
        if (a.items.at(i).text == chosenName) {
            a.selected = i;
            break;
        }
    return a;
}
