// The template catalogue TF_Bbsj "报表设计" (jxc_bbgl): filter, editor panel, delete, the
// default catalogue again, and opening the editor; driven through the real widgets.

#include "../support/scriptednotices.h"
#include "../support/testdb.h"

#include "engine/forms/bbsj.h"
#include "engine/reportcatalog.h"
#include "foundation/datamodule.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/sanitize.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "shell/forms/enginescreens.h"
#include "shell/forms/screenregistry.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

class CatalogTest : public DbTest
{
protected:
    std::unique_ptr<TF_Bbsj> openScreen(const QString &folder = {})
    {
        auto screen = std::make_unique<TF_Bbsj>(db(), clock, notices, 10, folder);
        screen->openDesigner = [this](const QString &file) { designed << file; };
        screen->show();
        QApplication::setActiveWindow(screen.get());
        return screen;
    }

    static void click(QWidget *screen, const char *button)
    {
        auto *b = screen->findChild<QPushButton *>(QLatin1String(button));
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    QString rows(const QString &where = {}, const QVariantList &binds = {})
    {
        return QueryScalar(db(), QStringLiteral("select count(*) from jxc_bbgl") + where, binds);
    }

    void fillPanel(TF_Bbsj &screen, const QString &name, const QString &file, const QString &category)
    {
        screen.nameEdit()->setText(name);
        screen.fileEdit()->setText(file);
        ASSERT_TRUE(screen.typeCombo()->selectText(category));
    }

    ScriptedNotices notices;
    QStringList designed;
};

TEST_F(CatalogTest, FilterListsACategoryInItsOrder)
{
    auto screen = openScreen();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("报表设计"));
    DataGrid *grid = screen->grid();
    EXPECT_EQ(grid->rowCount(), 118);
    EXPECT_EQ(grid->footerText(QStringLiteral("b_sn")), QStringLiteral("记录数：118"));
    EXPECT_EQ(grid->value(0, QStringLiteral("b_sn")).toString(), QStringLiteral("100001"));
    EXPECT_EQ(grid->value(117, QStringLiteral("b_sn")).toString(), QStringLiteral("700006"));

    struct Case
    {
        const char *filter;
        int count;
        const char *first;
    };
    const Case cases[] = {{"进货管理", 28, "100001"}, {"销售管理", 32, "200001"}, {"库存管理", 17, "300001"},
                          {"往来账款", 22, "400001"}, {"统计报表", 13, "500001"}, {"系统设置", 6, "700001"},
                          {"所有类型", 118, "100001"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.filter);
        ASSERT_TRUE(screen->filterCombo()->selectText(QString::fromUtf8(c.filter)));
        EXPECT_EQ(grid->rowCount(), c.count);
        EXPECT_EQ(grid->value(0, QStringLiteral("b_sn")).toString(), QString::fromUtf8(c.first));
    }
}

TEST_F(CatalogTest, AddStoresANewCodeAndTheCategory)
{
    auto screen = openScreen();
    ASSERT_TRUE(screen->filterCombo()->selectText(QStringLiteral("进货管理")));
    click(screen.get(), "btn_Add");
    ASSERT_FALSE(screen->editPanel()->isHidden());
    EXPECT_TRUE(screen->nameEdit()->text().isEmpty());
    EXPECT_EQ(screen->typeCombo()->currentText(), QStringLiteral("进货管理"));
    EXPECT_EQ(screen->nameEdit()->maxLength(), 32);
    EXPECT_EQ(screen->fileEdit()->maxLength(), 32);
    if (!qEnvironmentVariableIsEmpty("JXC_BBSJ_SHOT"))
        screen->grab().save(qEnvironmentVariable("JXC_BBSJ_SHOT"));
    screen->nameEdit()->setText(QStringLiteral("  采购'询价单(A4)  "));
    screen->fileEdit()->setText(QStringLiteral("  cgxjd.fr3 "));
    click(screen.get(), "btn_Ok");
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_TRUE(screen->editPanel()->isHidden());
    const QString where = QStringLiteral(" where b_file = 'cgxjd.fr3'");
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_sn from jxc_bbgl") + where), QStringLiteral("700007"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_lx from jxc_bbgl") + where), QStringLiteral("0"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_lxmc from jxc_bbgl") + where), QStringLiteral("进货管理"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_name from jxc_bbgl") + where),
              SafeTextKeepMath(QStringLiteral("采购'询价单(A4)")));
    EXPECT_EQ(screen->grid()->rowCount(), 29);
    EXPECT_EQ(screen->grid()->currentValue(QStringLiteral("b_file")).toString(), QStringLiteral("cgxjd.fr3"));

    // Under 系统设置: category 6, and its filter lists it.
    click(screen.get(), "btn_Add");
    fillPanel(*screen, QStringLiteral("商品标签"), QStringLiteral("bq.fr3"), QStringLiteral("系统设置"));
    click(screen.get(), "btn_Ok");
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_lx from jxc_bbgl where b_file = 'bq.fr3'")), QStringLiteral("6"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_sn from jxc_bbgl where b_file = 'bq.fr3'")), QStringLiteral("700008"));
    ASSERT_TRUE(screen->filterCombo()->selectText(QStringLiteral("系统设置")));
    EXPECT_EQ(screen->grid()->rowCount(), 7);
    EXPECT_EQ(screen->grid()->value(6, QStringLiteral("b_name")).toString(), QStringLiteral("商品标签"));
}

