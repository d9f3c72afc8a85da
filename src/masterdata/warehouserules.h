#pragma once

// Warehouses (jxc_ckxx) with the operators allowed in them: the list and its searches, add,
// modify with the push of a new name, delete. Texts are stored trimmed, as typed. Refusals and
// questions through the notice service; one transaction per action. QtCore + QtSql.

#include "masterdata/recordsave.h"
#include "masterdata/searchcriteria.h"

#include "foundation/db/liststatement.h"
#include "foundation/keyedlists.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

class Notices;

struct WarehouseInput
{
    QString name;
    QString keeper;  // 负责人
    QString telephone;
    QString address;
    QString note;
    bool isDefault = false;
    KeyedItems operators;  // the ticked operators (a_name, a_sn) in tree order
};

struct WarehouseSearchTexts
{
    QString name;    // name or short code
    QString keeper;
    QString telephone;
    QString address;
};

class WarehouseRules
{
public:
    WarehouseRules(const QSqlDatabase &db, Notices &notices) : m_db(db), m_notices(notices) {}

    // Every warehouse whatever the bindings, by id (the search dialog's result newest first).
    static ListStatement statement(bool newestFirst = false);
    // The key box: one term over name, short code, keeper, telephone and address.
    static SearchCriteria keywordCriteria(const QString &key);
    // The search dialog: AND of the filled boxes.
    static SearchCriteria searchCriteria(const WarehouseSearchTexts &texts);

    // The operator tree: every operator (a_name keyed a_sn) by role code, then id.
    KeyedItems operators() const;
    // The row of `code` (columns by lower-case name); empty when gone.
    QVariantMap record(const QString &code) const;

    // "保存(F5)" of the add dialog: the new code.
    RecordSaveResult add(const WarehouseInput &input);
    // "保存(F5)" of the modify dialog of `code`.
    RecordSaveResult modify(const QString &code, const WarehouseInput &input);
    // "删除": the usage test, the built-in warehouse, the question. True when deleted.
    bool remove(const QString &code);
    // Whether ledger rows or document headers name the warehouse.
    bool inUse(const QString &code) const;

private:
    bool refused(const QString &text) const;
    QString refusal(const WarehouseInput &input) const;
    // False, after showing the refusal, when the input does not pass the checks.
    bool passes(const WarehouseInput &input) const;

    QSqlDatabase m_db;
    Notices &m_notices;
};
