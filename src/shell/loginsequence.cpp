#include "shell/loginsequence.h"

#include "engine/members.h"
#include "engine/stockmerge.h"
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
        ReturnToCurrentSet(data, state, accountSetDb);
        throw;
    }
}

void ReturnToCurrentSet(DataModule &data, const LoginState &state, const QString &chosenSetDb)
{
    if (state.CurrentAccountSetDb.isEmpty() || state.CurrentAccountSetDb == chosenSetDb)
        return;
    try {
        data.OpenMainDatabase(state.CurrentAccountSetDb);
    } catch (const DbError &e) {
        qWarning().noquote() << "login: the current set cannot be opened again:" << e.text();
    }
}

namespace {

// A set made by an older version may hold several stock rows for one goods and warehouse;
// they are merged before the upgrade makes the unique index of the stock table.
void mergeSharedStockRows(const QSqlDatabase &db, const LoginState &state, const Clock &clock)
{
    try {
        if (IndexExists(db, QStringLiteral("jxc_kcsp_goods_ck")))
            return;
        for (const QString &pair : MergeDuplicateStockRows(db, state, clock))
            qWarning().noquote() << "login: duplicate stock rows merged:" << pair;
    } catch (const DbError &e) {
        qWarning().noquote() << "login: duplicate stock rows not merged, tried again at the next login:" << e.text();
    }
}

} // namespace

LoginOutcome CompleteLogin(const QSqlDatabase &db, LoginState &state, const Clock &clock, const LoginChoice &choice)
{
    LoginOutcome outcome;
    LoginState next = state;
    try {
        QSqlQuery row = OpenSelect(db, QStringLiteral("select a_name, a_sn, r_sn from jxc_admin where a_name = ? "
                                                      "order by id"),
                                   {choice.operatorName});
        if (!row.next()) {
            outcome.message = QStringLiteral("操作员不存在：%1").arg(choice.operatorName);
            return outcome;
        }
        next.CurrentOperatorName = row.value(0).toString();
        next.CurrentOperatorSn = ValueText(row.value(1));
        next.CurrentRoleSn = ValueText(row.value(2));
        row.finish();
        next.CurrentAccountSetDb = choice.accountSetDb;
        next.CurrentAccountSetName = choice.accountSetName;

        WriteLog(db, next, clock, QStringLiteral("登录系统"));
        try {
            LoadSysParams(db, next, clock);
        } catch (const DbError &e) {
            qWarning().noquote() << "login: parameters not loaded:" << e.text();
        } catch (const std::exception &e) {
            qWarning().noquote() << "login: parameters not loaded:" << e.what();
        }
        mergeSharedStockRows(db, next, clock);
        outcome.notice = UpgradeSchema(db, clock).notice;
    } catch (const SchemaUpgradeError &e) {
        outcome.message = e.text();
        return outcome;
    } catch (const DbError &e) {
        outcome.message = QStringLiteral("登录失败：") + e.text();
        return outcome;
    }
    // The top-up gifts report their own failure (rolled back) as text; the login goes on.
    const QString gifts = ApplyRechargeGifts(db, next, clock);
    if (!gifts.isEmpty())
        qWarning().noquote() << "login: top-up gifts not posted:" << gifts;
    state = next;
    outcome.ok = true;
    return outcome;
}
