#include "store/DataFile.h"
#include "support/Programs.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace horalog;

// The real program started from a terminal.
class CommandLineTest : public QObject
{
    Q_OBJECT

  private slots:
    void answersAndRefusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("display");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("expected");
        // Help and version need no window system: these runs have none to connect to.
        QTest::newRow("version") << QStringList{"--version"} << false << 0 << "out"
                                 << R"(^Horalog \d+\.\d+(\.\d+)?\n$)";
        QTest::newRow("help") << QStringList{"--help"} << false << 0 << "out"
                              << R"(--data-dir <folder> +Opens the data file in <folder> for this run only)";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << true << 1 << "err"
                                        << R"(Unknown option 'bogus'\.)";
        QTest::newRow("stray argument") << QStringList{"Horalog.mdb"} << true << 1 << "err"
                                        << R"(unexpected argument 'Horalog\.mdb'; see --help\.)";
        QTest::newRow("data directory without a data file")
            << QStringList{"--data-dir", "empty"} << true << 1 << "err"
            << R"(--data-dir: '.*/empty' holds no data file Horalog\.mdb\.)";
    }

    void answersAndRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, display);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("empty"));
        QProcessEnvironment environment = test::programEnvironment(root.path());
        if (!display) {
            environment.insert("QT_QPA_PLATFORM", "xcb");
            environment.remove("DISPLAY");
            environment.remove("WAYLAND_DISPLAY");
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(root.path());
        program.start(HORALOG_EXECUTABLE, arguments);
        QVERIFY(program.waitForFinished(15000));
        const QString out = program.readAllStandardOutput();
        const QString err = program.readAllStandardError();
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == exitCode, qPrintable(err));
        QVERIFY2(QRegularExpression(expected).match(output == "out" ? out : err).hasMatch(),
                 qPrintable(out + err));
        QVERIFY(QDir(root.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries) == QStringList{"empty"});
    }

    // A folder named relative to where the program is started, opened without touching the settings.
    void aDataDirectoryForThisRunOnly()
    {
        QTemporaryDir root;
        QDir folders(root.path());
        for (const char* dir : {"stored", "other"}) {
            QVERIFY(folders.mkpath(dir));
            store::createDataFile(QDir(folders.filePath(dir)).filePath(store::kDataFileName));
        }
        const QString settingsFile = folders.filePath("config/Horalog/Horalog.conf");
        QSettings(settingsFile, QSettings::IniFormat).setValue("DataDir", folders.filePath("stored"));

        QProcess program;
        program.setProcessEnvironment(test::programEnvironment(root.path()));
        program.setWorkingDirectory(root.path());
        program.start(HORALOG_EXECUTABLE, {"--data-dir", "other"});
        QVERIFY(program.waitForStarted());
        // The main window's load gives an empty data file its first, blank entry.
        const QString other = QDir(folders.filePath("other")).filePath(store::kDataFileName);
        QTRY_VERIFY_WITH_TIMEOUT(test::rowsIn(other, "Times") == 1 || program.state() == QProcess::NotRunning,
                                 15000);
        QVERIFY2(program.state() == QProcess::Running, program.readAllStandardError().constData());
        QVERIFY(test::stopProgram(program));

        QCOMPARE(test::rowsIn(QDir(folders.filePath("stored")).filePath(store::kDataFileName), "Times"), 0);
        QSettings settings(settingsFile, QSettings::IniFormat);
        QCOMPARE(settings.value("DataDir").toString(), folders.filePath("stored"));
    }
};

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
