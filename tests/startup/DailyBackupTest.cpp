#include "startup/DailyBackup.h"
#include "startup/Main.h"
#include "store/DataFileHealth.h"
#include "store/Sql.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMainWindow>
#include <QSqlQuery>
#include <QTest>

using namespace horalog;

namespace
{

const QString kRows = R"(SELECT group_concat(ID || '|' || Project || '|' || "Start Time", ';')
                         FROM (SELECT * FROM Times WHERE ID <= ? ORDER BY ID))";

QDate december(int day)
{
    return QDate(2026, 12, day);
}

QString backupName(int day)
{
    return QStringLiteral("Horalog-%1.mdb").arg(december(day).toString(Qt::ISODate));
}

// The quick check's verdict on a copy and its rows up to `lastId`, read the way a restore would.
QStringList checkAndRowsOf(const QString& file, int lastId)
{
    QStringList found;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "copy");
        db.setDatabaseName(file);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        if (db.open()) {
            QSqlQuery check = store::execute(db, "PRAGMA quick_check");
            while (check.next())
                found << check.value(0).toString();
            QSqlQuery rows = store::execute(db, kRows, {lastId});
            found << (rows.next() ? rows.value(0).toString() : QString());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("copy");
    return found;
}

QStringList unfinishedCopies(const QString& folder)
{
    QStringList found;
    QDirIterator files(folder, {"*.part"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        found << files.next();
    return found;
}

} // namespace

class DailyBackupTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;

    QString backups() const { return QDir(env->dataDir()).filePath("Backups"); }

    void onDay(int day) { env->fake.clock.current = QDateTime(december(day), QTime(8, 30)); }

    // A day's work, recorded through the program's own connection.
    int record(int day, const QString& project)
    {
        const QString start = december(day).toString(Qt::ISODate) + " 09:00:00";
        store::execute(env->module->TaskDatabase(),
                       R"(INSERT INTO Times (EmployeeID, Client, Project, DateToday, "Start Time")
                          VALUES (1, 'Acme', ?, ?, ?))",
                       {project, december(day).toString(Qt::ISODate), start});
        return env->scalar("SELECT max(ID) FROM Times").toInt();
    }

    QString rowsUpTo(int lastId) { return env->scalar(kRows, {lastId}).toString(); }

  private slots:
    void init() { env = std::make_unique<test::TestEnvironment>(); }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // Each day's copy holds the file as it was at that day's first start, and later starts that day
    // leave it alone; after ten days the newest seven stay.
    void sevenDailyCopiesStayEachAsItsDayBegan()
    {
        env->module->openTaskDatabase();
        QMap<int, int> lastIdOfDay;
        for (int day = 1; day <= 10; ++day) {
            onDay(day);
            lastIdOfDay[day] = record(day, QStringLiteral("morning of %1, l'été, \"quoted\"").arg(day));
            backUpOnceADay(*env->module);
            record(day, QStringLiteral("afternoon of %1").arg(day));
            backUpOnceADay(*env->module);
        }
        QStringList kept;
        for (int day = 4; day <= 10; ++day)
            kept << backupName(day);
        QCOMPARE(QDir(backups()).entryList(QDir::Files, QDir::Name), kept);
        for (int day = 4; day <= 10; ++day) {
            const QStringList found = checkAndRowsOf(QDir(backups()).filePath(backupName(day)), 1000);
            QCOMPARE(found, QStringList({"ok", rowsUpTo(lastIdOfDay[day])}));
        }
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    void aBackupThatCannotBeWrittenIsToldOnceAndStartUpGoesOn_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("Backups is a file") << "file";
        // A folder no one may write into, whoever runs the test (root ignores a folder's mode).
        QTest::newRow("Backups on a read-only file system") << "read-only";
    }

    void aBackupThatCannotBeWrittenIsToldOnceAndStartUpGoesOn()
    {
        QFETCH(QString, fault);
        if (fault == "file") {
            QFile file(backups());
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QFile::link("/sys/kernel", backups()));
        }
        env->fake.prompter.answer(Answer::Ok);
        Main(*env->module);

        QVERIFY(env->module->mainWindow && env->module->mainWindow->isVisible());
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        const MessageRequest& box = env->fake.prompter.messages.first();
        QVERIFY2(box.text.startsWith("Today's backup of the data file could not be made:\r" +
                                     QDir(backups()).filePath(backupName(10)) + "\r\r"),
                 qPrintable(box.text));
        QCOMPARE(box.title, QString("Horalog"));
        QCOMPARE(box.icon, MessageIcon::Exclamation);
        QVERIFY(unfinishedCopies(env->dataDir()).isEmpty());

        // Once the fault is cleared, the next start makes the day's copy.
        QVERIFY(QFile::remove(backups()));
        backUpOnceADay(*env->module);
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        QVERIFY(QFile::exists(QDir(backups()).filePath(backupName(10))));
    }

    void aDamagedDataFileIsToldAndTheEarlierCopiesStay()
    {
        env->sql({R"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000)
                     INSERT INTO Times (EmployeeID, Client, Project, Task, "Start Time")
                     SELECT 1, 'Acme', 'Project ' || i, hex(randomblob(40)), '2026-11-01 09:00:00' FROM n)"});
        env->module->openTaskDatabase();
        for (int day = 1; day <= 3; ++day) {
            onDay(day);
            backUpOnceADay(*env->module);
        }
        store::DataFileHealth& health = store::DataFileHealth::of(env->module->TaskDatabase());
        health.waitUntilChecked();
        QVERIFY(!health.isDamaged());
        {
            QFile data(env->dataFile());
            QVERIFY(data.open(QIODevice::ReadWrite));
            const qint64 size = data.size();
            QVERIFY(data.seek(size / 4));
            data.write(QByteArray(int(size / 2), '\x55'));
        }
        onDay(4);
        env->fake.prompter.answer(Answer::Ok);
        backUpOnceADay(*env->module);

        QCOMPARE(env->fake.prompter.messages.size(), 1);
        const MessageRequest& box = env->fake.prompter.messages.first();
        QCOMPARE(box.text, "Error 3049 has occurred.  The data file " + env->dataFile() +
                               " is damaged.  Restore it from a backup.\rContact Fernwick for assistance.");
        QCOMPARE(box.icon, MessageIcon::Critical);
        // Nothing writes to it any more, and the check, finishing later, does not tell it again.
        QVERIFY(health.isDamaged());
        QCoreApplication::processEvents();
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        QCOMPARE(QDir(backups()).entryList(QDir::Files, QDir::Name),
                 QStringList({backupName(1), backupName(2), backupName(3)}));
    }
};

QTEST_MAIN(DailyBackupTest)
#include "DailyBackupTest.moc"
