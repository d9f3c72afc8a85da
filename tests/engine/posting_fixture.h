#pragma once

// Fixture of the posting tests: a fresh account set, "today" 2024-03-08, the operator "admin",
// the parameters as created, goods G1 and G2 (average cost 0), and small writers of documents.
// Handler, supplier, customer and warehouse "100001" are the default records.

#include "../support/seed.h"
#include "../support/testdb.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariantMap>

#include <vector>

class PostingTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        clock.set(QDateTime(QDate(2024, 3, 8), QTime(9, 30, 0)));
        LoadSysParams(db(), state, clock);
        SignInAsAdministrator(state);
        addGoods(QStringLiteral("G1"), QStringLiteral("商品一"));
        addGoods(QStringLiteral("G2"), QStringLiteral("商品二"));
    }

    qint64 insert(const QString &table, const QVariantMap &values) { return InsertRow(db(), table, values); }

    void addGoods(const QString &sn, const QString &name, double factor = 1)
    {
        insert(QStringLiteral("jxc_goods"),
               {{"g_sn", sn}, {"g_name", name}, {"g_jm", sn}, {"g_zhxs", factor}, {"g_pjjj", 0.0},
                {"g_kc", 0.0}, {"g_cgpl", 0}, {"g_xspl", 0}, {"dw_name", QStringLiteral("个")},
                {"g_gdcbj", 0}});
    }

    // ---- Purchase receipts and returns ----

    struct PLine
    {
        QString goods;
        double qty;
        double price;
        double factor = 1;   // base units per line unit
        double stockIn = -1; // jh_rksl; -1: the quantity
        QVariantMap extra = {};
    };

    qint64 addReceipt(const QString &number, const QString &date, const std::vector<PLine> &lines,
                      double due, double paid, const QVariantMap &extra = {})
    {
        QVariantMap h{{"gl_djh", number}, {"ghs_sn", "100001"}, {"ck_sn", "100001"}, {"j_jhrq", date},
                      {"j_yfje", due}, {"j_sfje", paid}, {"u_sn", "100001"}, {"j_note", ""},
                      {"a_name", "admin"}, {"j_status", 0}, {"j_jsfs", 1}, {"j_kmmc", "现金"},
                      {"j_yf", 0.0}, {"j_bzf", 0.0}, {"j_yffs", "对方付运费"}, {"j_fpje", 0.0},
                      {"j_fpno", ""}, {"j_yhje", 0.0}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            h.insert(it.key(), it.value());
        const qint64 id = insert(QStringLiteral("jxc_jhd"), h);
        for (const PLine &l : lines) {
            QVariantMap m{{"gl_djh", number}, {"g_sn", l.goods}, {"jh_sl", l.qty},
                          {"jh_zsl", l.qty * l.factor}, {"jh_dj", l.price}, {"jh_je", l.qty * l.price},
                          {"jh_zje", l.qty * l.price}, {"jh_taxdj", l.price}, {"jh_tax", 0.0},
                          {"jh_taxje", 0.0}, {"jh_dzl", 1.0},
                          {"jh_rksl", l.stockIn < 0 ? l.qty : l.stockIn}, {"a_name", h.value("a_name")}};
            for (auto it = l.extra.begin(); it != l.extra.end(); ++it)
                m.insert(it.key(), it.value());
            insert(QStringLiteral("jxc_jhsp"), m);
        }
        return id;
    }

    void addPurchaseReturn(const QString &number, const QString &date, const std::vector<PLine> &lines,
                           double due, double paid)
    {
        insert(QStringLiteral("jxc_thd"),
               {{"gl_djh", number}, {"ghs_sn", "100001"}, {"ck_sn", "100001"}, {"th_thrq", date},
                {"th_yfje", due}, {"th_sfje", paid}, {"u_sn", "100001"}, {"th_note", ""},
                {"a_name", "admin"}, {"th_status", 0}, {"th_jsfs", 1}, {"th_kmmc", "现金"},
                {"th_fpje", 0.0}, {"th_fpno", ""}});
        for (const PLine &l : lines)
            insert(QStringLiteral("jxc_thsp"),
                   {{"gl_djh", number}, {"g_sn", l.goods}, {"th_sl", l.qty}, {"th_zsl", l.qty * l.factor},
                    {"th_dj", l.price}, {"th_je", l.qty * l.price}, {"th_zje", l.qty * l.price},
                    {"th_tax", 0.0}, {"th_taxje", 0.0}, {"th_dzl", 1.0}, {"a_name", "admin"}});
    }

    // ---- Sales and sales returns ----

    struct SLine
    {
        QString goods;
        double qty;
        double price;
        double cost;          // ls_cbj per line unit
        double factor = 1;
        double shipped = -1;  // ls_cksl; -1: the quantity
        QVariantMap extra = {};
    };

    qint64 addSale(const QString &number, const QString &date, const std::vector<SLine> &lines,
                   double due, double received, const QVariantMap &extra = {})
    {
        QVariantMap h{{"gl_djh", number}, {"kh_sn", "100001"}, {"ck_sn", "100001"}, {"ls_xsrq", date},
                      {"ls_yfje", due}, {"ls_sfje", received}, {"u_sn", "100001"}, {"ls_note", ""},
                      {"a_name", "admin"}, {"ls_status", 0}, {"ls_jsfs", 1}, {"ls_kmmc", "现金"},
                      {"ls_yf", 0.0}, {"ls_bzf", 0.0}, {"ls_yffs", "对方付运费"}, {"ls_fpje", 0.0},
                      {"ls_fpno", ""}, {"ls_yhje", 0.0}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            h.insert(it.key(), it.value());
        const qint64 id = insert(QStringLiteral("jxc_lsxsd"), h);
        for (const SLine &l : lines) {
            QVariantMap m{{"gl_djh", number}, {"g_sn", l.goods}, {"ls_sl", l.qty},
                          {"ls_zsl", l.qty * l.factor}, {"g_zhxs", l.factor}, {"ls_dj", l.price},
                          {"ls_je", l.qty * l.price}, {"ls_zje", l.qty * l.price}, {"ls_taxdj", l.price},
                          {"ls_tax", 0.0}, {"ls_taxje", 0.0}, {"ls_dzl", 1.0}, {"ls_cbj", l.cost},
                          {"ls_zcb", l.qty * l.cost}, {"ls_lsj", 0.0}, {"t_zp", ""}, {"g_tmbz", ""},
                          {"ls_cksl", l.shipped < 0 ? l.qty : l.shipped}, {"a_name", h.value("a_name")}};
            for (auto it = l.extra.begin(); it != l.extra.end(); ++it)
                m.insert(it.key(), it.value());
            insert(QStringLiteral("jxc_lsxssp"), m);
        }
        return id;
    }

    void addSalesReturn(const QString &number, const QString &date, const std::vector<SLine> &lines,
                        double due, double paid)
    {
        insert(QStringLiteral("jxc_xsthd"),
               {{"gl_djh", number}, {"kh_sn", "100001"}, {"ck_sn", "100001"}, {"th_xsrq", date},
                {"th_yfje", due}, {"th_sfje", paid}, {"u_sn", "100001"}, {"th_note", ""},
                {"a_name", "admin"}, {"th_status", 0}, {"th_jsfs", 1}, {"th_kmmc", "现金"},
                {"th_fpje", 0.0}, {"th_fpno", ""}});
        for (const SLine &l : lines)
            insert(QStringLiteral("jxc_xsthsp"),
                   {{"gl_djh", number}, {"g_sn", l.goods}, {"th_sl", l.qty}, {"th_zsl", l.qty * l.factor},
                    {"g_zhxs", l.factor}, {"th_dj", l.price}, {"th_je", l.qty * l.price},
                    {"th_zje", l.qty * l.price}, {"th_cbj", l.cost}, {"th_zcb", l.qty * l.cost},
                    {"th_tax", 0.0}, {"th_taxje", 0.0}, {"th_dzl", 1.0}, {"th_lsj", 0.0},
                    {"a_name", "admin"}});
    }

    // ---- Reading back ----

    QString scalar(const QString &sql, const QVariantList &binds = {})
    {
        return QueryScalar(db(), sql, binds);
    }
    double num(const QString &sql, const QVariantList &binds = {})
    {
        return TextToNumber(scalar(sql, binds));
    }
    int count(const QString &sql, const QVariantList &binds = {})
    {
        return scalar(sql, binds).toInt();
    }
    QVariantMap row(const QString &sql, const QVariantList &binds = {})
    {
        QVariantMap m;
        QSqlQuery q = OpenSelect(db(), sql, binds);
        if (q.next()) {
            const QSqlRecord rec = q.record();
            for (int i = 0; i < rec.count(); ++i)
                m.insert(rec.fieldName(i).toLower(), ValueText(q.value(i)));
        }
        return m;
    }
    static double n(const QVariantMap &m, const char *key) { return TextToNumber(m.value(key).toString()); }
    static QString t(const QVariantMap &m, const char *key) { return m.value(key).toString(); }

    double stock(const QString &goods, const char *column, const QString &wh = QStringLiteral("100001"))
    {
        return num(QStringLiteral("select %1 from jxc_kcsp where g_sn = ? and ck_sn = ?").arg(column),
                   {goods, wh});
    }
    double goods(const QString &goodsSn, const char *column)
    {
        return num(QStringLiteral("select %1 from jxc_goods where g_sn = ?").arg(column), {goodsSn});
    }

    // Every table's rows as one text per table (for "nothing was written").
    QMap<QString, QString> snapshot(const QStringList &tables = {})
    {
        QMap<QString, QString> out;
        const QStringList names = tables.isEmpty() ? TableNames(db()) : tables;
        for (const QString &table : names) {
            QString text;
            const bool hasId = ColumnExists(db(), table, QStringLiteral("id"));
            QSqlQuery q = OpenSelect(db(), QStringLiteral("select * from %1%2")
                                               .arg(table, hasId ? QStringLiteral(" order by id") : QString()));
            while (q.next()) {
                const QSqlRecord rec = q.record();
                for (int i = 0; i < rec.count(); ++i)
                    text += ValueText(q.value(i)) + QLatin1Char('|');
                text += QLatin1Char('\n');
            }
            out.insert(table.toLower(), text);
        }
        return out;
    }

    LoginState state;
};

inline constexpr double kEps = 1e-8;
