#include "store/Backup.h"

#include "platform/PrivateFiles.h"
#include "store/DataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <functional>
#include <map>

namespace horalog::store
{

namespace
{

using Result = BackupOutcome::Result;

constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;
const QString kReadOnlyOptions = QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000");

QString backupName(const QDate& day)
{
    return QStringLiteral("Horalog-%1.mdb").arg(day.toString(Qt::ISODate));
}

struct Answer {
    QSqlError error;  // invalid when the statement ran
    QStringList rows; // the first column of each row
};

Answer runOn(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db);
    if (!query.prepare(sql))
        return {query.lastError(), {}};
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    if (!query.exec())
        return {query.lastError(), {}};
    Answer answer;
    while (query.next())
        answer.rows << query.value(0).toString();
    return answer;
}

// Runs one statement, values bound, on a read-only connection of its own to `file`.
Answer runReadOnly(const QString& file, const QString& sql, const QVariantList& values = {})
{
    const QString name = QStringLiteral("backup-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    Answer answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(kReadOnlyOptions);
        answer = db.open() ? runOn(db, sql, values) : Answer{db.lastError(), {}};
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return answer;
}

bool damaged(const QSqlError& error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == kSqliteCorrupt || code == kSqliteNotADatabase;
}

QString reasonOf(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// VACUUM INTO reads the data file in one read transaction, so the copy is consistent even while
// another program writes to it; the copy is checked before it gets the name of a backup.
BackupOutcome writeCheckedCopy(const QString& dataFile, const QString& unfinished, const QString& dayCopy)
{
    QSqlError error;
    {
        const TightUmask ownerOnly;
        error = runReadOnly(dataFile, QStringLiteral("VACUUM INTO ?"), {unfinished}).error;
    }
    if (error.isValid())
        return {damaged(error) ? Result::DataFileDamaged : Result::Failed, dayCopy, reasonOf(error)};
    const Answer check = runReadOnly(unfinished, QStringLiteral("PRAGMA quick_check"));
    if (check.error.isValid())
        return {Result::Failed, dayCopy, reasonOf(check.error)};
    if (check.rows != QStringList{QStringLiteral("ok")})
        return {Result::Failed, dayCopy,
                QStringLiteral("the copy failed its check: ") + check.rows.join(QStringLiteral("; "))};
    if (!QFile::rename(unfinished, dayCopy))
        return {Result::Failed, dayCopy, QStringLiteral("the copy could not be given its name")};
    return {Result::Made, dayCopy, {}};
}

// Keeps the day's copy and the newest others up to `kept` in all; files of other names stay.
void rotate(const QDir& folder, const QString& dayCopy, int kept)
{
    static const QRegularExpression daily(QStringLiteral("^Horalog-(\\d{4}-\\d{2}-\\d{2})\\.mdb$"));
    std::map<QDate, QString, std::greater<>> others;
    for (const QString& name : folder.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = daily.match(name);
        const QDate day = QDate::fromString(match.captured(1), Qt::ISODate);
        if (match.hasMatch() && day.isValid() && folder.filePath(name) != dayCopy)
            others.emplace(day, folder.filePath(name));
    }
    int place = 1;
    for (const auto& [day, file] : others) {
        if (++place > kept)
            QFile::remove(file);
    }
}

} // namespace

BackupOutcome backUpDataFile(const QString& dataDir, const QDate& day, int kept)
{
    const QDir folder(QDir(dataDir).filePath(kBackupFolder));
    const QString dayCopy = folder.filePath(backupName(day));
    if (QFileInfo::exists(dayCopy))
        return {Result::AlreadyThere, dayCopy, {}};
    if (!makePrivateFolder(folder.path()))
        return {Result::Failed, dayCopy,
                QStringLiteral("the folder %1 could not be made").arg(folder.path())};
    const QString unfinished = dayCopy + QStringLiteral(".part");
    QFile::remove(unfinished);
    const BackupOutcome outcome = writeCheckedCopy(dataFilePath(dataDir), unfinished, dayCopy);
    if (outcome.result == Result::Made)
        rotate(folder, dayCopy, kept);
    else
        QFile::remove(unfinished);
    return outcome;
}

} // namespace horalog::store
