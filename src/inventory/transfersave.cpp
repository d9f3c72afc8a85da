#include "inventory/transfersave.h"

#include "engine/stockcheck.h"
#include "foundation/db/dberror.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/sanitize.h"

TransferSave::TransferSave(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

InventorySaveResult TransferSave::save(const QString &number, int lines, const TransferHeaderInput &in)
{
    InventorySaveResult result;
    result.number = number;
    auto refuse = [&](const char *text) {
        m_notices.notice(QString::fromUtf8(text));
        return result;
    };
    if (lines <= 0)
        return refuse("没有调拨商品，不能保存！");
    if (in.handlerSn.isEmpty() || in.handlerText.trimmed().isEmpty())
        return refuse("请选择经办人！");
    if (in.outSn.isEmpty())
        return refuse("请选择调出仓库！");
    if (in.inSn.isEmpty())
        return refuse("请选择调入仓库！");
    if (in.outName == in.inName)
        return refuse("调出仓库与调入仓库不能相同！");
    try {
        const QString shortage = CheckNegativeStock(m_db, m_state, m_clock, number, in.outSn, QStringLiteral("DB"));
        if (!shortage.isEmpty()) {
            if (!IsTrue(m_state.AllowNegativeStock))
                return refuse(shortage.toUtf8().constData());
            if (!m_notices.confirm(shortage)) {
                result.status = InventoryStatus::Declined;
                return result;
            }
        }
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = InventoryStatus::Failed;
        return result;
    }
    return SaveInventoryDocument(
        m_db, m_state, m_clock, m_notices, InventoryDoc::Transfer, number, in.day,
        {{QStringLiteral("ck_out"), in.outSn},
         {QStringLiteral("ck_in"), in.inSn},
         {QStringLiteral("u_sn"), in.handlerSn},
         {QStringLiteral("db_note"), SafeTextKeepMath(in.note.trimmed())}},
        {QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“库存调拨查询”功能中取消审核！"),
         QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的调拨单，可以在“待审核调\r\n\r\n"
                        "拨单”面板中，进行修改及审核操作！")});
}
