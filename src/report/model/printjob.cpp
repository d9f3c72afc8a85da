#include "report/model/reportoutput.h"

PrintJob PrintJob::forTemplate(const QString &name, const QString &folder)
{
    PrintJob job;
    job.templateName = name;
    job.templateFolder = folder;
    ReportTemplate report;
    job.templateFound = LoadTemplate(name, report, folder);
    for (const auto &v : report.variables)
        job.variables.set(v.first, v.second);
    return job;
}
