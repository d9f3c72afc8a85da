#include "masterdata/zonerules.h"

#include "masterdata/recordusage.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/notices.h"
#include "foundation/pinyin.h"
#include "foundation/sqlnames.h"

ListStatement ZoneRules::statement() const
{
    return {QStringLiteral("select * from jxc_zone"), QStringLiteral("id"), {}};
}

SearchCriteria ZoneRules::keyCriteria(const QString &key)
{
    return KeywordCriteria({QStringLiteral("z_sn"), QStringLiteral("z_name"), QStringLiteral("z_jm")}, key);
}

RecordSaveResult ZoneRules::save(qint64 id, const QString &typed, bool isDefault)
{
    if (typed.trimmed().isEmpty()) {
        m_notices.notice(QStringLiteral("地区名称必须填写！"));
        return RecordSaveResult::refused();
    }
    const QString name = StoredText(QStringLiteral("jxc_zone"), QStringLiteral("z_name"), typed, TextForm::KeepMath);
    const QString shortCode = CutToColumn(QStringLiteral("jxc_zone"), QStringLiteral("z_jm"), GetPY(name));
    try {
        QString code;
        RunWithFreshCodes(m_db, [&](CodeDraws &draws) {
            Transaction tx(m_db);
            if (isDefault)
                RunSql(m_db, QStringLiteral("update jxc_zone set z_default = 0"));
            if (id > 0) {
                code = QueryScalar(m_db, QStringLiteral("select z_sn from jxc_zone where id = ?"), {id});
                RunSql(m_db, QStringLiteral("update jxc_zone set z_jm = ?, z_name = ?, z_default = ? where id = ?"),
                       {shortCode, name, isDefault ? 1 : 0, id});
            } else {
                code = draws.draw(QStringLiteral("jxc_zone"), QStringLiteral("z_sn"));
                RunSql(m_db, QStringLiteral("insert into jxc_zone (z_sn, z_jm, z_name, z_default) values (?, ?, ?, ?)"),
                       {code, shortCode, name, isDefault ? 1 : 0});
            }
            tx.commit();
        });
        return RecordSaveResult::savedAs(code);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存地区信息失败：") + e.text());
        return RecordSaveResult::failed();
    }
}

bool ZoneRules::remove(qint64 id)
{
    try {
        const QString name = QueryScalar(m_db, QStringLiteral("select z_name from jxc_zone where id = ?"), {id});
        if (AnyRow(m_db,
                   {QStringLiteral("select 1 from jxc_ghsxx where z_name = ?"),
                    QStringLiteral("select 1 from jxc_khxx where z_name = ?")},
                   {name, name})) {
            m_notices.notice(QStringLiteral("该地区供货商在使用，不能删除！"));
            return false;
        }
        if (!m_notices.confirm(QStringLiteral("您确定要删除当前地区吗！")))
            return false;
        Transaction tx(m_db);
        RunSql(m_db, QStringLiteral("delete from jxc_zone where id = ?"), {id});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}
