// Operators, roles and rights, the password change and the log viewer: the rules headless and
// the screens through their real widgets, on the default set of a fresh program folder.

#include "shellfixture.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/password.h"
#include "foundation/rights.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"
#include "shell/forms/admin.h"
#include "shell/forms/admin_add.h"
#include "shell/forms/mainform.h"
#include "shell/forms/adminscreens.h"
#include "shell/forms/pwdmodi.h"
#include "shell/forms/role.h"
#include "shell/forms/role_add.h"
#include "shell/forms/viewlog.h"
#include "shell/loginsequence.h"
#include "shell/operators.h"
#include "shell/passwordchange.h"
#include "shell/rightscatalog.h"
#include "shell/roles.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest/QTest>

namespace {

class AdminTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        loginAs(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
    }
    void loginAs(const QString &name, const QString &sn, const QString &role)
    {
        state.CurrentOperatorName = name;
        state.CurrentOperatorSn = sn;
        state.CurrentRoleSn = role;
        state.CurrentAccountSetDb = QStringLiteral("jxc.db");
        state.CurrentAccountSetName = QStringLiteral("主帐套");
        LoadSysParams(db(), state, clock);
    }
    QString value(const QString &sql, const QVariantList &binds = {}) { return QueryScalar(db(), sql, binds); }
    QString field(const QString &column, const QString &name)
    {
        return value(QStringLiteral("select %1 from jxc_admin where a_name = ?").arg(column), {name});
    }
    qint64 idOf(const QString &name)
    {
        return value(QStringLiteral("select id from jxc_admin where a_name = ?"), {name}).toLongLong();
    }
    OperatorSaveResult add(const QString &name, const QString &pwd = QString(), const QString &pwd2 = QString(),
                           const QString &role = QStringLiteral("100001"))
    {
        OperatorInput in;
        in.name = name;
        in.password = pwd;
        in.repeat = pwd2;
        in.roleSn = role;
        return AddOperator(db(), in);
    }
    QString addRole(const QString &name, const QList<bool> &states)
    {
        return SaveRole(db(), RoleDialogMode::Add, 0, name, states).sn;
    }
    static QStringList gridColumn(DataGrid *grid, const QString &field)
    {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out << grid->value(r, field).toString();
        return out;
    }
};

// ---- Operators ----

TEST_F(AdminTest, AddedOperatorThroughTheDialogIsStoredAndListedAfterAdmin)
{
    TF_Admin_Add dialog(db(), state, notices, 0);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("增加操作员"));
    EXPECT_FALSE(dialog.chkPos->isVisible());
    dialog.edName->setText(QStringLiteral("li"));
    ASSERT_TRUE(dialog.cbRole->selectText(QStringLiteral("系统管理员")));
    dialog.edPwd->setText(QStringLiteral("a(b)-c/d"));
    dialog.edPwd2->setText(QStringLiteral("a(b)-c/d"));
    dialog.edMoney->setValue(5);
    dialog.btnOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(notices.shown.isEmpty()) << notices.texts().join('|').toStdString();

    EXPECT_EQ(field("a_sn", "li"), "100002");
    EXPECT_EQ(field("a_pwd", "li"), "a(b)-c/d");
    EXPECT_EQ(field("a_zreoje", "li"), "5");
    EXPECT_EQ(field("r_sn", "li"), "100001");
    for (const char *flag : {"a_pos", "a_jy", "a_jyt"})
        EXPECT_EQ(field(flag, "li"), "0") << flag;

    TF_Admin list(db(), state, notices);
    EXPECT_EQ(gridColumn(list.grid, "a_name"), (QStringList{"admin", "li"}));
    EXPECT_EQ(list.grid->footerText("a_sn"), QStringLiteral("数量：2"));
    EXPECT_EQ(list.grid->model()->displayText(1, "a_zreoje"), QStringLiteral("￥5.00"));
}

