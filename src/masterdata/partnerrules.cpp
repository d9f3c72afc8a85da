#include "masterdata/partnerrules.h"

#include "masterdata/recordusage.h"

#include "engine/postinglocks.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/defaultrecords.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/numbering.h"
#include "foundation/pinyin.h"
#include "foundation/sanitize.h"
#include "foundation/sqlnames.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

inline constexpr const char *kSalesmenTooMany = "所选业务员过多，无法保存！";

}  // namespace

// The columns a save writes, as the table stores them.
struct PartnerRules::Texts
{
    QString name, shortCode, contact, telephone, address, note, region;
    QString typeKey, typeName;  // customers: kt_sn, kt_name; suppliers: gt_name in typeName
    QString salesmenNames, salesmenCodes;
    QString warehouseSn, warehouseName;
};

PartnerRules::PartnerRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                           PartnerKind kind)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices), m_info(PartnerKindOf(kind))
{
}

bool PartnerRules::refuse(const QString &text) const
{
    m_notices.notice(text);
    return false;
}

void PartnerRules::failed(const QString &text) const
{
    m_notices.notice(QString::fromUtf8(m_info.failed) + text);
}

QString PartnerRules::storedName(const QString &typed) const
{
    return StoredText(m_info.tableName(), m_info.column("name"), typed, TextForm::KeepMath);
}

QString PartnerRules::salesmenRefusal(const PartnerInput &input) const
{
    if (m_info.kind != PartnerKind::Customer)
        return QString();
    QStringList names, codes;
    for (const KeyedItem &s : input.salesmen) {
        names << s.text;
        codes << s.key;
    }
    const QString table = m_info.tableName();
    const QString n = CommaList(names);
    const QString c = CommaList(codes);
    if (CutToColumn(table, QStringLiteral("kh_uname"), n) != n || CutToColumn(table, QStringLiteral("kh_usn"), c) != c)
        return QString::fromUtf8(kSalesmenTooMany);
    return QString();
}

KeyedItems PartnerRules::employees() const
{
    return LoadKeyedCombo(m_db, QStringLiteral("jxc_user"), QStringLiteral("u_name"), QStringLiteral("u_sn"),
                          QStringLiteral("id"));
}

QVariantMap PartnerRules::record(qint64 id) const
{
    return RecordMap(m_db, QStringLiteral("select * from %1 where id = ?").arg(m_info.tableName()), {id});
}

bool PartnerRules::openingEditable(const QString &code) const
{
    QSqlQuery q = OpenSelect(m_db,
                             QStringLiteral("select k_djtxt from jxc_ysyfk where k_type = ? and k_ghskh = ? "
                                            "order by id desc limit 1"),
                             {m_info.ledgerType(), code});
    return q.next() && q.value(0).toString() == QString::fromUtf8(m_info.openingText);
}

bool PartnerRules::inUse(const QString &code) const
{
    const QString type = m_info.ledgerType();
    const QString opening = QString::fromUtf8(m_info.openingText);
    QStringList selects;
    QVariantList binds;
    const QString column = m_info.column("sn");
    for (const QString &t : HeaderTablesWith(column)) {
        selects << QStringLiteral("select 1 from %1 where %2 = ?").arg(t, column);
        binds << code;
    }
    for (const char *t : {"jxc_ysyfk_dj", "jxc_ysyfk"}) {
        selects << QStringLiteral("select 1 from %1 where k_type = ? and k_ghskh = ? "
                                  "and (k_djtxt is null or k_djtxt <> ?)")
                       .arg(QLatin1String(t));
        binds << type << code << opening;
    }
    selects << QStringLiteral("select 1 from jxc_xjyh where ghs_sn = ? and gl_djh like ?");
    binds << code << QString::fromLatin1(m_info.cashPrefix) + QLatin1Char('%');
    return AnyRow(m_db, selects, binds);
}

