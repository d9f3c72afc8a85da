#include "shell/operators.h"

#include "foundation/columnwidth.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/numbering.h"
#include "foundation/password.h"
#include "foundation/sanitize.h"

#include <QSqlQuery>

namespace {

bool nameTaken(const QSqlDatabase &db, const QString &name, qint64 exceptId)
{
    const Dialect dialect = Dialect::of(db);
    QString sql = QStringLiteral("select 1 from jxc_admin where ") + dialect.likeClause(QStringLiteral("a_name"));
    QVariantList binds{Dialect::escapeLike(name)};
    if (exceptId > 0) {
        sql += QStringLiteral(" and id <> ?");
        binds << exceptId;
    }
    return !QueryScalar(db, sql, binds).isEmpty();
}

QString validate(const OperatorInput &input)
{
    if (input.name.trimmed().isEmpty())
        return QStringLiteral("用户名称必须填写！");
    if (input.password.trimmed() != input.repeat.trimmed())
        return QStringLiteral("两次密码输入不一致！");
    return FirstTooLong({{"用户名称", SafeTextKeepMath(input.name.trimmed()), "jxc_admin", "a_name"},
                         {"用户密码", StoredPasswordForm(input.password), "jxc_admin", "a_pwd"}});
}

} // namespace

OperatorSaveResult AddOperator(const QSqlDatabase &db, const OperatorInput &input)
{
    OperatorSaveResult result;
    result.refusal = validate(input);
    if (!result.saved())
        return result;
    const QString name = SafeTextKeepMath(input.name.trimmed());
    Transaction tx(db);
    if (nameTaken(db, name, 0)) {
        result.refusal = QStringLiteral("用户名称不能重复！");
        return result;
    }
    result.sn = GetNewSn(db, QStringLiteral("jxc_admin"), QStringLiteral("a_sn"));
    RunSql(db,
           QStringLiteral("insert into jxc_admin (a_sn, a_name, r_sn, a_zreoje, a_pwd, a_pos, a_jy, a_jyt) "
                          "values (?, ?, ?, ?, ?, ?, 0, 0)"),
           {result.sn, name, input.roleSn, input.roundOff, StoredPasswordForm(input.password), input.pos ? 1 : 0});
    tx.commit();
    return result;
}

OperatorRow ReadOperator(const QSqlDatabase &db, qint64 id)
{
    OperatorRow row;
    QSqlQuery q = OpenSelect(db,
                             QStringLiteral("select a.id, a.a_sn, a.a_name, a.r_sn, b.r_name, a.a_pwd, a.a_zreoje, "
                                            "a.a_pos, a.a_jy from jxc_admin a left join jxc_role b on a.r_sn = b.r_sn "
                                            "where a.id = ?"),
                             {id});
    if (q.next()) {
        row.id = q.value(0).toLongLong();
        row.sn = ValueText(q.value(1));
        row.name = ValueText(q.value(2));
        row.roleSn = ValueText(q.value(3));
        row.roleName = ValueText(q.value(4));
        row.password = ValueText(q.value(5));
        row.roundOff = ValueText(q.value(6)).toDouble();
        row.pos = q.value(7).toInt() != 0;
        row.forbidden = q.value(8).toInt() != 0;
    }
    return row;
}

QString RenameInOperatorList(const QString &list, const QString &oldName, const QString &newName)
{
    // Entries end with a comma; a final entry without one is an entry too.
    QStringList entries = list.split(QLatin1Char(','));
    const bool trailing = list.endsWith(QLatin1Char(','));
    if (trailing)
        entries.removeLast();
    for (QString &e : entries) {
        if (e.compare(oldName, Qt::CaseInsensitive) == 0)
            e = newName;
    }
    QString out = entries.join(QLatin1Char(','));
    if (trailing)
        out += QLatin1Char(',');
    return out;
}

