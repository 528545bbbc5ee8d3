#include "store/DataFile.h"
#include "store/Catalogue.h"
#include "store/Sql.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace horalog;
using test::failureOf;

namespace
{

QStringList column(const QSqlDatabase& db, const QString& query)
{
    QSqlQuery rows = store::execute(db, query);
    QStringList values;
    while (rows.next())
        values << rows.value(0).toString();
    return values;
}
} // namespace

class DataFileTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QSqlDatabase db;

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql({
            "INSERT INTO Employees (LastName, FirstName) VALUES ('Brandt', 'Alice'), ('Carver', 'Ben')",
            "INSERT INTO Clients (ClientName) VALUES ('Acme'), ('Baker')",
            R"(INSERT INTO Times (EmployeeID, Client, Project, "Start Time") VALUES
                (1, 'Acme', 'a1', '2026-12-01 09:00:00'), (1, 'Baker', 'a2', '2026-12-02 09:00:00'),
                (2, 'ACME', 'b1', '2026-12-03 09:00:00'), (2, 'Baker', 'b2', '2026-12-04 09:00:00'))",
            "INSERT INTO ALARMS (EmployeeID, AlarmDescription) VALUES (1, 'call'), (2, 'lunch')",
        });
        env->module->openTaskDatabase();
        db = env->module->TaskDatabase();
    }

    void cleanup()
    {
        db = QSqlDatabase();
        env.reset();
    }

    void theFileIsFoundWhateverTheLetterCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("capitals") << "HORALOG.MDB";
        QTest::newRow("small letters") << "horalog.mdb";
        QTest::newRow("as the program spells it") << "Horalog.mdb";
    }

    void theFileIsFoundWhateverTheLetterCase()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        store::createDataFile(QDir(dir.path()).filePath(name));
        QCOMPARE(store::dataFilePath(dir.path()), QDir(dir.path()).filePath(name));
        {
            QSqlDatabase found = store::openDataFile(dir.path(), "letter case");
            QCOMPARE(store::execute(found, "SELECT count(*) FROM Times").next(), true);
            found.close();
        }
        QSqlDatabase::removeDatabase("letter case");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
    }

    void openErrorsNameTheProblemAndThePath_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("message");
        QTest::newRow("no directory") << "none" << 3044 << "'%1/missing' isn't a valid path.";
        QTest::newRow("no data file") << "empty" << 3024 << "Couldn't find file '%1/Horalog.mdb'.";
        QTest::newRow("text file") << "text" << 3343 << "Unrecognized database format '%1/Horalog.mdb'.";
        QTest::newRow("empty file") << "zero" << 3343 << "Unrecognized database format '%1/Horalog.mdb'.";
    }

    void openErrorsNameTheProblemAndThePath()
    {
        QFETCH(QString, setup);
        QFETCH(int, number);
        QFETCH(QString, message);
        QTemporaryDir root;
        const QDir dir(root.path());
        const bool withFile = setup == "text" || setup == "zero";
        const QByteArray notes =
            setup == "zero" ? QByteArray() : QByteArray("Horalog notes\nnot a data file\n");
        if (withFile) {
            QFile text(dir.filePath("Horalog.mdb"));
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write(notes);
        }
        const QString directory = setup == "none" ? dir.filePath("missing") : dir.path();
        const auto failure = failureOf([&] { store::openDataFile(directory, "broken"); });
        QVERIFY(failure);
        QCOMPARE(failure->number(), number);
        QCOMPARE(failure->text(), message.arg(root.path()));
        QVERIFY(!QSqlDatabase::contains("broken"));
        QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 withFile ? QStringList{"Horalog.mdb"} : QStringList{});
        if (withFile) {
            QFile text(dir.filePath("Horalog.mdb"));
            QVERIFY(text.open(QIODevice::ReadOnly));
            QCOMPARE(text.readAll(), notes);
        }
    }

    void aFileWithoutWhatTheProgramUsesIsNotOpened_data()
    {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QString>("missing");
        QTest::newRow("older layout") << QStringList{"ALTER TABLE Times DROP COLUMN Hours"} << "Times.Hours";
        QTest::newRow("no client table") << QStringList{"DROP TABLE Clients"} << "Clients";
        QTest::newRow("several") << QStringList{"DROP TRIGGER EmployeeDeleted", "DROP TABLE ALARMS",
                                                R"(ALTER TABLE Employees DROP COLUMN "Social Security")",
                                                "ALTER TABLE Employees DROP COLUMN Notes"}
                                 << "Employees.Social Security, Employees.Notes, ALARMS";
        QTest::newRow("names in other letters")
            << QStringList{"ALTER TABLE ALARMS RENAME TO Renamed", "ALTER TABLE Renamed RENAME TO alarms",
                           "ALTER TABLE Times RENAME COLUMN Hours TO Renamed",
                           "ALTER TABLE Times RENAME COLUMN Renamed TO HOURS"}
            << "";
    }

    void aFileWithoutWhatTheProgramUsesIsNotOpened()
    {
        QFETCH(QStringList, changes);
        QFETCH(QString, missing);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("Horalog.mdb");
        store::createDataFile(path);
        {
            QSqlDatabase older = store::openDataFile(dir.path(), "older");
            for (const QString& change : changes)
                store::execute(older, change);
            older.close();
        }
        QSqlDatabase::removeDatabase("older");
        const QByteArray before = test::checksum(path);
        const auto failure = failureOf([&] { store::openDataFile(dir.path(), "checked"); });
        if (missing.isEmpty()) {
            QVERIFY(!failure);
            QSqlDatabase::removeDatabase("checked");
            return;
        }
        QVERIFY(failure);
        QCOMPARE(failure->number(), 3265);
        QCOMPARE(
            failure->text(),
            QString("The data file '%1' lacks tables or fields that Horalog needs: %2.").arg(path, missing));
        QVERIFY(!QSqlDatabase::contains("checked"));
        QCOMPARE(test::checksum(path), before);
    }

    void deletingAnEmployeeTakesHisTimesAndAlarms()
    {
        store::execute(db, "DELETE FROM Employees WHERE EmployeeID = ?", {1});
        QCOMPARE(column(db, "SELECT Project FROM Times ORDER BY ID"), (QStringList{"b1", "b2"}));
        QCOMPARE(column(db, "SELECT AlarmDescription FROM ALARMS"), QStringList{"lunch"});
        QCOMPARE(column(db, "SELECT LastName FROM Employees"), QStringList{"Carver"});
        QCOMPARE(env->count("Clients"), 2);
    }

    void deletingAClientTakesItsTimesWhateverTheLetterCase()
    {
        store::deleteClients(db, {"acme"});
        QCOMPARE(column(db, "SELECT ClientName FROM Clients"), QStringList{"Baker"});
        QCOMPARE(column(db, "SELECT Project FROM Times ORDER BY ID"), (QStringList{"a2", "b2"}));
        QCOMPARE(env->count("Employees"), 2);
        QCOMPARE(env->count("ALARMS"), 2);
    }

    void renamingAClientCarriesTheNameIntoItsTimes_data()
    {
        QTest::addColumn<QString>("newName");
        QTest::newRow("another name") << "Acme Tooling";
        QTest::newRow("only the letter case") << "ACME";
    }

    void renamingAClientCarriesTheNameIntoItsTimes()
    {
        QFETCH(QString, newName);
        store::execute(db, "UPDATE Clients SET ClientName = ? WHERE ClientName = ?", {newName, "Acme"});
        QCOMPARE(column(db, "SELECT Client FROM Times ORDER BY ID"),
                 (QStringList{newName, "Baker", newName, "Baker"}));
    }

    void aNewAlarmHoldsZeroInItsNumbers()
    {
        store::execute(db, "INSERT INTO ALARMS (EmployeeID, AlarmDescription) VALUES (?, ?)", {2, "tea"});
        QSqlQuery row = store::execute(
            db, "SELECT Recurrence, WeekDay, MonthDay FROM ALARMS WHERE AlarmDescription = ?", {"tea"});
        QVERIFY(row.next());
        for (int field = 0; field < 3; ++field) {
            QVERIFY(!row.value(field).isNull());
            QCOMPARE(row.value(field).toInt(), 0);
        }
    }

    void aClientNameIsTakenWhateverTheLetterCase()
    {
        const auto failure = failureOf([&] { store::addClient(db, "aCmE"); });
        QVERIFY(failure);
        QCOMPARE(failure->number(), 3022);
        QVERIFY(store::clientExists(db, "ACME"));
        QCOMPARE(column(db, "SELECT ClientName FROM Clients ORDER BY ClientName"),
                 (QStringList{"Acme", "Baker"}));
    }

    void namesWithQuotesWorkInEveryLookup()
    {
        const QString client = "O'Brien \"Big\" Co";
        env->sql({
            R"(INSERT INTO Employees (LastName, FirstName) VALUES ('O''Neil', 'Sam "Ace"'))",
            R"(INSERT INTO Clients (ClientName) VALUES ('O''Brien "Big" Co'))",
            R"(INSERT INTO Times (EmployeeID, Client, Project, Task, "Start Time") VALUES
                (3, 'O''Brien "Big" Co', 'Roof', 'Survey', '2026-12-05 09:00:00'),
                (3, 'Acme', 'Web', 'Launch', '2026-12-01 09:00:00'))",
        });
        const std::optional<int> id = store::employeeIdByName(db, "O'Neil, Sam \"Ace\"");
        QCOMPARE(id, std::optional<int>(3));
        QVERIFY(store::clientExists(db, client));
        const auto latest = store::latestWorkOfEmployee(db, 3);
        QVERIFY(latest);
        QCOMPARE(latest->client, client);
        const auto forClient = store::latestWorkForClient(db, 3, client);
        QVERIFY(forClient);
        QCOMPARE(forClient->project, QString("Roof"));
        QCOMPARE(forClient->task, QString("Survey"));
        store::deleteClients(db, {client});
        QVERIFY(!store::clientExists(db, client));
        QCOMPARE(column(db, "SELECT Project FROM Times WHERE EmployeeID = 3"), QStringList{"Web"});
    }
};

QTEST_MAIN(DataFileTest)
#include "DataFileTest.moc"
