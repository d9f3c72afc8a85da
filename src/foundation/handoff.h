#pragma once

// Follow-on requests to the main window. A document list that hands a whole document on
// (return it, issue it to a department, sell it) leaves the document's number here and closes;
// the main window then opens the receiving screen, which takes the number and empties it.
// This is the one process-wide hand-off: every other request between screens travels as a
// parameter or result of the routine or dialog concerned.

#include <QString>

struct FollowOnRequests
{
    QString ReturnSourceNo;  // number of a document to be returned whole
    QString IssueSourceNo;   // number of a document to be issued whole to a department
    QString SaleSourceNo;    // number of a document to be sold whole

    // What the receiver does on activation: read the value and empty it.
    QString takeReturnSource() { return take(ReturnSourceNo); }
    QString takeIssueSource() { return take(IssueSourceNo); }
    QString takeSaleSource() { return take(SaleSourceNo); }

    void clear()
    {
        ReturnSourceNo.clear();
        IssueSourceNo.clear();
        SaleSourceNo.clear();
    }

private:
    static QString take(QString &value)
    {
        QString taken = value;
        value.clear();
        return taken;
    }
};

// The process's follow-on requests (user-interface thread only).
inline FollowOnRequests &FollowOn()
{
    static FollowOnRequests requests;
    return requests;
}
