#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
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

} // namespace horalog::store
