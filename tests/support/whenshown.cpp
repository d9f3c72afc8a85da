#include "whenshown.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>

void WhenShown(const QString &name, std::function<void(QDialog *)> step, QStringList &failures)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [name, step, timer, poll, &failures] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (modal && modal->objectName() == name && modal->isVisible()) {
            step(modal);
            return;
        }
        if (timer->elapsed() > 10000) {
            failures << name;
            if (modal)
                modal->reject();
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}
