// The warehouse, employee, handler-chooser and department screens through their real widgets.

#include "screens_fixture.h"

#include "masterdata/forms/ckgl.h"
#include "masterdata/forms/ckgl_add.h"
#include "masterdata/forms/dept.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/user.h"
#include "masterdata/forms/user2.h"
#include "masterdata/forms/user_add.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

class StaffScreenTest : public MasterScreenTest
{
protected:
    template <typename T>
    std::unique_ptr<T> open(const QString &screenClass, const char *callerTag = nullptr)
    {
        std::unique_ptr<T> w(qobject_cast<T *>(registry.create(screenClass, QString(), context())));
        if (callerTag)
            w->setProperty(handoff::CallerTag, QString::fromLatin1(callerTag));
        return w;
    }
    template <typename T>
    std::unique_ptr<T> show(const QString &screenClass)
    {
        auto w = open<T>(screenClass);
        w->show();
        QApplication::processEvents();
        return w;
    }
    static QStringList column(const DataGrid *grid, const QString &field)
    {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out << grid->value(r, field).toString();
        return out;
    }
};

TEST_F(StaffScreenTest, WarehouseAddAndSearchByKeeper)
{
    auto w = show<TF_Ckgl>("TF_Ckgl");
    ASSERT_TRUE(w);
    whenShown("TF_Ckgl_Add", [&](QDialog *d) {
        auto *e = static_cast<TF_Ckgl_Edit *>(d);
        TypeText(e->nameBox(), "北区库");
        TypeText(e->keeperBox(), "李仓");
        e->operatorTree()->children().first()->setCheckState(0, Qt::Checked);
        Press(d, Qt::Key_F5);
    });
    QTest::mouseClick(w->findChild<QPushButton *>("btnAdd"), Qt::LeftButton);
    EXPECT_TRUE(notices.texts().isEmpty()) << notices.texts().join("|").toStdString();
    EXPECT_EQ(column(w->grid(), "ck_name"), (QStringList{"主仓库", "北区库"}));
    EXPECT_EQ(w->grid()->currentValue("ck_aname").toString(), "admin,");
    EXPECT_EQ(w->grid()->footerText("ck_name"), "合计:2");
    RunSql(db(), "update jxc_ckxx set ck_fzr = '李明' where ck_sn = '100001'");

    whenShown("TF_Ckgl_Search", [&](QDialog *d) {
        auto *keeper = d->findChild<QLineEdit *>("tfzr");
        keeper->setFocus();
        TypeText(keeper, "李");
        QTest::mouseClick(d->findChild<QPushButton *>("btnOK"), Qt::LeftButton);
    });
    QTest::mouseClick(w->findChild<QPushButton *>("btnSearch"), Qt::LeftButton);
    EXPECT_EQ(column(w->grid(), "ck_name"), (QStringList{"北区库", "主仓库"}));
    EXPECT_TRUE(w->keyBox()->text().isEmpty());
}

TEST_F(StaffScreenTest, EmployeeAddOnMarginThenTheChooserAddsAndAnswers)
{
    auto w = show<TF_User>("TF_User");
    ASSERT_TRUE(w);
    bool marginBefore = true, marginAfter = false;
    whenShown("TF_User_Add", [&](QDialog *d) {
        auto *e = static_cast<TF_User_Edit *>(d);
        TypeText(e->nameBox(), "张三");
        e->rateEdit()->setFocus();
        e->rateEdit()->selectAll();
        QTest::keyClicks(e->rateEdit(), "5");
        marginBefore = e->marginBox()->isEnabled();
        e->modeCombo()->setCurrentIndex(1);
        marginAfter = e->marginBox()->isEnabled();
        e->marginBox()->setText("20");
        Press(d, Qt::Key_F5);
    });
    QTest::mouseClick(w->findChild<QPushButton *>("btnAdd"), Qt::LeftButton);
    EXPECT_FALSE(marginBefore);
    EXPECT_TRUE(marginAfter);
    DataGrid *grid = w->grid();
    ASSERT_EQ(grid->currentValue("u_name").toString(), "张三");
    EXPECT_EQ(grid->model()->displayText(grid->currentRow(), "u_tc"), "5.00%");
    EXPECT_EQ(grid->model()->displayText(grid->currentRow(), "u_zdlr"), "20");
    EXPECT_EQ(grid->footerText("u_name"), "合计人数：2");

    // The chooser opened through the registry by a purchase receipt.
    auto chooser = open<TF_User2>("TF_User2", "jh");
    whenShown("TF_User_Add", [&](QDialog *d) {
        TypeText(static_cast<TF_User_Edit *>(d)->nameBox(), "新员工");
        Press(d, Qt::Key_F5);
    });
    QStringList listed;
    QTimer::singleShot(0, [&] {
        Press(chooser.get(), Qt::Key_F8);
        listed = column(chooser->grid(), "u_name");
        DoubleClickRow(chooser->grid(), chooser->grid()->currentRow());
    });
    EXPECT_EQ(chooser->exec(), QDialog::Accepted);
    EXPECT_EQ(listed, (QStringList{"默认员工", "张三", "新员工"}));
    KeyedCombo handlers;
    ASSERT_TRUE(ApplyHandlerAnswer(chooser.get(), &handlers));
    EXPECT_EQ(handlers.count(), 3);
    EXPECT_EQ(handlers.currentText(), "新员工");
    EXPECT_EQ(handlers.currentKey(), "100003");
}

