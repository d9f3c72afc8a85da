#include "report/model/reportvariables.h"

void ReportVariables::set(const QString &name, const QString &value)
{
    const QString key = name.toLower();
    const auto it = m_index.constFind(key);
    if (it != m_index.constEnd()) {
        m_items[*it].second = value;
        return;
    }
    m_index.insert(key, int(m_items.size()));
    m_items.append({name, value});
}

QString ReportVariables::value(const QString &name) const
{
    const auto it = m_index.constFind(name.toLower());
    return it == m_index.constEnd() ? QString() : m_items.at(*it).second;
}

bool ReportVariables::contains(const QString &name) const
{
    return m_index.contains(name.toLower());
}

void ReportVariables::clear()
{
    m_items.clear();
    m_index.clear();
}

QStringList ReportVariables::names() const
{
    QStringList out;
    for (const auto &item : m_items)
        out << item.first;
    return out;
}
