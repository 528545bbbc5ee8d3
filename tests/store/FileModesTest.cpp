#include "app/FirstStart.h"
#include "app/RegModule.h"
#include "reports/RtfWriter.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/Sql.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <memory>
#include <sys/stat.h>

using namespace horalog;

namespace
{

mode_t modeOf(const QString& path)
{
    struct stat status {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    return status.st_mode & 07777;
}

} // namespace

// What Horalog creates to hold the business's data is readable by its owner only, whatever the umask
// it was started with; what exists already keeps the rights someone gave it.
class FileModesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;
    mode_t startedWith = 0;

    QString path(const QString& name) const { return QDir(root->path()).filePath(name); }

  private slots:
    void init()
    {
        root = std::make_unique<QTemporaryDir>();
        startedWith = ::umask(022);
        ::umask(startedWith);
    }

    void cleanup()
    {
        ::umask(startedWith);
        root.reset();
    }

    void newFilesAreTheOwnersOnly_data()
    {
        QTest::addColumn<mode_t>("umask");
        QTest::newRow("loose umask 0000") << mode_t(0000);
        QTest::newRow("usual umask 0022") << mode_t(0022);
        QTest::newRow("tight umask 0077") << mode_t(0077);
    }

    void newFilesAreTheOwnersOnly()
    {
        QFETCH(mode_t, umask);
        ::umask(umask);

        store::createDataFile(path("Horalog.mdb"));
        QCOMPARE(modeOf(path("Horalog.mdb")), mode_t(0600));

        // A first start from the desktop menu makes its data folder and an empty data file.
        const QString firstDataDir = path("home/.local/share/Horalog");
        QCOMPARE(settleFirstDataDir({{}, firstDataDir}), firstDataDir);
        QCOMPARE(modeOf(firstDataDir), mode_t(0700));
        QCOMPARE(modeOf(firstDataDir + "/Horalog.mdb"), mode_t(0600));

        const store::BackupOutcome backup = store::backUpDataFile(root->path(), QDate(2026, 12, 10));
        QCOMPARE(int(backup.result), int(store::BackupOutcome::Result::Made));
        QCOMPARE(modeOf(backup.file), mode_t(0600));
        QCOMPARE(modeOf(path("Backups")), mode_t(0700));

        const RegModule reg(path("config"));
        reg.CreateNewKey(kHoralogKey);
        reg.SetKeyValue(kHoralogKey, "DataDir", root->path(), REG_SZ);
        QCOMPARE(reg.QueryValue(kHoralogKey, "DataDir").toString(), root->path());
        QCOMPARE(modeOf(reg.keyFile(kHoralogKey)), mode_t(0600));
        QCOMPARE(modeOf(path("config/Horalog")), mode_t(0700));
        QCOMPARE(modeOf(path("config")), mode_t(0700));

        // The process's own umask is back as it was for everything else.
        QCOMPARE(::umask(umask), umask);
    }

    // An office may have given its shared data file and settings to a group on purpose.
    void existingFilesKeepTheirRights()
    {
        ::umask(0);
        store::createDataFile(path("Horalog.mdb"));
        QVERIFY(::chmod(QFile::encodeName(path("Horalog.mdb")).constData(), 0640) == 0);
        {
            const QSqlDatabase db = store::openDataFile(root->path(), "shared");
            store::execute(db, "INSERT INTO Clients (ClientName) VALUES (?)", {"Acme"});
        }
        QSqlDatabase::removeDatabase("shared");
        QCOMPARE(modeOf(path("Horalog.mdb")), mode_t(0640));
        // Nine days of backups: the oldest copies go, the data file stays as it was given.
        for (int day = 1; day <= 9; ++day)
            store::backUpDataFile(root->path(), QDate(2026, 12, day));
        QCOMPARE(QDir(path("Backups")).entryList(QDir::Files).size(), store::kDailyBackupsKept);
        QCOMPARE(modeOf(path("Horalog.mdb")), mode_t(0640));

        const RegModule reg(path("config"));
        reg.CreateNewKey(kHoralogKey);
        QVERIFY(::chmod(QFile::encodeName(reg.keyFile(kHoralogKey)).constData(), 0640) == 0);
        // The settings file is replaced as a whole by each write.
        reg.SetKeyValue(kHoralogKey, "OnTop", "True", REG_SZ);
        QCOMPARE(reg.QueryValue(kHoralogKey, "OnTop").toString(), QString("True"));
        QCOMPARE(modeOf(reg.keyFile(kHoralogKey)), mode_t(0640));

        // A report saved over one shared with a group.
        QFile report(path("December.rtf"));
        QVERIFY(report.open(QIODevice::WriteOnly));
        report.close();
        QVERIFY(::chmod(QFile::encodeName(report.fileName()).constData(), 0640) == 0);
        QTextDocument document("Task Hours");
        RtfWriter(document).save(report.fileName());
        QCOMPARE(modeOf(report.fileName()), mode_t(0640));
        QVERIFY(report.size() > 0);
    }
};

QTEST_GUILESS_MAIN(FileModesTest)
#include "FileModesTest.moc"