TEST_F(AdminTest, NamesAndPasswordsAreTrimmedAndSanitisedAsTheLoginComparesThem)
{
    ASSERT_TRUE(add(QStringLiteral("  王 五 "), QStringLiteral("x'y?"), QStringLiteral("x'y?")).saved());
    EXPECT_EQ(field("a_pwd", QStringLiteral("王 五")), QStringLiteral("x‘y？"));
    // The login finds the operator with what was typed.
    EXPECT_TRUE(PasswordMatches(db(), QStringLiteral("王 五"), QStringLiteral("x'y?")));
}

TEST_F(AdminTest, AddRefusalsWriteNothing)
{
    struct Case
    {
        const char *name, *pwd, *pwd2, *text;
    } cases[] = {
        {"", "", "", "用户名称必须填写！"},
        {"   ", "", "", "用户名称必须填写！"},
        {"zhang", "abc", "abd", "两次密码输入不一致！"},
        {"admin", "", "", "用户名称不能重复！"},
        {"ADMIN", "", "", "用户名称不能重复！"},
        // Held to the columns, the same on both kinds of database.
        {"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三", "", "", "用户名称的长度不能超过32个字符！"},
        {"zhang", "0123456789012345678901234567890123", "0123456789012345678901234567890123",
         "用户密码的长度不能超过32个字符！"},
    };
    for (const Case &c : cases) {
        const OperatorSaveResult r = add(QString::fromUtf8(c.name), QString::fromUtf8(c.pwd), QString::fromUtf8(c.pwd2));
        EXPECT_EQ(r.refusal, QString::fromUtf8(c.text)) << c.name;
        EXPECT_EQ(value("select count(*) from jxc_admin"), "1") << c.name;
    }
}

