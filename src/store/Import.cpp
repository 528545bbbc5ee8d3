#include "store/Import.h"

#include "platform/RuntimeError.h"
#include "store/Sql.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <sys/stat.h>

namespace horalog::store
{

namespace
{

const QString kSource = QStringLiteral("ImportSource");

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

bool sameFile(const QString& a, const QString& b)
{
    struct stat first {
    };
    struct stat second {
    };
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
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

void run(const QSqlDatabase& db, const QString& sql, const QString& sourcePath,
         const QVariantList& values = {})
{
    QSqlQuery query(db);
    if (!query.prepare(sql))
        throw importError(query.lastError(), db, sourcePath);
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    if (!query.exec())
        throw importError(query.lastError(), db, sourcePath);
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

void importDataFile(const QSqlDatabase& db, const QString& sourcePath)
{
    if (!QFileInfo(sourcePath).isFile())
        throw RuntimeError(error::FileNotFound, sourcePath);
    // Every row of the data file itself has its own key already: nothing would be appended.
    if (sameFile(sourcePath, db.databaseName()))
        return;
    const Attachment source(db, sourcePath);
    Transaction transaction(db);
    for (const ImportedTable& table : kImportedTables) {
        const QString columns = QString::fromUtf8(table.columns).simplified();
        run(db,
            QStringLiteral("INSERT OR IGNORE INTO main.%1 (%2) SELECT %2 FROM %3.%1")
                .arg(QString::fromLatin1(table.name), columns, kSource),
            sourcePath);
    }
    transaction.commit();
}

} // namespace horalog::store
