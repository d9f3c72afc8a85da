#include "foundation/doctype.h"

#include "foundation/sqlnames.h"

#include <QRegularExpression>

#include <stdexcept>

LineColumns LineColumns::withPrefix(const QString &prefix, const QString &noteColumn)
{
    LineColumns c;
    c.price = prefix + QStringLiteral("dj");
    c.quantity = prefix + QStringLiteral("sl");
    c.amount = prefix + QStringLiteral("je");
    c.tax = prefix + QStringLiteral("tax");
    c.taxPrice = prefix + QStringLiteral("taxdj");
    c.taxAmount = prefix + QStringLiteral("taxje");
    c.total = prefix + QStringLiteral("zje");
    c.baseQuantity = prefix + QStringLiteral("zsl");
    c.discount = prefix + QStringLiteral("dzl");
    c.note = noteColumn;
    return c;
}

QStringList LineColumns::names() const
{
    QStringList out;
    for (const QString *n : {&price, &quantity, &amount, &tax, &taxPrice, &taxAmount, &total, &baseQuantity,
                             &discount, &note, &stockIn})
        if (!n->isEmpty())
            out << *n;
    return out;
}

QList<QPair<QString, QString>> DocType::basketToLine() const
{
    QList<QPair<QString, QString>> map;
    if (basketColumnsOnly)
        return basketColumns;
    if (line.isEmpty()) {
        map << qMakePair(QStringLiteral("ts_sl"), quantityField) << qMakePair(QStringLiteral("ts_dj"), priceField)
            << qMakePair(QStringLiteral("ts_zje"), amountField);
        map << basketColumns;
        return map;
    }
    const LineColumns ts = LineColumns::basket();
    const QString from[] = {ts.price, ts.quantity, ts.amount, ts.tax, ts.taxPrice, ts.taxAmount, ts.total,
                            ts.baseQuantity, ts.discount, ts.note};
    const QString to[] = {line.price, line.quantity, line.amount, line.tax, line.taxPrice, line.taxAmount,
                          line.total, line.baseQuantity, line.discount, line.note};
    for (int i = 0; i < 10; ++i)
        if (!to[i].isEmpty())
            map << qMakePair(from[i], to[i]);
    for (const char *same : {"dw_name", "g_sptm"})
        map << qMakePair(QString::fromLatin1(same), QString::fromLatin1(same));
    for (const QString &extra : basketExtraColumns)
        map << qMakePair(extra, extra);
    return map;
}

void DocType::check() const
{
    static const QRegularExpression prefixRe(QStringLiteral("^[A-Z]{2}$"));
    if (!prefixRe.match(prefix).hasMatch())
        throw std::invalid_argument("bad document prefix: " + prefix.toStdString());
    CheckColumnName(headerTable, numberField());
    if (!dateField.isEmpty())
        CheckColumnName(headerTable, dateField);
    for (const QString &f : {numberField(), goodsField(), operatorField(), quantityField, priceField, amountField})
        CheckColumnName(linesTable, f);
    for (const QString &f : line.names())
        CheckColumnName(linesTable, f);
    if (!basketTable.isEmpty()) {
        for (const char *f : {"g_sn", "ts_sl", "ts_dj", "ts_zje", "a_name"})
            CheckColumnName(basketTable, QString::fromLatin1(f));
        for (const auto &pair : basketToLine()) {
            CheckColumnName(basketTable, pair.first);
            CheckColumnName(linesTable, pair.second);
        }
    }
}
