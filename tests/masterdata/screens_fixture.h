#pragma once

// Screens of the master data through their real widgets (tests/support/screenfixture.h): the
// clock at 2025-03-14, a registry holding the master-data screens, auxiliary units off,
// negative stock allowed and the picker searching on every key.

#include "../support/screenfixture.h"

#include <QKeyEvent>
#include <QtTest/QTest>

class DataGrid;
struct PrintJob;

// A key as the operator presses it: to the control that has the focus.
inline void Press(QWidget *window, Qt::Key key)
{
    PressKey(window, key);
}

// The text of a job rendered to PDF (pdftotext -layout); with JXC_MD_PDF_DIR set the PDF is
// kept there as <template>.pdf to be looked at.
QString PdfText(const PrintJob &job);

// Double-clicks the row of a grid (its second column).
void DoubleClickRow(DataGrid *grid, int row);

class MasterScreenTest : public ScreenFixture
{
protected:
    void SetUp() override;
    // The parameters loaded before the operator is signed in, as the master-data tests expect.
    void reloadState() override;
};
