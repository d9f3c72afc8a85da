#pragma once

// Where a document window's prints go and how it asks for a template: the printer output
// (report/printeroutput.h) and the template choice dialog (TF_PrinSele through PrinSeleChoice),
// each made at its first use unless a test set a double first.

#include "engine/printdocument.h"

#include <memory>

class Notices;
class QWidget;

class PrintSeams
{
public:
    PrintSeams(Notices &notices, QWidget *window);
    ~PrintSeams();
    PrintSeams(const PrintSeams &) = delete;
    PrintSeams &operator=(const PrintSeams &) = delete;

    void setOutput(ReportOutput *output) { m_output = output; }
    void setChoice(PrintChoiceDialog *choice) { m_choice = choice; }
    ReportOutput &output();
    PrintChoiceDialog *choice();

private:
    Notices &m_notices;
    QWidget *m_window;
    ReportOutput *m_output = nullptr;
    PrintChoiceDialog *m_choice = nullptr;
    std::unique_ptr<ReportOutput> m_ownOutput;
    std::unique_ptr<PrintChoiceDialog> m_ownChoice;
};
