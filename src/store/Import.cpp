#include "store/Import.h"

#include "platform/RuntimeError.h"
#include "store/Sql.h"
#include "store/Untrusted.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <filesystem>
#include <optional>

namespace horalog::store
{

namespace
{

// A step takes under half a second, even into a data file of a million entries.
constexpr int kRowsPerStep = 5000;

struct ImportedTable {
    const char* name;
    const char* columns;
};

// The columns this program knows; anything else the source holds is left behind.
const ImportedTable kImportedTables[] = {
    {"Clients", R"(ClientName, Street, Suite, City, State, ZIP, "Contact First", "Contact Last", Voice,
                   Extension, FAX, Beeper, Car, "e-Mail")"},
    {"Employees", R"(EmployeeID, LastName, FirstName, HireDate, Street, City, State, ZIP, Phone, Birthdate,
                     "Social Security", PayRate, Notes)"},
    {"Times",
     R"(ID, EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours, Billable)"},
};

// The same file under another name (a link) counts too.
bool sameFile(const QString& a, const QString& b)
{
    std::error_code error;
    return std::filesystem::equivalent(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString(),
                                       error);
}

// Faults in reading name the source: a table or field it lacks by the name the user knows.
RuntimeError sourceError(const QSqlError& failure, const QString& sourcePath)
{
    const RuntimeError asSource = sqlError(failure, sourcePath);
    if (asSource.number() == error::TableNotFound)
        return {error::TableNotFound, failure.databaseText().section(QLatin1String(": "), 1)};
    return asSource;
}

// The source file, opened as a file from elsewhere for as long as the import runs: only its rows are
// read, never its views, triggers or functions, and the file itself is never written.
class Source
{
  public:
    explicit Source(const QString& path)
        : name_(QStringLiteral("import-") + QUuid::createUuid().toString(QUuid::WithoutBraces)),
          db_(openUntrusted(path, name_))
    {
    }
    ~Source()
    {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    const QSqlDatabase& db() const { return db_; }

  private:
    QString name_;
    QSqlDatabase db_;
};

QSqlQuery prepared(const QSqlDatabase& db, const QString& sql,
                   const std::function<void(const QSqlError&)>& fail)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query.lastError());
    return query;
}

// One table, a step of rows at a time in the order of their row numbers: a plain SELECT of the known
// columns from the source, each row appended with its values bound.
void appendTable(const QSqlDatabase& db, const Source& source, const ImportedTable& table,
                 const std::function<void()>& betweenSteps)
{
    const QString sourcePath = source.db().databaseName();
    const auto readFailed = [&](const QSqlError& failure) { throw sourceError(failure, sourcePath); };
    const auto writeFailed = [&](const QSqlError& failure) { raiseSqlError(failure, db); };
    const QString name = QString::fromLatin1(table.name);
    const QString columns = QString::fromUtf8(table.columns).simplified();
    const qsizetype columnCount = columns.count(QLatin1Char(',')) + 1;
    QStringList placeholders(columnCount, QStringLiteral("?"));
    QSqlQuery append = prepared(db,
                                QStringLiteral("INSERT OR IGNORE INTO %1 (%2) VALUES (%3)")
                                    .arg(name, columns, placeholders.join(QStringLiteral(", "))),
                                writeFailed);
    QSqlQuery first = prepared(source.db(),
                               QStringLiteral("SELECT rowid, %2 FROM %1 ORDER BY rowid LIMIT %3")
                                   .arg(name, columns)
                                   .arg(kRowsPerStep),
                               readFailed);
    QSqlQuery next =
        prepared(source.db(),
                 QStringLiteral("SELECT rowid, %2 FROM %1 WHERE rowid > ? ORDER BY rowid LIMIT %3")
                     .arg(name, columns)
                     .arg(kRowsPerStep),
                 readFailed);
    QSqlQuery* step = &first;
    std::optional<qint64> last;
    do {
        if (last)
            step->bindValue(0, *last);
        if (!step->exec())
            readFailed(step->lastError());
        last.reset();
        while (step->next()) {
            last = step->value(0).toLongLong();
            for (int i = 0; i < columnCount; ++i)
                append.bindValue(i, step->value(i + 1));
            if (!append.exec())
                writeFailed(append.lastError());
        }
        if (step->lastError().isValid())
            readFailed(step->lastError());
        step->finish();
        step = &next;
        betweenSteps();
    } while (last);
}

} // namespace

void importDataFile(const QSqlDatabase& db, const QString& sourcePath,
                    const std::function<void()>& betweenSteps)
{
    if (!QFileInfo(sourcePath).isFile())
        throw RuntimeError(error::FileNotFound, sourcePath);
    // Every row of the data file itself has its own key already: nothing would be appended.
    if (sameFile(sourcePath, db.databaseName()))
        return;
    const Source source(sourcePath);
    QStringList tables;
    for (const ImportedTable& table : kImportedTables)
        tables << QString::fromLatin1(table.name);
    requirePlainTables(source.db(), tables);
    Transaction transaction(db);
    for (const ImportedTable& table : kImportedTables)
        appendTable(db, source, table, betweenSteps);
    transaction.commit();
}

} // namespace horalog::store