TEST_F(CatalogTest, ModifyChangesTheRowAndKeepsItsCode)
{
    auto screen = openScreen();
    screen->grid()->locate(QStringLiteral("b_sn"), QStringLiteral("200003"));
    click(screen.get(), "btn_Modi");
    EXPECT_EQ(screen->nameEdit()->text(), QStringLiteral("销售单(不含售价)"));
    EXPECT_EQ(screen->fileEdit()->text(), QStringLiteral("spxs4.fr3"));
    EXPECT_EQ(screen->typeCombo()->currentText(), QStringLiteral("销售管理"));
    // Choosing a category in the panel changes neither the list nor the row.
    ASSERT_TRUE(screen->typeCombo()->selectText(QStringLiteral("统计报表")));
    EXPECT_EQ(screen->grid()->rowCount(), 118);
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_lx from jxc_bbgl where b_sn = '200003'")), QStringLiteral("1"));
    screen->nameEdit()->setText(QStringLiteral("销售单(小票)"));
    click(screen.get(), "btn_Ok");
    const QString where = QStringLiteral(" from jxc_bbgl where b_sn = '200003'");
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_name") + where), QStringLiteral("销售单(小票)"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_lx") + where), QStringLiteral("4"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_lxmc") + where), QStringLiteral("统计报表"));
    EXPECT_EQ(rows(), QStringLiteral("118"));
    // 取消 stores nothing.
    click(screen.get(), "btn_Modi");
    screen->nameEdit()->setText(QStringLiteral("别的名字"));
    click(screen.get(), "btn_Cancel");
    EXPECT_TRUE(screen->editPanel()->isHidden());
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_name") + where), QStringLiteral("销售单(小票)"));
}

TEST_F(CatalogTest, PanelRefusesMissingNamesAndPaths)
{
    struct Case
    {
        const char *name;
        const char *file;
        const char *notice;
    };
    const Case cases[] = {
        {"", "x.fr3", "请输入报表名称！"},
        {"   ", "x.fr3", "请输入报表名称！"},
        {"报表", "", "请输入报表文件名！"},
        {"报表", "a/b.fr3", "报表文件名不能包含路径！"},
        {"报表", "a\\b.fr3", "报表文件名不能包含路径！"},
        {"报表", "..cgjh.fr3", "报表文件名不能包含路径！"},
    };
    auto screen = openScreen();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        notices.shown.clear();
        click(screen.get(), "btn_Add");
        screen->nameEdit()->setText(QString::fromUtf8(c.name));
        screen->fileEdit()->setText(QString::fromUtf8(c.file));
        click(screen.get(), "btn_Ok");
        EXPECT_EQ(notices.texts(), QStringList{QString::fromUtf8(c.notice)});
        EXPECT_FALSE(screen->editPanel()->isHidden());
    }
    EXPECT_EQ(rows(), QStringLiteral("118"));
    // Modifying to a path is refused the same way.
    screen->grid()->goFirst();
    click(screen.get(), "btn_Modi");
    screen->fileEdit()->setText(QStringLiteral("../cgjh.fr3"));
    click(screen.get(), "btn_Ok");
    EXPECT_EQ(notices.last(), QStringLiteral("报表文件名不能包含路径！"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_file from jxc_bbgl where b_sn = '100001'")),
              QStringLiteral("cgjh.fr3"));
}

