#include "platform/devices/rawdevice.h"

#include <QFile>

bool WriteRawDevice(const QString &device, const QByteArray &bytes, int copies, QString *error)
{
    if (copies <= 0)
        return true;
    if (device.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("未设置设备");
        return false;
    }
    QFile file(device.trimmed());
    // Append: a device ignores it, a plain file (for checking a layout) keeps every job.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    for (int i = 0; i < copies; ++i) {
        if (file.write(bytes) != bytes.size()) {
            if (error)
                *error = file.errorString();
            return false;
        }
    }
    file.close();
    return true;
}

void KickCashDrawer(const QString &device)
{
    if (device.trimmed().isEmpty())
        return;
    WriteRawDevice(device, QByteArray("\x1B\x70\x00\x80\x80", 5), 1, nullptr);
}
