#include "app/ProgramFiles.h"
#include "store/DataFile.h"
#include "support/Programs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace horalog;

namespace
{

const QString kDesktopEntry = "share/applications/org.horalog.Horalog.desktop";
const QString kMetainfo = "share/metainfo/org.horalog.Horalog.metainfo.xml";

struct Run {
    int exitCode;
    QString output;
};

Run run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, program + " did not finish: " + process.errorString()};
    return {process.exitCode(), process.readAll()};
}

QString newestRelease(const QString& metainfo)
{
    QFile file(metainfo);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("release"))
            return xml.attributes().value("version").toString();
    }
    return {};
}

} // namespace

// Horalog installed into a prefix as a desktop program, and its first start on a new account.
class InstallTest : public QObject
{
    Q_OBJECT

    QTemporaryDir root;
    QString prefix;

    QString installed(const QString& path) const { return QDir(prefix).filePath(path); }

  private slots:
    void initTestCase()
    {
        prefix = QDir(root.path()).filePath("prefix");
        const Run install = run(CMAKE_COMMAND, {"--install", HORALOG_BUILD_DIR, "--prefix", prefix});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    }

    void theTreeHoldsWhatDesktopsLookFor()
    {
        for (const QString& file :
             {QString("bin/horalog"), kDesktopEntry, kMetainfo,
              QString("share/icons/hicolor/scalable/apps/org.horalog.Horalog.svg"),
              QString("share/icons/hicolor/48x48/apps/org.horalog.Horalog.png"),
              QString("share/horalog/help/index.html"), QString("share/horalog/BeepBeep.wav")})
            QVERIFY2(QFileInfo(installed(file)).isFile(), qPrintable(file));
        QVERIFY(QFileInfo(installed("bin/horalog")).isExecutable());
        QCOMPARE(QImage(installed("share/icons/hicolor/48x48/apps/org.horalog.Horalog.png")).size(),
                 QSize(48, 48));
    }

    void theMetadataPassesItsValidators_data()
    {
        QTest::addColumn<QString>("validator");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList{kDesktopEntry};
        QTest::newRow("AppStream metadata")
            << "appstreamcli" << QStringList{"validate", "--no-net", kMetainfo};
    }

    void theMetadataPassesItsValidators()
    {
        QFETCH(QString, validator);
        QFETCH(QStringList, arguments);
        arguments.last() = installed(arguments.last());
        const Run check = run(validator, arguments);
        QVERIFY2(check.exitCode == 0, qPrintable(validator + ": " + check.output));
    }

    void theNewestReleaseIsTheProgramsVersion()
    {
        const Run version = run(installed("bin/horalog"), {"--version"});
        QCOMPARE(version.output, "Horalog " + newestRelease(installed(kMetainfo)) + "\n");
    }

    void theProgramFindsItsFilesInstalledAndInTheBuildFolder()
    {
        const ProgramFiles installedFiles = ProgramFiles::around(installed("bin"));
        QVERIFY(installedFiles.installed());
        QCOMPARE(QFileInfo(installedFiles.helpPage()).canonicalFilePath(),
                 QFileInfo(installed("share/horalog/help/index.html")).canonicalFilePath());
        const ProgramFiles built = ProgramFiles::around(HORALOG_BUILD_DIR);
        QVERIFY(!built.installed());
        QVERIFY(QFileInfo(built.helpPage()).isFile());
    }

    // Started from the menu (in the home folder) on an account that never ran it: no question, a new
    // data file in the user's data folder, the installed alarm sound copied beside it.
    void aFirstStartFromTheMenuOpensANewDataFile()
    {
        const QString home = QDir(root.path()).filePath("home");
        QVERIFY(QDir().mkpath(home));
        const QString userFolder = QDir(root.path()).filePath("data/Horalog");
        const QString dataFile = QDir(userFolder).filePath(store::kDataFileName);

        QProcess program;
        program.setProcessEnvironment(test::programEnvironment(root.path()));
        program.setWorkingDirectory(home);
        program.start(installed("bin/horalog"));
        QVERIFY(program.waitForStarted());
        // The last start-up step is the day's backup.
        const auto backups = [&] {
            return QDir(QDir(userFolder).filePath("Backups")).entryList({"Horalog-*.mdb"}, QDir::Files);
        };
        QTRY_VERIFY_WITH_TIMEOUT(backups().size() == 1 || program.state() == QProcess::NotRunning, 15000);
        QVERIFY2(program.state() == QProcess::Running, program.readAllStandardError().constData());
        QVERIFY(test::stopProgram(program));

        QCOMPARE(test::rowsIn(dataFile, "Times"), 1);
        QCOMPARE(QSettings(QDir(root.path()).filePath("config/Horalog/Horalog.conf"), QSettings::IniFormat)
                     .value("DataDir")
                     .toString(),
                 userFolder);
        QCOMPARE(QFileInfo(QDir(userFolder).filePath("BeepBeep.wav")).size(),
                 QFileInfo(installed("share/horalog/BeepBeep.wav")).size());
        QVERIFY(QDir(home).isEmpty());
    }
};

QTEST_MAIN(InstallTest)
#include "InstallTest.moc"
