#pragma once

#include <QDate>
#include <QString>

namespace horalog::store
{

inline const QString kBackupFolder = QStringLiteral("Backups");
constexpr int kDailyBackupsKept = 7;

struct BackupOutcome {
    enum class Result {
        Made,           // the day's copy was written and checked; older copies were rotated
        AlreadyThere,   // the day's copy was made by an earlier start
        Failed,         // no copy could be written (full disk, read-only folder); nothing was deleted
        DataFileDamaged // the data file itself cannot be read through; nothing was deleted
    };
    Result result;
    QString file;   // the day's copy
    QString reason; // what went wrong, in the file system's or the engine's words
};

// Copies the data file of `dataDir` into Backups/Horalog-YYYY-MM-DD.mdb beside it, for `day`, once a
// day. The copy is the engine's own consistent online copy, read through a read-only connection, written
// under another name, checked, and only then given its name; afterwards the newest `kept` daily copies
// stay and older ones are deleted. A failure deletes nothing but its own unfinished copy.
BackupOutcome backUpDataFile(const QString& dataDir, const QDate& day, int kept = kDailyBackupsKept);

} // namespace horalog::store
