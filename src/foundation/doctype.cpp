#include "foundation/doctype.h"

#include "foundation/sqlnames.h"

#include <QRegularExpression>

#include <stdexcept>

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
    if (!basketTable.isEmpty()) {
        for (const char *f : {"g_sn", "ts_sl", "ts_dj", "ts_zje", "a_name"})
            CheckColumnName(basketTable, QString::fromLatin1(f));
    }
}
