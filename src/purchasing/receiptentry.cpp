#include "purchasing/receiptentry.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/linecells.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "foundation/sanitize.h"
#include "purchasing/purchaselinemath.h"

#include <QSqlQuery>

namespace {

struct ScannedGoods
{
    QString goods;
    QString unit;
    double factor = 1.0;
    double price = 0.0;
};

// The goods of a barcode: main barcode, then a unit's, then an extra barcode, each by id.
std::optional<ScannedGoods> FindByBarcode(const QSqlDatabase &db, const LoginState &state, const QString &code)
{
    const QString price = PurchasePriceColumn(state);
    QSqlQuery goods = OpenSelect(db,
                                 QStringLiteral("select g_sn, dw_name, %1 from jxc_goods where g_sptm = ? order by id limit 1")
                                     .arg(price),
                                 {code});
    if (goods.next())
        return ScannedGoods{goods.value(0).toString(), goods.value(1).toString(), 1.0, goods.value(2).toDouble()};
    if (!IsTrue(state.UseAuxUnits))
        return std::nullopt;
    QSqlQuery unit = OpenSelect(db,
                                QStringLiteral("select g_sn, dw_name, g_zhxs, %1 from jxc_goodsdw where g_sptm = ? "
                                               "order by id limit 1")
                                    .arg(price),
                                {code});
    if (unit.next()) {
        const QVariant factor = unit.value(2);
        return ScannedGoods{unit.value(0).toString(), unit.value(1).toString(),
                            factor.isNull() ? 1.0 : factor.toDouble(), unit.value(3).toDouble()};
    }
    QSqlQuery extra = OpenSelect(db,
                                 QStringLiteral("select b.g_sn, b.dw_name, b.%1 from jxc_goodstm a join jxc_goods b "
                                                "on b.g_sn = a.g_sn where a.g_sptm = ? order by a.id limit 1")
                                     .arg(price),
                                 {code});
    if (extra.next())
        return ScannedGoods{extra.value(0).toString(), extra.value(1).toString(), 1.0, extra.value(2).toDouble()};
    return std::nullopt;
}

double maybeRound(double value, std::optional<int> decimals)
{
    return decimals ? RoundTo(value, *decimals) : value;
}

} // namespace

ReceiptEntry::ReceiptEntry(const QSqlDatabase &db, const LoginState &state, Notices &notices, PurchaseKind kind)
    : m_db(db), m_state(state), m_notices(notices), m_kind(kind)
{
}

ListStatement ReceiptEntry::linesStatement(const QString &number) const
{
    return {QStringLiteral("select a.*, a.jh_dj * a.jh_dzl as dj, b.g_name, b.g_jm, b.gg_name, b.color_name, "
                           "b.g_sccs, b.g_kc, b.g_bz, b.hj_name from %1 a left join jxc_goods b "
                           "on b.g_sn = a.g_sn where a.gl_djh = ? and a.a_name = ?")
                .arg(PurchaseDocType(m_kind).linesTable),
            QStringLiteral("a.id"),
            {number, m_state.CurrentOperatorName}};
}

PurchaseResult ReceiptEntry::scan(DocumentContext &context, const QString &code, bool refuseRepeats)
{
    PurchaseResult refused;
    refused.number = context.number;
    refused.status = PurchaseStatus::Refused;
    const QString barcode = StripControls(code).trimmed();
    if (barcode.isEmpty()) {
        refused.status = PurchaseStatus::Declined;
        return refused;
    }
    std::optional<ScannedGoods> found;
    try {
        found = FindByBarcode(m_db, m_state, barcode);
        if (!found) {
            m_notices.notice(QStringLiteral("没有找到与该条码匹配的商品，请检查！"));
            return refused;
        }
        if (refuseRepeats
            && !QueryScalar(m_db,
                            QStringLiteral("select id from %1 where gl_djh = ? and g_sn = ? limit 1")
                                .arg(PurchaseDocType(m_kind).linesTable),
                            {context.number, found->goods})
                    .isEmpty()) {
            m_notices.notice(QStringLiteral("该商品已添加，不能重复添加，\r\n\r\n可以修改已添加商品的数量！"));
            return refused;
        }
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("添加商品失败：") + e.text());
        refused.status = PurchaseStatus::Failed;
        return refused;
    }
    const double price = RoundTo(found->price, m_state.PriceDecimals);
    const std::optional<int> rounding = PurchaseAmountRounding(m_state);
    const DocType type = PurchaseDocType(m_kind);
    DraftLines draft(m_db, type, m_state);
    return RunAddingLines(m_db, m_notices, context, [&](PurchaseResult &result) {
        const QString number = draft.numberForNewLines(context.number, context.day);
        qint64 lineId = 0;
        // The order appends a line at every scan.
        if (m_kind == PurchaseKind::Receipt && IsTrue(m_state.ScanAddsQty)) {
            lineId = QueryScalar(m_db,
                                 QStringLiteral("select id from jxc_jhsp where gl_djh = ? and a_name = ? and g_sn = ? "
                                                "and g_sptm = ? order by id limit 1"),
                                 {number, m_state.CurrentOperatorName, found->goods, barcode})
                         .toLongLong();
        }
        if (lineId > 0) {
            const std::optional<StoredLine> line =
                ReadStoredLine(m_db, type.linesTable, type.line, SqlWhere(QStringLiteral("id = ?"), {lineId}));
            const LineFigures more = AddOnePiece(line->figures, found->factor, rounding);
            QVariantMap values{{type.line.quantity, more.quantity}, {type.line.baseQuantity, more.baseQuantity},
                               {type.line.amount, more.amount},     {type.line.total, more.total},
                               {type.line.taxAmount, more.taxAmount}};
            if (!IsTrue(m_state.SeparateStockIn)) {
                const double stockIn = QueryScalar(m_db, QStringLiteral("select jh_rksl from jxc_jhsp where id = ?"), {lineId})
                                           .toDouble();
                values.insert(type.line.stockIn, stockIn + 1.0);
            }
            draft.updateLine(lineId, values);
        } else {
            const double amount = maybeRound(price, rounding);
            lineId = draft.insertLine(number, {{QStringLiteral("g_sn"), found->goods},
                                               {type.line.price, price},
                                               {type.line.taxPrice, price},
                                               {type.line.quantity, 1.0},
                                               {type.line.amount, amount},
                                               {type.line.total, amount},
                                               {type.line.tax, 0.0},
                                               {type.line.taxAmount, 0.0},
                                               {type.line.discount, 1.0},
                                               {type.line.baseQuantity, found->factor},
                                               {type.line.stockIn, *StockInQuantity(m_state, m_kind, 1.0)},
                                               {QStringLiteral("dw_name"), found->unit},
                                               {QStringLiteral("g_sptm"), barcode}});
        }
        result.lineId = lineId;
        return number;
    });
}

