#include "masterdata/employeerules.h"

#include "masterdata/partnerkind.h"
#include "masterdata/recordusage.h"

#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/pinyin.h"
#include "foundation/sanitize.h"
#include "foundation/sqlnames.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>

namespace {

QString employeeTable() { return QStringLiteral("jxc_user"); }

QString stored(const char *column, const QString &typed, TextForm form)
{
    return StoredText(employeeTable(), QString::fromLatin1(column), typed, form);
}

// A refusal that ends a transaction without writing.
struct Refusal
{
    QString text;
};

}  // namespace

QString RenameInCommaList(const QString &list, const QString &oldName, const QString &newName)
{
    QStringList entries = list.split(QLatin1Char(','));
    for (QString &e : entries)
        if (!e.isEmpty() && e.compare(oldName, Qt::CaseInsensitive) == 0)
            e = newName;
    return entries.join(QLatin1Char(','));
}

ListStatement EmployeeRules::statement(bool enabledOnly) const
{
    ListStatement s;
    s.body = QStringLiteral("select * from jxc_user where ")
             + (enabledOnly ? QStringLiteral("u_jy = 0") : QStringLiteral("1 = 1"));
    if (PartnerBindingApplies(m_state))
        s.body += QStringLiteral(" and ") + WarehouseBindingCondition(m_db, m_state, QStringLiteral("ck_sn"), s.binds);
    s.order = QStringLiteral("id");
    return s;
}

SearchCriteria EmployeeRules::keywordCriteria(const QString &key)
{
    return KeywordCriteria({QStringLiteral("u_name"), QStringLiteral("u_jm"), QStringLiteral("u_duty"),
                            QStringLiteral("u_tele"), QStringLiteral("u_address")},
                           key);
}

SearchCriteria EmployeeRules::searchCriteria(const EmployeeSearchTexts &texts)
{
    SearchCriteria c;
    c.any = true;
    AddSearchTerm(c, {QStringLiteral("u_name"), QStringLiteral("u_jm")}, texts.name);
    AddSearchTerm(c, {QStringLiteral("u_duty")}, texts.duty);
    AddSearchTerm(c, {QStringLiteral("u_tele")}, texts.telephone);
    AddSearchTerm(c, {QStringLiteral("u_address")}, texts.address);
    return c;
}

QVariantMap EmployeeRules::record(qint64 id) const
{
    return RecordMap(m_db, QStringLiteral("select * from jxc_user where id = ?"), {id});
}

QString EmployeeRules::refusal(const EmployeeInput &input, qint64 exceptId) const
{
    if (input.name.trimmed().isEmpty())
        return QStringLiteral("员工姓名必须填写！");
    if (NameTaken(m_db, employeeTable(), QStringLiteral("u_name"), stored("u_name", input.name, TextForm::KeepMath),
                  exceptId))
        return QStringLiteral("员工姓名不能重复！");
    return QString();
}

namespace {

struct EmployeeTexts
{
    QString name, shortCode, duty, telephone, address, note, modeText, warehouseSn, warehouseName;
    int mode = 0;
    int margin = 0;
};

EmployeeTexts textsOf(const EmployeeInput &in, const QVariantMap &row)
{
    EmployeeTexts t;
    t.name = stored("u_name", in.name, TextForm::KeepMath);
    t.shortCode = CutToColumn(employeeTable(), QStringLiteral("u_jm"), SafeTextKeepMath(GetPY(in.name.trimmed())));
    t.duty = stored("u_duty", in.duty, TextForm::KeepMath);
    t.telephone = stored("u_tele", in.telephone, TextForm::KeepMath);
    t.address = stored("u_address", in.address, TextForm::KeepMath);
    t.note = stored("u_note", in.note, TextForm::KeepMath);
    t.mode = in.mode == 1 ? 1 : 0;
    t.modeText = QString::fromUtf8(t.mode == 1 ? kCommissionOnMargin : kCommissionOnSales);
    t.margin = t.mode == 1 ? in.margin : 0;
    const bool builtIn = row.value(QStringLiteral("u_sn")).toString() == QLatin1String(kBuiltInSn);
    if (builtIn || in.warehouseSn.isEmpty()) {
        t.warehouseSn = row.isEmpty() ? QString::fromLatin1(kAllWarehousesKey) : row.value(QStringLiteral("ck_sn")).toString();
        t.warehouseName = row.isEmpty() ? QString::fromUtf8(kAllWarehousesText)
                                        : row.value(QStringLiteral("ck_name")).toString();
    } else {
        t.warehouseSn = CutToColumn(employeeTable(), QStringLiteral("ck_sn"), in.warehouseSn);
        t.warehouseName = CutToColumn(employeeTable(), QStringLiteral("ck_name"), in.warehouseName);
    }
    return t;
}

}  // namespace

RecordSaveResult EmployeeRules::add(const EmployeeInput &input)
{
    try {
        const QString text = refusal(input, 0);
        if (!text.isEmpty()) {
            m_notices.notice(text);
            return RecordSaveResult::refused();
        }
        const EmployeeTexts t = textsOf(input, QVariantMap());
        QString code;
        RunWithFreshCodes(m_db, [&](CodeDraws &draws) {
            Transaction tx(m_db);
            code = draws.draw(employeeTable(), QStringLiteral("u_sn"));
            RunSql(m_db,
                   QStringLiteral("insert into jxc_user (u_sn, u_jm, u_name, u_duty, u_tcfs, u_tctxt, u_zdlr, u_tc, "
                                  "u_tele, u_address, u_note, u_cg, u_xs, u_kc, u_jy, u_cgpl, u_xspl, ck_sn, ck_name) "
                                  "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0, ?, ?)"),
                   {code, t.shortCode, t.name, t.duty, t.mode, t.modeText, t.margin, input.rate, t.telephone,
                    t.address, t.note, input.purchasing ? 1 : 0, input.sales ? 1 : 0, input.stock ? 1 : 0,
                    input.disabled ? 1 : 0, t.warehouseSn, t.warehouseName});
            tx.commit();
        });
        return RecordSaveResult::savedAs(code);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存员工信息失败：") + e.text());
        return RecordSaveResult::failed();
    }
}

