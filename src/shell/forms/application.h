#pragma once

#include <QApplication>

class Notices;

// The application object: every exception that no routine handled ends here and is shown as
// the system's unhandled-error box; one naming the default account set ends the program.
class JxcApplication final : public QApplication
{
    Q_OBJECT
public:
    JxcApplication(int &argc, char **argv);

    void setNotices(Notices *notices) { m_notices = notices; }
    bool notify(QObject *receiver, QEvent *event) override;

    // Shows the unhandled-error box for `message`; returns true when the program must end.
    bool reportUnhandled(const QString &message);

private:
    Notices *m_notices = nullptr;
};
