#pragma once

// A dialog standing in for one of later work in a test's screen registry: named like it, it
// records the dynamic properties it was opened with, sets `answers` as its results and ends
// with `result`.

#include <QDialog>
#include <QList>
#include <QVariantMap>

class DialogDouble final : public QDialog
{
public:
    DialogDouble(const QString &name, QWidget *parent) : QDialog(parent) { setObjectName(name); }
    int exec() override;
    QVariantMap answers;
    int result = QDialog::Accepted;
    static QList<QVariantMap> &opened();  // the inputs of every opening, in order
};
