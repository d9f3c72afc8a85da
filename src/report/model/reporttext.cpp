#include "report/model/reporttext.h"

#include "foundation/db/numbers.h"
#include "platform/format/formatnumber.h"

void DataSets::set(const QString &name, const DataSet &rows)
{
    const QString key = name.toLower();
    if (!m_sets.contains(key))
        m_names << name;
    m_sets.insert(key, rows);
}

const DataSet *DataSets::find(const QString &name) const
{
    const auto it = m_sets.constFind(name.toLower());
    return it == m_sets.constEnd() ? nullptr : &*it;
}

QString FormatPattern(const QString &format, const ReportDecimals &decimals)
{
    int places = -1;
    if (format.compare(QLatin1String("money"), Qt::CaseInsensitive) == 0)
        places = decimals.price;
    else if (format.compare(QLatin1String("total"), Qt::CaseInsensitive) == 0)
        places = decimals.total;
    else if (format.compare(QLatin1String("qty"), Qt::CaseInsensitive) == 0)
        places = decimals.qty;
    if (places < 0)
        return format;
    return places == 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(places, QLatin1Char('0'));
}

QString ApplyFormat(const QString &value, const QString &format, const ReportDecimals &decimals)
{
    if (format.isEmpty() || value.isEmpty())
        return value;
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    if (!ok)
        return value;
    return FormatNumber(number, FormatPattern(format, decimals));
}

namespace {

// Splits "ds.field" at its first point; false without one.
bool SplitField(const QString &token, QString &set, QString &field)
{
    const qsizetype dot = token.indexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == token.size() - 1)
        return false;
    set = token.left(dot).trimmed();
    field = token.mid(dot + 1).trimmed();
    return true;
}

QString SumOf(const DataSet *rows, const QString &field, const QList<int> *only)
{
    if (!rows)
        return QString();
    const int column = rows->columnIndex(field);
    if (column < 0)
        return QString();
    double sum = 0;
    bool any = false;
    const auto add = [&](int r) {
        const QString v = rows->value(r, column);
        if (!v.isEmpty()) {
            sum += TextToNumber(v);
            any = true;
        }
    };
    if (only) {
        for (int r : *only)
            add(r);
    } else {
        for (int r = 0; r < rows->rowCount(); ++r)
            add(r);
    }
    return any ? NumberText(RoundTo(sum, 8)) : QString();
}

// Inner text of "SUM(...)" / "PAGESUM(...)"; empty when the token is not that call.
bool CallArgument(const QString &token, QLatin1String function, QString &argument)
{
    if (!token.startsWith(function, Qt::CaseInsensitive))
        return false;
    const QString rest = token.mid(function.size()).trimmed();
    if (!rest.startsWith(QLatin1Char('(')) || !rest.endsWith(QLatin1Char(')')))
        return false;
    argument = rest.mid(1, rest.size() - 2).trimmed();
    return true;
}

QString Resolve(const QString &rawToken, const TextContext &c, const QString &format)
{
    const QString token = rawToken.trimmed();
    if (token.compare(QLatin1String("PAGE"), Qt::CaseInsensitive) == 0)
        return c.page > 0 ? QString::number(c.page) : QString();
    if (token.compare(QLatin1String("PAGES"), Qt::CaseInsensitive) == 0)
        return c.pages > 0 ? QString::number(c.pages) : QString();
    if (token.compare(QLatin1String("LINE"), Qt::CaseInsensitive) == 0)
        return c.line > 0 ? QString::number(c.line) : QString();

    QString argument, set, field;
    if (CallArgument(token, QLatin1String("PAGESUM"), argument)) {
        if (!SplitField(argument, set, field) || !c.dataSets)
            return QString();
        // Without pagination every row counts; a set the page does not show sums nothing.
        const QList<int> none;
        const QList<int> *rows = nullptr;
        if (c.pageRows) {
            const auto it = c.pageRows->constFind(set.toLower());
            rows = it == c.pageRows->constEnd() ? &none : &*it;
        }
        return ApplyFormat(SumOf(c.dataSets->find(set), field, rows), format, c.decimals);
    }
    if (CallArgument(token, QLatin1String("SUM"), argument)) {
        if (!SplitField(argument, set, field) || !c.dataSets)
            return QString();
        return ApplyFormat(SumOf(c.dataSets->find(set), field, nullptr), format, c.decimals);
    }
    if (SplitField(token, set, field)) {
        const DataSet *rows = c.dataSets ? c.dataSets->find(set) : nullptr;
        if (!rows)
            return QString();
        const int column = rows->columnIndex(field);
        if (column < 0)
            return QString();
        if (c.row >= 0 && set.compare(c.detailSet, Qt::CaseInsensitive) == 0)
            return ApplyFormat(rows->value(c.row, column), format, c.decimals);
        for (int r = 0; r < rows->rowCount(); ++r) {
            const QString v = rows->value(r, column);
            if (!v.isEmpty())
                return ApplyFormat(v, format, c.decimals);
        }
        return QString();
    }
    return c.variables ? ApplyFormat(c.variables->value(token), format, c.decimals) : QString();
}

template <typename OnToken>
QString Walk(const QString &text, OnToken onToken)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar ch = text.at(i);
        if (ch != QLatin1Char('[')) {
            out += ch;
            ++i;
            continue;
        }
        if (i + 1 < n && text.at(i + 1) == QLatin1Char('[')) {
            out += QLatin1Char('[');
            i += 2;
            continue;
        }
        const qsizetype close = text.indexOf(QLatin1Char(']'), i + 1);
        if (close < 0) {
            out += text.mid(i);
            break;
        }
        out += onToken(text.mid(i + 1, close - i - 1));
        i = close + 1;
    }
    return out;
}

} // namespace

QString EvaluateText(const QString &text, const TextContext &context, const QString &format)
{
    if (!text.contains(QLatin1Char('[')))
        return text;
    return Walk(text, [&](const QString &token) { return Resolve(token, context, format); });
}

QStringList TextNames(const QString &text)
{
    QStringList names;
    Walk(text, [&](const QString &token) {
        names << token.trimmed();
        return QString();
    });
    return names;
}
