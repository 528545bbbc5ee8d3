#include "store/Catalogue.h"

#include "platform/Formats.h"
#include "store/Sql.h"

#include <QSqlError>
#include <QSqlRecord>

namespace horalog::store
{

namespace
{

// A missing name joins as empty text, so an employee saved without names is still a line.
const QString kEmployeeName = QStringLiteral("coalesce(LastName, '') || ', ' || coalesce(FirstName, '')");

TimesEntry entryFrom(const QSqlQuery& row)
{
    TimesEntry entry;
    entry.employeeId = row.value(QStringLiteral("EmployeeID")).toInt();
    entry.client = row.value(QStringLiteral("Client")).toString();
    entry.project = row.value(QStringLiteral("Project")).toString();
    entry.task = row.value(QStringLiteral("Task")).toString();
    entry.day = dateFromStore(row.value(QStringLiteral("DateToday")));
    entry.start = momentFromStore(row.value(QStringLiteral("Start Time")));
    entry.end = momentFromStore(row.value(QStringLiteral("End Time")));
    entry.hours = row.value(QStringLiteral("Hours")).toDouble();
    entry.billable = row.value(QStringLiteral("Billable")).toInt() != 0;
    return entry;
}

// The day and the time of day of stored dates and moments ("YYYY-MM-DD HH:MM:SS"), read without
// building whole moments: a report reads three for every entry it lists.
QDate dayOfStoredDate(const QVariant& value)
{
    const QString text = value.toString();
    return QDate::fromString(QStringView(text).left(10), Qt::ISODate);
}

QTime timeOfStoredMoment(const QVariant& value)
{
    const QString text = value.toString();
    return QTime::fromString(QStringView(text).mid(11, 8), Qt::ISODate);
}

// The columns `columns` of the entries the filter lets through. The unary plus keeps the engine on
// the day index: the period bounds what is read, where an employee's or a client's index would read
// all of their history.
Statement filteredEntries(const QString& columns, const EntryFilter& filter)
{
    Statement statement{QStringLiteral("SELECT %1 FROM Times WHERE DateToday BETWEEN ? AND ?").arg(columns),
                        {storedDate(filter.firstDay), storedDate(filter.lastDay)}};
    if (filter.employeeId) {
        statement.sql += QStringLiteral(" AND +EmployeeID = ?");
        statement.values << *filter.employeeId;
    }
    if (filter.billableOnly)
        statement.sql += QStringLiteral(" AND Billable <> 0");
    if (filter.client) {
        statement.sql += QStringLiteral(" AND +Client = ?");
        statement.values << *filter.client;
    }
    return statement;
}

RecentWork workFrom(const QSqlQuery& row)
{
    return {row.value(QStringLiteral("Client")).toString(), row.value(QStringLiteral("Project")).toString(),
            row.value(QStringLiteral("Task")).toString()};
}

} // namespace

std::optional<TimesEntry> latestEntry(const QSqlDatabase& db)
{
    QSqlQuery row =
        execute(db, QStringLiteral(R"(SELECT * FROM Times ORDER BY "Start Time" DESC, ID DESC LIMIT 1)"));
    if (!row.next())
        return std::nullopt;
    return entryFrom(row);
}

void appendEmptyEntry(const QSqlDatabase& db)
{
    execute(db, QStringLiteral("INSERT INTO Times DEFAULT VALUES"));
}

void appendEntry(const QSqlDatabase& db, const TimesEntry& entry)
{
    execute(db,
            QStringLiteral(R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time",
                              "End Time", Hours, Billable) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?))"),
            {entry.employeeId, entry.client, entry.project, entry.task, storedDate(entry.day),
             storedMoment(entry.start), storedMoment(entry.end), entry.hours, entry.billable ? 1 : 0});
}

QStringList clientNames(const QSqlDatabase& db)
{
    QSqlQuery rows = execute(db, QStringLiteral("SELECT ClientName FROM Clients"));
    QStringList names;
    while (rows.next())
        names << rows.value(0).toString();
    return names;
}

bool clientExists(const QSqlDatabase& db, const QString& name)
{
    return execute(db, QStringLiteral("SELECT 1 FROM Clients WHERE ClientName = ?"), {name}).next();
}

void addClient(const QSqlDatabase& db, const QString& name)
{
    execute(db, QStringLiteral("INSERT INTO Clients (ClientName) VALUES (?)"), {name});
}

