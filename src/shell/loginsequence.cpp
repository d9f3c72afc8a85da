#include "shell/loginsequence.h"

#include "engine/members.h"
#include "foundation/datamodule.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/oplog.h"
#include "foundation/schema/schemabuilder.h"

#include <QDebug>
#include <QSqlQuery>

KeyedItems LoginAccountSets(const QSqlDatabase &registerDb)
{
    return LoadZtCombo(registerDb, QStringLiteral("jxc_xtzt"), QStringLiteral("zt_name"),
                       QStringLiteral("zt_dbname"), QStringLiteral("zt_sn"));
}

KeyedItems LoginOperators(const QSqlDatabase &db)
{
    try {
        return LoadKeyedComboWhere(db, QStringLiteral("jxc_admin"), QStringLiteral("a_name"),
                                   QStringLiteral("a_sn"), QStringLiteral("id"), SqlWhere("a_jyt=0"));
    } catch (const DbError &) {
        // An older set without a_jyt: every operator's name.
        KeyedItems items;
        const QStringList names = FillCxComboTexts(db, QStringLiteral("jxc_admin"), QStringLiteral("a_name"),
                                                   QStringLiteral("id"), QStringLiteral("0"));
        for (const QString &name : names)
            items.append({name, QString()});
        return items;
    }
}

bool StoredPasswordIsEmpty(const QSqlDatabase &db, const QString &operatorName)
{
    return QueryScalar(db, QStringLiteral("select a_pwd from jxc_admin where a_name = ?"), {operatorName})
        .isEmpty();
}

void OpenChosenSet(DataModule &data, const LoginState &state, const QString &accountSetDb)
{
    try {
        data.OpenMainDatabase(accountSetDb);
    } catch (const DbError &) {
        if (!state.CurrentAccountSetDb.isEmpty() && state.CurrentAccountSetDb != accountSetDb) {
            try {
                data.OpenMainDatabase(state.CurrentAccountSetDb);
            } catch (const DbError &e) {
                qWarning().noquote() << "login: the current set cannot be opened again:" << e.text();
            }
        }
        throw;
    }
}

void CompleteLogin(const QSqlDatabase &db, LoginState &state, const Clock &clock, const LoginChoice &choice)
{

    QSqlQuery row = OpenSelect(db, QStringLiteral("select a_name, a_sn, r_sn from jxc_admin where a_name = ? "
                                                  "order by id"),
                               {choice.operatorName});
    if (!row.next())
        throw DbError(QStringLiteral("操作员不存在：%1").arg(choice.operatorName));
    state.CurrentOperatorName = row.value(0).toString();
    state.CurrentOperatorSn = ValueText(row.value(1));
    state.CurrentRoleSn = ValueText(row.value(2));
    row.finish();
    state.CurrentAccountSetDb = choice.accountSetDb;
    state.CurrentAccountSetName = choice.accountSetName;

    WriteLog(db, state, clock, QStringLiteral("登录系统"));
    try {
        LoadSysParams(db, state, clock);
    } catch (const DbError &e) {
        qWarning().noquote() << "login: parameters not loaded:" << e.text();
    } catch (const std::exception &e) {
        qWarning().noquote() << "login: parameters not loaded:" << e.what();
    }
    UpgradeSchema(db, clock);
    // The top-up gifts report their own failure (rolled back) as text; the login goes on.
    const QString gifts = ApplyRechargeGifts(db, state, clock);
    if (!gifts.isEmpty())
        qWarning().noquote() << "login: top-up gifts not posted:" << gifts;
}
