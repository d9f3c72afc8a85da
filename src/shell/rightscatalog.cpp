#include "shell/rightscatalog.h"

namespace {

QList<RightGroup> build()
{
    auto group = [](const char *module, const char *caption, std::initializer_list<const char *> rights) {
        RightGroup g;
        g.module = QString::fromLatin1(module);
        g.caption = QString::fromUtf8(caption);
        for (const char *r : rights)
            g.rights << QString::fromUtf8(r);
        return g;
    };
    return {
        group("cggl", "入库管理",
              {"采购进货", "采购进货审核", "采购进货取消审核", "采购退货", "采购退货审核", "采购退货取消审核",
               "生产入库", "生产入库审核", "生产入库取消审核", "生产退回", "生产退回审核", "生产退回取消审核",
               "入库统计", "退货统计", "允许在采购进货待审核界面添加商品", "允许删除采购进货待审核单据",
               "采购进货允许增加新商品", "采购订单", "采购订单审核", "采购订单取消审核"}),
        group("xsgl", "出库管理",
              {"商品销售", "商品销售审核", "商品销售取消审核", "销售退货", "销售退货审核", "销售退货取消审核",
               "部门领用", "部门领用审核", "部门领用取消审核", "部门退回", "部门退回审核", "部门退回取消审核",
               "出库统计", "退库统计", "允许修改销售成本价", "允许在商品销售待审核界面添加商品",
               "允许删除商品销售待审核单据", "销售订单", "销售订单审核", "销售订单取消审核", "POS销售", "POS查询"}),
        group("kcgl", "库存管理",
              {"商品库存", "库存调拨", "库存调拨审核", "库存调拨取消审核", "库存盘点", "库存盘点审核",
               "库存盘点取消审核", "报损报溢", "报损报溢审核", "报损报溢取消审核", "库存报警", "库存核对",
               "修改商品均价"}),
        group("wlzk", "往来帐款",
              {"应收登记", "收款登记", "应收帐表", "应付登记", "付款登记", "应付帐表", "应收登记审核",
               "收款登记审核", "应付登记审核", "付款登记审核", "修改收付款日期", "费用及收入", "现金银行",
               "费用及收入审核", "现金银行审核"}),
        group("tjgl", "统计报表",
              {"进销存明细", "进销存汇总", "发货对账单", "收货对账单", "发货成本", "销售毛利", "业务员销售",
               "单据查询"}),
        group("qtcz", "其它操作",
              {"商品管理", "供货商设置", "客户设置", "员工设置", "仓库设置", "操作员设置", "系统参数", "部门管理",
               "备份/恢复数据库", "查看日志", "清除日志", "商品期初建账", "帐套管理", "条码打印",
               "允许设置商品提成", "显示商品成本价", "允许更改单据日期", "显示商品销售价", "报表设计", "会员管理"}),
    };
}

} // namespace

const QList<RightGroup> &RightsCatalog()
{
    static const QList<RightGroup> catalog = build();
    return catalog;
}

QString RightCaption(const QString &module, int position)
{
    for (const RightGroup &g : RightsCatalog()) {
        if (g.module == module)
            return position >= 1 && position <= g.rights.size() ? g.rights.at(position - 1) : QString();
    }
    return QString();
}

QString &RoleRights::of(const QString &module)
{
    if (module == QLatin1String("cggl"))
        return cggl;
    if (module == QLatin1String("xsgl"))
        return xsgl;
    if (module == QLatin1String("kcgl"))
        return kcgl;
    if (module == QLatin1String("wlzk"))
        return wlzk;
    if (module == QLatin1String("tjgl"))
        return tjgl;
    if (module == QLatin1String("qtcz"))
        return qtcz;
    return rcgl;
}

QString RoleRights::of(const QString &module) const
{
    return const_cast<RoleRights *>(this)->of(module);
}

QList<bool> RightStatesOf(const RoleRights &rights)
{
    QList<bool> states;
    for (const RightGroup &g : RightsCatalog()) {
        const QString text = rights.of(g.module);
        for (int i = 0; i < g.rights.size(); ++i)
            states << (i < text.size() && text.at(i) == QLatin1Char('1'));
    }
    return states;
}

RoleRights RoleRightsFrom(const QList<bool> &states)
{
    RoleRights out;
    int n = 0;
    for (const RightGroup &g : RightsCatalog()) {
        QString &text = out.of(g.module);
        for (int i = 0; i < g.rights.size(); ++i, ++n)
            text += (n < states.size() && states.at(n)) ? QLatin1Char('1') : QLatin1Char('0');
    }
    return out;
}

int RightsCount()
{
    int n = 0;
    for (const RightGroup &g : RightsCatalog())
        n += int(g.rights.size());
    return n;
}
