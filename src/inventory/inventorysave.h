#pragma once

// Saving an inventory document being entered, after the window's own refusals: the
// confirmation by AuditOnSave, then in one transaction the day's number lock, the number tests
// (a header anybody saved under the number, then other operators' lines; the operator's lines
// moving to a fresh number of the day), the header (the type's columns, the date with the
// clock's "HH:mm", status 0, checker and check date empty, the operator) and, when the save does
// not audit, the log line "增加未审核" + the type's name + number + "，共" + lines + "种商品"; with
// AuditOnSave the type's audit follows after the commit (its shortage question asked, its
// refusal shown, the document then staying saved and pending). A database error rolls the save
// back and shows "保存失败：" with its text.

#include "inventory/inventorydoc.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

class Clock;
class Notices;
struct LoginState;

struct InventorySaveResult
{
    InventoryStatus status = InventoryStatus::Refused;
    QString number;        // the number saved under (after renumbering)
    bool audited = false;  // AuditOnSave audited it

    bool saved() const { return status == InventoryStatus::Done; }
};

struct InventorySaveTexts
{
    QString auditing;  // the confirmation when the save audits
    QString pending;   // … when it leaves the document pending
    // The log line of a pending save (%1 the number, %2 the operator's lines); empty:
    // "增加未审核" + the type's name + "%1，共%2种商品".
    QString logText{};
};

// AuditOnSave is on for every text but "0" and "False" (an empty one audits).
bool InventoryAuditsOnSave(const LoginState &state);

InventorySaveResult SaveInventoryDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                          Notices &notices, InventoryDoc doc, const QString &number,
                                          const QString &day, const QVariantMap &headerColumns,
                                          const InventorySaveTexts &texts);
