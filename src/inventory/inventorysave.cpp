#include "inventory/inventorysave.h"

#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/transaction.h"
#include "foundation/draftlines.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/oplog.h"
#include "foundation/rowvalues.h"

bool InventoryAuditsOnSave(const LoginState &state)
{
    return IsNotOff(state.AuditOnSave);
}

InventorySaveResult SaveInventoryDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                          Notices &notices, InventoryDoc doc, const QString &number,
                                          const QString &day, const QVariantMap &headerColumns,
                                          const InventorySaveTexts &texts)
{
    InventorySaveResult result;
    result.number = number;
    const bool audit = InventoryAuditsOnSave(state);
    if (!notices.confirm(audit ? texts.auditing : texts.pending)) {
        result.status = InventoryStatus::Declined;
        return result;
    }
    const DocType type = InventoryDocType(doc);
    const QString p = InventoryColumnPrefix(doc);
    DraftLines draft(db, type, state);
    QString saved;
    try {
        Transaction tx(db);
        LockDayNumbers(db, type, day);
        saved = draft.numberForSave(number, day, type.headerTable, DraftLines::Taken::AnyRow);
        saved = draft.numberForSave(saved, day, type.linesTable);
        QVariantMap header = headerColumns;
        header.insert(QStringLiteral("gl_djh"), saved);
        header.insert(type.dateField, day + QLatin1Char(' ') + clock.now().toString(QStringLiteral("HH:mm")));
        header.insert(p + QStringLiteral("status"), 0);
        header.insert(p + QStringLiteral("checker"), QStringLiteral(""));
        header.insert(p + QStringLiteral("chkrq"), QStringLiteral(""));
        header.insert(QStringLiteral("a_name"), state.CurrentOperatorName);
        InsertValues(db, type.headerTable, header);
        if (!audit)
            WriteLog(db, state, clock,
                     (texts.logText.isEmpty() ? QStringLiteral("增加未审核") + type.name + QStringLiteral("%1，共%2种商品")
                                              : texts.logText)
                         .arg(saved)
                         .arg(draft.count(saved)));
        tx.commit();
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = InventoryStatus::Failed;
        return result;
    }
    result.status = InventoryStatus::Done;
    result.number = saved;
    if (audit)
        result.audited = AuditAsking(notices, InventoryAudit(doc, db, state, clock, saved));
    return result;
}
