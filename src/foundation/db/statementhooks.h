#pragma once

// For code that runs a statement on the connection's own handle instead of through the
// foundation's routines: the test hook's armed failure (InjectStatementFailure) counts that
// statement as one of the connection's, and fails it when its turn comes.

#include <QSqlDatabase>

// Throws DbError when the armed failure falls on this statement.
void CheckInjectedFailure(const QSqlDatabase &db);
