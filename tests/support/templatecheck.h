#pragma once

// Every [name] and [ds.field] a built-in template prints is supplied by the job: a variable of
// the job, or a column of the data set named.

#include "report/model/reportoutput.h"
#include "report/model/reporttemplate.h"
#include "report/model/reporttext.h"

#include <gtest/gtest.h>

#include <QFile>

inline void ExpectSupplied(const PrintJob &job)
{
    ASSERT_TRUE(job.templateFound) << job.templateName.toStdString();
    QFile file(BuiltInTemplateFile(job.templateName));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << job.templateName.toStdString();
    ReportTemplate t;
    ASSERT_TRUE(ParseTemplate(file.readAll(), t));
    for (const ReportBand &band : t.bands)
        for (const ReportItem &item : band.items)
            for (QString token : TextNames(item.text)) {
                if (token.startsWith("SUM(") && token.endsWith(')'))
                    token = token.mid(4).chopped(1);
                if (token == "PAGE" || token == "PAGES")
                    continue;
                if (token.contains('.')) {
                    const DataSet *rows = job.dataSets.find(token.section('.', 0, 0));
                    ASSERT_TRUE(rows) << token.toStdString();
                    EXPECT_GE(rows->columnIndex(token.section('.', 1)), 0) << job.templateName.toStdString() << ": " << token.toStdString();
                } else {
                    EXPECT_TRUE(job.variables.contains(token)) << job.templateName.toStdString() << ": " << token.toStdString();
                }
            }
}
