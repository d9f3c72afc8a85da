#pragma once

// What a document window hands to the dialogs that add or change its lines (line dialog, goods
// picker, imports): the document type, the page served (entry or pending), the number, date,
// warehouse and partner, and two calls back: the callee drew a new number for the entry page
// (another operator held the shown one), and lines were written. Passed by pointer; dialogs
// opened through the screen registry receive it as the dynamic property "documentContext".

#include "foundation/doctype.h"

#include <QMetaType>
#include <QObject>
#include <QString>

#include <functional>

enum class DocPage { Entry, Pending };

struct DocumentContext
{
    DocType type;
    DocPage page = DocPage::Entry;
    QString number;     // entry page: the number shown; pending page: the chosen document
    QString day;        // the document date "yyyy-MM-dd"
    QString warehouse;  // ck_sn
    QString partner;    // ghs_sn of a purchase document, kh_sn of a sale
    // The sale's whole-order discount factor (entry page: 整单折扣; pending page: the header's
    // ls_dzl; 0 or less counts as 1) and, on the pending page, the header's ls_xsrq as stored
    // for the cost date (empty: `day`).
    double wholeDiscount = 1.0;
    QString costDay;

    // Entry page: the number changed (the window shows the new one and reloads its lines).
    std::function<void(const QString &number)> numberChanged;
    // Lines were written: the entry page reloads its lines and totals, the pending page its
    // lines and the header's sums.
    std::function<void()> linesChanged;

    // "cgjh" or "cgjhsh", "cgth" or "cgthsh" …
    QString pageTag() const;
    bool pending() const { return page == DocPage::Pending; }
    // Takes a number the callee drew (no call when it is the same).
    void renumber(const QString &fresh);
    void notifyLinesChanged() const;
};

Q_DECLARE_METATYPE(DocumentContext *)

inline constexpr const char *kDocumentContextProperty = "documentContext";

// The context as a dialog's dynamic property, and back (nullptr when none was set).
void SetDocumentContext(QObject *dialog, DocumentContext *context);
DocumentContext *DocumentContextOf(const QObject *dialog);
// The dialog's context, or `own` made a context of `type` when the opener set none.
DocumentContext *DocumentContextOr(const QObject *dialog, DocumentContext &own, const DocType &type);