OperatorSaveResult ModifyOperator(const QSqlDatabase &db, qint64 id, const OperatorInput &input)
{
    OperatorSaveResult result;
    result.refusal = validate(input);
    if (!result.saved())
        return result;
    const QString name = SafeTextKeepMath(input.name.trimmed());
    Transaction tx(db);
    if (nameTaken(db, name, id)) {
        result.refusal = QStringLiteral("用户名称不能重复！");
        return result;
    }
    const OperatorRow old = ReadOperator(db, id);
    result.sn = old.sn;
    const bool builtIn = old.sn == QLatin1String(kBuiltInOperator);
    const QString roleSn = builtIn ? old.roleSn : input.roleSn;
    const bool forbidden = builtIn ? old.forbidden : input.forbidden;
    QString sql = QStringLiteral("update jxc_admin set a_name = ?, r_sn = ?, a_zreoje = ?, a_pos = ?, a_jy = ?, a_jyt = ?");
    QVariantList binds{name, roleSn, input.roundOff, input.pos ? 1 : 0, forbidden ? 1 : 0, forbidden ? 1 : 0};
    const QString password = input.password.trimmed();
    if (!password.isEmpty()) {
        sql += QStringLiteral(", a_pwd = ?");
        binds << StoredPasswordForm(password);
    }
    sql += QStringLiteral(" where id = ?");
    binds << id;
    RunSql(db, sql, binds);

    if (old.name != name && !old.name.isEmpty()) {
        const Dialect dialect = Dialect::of(db);
        QSqlQuery q = OpenSelect(db, QStringLiteral("select id, ck_aname from jxc_ckxx where ")
                                         + dialect.likeClause(QStringLiteral("ck_aname")),
                                 {Dialect::containsPattern(old.name)});
        QList<QPair<qint64, QString>> changes;
        while (q.next()) {
            const QString before = ValueText(q.value(1));
            const QString after = RenameInOperatorList(before, old.name, name);
            if (after != before)
                changes.append({q.value(0).toLongLong(), after});
        }
        for (const auto &c : changes)
            RunSql(db, QStringLiteral("update jxc_ckxx set ck_aname = ? where id = ?"), {c.second, c.first});
    }
    tx.commit();
    return result;
}

QString OperatorDeleteRefusal(const QSqlDatabase &db, const QString &sn)
{
    const QString name = QueryScalar(db, QStringLiteral("select a_name from jxc_admin where a_sn = ?"), {sn});
    if (!QueryScalar(db,
                     QStringLiteral("select 1 where exists (select 1 from jxc_jhd where a_name = ?) "
                                    "or exists (select 1 from jxc_lsxsd where a_name = ?)"),
                     {name, name})
             .isEmpty())
        return QStringLiteral("该操作员已发生过业务，不能删除！");
    if (sn == QLatin1String(kBuiltInOperator))
        return QStringLiteral("内置系统管理员不能删除！");
    return QString();
}

void DeleteOperator(const QSqlDatabase &db, const QString &sn)
{
    RunSql(db, QStringLiteral("delete from jxc_admin where a_sn = ?"), {sn});
}

OperatorCopy CopyOperator(const QSqlDatabase &db, qint64 id)
{
    OperatorCopy copy;
    const OperatorRow row = ReadOperator(db, id);
    if (row.id == 0)
        return copy;
    copy.copied = true;
    copy.name = QStringLiteral("复制 ") + row.name;
    copy.roleSn = row.roleSn;
    copy.password = row.password;
    copy.roundOff = QueryScalar(db, QStringLiteral("select a_zreoje from jxc_admin where id = ?"), {id});
    return copy;
}

QString PasteOperator(const QSqlDatabase &db, const OperatorCopy &copy)
{
    Transaction tx(db);
    const QString sn = GetNewSn(db, QStringLiteral("jxc_admin"), QStringLiteral("a_sn"));
    RunSql(db,
           QStringLiteral("insert into jxc_admin (a_sn, a_name, r_sn, a_pwd, a_zreoje, a_pos, a_jy, a_jyt) "
                          "values (?, ?, ?, ?, ?, 0, 0, 0)"),
           {sn, copy.name + sn, copy.roleSn, copy.password, copy.roundOff.toDouble()});
    tx.commit();
    return sn;
}

ListStatement OperatorList(const QSqlDatabase &db, const QString &typedKey)
{
    ListStatement q;
    q.body = QStringLiteral("select a.id, a.a_sn, a.a_name, b.r_name, a.a_zreoje, a.a_jy, a.a_jyt, a.r_sn, a.a_pwd, "
                            "a.a_pos, a.a_fdmc from jxc_admin a join jxc_role b on a.r_sn = b.r_sn");
    const QString key = SafeText(typedKey.trimmed());
    if (!key.isEmpty()) {
        const Dialect dialect = Dialect::of(db);
        q.body += QStringLiteral(" where (") + dialect.likeClause(QStringLiteral("a.a_name")) + QStringLiteral(" or ")
                  + dialect.likeClause(QStringLiteral("a.a_sn")) + QStringLiteral(")");
        const QString pattern = Dialect::containsPattern(key);
        q.binds = {pattern, pattern};
    }
    q.order = QStringLiteral("a.a_jyt, a.id");
    return q;
}
