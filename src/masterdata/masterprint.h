#pragma once

// 打印 of the customer, supplier, warehouse and employee lists: the rows the grid shows (its
// filter applied) under the list's data set, the company variables and the clock's date as
// printDate, in the list's template. QtCore + QtSql.

#include "report/model/reportoutput.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class Clock;
struct LoginState;

enum class MasterList { Customers, Suppliers, Warehouses, Employees };

struct MasterListPrint
{
    const char *templateName;  // khgl, ghsgl, ckgl, user
    const char *dataSet;       // Q_Khxx, Q_Ghsxx, Q_Ckxx, Q_User
};
const MasterListPrint &MasterListPrintOf(MasterList list);

// `sql`/`binds`: the statement of the grid's rows. Returns the job handed to the preview.
PrintJob PrintMasterList(const QSqlDatabase &db, const LoginState &state, const Clock &clock, ReportOutput &output,
                         MasterList list, const QString &sql, const QVariantList &binds);
