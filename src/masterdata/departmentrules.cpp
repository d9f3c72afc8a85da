#include "masterdata/departmentrules.h"

#include "masterdata/partnerkind.h"
#include "masterdata/recordusage.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/notices.h"

ListStatement DepartmentRules::statement()
{
    return {QStringLiteral("select * from jxc_dept"), QStringLiteral("id"), {}};
}

SearchCriteria DepartmentRules::searchCriteria(const QString &text)
{
    return KeywordCriteria({QStringLiteral("de_name"), QStringLiteral("de_sn")}, text);
}

RecordSaveResult DepartmentRules::save(qint64 id, const QString &typed)
{
    if (typed.trimmed().isEmpty()) {
        m_notices.notice(QStringLiteral("部门名称必须填写！"));
        return RecordSaveResult::refused();
    }
    const QString name = StoredText(QStringLiteral("jxc_dept"), QStringLiteral("de_name"), typed, TextForm::Safe);
    try {
        QString code;
        RunWithFreshCodes(m_db, [&](CodeDraws &draws) {
            Transaction tx(m_db);
            if (id > 0) {
                code = QueryScalar(m_db, QStringLiteral("select de_sn from jxc_dept where id = ?"), {id});
                const QString old = QueryScalar(m_db, QStringLiteral("select de_name from jxc_dept where id = ?"), {id});
                RunSql(m_db, QStringLiteral("update jxc_dept set de_name = ? where id = ?"), {name, id});
                // Ledger rows name a department in their partner columns.
                if (old != name)
                    RunSql(m_db, QStringLiteral("update jxc_goodslist set ghs_name = ? where ghs_sn = ? and ghs_name = ?"),
                           {name, code, old});
            } else {
                code = draws.draw(QStringLiteral("jxc_dept"), QStringLiteral("de_sn"));
                RunSql(m_db, QStringLiteral("insert into jxc_dept (de_sn, de_name) values (?, ?)"), {code, name});
            }
            tx.commit();
        });
        return RecordSaveResult::savedAs(code);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存部门信息失败：") + e.text());
        return RecordSaveResult::failed();
    }
}

bool DepartmentRules::inUse(const QString &code) const
{
    QStringList selects{QStringLiteral("select 1 from jxc_yyfy where de_sn = ?")};
    QVariantList binds{code};
    for (const QString &t : HeaderTablesWith(QStringLiteral("de_sn"))) {
        selects << QStringLiteral("select 1 from %1 where de_sn = ?").arg(t);
        binds << code;
    }
    return AnyRow(m_db, selects, binds);
}

bool DepartmentRules::remove(qint64 id)
{
    try {
        const QString code = QueryScalar(m_db, QStringLiteral("select de_sn from jxc_dept where id = ?"), {id});
        if (code == QLatin1String(kBuiltInSn)) {
            m_notices.notice(QStringLiteral("该部门是系统内置部门，不能删除！"));
            return false;
        }
        if (inUse(code)) {
            m_notices.notice(QStringLiteral("该部门已经在使用，不能删除！"));
            return false;
        }
        if (!m_notices.confirm(QStringLiteral("您确定要删除该部门信息吗！")))
            return false;
        Transaction tx(m_db);
        if (inUse(code)) {
            m_notices.notice(QStringLiteral("该部门已经在使用，不能删除！"));
            return false;
        }
        RunSql(m_db, QStringLiteral("delete from jxc_dept where id = ?"), {id});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}

DepartmentAnswer DepartmentRules::answer(const QString &callerTag, const QString &currentName, bool confirmed) const
{
    DepartmentAnswer a;
    static const QStringList reloading{QStringLiteral("bmly"), QStringLiteral("bmth"), QStringLiteral("scrk"),
                                       QStringLiteral("sctk")};
    if (reloading.contains(callerTag)) {
        a.reload = true;
        return a;
    }
    if (confirmed && (callerTag == QLatin1String("fyjsr_add") || callerTag == QLatin1String("fyjsr_add1"))) {
        a.refill = true;
        a.items = LoadKeyedComboWhere(m_db, QStringLiteral("jxc_dept"), QStringLiteral("de_name"),
                                      QStringLiteral("de_sn"), QStringLiteral("id"), SqlWhere("1=1"),
                                      QString::fromUtf8(kNewDepartmentItem));
        a.select = currentName;
    }
    return a;
}
