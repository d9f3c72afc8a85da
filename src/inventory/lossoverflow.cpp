#include "inventory/lossoverflow.h"

#include "foundation/basket.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/formats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/sanitize.h"

LossOverflowRules::LossOverflowRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                     Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

ListStatement LossOverflowRules::linesStatement(InventoryDoc doc, const QString &number) const
{
    const DocType type = InventoryDocType(doc);
    const QString p = InventoryColumnPrefix(doc);
    return {QStringLiteral("select b.*, a.g_name, a.g_jm, a.dw_name, a.gg_name, a.color_name, b.%1sl as sl, "
                           "b.%1dj as dj, b.%1zje as zje, b.%1note as dnote from %2 b left join jxc_goods a "
                           "on a.g_sn = b.g_sn where b.gl_djh = ? and b.a_name = ?")
                .arg(p, type.linesTable),
            QStringLiteral("b.id"),
            {number, m_state.CurrentOperatorName}};
}

InventorySaveResult LossOverflowRules::save(InventoryDoc doc, const QString &number, int lines, const LossHeaderInput &in)
{
    InventorySaveResult result;
    result.number = number;
    const char *refusal = lines <= 0                                                           ? "请选择商品！"
                          : in.handlerSn.isEmpty() || in.handlerText.trimmed().isEmpty() ? "请选择经办人！"
                          : in.warehouseSn.isEmpty()                                     ? "请选择仓库！"
                                                                                         : nullptr;
    if (refusal) {
        m_notices.notice(QString::fromUtf8(refusal));
        return result;
    }
    const QString p = InventoryColumnPrefix(doc);
    return SaveInventoryDocument(
        m_db, m_state, m_clock, m_notices, doc, number, in.day,
        {{QStringLiteral("ck_sn"), in.warehouseSn},
         {QStringLiteral("u_sn"), in.handlerSn},
         {p + QStringLiteral("note"), SafeTextKeepMath(in.note.trimmed())}},
        {QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以取消审核！"),
         QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的报损报溢单，可以在“待审核报损\r\n\r\n"
                        "报溢单”面板中，进行修改及审核操作！")});
}

LossLineOpening LossOverflowRules::open(const DocumentContext &context, InventoryLineMode mode, const QString &goods,
                                        qint64 rowId) const
{
    const InventoryDoc doc = InventoryDocOf(context.type.prefix);
    const DocType type = InventoryDocType(doc);
    const QString p = InventoryColumnPrefix(doc);
    LossLineOpening o;
    o.goods = ReadInventoryGoods(m_db, goods, context.warehouse);
    QVariantMap values;
    QString quantity, cost, note;
    switch (mode) {
    case InventoryLineMode::BasketAdd:
        o.cost = QueryScalar(m_db, QStringLiteral("select kc_cbj from jxc_kcsp where ck_sn = ? and g_sn = ?"),
                             {context.warehouse, goods})
                     .toDouble();
        return o;
    case InventoryLineMode::Draft:
    case InventoryLineMode::Pending:
        quantity = p + QStringLiteral("sl");
        cost = p + QStringLiteral("dj");
        note = p + QStringLiteral("note");
        values = DraftLines(m_db, type, m_state)
                     .readLine(rowId, {quantity, cost, note, QStringLiteral("gl_djh2"), QStringLiteral("idck")});
        break;
    case InventoryLineMode::BasketModify:
        quantity = QStringLiteral("ts_sl");
        cost = QStringLiteral("ts_dj");
        note = QStringLiteral("ts_note");
        values = Basket(m_db, type, m_state).readRow(rowId, {quantity, cost, note, QStringLiteral("gl_djh2"), QStringLiteral("idck")});
        break;
    case InventoryLineMode::None:
        return o;
    }
    if (values.isEmpty())
        return o;
    o.quantity = values.value(quantity).toDouble();
    o.cost = values.value(cost).toDouble();
    o.note = values.value(note).toString();
    o.batchNumber = values.value(QStringLiteral("gl_djh2")).toString();
    o.batchId = ValueText(values.value(QStringLiteral("idck")));
    if (o.batchId.isEmpty())
        o.batchId = QStringLiteral("0");
    return o;
}

InventoryResult LossOverflowRules::write(DocumentContext &context, InventoryLineMode mode, const QString &goods,
                                         qint64 rowId, const LossLineInput &in)
{
    InventoryResult result;
    result.number = context.number;
    result.lineId = rowId;
    result.status = CheckLineQuantity(m_notices, mode, in.quantity);
    if (!result.done())
        return result;
    const InventoryDoc doc = InventoryDocOf(context.type.prefix);
    const QString p = InventoryColumnPrefix(doc);
    const QString note = SafeTextKeepMath(in.note.trimmed());
    const qint64 batchId = in.batchId.trimmed().toLongLong();
    const bool basket = mode == InventoryLineMode::BasketAdd || mode == InventoryLineMode::BasketModify;
    const InventoryResult written = RunLineWrite(
        m_db, m_notices, context,
        mode == InventoryLineMode::BasketAdd ? QStringLiteral("添加商品失败：") : QStringLiteral("修改商品失败："),
        [&]() -> QString {
            if (!basket) {
                // Lines: the amount rounded to TotalDecimals; an overflow line keeps its batch.
                QVariantMap line{{p + QStringLiteral("sl"), in.quantity},
                                 {p + QStringLiteral("dj"), in.cost},
                                 {p + QStringLiteral("zje"), RoundTo(in.cost * in.quantity, TotalDecimalsValue(m_state))},
                                 {p + QStringLiteral("note"), note}};
                if (doc == InventoryDoc::Loss) {
                    line.insert(QStringLiteral("gl_djh2"), in.batchNumber);
                    line.insert(QStringLiteral("idck"), batchId);
                }
                return UpdateLineByMode(m_db, m_state, doc, mode, context.number, rowId, line);
            }
            // Basket rows: the amount unrounded.
            QVariantMap row{{QStringLiteral("ts_dj"), in.cost},          {QStringLiteral("ts_sl"), in.quantity},
                            {QStringLiteral("ts_zje"), in.quantity * in.cost}, {QStringLiteral("ts_note"), note},
                            {QStringLiteral("gl_djh2"), in.batchNumber}, {QStringLiteral("idck"), batchId}};
            Basket rows(m_db, InventoryDocType(doc), m_state);
            if (mode == InventoryLineMode::BasketModify) {
                rows.updateRow(rowId, row);
            } else {
                row.insert(QStringLiteral("g_sn"), goods);
                row.insert(QStringLiteral("ts_dzl"), 0.0);
                result.lineId = rows.addRow(row);
            }
            return QString();
        });
    result.status = written.status;
    return result;
}
