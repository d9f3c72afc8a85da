#include "purchasing/purchasesave.h"

#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/notices.h"
#include "foundation/sanitize.h"
#include "purchasing/purchaselinemath.h"

#include <QDate>

bool AcceptPurchaseSaveInput(const QSqlDatabase &db, Notices &notices, int lines, const PurchaseHeaderInput &in,
                             PurchaseSaveResult &result)
{
    auto refuse = [&](const char *text) {
        notices.notice(QString::fromUtf8(text));
        result.status = PurchaseStatus::Refused;
        return false;
    };
    if (lines <= 0)
        return refuse("单据中没有业务发生，不能保存！");
    const QString supplierText = StripControls(in.supplierText).trimmed();
    if (supplierText.isEmpty())
        return refuse("请选择供货商！");
    // The supplier saved is the one chosen: a name typed without choosing is refused.
    try {
        const QString chosenName =
            in.supplierSn.isEmpty()
                ? QString()
                : QueryScalar(db, QStringLiteral("select ghs_name from jxc_ghsxx where ghs_sn = ?"), {in.supplierSn});
        if (chosenName.isEmpty() || chosenName.trimmed() != supplierText)
            return refuse("请选择供货商！");
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = PurchaseStatus::Failed;
        return false;
    }
    if (in.handlerText.trimmed().isEmpty() || in.handlerSn.isEmpty())
        return refuse("请选择经办人！");
    if (in.warehouseSn.isEmpty())
        return refuse("请选择仓库！");
    return true;
}

PostingLockKeys NumberStemKeys(const QString &prefix, const QString &day)
{
    PostingLockKeys keys;
    keys.numberStems << prefix + QDate::fromString(day.left(10), QStringLiteral("yyyy-MM-dd")).toString(QStringLiteral("yyMMdd"));
    return keys;
}

QString SavedStamp(const QString &day, const Clock &clock)
{
    return day + QLatin1Char(' ') + clock.now().toString(QStringLiteral("HH:mm"));
}

double SavedPaid(const LoginState &state, double paid)
{
    if (const std::optional<int> n = PurchaseAmountRounding(state))
        return RoundTo(paid, *n);
    return paid;
}
