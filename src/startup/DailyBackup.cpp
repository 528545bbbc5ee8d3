#include "startup/DailyBackup.h"

#include "app/MainModule.h"
#include "store/Backup.h"
#include "store/DataFileHealth.h"

#include <QDir>
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

} // namespace

// Backs up only a data file the main window's load opened and that is not known to be damaged: the
// load and the integrity check tell of those, and no sound copy can be made of a damaged file. Damage
// the copy meets closes the file to writes and is told as the check tells it, once.
void backUpOnceADay(MainModule& module)
{
    if (!module.hasTaskDatabase())
        return;
    store::DataFileHealth& health = store::DataFileHealth::of(module.TaskDatabase());
    if (health.isDamaged())
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
        health.markDamaged();
        module.reportError(health.damagedError());
        break;
    case store::BackupOutcome::Result::Made:
    case store::BackupOutcome::Result::AlreadyThere:
        break;
    }
}

} // namespace horalog
