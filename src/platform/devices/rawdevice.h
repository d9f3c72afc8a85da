#pragma once

// Raw bytes to a printer device (a receipt printer at /dev/usb/lp0) and the cash-drawer kick.
// QtCore only.

#include <QByteArray>
#include <QString>

// Writes `bytes` `copies` times to the device in one open; false with the reason on failure.
// Nothing is written for copies <= 0 (and that is no failure).
bool WriteRawDevice(const QString &device, const QByteArray &bytes, int copies = 1,
                    QString *error = nullptr);

// The drawer kick ESC p 0 128 128 (1B 70 00 80 80). Failures are swallowed: a sale never stops
// because the drawer did not open.
void KickCashDrawer(const QString &device);