TEST_F(AdminTest, ModifyDialogShowsThePasswordAndClearingBothKeepsIt)
{
    ASSERT_TRUE(add("li", "secret", "secret").saved());
    {
        TF_Admin_Add dialog(db(), state, notices, idOf("li"));
        EXPECT_EQ(dialog.objectName(), QStringLiteral("TF_Admin_Modi"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("修改操作员"));
        EXPECT_EQ(dialog.edPwd->text(), "secret");
        EXPECT_EQ(dialog.edPwd2->text(), "secret");
        dialog.edPwd->clear();
        dialog.edPwd2->clear();
        dialog.btnOK->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(field("a_pwd", "li"), "secret");
    {
        TF_Admin_Add dialog(db(), state, notices, idOf("li"));
        dialog.edPwd->setText("one");
        dialog.edPwd2->setText("two");
        dialog.btnOK->click();
        EXPECT_EQ(notices.last(), QStringLiteral("两次密码输入不一致！"));
    }
    EXPECT_EQ(field("a_pwd", "li"), "secret");
}

TEST_F(AdminTest, ForbiddenOperatorSortsLastAndIsNotOfferedAtLogin)
{
    ASSERT_TRUE(add("li").saved());
    ASSERT_TRUE(add("zhang").saved());
    {
        TF_Admin_Add dialog(db(), state, notices, idOf("li"));
        dialog.chkJy->setChecked(true);
        dialog.btnOK->click();
    }
    EXPECT_EQ(field("a_jy", "li"), "1");
    EXPECT_EQ(field("a_jyt", "li"), "1");
    TF_Admin list(db(), state, notices);
    EXPECT_EQ(gridColumn(list.grid, "a_name"), (QStringList{"admin", "zhang", "li"}));
    QStringList offered;
    for (const KeyedItem &i : LoginOperators(db()))
        offered << i.text;
    EXPECT_EQ(offered, (QStringList{"admin", "zhang"}));
}

TEST_F(AdminTest, BuiltInAdministratorKeepsRoleAndFlagButMayBeRenamed)
{
    const QString other = addRole("guest", QList<bool>(RightsCount(), false));
    TF_Admin_Add dialog(db(), state, notices, idOf("admin"));
    EXPECT_FALSE(dialog.cbRole->isEnabled());
    EXPECT_FALSE(dialog.chkJy->isEnabled());
    dialog.edName->setText("boss");
    dialog.edPwd->setText("pw");
    dialog.edPwd2->setText("pw");
    dialog.btnOK->click();
    EXPECT_EQ(field("a_pwd", "boss"), "pw");
    EXPECT_EQ(field("r_sn", "boss"), "100001");

    // Even a rule caller cannot change the role or forbid "100001".
    OperatorInput in{QStringLiteral("boss"), other, QString(), QString(), 0, false, true};
    ASSERT_TRUE(ModifyOperator(db(), idOf("boss"), in).saved());
    EXPECT_EQ(field("r_sn", "boss"), "100001");
    EXPECT_EQ(field("a_jyt", "boss"), "0");
}

TEST_F(AdminTest, RenameReplacesWholeEntriesOfWarehouseOperatorLists)
{
    struct Case
    {
        const char *before, *after;
    } cases[] = {
        {"li,zhang,", "li2,zhang,"},
        {"xli,LI,", "xli,li2,"},
        {"xli,", "xli,"},
        {"zhang,li", "zhang,li2"},
    };
    ASSERT_TRUE(add("li").saved());
    RunSql(db(), "delete from jxc_ckxx");
    int n = 0;
    for (const Case &c : cases)
        RunSql(db(), "insert into jxc_ckxx (ck_sn, ck_name, ck_aname, ck_asn) values (?, ?, ?, '100002,')",
               {QString::number(++n), QStringLiteral("仓库%1").arg(n), QString::fromUtf8(c.before)});
    OperatorInput in{QStringLiteral("li2"), QStringLiteral("100001"), QString(), QString()};
    ASSERT_TRUE(ModifyOperator(db(), idOf("li"), in).saved());
    n = 0;
    for (const Case &c : cases) {
        ++n;
        EXPECT_EQ(value("select ck_aname from jxc_ckxx where ck_sn = ?", {QString::number(n)}), QString::fromUtf8(c.after))
            << c.before;
        EXPECT_EQ(value("select ck_asn from jxc_ckxx where ck_sn = ?", {QString::number(n)}), "100002,");
    }
}

TEST_F(AdminTest, DeleteTestsBusinessUnderTheCurrentNameBeforeTheBuiltInAdministrator)
{
    ASSERT_TRUE(add("li").saved());
    const QString li = field("a_sn", "li");
    // Documents only under an earlier name do not count.
    RunSql(db(), "insert into jxc_jhd (gl_djh, a_name) values ('CJ1', 'oldli')");
    EXPECT_EQ(OperatorDeleteRefusal(db(), li), QString());
    RunSql(db(), "insert into jxc_lsxsd (gl_djh, a_name) values ('XS1', 'li')");
    EXPECT_EQ(OperatorDeleteRefusal(db(), li), QStringLiteral("该操作员已发生过业务，不能删除！"));
    EXPECT_EQ(OperatorDeleteRefusal(db(), "100001"), QStringLiteral("内置系统管理员不能删除！"));
    RunSql(db(), "insert into jxc_jhd (gl_djh, a_name) values ('CJ2', 'admin')");
    EXPECT_EQ(OperatorDeleteRefusal(db(), "100001"), QStringLiteral("该操作员已发生过业务，不能删除！"));

    ASSERT_TRUE(add("wang").saved());
    TF_Admin list(db(), state, notices);
    ASSERT_TRUE(list.grid->locate("a_name", "wang"));
    notices.script({Notices::Answer::No});
    list.btnDel->click();
    EXPECT_EQ(notices.last(), QStringLiteral("您确定要删除当前操作员吗！"));
    EXPECT_EQ(field("a_sn", "wang"), "100003");
    notices.script({Notices::Answer::Yes});
    list.btnDel->click();
    EXPECT_EQ(field("a_sn", "wang"), QString());
    EXPECT_EQ(list.grid->rowCount(), 2);
}

TEST_F(AdminTest, CopyAndPasteMakeLoginableOperatorsAndPasteNeedsACopy)
{
    RunSql(db(), "update jxc_admin set a_pwd = 'pw', a_zreoje = 3 where a_sn = '100001'");
    TF_Admin list(db(), state, notices);
    EXPECT_FALSE(list.actPaste->isEnabled());
    list.grid->locate("a_name", "admin");
    list.actCopy->trigger();
    EXPECT_TRUE(list.actPaste->isEnabled());
    list.actPaste->trigger();
    list.actPaste->trigger();
    EXPECT_EQ(field("a_sn", QStringLiteral("复制 admin100002")), "100002");
    EXPECT_EQ(field("r_sn", QStringLiteral("复制 admin100002")), "100001");
    EXPECT_EQ(field("a_pwd", QStringLiteral("复制 admin100002")), "pw");
    EXPECT_EQ(field("a_zreoje", QStringLiteral("复制 admin100002")), "3");
    for (const char *flag : {"a_pos", "a_jy", "a_jyt"})
        EXPECT_EQ(field(flag, QStringLiteral("复制 admin100002")), "0") << flag;
    EXPECT_EQ(field("a_sn", QStringLiteral("复制 admin100003")), "100003");
    QStringList offered;
    for (const KeyedItem &i : LoginOperators(db()))
        offered << i.text;
    EXPECT_TRUE(offered.contains(QStringLiteral("复制 admin100002")));
    EXPECT_EQ(list.grid->rowCount(), 3);

    // Activating the list again forgets the copy.
    list.show();
    QTest::qWait(1);
    EXPECT_FALSE(list.actPaste->isEnabled());
    EXPECT_FALSE(list.copyBuffer().copied);
    list.hide();
}

TEST_F(AdminTest, SearchMatchesNameOrCodeIgnoringLetterCase)
{
    ASSERT_TRUE(add("li").saved());
    TF_Admin list(db(), state, notices);
    for (const char *key : {"dm", "10000", "ADM"}) {
        list.edKey->setText(QString::fromUtf8(key));
        list.btnSearch->click();
        QStringList names = gridColumn(list.grid, "a_name");
        if (QByteArray(key) == "10000")
            EXPECT_EQ(names, (QStringList{"admin", "li"})) << key;
        else
            EXPECT_EQ(names, QStringList{"admin"}) << key;
    }
    list.edKey->clear();
    list.btnSearch->click();
    EXPECT_EQ(list.grid->rowCount(), 2);
    // The key box refuses the filtered characters as typed.
    list.edKey->clear();
    QTest::keyClicks(list.edKey, "a'd%m");
    EXPECT_EQ(list.edKey->text(), "adm");
}

// ---- Rights catalogue and roles ----

TEST_F(AdminTest, CatalogueTreeHasSixGroupsAndNinetyEightRights)
{
    TF_Role_Add dialog(db(), state, notices, RoleDialogMode::Add);
    QStringList roots;
    for (int i = 0; i < dialog.tree->topLevelItemCount(); ++i)
        roots << dialog.tree->topLevelItem(i)->text(0);
    EXPECT_EQ(roots, (QStringList{"入库管理", "出库管理", "库存管理", "往来帐款", "统计报表", "其它操作"}));
    const QList<QTreeWidgetItem *> children = dialog.tree->children();
    ASSERT_EQ(children.size(), 98);
    EXPECT_EQ(children.first()->text(0), QStringLiteral("采购进货"));
    EXPECT_EQ(children.last()->text(0), QStringLiteral("会员管理"));
    EXPECT_EQ(RightCaption("qtcz", 11), QStringLiteral("清除日志"));
    EXPECT_EQ(RightCaption("kcgl", 15), QString());
}

TEST_F(AdminTest, NewRoleStartsFullAndSavesCatalogueLengths)
{
    {
        TF_Role_Add dialog(db(), state, notices, RoleDialogMode::Add);
        EXPECT_TRUE(dialog.chkAll->isChecked());
        dialog.edName->setText("full");
        dialog.btnOK->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    const QString where = " from jxc_role where r_name = ?";
    EXPECT_EQ(value("select r_sn" + where, {"full"}), "100002");
    const QList<QPair<const char *, int>> lengths{{"cggl", 20}, {"xsgl", 22}, {"kcgl", 13},
                                                  {"wlzk", 15}, {"tjgl", 8},  {"qtcz", 20}};
    for (const auto &l : lengths)
        EXPECT_EQ(value(QStringLiteral("select %1").arg(l.first) + where, {"full"}), QString(l.second, '1')) << l.first;
    EXPECT_EQ(value("select rcgl" + where, {"full"}), QString());
    EXPECT_EQ(value("select coalesce(scjg, '') || coalesce(scjh, '')" + where, {"full"}), QString());
    {
        TF_Role_Add dialog(db(), state, notices, RoleDialogMode::Add);
        dialog.edName->setText("none");
        dialog.chkAll->click();  // clears every box
        dialog.btnOK->click();
    }
    for (const auto &l : lengths)
        EXPECT_EQ(value(QStringLiteral("select %1").arg(l.first) + where, {"none"}), QString(l.second, '0')) << l.first;
}

TEST_F(AdminTest, SingleRightRoleGrantsExactlyThatRight)
{
    {
        TF_Role_Add dialog(db(), state, notices, RoleDialogMode::Add);
        dialog.edName->setText("unaudit");
        dialog.chkAll->click();
        QTreeWidgetItem *item = dialog.tree->children().at(2);
        ASSERT_EQ(item->text(0), QStringLiteral("采购进货取消审核"));
        item->setCheckState(0, Qt::Checked);
        EXPECT_EQ(dialog.tree->topLevelItem(0)->checkState(0), Qt::PartiallyChecked);
        dialog.btnOK->click();
    }
    const QString sn = value("select r_sn from jxc_role where r_name = 'unaudit'");
    EXPECT_EQ(value("select cggl from jxc_role where r_sn = ?", {sn}), "00100000000000000000");
    for (const char *m : {"xsgl", "kcgl", "wlzk", "tjgl", "qtcz"})
        EXPECT_FALSE(value(QStringLiteral("select %1 from jxc_role where r_sn = ?").arg(m), {sn}).contains('1')) << m;
    ASSERT_TRUE(add("clerk", "", "", sn).saved());
    loginAs("clerk", field("a_sn", "clerk"), sn);
    for (const RightGroup &g : RightsCatalog()) {
        for (int p = 1; p <= g.rights.size(); ++p)
            EXPECT_EQ(HasRight(db(), state, g.module, p), g.module == "cggl" && p == 3) << g.module.toStdString() << p;
    }
}

TEST_F(AdminTest, ModifyLoadsPositionsAndPadsShortStrings)
{
    RunSql(db(), "insert into jxc_role (r_sn, r_name, cggl, xsgl, kcgl, wlzk, tjgl, rcgl, qtcz) "
                 "values ('100002', 'short', '101', '', null, '1', '', '', '')");
    const qint64 id = value("select id from jxc_role where r_sn = '100002'").toLongLong();
    TF_Role_Add dialog(db(), state, notices, RoleDialogMode::Modify, id);
    EXPECT_EQ(dialog.edName->text(), "short");
    const QList<bool> states = dialog.tree->childStates();
    EXPECT_TRUE(states.at(0));
    EXPECT_FALSE(states.at(1));
    EXPECT_TRUE(states.at(2));
    for (int i = 3; i < 20; ++i)
        EXPECT_FALSE(states.at(i)) << i;
    dialog.btnOK->click();
    EXPECT_EQ(value("select cggl from jxc_role where id = ?", {id}), "101" + QString(17, '0'));
    EXPECT_EQ(value("select wlzk from jxc_role where id = ?", {id}), "1" + QString(14, '0'));
    EXPECT_EQ(value("select r_sn from jxc_role where id = ?", {id}), "100002");
}

TEST_F(AdminTest, RoleNamesAreRequiredUniqueAndSanitised)
{
    const QList<bool> all(RightsCount(), true);
    EXPECT_EQ(SaveRole(db(), RoleDialogMode::Add, 0, "  ", all).refusal, QStringLiteral("角色名称必须填写！"));
    EXPECT_EQ(SaveRole(db(), RoleDialogMode::Add, 0, QString(33, QChar(0x5458)), all).refusal,
              QStringLiteral("角色名称的长度不能超过32个字符！"));
    EXPECT_EQ(SaveRole(db(), RoleDialogMode::Add, 0, QStringLiteral("系统管理员"), all).refusal,
              QStringLiteral("角色名称已经存在，请重新输入！"));
    ASSERT_TRUE(SaveRole(db(), RoleDialogMode::Add, 0, "Sales", all).saved());
    EXPECT_EQ(SaveRole(db(), RoleDialogMode::Add, 0, "SALES", all).refusal,
              QStringLiteral("角色名称已经存在，请重新输入！"));
    const qint64 id = value("select id from jxc_role where r_name = 'Sales'").toLongLong();
    EXPECT_TRUE(SaveRole(db(), RoleDialogMode::Modify, id, "Sales", all).saved());
    ASSERT_TRUE(SaveRole(db(), RoleDialogMode::Add, 0, "a'b(c)", all).saved());
    EXPECT_EQ(value("select count(*) from jxc_role where r_name = ?", {QStringLiteral("a‘b(c)")}), "1");
    EXPECT_EQ(value("select count(*) from jxc_role"), "3");
}

TEST_F(AdminTest, RoleDeleteAndModifyRefusals)
{
    EXPECT_EQ(RoleDeleteRefusal(db(), "100001"), QStringLiteral("该角色已在使用，不能删除！"));
    EXPECT_EQ(RoleModifyRefusal("100001"), QStringLiteral("系统管理员不能修改！"));
    const QString held = addRole("held", QList<bool>(RightsCount(), true));
    ASSERT_TRUE(add("li", "", "", held).saved());
    RunSql(db(), "update jxc_admin set a_jy = 1, a_jyt = 1 where a_name = 'li'");
    EXPECT_EQ(RoleDeleteRefusal(db(), held), QStringLiteral("该角色已在使用，不能删除！"));
    RunSql(db(), "update jxc_admin set r_sn = ? where a_sn = '100001'", {held});
    EXPECT_EQ(RoleDeleteRefusal(db(), "100001"), QStringLiteral("系统管理员不能删除！"));
    RunSql(db(), "update jxc_admin set r_sn = '100001' where a_sn = '100001'");

    const QString unused = addRole("unused", QList<bool>(RightsCount(), true));
    TF_Role list(db(), state, notices);
    EXPECT_EQ(list.grid->footerText("r_sn"), QStringLiteral("记录数：3"));
    list.grid->locate("r_sn", "100001");
    list.btnModi->click();
    EXPECT_EQ(notices.last(), QStringLiteral("系统管理员不能修改！"));
    list.grid->locate("r_sn", unused);
    notices.script({Notices::Answer::No});
    list.btnDel->click();
    EXPECT_EQ(notices.last(), QStringLiteral("您确定要删除选中的角色吗？"));
    EXPECT_EQ(value("select count(*) from jxc_role"), "3");
    notices.script({Notices::Answer::Yes});
    list.btnDel->click();
    EXPECT_EQ(value("select count(*) from jxc_role where r_sn = ?", {unused}), "0");
    EXPECT_EQ(list.grid->rowCount(), 2);
}

TEST_F(AdminTest, RightsBeyondTheCatalogueBelongOnlyToTheAdministratorRole)
{
    const QString full = addRole("full", QList<bool>(RightsCount(), true));
    ASSERT_TRUE(add("li", "", "", full).saved());
    const QList<QPair<const char *, int>> beyond{{"kcgl", 15}, {"tjgl", 18}, {"rcgl", 4}};
    loginAs("li", field("a_sn", "li"), full);
    for (const auto &b : beyond)
        EXPECT_FALSE(HasRight(db(), state, b.first, b.second)) << b.first;
    loginAs("admin", "100001", "100001");
    for (const auto &b : beyond)
        EXPECT_TRUE(HasRight(db(), state, b.first, b.second)) << b.first;
}

// ---- Password change ----

TEST_F(AdminTest, PasswordChangeStoresTheNewPasswordInTheLoginsForm)
{
    TF_PwdModi form(db(), state, notices);
    EXPECT_EQ(form.lbOperator->text(), "admin");
    form.edNew->setText("n(1)");
    form.edNew2->setText("n(1)");
    form.btnOK->click();
    EXPECT_EQ(notices.last(), QStringLiteral("密码修改成功！"));
    EXPECT_EQ(field("a_pwd", "admin"), "n(1)");
    EXPECT_TRUE(PasswordMatches(db(), "admin", "N(1)"));
    // Each activation clears the boxes.
    form.edOld->setText("x");
    form.show();
    QTest::qWait(1);
    EXPECT_EQ(form.edOld->text(), QString());
    // Typed into a new box, the filtered characters do not arrive.
    QTest::keyClicks(form.edNew, "a'b");
    EXPECT_EQ(form.edNew->text(), "ab");
    form.hide();
}

TEST_F(AdminTest, PasswordChangeRefusals)
{
    RunSql(db(), "update jxc_admin set a_pwd = ? where a_sn = '100001'", {QStringLiteral("p？")});
    EXPECT_EQ(ChangePassword(db(), "admin", "wrong", "a", "a").text, QStringLiteral("当前密码错误，不能修改密码！"));
    EXPECT_EQ(ChangePassword(db(), "admin", "p?", "a", "b").text, QStringLiteral("两次密码输入不一致，不能修改密码！"));
    EXPECT_EQ(ChangePassword(db(), "admin", "p?", QString(33, QLatin1Char('x')), QString(33, QLatin1Char('x'))).text,
              QStringLiteral("用户密码的长度不能超过32个字符！"));
    EXPECT_EQ(field("a_pwd", "admin"), QStringLiteral("p？"));
    const PasswordChangeResult ok = ChangePassword(db(), "admin", " p? ", "", "");
    EXPECT_TRUE(ok.changed);
    EXPECT_EQ(field("a_pwd", "admin"), QString());
}

// ---- Log viewer ----

class LogViewerTest : public AdminTest
{
protected:
    void SetUp() override
    {
        AdminTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        clock.set(QDateTime(QDate(2024, 3, 5), QTime(10, 0)));
        const QList<QStringList> rows{
            {"2024-02-29 10:00:00", "admin", "old"},
            {"2024-03-01 00:00:00", "wang", "first"},
            {"2024-03-02 08:00:00", "admin", "note of Wang"},
            {"2024-03-05 23:59:00", "admin", "last minute"},
            {"2024-03-05 23:59:30", "admin", "too late"},
        };
        for (const QStringList &r : rows)
            RunSql(db(), "insert into jxc_log (log_time, a_name, log_note) values (?, ?, ?)", {r[0], r[1], r[2]});
    }
};

TEST_F(LogViewerTest, ActivationShowsThisMonthNewestFirst)
{
    TF_ViewLog view(db(), state, clock, notices);
    EXPECT_EQ(view.dates->startEdit()->dateText(), "2024-03-01");
    EXPECT_EQ(view.dates->endEdit()->dateText(), "2024-03-05");
    EXPECT_EQ(gridColumn(view.grid, "log_note"), (QStringList{"last minute", "note of Wang", "first"}));
    EXPECT_EQ(view.grid->footerText("log_time"), QStringLiteral("记录数：3"));
    EXPECT_EQ(view.edKey->placeholderText(), QStringLiteral("回车键开始查询"));
}

TEST_F(LogViewerTest, KeyMatchesOperatorOrNoteIgnoringCase)
{
    TF_ViewLog view(db(), state, clock, notices);
    for (const char *key : {"wang", "WANG"}) {
        view.edKey->setText(QString::fromLatin1(key));
        QTest::keyClick(view.edKey, Qt::Key_Return);
        EXPECT_EQ(gridColumn(view.grid, "log_note"), (QStringList{"note of Wang", "first"})) << key;
    }
}

TEST_F(LogViewerTest, QuickRangesFollowTheClock)
{
    struct Case
    {
        QDate today;
        const char *item, *from, *to;
    } cases[] = {
        {{2024, 3, 5}, "今天(&T)", "2024-03-05", "2024-03-05"},
        {{2024, 3, 5}, "昨天(&U)", "2024-03-04", "2024-03-04"},
        {{2024, 3, 5}, "前天(&V)", "2024-03-03", "2024-03-03"},
        {{2024, 3, 5}, "最近七天(&W)", "2024-02-27", "2024-03-05"},
        {{2024, 3, 5}, "最近一月(&X)", "2024-02-01", "2024-03-05"},
        {{2024, 3, 5}, "本月(&Y)", "2024-03-01", "2024-03-05"},
        {{2024, 3, 5}, "上月(&Z)", "2024-02-01", "2024-02-29"},
        {{2024, 3, 5}, "所有时间(&A)", "2000-01-01", "9999-12-31"},
        {{2024, 1, 15}, "上月(&Z)", "2023-12-01", "2023-12-31"},
        {{2024, 1, 15}, "最近一月(&X)", "2023-12-01", "2024-01-15"},
    };
    TF_ViewLog view(db(), state, clock, notices);
    for (const Case &c : cases) {
        clock.set(QDateTime(c.today, QTime(9, 0)));
        QAction *action = nullptr;
        for (QAction *a : view.dates->menu()->actions())
            if (a->text() == QString::fromUtf8(c.item))
                action = a;
        ASSERT_NE(action, nullptr) << c.item;
        action->trigger();
        EXPECT_EQ(view.dates->startEdit()->dateText(), c.from) << c.item;
        EXPECT_EQ(view.dates->endEdit()->dateText(), c.to) << c.item;
    }
    // 所有时间 searched at once: every row.
    clock.set(QDateTime(QDate(2024, 3, 5), QTime(9, 0)));
    for (QAction *a : view.dates->menu()->actions())
        if (a->text() == QStringLiteral("所有时间(&A)"))
            a->trigger();
    EXPECT_EQ(view.grid->rowCount(), 5);
}

TEST_F(LogViewerTest, ClearingNeedsTheRightAndEmptiesTheWholeLog)
{
    const QString noClear = addRole("noclear", QList<bool>(RightsCount(), true));
    RunSql(db(), "update jxc_role set qtcz = '11111111110111111111' where r_sn = ?", {noClear});
    ASSERT_TRUE(add("li", "", "", noClear).saved());
    loginAs("li", field("a_sn", "li"), noClear);
    {
        TF_ViewLog view(db(), state, clock, notices);
        EXPECT_TRUE(view.btnClear->isHidden());
        view.btnClearClick();
        EXPECT_EQ(notices.last(), QStringLiteral("您没有权限进行清除日志！"));
    }
    loginAs("admin", "100001", "100001");
    TF_ViewLog view(db(), state, clock, notices);
    EXPECT_FALSE(view.btnClear->isHidden());
    notices.script({Notices::Answer::No});
    view.btnClear->click();
    EXPECT_EQ(notices.last(), QStringLiteral("将清除所有日志，并不能恢复，确认清除吗？"));
    EXPECT_EQ(value("select count(*) from jxc_log"), "5");
    notices.script({Notices::Answer::Yes});
    view.btnClear->click();
    EXPECT_EQ(value("select count(*) from jxc_log"), "0");
    EXPECT_EQ(view.grid->rowCount(), 0);
}

// ---- Registration ----

TEST_F(AdminTest, RegisteredScreensReplaceThePlaceholders)
{
    RegisterAdminScreens(registry);
    for (const char *cls : {"TF_Admin", "TF_Role", "TF_PwdModi", "TF_ViewLog", "TF_Ztgl", "TF_Backup"}) {
        std::unique_ptr<QDialog> screen(registry.create(QString::fromLatin1(cls), QString(), mainForm().screenContext()));
        EXPECT_FALSE(IsPlaceholderScreen(screen.get())) << cls;
        EXPECT_EQ(screen->objectName(), QString::fromLatin1(cls));
    }
}

} // namespace
