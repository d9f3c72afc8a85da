#pragma once

#include "foundation/db/clock.h"
#include "foundation/db/connection.h"

// New account sets as copies of a pristine set: on PostgreSQL kept on the server, on SQLite a file
// of the folder "newset" inside the data folder.
//
// Building every table of a set takes the server a second or two (SQLite some tens of
// milliseconds); copying a database is much quicker. The pristine set is named with the configured prefix, "newset_" and the catalogue's
// fingerprint (CatalogueFingerprint), built the first time a set is created and again when the
// fingerprint changes (older pristine sets are then dropped). It is built under a name of its
// own and copied to its final name when complete, so a half-built one is never copied.

// The file name of the pristine set for the current catalogue ("newset_<fingerprint>.db").
QString NewSetTemplateFile();

// Creates the account set `fileName` as a copy of the pristine set, building that first when
// missing, and writes today's date into the default rows that carry it. False when no copy was
// made (PostgreSQL: the server refused it, e.g. while another session is connected to the
// pristine set; SQLite: the file could not be written or copied): the caller builds the set
// itself. Raises DbError only when the copy was made and could not be completed (it is removed
// again). SQLite: an existing file of that name is replaced.
bool CreateSetFromTemplate(const ConnectionSettings &settings, const QString &fileName,
                           const Clock &clock = Clock::system());
