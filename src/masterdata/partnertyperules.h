#pragma once

// Customer types (jxc_khtype: six fixed rows, the price levels; only their names change) and
// supplier types (jxc_ghstype, carried by suppliers as a name). Renames reach the partners that
// carry the type. Refusals and questions through the notice service; one transaction per
// action. QtCore + QtSql.

#include "masterdata/recordsave.h"

#include "foundation/db/liststatement.h"
#include "foundation/keyedlists.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Notices;

class PartnerTypeRules
{
public:
    PartnerTypeRules(const QSqlDatabase &db, Notices &notices) : m_db(db), m_notices(notices) {}

    // ---- Customer types ----
    ListStatement customerTypeStatement() const;
    // The customer dialogs' list: kt_name keyed kt_sn, by id.
    KeyedItems customerTypeItems() const;
    // "保存(F5)" of the rename dialog: kt_name of the row, and of every customer of that type.
    bool renameCustomerType(qint64 id, const QString &typed);

    // ---- Supplier types ----
    ListStatement supplierTypeStatement() const;
    // The supplier dialogs' list: a blank item, then gt_name by id.
    QStringList supplierTypeTexts() const;
    // The panel's "确定": a new type (id 0) or the row `id`; "默认选择" leaves it the only one
    // flagged; a rename reaches the suppliers that carry the old name.
    RecordSaveResult saveSupplierType(qint64 id, const QString &typed, bool isDefault);
    // "删除": refused while a supplier carries the type; the question. True when deleted.
    bool removeSupplierType(qint64 id);

private:
    QSqlDatabase m_db;
    Notices &m_notices;
};