RecordSaveResult EmployeeRules::modify(qint64 id, const EmployeeInput &input)
{
    try {
        const QString text = refusal(input, id);
        if (!text.isEmpty()) {
            m_notices.notice(text);
            return RecordSaveResult::refused();
        }
        Transaction tx(m_db);
        const QVariantMap old = record(id);
        if (old.isEmpty()) {
            m_notices.notice(QStringLiteral("该员工已经不存在！"));
            return RecordSaveResult::refused();
        }
        const EmployeeTexts t = textsOf(input, old);
        const QString oldName = old.value(QStringLiteral("u_name")).toString();
        // The counts of documents handled stay.
        RunSql(m_db,
               QStringLiteral("update jxc_user set u_jm = ?, u_name = ?, u_duty = ?, u_tcfs = ?, u_tctxt = ?, "
                              "u_zdlr = ?, u_tc = ?, u_tele = ?, u_address = ?, u_note = ?, u_cg = ?, u_xs = ?, "
                              "u_kc = ?, u_jy = ?, ck_sn = ?, ck_name = ? where id = ?"),
               {t.shortCode, t.name, t.duty, t.mode, t.modeText, t.margin, input.rate, t.telephone, t.address,
                t.note, input.purchasing ? 1 : 0, input.sales ? 1 : 0, input.stock ? 1 : 0, input.disabled ? 1 : 0,
                t.warehouseSn, t.warehouseName, id});
        if (t.name != oldName) {
            for (const char *copy : {"jxc_goodslist", "jxc_xjyh", "jxc_zcmx"})
                RunSql(m_db, QStringLiteral("update %1 set u_name = ? where u_name = ?").arg(QLatin1String(copy)),
                       {t.name, oldName});
            try {
                renameInSalesmanLists(oldName, t.name);
            } catch (const Refusal &r) {
                m_notices.notice(r.text);
                return RecordSaveResult::refused();
            }
        }
        tx.commit();
        return RecordSaveResult::savedAs(old.value(QStringLiteral("u_sn")).toString());
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存员工信息失败：") + e.text());
        return RecordSaveResult::failed();
    }
}

void EmployeeRules::renameInSalesmanLists(const QString &oldName, const QString &newName)
{
    const Dialect d = Dialect::of(m_db);
    QSqlQuery q = OpenSelect(m_db,
                             QStringLiteral("select id, kh_uname from jxc_khxx where ")
                                 + d.likeClause(QStringLiteral("kh_uname")),
                             {Dialect::containsPattern(oldName + QLatin1Char(','))});
    QList<QPair<qint64, QString>> changed;
    while (q.next()) {
        const QString list = q.value(1).toString();
        const QString renamed = RenameInCommaList(list, oldName, newName);
        if (renamed == list)
            continue;
        if (CutToColumn(QStringLiteral("jxc_khxx"), QStringLiteral("kh_uname"), renamed) != renamed)
            throw Refusal{QStringLiteral("客户的业务员列表过长，无法改名！")};
        changed.append({q.value(0).toLongLong(), renamed});
    }
    for (const auto &c : changed)
        RunSql(m_db, QStringLiteral("update jxc_khxx set kh_uname = ? where id = ?"), {c.second, c.first});
}

bool EmployeeRules::inUse(const QString &code, const QString &name) const
{
    QStringList selects{QStringLiteral("select 1 from jxc_goodslist where u_name = ?"),
                        QStringLiteral("select 1 from jxc_ysyfk where u_sn = ?"),
                        QStringLiteral("select 1 from jxc_zcmx where u_name = ?"),
                        QStringLiteral("select 1 from jxc_yyfy where u_sn = ?"),
                        QStringLiteral("select 1 from jxc_xjyh where u_name = ?"),
                        QStringLiteral("select 1 from jxc_ysyfk_dj where u_sn = ?")};
    QVariantList binds{name, code, name, code, name, code};
    for (const QString &t : HeaderTablesWith(QStringLiteral("u_sn"))) {
        selects << QStringLiteral("select 1 from %1 where u_sn = ?").arg(t);
        binds << code;
    }
    return AnyRow(m_db, selects, binds);
}

bool EmployeeRules::remove(qint64 id)
{
    try {
        const QVariantMap row = record(id);
        if (row.isEmpty())
            return false;
        const QString code = row.value(QStringLiteral("u_sn")).toString();
        const QString name = row.value(QStringLiteral("u_name")).toString();
        if (code == QLatin1String(kBuiltInSn)) {
            m_notices.notice(QStringLiteral("系统内置员工，不能删除！"));
            return false;
        }
        if (inUse(code, name)) {
            m_notices.notice(QStringLiteral("该员工已发生过业务，不能删除！"));
            return false;
        }
        if (!m_notices.confirm(QStringLiteral("您确定要删除当前员工吗！")))
            return false;
        Transaction tx(m_db);
        if (inUse(code, name)) {
            m_notices.notice(QStringLiteral("该员工已发生过业务，不能删除！"));
            return false;
        }
        RunSql(m_db, QStringLiteral("delete from jxc_user where id = ?"), {id});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}

bool EmployeeRules::setDisabled(qint64 id, bool disabled)
{
    return WriteFlag(m_db, m_notices, QStringLiteral("保存员工信息失败："), employeeTable(), QStringLiteral("u_jy"), id,
                     disabled);
}
