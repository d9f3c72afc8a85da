#include "masterdata/partnerlistquery.h"

#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "foundation/sqlnames.h"

ListStatement PartnerListStatement(const QSqlDatabase &db, const LoginState &state, PartnerKind kind)
{
    ListStatement s;
    if (kind == PartnerKind::Customer)
        s.body = QStringLiteral("select a.*, b.kt_name as ktname from jxc_khxx a, jxc_khtype b where a.kt_sn = b.kt_sn");
    else
        s.body = QStringLiteral("select a.* from jxc_ghsxx a where 1 = 1");
    if (PartnerBindingApplies(state))
        s.body += QStringLiteral(" and ") + WarehouseBindingCondition(db, state, QStringLiteral("a.ck_sn"), s.binds);
    s.order = QStringLiteral("a.id");
    return s;
}

QStringList PartnerKeywordFields(PartnerKind kind)
{
    const PartnerKindInfo &k = PartnerKindOf(kind);
    return {k.column("sn"), k.column("name"), k.column("jm"), k.column("lxr"), k.column("tele"), k.column("address")};
}

SearchCriteria PartnerKeywordCriteria(PartnerKind kind, const QString &keyword)
{
    return KeywordCriteria(PartnerKeywordFields(kind), keyword);
}

PartnerSearchTexts PartnerSearchTexts::fromList(const QStringList &texts)
{
    PartnerSearchTexts t;
    QString *fields[] = {&t.name, &t.contact, &t.telephone, &t.address, &t.type, &t.region};
    for (int i = 0; i < 6 && i < texts.size(); ++i)
        *fields[i] = texts.at(i).trimmed();
    return t;
}

SearchCriteria PartnerSearchCriteria(PartnerKind kind, const PartnerSearchTexts &texts)
{
    const PartnerKindInfo &k = PartnerKindOf(kind);
    SearchCriteria c;
    AddSearchTerm(c, {k.column("name")}, texts.name);
    AddSearchTerm(c, {k.column("lxr")}, texts.contact);
    AddSearchTerm(c, {k.column("tele")}, texts.telephone);
    AddSearchTerm(c, {k.column("address")}, texts.address);
    AddSearchTerm(c, {kind == PartnerKind::Customer ? QStringLiteral("ktname") : QStringLiteral("gt_name")}, texts.type);
    AddSearchTerm(c, {QStringLiteral("z_name")}, texts.region);
    return c;
}

QStringList PartnerTypeChoices(const QSqlDatabase &db, PartnerKind kind)
{
    if (kind == PartnerKind::Customer)
        return FillComboTexts(db, QStringLiteral("jxc_khtype"), QStringLiteral("kt_name"), QStringLiteral("id"),
                              QStringLiteral("1"));
    return FillComboTexts(db, QStringLiteral("jxc_ghstype"), QStringLiteral("gt_name"), QStringLiteral("id"),
                          QStringLiteral("1"));
}

QStringList RegionChoices(const QSqlDatabase &db)
{
    return FillComboTexts(db, QStringLiteral("jxc_zone"), QStringLiteral("z_name"), QStringLiteral("id"),
                          QStringLiteral("1"));
}
