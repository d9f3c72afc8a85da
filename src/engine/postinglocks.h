#pragma once

// The locks a posting, a reversal or a recalculation takes before it reads what it will change,
// so that two workstations never interleave on one goods, partner, cash account or number.
//
// PostgreSQL (read committed): in one fixed order — document headers (by table, then number),
// goods codes sorted, the partner, cash accounts sorted, number stems sorted — row locks
// (SELECT … FOR UPDATE on the header rows, the jxc_goods rows, the partner's jxc_khxx/jxc_ghsxx
// row) and transaction-scoped advisory locks keyed by the same values (so a key without a row is
// locked too); all are held to the end of the transaction. SQLite: nothing, the write transaction
// (BEGIN IMMEDIATE) already serialises writers.
//
// Must run inside an open Transaction; raises DbError otherwise or on a database error.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

struct PostingLockKeys
{
    // Document headers: (table, number in gl_djh), e.g. {"jxc_jhd", "CJ24030510001"}.
    std::vector<std::pair<QString, QString>> headers;
    QStringList goods;          // g_sn
    QString partnerType;        // "kh" (jxc_khxx) or "ghs" (jxc_ghsxx); empty: no partner
    QString partner;            // kh_sn / ghs_sn
    QStringList cashAccounts;   // xj_kmmc
    QStringList numberStems;    // number prefix + date the posting draws from, e.g. "YS240308"
};

class LockForPosting
{
public:
    // Takes every lock of `keys` on `db` (see above).
    LockForPosting(const QSqlDatabase &db, const PostingLockKeys &keys);

    // Test hook: with false the helper takes no lock (to show that the locks matter).
    static void setEnabled(bool enabled);
    static bool enabled();
};
