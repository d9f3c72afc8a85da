#pragma once

// The six buttons of the maintenance board "系统维护" and their tests: four rights of the other
// operations (qtcz) and two screens for the administrator role only.

#include <QSqlDatabase>
#include <QString>

#include <vector>

struct LoginState;

struct MaintenanceButton
{
    const char *name;         // object name of the button
    const char *caption;      // caption under its picture
    const char *screenClass;  // the screen it opens through the registry
    int right;                // qtcz position; 0: administrator role only
    const char *refused;      // what follows "您没有权限进行"
};

// 报表设计, 数据结算, 查看日志, 数据清理, 条码打印, 帐套管理, in the board's order.
const std::vector<MaintenanceButton> &MaintenanceButtons();

// The refusal ("系统提示") for the button, or the empty text when the screen may open. Rights
// go through HasRight, so an operator bound to no warehouse is refused as well.
QString MaintenanceRefusal(const QSqlDatabase &db, const LoginState &state, const MaintenanceButton &button);
