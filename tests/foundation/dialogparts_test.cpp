#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/messageboxnotices.h"
#include "screenkit/screenbase.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QStringList RowTexts(QHBoxLayout *row)
{
    QStringList texts;
    for (int i = 0; i < row->count(); ++i) {
        auto *b = qobject_cast<QPushButton *>(row->itemAt(i)->widget());
        texts << (b ? b->objectName() + QLatin1Char('=') + b->text() : QStringLiteral("|"));
    }
    return texts;
}

} // namespace

TEST(ConfirmButtons, RightAlignedF5ConfirmsCloseAndEscClose)
{
    ScreenDialog dialog(9);
    auto *edit = new QLineEdit(&dialog);
    int confirmed = 0;
    const ConfirmButtons b = AddConfirmButtons(&dialog, QStringLiteral("修改(F5)"), "btnExit",
                                               QStringLiteral("退出(Esc)"), [&] { ++confirmed; });
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addLayout(b.row);
    EXPECT_EQ(RowTexts(b.row), (QStringList{"|", "btnOK=修改(F5)", "btnExit=退出(Esc)"}));

    QSignalSpy rejected(&dialog, &QDialog::rejected);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F5);
    b.ok->click();
    EXPECT_EQ(confirmed, 2);
    EXPECT_EQ(rejected.count(), 0);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(rejected.count(), 1);

    dialog.show();
    b.close->click();
    EXPECT_EQ(rejected.count(), 2);
    EXPECT_EQ(confirmed, 2);
}

TEST(ConfirmButtons, EscRunsItsOwnActionWhenGiven)
{
    ScreenDialog dialog(9);
    auto *edit = new QLineEdit(&dialog);
    int escaped = 0;
    const ConfirmButtons b = AddConfirmButtons(&dialog, QStringLiteral("确定(F5)"), "btnCancel",
                                               QStringLiteral("取消(Esc)"), [] {}, [&] { ++escaped; });
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addLayout(b.row);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(escaped, 1);
    EXPECT_EQ(rejected.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
    // The button still closes.
    b.close->click();
    EXPECT_EQ(rejected.count(), 1);
    EXPECT_EQ(escaped, 1);
}

TEST(ListButtons, NamesBarAndWiring)
{
    ScreenDialog dialog(9);
    const ListButtons list = MakeListButtons(&dialog);
    auto *grid = new DataGrid(&dialog);
    QHBoxLayout *bar = CommandBar({list.add, list.modify, list.remove, list.exit});
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(bar);
    layout->addWidget(grid);
    EXPECT_EQ(RowTexts(bar),
              (QStringList{"btnAdd=增加", "btnModi=修改", "btnDel=删除", "btnExit=退出", "|"}));

    QStringList ran;
    ConnectListButtons(&dialog, list, grid, [&] { ran << "add"; }, [&] { ran << "modify"; },
                       [&] { ran << "delete"; });
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    dialog.show();
    list.add->click();
    list.modify->click();
    list.remove->click();
    Q_EMIT grid->rowActivated(0);
    EXPECT_EQ(ran, (QStringList{"add", "modify", "delete", "modify"}));
    EXPECT_EQ(rejected.count(), 0);
    list.exit->click();
    EXPECT_EQ(rejected.count(), 1);
}

TEST(HiddenColumn, ReadButNotShown)
{
    const GridColumn c = HiddenColumn("a_jyt", ColumnKind::Integer);
    EXPECT_EQ(c.field, "a_jyt");
    EXPECT_EQ(c.caption, "a_jyt");
    EXPECT_EQ(c.kind, ColumnKind::Integer);
    EXPECT_EQ(c.width, 60);
    EXPECT_FALSE(c.visible);
    EXPECT_EQ(HiddenColumn("id", ColumnKind::Integer, 40).width, 40);
}

// ---- Message boxes ----------------------------------------------------------------------------

TEST(MessageBoxes, ShortTextsKeepTheBoxWideEnoughForItsTitle)
{
    MessageBoxNotices notices;
    QList<std::pair<QString, int>> seen;  // title, width
    const auto answerNextBox = [&seen] {
        QTimer::singleShot(0, [&seen] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen.append({box->windowTitle(), box->width()});
            box->buttons().first()->click();
        });
    };
    answerNextBox();
    notices.notice(QStringLiteral("好"));
    answerNextBox();
    notices.ask(QStringLiteral("是？"));
    answerNextBox();
    notices.error(QStringLiteral("错"));
    ASSERT_EQ(seen.size(), 3);
    EXPECT_EQ(seen[0].first, QStringLiteral("系统提示"));
    EXPECT_EQ(seen[1].first, QStringLiteral("信息提醒"));
    for (const auto &s : seen) {
        const int title = QFontMetrics(QApplication::font()).horizontalAdvance(s.first);
        EXPECT_GE(s.second, kMessageBoxMinimumWidth) << s.first.toStdString();
        EXPECT_GE(s.second, title + 120) << s.first.toStdString();
    }
}
