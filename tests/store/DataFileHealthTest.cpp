#include "store/DataFileHealth.h"
#include "store/Catalogue.h"
#include "store/DataFile.h"
#include "store/Sql.h"
#include "support/TestEnvironment.h"

#include <QSignalSpy>
#include <QTest>
#include <functional>

using namespace horalog;
using test::failureOf;
using store::DataFileHealth;

// The program's connection to a data file whose pages a failing disk overwrote.
class DataFileHealthTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QSqlDatabase db;

    QString damagedText() const
    {
        return QString("The data file %1 is damaged.  Restore it from a backup.").arg(env->dataFile());
    }

    // Pages in the middle of the entries, away from the newest ones and from every table's first page.
    void damageTheMiddle()
    {
        const int pages = env->scalar("PRAGMA page_count").toInt();
        QVERIFY(pages > 100);
        test::overwritePages(env->dataFile(), pages / 3, pages / 2);
    }

    void open() { db = store::openDataFile(env->dataDir(), "program"); }

    void checkRefused(const std::function<void()>& write)
    {
        const auto failure = failureOf(write);
        QVERIFY(failure);
        QCOMPARE(failure->number(), 3049);
        QCOMPARE(failure->text(), damagedText());
    }

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->addManyEntries(3000);
    }

    void cleanup()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("program");
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void theFirstWriteWaitsForTheCheck_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("sound file") << false;
        QTest::newRow("pages overwritten in the middle") << true;
    }

    void theFirstWriteWaitsForTheCheck()
    {
        QFETCH(bool, damaged);
        if (damaged)
            damageTheMiddle();
        const QByteArray before = test::checksum(env->dataFile());
        open();
        DataFileHealth& health = DataFileHealth::of(db);
        QSignalSpy found(&health, &DataFileHealth::damageFound);
        health.startCheck();
        if (!damaged) {
            store::addClient(db, "Zenith");
            QVERIFY(store::clientExists(db, "Zenith"));
            QVERIFY(!health.isDamaged());
            return;
        }
        checkRefused([&] { store::addClient(db, "Zenith"); });
        QCOMPARE(test::checksum(env->dataFile()), before);
        // The refused write told the user; the check's end adds no second message.
        QTest::qWait(100);
        QCOMPARE(found.count(), 0);
    }

    void damageTheCheckFindsIsAnnouncedOnceAndStopsEveryWrite()
    {
        damageTheMiddle();
        const QByteArray before = test::checksum(env->dataFile());
        open();
        DataFileHealth& health = DataFileHealth::of(db);
        QSignalSpy found(&health, &DataFileHealth::damageFound);
        health.startCheck();
        QTRY_COMPARE(found.count(), 1);
        QCOMPARE(health.damagedError().text(), damagedText());
        QVERIFY(health.isDamaged());

        // What is still readable is read; nothing is written, through a statement or a transaction,
        // on this connection or another one to the file.
        QCOMPARE(store::clientNames(db), QStringList{"Acme"});
        checkRefused([&] { store::addClient(db, "Zenith"); });
        checkRefused([&] { store::Transaction transaction(db); });
        {
            const QSqlDatabase second = store::openDataFile(env->dataDir(), "second");
            checkRefused([&] { store::execute(second, "DELETE FROM ALARMS"); });
        }
        QSqlDatabase::removeDatabase("second");
        QCOMPARE(test::checksum(env->dataFile()), before);
        QCOMPARE(found.count(), 1);
    }

    void damageAStatementMeetsStopsEveryWrite_data()
    {
        QTest::addColumn<int>("firstPage");
        QTest::addColumn<int>("lastPage");
        QTest::newRow("malformed: every page after the first overwritten") << 2 << -1;
        QTest::newRow("not a database: the first page overwritten") << 1 << 1;
    }

    void damageAStatementMeetsStopsEveryWrite()
    {
        QFETCH(int, firstPage);
        QFETCH(int, lastPage);
        open();
        test::overwritePages(env->dataFile(), firstPage, lastPage);
        const QByteArray before = test::checksum(env->dataFile());
        checkRefused([&] { store::latestEntry(db); });
        QVERIFY(DataFileHealth::of(db).isDamaged());
        checkRefused([&] { store::appendEmptyEntry(db); });
        QCOMPARE(test::checksum(env->dataFile()), before);
    }
};

QTEST_MAIN(DataFileHealthTest)
#include "DataFileHealthTest.moc"
