#pragma once

// Driving nested modal dialogs: a step that runs on the next modal dialog of a given object
// name once it is shown, while the caller goes on into exec().

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

// Polls the event loop for the dialog; after ten seconds without it the name goes into
// `failures` (when given) and the modal dialog then open is rejected.
inline void WhenModalShown(const QString &name, std::function<void(QDialog *)> step, QStringList *failures)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [name, step, timer, poll, failures] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (modal && modal->objectName() == name && modal->isVisible()) {
            step(modal);
            *poll = nullptr;  // ends the cycle the lambda keeps of itself
            return;
        }
        if (timer->elapsed() > 10000) {
            if (failures)
                failures->append(name);
            if (modal)
                modal->reject();
            *poll = nullptr;
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}
