#include "sales/saledoc.h"

#include "engine/enginebatch.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"

DocType SaleDocType()
{
    DocType t;
    t.name = QStringLiteral("商品销售单");
    t.prefix = QStringLiteral("XS");
    t.headerTable = QStringLiteral("jxc_lsxsd");
    t.linesTable = QStringLiteral("jxc_lsxssp");
    t.dateField = QStringLiteral("ls_xsrq");
    t.quantityField = QStringLiteral("ls_sl");
    t.priceField = QStringLiteral("ls_dj");
    t.amountField = QStringLiteral("ls_zje");
    t.basketTable = QStringLiteral("jxc_tempspxf2");
    t.line = LineColumns::withPrefix(QStringLiteral("ls_"), QStringLiteral("ls_bz"));
    t.sourceTag = QStringLiteral("spxs");
    return t;
}

ListStatement SaleLinesStatement(const QString &number, const QString &operatorName)
{
    ListStatement st{QStringLiteral("select b.*, coalesce(a.g_name, '') || coalesce(b.g_tmbz, '') || coalesce(b.t_zp, '') "
                                    "as g_name, a.g_jm, a.g_jj, a.gg_name, a.color_name, a.g_sccs, a.g_kc, a.g_bz, "
                                    "b.ls_dj * b.ls_dzl as sj from jxc_lsxssp b left join jxc_goods a on a.g_sn = b.g_sn "
                                    "where b.gl_djh = ?"),
                     QStringLiteral("b.id"),
                     {number}};
    if (!operatorName.isEmpty()) {
        st.body += QStringLiteral(" and b.a_name = ?");
        st.binds << operatorName;
    }
    return st;
}

SaleResult RunSaleWrite(const QSqlDatabase &db, Notices &notices, DocumentContext &context, const QString &failure,
                        const std::function<QString(SaleResult &result)> &write)
{
    SaleResult result;
    result.number = context.number;
    try {
        Transaction tx(db);
        const QString number = write(result);
        if (result.status != SaleStatus::Done)
            return result;
        tx.commit();
        context.renumber(number);
        result.number = number;
    } catch (const DbError &e) {
        notices.notice(failure + e.text());
        result.status = SaleStatus::Failed;
        return result;
    }
    context.notifyLinesChanged();
    return result;
}

LineDecimals SaleCellDecimals(const LoginState &state)
{
    return {state.PriceDecimals, engine::AmountDecimals(state)};
}

std::optional<int> SaleAmountRounding(const LoginState &state)
{
    if (!IsTrue(state.RoundTotals))
        return std::nullopt;
    return engine::AmountDecimals(state);
}

double SaleStockOut(const LoginState &state, double quantity)
{
    return IsTrue(state.SeparateStockOut) ? 0.0 : quantity;
}

double MinSaleDiscountOf(const LoginState &state)
{
    return TextToNumber(state.MinSaleDiscount);
}

QString MinDiscountText(const LoginState &state)
{
    return QStringLiteral("商品的最低折扣为：“") + NumberText(MinSaleDiscountOf(state))
           + QStringLiteral("”，\r\n\r\n打折率不能低于最低折扣！");
}
