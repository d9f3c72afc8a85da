#include "engine/printtemplates.h"

#include "foundation/loginstate.h"

namespace {

QString Pick(const QString &chosen, const QString &computed)
{
    return chosen.isEmpty() ? computed : chosen;
}

QString CostVariant(const LoginState &state, const char *stem)
{
    return QString::fromLatin1(stem) + (state.RightShowCost ? QStringLiteral(".fr3") : QStringLiteral("2.fr3"));
}

QString SaleVariant(const LoginState &state, const char *stem)
{
    QString name = QString::fromLatin1(stem) + QStringLiteral(".fr3");
    if (IsTrue(state.UseRetailPrice))
        name = QString::fromLatin1(stem) + QStringLiteral("2.fr3");
    if (!state.RightShowSalePrice)
        name = QString::fromLatin1(stem) + QStringLiteral("4.fr3");
    return name;
}

} // namespace

QString TemplateForDocument(const QString &prefix, const LoginState &state)
{
    const QString p = prefix.left(2);
    if (p == QLatin1String("CJ"))
        return Pick(state.PurchaseInTemplate, CostVariant(state, "cgjh"));
    if (p == QLatin1String("CT"))
        return Pick(state.PurchaseReturnTemplate, CostVariant(state, "cgth"));
    if (p == QLatin1String("CD"))
        return CostVariant(state, "cgd");
    if (p == QLatin1String("XS"))
        return Pick(state.SalesTemplate, SaleVariant(state, "spxs"));
    if (p == QLatin1String("XT"))
        return Pick(state.SalesReturnTemplate, SaleVariant(state, "xsth"));
    if (p == QLatin1String("XH"))
        return QStringLiteral("xshh.fr3");
    if (p == QLatin1String("XD"))
        return state.RightShowSalePrice ? QStringLiteral("xsd.fr3") : QStringLiteral("xsd2.fr3");
    if (p == QLatin1String("DB"))
        return Pick(state.TransferTemplate, state.TransferPriceBasis == QLatin1String("1")
                                                ? QStringLiteral("kcdbd2.fr3")
                                                : QStringLiteral("kcdbd.fr3"));
    if (p == QLatin1String("BS") || p == QLatin1String("BY"))
        return CostVariant(state, "bsby");
    if (p == QLatin1String("CF"))
        return CostVariant(state, "cfd");
    if (p == QLatin1String("KB"))
        return CostVariant(state, "kbd");
    if (p == QLatin1String("PD"))
        return QStringLiteral("kcpdd.fr3");
    if (p == QLatin1String("JH") || p == QLatin1String("HH"))
        return QStringLiteral("khjh.fr3");
    if (p == QLatin1String("SC"))
        return Pick(state.ProductionInTemplate, CostVariant(state, "scrkd"));
    if (p == QLatin1String("ST"))
        return Pick(state.ProductionReturnTemplate, CostVariant(state, "sctkd"));
    if (p == QLatin1String("LY"))
        return Pick(state.DeptIssueTemplate, CostVariant(state, "bmlyd"));
    if (p == QLatin1String("LT"))
        return Pick(state.DeptReturnTemplate, CostVariant(state, "bmthd"));
    if (p == QLatin1String("LF"))
        return CostVariant(state, "bmbfd");
    return QString();
}

bool PrintCodesForDocument(const QString &prefix, QString *printType, QString *lineCode)
{
    static const QList<std::pair<const char *, std::pair<const char *, const char *>>> codes = {
        {"CJ", {"cgjh", "CJ"}}, {"CT", {"cgth", "CT"}}, {"CD", {"cgd", "CD"}},   {"XS", {"spxs", "XS"}},
        {"XT", {"xsth", "XT"}}, {"XH", {"xshh", "XH"}}, {"XD", {"spdd", "XD"}},  {"DB", {"kcdb", "DB"}},
        {"CF", {"spcf", "CF"}}, {"KB", {"spkb", "KB"}}, {"BS", {"spbs", "BS"}},  {"BY", {"spby", "BY"}},
        {"PD", {"kcpd", "PD"}}, {"JH", {"khjh", "khjh"}}, {"HH", {"khjh", "khjh"}}, {"SC", {"SC", "SC"}},
        {"ST", {"SC", "ST"}},   {"LY", {"LY", "LY"}},   {"LT", {"LY", "LT"}},    {"LF", {"LY", "LT"}},
    };
    const QString p = prefix.left(2);
    for (const auto &c : codes) {
        if (p == QLatin1String(c.first)) {
            if (printType)
                *printType = QString::fromLatin1(c.second.first);
            if (lineCode)
                *lineCode = QString::fromLatin1(c.second.second);
            return true;
        }
    }
    return false;
}
