#pragma once

// Fixture of the partner, warehouse, employee and department rules: the master-data fixture
// plus writers of partners, employees and warehouses and the rows a list shows under a search.

#include "masterdata_fixture.h"

#include "foundation/db/liststatement.h"
#include "masterdata/forms/listfilter.h"
#include "masterdata/partnerrules.h"
#include "screenkit/gridmodel.h"

class RecordsTest : public MasterDataTest
{
protected:
    PartnerRules partners(PartnerKind kind = PartnerKind::Customer)
    {
        return PartnerRules(db(), state, clock, notices, kind);
    }

    // 华联超市 of the checks: type 二级, region 省会地区, telephone, opening −50.
    static PartnerInput hualian()
    {
        PartnerInput in;
        in.name = QStringLiteral("华联超市");
        in.typeKey = QStringLiteral("1002");
        in.region = QStringLiteral("省会地区");
        in.telephone = QStringLiteral("0571-88886666");
        in.opening = -50;
        in.warehouseSn = QStringLiteral("-1");
        in.warehouseName = QStringLiteral("所有仓库");
        return in;
    }
    static PartnerInput named(const QString &name, double opening = 0)
    {
        PartnerInput in;
        in.name = name;
        in.typeKey = QStringLiteral("1000");
        in.opening = opening;
        in.warehouseSn = QStringLiteral("-1");
        in.warehouseName = QStringLiteral("所有仓库");
        return in;
    }

    QString customerField(const QString &sn, const QString &column)
    {
        return scalar(QStringLiteral("select %1 from jxc_khxx where kh_sn = ?").arg(column), {sn});
    }
    qint64 customerId(const QString &sn)
    {
        return scalar(QStringLiteral("select id from jxc_khxx where kh_sn = ?"), {sn}).toLongLong();
    }
    qint64 supplierId(const QString &sn)
    {
        return scalar(QStringLiteral("select id from jxc_ghsxx where ghs_sn = ?"), {sn}).toLongLong();
    }

    // The values of `field` in the rows of `s` that meet `criteria`, in list order.
    QStringList listed(const ListStatement &s, const SearchCriteria &criteria, const QString &field)
    {
        SqlGridModel model(db());
        GridColumn id{QStringLiteral("id"), QStringLiteral("id"), 40, ColumnKind::Integer};
        GridColumn shown{field, field, 80};
        model.setColumns({id, shown});
        model.setStatement(s.body, s.order, s.binds);
        model.setFilter(ListFilter(criteria));
        model.reload();
        QStringList out;
        for (int r = 0; r < model.rowCount(); ++r)
            out << model.value(r, field).toString();
        return out;
    }

    qint64 employee(const QString &sn, const QString &name, const QVariantMap &extra = {})
    {
        QVariantMap v{{"u_sn", sn}, {"u_name", name}, {"u_jm", GetPYFor(name)}, {"u_cg", 1}, {"u_xs", 1},
                      {"u_kc", 1},  {"u_jy", 0},      {"ck_sn", "-1"},         {"ck_name", "所有仓库"}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            v.insert(it.key(), it.value());
        return insert(QStringLiteral("jxc_user"), v);
    }
    qint64 warehouse(const QString &sn, const QString &name, const QString &operators = QStringLiteral("100001,"),
                     const QVariantMap &extra = {})
    {
        QVariantMap v{{"ck_sn", sn}, {"ck_name", name}, {"ck_asn", operators}, {"ck_default", 0}, {"ck_pos", 0}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            v.insert(it.key(), it.value());
        return insert(QStringLiteral("jxc_ckxx"), v);
    }
    static QString GetPYFor(const QString &name);
};
