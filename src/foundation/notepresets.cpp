#include "foundation/notepresets.h"

#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/numbering.h"
#include "foundation/sanitize.h"
#include "foundation/sqlnames.h"

#include <QSqlQuery>

QList<NotePreset> LoadNotePresets(const QSqlDatabase &db)
{
    QList<NotePreset> presets;
    QSqlQuery q = OpenSelect(db, QStringLiteral("select id, dj_sn, dj_name from jxc_djbz order by id"));
    while (q.next())
        presets.append({q.value(0).toLongLong(), ValueText(q.value(1)), ValueText(q.value(2))});
    return presets;
}

QStringList LoadNoteHistory(const QSqlDatabase &db)
{
    QStringList notes;
    QSqlQuery q = OpenSelect(db, QStringLiteral("select j_note from jxc_jhd where j_note <> '' order by id limit 10"));
    while (q.next())
        notes << ValueText(q.value(0));
    return notes;
}

bool NoteTagTakesText(const QString &callerTag)
{
    static const QStringList tags = {QStringLiteral("jh"), QStringLiteral("th"), QStringLiteral("xs"),
                                     QStringLiteral("xsth")};
    return tags.contains(callerTag);
}

NotePresetResult SaveNotePreset(const QSqlDatabase &db, const QString &presetSn, const QString &typed)
{
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty())
        return {NotePresetResult::Status::Refused, QStringLiteral("备注信息必须填写！"), QString()};
    const QString text = CutToColumn(QStringLiteral("jxc_djbz"), QStringLiteral("dj_name"), SafeText(trimmed));
    try {
        Transaction tx(db);
        // Equal texts, letter case ignored: a LIKE pattern without wildcards.
        const QString twin =
            QueryScalar(db,
                        QStringLiteral("select dj_sn from jxc_djbz where ") + Dialect::of(db).likeClause(QStringLiteral("dj_name"))
                            + QStringLiteral(" and coalesce(dj_sn, '') <> ? limit 1"),
                        {Dialect::escapeLike(text), presetSn.isEmpty() ? QStringLiteral("") : presetSn});
        if (!twin.isEmpty())
            return {NotePresetResult::Status::Refused, QStringLiteral("备注信息不能重复！"), QString()};
        QString sn = presetSn;
        if (sn.isEmpty()) {
            sn = GetNewSn(db, QStringLiteral("jxc_djbz"), QStringLiteral("dj_sn"));
            RunSql(db, QStringLiteral("insert into jxc_djbz (dj_sn, dj_name) values (?, ?)"), {sn, text});
        } else {
            RunSql(db, QStringLiteral("update jxc_djbz set dj_name = ? where dj_sn = ?"), {text, sn});
        }
        tx.commit();
        return {NotePresetResult::Status::Saved, QString(), sn};
    } catch (const DbError &e) {
        return {NotePresetResult::Status::Failed, QStringLiteral("保存失败：") + e.text(), QString()};
    }
}

void DeleteNotePreset(const QSqlDatabase &db, const QString &presetSn)
{
    RunSql(db, QStringLiteral("delete from jxc_djbz where dj_sn = ?"), {presetSn});
}
