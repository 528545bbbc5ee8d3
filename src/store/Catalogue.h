#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariantList>
#include <functional>
#include <optional>

// Every statement the program runs against the data file. Values are always bound.
namespace horalog::store
{

struct TimesEntry {
    int employeeId = 0;
    QString client;
    QString project;
    QString task;
    QDate day;
    QDateTime start;
    QDateTime end;
    double hours = 0;
    bool billable = false;
};

struct EmployeeName {
    int id = 0;
    QString name; // "Last, First"
};

struct RecentWork {
    QString client;
    QString project;
    QString task;
};

// The entries of a period, both days included, narrowed to one employee, to billable work and to one
// client where those are given.
struct EntryFilter {
    QDate firstDay;
    QDate lastDay;
    std::optional<int> employeeId;
    bool billableOnly = false;
    std::optional<QString> client;
};

// What the hours list shows of an entry.
struct ListedEntry {
    int id = 0;
    QDate day;
    double hours = 0;
    QString client;
};

struct Statement {
    QString sql;
    QVariantList values;
};

// An entry as the report shows it: its day, and the times of day it started and ended.
struct ReportEntry {
    QString client;
    QString project;
    QString task;
    QDate day;
    QTime start;
    QTime end;
    double hours = 0;
};

// An entry as a spreadsheet gets it: whole moments, the employee's name and the billable mark.
struct ExportEntry {
    QDate day;
    QString employee;
    QString client;
    QString project;
    QString task;
    QDateTime start;
    QDateTime end;
    double hours = 0;
    bool billable = false;
};

struct AlarmRow {
    int id = 0;
    QString description;
    QTime time;
    int recurrence = 0;
    int weekDay = 0;
    int monthDay = 0;
    QString sound;
};

// The newest entry by start time; only that row is read.
std::optional<TimesEntry> latestEntry(const QSqlDatabase& db);
// A row without values, for a data file that has no entry yet.
void appendEmptyEntry(const QSqlDatabase& db);
void appendEntry(const QSqlDatabase& db, const TimesEntry& entry);

QStringList clientNames(const QSqlDatabase& db);
// Client names compare without regard to letter case.
bool clientExists(const QSqlDatabase& db, const QString& name);
void addClient(const QSqlDatabase& db, const QString& name);
// How many entries are recorded for the clients.
int entryCountOfClients(const QSqlDatabase& db, const QStringList& names);
// Removes the clients with their recorded time, all of them or, when one fails, none.
void deleteClients(const QSqlDatabase& db, const QStringList& names);
// "Last, First" of every employee in name order.
QList<EmployeeName> employeeNames(const QSqlDatabase& db);
// The first employee whose "Last, First" is `name`.
std::optional<int> employeeIdByName(const QSqlDatabase& db, const QString& name);
// The client, project and task of the employee's newest entry.
std::optional<RecentWork> latestWorkOfEmployee(const QSqlDatabase& db, int employeeId);
// The project and task of the employee's newest entry for the client.
std::optional<RecentWork> latestWorkForClient(const QSqlDatabase& db, int employeeId, const QString& client);

// The entries the filter lets through, in the order they were recorded. Only the period's days are
// read, however long the history of the file, the employee or the client.
Statement listedEntriesStatement(const EntryFilter& filter);
QList<ListedEntry> listedEntries(const QSqlDatabase& db, const EntryFilter& filter);
std::optional<TimesEntry> entryById(const QSqlDatabase& db, int id);
void deleteEntry(const QSqlDatabase& db, int id);
// "Last, First" of the employee; nullopt when there is no such employee.
std::optional<QString> employeeNameById(const QSqlDatabase& db, int employeeId);
// Client names in letter order, regardless of case.
QStringList clientNamesInOrder(const QSqlDatabase& db);
// The employee's alarms in the order they were created.
QList<AlarmRow> employeeAlarms(const QSqlDatabase& db, int employeeId);
// The alarms' descriptions and keys in the same order, for the alarm list.
QList<QPair<int, QString>> alarmDescriptions(const QSqlDatabase& db, int employeeId);
// A new "Just Today" alarm without a time yet.
void addAlarm(const QSqlDatabase& db, int employeeId, const QString& description, const QString& sound,
              const QString& soundName);
void deleteAlarm(const QSqlDatabase& db, int alarmId);

// The entries of the report of a period, by client, day and start time; `row` receives each in turn.
Statement reportEntriesStatement(const EntryFilter& filter);
void forEachReportEntry(const QSqlDatabase& db, const EntryFilter& filter,
                        const std::function<void(const ReportEntry&)>& row);
// The same entries in the same order, as the export writes them; `row` receives each in turn.
void forEachExportEntry(const QSqlDatabase& db, const EntryFilter& filter,
                        const std::function<void(const ExportEntry&)>& row);

} // namespace horalog::store