int entryCountOfClients(const QSqlDatabase& db, const QStringList& names)
{
    int count = 0;
    for (const QString& name : names) {
        QSqlQuery row = execute(db, QStringLiteral("SELECT count(*) FROM Times WHERE Client = ?"), {name});
        row.next();
        count += row.value(0).toInt();
    }
    return count;
}

void deleteClients(const QSqlDatabase& db, const QStringList& names)
{
    Transaction transaction(db);
    for (const QString& name : names)
        execute(db, QStringLiteral("DELETE FROM Clients WHERE ClientName = ?"), {name});
    transaction.commit();
}

QList<EmployeeName> employeeNames(const QSqlDatabase& db)
{
    QSqlQuery rows = execute(db, QStringLiteral("SELECT EmployeeID, %1 AS EmployeeName FROM Employees "
                                                "ORDER BY LastName COLLATE NOCASE, FirstName COLLATE NOCASE")
                                     .arg(kEmployeeName));
    QList<EmployeeName> names;
    while (rows.next())
        names.append({rows.value(0).toInt(), rows.value(1).toString()});
    return names;
}

std::optional<int> employeeIdByName(const QSqlDatabase& db, const QString& name)
{
    QSqlQuery row =
        execute(db,
                QStringLiteral("SELECT EmployeeID FROM Employees WHERE %1 = ? ORDER BY EmployeeID LIMIT 1")
                    .arg(kEmployeeName),
                {name});
    if (!row.next())
        return std::nullopt;
    return row.value(0).toInt();
}

std::optional<RecentWork> latestWorkOfEmployee(const QSqlDatabase& db, int employeeId)
{
    QSqlQuery row = execute(db, QStringLiteral(R"(SELECT Client, Project, Task FROM Times WHERE EmployeeID = ?
                                              ORDER BY "Start Time" DESC, ID DESC LIMIT 1)"),
                            {employeeId});
    if (!row.next())
        return std::nullopt;
    return workFrom(row);
}

std::optional<RecentWork> latestWorkForClient(const QSqlDatabase& db, int employeeId, const QString& client)
{
    QSqlQuery row = execute(
        db, QStringLiteral(R"(SELECT Client, Project, Task FROM Times WHERE EmployeeID = ? AND Client = ?
                                              ORDER BY "Start Time" DESC, ID DESC LIMIT 1)"),
        {employeeId, client});
    if (!row.next())
        return std::nullopt;
    return workFrom(row);
}

Statement listedEntriesStatement(const EntryFilter& filter)
{
    Statement statement = filteredEntries(QStringLiteral("ID, DateToday, Hours, Client"), filter);
    statement.sql += QStringLiteral(" ORDER BY ID");
    return statement;
}

QList<ListedEntry> listedEntries(const QSqlDatabase& db, const EntryFilter& filter)
{
    const Statement statement = listedEntriesStatement(filter);
    QSqlQuery rows = execute(db, statement.sql, statement.values);
    QList<ListedEntry> entries;
    while (rows.next())
        entries.append({rows.value(0).toInt(), dateFromStore(rows.value(1)), rows.value(2).toDouble(),
                        rows.value(3).toString()});
    return entries;
}

std::optional<TimesEntry> entryById(const QSqlDatabase& db, int id)
{
    QSqlQuery row = execute(db, QStringLiteral("SELECT * FROM Times WHERE ID = ?"), {id});
    if (!row.next())
        return std::nullopt;
    return entryFrom(row);
}

void deleteEntry(const QSqlDatabase& db, int id)
{
    execute(db, QStringLiteral("DELETE FROM Times WHERE ID = ?"), {id});
}

std::optional<QString> employeeNameById(const QSqlDatabase& db, int employeeId)
{
    QSqlQuery row = execute(
        db, QStringLiteral("SELECT %1 FROM Employees WHERE EmployeeID = ?").arg(kEmployeeName), {employeeId});
    if (!row.next())
        return std::nullopt;
    return row.value(0).toString();
}

QStringList clientNamesInOrder(const QSqlDatabase& db)
{
    QSqlQuery rows = execute(db, QStringLiteral("SELECT ClientName FROM Clients ORDER BY ClientName"));
    QStringList names;
    while (rows.next())
        names << rows.value(0).toString();
    return names;
}

