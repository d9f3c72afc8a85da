#pragma once

// Drives nested modal dialogs in screen tests: a step runs on the next modal dialog of a given
// object name once it is shown, while the test goes on into exec().

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QtTest/QTest>

#include <functional>
#include <memory>

// Runs `step` on the next modal dialog named `name` once it is visible (polling the event loop).
// After 10 s without it the name goes into `failures` and the modal dialog on screen, if any, is
// closed, so a test never hangs. A dialog the step left open is closed 10 s after the step, its
// name going into `failures` with " stayed open".
inline void WhenShown(const QString &name, std::function<void(QDialog *)> step, QStringList &failures)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    // The pending timer call owns the poll; the poll knows itself only weakly.
    auto poll = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> self = poll;
    *poll = [name, step, timer, self, &failures] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (modal && modal->objectName() == name && modal->isVisible()) {
            QPointer<QDialog> shown = modal;
            step(modal);
            if (shown && shown->isVisible()) {
                QTimer::singleShot(10000, shown, [shown, name, &failures] {
                    if (shown->isVisible()) {
                        failures << name + QStringLiteral(" stayed open");
                        shown->reject();
                    }
                });
            }
            return;
        }
        if (timer->elapsed() > 10000) {
            failures << name;
            if (modal)
                modal->reject();
            return;
        }
        QTimer::singleShot(10, [again = self.lock()] { (*again)(); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

// A key as the operator presses it: to the screen's focused control (the screen's key table acts
// on keys meant for its window's focus).
inline void PressKey(QWidget *screen, Qt::Key key)
{
    QWidget *focus = screen->focusWidget();
    QTest::keyClick(focus ? focus : screen, key);
}
