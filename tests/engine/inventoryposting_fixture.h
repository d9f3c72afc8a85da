#pragma once
// The posting fixture over the inventory set (goods, warehouses and stock of inventoryset.h), with
// the ledger rows of a number as text and the last log line.

#include "posting_fixture.h"

#include "../support/inventoryset.h"

class InventoryPostingFixture : public PostingTest
{
protected:
    void SetUp() override
    {
        PostingTest::SetUp();
        if (IsSkipped())
            return;
        SeedInventorySet(db(), clock, state);
    }

    // The ledger rows of a number as "ck_sn|g_sn|gl_sl|…" (the columns asked for) in id order.
    QStringList ledger(const QString &number, const QString &columns)
    {
        QStringList out;
        QSqlQuery q = OpenSelect(db(), QStringLiteral("select %1 from jxc_goodslist where gl_djh = ? order by id").arg(columns),
                                 {number});
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << ValueText(q.value(i));
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    QString lastLog() { return scalar(QStringLiteral("select log_note from jxc_log order by id desc limit 1")); }
};
