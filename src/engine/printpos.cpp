#include "engine/printpos.h"

#include "engine/printsupport.h"
#include "foundation/capitals.h"
#include "foundation/db/numbers.h"
#include "foundation/loginstate.h"

namespace {

const QString kLines = QStringLiteral("Q_GoodsPrin");

void SetMember(ReportVariables &v, const char *variable, const PrintRow &member, const char *column)
{
    v.set(QString::fromLatin1(variable), member[QString::fromLatin1(column)]);
}

} // namespace

QString PosPaymentKind(double cash, double storedValue, double bankCard, double voucher, double wechat,
                       double alipay)
{
    const std::pair<double, const char *> kinds[] = {
        {cash, "现金结账"},   {storedValue, "储值卡结账"}, {bankCard, "银行卡结账"},
        {voucher, "代金券结账"}, {wechat, "微信结账"},      {alipay, "支付宝结账"},
    };
    int counted = 0;
    QString text;
    for (const auto &k : kinds) {
        if (k.first > 0) {
            ++counted;
            text = QString::fromUtf8(k.second);
        }
    }
    if (counted > 1)
        return QStringLiteral("联合结账");
    return text;
}

PrintJob PrintPosSlip(const QSqlDatabase &db, const LoginState &state, ReportOutput &output,
                      const QString &number, const QString &templateFolder)
{
    PrintJob job = PrintJob::forTemplate(QStringLiteral("posxsd.fr3"), templateFolder);
    job.decimals = PrintDecimals(state);
    const QString prefix = number.left(2);
    const QString title = prefix == QLatin1String("XS")   ? QStringLiteral("POS销售单")
                          : prefix == QLatin1String("XT") ? QStringLiteral("POS退货单")
                                                          : QString();

    const PrintRow bill = PrintRow::read(db, QStringLiteral("select * from jxc_posxsd where gl_djh = ? order by id"),
                                         {number});
    const QString due = MoneyToCapital(bill[QStringLiteral("pos_yfje")]);
    const QString paid = MoneyToCapital(bill[QStringLiteral("pos_sfje")]);
    const QString memberCode = bill[QStringLiteral("hy_sn")];

    PrintRow member;
    if (!memberCode.isEmpty())
        member = PrintRow::read(db, QStringLiteral("select * from jxc_hyxx where hy_sn = ? order by id"), {memberCode});
    ReportVariables &v = job.variables;
    SetMember(v, "hybh", member, "hy_bh");
    SetMember(v, "hyye", member, "hy_zhje");
    SetMember(v, "hyjf", member, "hy_zjf");  // total points
    SetMember(v, "hyname", member, "hy_name");
    SetMember(v, "hymobile", member, "hy_mobile");

    job.setDataSet(kLines,
                   DataSet::read(db,
                                 QStringLiteral("select a.g_sn, a.pos_dj, a.pos_dzl, a.pos_sl, a.pos_zje, "
                                                "a.pos_dj * a.pos_dzl as zhdj, b.g_name, c.* "
                                                "from jxc_posxssp a, jxc_goods b, jxc_posxsd c "
                                                "where a.g_sn = b.g_sn and a.gl_djh = c.gl_djh and a.gl_djh = ? "
                                                "order by a.id"),
                                 {number}));
    v.set(QStringLiteral("sTitle"), title);
    v.set(QStringLiteral("yf"), due);
    v.set(QStringLiteral("sf"), paid);
    output.preview(job);
    return job;
}

