#pragma once

// Driving nested modal dialogs in screen tests: `step` runs on the next modal dialog whose
// object name is `name` once it is shown (the event loop is polled), while the caller goes on
// into the exec() that shows it. A dialog that does not come within ten seconds is recorded in
// `failures` (and a modal dialog then in front is rejected, so the test does not hang).

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

void WhenShown(const QString &name, std::function<void(QDialog *)> step, QStringList &failures);
