#include "shell/commandtable.h"

#include "foundation/productconstants.h"

namespace {

using Controls = QList<CommandControl>;

CommandControl at(const char *name, const char *panel, int left, int top)
{
    return {QString::fromLatin1(name), QString::fromLatin1(panel), left, top};
}

CommandControl top(const char *name)
{
    return {QString::fromLatin1(name), QString::fromLatin1(kTopBar), 0, 0};
}

// A right-gated command whose button shows its refusal text without the "！".
ShellCommand gated(Controls controls, const char *refusal, const char *module, QList<int> positions,
                   const char *screen, ScreenLifetime lifetime, FollowOnKind followOn = FollowOnKind::None)
{
    ShellCommand c;
    c.controls = std::move(controls);
    c.refusal = QString::fromUtf8(refusal);
    c.caption = c.refusal;
    c.caption.chop(1);
    c.module = QString::fromLatin1(module);
    c.positions = std::move(positions);
    c.gate = CommandGate::Rights;
    c.screen = QString::fromLatin1(screen);
    c.lifetime = lifetime;
    c.followOn = followOn;
    return c;
}

// An item of the POS query menu: its text carries an accelerator, the refusal drops it.
ShellCommand posItem(const char *text, const char *screen)
{
    QString caption = QString::fromUtf8(text);
    QString name = caption;
    name.truncate(name.indexOf(QLatin1Char('(')));
    ShellCommand c = gated({{QStringLiteral("PopupMenu_Pos_") + QString::fromLatin1(screen),
                             QString::fromLatin1(kPosMenu), 0, 0}},
                           "", "xsgl", {22}, screen, ScreenLifetime::Kept);
    c.caption = caption;
    c.refusal = name + QStringLiteral("！");
    return c;
}

ShellCommand ungated(Controls controls, const char *caption, CommandAction action,
                  const char *screen = "", ScreenLifetime lifetime = ScreenLifetime::None)
{
    ShellCommand c;
    c.controls = std::move(controls);
    c.caption = QString::fromUtf8(caption);
    c.gate = CommandGate::Open;
    c.action = action;
    c.screen = QString::fromLatin1(screen);
    c.lifetime = lifetime;
    return c;
}

std::vector<ShellCommand> buildCommands()
{
    using L = ScreenLifetime;
    const L K = L::Kept;
    const L F = L::Freed;
    std::vector<ShellCommand> t;

    // Goods in.
    t.push_back(gated({at("btn_Menu1_Btn1", "RzPanel_Menu1", 34, 8), at("btn_Menu1_Btn8", "RzPanel_Menu1", 148, 8)},
                      "采购进货！", "cggl", {1, 2, 3}, "TF_Cgjh", K, FollowOnKind::PurchaseReceipt));
    t.push_back(gated({at("btn_Menu1_Btn2", "RzPanel_Menu1", 207, 8), at("btn_Menu1_Btn9", "RzPanel_Menu1", 265, 8)},
                      "采购退货！", "cggl", {4, 5, 6}, "TF_Cgth", K));
    t.push_back(gated({at("btn_Menu1_Btn3", "RzPanel_Menu1", 379, 8)}, "入库统计！", "cggl", {13}, "TF_Rktj", K));
    t.push_back(gated({at("btn_Menu1_Btn4", "RzPanel_Menu1", 207, 307)}, "生产退库！", "cggl", {10, 11, 12},
                      "TF_Sctk", K));
    t.push_back(gated({at("btn_Menu1_Btn5", "RzPanel_Menu1", 33, 307)}, "生产入库！", "cggl", {7, 8, 9}, "TF_Scrk",
                      K, FollowOnKind::ProductionReceipt));
    t.push_back(gated({at("btn_Menu1_Btn6", "RzPanel_Menu1", 379, 307)}, "退货统计！", "cggl", {14}, "TF_Rkthtj", K));
    t.push_back(gated({at("btn_Menu1_Btn7", "RzPanel_Menu1", 34, 8)}, "采购订单！", "cggl", {18, 19, 20}, "TF_Cgd", K));

    // The stock picture of five panels.
    t.push_back(gated({at("img_Menu1_Cangku", "RzPanel_Menu1", 207, 154),
                       at("img_Menu2_Cangku", "RzPanel_Menu2", 207, 154),
                       at("img_Menu3_Cangku", "RzPanel_Menu3", 204, 156),
                       at("img_Menu4_Cangku", "RzPanel_Menu4", 205, 158),
                       at("img_Menu8_Cangku", "RzPanel_Menu8", 207, 158)},
                      "库存商品变动查询！", "kcgl", {1}, "TF_Kccx", K));

    // Goods out.
    t.push_back(gated({at("btn_Menu2_Btn1", "RzPanel_Menu2", 34, 8), at("btn_Menu2_Btn8", "RzPanel_Menu2", 148, 8)},
                      "商品销售！", "xsgl", {1, 2, 3}, "TF_Spxs", K, FollowOnKind::Sale));
    t.push_back(gated({at("btn_Menu2_Btn2", "RzPanel_Menu2", 207, 307)}, "部门退回！", "xsgl", {10, 11, 12},
                      "TF_Bmth", K));
    t.push_back(gated({at("btn_Menu2_Btn3", "RzPanel_Menu2", 34, 8)}, "销售订单！", "xsgl", {18, 19, 20}, "TF_Spdd", K));
    t.push_back(gated({at("btn_Menu2_Btn4", "RzPanel_Menu2", 207, 8), at("btn_Menu2_Btn9", "RzPanel_Menu2", 265, 10)},
                      "销售退货！", "xsgl", {4, 5, 6}, "TF_Xsth", K));
    t.push_back(gated({at("btn_Menu2_Btn5", "RzPanel_Menu2", 34, 307)}, "部门领用！", "xsgl", {7, 8, 9}, "TF_Bmly", K));
    t.push_back(gated({at("btn_Menu2_Btn6", "RzPanel_Menu2", 379, 8)}, "出库统计！", "xsgl", {13}, "TF_Cktj", K));
    t.push_back(gated({at("btn_Menu2_Btn7", "RzPanel_Menu2", 379, 307)}, "退库统计！", "xsgl", {14}, "TF_Cktktj", K));
    t.push_back(gated({at("btn_Menu2_BtnA", "RzPanel_Menu2", 34, 154)}, "POS销售！", "xsgl", {21}, "TF_PosMainForm", K));
    {
        ShellCommand pos = gated({at("btn_Menu2_BtnB", "RzPanel_Menu2", 379, 154)}, "POS查询！", "xsgl", {22}, "",
                                 L::None);
        pos.action = CommandAction::PopupPosMenu;
        t.push_back(pos);
    }
    // The POS query menu. The two cashier reports test xsgl 22 like the rest of the menu:
    // the positions they once tested are beyond the rights any role editor can grant.
    t.push_back(posItem("POS销售流水账(&T)", "TF_Posxs_Lsz"));
    t.push_back(posItem("POS商品销售统计(&U)", "TF_Posxs_Tj"));
    t.push_back(posItem("POS销售排行(&V)", "TF_Posxs_Ph"));
    t.push_back(posItem("会员消费统计(&W)", "TF_Posxs_Hy"));
    t.push_back(posItem("收银员收银统计(&X)", "TF_Posxs_Sytj"));
    t.push_back(posItem("收银员出入款管理(&Y)", "TF_Posxs_Crk"));
    t.push_back(posItem("POS销售提成(&Z)", "TF_Posxs_Tc"));

    // Stock.
    t.push_back(gated({at("btn_Menu3_Btn1", "RzPanel_Menu3", 56, 8)}, "库存调拨！", "kcgl", {2, 3, 4}, "TF_Kcdb", K));
    t.push_back(gated({at("btn_Menu3_Btn3", "RzPanel_Menu3", 354, 8)}, "报损报溢！", "kcgl", {8, 9, 10}, "TF_Bsby", K));
    t.push_back(gated({at("btn_Menu3_Btn4", "RzPanel_Menu3", 56, 307)}, "库存盘点！", "kcgl", {5, 6, 7}, "TF_Kcpd", K));
    t.push_back(gated({at("btn_Menu3_Btn6", "RzPanel_Menu3", 354, 307)}, "库存报警查询！", "kcgl", {11}, "TF_Kcbj", F));

    // Reports.
    t.push_back(gated({at("btn_Menu4_Btn1", "RzPanel_Menu4", 51, 8)}, "进销存明细！", "tjgl", {1}, "TF_Jxcmx", K));
    t.push_back(gated({at("btn_Menu4_Btn2", "RzPanel_Menu4", 201, 8)}, "进销存汇总！", "tjgl", {2}, "TF_Jxchz", K));
    t.push_back(gated({at("btn_Menu4_Btn3", "RzPanel_Menu4", 24, 309)}, "收货对账单！", "tjgl", {4}, "TF_Shdzd", K));
    t.push_back(gated({at("btn_Menu4_Btn4", "RzPanel_Menu4", 145, 309)}, "发货对账单！", "tjgl", {3}, "TF_Fhdzd", K));
    t.push_back(gated({at("btn_Menu4_Btn5", "RzPanel_Menu4", 357, 8)}, "发货成本！", "tjgl", {5}, "TF_Fhcb", K));
    t.push_back(gated({at("btn_Menu4_Btn6", "RzPanel_Menu4", 266, 308)}, "销售毛利！", "tjgl", {6}, "TF_Xsmltj", K));
    t.push_back(gated({at("btn_Menu4_Btn7", "RzPanel_Menu4", 380, 308)}, "业务员销售统计！", "tjgl", {7},
                      "TF_Ywyxstj", K));

    // Partner accounts.
    t.push_back(gated({at("btn_Menu8_Btn1", "RzPanel_Menu8", 34, 8)}, "应收登记！", "wlzk", {1, 7}, "TF_Yskdj", K));
    t.push_back(gated({at("btn_Menu8_Btn2", "RzPanel_Menu8", 207, 8)}, "收款登记！", "wlzk", {2, 8}, "TF_Ysksk", K));
    t.push_back(gated({at("btn_Menu8_Btn3", "RzPanel_Menu8", 379, 8)}, "应收帐表！", "wlzk", {3}, "TF_Yskgl", K));
    t.push_back(gated({at("btn_Menu8_Btn4", "RzPanel_Menu8", 34, 308)}, "应付登记！", "wlzk", {4, 9}, "TF_Yfkdj", K));
    t.push_back(gated({at("btn_Menu8_Btn5", "RzPanel_Menu8", 207, 308)}, "付款登记！", "wlzk", {5, 10}, "TF_Yfkfk", K));
    t.push_back(gated({at("btn_Menu8_Btn6", "RzPanel_Menu8", 379, 308)}, "应付帐表！", "wlzk", {6}, "TF_Yfkgl", K));
    t.push_back(gated({at("btn_Menu8_Btn7", "RzPanel_Menu8", 34, 158)}, "现金银行！", "wlzk", {13, 15}, "TF_Xjyh", K));
    t.push_back(gated({at("btn_Menu8_Btn8", "RzPanel_Menu8", 373, 158)}, "费用及收入！", "wlzk", {12, 14}, "TF_Fyjsr",
                      K));

    // Settings.
    t.push_back(gated({at("btn_Menu6_Btn1", "RzPanel_Menu6", 13, 23)}, "商品信息管理！", "qtcz", {1}, "TF_Spxxgl", K));
    t.push_back(gated({at("btn_Menu6_Btn2", "RzPanel_Menu6", 133, 23)}, "供货商管理！", "qtcz", {2}, "TF_Ghsgl", K));
    t.push_back(gated({at("btn_Menu6_Btn3", "RzPanel_Menu6", 261, 23)}, "客户管理！", "qtcz", {3}, "TF_Khgl", K));
    t.push_back(gated({at("btn_Menu6_Btn8", "RzPanel_Menu6", 384, 23)}, "仓库设置！", "qtcz", {5}, "TF_Ckgl", F));
    t.push_back(gated({at("btn_Menu6_Btn9", "RzPanel_Menu6", 510, 23)}, "员工管理！", "qtcz", {4}, "TF_User", F));
    t.push_back(gated({at("btn_Menu6_Btn6", "RzPanel_Menu6", 49, 208)}, "操作员设置！", "qtcz", {6}, "TF_Admin", F));
    {
        ShellCommand roles;
        roles.controls = {at("btn_Menu6_Btn7", "RzPanel_Menu6", 466, 208)};
        roles.caption = QStringLiteral("角色管理");
        roles.refusal = QStringLiteral("只有系统管理员才能使用此功能！");
        roles.gate = CommandGate::AdministratorOnly;
        roles.screen = QStringLiteral("TF_Role");
        roles.lifetime = F;
        t.push_back(roles);
    }
    t.push_back(gated({at("btn_Menu6_Btn5", "RzPanel_Menu6", 13, 376)}, "系统设置！", "qtcz", {7}, "TF_Xtcs", F));
    t.push_back(gated({at("btn_Menu6_Btn4", "RzPanel_Menu6", 113, 376)}, "部门管理！", "qtcz", {8}, "TF_Dept", F));
    t.push_back(gated({at("btn_Menu6_BtnC", "RzPanel_Menu6", 213, 376)}, "会员管理！", "qtcz", {20}, "TF_Hygl", K));
    t.push_back(gated({at("btn_Menu6_BtnC1", "RzPanel_Menu6", 213, 376)}, "帐套管理！", "qtcz", {13}, "TF_Ztgl", F));
    t.push_back(gated({at("btn_Menu6_BtnB", "RzPanel_Menu6", 316, 376)}, "备份/恢复数据库！", "qtcz", {9}, "TF_Backup",
                      F));
    t.push_back(gated({at("btn_Menu6_BtnA", "RzPanel_Menu6", 414, 376)}, "期初建账！", "qtcz", {12}, "TF_Qcjz", F));
    t.push_back(ungated({at("btn_Menu6_BtnD", "RzPanel_Menu6", 510, 376)}, "系统维护", CommandAction::OpenScreen,
                     "TF_Xtwh", F));

    // Top bar.
    t.push_back(ungated({top("btn_Login")}, "重新登录", CommandAction::ChangeOperator));
    t.push_back(ungated({top("btn_ModiPwd")}, "修改密码", CommandAction::OpenScreen, "TF_PwdModi", K));
    {
        ShellCommand query = gated({top("btn_Djcx")}, "单据查询！", "tjgl", {8}, "TF_Djcx", K);
        t.push_back(query);
    }
    t.push_back(ungated({top("btn_Help")}, "入门操作", CommandAction::HelpPage));
    t.push_back(ungated({top("btn_Spjc")}, "视频教程", CommandAction::VideoPage));
    t.push_back(ungated({top("btn_Lxwm")}, "联系我们", CommandAction::OpenScreen, "TF_Lxwm", F));
    t.push_back(ungated({top("btn_Tcxt")}, "退出系统", CommandAction::Exit));
    {
        ShellCommand goods = gated({top("btn_Bqjl")}, "商品信息管理！", "qtcz", {1}, "TF_Spxxgl", K);
        goods.caption = QStringLiteral("商品管理");
        t.push_back(goods);
    }
    return t;
}

} // namespace

