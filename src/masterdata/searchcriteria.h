#pragma once

// What a master list's search hands to its grid: terms, each "one of these texts occurs in one
// of these columns", joined by AND (criteria of the search dialogs) or by OR. Typed text is
// matched in each form a column may have stored it in: as typed, through SafeText, through
// SafeTextKeepMath; letters match whatever their case. QtCore.

#include <QList>
#include <QString>
#include <QStringList>

struct SearchTerm
{
    QStringList fields;
    QStringList texts;

    bool operator==(const SearchTerm &other) const = default;
};

struct SearchCriteria
{
    QList<SearchTerm> terms;  // empty: every row
    bool any = false;         // OR of the terms, else AND

    bool isEmpty() const { return terms.isEmpty(); }
    bool operator==(const SearchCriteria &other) const = default;
};

// The forms a typed text is searched in (trimmed; empty for an empty text).
QStringList SearchTexts(const QString &typed);

// One term over `fields`; nothing when the trimmed text is empty.
void AddSearchTerm(SearchCriteria &criteria, const QStringList &fields, const QString &typed);

// One term of the typed keyword over `fields` (an empty keyword: every row).
SearchCriteria KeywordCriteria(const QStringList &fields, const QString &typed);
