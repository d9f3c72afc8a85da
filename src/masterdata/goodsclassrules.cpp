#include "masterdata/goodsclassrules.h"

#include "foundation/columnwidth.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/goods.h"
#include "foundation/notices.h"
#include "foundation/pinyin.h"
#include "foundation/sanitize.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

const QString kClassColumns = QStringLiteral("id, gc_key, gc_pid, gc_cid, gc_sn, gc_name, gc_jm");

GoodsClassRow readClass(const QSqlQuery &q)
{
    GoodsClassRow r;
    r.id = q.value(0).toLongLong();
    r.key = q.value(1).toInt();
    r.parent = q.value(2).toInt();
    r.cid = q.value(3).toInt();
    r.sn = q.value(4).toString();
    r.name = q.value(5).toString();
    r.jm = q.value(6).toString();
    return r;
}

std::optional<GoodsClassRow> oneClass(const QSqlDatabase &db, const QString &where, const QVariant &value)
{
    QSqlQuery q = OpenSelect(db, QStringLiteral("select ") + kClassColumns
                                     + QStringLiteral(" from jxc_goodsclass where ") + where
                                     + QStringLiteral(" order by gc_key limit 1"),
                             {value});
    if (!q.next())
        return std::nullopt;
    return readClass(q);
}

}  // namespace

QList<GoodsClassRow> LoadGoodsClasses(const QSqlDatabase &db)
{
    QList<GoodsClassRow> rows;
    QSqlQuery q = OpenSelect(db, QStringLiteral("select ") + kClassColumns
                                     + QStringLiteral(" from jxc_goodsclass order by gc_key, id"));
    while (q.next())
        rows << readClass(q);
    return rows;
}

std::optional<GoodsClassRow> GoodsClassByKey(const QSqlDatabase &db, int key)
{
    return oneClass(db, QStringLiteral("gc_key = ?"), key);
}

std::optional<GoodsClassRow> GoodsClassBySn(const QSqlDatabase &db, const QString &sn)
{
    return oneClass(db, QStringLiteral("gc_sn = ?"), sn);
}

std::optional<GoodsClassRow> GoodsClassRules::create(int parentKey)
{
    const std::optional<GoodsClassRow> parent = GoodsClassByKey(m_db, parentKey);
    if (!parent)
        return std::nullopt;
    if (parent->sn.size() >= 16) {
        m_notices.notice(QStringLiteral("该类别层数已到底层，不能添加下级类别！"));
        return std::nullopt;
    }
    try {
        Transaction tx(m_db);
        int key = QueryScalar(m_db, QStringLiteral("select max(gc_key) from jxc_goodsclass")).toInt() + 1;
        // 2 and 20 would both give goods codes starting with "200".
        if (key > 10 && key % 10 == 0)
            ++key;
        const qint64 id = InsertReturningId(
            m_db,
            QStringLiteral("insert into jxc_goodsclass (gc_key, gc_pid, gc_name) values (?, ?, ?)"),
            {key, parentKey, QString::fromUtf8(kNewClassName)});
        if (PostGoodsClass(m_db, id).isEmpty()) {
            m_notices.notice(QStringLiteral("该类别下的类别编号已用完，不能添加下级类别！"));
            return std::nullopt;  // rolled back
        }
        tx.commit();
        return GoodsClassByKey(m_db, key);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("创建类别失败：") + e.text());
        return std::nullopt;
    }
}

bool GoodsClassRules::rename(int key, const QString &name)
{
    const QString trimmed = StripControls(name).trimmed();
    if (trimmed.isEmpty())
        return false;
    const QString tooLong = TooLongRefusal(QStringLiteral("类别名称"), trimmed, QStringLiteral("jxc_goodsclass"),
                                           QStringLiteral("gc_name"));
    if (!tooLong.isEmpty()) {
        m_notices.notice(tooLong);
        return false;
    }
    const std::optional<GoodsClassRow> row = GoodsClassByKey(m_db, key);
    if (!row)
        return false;
    try {
        Transaction tx(m_db);
        RenameGoodsClass(m_db, row->id, trimmed);
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("类别重命名失败：") + e.text());
        return false;
    }
}

bool GoodsClassRules::remove(int key)
{
    const std::optional<GoodsClassRow> row = GoodsClassByKey(m_db, key);
    if (!row)
        return false;
    if (row->isRoot() || row->sn == QLatin1String(kDefaultClassSn)) {
        m_notices.notice(QStringLiteral("该类别是系统内置类别，不能删除！"));
        return false;
    }
    const Dialect d = Dialect::of(m_db);
    if (!row->sn.isEmpty()
        && !QueryScalar(m_db,
                        QStringLiteral("select g_sn from jxc_goods where ") + d.likeClause(QStringLiteral("gc_sn"))
                            + QStringLiteral(" order by id limit 1"),
                        {Dialect::startsWithPattern(row->sn)})
                .isEmpty()) {
        m_notices.notice(QStringLiteral("该类别下有商品信息，不能删除！"));
        return false;
    }
    if (!m_notices.confirm(QStringLiteral("您确定要删除当前类别吗?")))
        return false;

    // The class and every class below it (found through the parent keys).
    const QList<GoodsClassRow> all = LoadGoodsClasses(m_db);
    QList<int> doomed{row->key};
    for (int i = 0; i < doomed.size(); ++i)
        for (const GoodsClassRow &c : all)
            if (c.parent == doomed.at(i) && c.key != c.parent && !doomed.contains(c.key))
                doomed << c.key;
    try {
        Transaction tx(m_db);
        for (int k : doomed)
            RunSql(m_db, QStringLiteral("delete from jxc_goodsclass where gc_key = ? and gc_pid <> 0"), {k});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除类别失败：") + e.text());
        return false;
    }
}

QString GoodsClassRules::search(const QString &text, bool perKey) const
{
    if (text.isEmpty())
        return QString();
    const Dialect d = Dialect::of(m_db);
    const QString p = Dialect::startsWithPattern(text);
    const QString jm = d.likeClause(QStringLiteral("gc_jm"));
    const QString name = d.likeClause(QStringLiteral("gc_name"));
    // While typing, only real classes; the button's search lets the short code find the root.
    const QString where = perKey ? QStringLiteral("(") + jm + QStringLiteral(" or ") + name
                                       + QStringLiteral(") and gc_pid <> 0")
                                 : jm + QStringLiteral(" or (") + name + QStringLiteral(" and gc_pid <> 0)");
    return QueryScalar(m_db,
                       QStringLiteral("select gc_name from jxc_goodsclass where ") + where
                           + QStringLiteral(" order by gc_key limit 1"),
                       {p, p});
}
