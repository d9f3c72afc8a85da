#pragma once

// The program block as a routine: the splash, the data module on the default account set (built
// on a fresh machine), the main window with its start-up login, and the message loop. The
// executable's main() holds the single-instance lock, makes the application object, registers
// the subsystems' screens and calls RunProgram; the smoke test calls it in-process with
// doubles.

#include <QString>

#include <functional>

class Clock;
class DataModule;
class Notices;
class QApplication;
class ScreenRegistry;
class TF_Loading;
class TF_MainForm;
class UrlOpener;

struct ProgramEnvironment
{
    // Left empty: the message boxes, the desktop opener, the system clock and the process's
    // screen registry.
    Notices *notices = nullptr;
    UrlOpener *urls = nullptr;
    const Clock *clock = nullptr;
    ScreenRegistry *registry = nullptr;
    // Whether warnings go to standard error and data/jxc.log (the executable: yes).
    bool installDiagnosticLog = true;
    // Called with the registry before the main window exists (the Register…Screens calls may
    // live here instead of in main()).
    std::function<void(ScreenRegistry &)> registerScreens;
    // Observers for the smoke test: the splash before it runs, the main window before the
    // message loop starts.
    std::function<void(TF_Loading &)> splashStarting;
    std::function<void(TF_MainForm &, DataModule &)> mainFormReady;
};

// Runs the program on `app` (the JxcApplication of the executable; its unhandled-error box is
// given the notices) until the main window ends the message loop. Returns the exit code: 1 when
// the default account set cannot be opened (after the box "数据库格式不可识别！…").
int RunProgram(QApplication &app, const ProgramEnvironment &environment = {});
