#pragma once

// The document-note presets (jxc_djbz) of the note dialog "单据备注信息设置", the remarks already
// typed on purchase receipts, and which callers receive the chosen text.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct NotePreset
{
    qint64 id = 0;
    QString sn;    // dj_sn
    QString text;  // dj_name
};

// Every preset by id.
QList<NotePreset> LoadNotePresets(const QSqlDatabase &db);

// The first ten non-empty remarks (j_note) of purchase receipts (jxc_jhd) by id.
QStringList LoadNoteHistory(const QSqlDatabase &db);

// Whether the note dialog hands its text to a caller of this tag: the purchase receipt "jh",
// purchase return "th", sale "xs" and sales return "xsth". Other tags receive nothing.
bool NoteTagTakesText(const QString &callerTag);

struct NotePresetResult
{
    enum class Status { Saved, Refused, Failed };
    Status status = Status::Saved;
    QString text;  // refusal or failure to show
    QString sn;    // the saved preset's code
};

// Saves the typed text as a new preset (`presetSn` empty) or over the preset `presetSn`:
// "备注信息必须填写！" for a blank text; "备注信息不能重复！" when another preset holds the same
// text (SafeText applied, letter case ignored); then one transaction adds (dj_sn by GetNewSn)
// or updates. A database error gives "保存失败：" + the reason.
NotePresetResult SaveNotePreset(const QSqlDatabase &db, const QString &presetSn, const QString &typed);

// Deletes the preset `presetSn`.
void DeleteNotePreset(const QSqlDatabase &db, const QString &presetSn);
