#pragma once

// The settlement of a difference between due and paid on a purchase receipt or a sale, by the
// parameter SettleDiffMode: "1" one line of the reserved goods "00000000" carries paid − due
// (the header unchanged); "0" spreads due − paid over the document's ordinary lines, and the
// header's due and paid become the lines' total. Other modes, or |paid − due| < 0.000001, change
// nothing. Joins the caller's Transaction or opens its own.

#include "engine/auditsupport.h"

#include <QSqlDatabase>
#include <QString>

struct LoginState;

// A document kind's lines as the settlement sees them.
struct SettledLines
{
    QString header;        // jxc_jhd / jxc_lsxsd
    QString headerPrefix;  // j_ / ls_: its due <p>yfje and paid <p>sfje
    QString lines;         // jxc_jhsp / jxc_lsxssp
    QString prefix;        // jh_ / ls_: the lines' figures <p>sl, <p>zje, <p>dj …
    bool discountAndGifts = false;  // lines carry a discount rate <p>dzl, and only lines whose gift
                                    // tag t_zp is exactly '' take a share
    // Columns of a new reserved line besides the figures every kind has.
    postingsupport::ColumnValues (*reservedLineColumns)(const QSqlDatabase &db) = nullptr;
};

void ApplySettleDifference(const QSqlDatabase &db, const LoginState &state, const SettledLines &kind,
                           const QString &number, double paid, double due);
