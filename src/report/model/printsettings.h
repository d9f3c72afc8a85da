#pragma once

// Workstation print settings, data/print.ini: which printer takes documents, labels and
// receipts, and where raw receipt bytes and the cash-drawer kick go. QtCore only.

#include <QString>

struct PrintSettings
{
    QString documentPrinter;  // empty: the system's default printer
    QString labelPrinter;     // empty: the system's default printer
    QString receiptPrinter;   // empty: the system's default printer (when no device is set)
    QString receiptDevice;    // a device path (/dev/usb/lp0): receipts go there as raw ESC/POS
    QString drawerDevice;     // device that receives the cash-drawer kick; empty: none

    static QString fileName(const QString &dataFolder);
    static PrintSettings load(const QString &dataFolder);
    // False when the file cannot be written.
    bool save(const QString &dataFolder) const;
};
