#pragma once

// Regions (jxc_zone), carried by customers and suppliers as a name: the list with its key
// search, add and modify through the edit panel, delete. A rename changes only the region row.
// QtCore + QtSql.

#include "masterdata/recordsave.h"
#include "masterdata/searchcriteria.h"

#include "foundation/db/liststatement.h"

#include <QSqlDatabase>
#include <QString>

class Notices;

class ZoneRules
{
public:
    ZoneRules(const QSqlDatabase &db, Notices &notices) : m_db(db), m_notices(notices) {}

    ListStatement statement() const;
    // The key box: code, name or short code.
    static SearchCriteria keyCriteria(const QString &key);
    // The panel's "确定": a new region (id 0) or the row `id`.
    RecordSaveResult save(qint64 id, const QString &typed, bool isDefault);
    // "删除": refused while a customer or supplier carries the name; the question.
    bool remove(qint64 id);

private:
    QSqlDatabase m_db;
    Notices &m_notices;
};
