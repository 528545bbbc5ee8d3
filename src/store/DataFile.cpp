#include "store/DataFile.h"

#include "platform/RuntimeError.h"
#include "store/Sql.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <optional>

namespace horalog::store
{

namespace
{

// Dates and moments are ISO text ("YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS", "HH:MM:SS") so that they
// sort and compare as text. Client names compare without regard to letter case everywhere.
const char* const kSchema[] = {
    R"(CREATE TABLE Employees (
        EmployeeID INTEGER PRIMARY KEY AUTOINCREMENT,
        LastName TEXT, FirstName TEXT, HireDate TEXT, Street TEXT, City TEXT, State TEXT,
        ZIP TEXT, Phone TEXT, Birthdate TEXT, "Social Security" TEXT, PayRate REAL, Notes TEXT))",
    // A nameless client would own, and on its removal take, every entry recorded without a client.
    R"(CREATE TABLE Clients (
        ClientName TEXT NOT NULL COLLATE NOCASE PRIMARY KEY CHECK (trim(ClientName) <> ''),
        Street TEXT, Suite TEXT, City TEXT, State TEXT, ZIP TEXT,
        "Contact First" TEXT, "Contact Last" TEXT, Voice TEXT, Extension TEXT,
        FAX TEXT, Beeper TEXT, Car TEXT, "e-Mail" TEXT))",
    R"(CREATE TABLE Times (
        ID INTEGER PRIMARY KEY AUTOINCREMENT,
        EmployeeID INTEGER, Client TEXT COLLATE NOCASE, Project TEXT, Task TEXT,
        DateToday TEXT, "Start Time" TEXT, "End Time" TEXT, Hours REAL, Billable INTEGER))",
    R"(CREATE TABLE ALARMS (
        AlarmID INTEGER PRIMARY KEY AUTOINCREMENT,
        EmployeeID INTEGER, AlarmDescription TEXT, AlarmTime TEXT,
        Recurrence INTEGER NOT NULL DEFAULT 0, WeekDay INTEGER NOT NULL DEFAULT 0,
        MonthDay INTEGER NOT NULL DEFAULT 0, AlarmSound TEXT, SoundName TEXT))",
    // An employee's and a client's recorded time go with them; the windows rely on it.
    R"(CREATE TRIGGER EmployeeDeleted AFTER DELETE ON Employees BEGIN
        DELETE FROM Times WHERE EmployeeID = OLD.EmployeeID;
        DELETE FROM ALARMS WHERE EmployeeID = OLD.EmployeeID;
    END)",
    R"(CREATE TRIGGER ClientDeleted AFTER DELETE ON Clients BEGIN
        DELETE FROM Times WHERE Client = OLD.ClientName;
    END)",
    // A renamed client keeps its recorded time, in the same statement as the rename.
    R"(CREATE TRIGGER ClientRenamed AFTER UPDATE OF ClientName ON Clients
        WHEN NEW.ClientName IS NOT OLD.ClientName COLLATE BINARY BEGIN
        UPDATE Times SET Client = NEW.ClientName WHERE Client = OLD.ClientName;
    END)",
    R"(CREATE INDEX TimesByStart ON Times("Start Time"))",
    R"(CREATE INDEX TimesByDay ON Times(DateToday))",
    R"(CREATE INDEX TimesByEmployee ON Times(EmployeeID, "Start Time"))",
    R"(CREATE INDEX TimesByEmployeeClient ON Times(EmployeeID, Client, "Start Time"))",
    R"(CREATE INDEX TimesByClient ON Times(Client))",
    R"(CREATE INDEX AlarmsByEmployee ON ALARMS(EmployeeID))",
};

constexpr auto kBusyTimeout = "QSQLITE_BUSY_TIMEOUT=5000";

QSqlDatabase connect(const QString& path, const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QString::fromLatin1(kBusyTimeout));
    return db;
}

struct TableLayout {
    QString table;
    QStringList fields;
};

// The tables and fields the program uses, read from the schema it writes, so that the two agree.
const QList<TableLayout>& requiredLayout()
{
    static const QList<TableLayout> layout = [] {
        const QString connectionName = QStringLiteral("required layout");
        QList<TableLayout> tables;
        {
            QSqlDatabase db = connect(QStringLiteral(":memory:"), connectionName);
            if (!db.open())
                raiseSqlError(db.lastError(), db);
            for (const char* statement : kSchema)
                execute(db, QString::fromUtf8(statement));
            for (const QString& table : db.tables()) {
                if (table.startsWith(QLatin1String("sqlite_")))
                    continue;
                const QSqlRecord record = db.record(table);
                QStringList fields;
                for (int i = 0; i < record.count(); ++i)
                    fields << record.fieldName(i);
                tables.append({table, fields});
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(connectionName);
        return tables;
    }();
    return layout;
}

// "Clients" for a missing table, "Times.Hours" for a missing field; empty when nothing is missing.
QStringList missingLayout(const QSqlDatabase& db)
{
    const QStringList present = db.tables();
    QStringList missing;
    for (const TableLayout& required : requiredLayout()) {
        if (!present.contains(required.table, Qt::CaseInsensitive)) {
            missing << required.table;
            continue;
        }
        const QSqlRecord fields = db.record(required.table);
        for (const QString& field : required.fields) {
            if (fields.indexOf(field) < 0)
                missing << required.table + QLatin1Char('.') + field;
        }
    }
    return missing;
}

// SQLite opens anything lazily, even an empty file: reading the catalogue proves the file is a
// database, and its tables and fields that it is a data file this program can use. Nothing is written.
std::optional<RuntimeError> openFailure(QSqlDatabase& db)
{
    const QString path = db.databaseName();
    if (!db.open())
        return sqlError(db.lastError(), path);
    QSqlQuery catalogue(db);
    if (!catalogue.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        return sqlError(catalogue.lastError(), path);
    const QStringList missing = missingLayout(db);
    if (missing.isEmpty())
        return std::nullopt;
    const bool noTableOfOurs = std::ranges::all_of(
        requiredLayout(), [&](const TableLayout& required) { return missing.contains(required.table); });
    if (noTableOfOurs)
        return RuntimeError(error::UnrecognizedFormat, path);
    return RuntimeError(error::IncompleteDataFile, path, missing.join(QStringLiteral(", ")));
}

} // namespace

QString dataFilePath(const QString& directory)
{
    const QDir dir(directory);
    const QStringList matches = dir.entryList({kDataFileName}, QDir::Files);
    if (matches.contains(kDataFileName) || matches.isEmpty())
        return dir.filePath(kDataFileName);
    return dir.filePath(matches.first());
}

QSqlDatabase openDataFile(const QString& directory, const QString& connectionName)
{
    if (!QFileInfo(directory).isDir())
        throw RuntimeError(error::NotAValidPath, directory);
    const QString path = dataFilePath(directory);
    if (!QFileInfo(path).isFile())
        throw RuntimeError(error::FileNotFound, path);
    std::optional<RuntimeError> failure;
    {
        QSqlDatabase db = connect(path, connectionName);
        failure = openFailure(db);
        if (!failure)
            return db;
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    throw *failure;
}

void createDataFile(const QString& path)
{
    const QString connectionName = QStringLiteral("create:") + path;
    {
        QSqlDatabase db = connect(path, connectionName);
        if (!db.open())
            raiseSqlError(db.lastError(), db);
        Transaction transaction(db);
        for (const char* statement : kSchema)
            execute(db, QString::fromUtf8(statement));
        transaction.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

} // namespace horalog::store
