#pragma once

// The follow-on hand-off of the main window: which values it empties before a document screen
// opens, and which receiving screens it opens, in order, after that screen closes. The
// receivers open without a further rights test; each takes its value when it activates.

#include "foundation/handoff.h"
#include "shell/commandtable.h"

#include <QStringList>

// Empties the values the screen of `kind` starts from (all three before purchase and
// production receipts, ReturnSourceNo before sales).
void PrepareFollowOn(FollowOnKind kind, FollowOnRequests &requests);

// The screens to open after the screen of `kind` closed, for the values now set:
// purchase receipts TF_Cgth, TF_Bmly, TF_Spxs; production receipts TF_Bmly, TF_Spxs;
// sales TF_Xsth.
QStringList FollowOnScreens(FollowOnKind kind, const FollowOnRequests &requests);

// After the follow-ons of `kind` ran: a sale's ReturnSourceNo is emptied.
void FinishFollowOn(FollowOnKind kind, FollowOnRequests &requests);