void PartnerRules::writeOpening(const QString &code, double amount)
{
    const QString type = m_info.ledgerType();
    const QString today = m_clock.todayText();
    RunSql(m_db, QStringLiteral("delete from jxc_ysyfk_dj where k_type = ? and k_ghskh = ?"), {type, code});
    RunSql(m_db, QStringLiteral("delete from jxc_ysyfk where k_type = ? and k_ghskh = ?"), {type, code});
    const QString number = GetNewDjhByDate(m_db, QStringLiteral("jxc_ysyfk"), QStringLiteral("gl_djh"),
                                           QString::fromLatin1(m_info.numberPrefix), today);
    const QString text = QString::fromUtf8(m_info.openingText);
    RunSql(m_db,
           QStringLiteral("insert into jxc_ysyfk_dj (gl_djh, k_ghskh, k_type, k_djlx, a_name, u_sn, k_fkfs, k_djtxt, "
                          "k_note, k_yfje, k_ljje, k_sfje, k_yhje, k_qcje, k_flag, k_rq, k_check, k_checker, k_chkrq) "
                          "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0, 1, ?, 1, ?, ?)"),
           {number, code, type, QString::fromLatin1(m_info.numberPrefix), m_state.CurrentOperatorName,
            GetDefaultUserSn(m_db), text, text, QString::fromUtf8(m_info.openingNote), amount, amount, today,
            m_state.CurrentOperatorName, today});
    RunSql(m_db,
           QStringLiteral("insert into jxc_ysyfk (k_ghskh, a_name, u_sn, k_fkfs, k_sfje, k_yhje, k_qcje, k_ljje, "
                          "k_yfje, k_type, k_djlx, k_djtxt, k_note, k_flag, k_rq, gl_djh) "
                          "select k_ghskh, a_name, u_sn, k_fkfs, k_sfje, k_yhje, k_qcje, k_ljje, k_yfje, k_type, "
                          "k_djlx, k_djtxt, k_note, k_flag, k_rq, gl_djh from jxc_ysyfk_dj "
                          "where gl_djh = ? and k_type = ? and k_ghskh = ?"),
           {number, type, code});
}

RecordSaveResult PartnerRules::add(const PartnerInput &input)
{
    const QString table = m_info.tableName();
    if (input.name.trimmed().isEmpty()) {
        refuse(QString::fromUtf8(m_info.nameRequired));
        return RecordSaveResult::refused();
    }
    try {
        const QString name = storedName(input.name);
        if (NameTaken(m_db, table, m_info.column("name"), name)
            && !m_notices.confirm(QString::fromUtf8(m_info.duplicateOnAdd)))
            return RecordSaveResult::declined();
        const QString tooMany = salesmenRefusal(input);
        if (!tooMany.isEmpty()) {
            refuse(tooMany);
            return RecordSaveResult::refused();
        }
        QString code;
        RunWithFreshCodes(m_db, [&](CodeDraws &draws) {
            Transaction tx(m_db);
            if (input.opening != 0) {
                PostingLockKeys keys;
                keys.numberStems << QString::fromLatin1(m_info.numberPrefix) + m_clock.today().toString(QStringLiteral("yyMMdd"));
                LockForPosting lock(m_db, keys);
            }
            const Texts t = texts(input, QVariantMap());
            if (input.isDefault)
                RunSql(m_db, QStringLiteral("update %1 set %2 = 0").arg(table, m_info.column("default")));
            code = draws.draw(table, m_info.column("sn"));
            QStringList columns{m_info.column("sn"),      m_info.column("name"),    m_info.column("jm"),
                                m_info.column("lxr"),     m_info.column("tele"),    m_info.column("address"),
                                m_info.column("note"),    m_info.column("lwje"),    m_info.column("default"),
                                m_info.column("pl"),      m_info.column("forbid"),  QStringLiteral("ck_sn"),
                                QStringLiteral("ck_name"), QStringLiteral("z_name")};
            QVariantList values{code,      t.name,     t.shortCode,          t.contact,
                                t.telephone, t.address, t.note,               input.opening,
                                input.isDefault ? 1 : 0, 0, input.disabled ? 1 : 0, t.warehouseSn,
                                t.warehouseName, t.region};
            if (m_info.kind == PartnerKind::Customer) {
                columns << QStringLiteral("kt_sn") << QStringLiteral("kt_name") << QStringLiteral("kh_uname")
                        << QStringLiteral("kh_usn");
                values << t.typeKey << t.typeName << t.salesmenNames << t.salesmenCodes;
            } else {
                columns << QStringLiteral("gt_name");
                values << t.typeName;
            }
            RunSql(m_db,
                   QStringLiteral("insert into %1 (%2) values (%3)")
                       .arg(table, columns.join(QStringLiteral(", ")),
                            QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))),
                   values);
            draws.note(QStringLiteral("jxc_zone"), QStringLiteral("z_sn"));
            EnsureZone(m_db, t.region);
            if (input.opening != 0)
                writeOpening(code, input.opening);
            tx.commit();
        });
        return RecordSaveResult::savedAs(code);
    } catch (const DbError &e) {
        failed(e.text());
        return RecordSaveResult::failed();
    }
}

