#pragma once

// The basket of a goods picker: the operator's rows of the type's scratch table (jxc_tempspxf2
// for the purchase, sale and transfer pickers, jxc_tempspxf for loss, overflow and
// stocktaking), emptied when the picker opens; confirming copies it into the document's lines
// under the number, row by row in the order the rows were added, and empties it again.

#include "foundation/db/liststatement.h"
#include "foundation/doctype.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariantMap>

#include <functional>

struct LoginState;

struct BasketItem
{
    QString goods;
    double quantity = 1.0;
    double price = 0.0;
};

class Basket
{
public:
    // The type must name a basket table (std::invalid_argument otherwise).
    Basket(const QSqlDatabase &db, const DocType &type, const LoginState &state);

    void clear();
    int count() const;
    bool contains(const QString &goods) const;
    // A goods picked already: in the basket, or on a line of document `number` of the type's
    // lines (the operator's lines only with `operatorLinesOnly`, else anybody's).
    bool pickedAlready(const QString &number, const QString &goods, bool operatorLinesOnly = false) const;
    // Adds rows in the order given, in one transaction; returns the rows added.
    int add(const QList<BasketItem> &items);
    bool setQuantity(qint64 rowId, double quantity);
    bool remove(qint64 rowId);

    // Rows column by column (names checked against the catalogue, texts cut to their widths):
    // a row of the operator (a_name set here); returns its id.
    qint64 addRow(const QVariantMap &values);
    // The operator's row `rowId`; false when it is not theirs.
    bool updateRow(qint64 rowId, const QVariantMap &values);
    // Columns of the operator's row `rowId` (empty when there is none).
    QVariantMap readRow(qint64 rowId, const QStringList &columns) const;
    // The rows without a goods code are deleted (unless the type keeps them).
    void dropEmptyCodes();

    // Copies the basket into the type's lines under `number` and empties it, in one
    // transaction (joining the caller's); returns the lines written. The rows go in ascending
    // id, each through the same insert, their columns mapped by DocType::basketToLine; rows
    // without a goods code are dropped unless the type keeps them, rows of a goods already on the
    // number when the type says so. `lineExtras` adds line
    // columns computed from a basket row (given the row's basket columns by name), or replaces
    // a copied one (a rounded amount); every row must give the same columns.
    using LineExtras = std::function<QVariantMap(const QVariantMap &basketRow)>;
    int copyInto(const QString &number, const LineExtras &lineExtras = {});

    // The basket grid's statement (bound: the operator). Output columns: id, g_sn, g_name,
    // dw_name, sl, dj, zje.
    QString rowsBody() const;
    QString rowsOrder() const { return QStringLiteral("b.id"); }
    QVariantList rowsBinds() const;

private:
    QSqlDatabase m_db;
    DocType m_type;
    const LoginState &m_state;
};

// A picker's basket grid: the operator's rows with ts_dzl > 0, every basket column with the
// goods' g_name, gg_name, color_name and the price after discount g_sj = ts_dj × ts_dzl, newest
// first.
ListStatement PickerBasketStatement(const DocType &type, const LoginState &state);

class Notices;

// A picker's 删除 and 删除全部: one basket row of the operator, or all of the operator's basket.
// A database failure is told as "删除商品失败：…" and gives false.
bool RemoveBasketRow(const QSqlDatabase &db, const DocType &type, const LoginState &state, Notices &notices,
                     qint64 rowId);
bool EmptyBasket(const QSqlDatabase &db, const LoginState &state, Notices &notices);
