#pragma once

#include <QString>

class QWidget;

// Asking the operator for a file or a folder. Screens get DialogFileChoice; tests replace it
// with a double that answers from a script. An empty answer means Cancel.
class FileChoice
{
public:
    virtual ~FileChoice() = default;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &filter,
                                 const QString &suggested = QString()) = 0;
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &filter) = 0;
    virtual QString folder(QWidget *parent, const QString &caption, const QString &start = QString()) = 0;
};

class DialogFileChoice final : public FileChoice
{
public:
    QString saveFileName(QWidget *parent, const QString &caption, const QString &filter,
                         const QString &suggested) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &filter) override;
    QString folder(QWidget *parent, const QString &caption, const QString &start) override;
};
