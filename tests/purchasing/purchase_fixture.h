#pragma once

// Fixture of the purchase rules: a fresh account set, the clock at 2025-03-14 09:30, the
// operator "admin" of the administrator role, the parameters of a new set with PD = QD = 2,
// totals not rounded, saving without audit, settlement differences as one line, the rest to
// payables, paid following due, the preset purchase price, the supplier's history, no tax,
// discount or auxiliary units, rate 0; goods G1 可乐 (2.345, "6901"), G2 雪碧 (3, "6902") and G3
// 橙汁 (2.5, "6903", unit 箱 × 12 at 30, "16903"), without stock or ledger rows.

#include "../support/scriptednotices.h"
#include "../support/seed.h"
#include "../support/testdb.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/doccontext.h"
#include "foundation/loginstate.h"
#include "purchasing/purchasedoc.h"
#include "purchasing/purchasesave.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QVariantMap>

inline constexpr const char *kG1 = "20000001";
inline constexpr const char *kG2 = "20000002";
inline constexpr const char *kG3 = "20000003";
inline constexpr const char *kFirstNumber = "CJ25031410001";

// Sets the login state's parameters of the fixture (and keeps the administrator signed in).
void SetPurchaseDefaults(LoginState &state);
// Inserts G1, G2, G3 and G3's unit 箱.
void AddPurchaseGoods(const QSqlDatabase &db);
// A goods row of its own (enabled, class 1000, no stock).
void AddGoods(const QSqlDatabase &db, const QString &code, const QString &name, double presetPrice,
              const QString &barcode = QString(), const QVariantMap &extra = {});

// A draft line (plain figures, rate 0) of `who` in `table`; its id.
qint64 DraftLine(const QSqlDatabase &db, const QString &number, const QString &goods, double quantity, double price,
                 const QString &who = QStringLiteral("admin"), const QString &table = QStringLiteral("jxc_jhsp"));
// A saved receipt of supplier and warehouse "100001" (pending unless `status` 1) with its lines
// (goods, quantity, price).
void SavedReceipt(const QSqlDatabase &db, const QString &number, const QList<QPair<QString, QPair<double, double>>> &lines,
                  int status = 0, const QVariantMap &extra = {});

// A saved order header of supplier, warehouse and handler "100001", dated "2025-03-10 09:00",
// settled to payables, not void (pending unless `status` 1); `extra` overrides columns.
void SavedOrderHeader(const QSqlDatabase &db, const QString &number, int status, const QVariantMap &extra = {});

// The header of a save as the entry page fills it: supplier, warehouse and handler "100001"
// (普通供货商, 默认员工), 2025-03-14, the account 现金.
inline PurchaseHeaderInput FixtureHeader(double payable, double paid, int settle = 1)
{
    PurchaseHeaderInput in;
    in.supplierText = QStringLiteral("普通供货商");
    in.supplierSn = QStringLiteral("100001");
    in.warehouseSn = QStringLiteral("100001");
    in.handlerText = QStringLiteral("默认员工");
    in.handlerSn = QStringLiteral("100001");
    in.day = QStringLiteral("2025-03-14");
    in.payable = payable;
    in.paid = paid;
    in.settleIndex = settle;
    in.accountText = QStringLiteral("现金");
    return in;
}

class PurchaseRulesTest : public DbTest
{
protected:
    void SetUp() override;

    qint64 insert(const QString &table, const QVariantMap &values) { return InsertRow(db(), table, values); }
    QString scalar(const QString &sql, const QVariantList &binds = {}) const { return QueryScalar(db(), sql, binds); }
    double number(const QString &sql, const QVariantList &binds = {}) const { return scalar(sql, binds).toDouble(); }
    // Columns of a row as "a|b|c" (numbers canonical).
    QString row(const QString &table, const QStringList &columns, qint64 id) const;
    QString rows(const QString &sql, const QVariantList &binds = {}) const;

    // The entry page's context of a document type: number of the day, warehouse and supplier
    // "100001"; its calls record what the window would do.
    DocumentContext entry(PurchaseKind kind = PurchaseKind::Receipt);
    DocumentContext pending(const QString &number, PurchaseKind kind = PurchaseKind::Receipt);

    // A draft line of the operator (or `who`) on the receipt: plain figures, rate 0.
    qint64 draftLine(const QString &number, const QString &goods, double quantity, double price,
                     const QString &who = QStringLiteral("admin"), const QString &table = QStringLiteral("jxc_jhsp"))
    {
        return DraftLine(db(), number, goods, quantity, price, who, table);
    }
    void savedReceipt(const QString &number, const QList<QPair<QString, QPair<double, double>>> &lines,
                      int status = 0, const QVariantMap &extra = {})
    {
        SavedReceipt(db(), number, lines, status, extra);
    }

    LoginState state;
    ScriptedNotices notices;
    int linesChanged = 0;
    QStringList renumbered;
};
