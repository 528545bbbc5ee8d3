#include "startup/DailyBackup.h"

#include "app/MainModule.h"
#include "store/Backup.h"
#include "store/DataFile.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace horalog
{

namespace
{

const QString kTitle = QStringLiteral("Horalog");

// The engine's and the file system's words start in lower case; here they start a sentence.
QString sentence(QString words)
{
    if (!words.isEmpty())
        words[0] = words[0].toUpper();
    return words;
}

MessageRequest failedBackup(const store::BackupOutcome& outcome)
{
    return {QStringLiteral("Today's backup of the data file could not be made:\r%1\r\r%2.\r\r"
                           "Horalog goes on, and the earlier backups are kept. It tries again at its next "
                           "start: free some disk space or make the Backups folder writable before then.")
                .arg(QDir::toNativeSeparators(outcome.file), sentence(outcome.reason)),
            kTitle, MessageButtons::Ok, MessageIcon::Exclamation};
}

MessageRequest damagedDataFile(const store::BackupOutcome& outcome, const QString& dataFile)
{
    return {QStringLiteral("The data file %1 is damaged: %2.\r\r"
                           "No backup was made today, and the earlier backups in %3 are kept. Close "
                           "Horalog and restore the newest backup before you record more time; Help "
                           "tells how.")
                .arg(QDir::toNativeSeparators(dataFile), outcome.reason,
                     QDir::toNativeSeparators(QFileInfo(outcome.file).path())),
            kTitle, MessageButtons::Ok, MessageIcon::Critical};
}

} // namespace

// Backs up only a data file the main window's load opened: when the load failed it has told why.
void backUpOnceADay(MainModule& module)
{
    if (!module.TaskDatabase().isOpen())
        return;
    std::optional<BusyPointer> busy(std::in_place);
    const store::BackupOutcome outcome =
        store::backUpDataFile(module.DataPath, module.platform.clock.now().date());
    busy.reset();
    switch (outcome.result) {
    case store::BackupOutcome::Result::Failed:
        module.platform.prompter.message(failedBackup(outcome));
        break;
    case store::BackupOutcome::Result::DataFileDamaged:
        module.platform.prompter.message(damagedDataFile(outcome, store::dataFilePath(module.DataPath)));
        break;
    case store::BackupOutcome::Result::Made:
    case store::BackupOutcome::Result::AlreadyThere:
        break;
    }
}

} // namespace horalog
