#pragma once

// A grid model over a partner list (foundation/partnerlists.h): the list's rows by column name,
// filtered and sorted in memory. The rules fill the list (OpenSupplierList …); reloading the
// grid reads the list's rows again.

#include "screenkit/gridmodel.h"

class PartnerList;

// The model reads `list` at every reload; the list must outlive it.
GridModel *NewPartnerGridModel(const PartnerList *list, const QList<GridColumn> &columns, QObject *parent = nullptr);
