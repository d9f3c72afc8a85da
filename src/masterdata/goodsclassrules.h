#pragma once

// The goods class tree: reading the classes, creating, renaming and deleting a class, and the
// class searches of the goods window. Refusals and questions go through the notice service;
// every write is one transaction. QtCore + QtSql.

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class Notices;

struct GoodsClassRow
{
    qint64 id = 0;
    int key = 0;     // gc_key
    int parent = 0;  // gc_pid (0 for the root)
    int cid = 0;     // gc_cid, the class number
    QString sn;      // gc_sn
    QString name;    // gc_name
    QString jm;      // gc_jm

    bool isRoot() const { return parent == 0; }
};

inline constexpr const char *kNewClassName = "新类别";
inline constexpr const char *kDefaultClassSn = "1000";

// Every class by gc_key (the tree's order).
QList<GoodsClassRow> LoadGoodsClasses(const QSqlDatabase &db);
std::optional<GoodsClassRow> GoodsClassByKey(const QSqlDatabase &db, int key);
std::optional<GoodsClassRow> GoodsClassBySn(const QSqlDatabase &db, const QString &sn);

class GoodsClassRules
{
public:
    GoodsClassRules(const QSqlDatabase &db, Notices &notices) : m_db(db), m_notices(notices) {}

    // A class "新类别" under the class `parentKey`: the next key (a key above 10 that is a
    // multiple of 10 is skipped), its code, short code and class number. Refused below a
    // 16-character code. The new row, or nothing when refused or failed.
    std::optional<GoodsClassRow> create(int parentKey);

    // New name and short code. An empty (or blank) name keeps the old one: false.
    bool rename(int key, const QString &name);

    // Refusals for the root and the default class and for a class holding goods (its
    // sub-classes included), then the question; Yes deletes the class and its sub-classes.
    bool remove(int key);

    // The class a typed text finds (short code or name starting with it), as the tree's text.
    // `perKey` is the search while typing (never the root); otherwise the button's search,
    // which may also find the root by its short code. Empty when none.
    QString search(const QString &text, bool perKey) const;

private:
    QSqlDatabase m_db;
    Notices &m_notices;
};
