#pragma once

// How print rules hand a report to the printer: a PrintJob (template name, variables, data
// sets, rows per page) and the output interface. Screens pass the printer output
// (report/printeroutput.h); tests a recording double (tests/support/). QtCore only.

#include "report/model/dataset.h"
#include "report/model/reporttemplate.h"
#include "report/model/reporttext.h"
#include "report/model/reportvariables.h"

#include <QString>

struct PrintJob
{
    QString templateName;  // as stored or computed: "cgjh2.fr3"
    QString templateFolder;  // empty: report/ of the program folder
    bool templateFound = false;
    ReportVariables variables;  // the template's declared values, then the rule's own
    DataSets dataSets;
    int rowsPerPage = 0;  // 0: rows flow; N > 0: N detail rows per page
    ReportDecimals decimals;

    // Loads the template's declared variables; a refused or missing name gives an empty job
    // (no variables, templateFound false) that the output reports instead of printing.
    static PrintJob forTemplate(const QString &name, const QString &folder = {});

    void setDataSet(const QString &name, const DataSet &rows) { dataSets.set(name, rows); }
};

class ReportOutput
{
public:
    virtual ~ReportOutput() = default;
    // Preview window "打印预览".
    virtual void preview(const PrintJob &job) = 0;
    // The system print dialog first, then print.
    virtual void print(const PrintJob &job) = 0;
    // `copies` times to the kind's printer without a dialog; nothing for copies <= 0.
    virtual void printDirect(const PrintJob &job, int copies) = 0;
    // A PDF file; false when nothing was written.
    virtual bool exportPdf(const PrintJob &job, const QString &file) = 0;
};
