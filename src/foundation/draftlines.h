#pragma once

// The lines of a document being entered. Lines are written to the type's line table at once,
// under the document number shown on the entry page and the operator's name; the entry grid
// shows only the operator's lines of that number. Numbers come from the header table by the
// document day, and move with the operator's lines when the day changes or the number clashes.

#include "foundation/doctype.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

struct LoginState;

struct DraftTotals
{
    int lines = 0;
    double quantity = 0.0;
    double amount = 0.0;
};

class DraftLines
{
public:
    // The type is checked against the table catalogue (std::invalid_argument).
    DraftLines(const QSqlDatabase &db, const DocType &type, const LoginState &state);

    const DocType &type() const { return m_type; }
    QString operatorName() const;

    // The next number of the type for a day ("yyyy-MM-dd", a time may follow).
    QString newNumber(const QString &day) const;

    // The operator's lines of `number`: count and sums.
    DraftTotals totals(const QString &number) const;
    int count(const QString &number) const { return totals(number).lines; }

    // Appends a line; the amount is price × quantity at the type's amount decimals.
    qint64 addLine(const QString &number, const QString &goods, double quantity, double price);
    // Changes a line's quantity or price (amount recomputed); false when the line is not the
    // operator's line of a draft.
    bool setQuantity(qint64 lineId, double quantity);
    bool setPrice(qint64 lineId, double price);
    bool removeLine(qint64 lineId);

    // Writing lines column by column (barcode, dialog, kit, cell edits of priced lines): the
    // names are checked against the catalogue, texts cut to their columns' widths.
    // A line of the operator under `number` (gl_djh and a_name are set here); returns its id.
    qint64 insertLine(const QString &number, const QVariantMap &values);
    // The operator's line `lineId`; false when it is not theirs.
    bool updateLine(qint64 lineId, const QVariantMap &values);
    // Line `lineId` of document `number`, whoever entered it (the lines of a pending document).
    bool updateDocumentLine(const QString &number, qint64 lineId, const QVariantMap &values);
    // Columns of line `lineId`, whoever entered it (empty when there is none).
    QVariantMap readLine(qint64 lineId, const QStringList &columns) const;
    // Σ of the amount column over every line of the number, all operators, the reserved goods
    // "00000000" (a settlement adjustment) left out: what the document is due.
    double documentTotal(const QString &number) const;
    // Deletes the operator's lines of the number (the discard of a closing window).
    int discard(const QString &number);

    // Moves the operator's lines from one number to another; returns the lines moved.
    int moveLines(const QString &from, const QString &to);
    // The day changed: the header table's next number for it (the lines table's when another
    // operator's lines already hold that one), the operator's lines moved to it in one
    // transaction. A number of the same day stays (Keep), or is drawn again as well (Redraw:
    // the inventory documents renumber on every exit of the date field, so that a header saved
    // meanwhile under the number shown moves the draft on).
    enum class SameDay { Keep, Redraw };
    QString renumberForDay(const QString &number, const QString &day, SameDay sameDay = SameDay::Keep);
    // Adding lines: when another operator's lines carry the number, a new one for the day, and
    // the operator's lines already under the old number move to it (joining the caller's
    // transaction, so that they move with the lines being added or not at all).
    QString numberForNewLines(const QString &number, const QString &day);
    // Saving: when the number is taken in `table` (the header table unless given), a new one
    // for the day and the operator's lines move to it. Taken means: another operator's rows
    // carry it (OtherOperators), or any row does (AnyRow: a header that anybody saved).
    enum class Taken { OtherOperators, AnyRow };
    QString numberForSave(const QString &number, const QString &day, const QString &table = QString(),
                          Taken taken = Taken::OtherOperators);

    // The entry grid's statement: body with two bound values (number, operator) and order.
    // Output columns: id, g_sn, g_name, dw_name, sl, dj, zje.
    QString linesBody() const;
    QString linesOrder() const { return QStringLiteral("b.id"); }
    QVariantList linesBinds(const QString &number) const;
    // The lines of a saved document, whoever entered them (bound: the number); same columns.
    QString documentLinesBody() const;

private:
    bool ownLine(qint64 lineId, double *quantity, double *price) const;

    QSqlDatabase m_db;
    DocType m_type;
    const LoginState &m_state;
};
