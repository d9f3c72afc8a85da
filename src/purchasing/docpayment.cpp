#include "purchasing/docpayment.h"

#include "engine/audit.h"
#include "engine/balances.h"
#include "engine/postinglocks.h"
#include "foundation/columnwidth.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/numbering.h"
#include "foundation/oplog.h"
#include "foundation/sanitize.h"
#include "foundation/sqlnames.h"

#include <QSqlQuery>

namespace {

struct Tables
{
    QString header;
    QString p;  // column prefix
};

Tables TablesOf(bool isReturn)
{
    return isReturn ? Tables{QStringLiteral("jxc_thd"), QStringLiteral("th_")}
                    : Tables{QStringLiteral("jxc_jhd"), QStringLiteral("j_")};
}

// Raised inside the payment's transaction to roll it back after showing a refusal.
struct Refused
{
    QString text;
};

} // namespace

DocPaymentRules::DocPaymentRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

KeyedItems DocPaymentRules::handlers() const
{
    return LoadKeyedComboWhere(m_db, QStringLiteral("jxc_user"), QStringLiteral("u_name"), QStringLiteral("u_sn"),
                               QStringLiteral("id"), SqlWhere(QStringLiteral("u_jy = 0")));
}

KeyedItems DocPaymentRules::accounts() const
{
    return LoadKeyedCombo(m_db, QStringLiteral("jxc_yhzh"), QStringLiteral("yh_name"), QStringLiteral("yh_sn"),
                          QStringLiteral("id"));
}

std::optional<DocPaymentView> DocPaymentRules::open(const QString &number) const
{
    DocPaymentView v;
    v.number = number;
    v.isReturn = number.left(2) == QLatin1String("CT");
    const Tables t = TablesOf(v.isReturn);
    QSqlQuery q = OpenSelect(m_db,
                             QStringLiteral("select a.ghs_sn, b.ghs_name, c.u_name, a.%1kmmc, a.%1yfje, a.%1sfje, a.%1hkje "
                                            "from %2 a left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn "
                                            "left join jxc_user c on c.u_sn = a.u_sn where a.gl_djh = ? order by a.id")
                                 .arg(t.p, t.header),
                             {number});
    if (!q.next())
        return std::nullopt;
    v.supplierSn = q.value(0).toString();
    v.supplierName = q.value(1).toString();
    v.handlerName = q.value(2).toString();
    v.accountName = q.value(3).toString();
    v.payable = q.value(4).toDouble();
    v.paid = q.value(5).toDouble();
    v.paidLater = q.value(6).toDouble();
    v.amount = RoundTo(v.payable - v.paid - v.paidLater, 8);
    v.balance = GetPartnerBalance(m_db, m_state, m_clock, v.supplierSn, QStringLiteral("ghs"));
    return v;
}

std::optional<double> DocPaymentRules::save(const DocPaymentView &view, const DocPaymentInput &in)
{
    if (in.amount == 0) {
        m_notices.notice(QStringLiteral("收款不能为0！"));
        return std::nullopt;
    }
    if (in.handlerSn.trimmed().isEmpty()) {
        m_notices.notice(QStringLiteral("经办人不能为空！"));
        return std::nullopt;
    }
    const Tables t = TablesOf(view.isReturn);
    const QString note = SafeText(in.note.trimmed());
    const QString when = in.day + QLatin1Char(' ') + m_clock.now().toString(QStringLiteral("HH:mm"));
    const QString amount = NumberText(in.amount);
    try {
        Transaction tx(m_db);
        PostingLockKeys keys;
        keys.headers.push_back({t.header, view.number});
        keys.numberStems << QStringLiteral("FK") + QDate::fromString(in.day, QStringLiteral("yyyy-MM-dd")).toString(QStringLiteral("yyMMdd"));
        LockForPosting lock(m_db, keys);
        const QString state = QueryScalar(
            m_db, QStringLiteral("select count(*) || '|' || coalesce(min(%1status), 0) from %2 where gl_djh = ?").arg(t.p, t.header),
            {view.number});
        if (state != QLatin1String("1|1"))
            throw Refused{QStringLiteral("单据%1的状态已改变，请重新查询！").arg(view.number)};
        const QString fk = GetNewDjhByDate(m_db, QStringLiteral("jxc_ysyfk_dj"), QStringLiteral("gl_djh"), QStringLiteral("FK"), in.day);
        RunSql(m_db,
               QStringLiteral("insert into jxc_ysyfk_dj (gl_djh, k_ghskh, k_type, k_djlx, k_djtxt, k_rq, k_fkfs, k_sfje, "
                              "k_yfje, k_yhje, k_qcje, k_ljje, k_mlje, k_flag, k_note, gl_djh2, k_check, k_checker, "
                              "k_chkrq, u_sn, a_name) values (?, ?, 'ghs', 'FK', '单据付款', ?, ?, ?, 0, 0, 0, 0, 0, -1, ?, ?, "
                              "0, '', '', ?, ?)"),
               {fk, view.supplierSn, when,
                CutToColumn(QStringLiteral("jxc_ysyfk_dj"), QStringLiteral("k_fkfs"), StripControls(in.accountText)),
                in.amount,
                CutToColumn(QStringLiteral("jxc_ysyfk_dj"), QStringLiteral("k_note"),
                            QStringLiteral("单据【%1】付款 %2").arg(view.number, note)),
                view.number, in.handlerSn, m_state.CurrentOperatorName});
        WriteLog(m_db, m_state, m_clock, QStringLiteral("增加付款，供货商：%1，金额：%2").arg(view.supplierName, amount));
        if (IsTrue(m_state.AuditOnSave)) {
            const AuditResult audit = RunAuditPayment(m_db, m_state, m_clock, fk);
            if (!audit.audited())
                throw Refused{audit.text};
        }
        const QString oldNote = QueryScalar(m_db, QStringLiteral("select coalesce(max(%1note), '') from %2 where gl_djh = ?").arg(t.p, t.header),
                                            {view.number});
        const QString newNote =
            (oldNote + QStringLiteral("  付款:%1金额:%2，付款日期：%3 %4").arg(fk, amount, when, note)).left(200);
        RunSql(m_db, QStringLiteral("update %1 set %2hkje = coalesce(%2hkje, 0) + ?, %2note = ? where gl_djh = ?").arg(t.header, t.p),
               {in.amount, newNote, view.number});
        tx.commit();
    } catch (const Refused &r) {
        if (!r.text.isEmpty())
            m_notices.notice(r.text);
        return std::nullopt;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("付款失败：") + e.text());
        return std::nullopt;
    }
    return in.amount;
}