RecordSaveResult PartnerRules::modify(qint64 id, const PartnerInput &input)
{
    const QString table = m_info.tableName();
    try {
        const QVariantMap stored = record(id);
        if (stored.isEmpty()) {
            refuse(QString::fromUtf8(m_info.missing));
            return RecordSaveResult::refused();
        }
        if (input.name.trimmed().isEmpty()) {
            refuse(QString::fromUtf8(m_info.nameRequired));
            return RecordSaveResult::refused();
        }
        const QString name = storedName(input.name);
        if (NameTaken(m_db, table, m_info.column("name"), name, id)
            && !m_notices.confirm(QString::fromUtf8(m_info.duplicateOnModify)))
            return RecordSaveResult::declined();
        const QString tooMany = salesmenRefusal(input);
        if (!tooMany.isEmpty()) {
            refuse(tooMany);
            return RecordSaveResult::refused();
        }
        const QString code = stored.value(m_info.column("sn")).toString();
        const QString type = m_info.ledgerType();
        RunWithFreshCodes(m_db, [&](CodeDraws &draws) {
            Transaction tx(m_db);
            PostingLockKeys keys;
            keys.partnerType = type;
            keys.partner = code;
            LockForPosting lock(m_db, keys);
            const QVariantMap now = record(id);
            const QString oldName = now.value(m_info.column("name")).toString();
            const Texts t = texts(input, now);
            // The balance is the opening amount only while nothing was posted since.
            const bool opening = input.openingEnabled && openingEditable(code);
            if (input.isDefault)
                RunSql(m_db, QStringLiteral("update %1 set %2 = 0").arg(table, m_info.column("default")));
            QStringList sets{m_info.column("name"),  m_info.column("jm"),      m_info.column("lxr"),
                             m_info.column("tele"),  m_info.column("address"), m_info.column("note"),
                             m_info.column("default"), m_info.column("forbid"), QStringLiteral("z_name"),
                             QStringLiteral("ck_sn"), QStringLiteral("ck_name")};
            QVariantList values{t.name, t.shortCode, t.contact, t.telephone, t.address, t.note,
                                input.isDefault ? 1 : 0, input.disabled ? 1 : 0, t.region, t.warehouseSn,
                                t.warehouseName};
            if (m_info.kind == PartnerKind::Customer) {
                sets << QStringLiteral("kt_sn") << QStringLiteral("kt_name") << QStringLiteral("kh_uname")
                     << QStringLiteral("kh_usn");
                values << t.typeKey << t.typeName << t.salesmenNames << t.salesmenCodes;
            } else {
                sets << QStringLiteral("gt_name");
                values << t.typeName;
            }
            if (opening) {
                sets << m_info.column("lwje");
                values << input.opening;
            }
            values << id;
            RunSql(m_db,
                   QStringLiteral("update %1 set %2 = ? where id = ?").arg(table, sets.join(QStringLiteral(" = ?, "))),
                   values);
            draws.note(QStringLiteral("jxc_zone"), QStringLiteral("z_sn"));
            EnsureZone(m_db, t.region);
            if (t.name != oldName)
                for (const char *ledger : {"jxc_goodslist", "jxc_xjyh"})
                    RunSql(m_db,
                           QStringLiteral("update %1 set ghs_name = ? where ghs_sn = ? and ghs_name = ?")
                               .arg(QLatin1String(ledger)),
                           {t.name, code, oldName});
            if (opening)
                for (const char *ledger : {"jxc_ysyfk", "jxc_ysyfk_dj"})
                    RunSql(m_db,
                           QStringLiteral("update %1 set k_yfje = ?, k_ljje = ? where k_type = ? and k_ghskh = ? "
                                          "and k_djtxt = ?")
                               .arg(QLatin1String(ledger)),
                           {input.opening, input.opening, type, code, QString::fromUtf8(m_info.openingText)});
            tx.commit();
        });
        return RecordSaveResult::savedAs(code);
    } catch (const DbError &e) {
        failed(e.text());
        return RecordSaveResult::failed();
    }
}

