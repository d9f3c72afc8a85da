#include "screenkit/filechoice.h"

#include <QFileDialog>

QString DialogFileChoice::saveFileName(QWidget *parent, const QString &caption, const QString &filter,
                                       const QString &suggested)
{
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

QString DialogFileChoice::openFileName(QWidget *parent, const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString DialogFileChoice::folder(QWidget *parent, const QString &caption, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, caption, start);
}
