#pragma once

// Small pieces shared by the print rules: the first row of a select as texts, the company
// header variables and the decimals of the named print formats.

#include "report/model/reporttext.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class ReportVariables;
struct LoginState;

// The columns of a select's first row by lower-case name (the first of equal names wins, so
// "a.*" columns come before a joined table's own), values as ValueText gives them (numbers in
// the canonical number text, NULL as ""). Empty when there is no row.
class PrintRow
{
public:
    static PrintRow read(const QSqlDatabase &db, const QString &sql, const QVariantList &binds);

    bool isEmpty() const { return m_values.isEmpty(); }
    // The empty text for a missing row or column.
    QString operator[](const QString &column) const { return m_values.value(column.toLower()); }

private:
    QHash<QString, QString> m_values;
};

// "comName", "comTele", "comLxr", "comNote", "comAddress" from the login state's company
// header; with `allFive` false only "comName", "comTele" and "comAddress" (production prints).
void SetCompanyVariables(ReportVariables &variables, const LoginState &state, bool allFive = true);

// The decimals of the formats "money", "qty" and "total" for this login.
ReportDecimals PrintDecimals(const LoginState &state);
