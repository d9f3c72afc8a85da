#include "foundation/datamodule.h"

#include "foundation/db/dberror.h"
#include "foundation/db/presence.h"

#include <QFile>
#include <QFileInfo>

DataModule::DataModule(const ConnectionSettings &settings, const QString &mainConnectionName,
                       const QString &registerConnectionName)
    : m_settings(settings), m_mainName(mainConnectionName), m_registerName(registerConnectionName)
{
}

DataModule::~DataModule()
{
    CloseConnection(m_mainName);
    m_presence.reset();
    CloseConnection(m_registerName);
}

void DataModule::OpenMainDatabase(const QString &fileName)
{
    CloseConnection(m_mainName);
    m_presence.reset();
    if (m_settings.kind == DbKind::Sqlite) {
        // A read-only file (copied from a CD or a backup) is made writable first; when that
        // fails the open below reports the file.
        QFile file(DatabaseTarget(m_settings, fileName));
        if (file.exists() && !(file.permissions() & QFileDevice::WriteOwner))
            file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
    }
    m_mainFile.clear();
    OpenConnection(m_settings, fileName, m_mainName);
    m_mainFile = fileName;
    m_presence = std::make_unique<SetPresence>(m_settings, fileName);
}

QSqlDatabase DataModule::mainDb() const
{
    return QSqlDatabase::database(m_mainName, false);
}

void DataModule::OpenAccountSetRegister()
{
    OpenConnection(m_settings, QString::fromLatin1(kRegisterFile), m_registerName);
}

void DataModule::CloseAccountSetRegister()
{
    CloseConnection(m_registerName);
}

QSqlDatabase DataModule::registerDb() const
{
    return QSqlDatabase::database(m_registerName, false);
}

ExcelReaderKind DataModule::PrepareExcelConnection(const QString &file)
{
    CloseExcelConnection();
    m_excelFile = file;
    const QString suffix = QFileInfo(file).suffix().toLower();
    m_excelReader = suffix == QLatin1String("xls") ? ExcelReaderKind::Xls : ExcelReaderKind::Xlsx;
    return m_excelReader;
}

void DataModule::CloseExcelConnection(const QString &)
{
    m_excelReader = ExcelReaderKind::None;
    m_excelFile.clear();
}
