#pragma once

// The basket of a goods picker: the operator's rows of the type's scratch table (jxc_tempspxf2
// for the sale and transfer pickers, jxc_tempspxf for loss, overflow and stocktaking), emptied
// when the picker opens; confirming copies it into the document's lines under the number in one
// insert-select and empties it again.

#include "foundation/doctype.h"

#include <QSqlDatabase>

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
    // Adds rows in the order given, in one transaction; returns the rows added.
    int add(const QList<BasketItem> &items);
    bool setQuantity(qint64 rowId, double quantity);
    bool remove(qint64 rowId);
    // Copies the basket into the type's lines under `number` and empties it; returns the
    // lines written.
    int copyInto(const QString &number);

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
