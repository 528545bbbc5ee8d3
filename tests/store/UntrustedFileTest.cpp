#include "platform/RuntimeError.h"
#include "store/DataFile.h"
#include "store/DataFileHealth.h"
#include "store/Untrusted.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <memory>

using namespace horalog;

namespace
{

const QStringList kTables{"Clients", "Employees", "Times"};

// A data file of ours, then changed by `statements` as someone else's program could have.
void makeForeignFile(const QString& path, const QStringList& statements)
{
    store::createDataFile(path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "maker");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString& statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
        db.close();
    }
    QSqlDatabase::removeDatabase("maker");
}

// The header's count of pages, which the engine trusts over the file's length.
void claimPages(const QString& path, quint32 pages)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(28));
    const quint32 bigEndian = qToBigEndian(pages);
    QCOMPARE(file.write(reinterpret_cast<const char*>(&bigEndian), 4), qint64(4));
}

} // namespace

// A data file from elsewhere is opened so that nothing it holds runs: only its plain tables' rows are read.
class UntrustedFileTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    QString foreign;

    void closeForeign()
    {
        QSqlDatabase::database("foreign", false).close();
        QSqlDatabase::removeDatabase("foreign");
    }

  private slots:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        foreign = QDir(folder->path()).filePath("Foreign.mdb");
    }

    void cleanup()
    {
        closeForeign();
        folder.reset();
    }

    void opensHardenedAndReadsPlainRows()
    {
        makeForeignFile(
            foreign, {"INSERT INTO Clients (ClientName) VALUES ('Acme'), ('Globex')",
                      // Its own code, which must never run here.
                      "CREATE TRIGGER Planted AFTER DELETE ON Clients BEGIN DELETE FROM Times; END",
                      "CREATE TRIGGER Stamp AFTER INSERT ON Times BEGIN UPDATE Clients SET Car = 'x'; END"});
        const QByteArray before = test::checksum(foreign);
        const QSqlDatabase db = store::openUntrusted(foreign, "foreign");
        store::requirePlainTables(db, kTables);
        QSqlQuery query(db);
        query.setForwardOnly(true);
        const std::pair<const char*, int> settings[] = {
            {"PRAGMA trusted_schema", 0}, {"PRAGMA cell_size_check", 1}, {"PRAGMA mmap_size", 0}};
        for (const auto& [pragma, expected] : settings) {
            QVERIFY(query.exec(pragma) && query.next());
            QCOMPARE(query.value(0).toInt(), expected);
        }
        QVERIFY(query.exec("SELECT ClientName FROM Clients ORDER BY ClientName"));
        QStringList names;
        while (query.next())
            names << query.value(0).toString();
        QCOMPARE(names, (QStringList{"Acme", "Globex"}));
        // Read-only, whatever the statement.
        QVERIFY(!query.exec("DELETE FROM Clients"));
        query.finish();
        QCOMPARE(test::checksum(foreign), before);
    }

    void aTableThatRunsCodeIsRefused_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("engineRefusesToo");
        QTest::newRow("Clients a view that calls functions")
            << QStringList{"DROP TABLE Clients",
                           "CREATE VIEW Clients AS SELECT hex(randomblob(8)) AS ClientName, "
                           "upper(LastName) AS Street FROM Employees"}
            << "Clients" << true;
        QTest::newRow("Times a virtual table")
            << QStringList{"DROP TABLE Times", "CREATE VIRTUAL TABLE Times USING fts5(Client, Project, Task)"}
            << "Times" << false;
    }

    void aTableThatRunsCodeIsRefused()
    {
        QFETCH(QStringList, statements);
        QFETCH(QString, table);
        QFETCH(bool, engineRefusesToo);
        makeForeignFile(foreign, statements);
        const QByteArray before = test::checksum(foreign);
        {
            const QSqlDatabase db = store::openUntrusted(foreign, "foreign");
            const auto failure = test::failureOf([&] { store::requirePlainTables(db, kTables); });
            QVERIFY(failure);
            QCOMPARE(failure->text(), QString("'%1' in the file '%2' is not a plain table.  Horalog reads "
                                              "only plain tables from another file.")
                                          .arg(table, foreign));
            // A view does not run even when a statement names it.
            if (engineRefusesToo)
                QVERIFY(!QSqlQuery(db).exec(QString("SELECT * FROM %1").arg(table)));
        }
        closeForeign();
        QCOMPARE(test::checksum(foreign), before);
    }

    void aFileThatIsNoSoundDataFileIsRefusedBeforeAnyRow_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("number");
        QTest::newRow("header claims more pages than it holds") << "pages" << error::DataFileDamaged;
        QTest::newRow("pages overwritten") << "overwritten" << error::DataFileDamaged;
        QTest::newRow("not a database") << "text" << error::UnrecognizedFormat;
        QTest::newRow("missing") << "missing" << error::FileNotFound;
    }

    void aFileThatIsNoSoundDataFileIsRefusedBeforeAnyRow()
    {
        QFETCH(QString, fault);
        QFETCH(int, number);
        makeForeignFile(foreign,
                        {"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
                         "INSERT INTO Clients (ClientName) SELECT 'Client ' || i || hex(zeroblob(200)) "
                         "FROM n"});
        if (fault == "pages")
            claimPages(foreign, 1'000'000'000);
        else if (fault == "overwritten")
            test::overwritePages(foreign, 3, 6);
        else if (fault == "text") {
            QFile file(foreign);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray(4096, 'x'));
        } else
            QFile::remove(foreign);
        const QByteArray before = QFile::exists(foreign) ? test::checksum(foreign) : QByteArray();
        const auto failure = test::failureOf([&] { store::openUntrusted(foreign, "foreign"); });
        QVERIFY(failure);
        QCOMPARE(failure->number(), number);
        QVERIFY2(failure->text().contains(foreign), qPrintable(failure->text()));
        QVERIFY(!QSqlDatabase::contains("foreign"));
        if (QFile::exists(foreign))
            QCOMPARE(test::checksum(foreign), before);
    }

    // The background check of the open data file reads it the same way.
    void theIntegrityCheckFindsAHeaderThatLies()
    {
        makeForeignFile(foreign, {"INSERT INTO Clients (ClientName) VALUES ('Acme')"});
        claimPages(foreign, 1'000'000'000);
        QSqlDatabase unopened = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        unopened.setDatabaseName(foreign);
        store::DataFileHealth& health = store::DataFileHealth::of(unopened);
        health.startCheck();
        health.waitUntilChecked();
        QVERIFY(health.isDamaged());
    }
};

QTEST_GUILESS_MAIN(UntrustedFileTest)
#include "UntrustedFileTest.moc"
