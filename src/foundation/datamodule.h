#pragma once

#include "foundation/db/connection.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>

class SetPresence;

// Which reader an Excel import uses for a workbook.
enum class ExcelReaderKind { None, Xls, Xlsx };

// The program's connections: the chosen account set, the account-set register (open only while
// it is read or changed) and the workbook of an import. Created once by the program block;
// tests make their own.
class DataModule
{
public:
    explicit DataModule(const ConnectionSettings &settings,
                        const QString &mainConnectionName = QStringLiteral("jxc_main"),
                        const QString &registerConnectionName = QStringLiteral("jxc_register"));
    ~DataModule();
    DataModule(const DataModule &) = delete;
    DataModule &operator=(const DataModule &) = delete;

    const ConnectionSettings &settings() const { return m_settings; }

    // Opens the account set `fileName` ("jxc.db", "jxc_100002.db") as the main database,
    // closing the one open before. Raises DbError. While a set is the main database the process
    // is marked as one of its users (SetPresence, foundation/db/presence.h).
    void OpenMainDatabase(const QString &fileName);
    QSqlDatabase mainDb() const;
    QString mainFileName() const { return m_mainFile; }

    void OpenAccountSetRegister();
    void CloseAccountSetRegister();
    QSqlDatabase registerDb() const;

    // Chooses the reader by the file's extension: ".xls" in any letter case takes the .xls
    // reader, every other name (".xlsx", ".csv", none) the .xlsx reader. Nothing is opened.
    ExcelReaderKind PrepareExcelConnection(const QString &file);
    void CloseExcelConnection(const QString &unused = QString());
    ExcelReaderKind excelReader() const { return m_excelReader; }
    QString excelFile() const { return m_excelFile; }

private:
    ConnectionSettings m_settings;
    QString m_mainName;
    QString m_registerName;
    QString m_mainFile;
    std::unique_ptr<SetPresence> m_presence;
    ExcelReaderKind m_excelReader = ExcelReaderKind::None;
    QString m_excelFile;
};

inline constexpr const char *kDefaultAccountSetFile = "jxc.db";
inline constexpr const char *kRegisterFile = "codeinfo.db";
