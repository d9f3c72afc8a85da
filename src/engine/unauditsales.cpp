// Cancel-audit of sales (XS, jxc_lsxsd/jxc_lsxssp), sales returns (XT, jxc_xsthd/jxc_xsthsp) and
// goods exchanges (XH, jxc_xshhd/jxc_xshhsp): the cancel kit over the sales postings'
// descriptions, and the exchange's own.

#include "engine/members.h"
#include "engine/postsales.h"
#include "engine/unauditphases.h"
#include "foundation/db/sqlroutines.h"

namespace unauditsales_impl {

using postingsupport::RowTexts;

// A POS bill (`isPos` of its header) locks its member, takes back the member's visit and points
// under `tag`, and its POS copy goes.
void addPosBill(CancelKind &c, bool (*isPos)(const RowTexts &), const char *tag)
{
    c.member = [isPos](const RowTexts &h) { return isPos(h) ? h.value(QStringLiteral("hy_sn")) : QString(); };
    c.own = [isPos, tag](const CancelContext &x) {
        if (!isPos(x.header))
            return;
        const QString member = x.header.value(QStringLiteral("hy_sn"));
        if (!member.isEmpty())
            PostPosMember(x.db, x.state, x.clock, x.number, member, QLatin1String(tag));
        RunSql(x.db, QStringLiteral("delete from jxc_posxssp where gl_djh = ?"), {x.number});
        RunSql(x.db, QStringLiteral("delete from jxc_posxsd where gl_djh = ?"), {x.number});
    };
}

unauditphases::CancelPhases exchangePhases()
{
    unauditphases::CancelPhases p;
    p.check.module = QStringLiteral("xsgl");
    p.check.position = 3;
    p.check.name = QStringLiteral("商品换货单");
    p.check.header = p.cancel.header = QStringLiteral("jxc_xshhd");
    p.check.prefix = p.cancel.prefix = QStringLiteral("ls_");
    CancelKind &c = p.cancel;
    c.dateColumn = QStringLiteral("ls_xsrq");
    c.partner = &CustomerSide();
    c.logText = QStringLiteral("取消审核商品换货单");
    // Each row back into its own warehouse, as sold goods coming back.
    c.steps = [](const CancelContext &x) {
        return ReadStockSteps(x.db, x.number, {.sold = QStringLiteral("-g.gl_sl"), .rowWarehouse = true}, QString());
    };
    c.moves = {.movesSold = true, .frequency = QStringLiteral("g_xspl"), .frequencyStep = -1};
    c.reset = QStringLiteral("ls_status = 0, ls_chkrq = '', ls_checker = ''");
    c.keepAuditedKeepsHeader = false;
    c.registrations = c.invoices = c.expenses = c.zeroRows = false;
    // The sale made of the exchange goes with it.
    c.after = [](const CancelContext &x) {
        RunSql(x.db, QStringLiteral("delete from jxc_lsxssp where gl_djh = ?"), {x.number});
        RunSql(x.db, QStringLiteral("delete from jxc_lsxsd where gl_djh = ?"), {x.number});
    };
    return p;
}

} // namespace unauditsales_impl

namespace unauditphases {

using namespace unauditsales_impl;

const CancelPhases *SalesCancelPhases(UnauditKind kind)
{
    // A sale with goods-out lines made from it stays.
    static const CancelPhases sale = [] {
        CancelPhases p{CheckOf(SaleKind(), QStringLiteral("xsgl"), 3), CancelOf(SaleKind())};
        p.check.later = {QStringLiteral("jxc_cksp"), QStringLiteral("gl_djh2"), QStringLiteral("出库"),
                         QStringLiteral("商品出库单")};
        addPosBill(p.cancel, [](const RowTexts &h) { return postingsupport::Num(h, QStringLiteral("ls_dhbz")) == 1; },
                   "unXS");
        p.cancel.reset = QStringLiteral("ls_dhbz = 0, ") + p.cancel.reset;
        return p;
    }();
    // The returned goods must leave again; the sold counter stays as the return left it.
    static const CancelPhases salesReturn = [] {
        CancelPhases p{CheckOf(SalesReturnKind(), QStringLiteral("xsgl"), 6), CancelOf(SalesReturnKind())};
        p.check.stockType = QStringLiteral("XT");
        addPosBill(
            p.cancel,
            [](const RowTexts &h) {
                return !h.value(QStringLiteral("th_qk")).isEmpty() && postingsupport::Num(h, QStringLiteral("th_qk")) != 0;
            },
            "unXT");
        p.cancel.logText = QStringLiteral("取消审核商品退货单");
        p.cancel.reset = QStringLiteral("th_qk = 0, ") + p.cancel.reset;
        p.cancel.moves.frequency.clear();
        return p;
    }();
    static const CancelPhases exchange = exchangePhases();
    const std::pair<UnauditKind, const CancelPhases *> kinds[] = {
        {UnauditKind::Sale, &sale}, {UnauditKind::SalesReturn, &salesReturn}, {UnauditKind::Exchange, &exchange}};
    for (const auto &[k, phases] : kinds)
        if (k == kind)
            return phases;
    return nullptr;
}

} // namespace unauditphases
