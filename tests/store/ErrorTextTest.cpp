#include "platform/RuntimeError.h"
#include "store/DataFile.h"
#include "store/Sql.h"
#include "support/TestEnvironment.h"

#include <QTest>
#include <memory>

using namespace horalog;

// An error report names the file, table or field, never a value of the row: the employees' rows hold a
// Social Security number, a birthdate and a pay rate.
class ErrorTextTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql({R"(INSERT INTO Employees (EmployeeID, LastName, Birthdate, "Social Security", PayRate)
                     VALUES (1, 'Brandt', '1984-07-02', '123-45-6789', 42.75))"});
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void refusedWritesRepeatNoPersonalValue_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QString>("named");
        const QString social = "987-65-4321";
        QTest::newRow("taken key")
            << R"(INSERT INTO Employees (EmployeeID, Birthdate, "Social Security", PayRate) VALUES (1, ?, ?, ?))"
            << QVariantList{"1990-01-31", social, 55.25} << "EmployeeID";
        QTest::newRow("text for a number key")
            << R"(INSERT INTO Employees (EmployeeID, Birthdate, PayRate) VALUES (?, ?, ?))"
            << QVariantList{social, "1990-01-31", 55.25} << "mismatch";
        QTest::newRow("no such field")
            << R"(UPDATE Employees SET Birthdate = ?, "Social Security" = ?, PayRate = ?, Salary = 1)"
            << QVariantList{"1990-01-31", social, 55.25} << "Salary";
    }

    void refusedWritesRepeatNoPersonalValue()
    {
        QFETCH(QString, statement);
        QFETCH(QVariantList, values);
        QFETCH(QString, named);
        QString text;
        {
            const QSqlDatabase db = store::openDataFile(env->dataDir(), "errors");
            try {
                store::execute(db, statement, values);
            } catch (const RuntimeError& error) {
                text = error.text();
            }
        }
        QSqlDatabase::removeDatabase("errors");
        QVERIFY2(text.contains(named), qPrintable(text));
        const QStringList personal{"987-65-4321", "1990-01-31", "55.25",
                                   "123-45-6789", "1984-07-02", "42.75"};
        for (const QString& value : personal)
            QVERIFY2(!text.contains(value), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(ErrorTextTest)
#include "ErrorTextTest.moc"
