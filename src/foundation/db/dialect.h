#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The SQL differences between the two database kinds, kept in one place. Rules build SQL from
// these fragments and bind every value; they never test the driver themselves.
enum class DbKind { Sqlite, Postgres };

enum class ColType { Varchar, NVarchar, Numeric, Int, Bit, Text };

// Table locks a change of the schema takes first: SHARE for CREATE INDEX (writers wait, readers
// do not), ACCESS EXCLUSIVE for ALTER TABLE and DROP TABLE. EXCLUSIVE keeps every other writer
// out until the commit while other sessions still read (the period closing).
enum class TableLock { Share, Exclusive, AccessExclusive };

class Dialect
{
public:
    explicit Dialect(DbKind kind) : m_kind(kind) {}
    static Dialect of(const QSqlDatabase &db);

    DbKind kind() const { return m_kind; }
    bool isSqlite() const { return m_kind == DbKind::Sqlite; }
    bool isPostgres() const { return m_kind == DbKind::Postgres; }

    // Column type of a declared column ("varchar(8)", "numeric" …) for this kind.
    QString columnType(ColType type, int width) const;
    // The auto-numbered key column "id".
    QString idColumn() const;
    // PostgreSQL: the storage clause of a table whose pages keep `percent` % filled by inserts,
    // " WITH (fillfactor = n)", so that an update of columns in no index finds room on the row's
    // own page (a HOT update: no index entry, the old version pruned with the page). Empty on
    // SQLite and for 0 or 100.
    QString fillFactorClause(int percent) const;
    // PostgreSQL: the statement giving an existing table that fill factor (pages written from
    // then on keep the room); empty where the clause is.
    QString fillFactorStatement(const QString &table, int percent) const;

    // Start of a write transaction: BEGIN IMMEDIATE on SQLite, so that two workstations
    // never both read and then both write.
    QString beginStatement() const;
    // " FOR UPDATE" where rows can be locked (PostgreSQL), empty elsewhere.
    QString forUpdate() const;
    // Inside a transaction: a lock not granted within `milliseconds` fails the statement instead
    // of waiting on (PostgreSQL "SET LOCAL lock_timeout"); empty on SQLite, whose busy timeout
    // bounds the wait already.
    QString lockTimeoutStatement(int milliseconds) const;
    // "LOCK TABLE a, b IN <mode> MODE" (PostgreSQL); empty on SQLite.
    QString lockTablesStatement(const QStringList &tables, TableLock mode) const;

    // "<expr> LIKE ? ESCAPE '\'" (ILIKE on PostgreSQL): case-insensitive match of a pattern.
    QString likeClause(const QString &expr) const;
    // The pattern for likeClause that finds `text` anywhere, % and _ matching themselves;
    // control characters of the text are dropped (StripControls).
    static QString containsPattern(const QString &text);
    static QString startsWithPattern(const QString &text);
    static QString escapeLike(const QString &text);

    // Money rounding in set-based statements: round(x + 0.000000001, n).
    QString roundSql(const QString &expr, int decimals) const;
    // True when the text expression holds one or more decimal digits and nothing else.
    QString digitsOnlySql(const QString &expr) const;
    // An expression as text, for concatenation and comparisons with text.
    QString castText(const QString &expr) const;
    // An expression as a number (text columns holding digits).
    QString castNumber(const QString &expr) const;

private:
    DbKind m_kind;
};
