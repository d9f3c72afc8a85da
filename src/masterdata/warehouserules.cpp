#include "masterdata/warehouserules.h"

#include "masterdata/partnerkind.h"
#include "masterdata/recordusage.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/notices.h"
#include "foundation/pinyin.h"
#include "foundation/sqlnames.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString warehouseTable() { return QStringLiteral("jxc_ckxx"); }

QString stored(const char *column, const QString &typed)
{
    return StoredText(warehouseTable(), QString::fromLatin1(column), typed, TextForm::AsTyped);
}

}  // namespace

ListStatement WarehouseRules::statement(bool newestFirst)
{
    return {QStringLiteral("select * from jxc_ckxx"), newestFirst ? QStringLiteral("id desc") : QStringLiteral("id"),
            {}};
}

SearchCriteria WarehouseRules::keywordCriteria(const QString &key)
{
    return KeywordCriteria({QStringLiteral("ck_name"), QStringLiteral("ck_jm"), QStringLiteral("ck_fzr"),
                            QStringLiteral("ck_tele"), QStringLiteral("ck_address")},
                           key);
}

SearchCriteria WarehouseRules::searchCriteria(const WarehouseSearchTexts &texts)
{
    SearchCriteria c;
    AddSearchTerm(c, {QStringLiteral("ck_name"), QStringLiteral("ck_jm")}, texts.name);
    AddSearchTerm(c, {QStringLiteral("ck_fzr")}, texts.keeper);
    AddSearchTerm(c, {QStringLiteral("ck_tele")}, texts.telephone);
    AddSearchTerm(c, {QStringLiteral("ck_address")}, texts.address);
    return c;
}

KeyedItems WarehouseRules::operators() const
{
    return LoadKeyedCombo(m_db, QStringLiteral("jxc_admin"), QStringLiteral("a_name"), QStringLiteral("a_sn"),
                          QStringLiteral("r_sn, id"));
}

QVariantMap WarehouseRules::record(const QString &code) const
{
    return RecordMap(m_db, QStringLiteral("select * from jxc_ckxx where ck_sn = ? order by id limit 1"), {code});
}

bool WarehouseRules::refused(const QString &text) const
{
    m_notices.notice(text);
    return false;
}

bool WarehouseRules::passes(const WarehouseInput &input) const
{
    const QString text = refusal(input);
    return text.isEmpty() || refused(text);
}

QString WarehouseRules::refusal(const WarehouseInput &input) const
{
    if (input.name.trimmed().isEmpty())
        return QStringLiteral("仓库名称必须填写！");
    if (input.operators.isEmpty())
        return QStringLiteral("必须选择操作员！");
    QStringList names, codes;
    for (const KeyedItem &o : input.operators) {
        names << o.text;
        codes << o.key;
    }
    const QString n = CommaList(names);
    const QString c = CommaList(codes);
    if (CutToColumn(warehouseTable(), QStringLiteral("ck_aname"), n) != n
        || CutToColumn(warehouseTable(), QStringLiteral("ck_asn"), c) != c)
        return QStringLiteral("所选操作员过多，无法保存！");
    return QString();
}

namespace {

struct WarehouseTexts
{
    QString name, keeper, telephone, address, note, shortCode, operatorNames, operatorCodes;
};

WarehouseTexts textsOf(const WarehouseInput &in)
{
    WarehouseTexts t;
    t.name = stored("ck_name", in.name);
    t.keeper = stored("ck_fzr", in.keeper);
    t.telephone = stored("ck_tele", in.telephone);
    t.address = stored("ck_address", in.address);
    t.note = stored("ck_note", in.note);
    t.shortCode = CutToColumn(warehouseTable(), QStringLiteral("ck_jm"), GetPY(in.name.trimmed()));
    QStringList names, codes;
    for (const KeyedItem &o : in.operators) {
        names << o.text;
        codes << o.key;
    }
    t.operatorNames = CommaList(names);
    t.operatorCodes = CommaList(codes);
    return t;
}

}  // namespace

