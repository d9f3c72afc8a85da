#pragma once

// A master list's search criteria as the grid's filter.

#include "masterdata/searchcriteria.h"
#include "screenkit/gridmodel.h"

inline GridFilter ListFilter(const SearchCriteria &criteria)
{
    QList<GridFilter::Term> terms;
    for (const SearchTerm &t : criteria.terms)
        terms << GridFilter::Term{t.fields, t.texts};
    return criteria.any ? GridFilter::anyOf(terms) : GridFilter::allOf(terms);
}
