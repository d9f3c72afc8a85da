#include "foundation/schema/newsettemplate.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/schema/schemabuilder.h"

#include <QDebug>
#include <QUuid>

namespace {

const QString kStart = QStringLiteral("newset_");

void buildTemplate(const ConnectionSettings &settings, const QString &templateFile, const Clock &clock)
{
    // Not under "newset_": the clean-up below never takes a set still being built.
    const QString building = QStringLiteral("newsetbuild_") + QUuid::createUuid().toString(QUuid::Id128)
                             + QStringLiteral(".db");
    CreateEmptyDatabase(settings, building);
    try {
        WithConnection(settings, building, [&](const QSqlDatabase &db) { CreateAllTables(db, clock); });
        try {
            CopyDatabase(settings, building, templateFile);
        } catch (const DbError &) {
            if (!DatabaseExists(settings, templateFile))  // else another program made it meanwhile
                throw;
        }
    } catch (...) {
        try {
            DropDatabase(settings, building);
        } catch (...) {
        }
        throw;
    }
    DropDatabase(settings, building);
    for (const QString &old : ServerDatabaseFiles(settings, kStart)) {
        if (old == templateFile)
            continue;
        try {
            DropDatabase(settings, old);
        } catch (const DbError &e) {
            qWarning().noquote() << "account sets: old pristine set" << old << "kept:" << e.text();
        }
    }
}

} // namespace

QString NewSetTemplateFile()
{
    return kStart + CatalogueFingerprint() + QStringLiteral(".db");
}

bool CreateSetFromTemplate(const ConnectionSettings &settings, const QString &fileName, const Clock &clock)
{
    if (settings.kind != DbKind::Postgres)
        return false;
    const QString templateFile = NewSetTemplateFile();
    try {
        if (!DatabaseExists(settings, templateFile))
            buildTemplate(settings, templateFile, clock);
        CopyDatabase(settings, templateFile, fileName);
    } catch (const DbError &e) {
        qWarning().noquote() << "account sets: built without the pristine set:" << e.text();
        return false;
    }
    try {
        WithConnection(settings, fileName, [&](const QSqlDatabase &db) { RefreshDatedDefaults(db, clock); });
    } catch (...) {
        try {
            DropDatabase(settings, fileName);
        } catch (...) {
        }
        throw;
    }
    return true;
}
