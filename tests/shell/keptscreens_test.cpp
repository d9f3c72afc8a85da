// Kept screens and 重新登录: a change of login closes and forgets every kept screen, which is
// made again against the new connection and login state when next opened.

#include "shellfixture.h"

#include "../support/modaldriver.h"

#include "foundation/db/connection.h"
#include "foundation/db/sqlroutines.h"
#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/spxxgl.h"
#include "masterdata/forms/spxxgl_add.h"
#include "masterdata/goodsclassrules.h"
#include "screenkit/datagrid.h"
#include "screenkit/trees.h"
#include "shell/forms/login.h"
#include "shell/forms/mainform.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

namespace {

class KeptScreensTest : public ShellTest
{
protected:
    // What the goods window shows when it is opened from the main window: its goods names and
    // the classes of its tree; `more` runs before it closes.
    struct Shown
    {
        QStringList goods;
        QStringList classes;
    };
    Shown openGoodsWindow(std::function<void(TF_Spxxgl *)> more = {})
    {
        Shown shown;
        WhenShown(QStringLiteral("TF_Spxxgl"), [&](QDialog *d) {
            auto *w = static_cast<TF_Spxxgl *>(d);
            if (more)
                more(w);
            for (int r = 0; r < w->grid()->rowCount(); ++r)
                shown.goods << w->grid()->value(r, QStringLiteral("g_name")).toString();
            KeyTree *tree = w->classTree()->tree();
            for (QTreeWidgetItemIterator it(tree); *it; ++it)
                shown.classes << (*it)->text(0);
            w->reject();
        }, failures);
        mainForm().commandClick(QStringLiteral("btn_Menu6_Btn1"));
        return shown;
    }

    // 重新登录 as admin to the set at `index` of the set list.
    void relogin(int index)
    {
        QTimer::singleShot(0, [index] {
            auto *login = qobject_cast<TF_Login *>(QApplication::activeModalWidget());
            if (!login)
                return;
            login->comZt()->setCurrentIndex(index);
            login->tpwd2()->clear();
            QTest::keyClick(login->tpwd2(), Qt::Key_Return);
        });
        mainForm().commandClick(QStringLiteral("btn_Login"));
    }

    QStringList failures;
};

void TypeText(QWidget *w, const QString &text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
    }
}

TEST_F(KeptScreensTest, ReloginRebuildsTheGoodsWindowOnTheCurrentSet)
{
    makeAccountSet(QStringLiteral("jxc_100002.db"));
    setRegister({{QStringLiteral("100001"), QStringLiteral("主帐套"), QStringLiteral("jxc.db"), 1, 0},
                 {QStringLiteral("100002"), QStringLiteral("分店"), QStringLiteral("jxc_100002.db"), 0, 0}});
    RunSql(db(), QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, gc_sn, gc_cid, g_jy, g_kc, g_zhxs, dw_name) "
                                "values ('20000001', '总店可乐', 'ZDKL', '1000', 2, 0, 12, 1, '瓶')"));
    {
        const QSqlDatabase other = OpenConnection(settings, QStringLiteral("jxc_100002.db"), QStringLiteral("kept_other"));
        ScriptedNotices quiet;
        GoodsClassRules(other, quiet).create(1);  // "新类别", only in the branch's set
        RunSql(other, QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, gc_sn, gc_cid, g_jy, g_kc, g_zhxs, "
                                     "dw_name) values ('20000001', '分店雪碧', 'FDXB', '1000', 2, 0, 5, 1, '瓶')"));
    }
    CloseConnection(QStringLiteral("kept_other"));
    RegisterMasterdataScreens(registry);
    ASSERT_TRUE(startAndLogin());

    Shown first = openGoodsWindow();
    EXPECT_EQ(first.goods, QStringList{QStringLiteral("总店可乐")});
    EXPECT_FALSE(first.classes.contains(QStringLiteral("新类别")));
    QDialog *kept = mainForm().keptScreen(QStringLiteral("TF_Spxxgl"));
    ASSERT_NE(kept, nullptr);

    // The same set again: the kept window is gone, a new one reads the set.
    QPointer<QDialog> old = kept;
    relogin(0);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(mainForm().keptScreen(QStringLiteral("TF_Spxxgl")), nullptr);
    EXPECT_EQ(openGoodsWindow().goods, QStringList{QStringLiteral("总店可乐")});

    // Another set: its classes and goods, and a new goods saved there shows without a box.
    relogin(1);
    ASSERT_EQ(state.CurrentAccountSetDb, QStringLiteral("jxc_100002.db"));
    notices.shown.clear();
    const Shown branch = openGoodsWindow([&](TF_Spxxgl *w) {
        WhenShown(QStringLiteral("TF_Spxxgl_Add"), [&](QDialog *d) {
            auto *add = static_cast<GoodsEditDialog *>(d);
            add->classTree()->selectByName(QStringLiteral("默认类别"));
            add->chooseClass();
            add->nameBox()->setFocus();
            TypeText(add->nameBox(), QStringLiteral("分店矿泉水"));
            add->unitCombo()->setCurrentIndex(add->unitCombo()->findText(QStringLiteral("瓶")));
            add->save();
            add->reject();
        }, failures);
        w->addGoods();
    });
    EXPECT_TRUE(branch.classes.contains(QStringLiteral("新类别")));
    EXPECT_EQ(branch.goods, (QStringList{QStringLiteral("分店雪碧"), QStringLiteral("分店矿泉水")}));
    EXPECT_TRUE(notices.shown.isEmpty()) << notices.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_goods where g_name = '分店矿泉水'")),
              QStringLiteral("1"));
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char(',')).toStdString();
}

} // namespace
