#pragma once

#include "foundation/db/liststatement.h"

// The statements of the goods window: its list, the stock total of its footer, the sort order
// and the rows of the price labels. The window hands the list statement to its grid model;
// values are always bound. QtCore + QtSql.

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

struct LoginState;

struct GoodsListOptions
{
    bool showDisabled = false;  // "显示禁用商品"
    QString search;             // typed text: matched in six columns, letter case ignored
    QString classCode;          // with `byClass`: the class and its sub-classes
    bool byClass = false;
};

// The six columns a search looks in.
QStringList GoodsSearchFields();

// The goods list: goods with their class name and the stock in the second unit (fzkc, empty
// when the goods has no factor), in code order unless `order` is given.
ListStatement GoodsListStatement(const QSqlDatabase &db, const LoginState &state,
                                 const GoodsListOptions &options, const QString &order = QString());

// The order clause for a sorted column of the list ("a.g_name desc"); the second unit's stock
// sorts by its quotient.
QString GoodsListOrder(const QString &field, bool descending);

// The stock total of the footer: enabled goods, the remembered search text, the class and its
// sub-classes (none for an empty code). "0" when there is nothing.
QString GoodsStockTotal(const QSqlDatabase &db, const QString &search, const QString &classCode);

// Label rows: the goods of the given ids, or every goods of the search text / exact class.
ListStatement SelectedLabelStatement(const LoginState &state, const QList<qint64> &ids);
ListStatement AllLabelStatement(const QSqlDatabase &db, const LoginState &state, const QString &search,
                                const QString &classCode, bool showDisabled);
