#include "foundation/errorhandler.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QTextStream>

#include <cstdio>

namespace {

QString lowerAsciiLetters(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return out;
}

QString &logPath()
{
    static QString path;
    return path;
}

void diagnosticHandler(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    static QMutex mutex;
    QMutexLocker lock(&mutex);
    const char *kind = "info";
    switch (type) {
    case QtDebugMsg: kind = "debug"; break;
    case QtInfoMsg: kind = "info"; break;
    case QtWarningMsg: kind = "warning"; break;
    case QtCriticalMsg: kind = "critical"; break;
    case QtFatalMsg: kind = "fatal"; break;
    }
    const QString line = QStringLiteral("%1 [%2] %3\n")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                  QLatin1String(kind), msg);
    const QByteArray utf8 = line.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stderr);
    if (!logPath().isEmpty()) {
        QFile f(logPath());
        if (f.open(QIODevice::Append))
            f.write(utf8);
    }
}

} // namespace

UnhandledErrorOutcome HandleUnhandledError(const QString &message, const QString &defaultDbName)
{
    const QString lowered = lowerAsciiLetters(message);
    if (lowered.contains(lowerAsciiLetters(defaultDbName)))
        return {DatabaseUnreadableText(), true};
    return {lowered, false};
}

QString DatabaseUnreadableText()
{
    return QStringLiteral("数据库格式不可识别！\r\n\r\n系统将退出！");
}

void InstallDiagnosticLog(const QString &dataFolder)
{
    if (!dataFolder.isEmpty()) {
        QDir().mkpath(dataFolder);
        logPath() = QDir(dataFolder).filePath(QStringLiteral("jxc.log"));
    }
    qInstallMessageHandler(diagnosticHandler);
}
