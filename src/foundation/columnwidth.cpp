#include "foundation/columnwidth.h"

#include "foundation/oplog.h"
#include "foundation/schema/catalog.h"
#include "foundation/schema/register.h"

int ColumnWidth(const QString &table, const QString &column)
{
    if (table.compare(QLatin1String("jxc_xtzt"), Qt::CaseInsensitive) == 0)
        return RegisterColumnWidth(column);
    const schema::Table *t = schema::Catalog::instance().table(table);
    const schema::Column *c = t ? t->column(column) : nullptr;
    if (!c || (c->type != ColType::Varchar && c->type != ColType::NVarchar))
        return 0;
    return c->width;
}

int TextLength(const QString &text)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        ++n;
    }
    return n;
}

QString CutToColumn(const QString &table, const QString &column, const QString &text)
{
    const int width = ColumnWidth(table, column);
    return width > 0 ? LeftCharacters(text, width) : text;
}

QString TooLongRefusal(const QString &label, const QString &text, const QString &table, const QString &column)
{
    const int width = ColumnWidth(table, column);
    if (width <= 0 || TextLength(text) <= width)
        return QString();
    return QStringLiteral("%1的长度不能超过%2个字符！").arg(label).arg(width);
}

QString FirstTooLong(std::initializer_list<WidthCheck> checks)
{
    for (const WidthCheck &c : checks) {
        const QString refusal = TooLongRefusal(QString::fromUtf8(c.label), c.text, QLatin1String(c.table),
                                               QLatin1String(c.column));
        if (!refusal.isEmpty())
            return refusal;
    }
    return QString();
}
