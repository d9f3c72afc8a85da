#pragma once

// Departments (jxc_dept): the window's list and search, add, rename with the push into the
// ledger rows that carry the department, delete, and what the window answers the forms that
// open it as a chooser. Refusals and questions through the notice service; one transaction per
// action. QtCore + QtSql.

#include "masterdata/recordsave.h"
#include "masterdata/searchcriteria.h"

#include "foundation/db/liststatement.h"
#include "foundation/keyedlists.h"

#include <QSqlDatabase>
#include <QString>

class Notices;

inline constexpr const char *kNewDepartmentItem = "添加新部门...";

// What the department window answers its opener.
struct DepartmentAnswer
{
    bool refill = false;   // "fyjsr_add", "fyjsr_add1": refill the department list with `items`
    KeyedItems items;      // departments by id, then "添加新部门..." (key "-1")
    QString select;        // the name to select
    bool reload = false;   // "bmly", "bmth", "scrk", "sctk": reload the department list
};

class DepartmentRules
{
public:
    DepartmentRules(const QSqlDatabase &db, Notices &notices) : m_db(db), m_notices(notices) {}

    static ListStatement statement();
    // "部门名称或编号：": the name or the code holds the text.
    static SearchCriteria searchCriteria(const QString &text);

    // "保存(F5)" of the edit dialog: a new department (id 0) or a rename of the row `id`.
    RecordSaveResult save(qint64 id, const QString &typed);
    // "删除": the built-in department, the usage test, the question. True when deleted.
    bool remove(qint64 id);
    bool inUse(const QString &code) const;

    // "确定" with the current row's name; after a save (`confirmed` false) only the reloads.
    DepartmentAnswer answer(const QString &callerTag, const QString &currentName, bool confirmed) const;

private:
    QSqlDatabase m_db;
    Notices &m_notices;
};
