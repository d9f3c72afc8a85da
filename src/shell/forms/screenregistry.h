#pragma once

// Every screen the main window opens is made here, by class name: the class's factory when a
// subsystem has registered one, otherwise the placeholder that says the function is not
// finished yet. Later screens open their own dialogs through the registry as well, so tests
// can put doubles in their place.

#include <QHash>
#include <QString>

#include <functional>

class Clock;
class DataModule;
struct FollowOnRequests;
class Notices;
class QDialog;
class QWidget;
class ScreenRegistry;
class UrlOpener;
struct LoginState;

// What a screen may use: the program's connections, the login state, the clock, the message
// boxes, the desktop opener, the follow-on hand-off, the registry itself and the control of the
// automatic-backup timer (the backup settings start and stop it).
struct ScreenContext
{
    DataModule *data = nullptr;
    LoginState *state = nullptr;
    const Clock *clock = nullptr;
    Notices *notices = nullptr;
    UrlOpener *urls = nullptr;
    FollowOnRequests *followOn = nullptr;
    ScreenRegistry *registry = nullptr;
    std::function<void(int hours)> startBackupTimer;
    std::function<void()> stopBackupTimer;
};

using ScreenFactory = std::function<QDialog *(const ScreenContext &context, QWidget *parent)>;

class ScreenRegistry
{
public:
    // Registers the real screen of `screenClass`, replacing the placeholder (or an earlier
    // factory).
    void registerScreen(const QString &screenClass, ScreenFactory factory);
    void unregisterScreen(const QString &screenClass);
    bool isRegistered(const QString &screenClass) const { return m_factories.contains(screenClass); }

    // A new screen of `screenClass`, or the placeholder named `screenClass` and titled
    // `caption` while the class has no factory. The caller owns the result. A screen of the
    // kit (ScreenDialog) keeps its size and position for the login's operator
    // (screenkit/screengeometry.h).
    QDialog *create(const QString &screenClass, const QString &caption, const ScreenContext &context,
                    QWidget *parent = nullptr) const;

    // The process's registry.
    static ScreenRegistry &instance();

private:
    QHash<QString, ScreenFactory> m_factories;
};

// Whether `dialog` is the placeholder of an unbuilt screen.
bool IsPlaceholderScreen(const QDialog *dialog);
