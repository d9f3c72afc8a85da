#pragma once

// Measures and texts of the shared screen shapes (document window, pending page, pick-rows
// dialog), kept apart so that every document type places its parts alike.

#include <QDate>
#include <QString>

// Floating barcode panel: left 16; top 388 when the window is at most 650 pixels high, else
// the entry page's height − 150.
int BarcodePanelTop(int windowHeight, int entryPageHeight);
inline constexpr int kBarcodePanelLeft = 16;

// Pending page: height of the lower half (the selected document's lines) and of its grid.
int PendingLowerHeight(int windowHeight);
inline int PendingLowerGridHeight(int windowHeight) { return PendingLowerHeight(windowHeight) - 36; }

// Pick-rows dialog: width of the basket group (`designed` 509, 457 or 499) for a form width.
int BasketWidth(int formWidth, int designed);
inline constexpr int kPickerRowLimit = 300;
inline constexpr const char *kPickerLimitText = "批量添加不能超过300行！";

// The question when a document date lies after today.
QString FutureDateQuestion(const QDate &chosen, const QDate &today);

inline constexpr const char *kUnsavedDocumentQuestion = "当前单据还未保存，是否保存？";
