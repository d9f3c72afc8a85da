#pragma once

// The four look-up lists that goods carry as text: units, colours, specifications and shelf
// locations. One class, driven by the table of the members' differences. No log lines.
// QtCore + QtSql.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Notices;
struct ListStatement;

enum class LookupKind { Unit, Colour, Spec, Shelf };

struct LookupMember
{
    LookupKind kind;
    const char *table;
    const char *codeColumn;
    const char *nameColumn;
    const char *listClass;      // TF_Dwgl …
    const char *listCaption;    // "单位管理" …
    const char *codeCaption;    // grid column captions
    const char *nameCaption;
    const char *addClass;       // TF_Dwgl_Add …
    const char *addCaption;
    const char *nameLabel;      // "单位名称：" …
    int nameLength;
    const char *emptyMessage;
    const char *deleteQuestion;
    bool newestFirst;           // list order: id desc (shelves: id)
};

const LookupMember &LookupMemberOf(LookupKind kind);
const QList<LookupKind> &LookupKinds();

class LookupListRules
{
public:
    LookupListRules(const QSqlDatabase &db, Notices &notices, LookupKind kind)
        : m_db(db), m_notices(notices), m_member(LookupMemberOf(kind))
    {
    }

    const LookupMember &member() const { return m_member; }

    // The list window's rows (id, code, name) in its order.
    ListStatement listStatement() const;

    // "保存(F5)" of the add dialog: the new code, or the empty text when refused (empty name).
    QString add(const QString &name);

    // "删除" on the row `id`: the default shelf is refused; the question; true when deleted.
    bool remove(qint64 id);

    // The caller's combo items: units "增加新单位..." first, then the names in list order.
    QStringList comboItems() const;

private:
    QSqlDatabase m_db;
    Notices &m_notices;
    const LookupMember &m_member;
};
