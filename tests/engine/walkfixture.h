#pragma once

// Fixture of the cost-walk, stock-check and balance tests: a fresh account set, "today"
// 2024-03-08, the parameters as created (two price and quantity decimals, totals not rounded,
// negative stock allowed), operator "admin", and small writers for goods, ledger and stock rows.

#include "../support/testdb.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

#include <QMap>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

class WalkTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        clock.set(QDateTime(QDate(2024, 3, 8), QTime(9, 0, 0)));
        LoadSysParams(db(), state, clock);
        state.CurrentOperatorName = QStringLiteral("admin");
    }

    void addGoods(const QString &code, double averageCost = 0)
    {
        RunSql(db(), QStringLiteral("insert into jxc_goods (g_sn, g_name, g_zhxs, g_pjjj, g_gdcbj, g_jj) "
                                    "values (?, ?, 1, ?, 0, 0)"),
               {code, QStringLiteral("商品") + code, averageCost});
    }

    void addStock(const QString &goods, const QString &warehouse, double qty, double cost = 0, double amount = 0)
    {
        RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl, kc_zsl, kc_cbj, kc_zcb, kc_xssl) "
                                    "values (?, ?, ?, ?, ?, ?, 0)"),
               {goods, warehouse, qty, qty, cost, amount});
    }

    struct Ledger
    {
        QString flag;
        QString date;
        double qty = 0;      // gl_sl
        double amount = 0;   // gl_je
        double price = 0;    // gl_dj
        double cost = 0;     // gl_zcb
        QString number = QStringLiteral("X1");
        QString goods = QStringLiteral("G1");
        QString warehouse = QStringLiteral("100001");
        // running values stored on the row (as an earlier walk left them)
        double kc = 0, pjjj = 0, kczje = 0;
    };

    qint64 addLedger(const Ledger &r)
    {
        return InsertReturningId(db(),
                                 QStringLiteral("insert into jxc_goodslist (gl_flag, gl_kdrq, gl_djh, g_sn, ck_sn, "
                                                "gl_sl, gl_je, gl_zje, gl_dj, gl_zcb, gl_kc, gl_pjjj, gl_kczje) "
                                                "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                                 {r.flag, r.date, r.number.isNull() ? QVariant() : QVariant(r.number), r.goods,
                                  r.warehouse, r.qty, r.amount, r.amount, r.price, r.cost, r.kc, r.pjjj, r.kczje});
    }

    double num(const QString &sql, const QVariantList &binds = {})
    {
        return TextToNumber(QueryScalar(db(), sql, binds));
    }
    double col(qint64 id, const QString &column)
    {
        return num(QStringLiteral("select %1 from jxc_goodslist where id = ?").arg(column), {id});
    }
    double stock(const QString &column, const QString &goods = QStringLiteral("G1"),
                 const QString &warehouse = QStringLiteral("100001"))
    {
        return num(QStringLiteral("select %1 from jxc_kcsp where g_sn = ? and ck_sn = ?").arg(column),
                   {goods, warehouse});
    }

    // Every row of a table as text, in id order: for "nothing changed" checks.
    QStringList dump(const QString &table)
    {
        QStringList rows;
        QSqlQuery q = OpenSelect(db(), QStringLiteral("select * from %1 order by id").arg(table));
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << ValueText(q.value(i));
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }

    LoginState state;
};

#define EXPECT_AMOUNT(actual, expected) EXPECT_NEAR((actual), (expected), 1e-8)
