#pragma once

// The report variables of a stored document: company header, header fields with the names of
// the warehouse, handler, department and partner, amounts in capitals and, for purchase
// receipts and sales, the partner's balance without and with the document.

#include <QSqlDatabase>
#include <QString>

class Clock;
class ReportVariables;
struct LoginState;

// Sets the variables of print type `printType` for the stored document `number` into
// `variables` (which hold the template's declared values).
//
// The sixteen print types are compared exactly: "cgjh" (CJ), "cgth" (CT), "cgd" (CD), "spxs"
// (XS), "xsth" (XT), "xshh" (XH), "spdd" (XD) and "khjh" (JH, HH) clear the variables first;
// "kcdb" (DB), "spcf" (CF), "spkb" (KB), "spbs" (BS), "spby" (BY), "kcpd" (PD), "SC" (SC, ST)
// and "LY" (LY, LT, LF) set theirs over the declared ones. Any other print type changes
// nothing. Values are plain texts: a column gives its canonical text, NULL the empty text; a
// number without header row (or whose warehouse, handler, department or customer row is
// missing) sets the header and partner variables to "", the balances to the partner balance
// of an empty code and the capitals to those of the empty text. Database errors raise DbError.
void SetPrintVariables(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                       ReportVariables &variables, const QString &number, const QString &printType);
