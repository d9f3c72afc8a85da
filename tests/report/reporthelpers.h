#pragma once

// Shared pieces of the renderer tests: a scratch template folder and PDF text read back with
// pdftotext.

#include "report/model/dataset.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

inline void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// The text of each page of a PDF (pdftotext -layout; pages split at form feeds).
// With JXC_REPORT_SAMPLES naming a folder, every PDF read here is also copied there, so that a
// template author can look at what the tests rendered.
inline QStringList PdfPages(const QString &pdf)
{
    const QString samples = qEnvironmentVariable("JXC_REPORT_SAMPLES");
    if (!samples.isEmpty()) {
        QDir().mkpath(samples);
        const QString copy = QDir(samples).filePath(QFileInfo(pdf).fileName());
        QFile::remove(copy);
        QFile::copy(pdf, copy);
    }
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    while (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The folder of the shipped templates beside the test programs (build/bin/report).
inline QString ShippedTemplates()
{
    return QDir(QFileInfo(QStringLiteral(JXC_BINARY)).absolutePath()).filePath(QStringLiteral("report"));
}

// Lines of a purchase receipt as the line query gives them.
inline DataSet PurchaseLines(const QList<QStringList> &rows)
{
    return DataSet({QStringLiteral("gl_djh"), QStringLiteral("g_sn"), QStringLiteral("g_name"),
                    QStringLiteral("gg_name"), QStringLiteral("color_name"), QStringLiteral("dw_name"),
                    QStringLiteral("jh_sl"), QStringLiteral("jh_taxdj"), QStringLiteral("jh_zje"),
                    QStringLiteral("jh_bz")},
                   rows);
}
