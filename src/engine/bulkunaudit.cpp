#include "engine/bulkunaudit.h"

#include "engine/unaudit.h"
#include "foundation/notices.h"

QString BulkUnauditReport(int total, int cancelled)
{
    return QStringLiteral("取消审核完成，共 %1 个单据，\r\n\r\n取消审核 %2 个单据，\r\n\r\n如果有未取消审核的单据，\r\n\r\n"
                          "请单独取消审核！")
        .arg(total)
        .arg(cancelled);
}

int RunBulkUnaudit(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                   const QStringList &numbers)
{
    if (numbers.isEmpty())
        return -1;
    if (!notices.confirm(QStringLiteral("您的操作将取消当前界面中所有已审核的单据，\r\n\r\n（如需取消审核某个单据，请按【否(N)】！），"
                                        "\r\n\r\n如果在取消审核结束后仍有未取消审核的单据，\r\n\r\n请单独取消审核！")))
        return -1;
    UnauditOptions options;
    options.bulk = true;
    int cancelled = 0;
    for (const QString &number : numbers) {
        if (UnauditByNumber(db, state, clock, notices, number, options) == UnauditOutcome::Done)
            ++cancelled;
    }
    notices.notice(BulkUnauditReport(int(numbers.size()), cancelled));
    return cancelled;
}
