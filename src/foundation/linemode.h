#pragma once

// What a line dialog is to do, named by the opener's tag: a stem ("cgjh", "cgth", "spxs" …) and
// a suffix — "<stem>_new" a new line under the document's number, "<stem>" the operator's draft
// line, "<stem>_add" a new basket row, "<stem>_modi" the operator's basket row, "<stem>_modish"
// a line of the pending document.

#include <QString>

enum class LineMode {
    None,          // any other tag: nothing read, nothing written
    Insert,        // a new line under the document's number
    Draft,         // the operator's draft line `lineId`
    BasketAdd,     // a new basket row
    BasketModify,  // the operator's basket row `lineId`
    Pending,       // line `lineId` of the pending document (its operator becomes the current one)
};

LineMode LineModeOfTag(const QString &stem, const QString &tag);
QString LineModeTagOf(const QString &stem, LineMode mode);
// BasketAdd or BasketModify.
bool IsBasketMode(LineMode mode);
// Draft, BasketModify or Pending: the dialog opens on a stored row.
bool IsStoredLineMode(LineMode mode);
