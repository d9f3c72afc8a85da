#include "masterdata/lookuplistrules.h"

#include "masterdata/goodslistquery.h"
#include "masterdata/goodsrules.h"

#include "foundation/columnwidth.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/keyedlists.h"
#include "foundation/notices.h"
#include "foundation/numbering.h"
#include "foundation/sanitize.h"

const QList<LookupKind> &LookupKinds()
{
    static const QList<LookupKind> kinds{LookupKind::Unit, LookupKind::Colour, LookupKind::Spec, LookupKind::Shelf};
    return kinds;
}

const LookupMember &LookupMemberOf(LookupKind kind)
{
    static const LookupMember members[] = {
        {LookupKind::Unit, "jxc_dw", "dw_sn", "dw_name", "TF_Dwgl", "单位管理", "编号", "单位名称", "TF_Dwgl_Add",
         "增加单位", "单位名称：", 32, "单位名称必须填写！", "您确定要删除该单位信息吗！", true},
        {LookupKind::Colour, "jxc_color", "color_sn", "color_name", "TF_Color", "颜色管理", "编号", "颜色名称",
         "TF_Color_Add", "颜色", "颜色名称：", 64, "颜色名称必须填写！", "您确定要删除该颜色信息吗！", true},
        {LookupKind::Spec, "jxc_ggxh", "gg_sn", "gg_name", "TF_Ggxh", "规格型号", "编号", "规格型号", "TF_Ggxh_Add",
         "增加规格型号", "规格型号名称：", 64, "规格型号名称必须填写！", "您确定要删除该规格型号吗！", true},
        {LookupKind::Shelf, "jxc_hjxx", "hj_sn", "hj_name", "TF_HJxx", "库位信息", "库位编号", "库位名称",
         "TF_Hjxx_Add", "增加货架信息", "货架名称：", 64, "库位名称必须填写！", "您确定要删除该库位信息吗！", false},
    };
    return members[int(kind)];
}

ListStatement LookupListRules::listStatement() const
{
    ListStatement s;
    s.body = QStringLiteral("select id, %1, %2 from %3")
                 .arg(QLatin1String(m_member.codeColumn), QLatin1String(m_member.nameColumn),
                      QLatin1String(m_member.table));
    s.order = m_member.newestFirst ? QStringLiteral("id desc") : QStringLiteral("id");
    return s;
}

QString LookupListRules::add(const QString &name)
{
    const QString trimmed = StripControls(name).trimmed();
    if (trimmed.isEmpty()) {
        m_notices.notice(QString::fromUtf8(m_member.emptyMessage));
        return QString();
    }
    const QString tooLong = TooLongRefusal(QString::fromUtf8(m_member.nameCaption), SafeText(trimmed),
                                           QLatin1String(m_member.table), QLatin1String(m_member.nameColumn));
    if (!tooLong.isEmpty()) {
        m_notices.notice(tooLong);
        return QString();
    }
    const QString table = QLatin1String(m_member.table);
    const QString code = QLatin1String(m_member.codeColumn);
    try {
        Transaction tx(m_db);
        const QString sn = GetNewSn(m_db, table, code);
        RunSql(m_db, QStringLiteral("insert into %1 (%2, %3) values (?, ?)").arg(table, code, QLatin1String(m_member.nameColumn)),
               {sn, SafeText(trimmed)});
        tx.commit();
        return sn;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存失败：") + e.text());
        return QString();
    }
}

bool LookupListRules::remove(qint64 id)
{
    const QString table = QLatin1String(m_member.table);
    const QString sn = QueryScalar(m_db, QStringLiteral("select %1 from %2 where id = ?")
                                             .arg(QLatin1String(m_member.codeColumn), table),
                                   {id});
    if (m_member.kind == LookupKind::Shelf && sn == QLatin1String("100001")) {
        m_notices.notice(QStringLiteral("默认库位不能删除！"));
        return false;
    }
    if (!m_notices.confirm(QString::fromUtf8(m_member.deleteQuestion)))
        return false;
    try {
        Transaction tx(m_db);
        RunSql(m_db, QStringLiteral("delete from %1 where id = ?").arg(table), {id});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}

QStringList LookupListRules::comboItems() const
{
    const QString order = m_member.newestFirst ? QStringLiteral("id desc") : QStringLiteral("id");
    return FillComboTexts(m_db, QLatin1String(m_member.table), QLatin1String(m_member.nameColumn), order,
                          QStringLiteral("0"),
                          m_member.kind == LookupKind::Unit ? QString::fromUtf8(kNewUnitItem) : QString());
}
