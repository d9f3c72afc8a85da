#pragma once

// The named texts a template prints through [name]: an ordered list, names matched without
// regard to letter case. Loading a template fills it with the template's declared values; the
// print rules then set or append their own. QtCore only.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class ReportVariables
{
public:
    // Replaces the value of an existing variable (any letter case) or appends a new one.
    void set(const QString &name, const QString &value);
    // The value, or the empty text for an unknown name.
    QString value(const QString &name) const;
    bool contains(const QString &name) const;
    // Empties the whole list, declared variables included.
    void clear();

    int size() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.isEmpty(); }
    QStringList names() const;
    const QList<std::pair<QString, QString>> &items() const { return m_items; }

    bool operator==(const ReportVariables &other) const { return m_items == other.m_items; }

private:
    QList<std::pair<QString, QString>> m_items;
    QHash<QString, int> m_index;  // lower-case name -> position
};