PartnerRules::Texts PartnerRules::texts(const PartnerInput &in, const QVariantMap &stored) const
{
    const QString table = m_info.tableName();
    const bool builtIn = stored.value(m_info.column("sn")).toString() == QLatin1String(kBuiltInSn);
    Texts t;
    t.name = storedName(in.name);
    t.shortCode = CutToColumn(table, m_info.column("jm"), SafeTextKeepMath(GetPY(in.name.trimmed())));
    t.contact = StoredText(table, m_info.column("lxr"), in.contact, TextForm::KeepMath);
    t.telephone = StoredText(table, m_info.column("tele"), in.telephone, TextForm::KeepMath);
    t.address = StoredText(table, m_info.column("address"), in.address, TextForm::Safe);
    const QString note = m_info.noteKept > 0 ? in.note.trimmed().left(m_info.noteKept) : in.note;
    t.note = StoredText(table, m_info.column("note"), note, TextForm::KeepMath);
    t.region = StoredText(table, QStringLiteral("z_name"), in.region, TextForm::KeepMath);
    if (m_info.kind == PartnerKind::Customer) {
        // The built-in customer keeps its type; a type that is gone falls back to the first.
        QString key = builtIn ? stored.value(QStringLiteral("kt_sn")).toString() : in.typeKey;
        QString typeName = QueryScalar(m_db, QStringLiteral("select kt_name from jxc_khtype where kt_sn = ? "
                                                            "order by id limit 1"),
                                       {key});
        if (typeName.isEmpty() && !builtIn) {
            QSqlQuery q = OpenSelect(m_db, QStringLiteral("select kt_sn, kt_name from jxc_khtype order by id limit 1"));
            if (q.next()) {
                key = ValueText(q.value(0));
                typeName = ValueText(q.value(1));
            }
        }
        t.typeKey = key;
        t.typeName = CutToColumn(table, QStringLiteral("kt_name"), typeName);
        QStringList names, codes;
        for (const KeyedItem &s : in.salesmen) {
            names << s.text;
            codes << s.key;
        }
        t.salesmenNames = CommaList(names);
        t.salesmenCodes = CommaList(codes);
    } else {
        t.typeName = CutToColumn(table, QStringLiteral("gt_name"), in.typeName.trimmed());
    }
    if (builtIn || in.warehouseSn.isEmpty()) {
        if (!stored.isEmpty()) {
            t.warehouseSn = stored.value(QStringLiteral("ck_sn")).toString();
            t.warehouseName = stored.value(QStringLiteral("ck_name")).toString();
        } else {
            t.warehouseSn = QString::fromLatin1(kAllWarehousesKey);
            t.warehouseName = QString::fromUtf8(kAllWarehousesText);
        }
    } else {
        t.warehouseSn = CutToColumn(table, QStringLiteral("ck_sn"), in.warehouseSn);
        t.warehouseName = CutToColumn(table, QStringLiteral("ck_name"), in.warehouseName);
    }
    return t;
}

bool PartnerRules::remove(qint64 id)
{
    try {
        const QVariantMap stored = record(id);
        if (stored.isEmpty())
            return false;
        const QString code = stored.value(m_info.column("sn")).toString();
        if (inUse(code))
            return refuse(QString::fromUtf8(m_info.inUse));
        if (code == QLatin1String(kBuiltInSn))
            return refuse(QString::fromUtf8(m_info.builtIn));
        if (!m_notices.confirm(QString::fromUtf8(m_info.deleteQuestion)))
            return false;
        Transaction tx(m_db);
        PostingLockKeys keys;
        keys.partnerType = m_info.ledgerType();
        keys.partner = code;
        LockForPosting lock(m_db, keys);
        // Whatever was posted meanwhile keeps the partner.
        if (inUse(code))
            return refuse(QString::fromUtf8(m_info.inUse));
        RunSql(m_db, QStringLiteral("delete from %1 where id = ?").arg(m_info.tableName()), {id});
        for (const char *ledger : {"jxc_ysyfk_dj", "jxc_ysyfk"})
            RunSql(m_db,
                   QStringLiteral("delete from %1 where k_type = ? and k_ghskh = ? and k_djtxt = ?")
                       .arg(QLatin1String(ledger)),
                   {m_info.ledgerType(), code, QString::fromUtf8(m_info.openingText)});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}

bool PartnerRules::setDisabled(qint64 id, bool disabled)
{
    return WriteFlag(m_db, m_notices, QString::fromUtf8(m_info.failed), m_info.tableName(), m_info.column("forbid"), id,
                     disabled);
}

bool PartnerRules::setShortCode(qint64 id, const QString &typed)
{
    try {
        Transaction tx(m_db);
        RunSql(m_db, QStringLiteral("update %1 set %2 = ? where id = ?").arg(m_info.tableName(), m_info.column("jm")),
               {StoredText(m_info.tableName(), m_info.column("jm"), typed.trimmed().toUpper(), TextForm::KeepMath),
                id});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        failed(e.text());
        return false;
    }
}
