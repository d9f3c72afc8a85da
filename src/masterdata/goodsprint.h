#pragma once

// The goods window's prints: price labels (template goodsprice, data set "frxDBDataset1") and
// the goods list (template spxxgl, data set "frxDB_Goods" with the variables goodsclass and
// the company's). Built on PrintJob; the screen hands the job to its ReportOutput.

#include "report/model/reportoutput.h"

#include <QSqlDatabase>

struct ListStatement;
struct LoginState;

PrintJob GoodsLabelJob(const QSqlDatabase &db, const LoginState &state, const ListStatement &rows);
// `sql`/`binds`: the rows the grid shows (its filter applied).
// `printTime` "yyyy-MM-dd HH:mm:ss" for the page header.
PrintJob GoodsListJob(const QSqlDatabase &db, const LoginState &state, const QString &sql,
                      const QVariantList &binds, const QString &className, const QString &printTime);
