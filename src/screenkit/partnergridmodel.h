#pragma once

// A grid model over a supplier or customer list of the login (PartnerList,
// foundation/partnerlists.h), for the chooser panels and other grids that show it.

#include "screenkit/gridmodel.h"

class PartnerList;

// The list's rows under `columns`, whose fields name the list's columns (kh_sn, kh_name …).
// reload() reads the rows the list holds again; loading the list itself (OpenCustomers …) is
// the caller's. The list must outlive the model.
RowSetModel *NewPartnerGridModel(const PartnerList &list, const QList<GridColumn> &columns,
                                 QObject *parent = nullptr);
