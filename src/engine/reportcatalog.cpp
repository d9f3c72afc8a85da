#include "engine/reportcatalog.h"

#include "foundation/columnwidth.h"
#include "foundation/db/clock.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/numbering.h"
#include "foundation/sanitize.h"
#include "foundation/schema/creators.h"

const QList<ReportCategory> &ReportCategories()
{
    static const QList<ReportCategory> categories{
        {0, QStringLiteral("进货管理")}, {1, QStringLiteral("销售管理")}, {2, QStringLiteral("库存管理")},
        {3, QStringLiteral("往来账款")}, {4, QStringLiteral("统计报表")}, {6, QStringLiteral("系统设置")},
    };
    return categories;
}

QString ReportCategoryCaption(int code)
{
    for (const ReportCategory &c : ReportCategories()) {
        if (c.code == code)
            return c.caption;
    }
    return QString();
}

QString ReportCatalogSql(int category, QVariantList *binds)
{
    QString sql = QStringLiteral("select id, b_sn, b_lx, b_lxmc, b_name, b_file from jxc_bbgl");
    if (category >= 0) {
        sql += QStringLiteral(" where b_lx = ?");
        if (binds)
            binds->append(category);
    }
    return sql;
}

bool IsPlainTemplateName(const QString &file)
{
    return !file.contains(QLatin1Char('/')) && !file.contains(QLatin1Char('\\'))
           && !file.contains(QLatin1String(".."));
}

CatalogSaveResult SaveCatalogEntry(const QSqlDatabase &db, CatalogEditMode mode, const QVariant &id,
                                   const CatalogEntry &entry)
{
    CatalogSaveResult result;
    // The columns hold 32 characters; the boxes take no more.
    const QString name = CutToColumn(QStringLiteral("jxc_bbgl"), QStringLiteral("b_name"),
                                     SafeTextKeepMath(entry.name.trimmed()));
    const QString file = CutToColumn(QStringLiteral("jxc_bbgl"), QStringLiteral("b_file"),
                                     StripControls(entry.file).trimmed());
    if (name.isEmpty()) {
        result.refusal = QStringLiteral("请输入报表名称！");
        return result;
    }
    if (file.isEmpty()) {
        result.refusal = QStringLiteral("请输入报表文件名！");
        return result;
    }
    if (!IsPlainTemplateName(file)) {
        result.refusal = QStringLiteral("报表文件名不能包含路径！");
        return result;
    }
    const QString caption = ReportCategoryCaption(entry.category);
    const int category = caption.isEmpty() ? 0 : entry.category;
    const QString storedCaption = caption.isEmpty() ? ReportCategoryCaption(0) : caption;

    Transaction tx(db);
    if (mode == CatalogEditMode::Add) {
        const QString sn = GetNewSn(db, QStringLiteral("jxc_bbgl"), QStringLiteral("b_sn"));
        result.id = InsertReturningId(
            db, QStringLiteral("insert into jxc_bbgl (b_sn, b_lx, b_lxmc, b_name, b_file) values (?, ?, ?, ?, ?)"),
            {sn, category, storedCaption, name, file});
    } else {
        RunSql(db, QStringLiteral("update jxc_bbgl set b_lx = ?, b_lxmc = ?, b_name = ?, b_file = ? where id = ?"),
               {category, storedCaption, name, file, id.toLongLong()});
        result.id = id;
    }
    tx.commit();
    return result;
}

void DeleteCatalogEntry(const QSqlDatabase &db, const QVariant &id)
{
    RunSql(db, QStringLiteral("delete from jxc_bbgl where id = ?"), {id.toLongLong()});
}

void RestoreDefaultCatalog(const QSqlDatabase &db, const Clock &clock)
{
    Transaction tx(db);
    CreateBbglTable(db, clock);
    tx.commit();
}
