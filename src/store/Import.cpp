#include "store/Import.h"

#include "platform/RuntimeError.h"
#include "store/Sql.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <filesystem>

namespace horalog::store
{

namespace
{

const QString kSource = QStringLiteral("ImportSource");
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

// The source is opened read-only: the import never changes it, not even to roll back a journal.
QString readOnlyUri(const QString& path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QStringLiteral("?mode=ro");
}

// Faults of the source (no data file, gone, a table or column missing) name the source; faults in
// writing name the data file written.
RuntimeError importError(const QSqlError& failure, const QSqlDatabase& db, const QString& sourcePath)
{
    const RuntimeError asSource = sqlError(failure, sourcePath);
    switch (asSource.number()) {
    case error::TableNotFound:
        return {error::TableNotFound,
                failure.databaseText().section(QLatin1String(": "), 1).remove(kSource + QLatin1Char('.'))};
    case error::UnrecognizedFormat:
    case error::FileNotFound:
        return asSource;
    default:
        return sqlError(failure, db.databaseName());
    }
}

QSqlQuery run(const QSqlDatabase& db, const QString& sql, const QString& sourcePath,
              const QVariantList& values = {})
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw importError(query.lastError(), db, sourcePath);
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    if (!query.exec())
        throw importError(query.lastError(), db, sourcePath);
    return query;
}

QVariant firstValue(const QSqlDatabase& db, const QString& sql, const QString& sourcePath,
                    const QVariantList& values)
{
    QSqlQuery query = run(db, sql, sourcePath, values);
    return query.next() ? query.value(0) : QVariant();
}

// One table, a step of rows at a time in the order of their row numbers.
void appendTable(const QSqlDatabase& db, const ImportedTable& table, const QString& sourcePath,
                 const std::function<void()>& betweenSteps)
{
    const QString name = QString::fromLatin1(table.name);
    const QString columns = QString::fromUtf8(table.columns).simplified();
    const QString append = QStringLiteral("INSERT OR IGNORE INTO main.%1 (%2) SELECT %2 FROM %3.%1 "
                                          "WHERE rowid BETWEEN ? AND ?")
                               .arg(name, columns, kSource);
    const QString stepEnd =
        QStringLiteral(
            "SELECT max(r) FROM (SELECT rowid AS r FROM %2.%1 WHERE rowid >= ? ORDER BY rowid LIMIT %3)")
            .arg(name, kSource)
            .arg(kRowsPerStep);
    const QString nextStep =
        QStringLiteral("SELECT min(rowid) FROM %2.%1 WHERE rowid > ?").arg(name, kSource);
    QVariant from =
        firstValue(db, QStringLiteral("SELECT min(rowid) FROM %2.%1").arg(name, kSource), sourcePath, {});
    while (!from.isNull()) {
        const QVariant to = firstValue(db, stepEnd, sourcePath, {from});
        run(db, append, sourcePath, {from, to});
        from = firstValue(db, nextStep, sourcePath, {to});
        betweenSteps();
    }
}

// Detaches the source whatever way the import ends.
class Attachment
{
  public:
    Attachment(const QSqlDatabase& db, const QString& sourcePath) : db_(db)
    {
        run(db_, QStringLiteral("ATTACH DATABASE ? AS %1").arg(kSource), sourcePath,
            {readOnlyUri(sourcePath)});
    }
    ~Attachment() { QSqlQuery(db_).exec(QStringLiteral("DETACH DATABASE %1").arg(kSource)); }
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

  private:
    QSqlDatabase db_;
};

} // namespace

void importDataFile(const QSqlDatabase& db, const QString& sourcePath,
                    const std::function<void()>& betweenSteps)
{
    if (!QFileInfo(sourcePath).isFile())
        throw RuntimeError(error::FileNotFound, sourcePath);
    // Every row of the data file itself has its own key already: nothing would be appended.
    if (sameFile(sourcePath, db.databaseName()))
        return;
    const Attachment source(db, sourcePath);
    Transaction transaction(db);
    for (const ImportedTable& table : kImportedTables)
        appendTable(db, table, sourcePath, betweenSteps);
    transaction.commit();
}

} // namespace horalog::store
