#include "store/DataFile.h"
#include "store/Sql.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace horalog;

// The real program, started as a user starts it for the first time: no settings yet, an empty data
// file in the directory it is started from.
class StartupTest : public QObject
{
    Q_OBJECT

  private slots:
    void firstStartWritesTheSettingsAndKeepsRunning()
    {
        QTemporaryDir config;
        QTemporaryDir data;
        store::createDataFile(QDir(data.path()).filePath(store::kDataFileName));
        const QString dataDir = QFileInfo(data.path()).canonicalFilePath();
        const QString settingsFile = QDir(config.path()).filePath("Horalog/Horalog.conf");

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", config.path());
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(data.path());
        program.setProgram(HORALOG_EXECUTABLE);
        program.start();
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

        const auto settingsWritten = [&] {
            if (!QFileInfo::exists(settingsFile))
                return false;
            QSettings settings(settingsFile, QSettings::IniFormat);
            return settings.value("DataDir").toString() == dataDir &&
                   settings.value("OnTop").toString() == "False";
        };
        QTRY_VERIFY2_WITH_TIMEOUT(settingsWritten() || program.state() == QProcess::NotRunning,
                                  "the settings were not written", 15000);
        QVERIFY2(settingsWritten(), program.readAllStandardError().constData());
        // Still up a moment after its load finished: the main window stands.
        QVERIFY2(!program.waitForFinished(500), program.readAllStandardError().constData());
        QCOMPARE(program.state(), QProcess::Running);

        program.terminate();
        if (!program.waitForFinished(5000)) {
            program.kill();
            QVERIFY(program.waitForFinished(5000));
        }

        // Its load found the data file where it was started and gave the empty file its first entry.
        {
            QSqlDatabase db = store::openDataFile(data.path(), "startup");
            QSqlQuery rows = store::execute(db, "SELECT count(*) FROM Times");
            QVERIFY(rows.next());
            QCOMPARE(rows.value(0).toInt(), 1);
            db.close();
        }
        QSqlDatabase::removeDatabase("startup");
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