PurchaseResult ReceiptEntry::addKit(DocumentContext &context, const KitChoice &kit, QString *note)
{
    const DocType type = PurchaseDocType(m_kind);
    DraftLines draft(m_db, type, m_state);
    const double q = TextToNumber(kit.quantityText.trimmed());
    const PurchaseResult result = RunAddingLines(m_db, m_notices, context, [&](PurchaseResult &) {
        const QString number = draft.numberForNewLines(context.number, context.day);
        struct Part
        {
            QString goods, unit, barcode;
            double quantity, price;
        };
        QList<Part> list;
        {
            QSqlQuery parts = OpenSelect(m_db,
                                         QStringLiteral("select a.pl_gsn, a.pl_sl, b.%1, b.dw_name, b.g_sptm from jxc_plxx a "
                                                        "join jxc_goods b on b.g_sn = a.pl_gsn where a.g_sn = ? order by a.id")
                                             .arg(PurchasePriceColumn(m_state)),
                                         {kit.code});
            while (parts.next())
                list << Part{parts.value(0).toString(), parts.value(3).toString(), parts.value(4).toString(),
                             parts.value(1).toDouble() * q, RoundTo(parts.value(2).toDouble(), m_state.PriceDecimals)};
        }
        for (const Part &p : std::as_const(list)) {
            const double amount = p.price * p.quantity;
            draft.insertLine(number, {{QStringLiteral("g_sn"), p.goods},
                                      {type.line.price, p.price},
                                      {type.line.taxPrice, p.price},
                                      {type.line.quantity, p.quantity},
                                      {type.line.amount, amount},
                                      {type.line.total, amount},
                                      {type.line.tax, 0.0},
                                      {type.line.taxAmount, 0.0},
                                      {type.line.discount, 1.0},
                                      {type.line.baseQuantity, p.quantity},
                                      {type.line.stockIn, *StockInQuantity(m_state, m_kind, p.quantity)},
                                      {QStringLiteral("dw_name"), p.unit},
                                      {QStringLiteral("g_sptm"), p.barcode},
                                      {type.line.note, QString()}});
        }
        const int decimals = PurchaseCellDecimals(m_state).amount;
        QList<QPair<qint64, double>> rounded;
        {
            QSqlQuery totals = OpenSelect(m_db,
                                          QStringLiteral("select id, jh_zje from %1 where gl_djh = ? and a_name = ?")
                                              .arg(type.linesTable),
                                          {number, m_state.CurrentOperatorName});
            while (totals.next())
                rounded << qMakePair(totals.value(0).toLongLong(), RoundTo(totals.value(1).toDouble(), decimals));
        }
        for (const auto &r : std::as_const(rounded))
            RunSql(m_db, QStringLiteral("update %1 set jh_zje = ? where id = ?").arg(type.linesTable), {r.second, r.first});
        return number;
    });
    if (result.done() && note)
        *note = kit.name + QStringLiteral("：【数量：") + kit.quantityText + QStringLiteral("】  配料入库。");
    return result;
}

KeyedItems ReceiptEntry::warehouses() const
{
    return LoadOperatorWarehouses(m_db, m_state);
}

bool ReceiptEntry::removeLine(qint64 lineId)
{
    try {
        return DraftLines(m_db, PurchaseDocType(m_kind), m_state).removeLine(lineId);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除商品失败：") + e.text());
        return false;
    }
}

void ReceiptEntry::discard(const QString &number)
{
    DraftLines(m_db, PurchaseDocType(m_kind), m_state).discard(number);
}

double ReceiptEntry::payable(const QString &number) const
{
    const double total = DraftLines(m_db, PurchaseDocType(m_kind), m_state).documentTotal(number);
    return maybeRound(total, PurchaseAmountRounding(m_state));
}

double ReceiptEntry::paidAfterChange(double payable, double typedPaid) const
{
    return m_state.PurchasePaidDefault == QLatin1String("0") ? payable : typedPaid;
}
