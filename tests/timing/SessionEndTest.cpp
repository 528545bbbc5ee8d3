#include "store/DataFile.h"
#include "store/Sql.h"
#include "support/VncClient.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace horalog;
using horalog::test::VncClient;

namespace
{

const QList<VncClient::Key> kToStartStop{VncClient::Tab, VncClient::Tab, VncClient::Tab,
                                         VncClient::Tab, VncClient::Tab, VncClient::Space};
const QRgb kTeal = qRgb(0, 192, 192);

// The main window's background fills much of the screen once the window is up.
bool mainWindowShown(const QImage& screen)
{
    int teal = 0;
    for (int y = 0; y < screen.height(); y += 4) {
        const auto* line = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); x += 4)
            teal += (line[x] & 0xffffff) == (kTeal & 0xffffff);
    }
    return teal > 1000;
}

} // namespace

// The real program, killed or ended by the session while it times a task, then started again.
class SessionEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> config;
    std::unique_ptr<QTemporaryDir> data;
    std::unique_ptr<QProcess> program;
    std::unique_ptr<VncClient> user;

    QString settingsFile() const { return QDir(config->path()).filePath("Horalog/Horalog.conf"); }
    QString stored(const QString& name) const
    {
        return QSettings(settingsFile(), QSettings::IniFormat).value(name).toString();
    }

    QVariant fromDataFile(const QString& query)
    {
        QVariant value;
        {
            QSqlDatabase db = store::openDataFile(data->path(), "session-end-test");
            QSqlQuery row = store::execute(db, query);
            if (row.next())
                value = row.value(0);
        }
        QSqlDatabase::removeDatabase("session-end-test");
        return value;
    }

    void startProgram()
    {
        const quint16 port = test::freePort();
        program = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", QString("vnc:size=480x360:port=%1").arg(port));
        environment.insert("XDG_CONFIG_HOME", config->path());
        program->setProcessEnvironment(environment);
        program->setWorkingDirectory(data->path());
        program->setProgram(HORALOG_EXECUTABLE);
        program->start();
        QVERIFY2(program->waitForStarted(), qPrintable(program->errorString()));
        user = std::make_unique<VncClient>();
        QVERIFY2(user->connectTo(port, 15000), program->readAllStandardError().constData());
        QTRY_VERIFY_WITH_TIMEOUT(mainWindowShown(user->screen()), 15000);
    }

    // Answers the question the start asks with its default, Yes, once it is up: the answer rewrites
    // the settings, which nothing else does at a start with settings in place.
    void answerTheStartQuestion()
    {
        const QDateTime before = QFileInfo(settingsFile()).lastModified();
        for (int attempt = 0; attempt < 20 && QFileInfo(settingsFile()).lastModified() == before; ++attempt) {
            user->press(VncClient::Return);
            QTest::qWait(250);
        }
        QVERIFY(QFileInfo(settingsFile()).lastModified() != before);
    }

  private slots:
    void init()
    {
        config = std::make_unique<QTemporaryDir>();
        data = std::make_unique<QTemporaryDir>();
        store::createDataFile(QDir(data->path()).filePath(store::kDataFileName));
        {
            QSqlDatabase db = store::openDataFile(data->path(), "session-end-test");
            store::execute(db, "INSERT INTO Employees (LastName, FirstName) VALUES ('Brandt', 'Alice')");
            store::execute(db, "INSERT INTO Clients (ClientName) VALUES ('Acme')");
            store::execute(db,
                           R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time",
                                  "End Time", Hours, Billable) VALUES (1, 'Acme', 'Web', 'Launch', '2026-12-09',
                                  '2026-12-09 13:05:00', '2026-12-09 14:20:30', 1.25, 1))");
        }
        QSqlDatabase::removeDatabase("session-end-test");
        QDir(config->path()).mkpath("Horalog");
        QSettings settings(settingsFile(), QSettings::IniFormat);
        settings.setValue("DataDir", QFileInfo(data->path()).canonicalFilePath());
        settings.setValue("OnTop", "False");
    }

    void cleanup()
    {
        user.reset();
        if (program && program->state() != QProcess::NotRunning) {
            program->kill();
            program->waitForFinished(5000);
        }
        program.reset();
    }

    void timingSurvivesTheEndOfTheProgram_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("the session ends it (SIGTERM)") << int(SIGTERM);
        QTest::newRow("its terminal goes (SIGHUP)") << int(SIGHUP);
        QTest::newRow("it is killed (SIGKILL)") << int(SIGKILL);
    }

    void timingSurvivesTheEndOfTheProgram()
    {
        QFETCH(int, signal);
        startProgram();
        user->press(kToStartStop);
        QTRY_COMPARE_WITH_TIMEOUT(stored("Running/Active"), QString("True"), 10000);
        const QDateTime started = QDateTime::fromString(stored("Running/StartTime"), "yyyy-MM-dd HH:mm:ss");
        QVERIFY(started.isValid());

        ::kill(pid_t(program->processId()), signal);
        QVERIFY(program->waitForFinished(10000));
        QDateTime resumedStart = started;
        if (signal != SIGKILL) {
            QCOMPARE(program->exitStatus(), QProcess::NormalExit);
            QCOMPARE(program->exitCode(), 0);
            // On the disk: "Cancelled" and the values of the timing, none of them waiting as running.
            QCOMPARE(stored("Cancelled"), QString("True"));
            QCOMPARE(stored("User"), QString("Brandt, Alice"));
            QCOMPARE(stored("Client"), QString("Acme"));
            QCOMPARE(stored("Project"), QString("Web"));
            QCOMPARE(stored("Task"), QString("Launch"));
            QCOMPARE(stored("StartTime"), QLocale::c().toString(started, "M/d/yy h:mm AP"));
            QCOMPARE(stored("StartDate"), QLocale::c().toString(started.date(), "M/d/yy"));
            QCOMPARE(stored("Billable"), QString("1"));
            QCOMPARE(stored("Running/Active"), QString("False"));
            resumedStart.setTime(QTime(started.time().hour(), started.time().minute()));
        } else {
            QCOMPARE(program->exitStatus(), QProcess::CrashExit);
            QCOMPARE(stored("Running/Active"), QString("True"));
            QCOMPARE(stored("Cancelled"), QString());
        }

        startProgram();
        answerTheStartQuestion();
        QTRY_COMPARE_WITH_TIMEOUT(stored("Running/Active"), QString("True"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(stored("Running/StartTime"), resumedStart.toString("yyyy-MM-dd HH:mm:ss"),
                                  10000);
        QTRY_COMPARE_WITH_TIMEOUT(stored("Cancelled"), signal != SIGKILL ? QString("False") : QString(),
                                  10000);
        user->press(kToStartStop);
        QTRY_COMPARE_WITH_TIMEOUT(fromDataFile("SELECT count(*) FROM Times").toInt(), 2, 10000);
        QCOMPARE(fromDataFile(R"(SELECT "Start Time" FROM Times ORDER BY ID DESC LIMIT 1)").toString(),
                 resumedStart.toString("yyyy-MM-dd HH:mm:ss"));
        QCOMPARE(fromDataFile("SELECT Client FROM Times ORDER BY ID DESC LIMIT 1").toString(),
                 QString("Acme"));
        QTRY_COMPARE_WITH_TIMEOUT(stored("Running/Active"), QString("False"), 10000);

        // Idle, the end of the session saves nothing.
        program->terminate();
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitCode(), 0);
        QCOMPARE(stored("Cancelled"), signal != SIGKILL ? QString("False") : QString());
    }
};

QTEST_MAIN(SessionEndTest)
#include "SessionEndTest.moc"
