#pragma once

// A small demo document type for the tests of the document shapes: it keeps its headers and
// lines in the loss tables and its basket in jxc_tempspxf, under its own prefix "DM", so the
// rules run on real account-set tables without being any subsystem's document.

#include "foundation/db/sqlroutines.h"
#include "foundation/doctype.h"
#include "foundation/loginstate.h"

inline DocType DemoDocType()
{
    DocType t;
    t.name = QStringLiteral("演示单");
    t.prefix = QStringLiteral("DM");
    t.headerTable = QStringLiteral("jxc_bsd");
    t.linesTable = QStringLiteral("jxc_bssp");
    t.dateField = QStringLiteral("bs_bsrq");
    t.quantityField = QStringLiteral("bs_sl");
    t.priceField = QStringLiteral("bs_dj");
    t.amountField = QStringLiteral("bs_zje");
    t.basketTable = QStringLiteral("jxc_tempspxf");
    return t;
}

// A demo type of priced lines (rate, tax-inclusive price, discount …) in the purchase return
// tables, under the prefix "DP": its basket carries the source columns and keeps rows without
// a goods code.
inline DocType PricedDemoDocType()
{
    DocType t;
    t.name = QStringLiteral("演示价格单");
    t.prefix = QStringLiteral("DP");
    t.headerTable = QStringLiteral("jxc_thd");
    t.linesTable = QStringLiteral("jxc_thsp");
    t.dateField = QStringLiteral("th_thrq");
    t.quantityField = QStringLiteral("th_sl");
    t.priceField = QStringLiteral("th_dj");
    t.amountField = QStringLiteral("th_zje");
    t.basketTable = QStringLiteral("jxc_tempspxf2");
    t.line = LineColumns::withPrefix(QStringLiteral("th_"), QStringLiteral("th_bz"));
    t.sourceTag = QStringLiteral("demo");
    t.basketExtraColumns = {QStringLiteral("gl_djh2"), QStringLiteral("idck")};
    t.basketKeepsEmptyCodes = true;
    return t;
}

inline LoginState DemoLogin(const QString &operatorName = QStringLiteral("wang"))
{
    LoginState s;
    s.CurrentOperatorName = operatorName;
    s.UiFontSize = 10;
    return s;
}

// Goods the demo lines join to (g_name, dw_name).
inline void AddDemoGoods(const QSqlDatabase &db)
{
    RunSql(db, "insert into jxc_goods (g_sn, g_name, dw_name, g_jj) values (?, ?, ?, ?)",
           {QStringLiteral("00000001"), QStringLiteral("苹果"), QStringLiteral("个"), 5.0});
    RunSql(db, "insert into jxc_goods (g_sn, g_name, dw_name, g_jj) values (?, ?, ?, ?)",
           {QStringLiteral("00000002"), QStringLiteral("香蕉"), QStringLiteral("把"), 7.0});
}

// A saved header of the demo type.
inline void SaveDemoHeader(const QSqlDatabase &db, const QString &number, const QString &operatorName)
{
    RunSql(db, "insert into jxc_bsd (gl_djh, bs_bsrq, bs_status, a_name) values (?, ?, 0, ?)",
           {number, QStringLiteral("2024-03-05 10:00"), operatorName});
}
