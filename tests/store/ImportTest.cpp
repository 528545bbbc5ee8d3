#include "store/Import.h"
#include "store/DataFile.h"
#include "store/Sql.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"
#include "timing/TimerForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace horalog;
using horalog::test::itemsOf;

namespace
{

const QStringList kCurrentFile{
    "INSERT INTO Employees (EmployeeID, LastName, FirstName) VALUES (1, 'Brandt', 'Alice')",
    "INSERT INTO Clients (ClientName) VALUES ('Acme')",
    R"(INSERT INTO Times (ID, EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours,
        Billable) VALUES (1, 1, 'Acme', 'Web', 'Launch', '2026-12-09', '2026-12-09 13:05:00',
        '2026-12-09 14:20:30', 1.25, 1))",
    "INSERT INTO ALARMS (EmployeeID, AlarmDescription, AlarmTime) VALUES (1, 'Call Acme', '14:40:00')",
};

// Another office's file: one row of each table has a key the current file already holds.
const QStringList kOtherFile{
    "INSERT INTO Employees (EmployeeID, LastName, FirstName) VALUES (1, 'Other', 'Person'), (7, 'Zeller', "
    "'Zoe')",
    "INSERT INTO Clients (ClientName, Street) VALUES ('ACME', 'Elsewhere 1'), ('Newco', '9 Mill Lane')",
    R"(INSERT INTO Times (ID, EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours,
        Billable) VALUES
        (1, 1, 'ACME', 'Other', 'Work', '2026-11-01', '2026-11-01 09:00:00', '2026-11-01 10:00:00', 1, 0),
        (40, 7, 'Newco', 'Site', 'Survey', '2026-12-02', '2026-12-02 08:00:00', '2026-12-02 10:30:00', 2.5, 1))",
    "INSERT INTO ALARMS (EmployeeID, AlarmDescription, AlarmTime) VALUES (7, 'Lunch', '12:00:00')",
};

