#pragma once

// Fixture of the print tests: a fresh account set with the company "示例商贸有限公司", the
// operator admin, two decimals for prices, quantities and totals, the default supplier and
// customer "100001" (普通供货商, 普通客户), warehouse 主仓库 and handler 默认员工, goods of the
// default class; and small writers of stored documents and POS bills.

#include "../support/recordingoutput.h"
#include "../support/seed.h"
#include "../support/testdb.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "report/model/reportvariables.h"

#include <gtest/gtest.h>

#include <QVariantMap>

#include <vector>

class PrintTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        clock.set(QDateTime(QDate(2023, 3, 5), QTime(10, 0, 0)));
        RunSql(db(), QStringLiteral("update jxc_company set c_name = ?, c_tele = ?, c_address = ?, c_lxr = ?, c_note = ?"),
               {QStringLiteral("示例商贸有限公司"), QStringLiteral("010-88886666"), QStringLiteral("北京市朝阳区建国路1号"),
                QStringLiteral("张经理"), QStringLiteral("诚信经营")});
        SignInAsAdministrator(state);
        LoadSysParams(db(), state, clock);
        state.PriceDecimals = 2;
        state.QtyDecimals = 2;
        state.TotalDecimals = QStringLiteral("2");
        state.PrintLineOrder = QStringLiteral("0");
        state.SalesRowsPerPage = QStringLiteral("0");
        state.PurchaseRowsPerPage = QStringLiteral("0");
        addGoods(QStringLiteral("1001"), QStringLiteral("矿泉水"), 2.5, QStringLiteral("6901234567892"));
        addGoods(QStringLiteral("1002"), QStringLiteral("方便面"), 4.5, QStringLiteral("6901234567809"));
    }

    qint64 insert(const QString &table, const QVariantMap &values) { return InsertRow(db(), table, values); }

    // The same, leaving out the columns the table does not have (the line tables of the
    // document kinds differ a little).
    qint64 insertKnown(const QString &table, QVariantMap values)
    {
        const QStringList columns = TableColumns(db(), table);
        for (auto it = values.begin(); it != values.end();)
            it = columns.contains(it.key(), Qt::CaseInsensitive) ? std::next(it) : values.erase(it);
        return insert(table, values);
    }

    void addGoods(const QString &sn, const QString &name, const QVariant &salePrice, const QString &barcode = {})
    {
        insert(QStringLiteral("jxc_goods"),
               {{"g_sn", sn}, {"g_name", name}, {"g_jm", sn}, {"gc_sn", "1000"}, {"g_zhxs", 1.0}, {"g_sj", salePrice},
                {"g_sptm", barcode}, {"dw_name", QStringLiteral("瓶")}, {"gg_name", QStringLiteral("500ml")},
                {"color_name", ""}, {"g_jy", 0}});
    }

    // The newest partner ledger row: GetPartnerBalance gives `balance`.
    void setBalance(const QString &kind, const QString &partner, double balance)
    {
        insert(QStringLiteral("jxc_ysyfk"), {{"k_type", kind}, {"k_ghskh", partner}, {"k_rq", "2023-03-01"},
                                             {"k_ljje", balance}, {"gl_djh", "QC"}});
    }

    struct Line
    {
        QString goods;
        double qty;
        double price;
        QVariantMap extra = {};
    };

    void addReceipt(const QString &number, const std::vector<Line> &lines, double due, double paid, int status = 1,
                    int mode = 1, const QVariantMap &extra = {}, const QString &table = QStringLiteral("jxc_jhd"),
                    const QString &linesTable = QStringLiteral("jxc_jhsp"))
    {
        QVariantMap h{{"gl_djh", number}, {"ghs_sn", "100001"}, {"ck_sn", "100001"}, {"j_jhrq", "2023-03-05"},
                      {"j_yfje", due},    {"j_sfje", paid},     {"u_sn", "100001"},  {"j_note", "到货"},
                      {"a_name", "admin"}, {"j_status", status}, {"j_jsfs", mode},   {"j_kmmc", "现金"},
                      {"gl_djh2", ""},    {"j_checker", "admin"}, {"j_chkrq", "2023-03-05"}};
        if (table == QLatin1String("jxc_jhd"))
            h.insert({{"j_yf", 0.0}, {"j_bzf", 0.0}, {"j_fpno", ""}, {"j_yhje", 0.0}});
        for (auto it = extra.begin(); it != extra.end(); ++it)
            h.insert(it.key(), it.value());
        insertKnown(table, h);
        for (const Line &l : lines) {
            QVariantMap m{{"gl_djh", number}, {"g_sn", l.goods},          {"jh_sl", l.qty},
                          {"jh_dj", l.price}, {"jh_taxdj", l.price},      {"jh_zje", l.qty * l.price},
                          {"jh_je", l.qty * l.price}, {"dw_name", "瓶"}, {"jh_bz", ""}, {"a_name", "admin"}};
            for (auto it = l.extra.begin(); it != l.extra.end(); ++it)
                m.insert(it.key(), it.value());
            insertKnown(linesTable, m);
        }
    }

    void addSale(const QString &number, const std::vector<Line> &lines, double due, double paid, int status = 1,
                 int mode = 1, const QVariantMap &extra = {}, const QString &table = QStringLiteral("jxc_lsxsd"),
                 const QString &linesTable = QStringLiteral("jxc_lsxssp"))
    {
        QVariantMap h{{"gl_djh", number}, {"kh_sn", "100001"}, {"ck_sn", "100001"}, {"ls_xsrq", "2023-03-05"},
                      {"ls_yfje", due},   {"ls_sfje", paid},   {"u_sn", "100001"},  {"ls_note", ""},
                      {"a_name", "admin"}, {"ls_status", status}, {"ls_jsfs", mode}, {"ls_kmmc", "现金"},
                      {"gl_djh2", ""},    {"ls_checker", "admin"}, {"ls_chkrq", "2023-03-05"}};
        if (table == QLatin1String("jxc_lsxsd"))
            h.insert({{"ls_yf", 0.0}, {"ls_bzf", 0.0}, {"ls_fpno", ""}, {"ls_fpje", 0.0}, {"ls_yhje", 0.0}});
        for (auto it = extra.begin(); it != extra.end(); ++it)
            h.insert(it.key(), it.value());
        insertKnown(table, h);
        for (const Line &l : lines) {
            QVariantMap m{{"gl_djh", number}, {"g_sn", l.goods},     {"ls_sl", l.qty},   {"ls_dj", l.price},
                          {"ls_taxdj", l.price}, {"ls_dzl", 1.0},    {"ls_je", l.qty * l.price},
                          {"ls_zje", l.qty * l.price}, {"ls_lsj", 3.0}, {"dw_name", "瓶"}, {"ls_bz", ""},
                          {"g_tmbz", ""}, {"t_zp", ""}, {"a_name", "admin"}};
            for (auto it = l.extra.begin(); it != l.extra.end(); ++it)
                m.insert(it.key(), it.value());
            insertKnown(linesTable, m);
        }
    }

    QString scalar(const QString &sql, const QVariantList &binds = {}) { return QueryScalar(db(), sql, binds); }
    int count(const QString &sql, const QVariantList &binds = {}) { return scalar(sql, binds).toInt(); }

    LoginState state;
};
