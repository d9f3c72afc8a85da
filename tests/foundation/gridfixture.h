#pragma once

// The goods-like table the screen-kit tests share, and small helpers to drive a DataGrid.

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "screenkit/datagrid.h"
#include "../support/gridtyping.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

// t_goods (id, g_sn 编号, g_name 名称, g_jm 简码, g_kc 数量, g_jj 金额), shown newest first.
inline void CreateGoodsFixture(const QSqlDatabase &db)
{
    const Dialect d = Dialect::of(db);
    RunSql(db, QStringLiteral("create table t_goods (%1, g_sn %2, g_name %3, g_jm %2, g_kc %4, g_jj %4)")
                   .arg(d.idColumn(), d.columnType(ColType::Varchar, 32),
                        d.columnType(ColType::NVarchar, 64), d.columnType(ColType::Numeric, 0)));
    struct Row
    {
        int id;
        const char *sn, *name, *jm;
        double kc, jj;
    };
    const Row rows[] = {
        {1, "00000001", "苹果", "PG", 10, 5.5},  {2, "00000002", "香蕉", "XJ", 2.5, 1234.5},
        {3, "100001", "Ab_c", "AB", -0.5, 0},    {4, "100002", "ab%d", "ABD", 0, 7},
        {5, "100010", "50%off", "", 3, 2.25},
    };
    for (const Row &r : rows) {
        RunSql(db, QStringLiteral("insert into t_goods (id, g_sn, g_name, g_jm, g_kc, g_jj) values (?,?,?,?,?,?)"),
               {r.id, QString::fromUtf8(r.sn), QString::fromUtf8(r.name), QString::fromUtf8(r.jm), r.kc, r.jj});
    }
}

inline QList<GridColumn> GoodsColumns()
{
    GridColumn id{QStringLiteral("id"), QStringLiteral("ID"), 40, ColumnKind::Integer};
    id.visible = false;
    GridColumn sn{QStringLiteral("g_sn"), QStringLiteral("编号"), 90};
    GridColumn name{QStringLiteral("g_name"), QStringLiteral("名称"), 120};
    GridColumn jm{QStringLiteral("g_jm"), QStringLiteral("简码"), 60};
    GridColumn kc{QStringLiteral("g_kc"), QStringLiteral("数量"), 80, ColumnKind::Quantity,
                  QStringLiteral("#0.00;-#.00")};
    GridColumn jj{QStringLiteral("g_jj"), QStringLiteral("金额"), 90, ColumnKind::Money,
                  QStringLiteral("￥,0.00;-￥,0.00")};
    return {id, sn, name, jm, kc, jj};
}

// A grid over t_goods with the footers of the goods list.
inline void SetUpGoodsGrid(DataGrid &grid, const QSqlDatabase &db)
{
    auto *model = new SqlGridModel(db);
    model->setColumns(GoodsColumns());
    model->setStatement(QStringLiteral("select id, g_sn, g_name, g_jm, g_kc, g_jj from t_goods"),
                        QStringLiteral("id desc"));
    grid.setModel(model);
    grid.reload(ReloadTarget::First);
    grid.setFooter(QStringLiteral("g_sn"), FooterKind::TextCount, QStringLiteral("记录数："));
    grid.setFooter(QStringLiteral("g_kc"), FooterKind::Sum);
    grid.setFooter(QStringLiteral("g_jj"), FooterKind::Sum, QString(), QStringLiteral("#,0.00;-#,0.00"));
}

inline QList<int> GridIds(const DataGrid &grid, const QString &key = QStringLiteral("id"))
{
    QList<int> ids;
    for (int r = 0; r < grid.rowCount(); ++r)
        ids << grid.value(r, key).toInt();
    return ids;
}