PrintJob PrintPosTicket(const QSqlDatabase &db, const LoginState &state, ReportOutput &output,
                        const QString &number, int copies, const QString &templateFolder)
{
    const PrintRow settings = PrintRow::read(db, QStringLiteral("select * from jxc_posprint order by id"), {});
    const bool narrow = settings[QStringLiteral("pp_kd")] == QLatin1String("0");
    PrintJob job = PrintJob::forTemplate(narrow ? QStringLiteral("posxp58.fr3") : QStringLiteral("posxp.fr3"),
                                         templateFolder);
    job.decimals = PrintDecimals(state);
    ReportVariables &v = job.variables;
    v.set(QStringLiteral("bt1"), settings[QStringLiteral("pp_bt1")]);
    v.set(QStringLiteral("bt2"), settings[QStringLiteral("pp_bt2")]);
    v.set(QStringLiteral("jz1"), settings[QStringLiteral("pp_jz1")]);
    v.set(QStringLiteral("jz2"), settings[QStringLiteral("pp_jz2")]);

    // Missing amounts count as 0 in the sums.
    const PrintRow bill = PrintRow::read(
        db,
        QStringLiteral("select a.*, coalesce(a.pos_bcjf, 0) + coalesce(a.pos_zjf, 0) as zjf, "
                       "coalesce(a.pos_xj, 0) + coalesce(a.pos_czk, 0) + coalesce(a.pos_yhk, 0) + "
                       "coalesce(a.pos_djq, 0) + coalesce(a.pos_wxje, 0) + coalesce(a.pos_zfbje, 0) as fkje, "
                       "b.kh_name, c.u_name from jxc_posxsd a, jxc_khxx b, jxc_user c "
                       "where a.kh_sn = b.kh_sn and a.u_sn = c.u_sn and a.gl_djh = ? order by a.id"),
        {number});
    const QString memberCode = bill[QStringLiteral("hy_sn")];
    const auto num = [&bill](const char *column) { return TextToNumber(bill[QString::fromLatin1(column)]); };

    v.set(QStringLiteral("jhDate"), bill[QStringLiteral("pos_xsrq")]);
    v.set(QStringLiteral("khName"), bill[QStringLiteral("kh_name")]);
    v.set(QStringLiteral("yfje"), bill[QStringLiteral("pos_yfje")]);
    // Tendered: paid plus change; a return shows what it paid back.
    if (number.left(2) == QLatin1String("XT"))
        v.set(QStringLiteral("sfje"), NumberText(num("pos_sfje")));
    else
        v.set(QStringLiteral("sfje"), NumberText(num("pos_sfje") + num("pos_zlje")));
    v.set(QStringLiteral("mlje"), bill[QStringLiteral("pos_mlje")]);
    v.set(QStringLiteral("fkje"), bill[QStringLiteral("fkje")]);
    v.set(QStringLiteral("zlje"), num("pos_zlje") > 0 ? bill[QStringLiteral("pos_zlje")] : QString());
    v.set(QStringLiteral("zffs"), PosPaymentKind(num("pos_xj"), num("pos_czk"), num("pos_yhk"), num("pos_djq"),
                                                 num("pos_wxje"), num("pos_zfbje")));
    v.set(QStringLiteral("uName"), bill[QStringLiteral("u_name")]);
    v.set(QStringLiteral("bcjf"), memberCode.isEmpty() ? QString() : bill[QStringLiteral("pos_bcjf")]);
    v.set(QStringLiteral("zjf"), memberCode.isEmpty() ? QString() : bill[QStringLiteral("zjf")]);
    v.set(QStringLiteral("Note"), bill[QStringLiteral("pos_note")]);

    PrintRow member;
    if (!memberCode.isEmpty())
        member = PrintRow::read(db,
                                QStringLiteral("select hy_name, hy_bh, hy_jf, hy_zhje, hy_tele, hy_mobile "
                                               "from jxc_hyxx where hy_sn = ? order by id"),
                                {memberCode});
    SetMember(v, "hybh", member, "hy_bh");
    SetMember(v, "hyye", member, "hy_zhje");
    SetMember(v, "hyjf", member, "hy_jf");  // current points
    SetMember(v, "hytele", member, "hy_tele");
    SetMember(v, "hymobile", member, "hy_mobile");
    SetMember(v, "hyname", member, "hy_name");

    job.setDataSet(kLines,
                   DataSet::read(db,
                                 QStringLiteral("select a.*, coalesce(b.g_name, '') || coalesce(a.g_tmbz, '') || "
                                                "coalesce(a.t_zp, '') as g_name, b.g_sccs, b.gg_name, b.color_name "
                                                "from jxc_posxssp a, jxc_goods b where a.g_sn = b.g_sn and a.gl_djh = ? "
                                                "order by a.id"),
                                 {number}));

    if (IsTrue(settings[QStringLiteral("pp_bzxx")])) {
        output.preview(job);
    } else {
        for (int i = 0; i < copies; ++i)  // one job per copy, as the receipt printer expects
            output.printDirect(job, 1);
    }
    return job;
}