TEST_F(CatalogTest, DeleteAsksAndKeepsTheFile)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("cgjh.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{}");
    file.close();
    auto screen = openScreen(folder.path());
    screen->grid()->goFirst();
    notices.script({Notices::Answer::No, Notices::Answer::Yes});
    click(screen.get(), "btn_Del");
    EXPECT_EQ(notices.last(), QStringLiteral("您确定要删除当前报表吗？"));
    EXPECT_EQ(rows(), QStringLiteral("118"));
    click(screen.get(), "btn_Del");
    EXPECT_EQ(rows(), QStringLiteral("117"));
    EXPECT_EQ(rows(QStringLiteral(" where b_file = 'cgjh.fr3'")), QStringLiteral("0"));
    EXPECT_EQ(screen->grid()->rowCount(), 117);
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("cgjh.json"))));
}

TEST_F(CatalogTest, ReadingTheDefaultsBringsBackExactlyTheDefaultRows)
{
    auto screen = openScreen();
    click(screen.get(), "btn_Add");
    fillPanel(*screen, QStringLiteral("自定义"), QStringLiteral("zdy.fr3"), QStringLiteral("库存管理"));
    click(screen.get(), "btn_Ok");
    RunSql(db(), QStringLiteral("delete from jxc_bbgl where b_sn in ('100001', '700006')"));
    RunSql(db(), QStringLiteral("update jxc_bbgl set b_name = 'x' where b_sn = '200001'"));
    screen->grid()->reload();

    notices.script({Notices::Answer::No});
    click(screen.get(), "btn_Read");
    EXPECT_EQ(notices.last(), QStringLiteral("您确定要读取默认报表吗？"));
    EXPECT_EQ(rows(), QStringLiteral("117"));

    notices.script({Notices::Answer::Yes});
    click(screen.get(), "btn_Read");
    EXPECT_EQ(rows(), QStringLiteral("118"));
    EXPECT_EQ(rows(QStringLiteral(" where b_file = 'zdy.fr3'")), QStringLiteral("0"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select b_name from jxc_bbgl where b_sn = '200001'")),
              QStringLiteral("销售单"));
    EXPECT_EQ(rows(QStringLiteral(" where b_lx = 5")), QStringLiteral("0"));
    EXPECT_EQ(screen->grid()->rowCount(), 118);
}

TEST_F(CatalogTest, DesignOpensTheEditorOnTheRowsFile)
{
    auto screen = openScreen();
    screen->grid()->locate(QStringLiteral("b_sn"), QStringLiteral("100002"));
    click(screen.get(), "btn_Design");
    Q_EMIT screen->grid()->rowActivated(screen->grid()->currentRow());
    EXPECT_EQ(designed, (QStringList{QStringLiteral("cgjh2.fr3"), QStringLiteral("cgjh2.fr3")}));

    // A path stored by hand never reaches the editor.
    RunSql(db(), QStringLiteral("update jxc_bbgl set b_file = '../../etc/x' where b_sn = '100002'"));
    screen->grid()->reload();
    click(screen.get(), "btn_Design");
    EXPECT_EQ(designed.size(), 2);
    EXPECT_EQ(notices.last(), QStringLiteral("报表文件名不能包含路径！"));
}

TEST_F(CatalogTest, EscCloses)
{
    auto screen = openScreen();
    screen->grid()->view()->setFocus();
    QTest::keyClick(screen->grid()->view(), Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
}

} // namespace

// ---- Registration ----

namespace {

TEST_F(CatalogTest, EngineScreensAreMadeByClassName)
{
    DataModule data(TestConnectionSettings(), QStringLiteral("reg_main"), QStringLiteral("reg_register"));
    data.OpenMainDatabase(testDb().fileName());
    LoginState state;
    ScreenContext context;
    context.data = &data;
    context.state = &state;
    context.clock = &clock;
    context.notices = &notices;
    ScreenRegistry registry;
    RegisterEngineScreens(registry);
    const struct
    {
        const char *screenClass;
        const char *title;
    } cases[] = {{"TF_Tmdy", "条码打印"}, {"TF_Bbsj", "报表设计"}, {"TF_ReportDesign", "报表设计 — "}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.screenClass);
        std::unique_ptr<QDialog> screen(registry.create(QLatin1String(c.screenClass), QString(), context));
        ASSERT_NE(screen, nullptr);
        EXPECT_FALSE(IsPlaceholderScreen(screen.get()));
        EXPECT_EQ(screen->objectName(), QLatin1String(c.screenClass));
        EXPECT_EQ(screen->windowTitle(), QString::fromUtf8(c.title));
    }
}

} // namespace
