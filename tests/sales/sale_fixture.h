#pragma once

// Fixture of the sale rules: a fresh account set, the clock at 2025-03-14 10:30, "admin" of the
// administrator role; PriceDecimals = QtyDecimals = 2, totals not rounded, rate 0, negative
// stock refused; auxiliary units, scans adding quantity, tax, discount and sale price edit on;
// cost edit, separate stock-out and graded prices off; SalePriceDefault, SalePaidDefault,
// DefaultSettleMode and DocDateDefault "0", MinSaleDiscount 0.8; no audit on saving, differences
// spread on the lines, no prepayment warning, no print on saving or template choice. Warehouses 100001 主仓库
// (default) and 100002 分仓库; customers 100001 普通客户 (default), 100002 华联超市 (HLCS,
// 13800001111, salesman 100002), 100003 百货商店 (李明, 北京路138号); employees 100001 默认员工 and
// 100002 业务员甲. Goods A "20000001" 可乐 瓶 (KL, sale 3.50, purchase 2.20, retail 4.00, barcode
// "6901"; unit 箱 × 12 at 40.00 / retail 45.00, barcode "6912"; extra barcode "6901-2" marked
// 礼盒装) and B "20000002" 雪碧 瓶 (XB, 3.00, 2.20, 3.50, "6902"); in 主仓库 A 48 at cost 2.00 and
// B 10 at 2.50.

#include "../support/scriptednotices.h"
#include "../support/seed.h"
#include "../support/testdb.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/doccontext.h"
#include "foundation/loginstate.h"
#include "sales/saledoc.h"

#include <gtest/gtest.h>

#include <QVariantMap>

inline constexpr const char *kA = "20000001";
inline constexpr const char *kB = "20000002";
inline constexpr const char *kSaleNumber = "XS25031410001";

void SetSaleDefaults(LoginState &state);
void SeedSaleSet(const QSqlDatabase &db);

// A line of `who` under `number`: quantity × price, rate 0, discount 1, unit 瓶 (factor 1).
qint64 SaleLine(const QSqlDatabase &db, const QString &number, const QString &goods, double quantity, double price,
                const QString &who = QStringLiteral("admin"), const QVariantMap &extra = {});

// A pending sale header as the save writes it: 主仓库, 普通客户 and 默认员工 unless `extra` says
// otherwise, settled by payment, dated 2025-03-14 10:30.
qint64 PendingSaleHeader(const QSqlDatabase &db, const QString &number, double due, double received,
                         const QVariantMap &extra = {});

class SaleRulesTest : public DbTest
{
protected:
    void SetUp() override;

    QString scalar(const QString &sql, const QVariantList &binds = {}) const { return QueryScalar(db(), sql, binds); }
    double number(const QString &sql, const QVariantList &binds = {}) const { return TextToNumber(scalar(sql, binds)); }
    QString rows(const QString &sql, const QVariantList &binds = {}) const { return RowsText(db(), sql, binds); }
    // Columns of the lines of the fixture's number, by id.
    QString lines(const QString &columns, const QString &number = QString::fromLatin1(kSaleNumber)) const
    {
        return rows(QStringLiteral("select %1 from jxc_lsxssp where gl_djh = ? order by id").arg(columns), {number});
    }
    qint64 line(const QString &goods, double quantity, double price, const QString &who = QStringLiteral("admin"),
                const QVariantMap &extra = {})
    {
        return SaleLine(db(), QString::fromLatin1(kSaleNumber), goods, quantity, price, who, extra);
    }

    // The entry page's context: number XS25031410001 of 2025-03-14, 主仓库, 普通客户; its calls
    // record what the window would do.
    DocumentContext entry();

    LoginState state;
    ScriptedNotices notices;
    int linesChanged = 0;
    QStringList renumbered;
};
