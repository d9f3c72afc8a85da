#pragma once

// "软件数据清理(系统初始化)": empties the current account set, keeping the basic data (goods,
// partners, staff, operators, roles, settings; stock to zero) or leaving only the built-in
// records. All or nothing, never while another workstation has the set open.

#include <QSqlDatabase>
#include <QString>

#include <functional>

class Clock;
class DataModule;
class Notices;
struct LoginState;

enum class CleanupMode { KeepBasicData, DeleteAll };

struct CleanupContext
{
    DataModule *data = nullptr;  // the main connection and where the set lives
    LoginState *state = nullptr;
    const Clock *clock = nullptr;
    QString programFolder;       // where the backup before the clean-up goes
    // Tests: called with the clean-up's own connection before its transaction starts.
    std::function<void(const QSqlDatabase &)> connectionOpened;
};

enum class CleanupOutcome {
    Done,      // emptied; "删除完成！" shown, the parameters reloaded: the form closes
    Declined,  // No to the deletion: the form closes, nothing deleted
    Refused,   // other sessions on the set: the form stays
    Failed,    // backup or clean-up failed, the set as before: the form stays
};

// The clean-up in the screen's order:
// 1. Another session on the set: "当前帐套正在被其他工作站使用，不能进行系统初始化！…".
// 2. "系统初始化之前建议先备份数据库，现在是否备份数据库？": Yes writes the set through the
//    backup service to program folder + set name + "yy_MM_dd_HH_mm_ss" + ".DAT" and shows
//    "备份成功！备份文件保存在" + the path, or "备份失败！" + the reason and stops.
// 3. "是否要删除所有营业数据？": No ends (Declined).
// 4. ClearBusinessData or CreateAllTables in one transaction on a connection of its own (the
//    main connection's open statements never block a drop); on PostgreSQL a lock not granted
//    within 5 s fails it. "系统初始化失败：" + the reason on failure, the set as before.
// 5. The parameters reloaded into the login state (the login fields stay), "删除完成！".
CleanupOutcome RunDataCleanup(const CleanupContext &context, CleanupMode mode, Notices &notices);

// The refusal while another workstation has the set open.
QString CleanupRefusalText();
