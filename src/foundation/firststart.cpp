#include "foundation/firststart.h"

#include "foundation/datamodule.h"
#include "foundation/schema/register.h"
#include "foundation/schema/schemabuilder.h"

#include <QUuid>

namespace {

template<typename Build>
void buildWhenMissing(const ConnectionSettings &settings, const QString &file, Build build)
{
    if (DatabaseExists(settings, file))
        return;
    CreateEmptyDatabase(settings, file);
    const QString name = QStringLiteral("jxc_first_") + QUuid::createUuid().toString(QUuid::Id128);
    try {
        {
            QSqlDatabase db = OpenConnection(settings, file, name);
            build(db);
        }
        CloseConnection(name);
    } catch (...) {
        CloseConnection(name);
        DropDatabase(settings, file);  // never leave a half-built set behind
        throw;
    }
}

} // namespace

void EnsureDefaultDatabases(const ConnectionSettings &settings, const Clock &clock)
{
    buildWhenMissing(settings, QString::fromLatin1(kDefaultAccountSetFile),
                     [&clock](const QSqlDatabase &db) { CreateAllTables(db, clock); });
    buildWhenMissing(settings, QString::fromLatin1(kRegisterFile),
                     [](const QSqlDatabase &db) { CreateRegisterTables(db); });
}
