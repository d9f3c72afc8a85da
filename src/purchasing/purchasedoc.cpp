#include "purchasing/purchasedoc.h"

#include "foundation/db/numbers.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/notices.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "purchasing/pendingdocedits.h"

#include <stdexcept>

DocType PurchaseDocType(PurchaseKind kind)
{
    DocType t;
    t.basketTable = QStringLiteral("jxc_tempspxf2");
    if (kind == PurchaseKind::Return) {
        t.name = QStringLiteral("采购退货单");
        t.prefix = QStringLiteral("CT");
        t.headerTable = QStringLiteral("jxc_thd");
        t.linesTable = QStringLiteral("jxc_thsp");
        t.dateField = QStringLiteral("th_thrq");
        t.quantityField = QStringLiteral("th_sl");
        t.priceField = QStringLiteral("th_dj");
        t.amountField = QStringLiteral("th_zje");
        t.line = LineColumns::withPrefix(QStringLiteral("th_"), QStringLiteral("th_bz"));
        t.sourceTag = QStringLiteral("cgth");
        t.basketExtraColumns = {QStringLiteral("gl_djh2"), QStringLiteral("idck")};
        t.basketKeepsEmptyCodes = true;
        return t;
    }
    const bool order = kind == PurchaseKind::Order;
    t.name = order ? QStringLiteral("采购订单") : QStringLiteral("采购进货单");
    t.prefix = order ? QStringLiteral("CD") : QStringLiteral("CJ");
    t.headerTable = order ? QStringLiteral("jxc_cgd") : QStringLiteral("jxc_jhd");
    t.linesTable = order ? QStringLiteral("jxc_cgsp") : QStringLiteral("jxc_jhsp");
    t.dateField = QStringLiteral("j_jhrq");
    t.quantityField = QStringLiteral("jh_sl");
    t.priceField = QStringLiteral("jh_dj");
    t.amountField = QStringLiteral("jh_zje");
    t.line = LineColumns::withPrefix(QStringLiteral("jh_"), QStringLiteral("jh_bz"));
    t.line.stockIn = QStringLiteral("jh_rksl");
    t.sourceTag = QStringLiteral("cgjh");
    return t;
}

PurchaseKind PurchaseKindOf(const DocType &type)
{
    if (type.prefix == QLatin1String("CJ"))
        return PurchaseKind::Receipt;
    if (type.prefix == QLatin1String("CT"))
        return PurchaseKind::Return;
    if (type.prefix == QLatin1String("CD"))
        return PurchaseKind::Order;
    throw std::invalid_argument("not a purchase document: " + type.prefix.toStdString());
}

QString PurchasePriceColumn(const LoginState &state)
{
    if (state.PurchasePriceDefault == QLatin1String("1"))
        return QStringLiteral("g_scjj");
    if (state.PurchasePriceDefault == QLatin1String("2"))
        return QStringLiteral("g_jj");
    return QStringLiteral("g_pjjj");
}

double DefaultPurchasePrice(const QSqlDatabase &db, const LoginState &state, const QString &goods)
{
    const QString price = QueryScalar(
        db, QStringLiteral("select %1 from jxc_goods where g_sn = ?").arg(PurchasePriceColumn(state)), {goods});
    return RoundTo(TextToNumber(price), state.PriceDecimals);
}

PurchaseResult RunAddingLines(const QSqlDatabase &db, Notices &notices, DocumentContext &context,
                              const std::function<QString(PurchaseResult &result)> &write)
{
    PurchaseResult result;
    result.number = context.number;
    try {
        Transaction tx(db);
        const QString number = write(result);
        tx.commit();
        context.renumber(number);
        result.number = number;
    } catch (const PendingStateChanged &e) {
        notices.notice(e.text());
        result.status = PurchaseStatus::Refused;
        return result;
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("添加商品失败：") + e.text());
        result.status = PurchaseStatus::Failed;
        return result;
    }
    context.notifyLinesChanged();
    return result;
}
