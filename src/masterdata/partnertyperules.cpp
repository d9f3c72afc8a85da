#include "masterdata/partnertyperules.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/notices.h"

ListStatement PartnerTypeRules::customerTypeStatement() const
{
    return {QStringLiteral("select * from jxc_khtype"), QStringLiteral("id"), {}};
}

KeyedItems PartnerTypeRules::customerTypeItems() const
{
    return LoadKeyedCombo(m_db, QStringLiteral("jxc_khtype"), QStringLiteral("kt_name"), QStringLiteral("kt_sn"),
                          QStringLiteral("id"));
}

bool PartnerTypeRules::renameCustomerType(qint64 id, const QString &typed)
{
    if (typed.trimmed().isEmpty()) {
        m_notices.notice(QStringLiteral("级别名称必须填写！"));
        return false;
    }
    const QString name = StoredText(QStringLiteral("jxc_khtype"), QStringLiteral("kt_name"), typed, TextForm::Safe);
    try {
        Transaction tx(m_db);
        const QString code = QueryScalar(m_db, QStringLiteral("select kt_sn from jxc_khtype where id = ?"), {id});
        RunSql(m_db, QStringLiteral("update jxc_khtype set kt_name = ? where id = ?"), {name, id});
        // Customers carry the type by its code; their copy of the name follows.
        if (!code.isEmpty())
            RunSql(m_db, QStringLiteral("update jxc_khxx set kt_name = ? where kt_sn = ?"), {name, code});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存客户类型失败：") + e.text());
        return false;
    }
}

ListStatement PartnerTypeRules::supplierTypeStatement() const
{
    return {QStringLiteral("select * from jxc_ghstype"), QStringLiteral("id"), {}};
}

QStringList PartnerTypeRules::supplierTypeTexts() const
{
    return FillComboTexts(m_db, QStringLiteral("jxc_ghstype"), QStringLiteral("gt_name"), QStringLiteral("id"),
                          QStringLiteral("1"));
}

RecordSaveResult PartnerTypeRules::saveSupplierType(qint64 id, const QString &typed, bool isDefault)
{
    if (typed.trimmed().isEmpty()) {
        m_notices.notice(QStringLiteral("供货商类型名称必须填写！"));
        return RecordSaveResult::refused();
    }
    const QString name = StoredText(QStringLiteral("jxc_ghstype"), QStringLiteral("gt_name"), typed, TextForm::KeepMath);
    try {
        QString code;
        RunWithFreshCodes(m_db, [&](CodeDraws &draws) {
            Transaction tx(m_db);
            if (isDefault)
                RunSql(m_db, QStringLiteral("update jxc_ghstype set gt_default = 0"));
            if (id > 0) {
                const QString old = QueryScalar(m_db, QStringLiteral("select gt_name from jxc_ghstype where id = ?"), {id});
                code = QueryScalar(m_db, QStringLiteral("select gt_sn from jxc_ghstype where id = ?"), {id});
                RunSql(m_db, QStringLiteral("update jxc_ghstype set gt_name = ?, gt_default = ? where id = ?"),
                       {name, isDefault ? 1 : 0, id});
                // Suppliers carry the type by its name.
                if (old != name)
                    RunSql(m_db, QStringLiteral("update jxc_ghsxx set gt_name = ? where gt_name = ?"), {name, old});
            } else {
                code = draws.draw(QStringLiteral("jxc_ghstype"), QStringLiteral("gt_sn"));
                RunSql(m_db, QStringLiteral("insert into jxc_ghstype (gt_sn, gt_name, gt_default) values (?, ?, ?)"),
                       {code, name, isDefault ? 1 : 0});
            }
            tx.commit();
        });
        return RecordSaveResult::savedAs(code);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存供货商类型失败：") + e.text());
        return RecordSaveResult::failed();
    }
}

bool PartnerTypeRules::removeSupplierType(qint64 id)
{
    try {
        const QString name = QueryScalar(m_db, QStringLiteral("select gt_name from jxc_ghstype where id = ?"), {id});
        if (!QueryScalar(m_db, QStringLiteral("select id from jxc_ghsxx where gt_name = ? limit 1"), {name}).isEmpty()) {
            m_notices.notice(QStringLiteral("该类型供货商在使用，不能删除！"));
            return false;
        }
        if (!m_notices.confirm(QStringLiteral("您确定要删除当前类型吗！")))
            return false;
        Transaction tx(m_db);
        RunSql(m_db, QStringLiteral("delete from jxc_ghstype where id = ?"), {id});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}
