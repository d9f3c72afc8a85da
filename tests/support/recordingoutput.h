#pragma once

#include "report/model/reportoutput.h"

#include <QList>
#include <QString>

// Records what print rules hand to the printer: the template, its variables and rows, and
// whether they asked for the preview, the print dialog, direct copies or a PDF.
class RecordingReportOutput final : public ReportOutput
{
public:
    enum class Action { Preview, Print, PrintDirect, Pdf };
    struct Job
    {
        Action action;
        PrintJob job;
        int copies = 0;  // PrintDirect
        QString file;    // Pdf
    };

    void preview(const PrintJob &job) override { jobs.append({Action::Preview, job, 0, {}}); }
    void print(const PrintJob &job) override { jobs.append({Action::Print, job, 1, {}}); }
    void printDirect(const PrintJob &job, int copies) override
    {
        if (copies > 0)  // as the printer output: nothing for copies <= 0
            jobs.append({Action::PrintDirect, job, copies, {}});
    }
    bool exportPdf(const PrintJob &job, const QString &file) override
    {
        jobs.append({Action::Pdf, job, 0, file});
        return job.templateFound;
    }

    const Job &last() const { return jobs.last(); }
    // Copies sent without a dialog, over all jobs.
    int directCopies() const
    {
        int n = 0;
        for (const Job &j : jobs)
            n += j.action == Action::PrintDirect ? j.copies : 0;
        return n;
    }

    QList<Job> jobs;
};