bool ShellCommand::hasControl(const QString &name) const
{
    for (const CommandControl &c : controls) {
        if (c.name == name)
            return true;
    }
    return false;
}

const std::vector<ShellCommand> &ShellCommands()
{
    static const std::vector<ShellCommand> commands = buildCommands();
    return commands;
}

const std::vector<ShellPanel> &ShellPanels()
{
    static const std::vector<ShellPanel> panels = {
        {QStringLiteral("menu1_btn"), QStringLiteral("入库管理 "), QStringLiteral("RzPanel_Menu1"), 500, 400},
        {QStringLiteral("menu2_btn"), QStringLiteral("出库管理 "), QStringLiteral("RzPanel_Menu2"), 500, 400},
        {QStringLiteral("menu3_btn"), QStringLiteral("库存管理 "), QStringLiteral("RzPanel_Menu3"), 500, 400},
        {QStringLiteral("menu4_btn"), QStringLiteral("统计报表 "), QStringLiteral("RzPanel_Menu4"), 500, 400},
        {QStringLiteral("menu5_btn"), QStringLiteral("往来账款 "), QStringLiteral("RzPanel_Menu8"), 500, 400},
        {QStringLiteral("menu6_btn"), QStringLiteral("系统设置 "), QStringLiteral("RzPanel_Menu6"), 600, 500},
    };
    return panels;
}

const ShellCommand *FindCommandByControl(const QString &controlName)
{
    for (const ShellCommand &c : ShellCommands()) {
        if (c.hasControl(controlName))
            return &c;
    }
    return nullptr;
}

const ShellCommand *FindCommandByScreen(const QString &screenClass)
{
    for (const ShellCommand &c : ShellCommands()) {
        if (c.screen == screenClass)
            return &c;
    }
    return nullptr;
}

QStringList CommandScreens()
{
    QStringList out;
    for (const ShellCommand &c : ShellCommands()) {
        if (!c.screen.isEmpty() && !out.contains(c.screen))
            out << c.screen;
    }
    return out;
}

QString VideoTutorialAddress()
{
    return Product().makerWebAddress + QStringLiteral("/video/jxc.htm");
}