RecordSaveResult WarehouseRules::add(const WarehouseInput &input)
{
    if (!passes(input))
        return RecordSaveResult::refused();
    const WarehouseTexts t = textsOf(input);
    try {
        QString code;
        RunWithFreshCodes(m_db, [&](CodeDraws &draws) {
            Transaction tx(m_db);
            if (input.isDefault)
                RunSql(m_db, QStringLiteral("update jxc_ckxx set ck_default = 0"));
            code = draws.draw(warehouseTable(), QStringLiteral("ck_sn"));
            RunSql(m_db,
                   QStringLiteral("insert into jxc_ckxx (ck_sn, ck_name, ck_fzr, ck_aname, ck_asn, ck_tele, ck_address, "
                                  "ck_note, ck_jm, ck_default, ck_pos) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)"),
                   {code, t.name, t.keeper, t.operatorNames, t.operatorCodes, t.telephone, t.address, t.note,
                    t.shortCode, input.isDefault ? 1 : 0});
            tx.commit();
        });
        return RecordSaveResult::savedAs(code);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存仓库信息失败：") + e.text());
        return RecordSaveResult::failed();
    }
}

RecordSaveResult WarehouseRules::modify(const QString &code, const WarehouseInput &input)
{
    if (!passes(input))
        return RecordSaveResult::refused();
    const WarehouseTexts t = textsOf(input);
    try {
        Transaction tx(m_db);
        const QVariantMap old = record(code);
        if (old.isEmpty()) {
            refused(QStringLiteral("该仓库已经不存在！"));
            return RecordSaveResult::refused();
        }
        const QString oldName = old.value(QStringLiteral("ck_name")).toString();
        // The hidden "默认POS仓库" keeps its stored value.
        const bool pos = old.value(QStringLiteral("ck_pos")).toString() == QLatin1String("1");
        if (input.isDefault)
            RunSql(m_db, QStringLiteral("update jxc_ckxx set ck_default = 0"));
        if (pos)
            RunSql(m_db, QStringLiteral("update jxc_ckxx set ck_pos = 0"));
        RunSql(m_db,
               QStringLiteral("update jxc_ckxx set ck_name = ?, ck_fzr = ?, ck_aname = ?, ck_asn = ?, ck_tele = ?, "
                              "ck_address = ?, ck_note = ?, ck_default = ?, ck_pos = ?, ck_jm = ? where ck_sn = ?"),
               {t.name, t.keeper, t.operatorNames, t.operatorCodes, t.telephone, t.address, t.note,
                input.isDefault ? 1 : 0, pos ? 1 : 0, t.shortCode, code});
        if (t.name != oldName) {
            // Ledger rows carry the code; cash rows only the name.
            RunSql(m_db, QStringLiteral("update jxc_goodslist set ck_name = ? where ck_sn = ? and ck_name = ?"),
                   {t.name, code, oldName});
            RunSql(m_db, QStringLiteral("update jxc_xjyh set ck_name = ? where ck_name = ?"), {t.name, oldName});
            for (const char *bound : {"jxc_khxx", "jxc_ghsxx", "jxc_user"})
                RunSql(m_db, QStringLiteral("update %1 set ck_name = ? where ck_sn = ?").arg(QLatin1String(bound)),
                       {CutToColumn(QLatin1String(bound), QStringLiteral("ck_name"), t.name), code});
        }
        tx.commit();
        return RecordSaveResult::savedAs(code);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存仓库信息失败：") + e.text());
        return RecordSaveResult::failed();
    }
}

bool WarehouseRules::inUse(const QString &code) const
{
    QStringList selects{QStringLiteral("select 1 from jxc_goodslist where ck_sn = ?")};
    QVariantList binds{code};
    for (const char *column : {"ck_sn", "ck_out", "ck_in"})
        for (const QString &t : HeaderTablesWith(QLatin1String(column))) {
            selects << QStringLiteral("select 1 from %1 where %2 = ?").arg(t, QLatin1String(column));
            binds << code;
        }
    return AnyRow(m_db, selects, binds);
}

bool WarehouseRules::remove(const QString &code)
{
    try {
        if (inUse(code))
            return refused(QStringLiteral("该仓库中有商品，或已发生过业务，不能删除！"));
        if (code == QLatin1String(kBuiltInSn))
            return refused(QStringLiteral("该仓库为系统内置仓库，不能删除！"));
        if (!m_notices.confirm(QStringLiteral("您确定要删除该仓库信息吗！")))
            return false;
        Transaction tx(m_db);
        if (inUse(code))
            return refused(QStringLiteral("该仓库中有商品，或已发生过业务，不能删除！"));
        RunSql(m_db, QStringLiteral("delete from jxc_ckxx where ck_sn = ?"), {code});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}
