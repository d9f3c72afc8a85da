#include "engine/forms/printseams.h"

#include "engine/forms/prinsele.h"
#include "report/printeroutput.h"

PrintSeams::PrintSeams(Notices &notices, QWidget *window) : m_notices(notices), m_window(window) {}

PrintSeams::~PrintSeams() = default;

ReportOutput &PrintSeams::output()
{
    if (!m_output) {
        m_ownOutput = std::make_unique<PrinterOutput>(m_notices, m_window);
        m_output = m_ownOutput.get();
    }
    return *m_output;
}

PrintChoiceDialog *PrintSeams::choice()
{
    if (!m_choice) {
        m_ownChoice = std::make_unique<PrinSeleChoice>(m_window);
        m_choice = m_ownChoice.get();
    }
    return m_choice;
}
