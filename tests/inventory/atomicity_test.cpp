// One transaction per action: a barcode line, the picker's copy and the save, failing at any of
// their statements, leave every table as it was and show the action's text; two workstations
// saving one number at once end under two numbers, each with its own lines.

#include "inventory_fixture.h"

#include "../support/stations.h"

#include "inventory/inventorypicker.h"
#include "inventory/transferentry.h"
#include "inventory/transfersave.h"

#include <functional>

namespace {

class InventoryAtomicityTest : public InventoryTest
{
protected:
    // Runs `action` with a failure at statement 1, 2, … until it succeeds; each failed run must
    // show `text` and change nothing. Returns the statements the action took.
    int failEverywhere(const std::function<bool()> &action, const QString &text)
    {
        const auto before = snapshot();
        for (int n = 1; n < 500; ++n) {
            InjectStatementFailure(db(), n);
            const bool ok = action();
            InjectStatementFailure(db(), 0);
            if (ok)
                return n - 1;
            EXPECT_TRUE(notices.last().startsWith(text)) << n << " " << notices.last().toStdString();
            EXPECT_EQ(snapshot(), before) << n;
        }
        return -1;
    }
};

TEST_F(InventoryAtomicityTest, BarcodeLinesAndPickerCopiesAreWholeOrNothing)
{
    AddTransferLines(db(), "DB24030810001", {{kInvG2, 1, 4, 1, "包"}, {kInvG2, 1, 4, 1, "包", -1, {}, "li"}});
    const int scan = failEverywhere(
        [&] {
            DocumentContext c = entry();
            return TransferEntry(db(), state, clock, notices).scan(c, "6900012", false).done();
        },
        QStringLiteral("添加商品失败："));
    EXPECT_GT(scan, 3);
    EXPECT_EQ(rows("select gl_djh, count(*) from jxc_dbsp where a_name = 'admin' group by gl_djh"),
              QStringLiteral("DB24030810002|2"));

    InventoryPickerRules picker(db(), state, clock, notices, InventoryDoc::Transfer);
    DocumentContext c = entry();
    c.number = QStringLiteral("DB24030810002");
    picker.addTransferGoods(c, {{kInvG1, 48}, {kInvG2, 10}}, 1);
    AddTransferLines(db(), "DB24030810002", {{kInvG2, 1, 4, 1, "包", -1, {}, "li"}});
    const int copy = failEverywhere(
        [&] {
            DocumentContext d = c;
            return picker.confirm(d).done();
        },
        QStringLiteral("添加商品失败："));
    EXPECT_GT(copy, 3);
    EXPECT_EQ(rows("select gl_djh, count(*) from jxc_dbsp where a_name = 'admin' group by gl_djh"),
              QStringLiteral("DB24030810003|4"));
}

class TransferStationsTest : public InventoryTest
{
protected:
    QStringList saveAtOnce(bool numberLock)
    {
        AddTransferLines(db(), "DB24030810001", {{kInvG1, 1, 2.5, 1, "瓶", -1, {}, "admin"}});
        AddTransferLines(db(), "DB24030810001", {{kInvG2, 1, 4, 1, "包", -1, {}, "li"},
                                                 {kInvG2, 2, 4, 1, "包", -1, {}, "li"}});
        const QStringList who{QStringLiteral("admin"), QStringLiteral("li")};
        return SaveAtOnce(testDb(), 2, QStringLiteral("insert into jxc_kcdbd"), [&](const QSqlDatabase &c, int s) {
            LoginState mine = state;
            mine.CurrentOperatorName = who.at(s);
            ScriptedNotices answers;
            TransferHeaderInput in{QString::fromLatin1(kMainWarehouse), QStringLiteral("主仓库"),
                                   QString::fromLatin1(kBranchWarehouse), QStringLiteral("分仓"), QStringLiteral("100001"),
                                   QStringLiteral("默认员工"), QStringLiteral("2024-03-08"), QString()};
            TransferSave(c, mine, clock, answers).save(QStringLiteral("DB24030810001"), 1, in);
        }, numberLock);
    }
};

TEST_F(TransferStationsTest, TwoSavesOfOneNumberEndUnderTwoNumbers)
{
    const QStringList errors = saveAtOnce(true);
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    // Whoever saved first moved on to the next number; each header has its operator's lines only.
    EXPECT_EQ(rows("select gl_djh from jxc_kcdbd order by gl_djh"), QStringLiteral("DB24030810001; DB24030810002"));
    EXPECT_EQ(LinesUnderOwnHeaders(db(), "jxc_kcdbd", "jxc_dbsp"), QStringLiteral("admin|1; li|2 / 0"));
}

// Without the number lock both saves test the number before either has written: both draw the
// same fresh number.
TEST_F(TransferStationsTest, WithoutLocksTwoSavesKeepOneNumber)
{
    if (TestDbKind() != DbKind::Postgres)
        GTEST_SKIP() << "SQLite serialises writers without the locks";
    const QStringList errors = saveAtOnce(false);
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(rows("select count(distinct gl_djh), count(*) from jxc_kcdbd"), QStringLiteral("1|2"));
}

} // namespace
