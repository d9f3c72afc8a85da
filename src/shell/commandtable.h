#pragma once

// The main window's commands as data: which controls start a command, the caption its button
// shows, the rights tested in turn, the screen it opens and that screen's lifetime. The main
// window builds its buttons from this table and every click goes through the command gate.

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// Kept screens are created on first use and reused; freed ones are created for each click and
// destroyed after they close.
enum class ScreenLifetime { None, Kept, Freed };

// How a command is let through: the rights in turn, the administrator role only, or always.
enum class CommandGate { Rights, AdministratorOnly, Open };

// What a command does once it is let through.
enum class CommandAction { OpenScreen, PopupPosMenu, ChangeOperator, HelpPage, VideoPage, Exit };

// Follow-on screens the main window opens after a document screen closes.
enum class FollowOnKind { None, PurchaseReceipt, ProductionReceipt, Sale };

// One control of a command: its object name, where it sits (a panel, the POS query menu
// "PopupMenu_Pos" or the top bar "top") and its position in the panel.
struct CommandControl
{
    QString name;
    QString panel;
    int left = 0;
    int top = 0;
};

struct ShellCommand
{
    QList<CommandControl> controls;
    QString caption;   // the button's or menu item's text
    QString refusal;   // the command name the refusal quotes ("采购进货！")
    QString module;    // right module ("cggl") when gated by rights
    QList<int> positions;
    CommandGate gate = CommandGate::Rights;
    CommandAction action = CommandAction::OpenScreen;
    QString screen;    // screen class ("TF_Cgjh")
    ScreenLifetime lifetime = ScreenLifetime::None;
    FollowOnKind followOn = FollowOnKind::None;

    QString id() const { return controls.isEmpty() ? QString() : controls.first().name; }
    bool hasControl(const QString &name) const;
};

// One panel of the main window and the left-bar button that shows it.
struct ShellPanel
{
    QString button;   // "menu1_btn"
    QString caption;  // "入库管理 "
    QString panel;    // "RzPanel_Menu1"
    int width = 500;
    int height = 400;
};

const std::vector<ShellCommand> &ShellCommands();
const std::vector<ShellPanel> &ShellPanels();

// The command a control starts; nullptr for an unknown control.
const ShellCommand *FindCommandByControl(const QString &controlName);
// The first command that opens `screenClass`; nullptr when none does.
const ShellCommand *FindCommandByScreen(const QString &screenClass);

// Every screen class the table opens, each once, in table order.
QStringList CommandScreens();

// The start-up screens of the timer: tip of the day and reminders.
inline constexpr const char *kTipScreen = "TF_Mryt";
inline constexpr const char *kRemindersScreen = "TF_Sjtx";
inline constexpr const char *kPosMenu = "PopupMenu_Pos";
inline constexpr const char *kTopBar = "top";

// The help pages beside the program.
inline constexpr const char *kHelpPage = "readme.htm";
inline constexpr const char *kStartHelpPage = "readme2.htm";
// The online video tutorial.
QString VideoTutorialAddress();
