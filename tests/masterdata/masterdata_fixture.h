#pragma once

// Fixture of the master-data tests: a fresh account set, clock 2025-03-14, operator "admin"
// (role "100001"), the parameters as created (UseAuxUnits off), and small writers.

#include "../support/scriptednotices.h"
#include "../support/seed.h"
#include "../support/testdb.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "masterdata/goodsrules.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QVariantMap>

class MasterDataTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        clock.set(QDateTime(QDate(2025, 3, 14), QTime(9, 0, 0)));
        LoadSysParams(db(), state, clock);
        login(state, QStringLiteral("admin"));
        RunSql(db(), QStringLiteral("update jxc_xtcs set cs_fzdw = 0, cs_kc = 1"));
        reload();
    }

    static void login(LoginState &s, const QString &name)
    {
        SignInAsAdministrator(s, name);
        s.RightShowCost = true;
        s.RightShowSalePrice = true;
    }

    void reload()
    {
        const QString name = state.CurrentOperatorName;
        LoadSysParams(db(), state, clock);
        login(state, name);
    }

    void setParam(const QString &column, const QVariant &value)
    {
        RunSql(db(), QStringLiteral("update jxc_xtcs set %1 = ?").arg(column), {value});
        reload();
    }

    qint64 insert(const QString &table, const QVariantMap &values) { return InsertRow(db(), table, values); }

    // A goods row written directly (no stock rows, no ledger).
    qint64 rawGoods(const QString &sn, const QString &name, const QString &classSn = QStringLiteral("1000"),
                    double stock = 0, int disabled = 0, const QVariantMap &extra = {})
    {
        QVariantMap v{{"g_sn", sn},       {"g_name", name},   {"g_jm", sn},    {"gc_sn", classSn},
                      {"gc_cid", 2},      {"g_kc", stock},    {"g_jy", disabled}, {"g_zhxs", 1.0},
                      {"dw_name", "瓶"}, {"dw_name2", "瓶"}, {"g_gdcbj", 0},   {"g_jj", 0.0}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            v.insert(it.key(), it.value());
        return insert(QStringLiteral("jxc_goods"), v);
    }

    // The add dialog's input of the standard example (可乐 in 默认类别).
    GoodsInput cola() const
    {
        GoodsInput in;
        in.className = QStringLiteral("默认类别");
        in.classSn = QStringLiteral("1000");
        in.classCid = 2;
        in.code = GetNewGoodsSnFor(2);
        in.name = QStringLiteral("可乐");
        in.unit = QStringLiteral("瓶");
        in.purchasePrice = 2.5;
        in.salePrice = 3.5;
        in.openingQty = 12;
        in.warehouseSn = QStringLiteral("100001");
        in.warehouseName = QStringLiteral("主仓库");
        return in;
    }
    QString GetNewGoodsSnFor(int cid) const;

    GoodsSaveResult add(const GoodsInput &in, const QString &source = QStringLiteral("spxxgl"))
    {
        return SaveNewGoods(db(), state, clock, notices, source, in);
    }

    QString scalar(const QString &sql, const QVariantList &binds = {})
    {
        return QueryScalar(db(), sql, binds);
    }
    int count(const QString &table, const QString &where = QString(), const QVariantList &binds = {})
    {
        return scalar(QStringLiteral("select count(*) from ") + table
                          + (where.isEmpty() ? QString() : QStringLiteral(" where ") + where),
                      binds)
            .toInt();
    }

    LoginState state;
    ScriptedNotices notices;
};