TEST_F(StaffScreenTest, ChooserWithoutTheRightHidesAddAndModify)
{
    RunSql(db(), "insert into jxc_role (r_sn, r_name, qtcz) values ('100002', '营业员', '0000000000')");
    state.CurrentRoleSn = "100002";
    auto chooser = open<TF_User2>("TF_User2", "jh");
    bool addShown = true;
    int rows = 0;
    QTimer::singleShot(0, [&] {
        addShown = chooser->addButton()->isVisible() || chooser->modifyButton()->isVisible();
        Press(chooser.get(), Qt::Key_F8);
        Press(chooser.get(), Qt::Key_F9);
        rows = chooser->grid()->rowCount();
        Press(chooser.get(), Qt::Key_Escape);
    });
    EXPECT_EQ(chooser->exec(), QDialog::Rejected);
    EXPECT_FALSE(addShown);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(chooser->grid()->footerText("u_name"), "合计人数：1");
    KeyedCombo handlers;
    EXPECT_FALSE(ApplyHandlerAnswer(chooser.get(), &handlers));
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(StaffScreenTest, DepartmentsAddSearchAndAnswerTheirOpeners)
{
    auto w = open<TF_Dept>("TF_Dept", "fyjsr_add");
    QStringList afterAdd, afterSearch;
    QTimer::singleShot(0, [&] {
        whenShown("TF_Dept_Sele", [&](QDialog *d) {
            TypeText(d->findChild<QLineEdit *>("tname"), "财务部");
            Press(d, Qt::Key_F5);
        });
        QTest::mouseClick(w->findChild<QPushButton *>("btnAdd"), Qt::LeftButton);
        afterAdd = column(w->grid(), "de_name");
        w->keyBox()->setFocus();
        QTest::keyClicks(w->keyBox(), "1000");
        QTest::mouseClick(w->findChild<QPushButton *>("btnFind"), Qt::LeftButton);
        afterSearch = column(w->grid(), "de_name");
        w->grid()->locate("de_name", "财务部");
        QTest::mouseClick(w->findChild<QPushButton *>("btnOK"), Qt::LeftButton);
    });
    w->exec();
    EXPECT_EQ(afterAdd, (QStringList{"默认部门", "财务部"}));
    EXPECT_EQ(afterSearch, (QStringList{"默认部门", "财务部"}));
    KeyedCombo depts;
    ASSERT_TRUE(ApplyDepartmentAnswer(w.get(), &depts, {}));
    EXPECT_EQ(depts.count(), 3);
    EXPECT_EQ(depts.currentText(), "财务部");
    EXPECT_EQ(depts.itemText(2), "添加新部门...");
    EXPECT_EQ(depts.keyAt(2), "-1");

    // A requisition reloads its list after a save, even when the window closes by 退出.
    auto requisition = open<TF_Dept>("TF_Dept", "bmly");
    QTimer::singleShot(0, [&] {
        whenShown("TF_Dept_Sele", [&](QDialog *d) {
            TypeText(d->findChild<QLineEdit *>("tname"), "仓储部");
            Press(d, Qt::Key_F5);
        });
        requisition->addDepartment();
        QTest::mouseClick(requisition->findChild<QPushButton *>("btnExit"), Qt::LeftButton);
    });
    requisition->exec();
    bool reloaded = false;
    EXPECT_TRUE(ApplyDepartmentAnswer(requisition.get(), &depts, [&] { reloaded = true; }));
    EXPECT_TRUE(reloaded);
}
