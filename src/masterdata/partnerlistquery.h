#pragma once

// The statements and searches of the customer and supplier lists: the list with the warehouse
// binding, the keyword over the text columns and the search dialog's criteria. Values are
// bound. QtCore + QtSql.

#include "masterdata/partnerkind.h"
#include "masterdata/searchcriteria.h"

#include "foundation/db/liststatement.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct LoginState;

// Customers with their type's name as ktname (inner join), or suppliers, by id; disabled ones
// listed; under the binding only records of "-1" or of the operator's warehouses.
ListStatement PartnerListStatement(const QSqlDatabase &db, const LoginState &state, PartnerKind kind);

// The columns the keyword looks in: code, name, short code, contact, telephone, address.
QStringList PartnerKeywordFields(PartnerKind kind);
SearchCriteria PartnerKeywordCriteria(PartnerKind kind, const QString &keyword);

// The search dialog's texts, in the order of its boxes.
struct PartnerSearchTexts
{
    QString name;
    QString contact;
    QString telephone;
    QString address;
    QString type;    // customers: the name of the row's type; suppliers: gt_name
    QString region;

    QStringList list() const { return {name, contact, telephone, address, type, region}; }
    static PartnerSearchTexts fromList(const QStringList &texts);
};
// Every filled box, AND; none filled: every row.
SearchCriteria PartnerSearchCriteria(PartnerKind kind, const PartnerSearchTexts &texts);

// The search dialog's lists: a blank item, then the type names (customer or supplier types),
// respectively the region names, by id.
QStringList PartnerTypeChoices(const QSqlDatabase &db, PartnerKind kind);
QStringList RegionChoices(const QSqlDatabase &db);
