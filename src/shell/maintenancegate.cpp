#include "shell/maintenancegate.h"

#include "foundation/loginstate.h"
#include "foundation/rights.h"

const std::vector<MaintenanceButton> &MaintenanceButtons()
{
    static const std::vector<MaintenanceButton> buttons = {
        {"btnBbsj", "报表设计", "TF_Bbsj", 19, "报表设计！"},
        {"btnNzjs", "数据结算", "TF_Nzjs", 0, nullptr},
        {"btnViewLog", "查看日志", "TF_ViewLog", 10, "查看日志！"},
        {"btnSjql", "数据清理", "TF_Sjql", 0, nullptr},
        {"btnTmdy", "条码打印", "TF_Tmdy", 14, "条码打印！"},
        {"btnZtgl", "帐套管理", "TF_Ztgl", 13, "帐套管理！"},
    };
    return buttons;
}

QString MaintenanceRefusal(const QSqlDatabase &db, const LoginState &state, const MaintenanceButton &button)
{
    if (button.right == 0)
        return state.isAdministrator() ? QString() : QStringLiteral("只有系统管理员才能使用此功能！");
    if (HasRight(db, state, QStringLiteral("qtcz"), button.right))
        return QString();
    return QStringLiteral("您没有权限进行") + QString::fromUtf8(button.refused);
}