Statement reportEntriesStatement(const EntryFilter& filter)
{
    Statement statement = filteredEntries(
        QStringLiteral(R"(Client, DateToday, "Start Time", Project, Task, "End Time", Hours)"), filter);
    statement.sql += QStringLiteral(R"( ORDER BY Client, DateToday, "Start Time", ID)");
    return statement;
}

void forEachReportEntry(const QSqlDatabase& db, const EntryFilter& filter,
                        const std::function<void(const ReportEntry&)>& row)
{
    const Statement statement = reportEntriesStatement(filter);
    QSqlQuery rows = execute(db, statement.sql, statement.values);
    ReportEntry entry;
    while (rows.next()) {
        entry.client = rows.value(0).toString();
        entry.day = dayOfStoredDate(rows.value(1));
        entry.start = timeOfStoredMoment(rows.value(2));
        entry.project = rows.value(3).toString();
        entry.task = rows.value(4).toString();
        entry.end = timeOfStoredMoment(rows.value(5));
        entry.hours = rows.value(6).toDouble();
        row(entry);
    }
    if (rows.lastError().isValid())
        raiseSqlError(rows.lastError(), db);
}

// The employee's name is looked up for each listed entry, so the period still bounds what is read; an
// entry whose employee is gone gets an empty name.
void forEachExportEntry(const QSqlDatabase& db, const EntryFilter& filter,
                        const std::function<void(const ExportEntry&)>& row)
{
    Statement statement = filteredEntries(
        QStringLiteral(R"(DateToday, (SELECT %1 FROM Employees WHERE Employees.EmployeeID = Times.EmployeeID),
                          Client, Project, Task, "Start Time", "End Time", Hours, Billable)")
            .arg(kEmployeeName),
        filter);
    statement.sql += QStringLiteral(R"( ORDER BY Client, DateToday, "Start Time", ID)");
    QSqlQuery rows = execute(db, statement.sql, statement.values);
    ExportEntry entry;
    while (rows.next()) {
        entry.day = dayOfStoredDate(rows.value(0));
        entry.employee = rows.value(1).toString();
        entry.client = rows.value(2).toString();
        entry.project = rows.value(3).toString();
        entry.task = rows.value(4).toString();
        entry.start = momentFromStore(rows.value(5));
        entry.end = momentFromStore(rows.value(6));
        entry.hours = rows.value(7).toDouble();
        entry.billable = rows.value(8).toBool();
        row(entry);
    }
    if (rows.lastError().isValid())
        raiseSqlError(rows.lastError(), db);
}

QList<AlarmRow> employeeAlarms(const QSqlDatabase& db, int employeeId)
{
    QSqlQuery rows =
        execute(db,
                QStringLiteral("SELECT AlarmID, AlarmDescription, AlarmTime, Recurrence, WeekDay, "
                               "MonthDay, AlarmSound FROM ALARMS WHERE EmployeeID = ? ORDER BY AlarmID"),
                {employeeId});
    QList<AlarmRow> alarms;
    while (rows.next())
        alarms.append({rows.value(0).toInt(), rows.value(1).toString(), timeOfDayFromStore(rows.value(2)),
                       rows.value(3).toInt(), rows.value(4).toInt(), rows.value(5).toInt(),
                       rows.value(6).toString()});
    return alarms;
}

QList<QPair<int, QString>> alarmDescriptions(const QSqlDatabase& db, int employeeId)
{
    QSqlQuery rows = execute(
        db,
        QStringLiteral("SELECT AlarmID, AlarmDescription FROM ALARMS WHERE EmployeeID = ? ORDER BY AlarmID"),
        {employeeId});
    QList<QPair<int, QString>> descriptions;
    while (rows.next())
        descriptions.append({rows.value(0).toInt(), rows.value(1).toString()});
    return descriptions;
}

void addAlarm(const QSqlDatabase& db, int employeeId, const QString& description, const QString& sound,
              const QString& soundName)
{
    execute(db,
            QStringLiteral("INSERT INTO ALARMS (EmployeeID, AlarmDescription, AlarmSound, SoundName) "
                           "VALUES (?, ?, ?, ?)"),
            {employeeId, description, sound, soundName});
}

void deleteAlarm(const QSqlDatabase& db, int alarmId)
{
    execute(db, QStringLiteral("DELETE FROM ALARMS WHERE AlarmID = ?"), {alarmId});
}

} // namespace horalog::store