void runOn(const QString& directory, const QStringList& statements)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = store::openDataFile(directory, name);
        for (const QString& statement : statements)
            store::execute(db, statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QByteArray digest(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class ImportTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    std::unique_ptr<QTemporaryDir> other;
    QPointer<TimerForm> form;

    QString otherFile() const { return QDir(other->path()).filePath(store::kDataFileName); }

    // What the current data file holds, in one text to compare before and after.
    QString contents()
    {
        QStringList rows;
        for (const char* query :
             {"SELECT group_concat(EmployeeID || ':' || LastName, ',') FROM Employees",
              "SELECT group_concat(ClientName || ':' || coalesce(Street, ''), ',') FROM Clients",
              "SELECT group_concat(ID || ':' || Client || ':' || Project, ',') FROM Times",
              "SELECT group_concat(AlarmDescription, ',') FROM ALARMS"})
            rows << env->scalar(query).toString();
        return rows.join('\n');
    }

    // Chooses `path` in the import dialog; `errorShown` answers the error box that follows.
    void import(const QString& path, bool errorShown = false)
    {
        env->fake.prompter.answerText(path);
        if (errorShown)
            env->fake.prompter.answer(Answer::Ok);
        QVERIFY(form->ImportMenuItem->isEnabled());
        form->ImportMenuItem->trigger();
        QVERIFY(!QApplication::overrideCursor());
    }

  private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql(kCurrentFile);
        other = std::make_unique<QTemporaryDir>();
        form = new TimerForm(*env->module);
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        other.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void importAppendsRowsWithNewKeys()
    {
        store::createDataFile(otherFile());
        runOn(other->path(), kOtherFile);
        const QByteArray before = digest(otherFile());
        QCOMPARE(form->EmployeeList->currentText(), QString("Brandt, Alice"));
        form->Project->setText("Typed");

        import(otherFile());
        QVERIFY(env->fake.prompter.messages.isEmpty());
        QCOMPARE(env->fake.prompter.files.size(), 1);
        const FileRequest& dialog = env->fake.prompter.files.first();
        QCOMPARE(dialog.title, QString("Import"));
        QCOMPARE(dialog.filter, QString("Horalog database (Horalog.mdb)|Horalog.mdb"));
        QCOMPARE(dialog.directory, QDir::homePath());
        QCOMPARE(dialog.fileName, QString());
        QCOMPARE(contents(),
                 QString("1:Brandt,7:Zeller\nAcme:,Newco:9 Mill Lane\n1:Acme:Web,40:Newco:Site\nCall Acme"));
        QCOMPARE(
            env->scalar(R"(SELECT EmployeeID || DateToday || "Start Time" || "End Time" || Hours || Billable
                                FROM Times WHERE ID = 40)")
                .toString(),
            QString("72026-12-022026-12-02 08:00:002026-12-02 10:30:002.51"));
        QCOMPARE(digest(otherFile()), before);

        // The lists show the new names at once; what was chosen and typed stays.
        QCOMPARE(itemsOf(form->EmployeeList), (QStringList{"Brandt, Alice", "Zeller, Zoe"}));
        QCOMPARE(itemsOf(form->ClientList), (QStringList{"Acme", "Newco"}));
        QCOMPARE(form->EmployeeList->currentText(), QString("Brandt, Alice"));
        QCOMPARE(form->ClientList->currentText(), QString("Acme"));
        QCOMPARE(form->Project->text(), QString("Typed"));
        QVERIFY(form->ClientList->findText("Newco") >= 0);
        form->ClientList->setCurrentIndex(form->ClientList->findText("Newco"));
        QCOMPARE(form->ClientList->currentText(), QString("Newco"));

        // The next import offers the same file; appending it again adds nothing.
        import(otherFile());
        QCOMPARE(env->fake.prompter.files.last().fileName, otherFile());
        QCOMPARE(env->count("Times"), 2);
        import(QString());
        QCOMPARE(env->count("Times"), 2);
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    void filesThatAddNothing_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("error");
        QTest::newRow("data file without rows") << "empty data file"
                                                << "";
        QTest::newRow("the data file itself") << "itself"
                                              << "";
        QTest::newRow("not a data file") << "text"
                                         << "Unrecognized database format '{file}'.";
        QTest::newRow("an empty file") << "empty"
                                       << "The data file has no table or field 'Clients'.";
        QTest::newRow("a data file without entries") << "no Times"
                                                     << "The data file has no table or field 'Times'.";
        QTest::newRow("a file that is gone") << "gone"
                                             << "Couldn't find file '{file}'.";
    }

    // An import that fails changes nothing, not even the tables it reached before the fault.
    void filesThatAddNothing()
    {
        QFETCH(QString, source);
        QFETCH(QString, error);
        QString path = otherFile();
        if (source == "empty data file") {
            store::createDataFile(path);
        } else if (source == "itself") {
            path = env->dataFile();
        } else if (source == "text" || source == "empty") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (source == "text")
                file.write("Hours for December\n");
        } else if (source == "no Times") {
            store::createDataFile(path);
            runOn(other->path(), kOtherFile + QStringList{"DROP TABLE Times"});
        }
        const QString before = contents();

        import(path, !error.isEmpty());
        QCOMPARE(contents(), before);
        QCOMPARE(env->fake.prompter.messages.size(), error.isEmpty() ? 0 : 1);
        if (!error.isEmpty()) {
            const MessageRequest& box = env->fake.prompter.messages.first();
            QCOMPARE(box.text, QString(error).replace("{file}", path));
            QCOMPARE(box.title, QString("Horalog"));
            QCOMPARE(box.icon, MessageIcon::None);
            QCOMPARE(box.buttons, MessageButtons::Ok);
        }
        QCOMPARE(QFileInfo::exists(path), source != "gone");
    }

    void withoutADataFileImportSaysSoFirst()
    {
        delete form;
        QVERIFY(QFile::remove(env->dataFile()));
        MainModule nextStart(env->fake.platform, env->reg);
        env->fake.prompter.answer(Answer::Ok);
        form = new TimerForm(nextStart);
        env->fake.prompter.answer(Answer::Ok);
        QVERIFY(form->ImportMenuItem->isEnabled());
        form->ImportMenuItem->trigger();
        QVERIFY(env->fake.prompter.files.isEmpty());
        QCOMPARE(env->fake.prompter.messages.size(), 2);
        const MessageRequest& box = env->fake.prompter.messages.last();
        QVERIFY2(box.text.startsWith("No data file is open."), qPrintable(box.text));
        QCOMPARE(box.title, QString("Horalog"));
        delete form;
    }

    // Rows go in steps; every row arrives, whatever its number, and the window gets its turns.
    void manyRowsArriveInSteps()
    {
        store::createDataFile(otherFile());
        runOn(other->path(),
              {R"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 25000)
                                INSERT INTO Times (ID, Client) SELECT 3 * i - 10, 'Acme' FROM n)",
               "INSERT INTO Times (ID, Client) VALUES (9223372036854775807, 'Acme')"});
        int turns = 0;
        store::importDataFile(env->module->TaskDatabase(), otherFile(), [&turns] { ++turns; });
        QCOMPARE(env->count("Times"), 1 + 25001);
        QCOMPARE(env->scalar("SELECT min(ID) FROM Times").toLongLong(), -7LL);
        QCOMPARE(env->scalar("SELECT max(ID) FROM Times").toLongLong(), 9223372036854775807LL);
        QVERIFY2(turns >= 3, qPrintable(QString::number(turns)));
    }

    void aRefusedWriteChangesNothingAndARetryImports()
    {
        store::createDataFile(otherFile());
        runOn(other->path(), kOtherFile);
        env->sql({"CREATE TRIGGER Refuse BEFORE INSERT ON Times BEGIN SELECT RAISE(ABORT, 'disk I/O'); END"});
        const QString before = contents();
        import(otherFile(), true);
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        QCOMPARE(env->fake.prompter.messages.first().text,
                 QString("The data file reported an error: disk I/O"));
        QCOMPARE(contents(), before);
        QCOMPARE(itemsOf(form->ClientList), QStringList{"Acme"});

        env->sql({"DROP TRIGGER Refuse"});
        import(otherFile());
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        QCOMPARE(env->count("Employees"), 2);
        QCOMPARE(env->count("Clients"), 2);
        QCOMPARE(env->count("Times"), 2);
        QCOMPARE(itemsOf(form->ClientList), (QStringList{"Acme", "Newco"}));
    }
};

QTEST_MAIN(ImportTest)
#include "ImportTest.moc"
