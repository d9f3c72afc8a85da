#include "engine/docsave.h"

#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/notices.h"
#include "foundation/sanitize.h"

#include <QDate>

SaveInputCheck AcceptDocumentSaveInput(const QSqlDatabase &db, Notices &notices, int lines, const PartnerSide &side,
                                       const QString &partnerRefusal, const DocSaveParties &in)
{
    auto refuse = [&](const QString &text) {
        notices.notice(text);
        return SaveInputCheck::Refused;
    };
    if (lines <= 0)
        return refuse(QStringLiteral("单据中没有业务发生，不能保存！"));
    const QString partnerText = StripControls(in.partnerText).trimmed();
    if (partnerText.isEmpty())
        return refuse(partnerRefusal);
    try {
        const QString chosenName =
            in.partnerSn.isEmpty()
                ? QString()
                : QueryScalar(db, QStringLiteral("select %1 from %2 where %3 = ?").arg(side.name, side.table, side.key),
                              {in.partnerSn});
        if (chosenName.isEmpty() || chosenName.trimmed() != partnerText)
            return refuse(partnerRefusal);
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("保存失败：") + e.text());
        return SaveInputCheck::Failed;
    }
    if (in.handlerText.trimmed().isEmpty() || in.handlerSn.isEmpty())
        return refuse(QStringLiteral("请选择经办人！"));
    if (in.warehouseSn.isEmpty())
        return refuse(QStringLiteral("请选择仓库！"));
    return SaveInputCheck::Accepted;
}

PostingLockKeys NumberStemKeys(const QString &prefix, const QString &day)
{
    PostingLockKeys keys;
    keys.numberStems << prefix
                            + QDate::fromString(day.left(10), QStringLiteral("yyyy-MM-dd")).toString(QStringLiteral("yyMMdd"));
    return keys;
}

QString SavedStamp(const QString &day, const Clock &clock)
{
    return day + QLatin1Char(' ') + clock.now().toString(QStringLiteral("HH:mm"));
}

QString FreightPayer(double freight, double packing, bool wePay)
{
    if (freight <= 0.0 && packing <= 0.0)
        return QStringLiteral("");
    return wePay ? QStringLiteral("我方付运费") : QStringLiteral("对方付运费");
}
