#pragma once

// The purchasing screens through their real widgets (tests/support/screenfixture.h): the clock
// at 2025-03-14 09:30, the purchase fixture's parameters (purchase_fixture.h) and goods, and a
// registry holding the master-data and purchasing screens. Dialogs of later work are doubles
// that record their inputs and answer as a test tells them.

#include "../support/recordingoutput.h"
#include "../support/dialogdouble.h"
#include "../support/screenfixture.h"

#include <QDialog>
#include <QVariantMap>

class PurchaseScreenTest : public ScreenFixture
{
protected:
    void SetUp() override;
    void reloadState() override;

    // A double for `screenClass`; `answers` are its results.
    void installDouble(const QString &screenClass, const QVariantMap &answers, int result = QDialog::Accepted);
    // The receipt window, shown, printing into `output`.
    QDialog *openWindow();
    template <typename T>
    T *find(QObject *parent, const char *name) const
    {
        return parent->findChild<T *>(QString::fromLatin1(name));
    }

    RecordingReportOutput output;
    std::unique_ptr<QDialog> window;
};
