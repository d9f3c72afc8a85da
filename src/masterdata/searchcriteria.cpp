#include "masterdata/searchcriteria.h"

#include "foundation/sanitize.h"

QStringList SearchTexts(const QString &typed)
{
    const QString t = StripControls(typed).trimmed();
    QStringList out;
    if (t.isEmpty())
        return out;
    for (const QString &form : {t, SafeText(t), SafeTextKeepMath(t)})
        if (!out.contains(form))
            out << form;
    return out;
}

void AddSearchTerm(SearchCriteria &criteria, const QStringList &fields, const QString &typed)
{
    const QStringList texts = SearchTexts(typed);
    if (!texts.isEmpty())
        criteria.terms << SearchTerm{fields, texts};
}

SearchCriteria KeywordCriteria(const QStringList &fields, const QString &typed)
{
    SearchCriteria c;
    AddSearchTerm(c, fields, typed);
    return c;
}
