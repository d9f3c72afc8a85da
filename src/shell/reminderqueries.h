#pragma once

// The reads of the reminders screen "今日事件提醒": its warehouse list, the goods whose stock is
// below their minimum (stock alarm) and the customers who still owe money (receivables), and the
// print of the stock alarm.

#include "foundation/db/liststatement.h"
#include "foundation/keyedlists.h"

#include <QSqlDatabase>
#include <QString>

class DataSet;
class ReportOutput;
struct PrintJob;
struct LoginState;

// Under the operator-warehouse binding (BindOperatorWarehouse "1", a role other than
// "100001") the operator's own warehouses (whole codes); otherwise "所有仓库" ("-1") and
// every warehouse.
KeyedItems ReminderWarehouses(const QSqlDatabase &db, const LoginState &state);

// Goods (not "00000000", not disabled) whose stock is below their minimum g_zdkc: for "-1" the
// total g_kc, for a warehouse the stock row's kc_sl there; the stock as "kc", ordered by it.
// The typed text (trimmed, SafeText) matches the code, name or short code anywhere, letter case
// ignored. Columns g_sn, g_name, dw_name, gg_name, color_name, kc, g_zdkc.
ListStatement StockAlarmStatement(const QSqlDatabase &db, const QString &warehouseKey, const QString &typedText);

// Per customer not disabled, its latest "kh" ledger row (latest k_rq, then highest id) when
// that row's balance k_ljje is not 0; under the partner binding only customers of "-1" or the
// operator's warehouses; with `customerSn` only that customer. Ordered by customer, date, id.
// Columns id, kh_name, gl_djh, k_rq, k_ljje, k_fkfs, u_name, k_djtxt, k_note, k_ghskh.
ListStatement ReceivablesStatement(const QSqlDatabase &db, const LoginState &state, const QString &customerSn);

// The alarm lines as the print's data set.
DataSet StockAlarmLines(const QSqlDatabase &db, const QString &warehouseKey, const QString &typedText);

// "打印": template sjtxkc, data set "sjtxkc" (the alarm lines), variables ckName (the warehouse
// list's text) and goodsCount (the number of lines) and the company variables, to the preview.
PrintJob PrintStockAlarm(const QSqlDatabase &db, const LoginState &state, ReportOutput &output,
                         const QString &warehouseKey, const QString &typedText, const QString &warehouseText);
