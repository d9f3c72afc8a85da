// The tip of the day: which tip an opening shows, how it is marked, the moves with their wrap,
// and the box "启动时显示".

#include "setfixture.h"

#include "shell/forms/mryt.h"
#include "shell/tiprules.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

class TipsTest : public SetTest
{
protected:
    QString marks() const
    {
        QStringList out;
        QSqlQuery q = OpenSelect(db(), QStringLiteral("select id, mr_state, mr_rq from jxc_mryt order by id"));
        while (q.next())
            out << QStringLiteral("%1:%2:%3").arg(ValueText(q.value(0)), ValueText(q.value(1)), ValueText(q.value(2)));
        return out.join(QLatin1Char(' '));
    }
    void replaceTips(const QStringList &dates)
    {
        RunSql(db(), QStringLiteral("delete from jxc_mryt"));
        for (int i = 0; i < dates.size(); ++i)
            InsertRow(db(), QStringLiteral("jxc_mryt"),
                      {{QStringLiteral("mr_ts"), QStringLiteral("T%1").arg(i + 1)},
                       {QStringLiteral("mr_state"), QStringLiteral("0")},
                       {QStringLiteral("mr_rq"), dates.at(i)}});
    }
    qint64 firstId() const { return scalar(QStringLiteral("select min(id) from jxc_mryt")).toLongLong(); }
};

TEST_F(TipsTest, OpeningShowsTheTipDueAndMarksItWithToday)
{
    // Sixteen default tips, all dated "2011-1-1": the first of the pair is old, the second shows.
    ASSERT_EQ(scalar(QStringLiteral("select count(*) from jxc_mryt where mr_rq = '2011-1-1'")), QStringLiteral("16"));
    Tip tip = OpenTipOfTheDay(db(), clock);
    EXPECT_EQ(tip.id, 2);
    EXPECT_FALSE(tip.text.isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("select mr_state || mr_rq from jxc_mryt where id = 2")), QStringLiteral("12024-03-08"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_mryt where mr_state = '0'")), QStringLiteral("15"));

    EXPECT_EQ(NextTip(db(), clock, 2, true).id, 3);
    EXPECT_EQ(scalar(QStringLiteral("select id from jxc_mryt where mr_state = '1'")), QStringLiteral("3"));
    EXPECT_EQ(NextTip(db(), clock, 1, false).id, 16);
    EXPECT_EQ(NextTip(db(), clock, 16, true).id, 1);

    struct Case
    {
        const char *name;
        QStringList dates;
        QList<int> shown;  // by position, opening after opening
    };
    const QList<Case> cases = {
        {"never shown", {QString(), QString(), QString()}, {1, 2}},
        {"one tip of an earlier day", {QStringLiteral("2024-03-01")}, {1, 1}},
        {"shown today already", {QStringLiteral("2024-03-08"), QStringLiteral("2024-03-01")}, {1, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        replaceTips(c.dates);
        const qint64 base = firstId() - 1;
        for (int expected : c.shown)
            EXPECT_EQ(OpenTipOfTheDay(db(), clock).id - base, expected);
        EXPECT_EQ(scalar(QStringLiteral("select mr_rq from jxc_mryt where mr_state = '1'")), QStringLiteral("2024-03-08"));
    }
}

TEST_F(TipsTest, ScreenMovesAndStoresItsBox)
{
    RunSql(db(), QStringLiteral("update jxc_txdisp set t_mryt = '1'"));
    {
        TF_Mryt screen(db(), state, clock, notices);
        screen.show();
        EXPECT_TRUE(screen.chkDisp->isChecked());
        EXPECT_EQ(screen.tipId(), 2);
        EXPECT_EQ(screen.lbTip->text(), scalar(QStringLiteral("select mr_ts from jxc_mryt where id = 2")));
        QTest::mouseClick(screen.btnNext, Qt::LeftButton);
        EXPECT_EQ(screen.tipId(), 3);
        QTest::mouseClick(screen.btnPrev, Qt::LeftButton);
        QTest::mouseClick(screen.btnPrev, Qt::LeftButton);
        EXPECT_EQ(screen.tipId(), 1);
        screen.chkDisp->setChecked(false);
        QTest::mouseClick(screen.btnExit, Qt::LeftButton);
        EXPECT_FALSE(screen.isVisible());
    }
    EXPECT_EQ(scalar(QStringLiteral("select t_mryt from jxc_txdisp")), QStringLiteral("0"));

    // No tips at all: an empty text, moves that do nothing, the box still stored.
    RunSql(db(), QStringLiteral("delete from jxc_mryt"));
    RunSql(db(), QStringLiteral("update jxc_txdisp set t_mryt = NULL"));
    TF_Mryt screen(db(), state, clock, notices);
    screen.show();
    EXPECT_EQ(screen.lbTip->text(), QString());
    EXPECT_FALSE(screen.chkDisp->isChecked());
    QTest::mouseClick(screen.btnNext, Qt::LeftButton);
    QTest::mouseClick(screen.btnPrev, Qt::LeftButton);
    EXPECT_EQ(screen.tipId(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select t_mryt from jxc_txdisp")), QStringLiteral("0"));
    PressKey(&screen, Qt::Key_Escape);
    EXPECT_FALSE(screen.isVisible());
    EXPECT_TRUE(notices.shown.isEmpty());
}

} // namespace
