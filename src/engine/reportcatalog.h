#pragma once

// The catalogue of report templates (jxc_bbgl) that the report-design screen lists: categories,
// the list statement, saving, deleting and restoring the default rows.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantList>

class Clock;

struct ReportCategory
{
    int code;         // b_lx
    QString caption;  // b_lxmc
};

// "进货管理" 0, "销售管理" 1, "库存管理" 2, "往来账款" 3, "统计报表" 4, "系统设置" 6.
const QList<ReportCategory> &ReportCategories();
// The caption of a category code; "" for an unknown one.
QString ReportCategoryCaption(int code);

// The list (Q_GoodsPrice of the catalogue screen): every row, or those of one category
// (category < 0: all). Ordered by b_lx, id.
QString ReportCatalogSql(int category, QVariantList *binds);
inline QString ReportCatalogOrder() { return QStringLiteral("b_lx, id"); }

// How the editor panel stores its row.
enum class CatalogEditMode { Add, Modify };

struct CatalogEntry
{
    QString name;  // 报表名称
    QString file;  // 报表文件名
    int category = 0;
};

struct CatalogSaveResult
{
    QString refusal;  // "" when stored
    QVariant id;      // the row stored
};

// "确定": refuses an empty name ("请输入报表名称！") or file ("请输入报表文件名！") and a file
// name holding a path ("报表文件名不能包含路径！"); adding takes a new b_sn (GetNewSn), the name
// passes SafeTextKeepMath, the file is trimmed; b_lx and b_lxmc follow the category.
// `id` is the row modified (ignored when adding).
CatalogSaveResult SaveCatalogEntry(const QSqlDatabase &db, CatalogEditMode mode, const QVariant &id,
                                   const CatalogEntry &entry);

// Deletes the catalogue row; the template file stays.
void DeleteCatalogEntry(const QSqlDatabase &db, const QVariant &id);

// "读取报表信息": the default catalogue again (the table recreated with its 118 rows).
void RestoreDefaultCatalog(const QSqlDatabase &db, const Clock &clock);

// Whether a stored file name may reach the file system (no "/", "\" or "..").
bool IsPlainTemplateName(const QString &file);
