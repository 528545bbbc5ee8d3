#include "timing/TimerForm.h"
#include "controls/StatusBar.h"
#include "controls/Twips.h"
#include "platform/Formats.h"
#include "store/Catalogue.h"
#include "store/DataFile.h"
#include "store/Sql.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace horalog;
using horalog::test::itemsOf;

namespace
{

const QString kCancelQuestion =
    "You are about to cancel the timing of this task.  Do you really want to do this?";

QString standardReport(const QString& text)
{
    return "Error " + text + "\rContact Fernwick for assistance.";
}

// Chooses a line as the user does; false when the list has no such line.
bool choose(QComboBox* list, const QString& text)
{
    const int index = list->findText(text, Qt::MatchExactly);
    if (index >= 0)
        list->setCurrentIndex(index);
    return index >= 0;
}

void retype(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClicks(box, text);
}

// Employees inserted out of name order; the newest entry by start time (Brandt at Acme) is neither
// the first nor the last row, and Brandt has older Acme work with another task.
const QStringList kFilledFile{
    R"(INSERT INTO Employees (LastName, FirstName) VALUES ('Carver', 'Ben'), ('Adams', 'Cy'),
        ('Brandt', 'Alice'), ('de Vries', 'Dirk'), ('Dubois', 'Eve'))",
    R"(INSERT INTO Clients (ClientName) VALUES ('zenith'), ('Acme'), ('baker''s'), ('Carver Co'))",
    R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours,
        Billable) VALUES
        (1, 'Acme', 'Roof', 'Survey', '2026-12-01', '2026-12-01 08:00:00', '2026-12-01 09:00:00', 1, 0),
        (1, 'zenith', 'Audit', 'Ledger', '2026-12-03', '2026-12-03 10:00:00', '2026-12-03 11:30:00', 1.5, 0),
        (3, 'baker''s', 'Bread', 'Ovens', '2026-12-02', '2026-12-02 08:00:00', '2026-12-02 08:30:00', 0.5, 1),
        (3, 'Acme', 'Web', 'Launch', '2026-12-09', '2026-12-09 13:05:00', '2026-12-09 14:20:30', 1.25, 1),
        (2, 'Acme', 'Old', 'Stuff', '2026-11-01', '2026-11-01 09:00:00', '2026-11-01 10:00:00', 1, 0),
        (3, 'Acme', 'Web', 'Design', '2026-12-05', '2026-12-05 09:00:00', '2026-12-05 12:00:00', 3, 1))",
};

} // namespace

class TimerFormTest : public QObject
{
    Q_OBJECT

    QString startDirectory;
    std::unique_ptr<test::TestEnvironment> env;
    QPointer<TimerForm> form;

    void load() { form = new TimerForm(*env->module); }

    void loadShown()
    {
        load();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void at(const QDateTime& moment) { env->fake.clock.current = moment; }

    QVariantMap newestEntry() const
    {
        QSqlQuery row =
            store::execute(env->module->TaskDatabase(), "SELECT * FROM Times ORDER BY ID DESC LIMIT 1");
        QVariantMap fields;
        if (row.next()) {
            const QSqlRecord record = row.record();
            for (int i = 0; i < record.count(); ++i)
                fields.insert(record.fieldName(i), record.value(i));
        }
        return fields;
    }

    QString setting(const QString& name) const { return env->reg.QueryValue(kHoralogKey, name).toString(); }

    void checkCancelQuestion() const
    {
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        const MessageRequest& box = env->fake.prompter.messages.first();
        QCOMPARE(box.text, kCancelQuestion);
        QCOMPARE(box.title, QString("Fernwick Labs, Inc."));
        QCOMPARE(box.icon, MessageIcon::Critical);
        QCOMPARE(box.buttons, MessageButtons::YesNo);
        QCOMPARE(box.defaultAnswer, Answer::No);
    }

  private slots:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        startDirectory = QDir::currentPath();
    }

    void init() { env = std::make_unique<test::TestEnvironment>(); }

    // The main window stays open through a test; every other window must be gone by its end.
    void cleanup()
    {
        if (form)
            form->close();
        const bool noneLeftOpen = test::closeAllWindows();
        QStringList problems = env->fake.prompter.unexpected;
        if (!env->fake.prompter.scriptUsedUp())
            problems << "scripted answers were left over";
        env.reset();
        QDir::setCurrent(startDirectory);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QVERIFY2(noneLeftOpen, "a window was left open");
    }

    void loadOnAnEmptyFileAddsOneBlankEntry()
    {
        load();
        QCOMPARE(env->count("Times"), 1);
        QCOMPARE(env->scalar(R"(SELECT count(*) FROM Times WHERE coalesce(EmployeeID, Client, Project, Task,
                                DateToday, "Start Time", "End Time", Hours, Billable) IS NULL)")
                     .toInt(),
                 1);
        QVERIFY(env->fake.prompter.messages.isEmpty());
        QCOMPARE(form->EmployeeList->count(), 0);
        QCOMPARE(form->ClientList->count(), 0);
        QVERIFY(!form->isTiming());

        at(QDateTime(QDate(2026, 12, 10), QTime(8, 30)));
        form->SSCommand1_Click(0);
        QVERIFY(form->isTiming());
        QCOMPARE(form->StartTime->text(), QString("8:30 AM"));
        QCOMPARE(form->EndTime->text(), QString());
        QCOMPARE(env->count("Times"), 1);

        at(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        form->SSCommand1_Click(0);
        QCOMPARE(env->count("Times"), 2);
        QCOMPARE(newestEntry().value("EmployeeID").toInt(), 0);
        QCOMPARE(newestEntry().value("Hours").toDouble(), 0.5);

        // The next start finds entries and adds no second blank one.
        MainModule nextStart(env->fake.platform, env->reg);
        auto* next = new TimerForm(nextStart);
        QCOMPARE(env->count("Times"), 2);
        QCOMPARE(next->StartTime->text(), QString("8:30 AM"));
        delete next;
    }

    void loadShowsTheNewestEntry()
    {
        env->sql(kFilledFile);
        load();
        QVERIFY(env->fake.prompter.messages.isEmpty());
        QCOMPARE(itemsOf(form->EmployeeList),
                 (QStringList{"Adams, Cy", "Brandt, Alice", "Carver, Ben", "de Vries, Dirk", "Dubois, Eve"}));
        QCOMPARE(itemsOf(form->ClientList), (QStringList{"Acme", "baker's", "Carver Co", "zenith"}));
        QCOMPARE(form->EmployeeList->currentText(), QString("Brandt, Alice"));
        QCOMPARE(env->module->CurrentEmployeeID, 3);
        QCOMPARE(form->ClientList->currentText(), QString("Acme"));
        QCOMPARE(form->Project->text(), QString("Web"));
        QCOMPARE(form->Task->text(), QString("Launch"));
        QCOMPARE(form->StartTime->text(), QString("1:05 PM"));
        QCOMPARE(form->EndTime->text(), QString("2:20 PM"));
        QCOMPARE(form->DateToday->text(), QString("12/9/26"));
        QCOMPARE(form->Hours->text(), QString("1.25"));
        QVERIFY(form->Billable->isChecked());
        QVERIFY(!form->isTiming());
        QCOMPARE(env->count("Times"), 6);
    }

    void choicesPresetFromTheLatestWork_data()
    {
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("client");
        QTest::addColumn<int>("employeeId");
        QTest::addColumn<QString>("shownClient");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("task");
        QTest::newRow("another employee") << "Carver, Ben"
                                          << "" << 1 << "zenith"
                                          << "Audit"
                                          << "Ledger";
        QTest::newRow("then a client he worked for") << "Carver, Ben"
                                                     << "Acme" << 1 << "Acme"
                                                     << "Roof"
                                                     << "Survey";
        QTest::newRow("then a client he never worked for") << "Carver, Ben"
                                                           << "Carver Co" << 1 << "Carver Co"
                                                           << "Audit"
                                                           << "Ledger";
        QTest::newRow("employee whose latest client is already chosen") << "Adams, Cy"
                                                                        << "" << 2 << "Acme"
                                                                        << "Old"
                                                                        << "Stuff";
        QTest::newRow("employee without entries") << "de Vries, Dirk"
                                                  << "" << 4 << "Acme"
                                                  << "Web"
                                                  << "Launch";
    }

    void choicesPresetFromTheLatestWork()
    {
        QFETCH(QString, employee);
        QFETCH(QString, client);
        QFETCH(int, employeeId);
        QFETCH(QString, shownClient);
        QFETCH(QString, project);
        QFETCH(QString, task);
        env->sql(kFilledFile);
        load();
        QVERIFY(choose(form->EmployeeList, employee));
        if (!client.isEmpty())
            QVERIFY(choose(form->ClientList, client));
        QCOMPARE(env->module->CurrentEmployeeID, employeeId);
        QCOMPARE(form->ClientList->currentText(), shownClient);
        QCOMPARE(form->Project->text(), project);
        QCOMPARE(form->Task->text(), task);
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    void startAndStopRecordTheWork_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("stop");
        QTest::addColumn<QString>("hours");
        const QDate day(2026, 12, 10);
        QTest::newRow("over a minute boundary")
            << QDateTime(day, QTime(9, 59, 59)) << QDateTime(day, QTime(10, 0)) << "0.02";
        QTest::newRow("same minute, fractions of seconds")
            << QDateTime(day, QTime(10, 0, 0, 750)) << QDateTime(day, QTime(10, 0, 59, 999)) << "0.00";
        QTest::newRow("twenty seconds across a boundary")
            << QDateTime(day, QTime(9, 59, 50)) << QDateTime(day, QTime(10, 0, 10)) << "0.02";
        QTest::newRow("over midnight")
            << QDateTime(day, QTime(23, 30)) << QDateTime(day.addDays(1), QTime(0, 15)) << "0.75";
        QTest::newRow("an hour and a quarter")
            << QDateTime(day, QTime(13, 5)) << QDateTime(day, QTime(14, 20, 30)) << "1.25";
    }

    void startAndStopRecordTheWork()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, stop);
        QFETCH(QString, hours);
        env->sql(kFilledFile);
        loadShown();

        at(start);
        QTest::mouseClick(form->SSCommand1[0], Qt::LeftButton);
        QVERIFY(form->isTiming());
        QCOMPARE(form->StartTime->text(), formatTime(start));
        QCOMPARE(form->DateToday->text(), formatShortDate(start.date()));
        QCOMPARE(form->EndTime->text(), QString());
        QCOMPARE(form->Hours->text(), QString());
        QCOMPARE(env->count("Times"), 6);

        at(stop);
        QTest::mouseClick(form->SSCommand1[0], Qt::LeftButton);
        QVERIFY(!form->isTiming());
        QCOMPARE(form->EndTime->text(), formatTime(stop));
        QCOMPARE(form->Hours->text(), hours);
        QCOMPARE(form->DateToday->text(), formatShortDate(start.date()));
        QCOMPARE(env->count("Times"), 7);
        const QVariantMap row = newestEntry();
        QCOMPARE(row.value("EmployeeID").toInt(), 3);
        QCOMPARE(row.value("Client").toString(), QString("Acme"));
        QCOMPARE(row.value("Project").toString(), QString("Web"));
        QCOMPARE(row.value("Task").toString(), QString("Launch"));
        QCOMPARE(row.value("DateToday").toString(), start.date().toString(Qt::ISODate));
        QCOMPARE(row.value("Start Time").toString(), start.toString("yyyy-MM-dd HH:mm:ss"));
        QCOMPARE(row.value("End Time").toString(), stop.toString("yyyy-MM-dd HH:mm:ss"));
        QCOMPARE(row.value("Hours").toDouble(), hours.toDouble());
        QCOMPARE(row.value("Billable").toInt(), 1);
        QVERIFY(env->fake.prompter.messages.isEmpty());
        QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
    }

    void theStopRecordsWhatTheWindowShowsThen()
    {
        env->sql(kFilledFile);
        load();
        at(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        form->SSCommand1_Click(0);
        QVERIFY(choose(form->EmployeeList, "Carver, Ben"));
        QVERIFY(choose(form->ClientList, "baker's"));
        retype(form->Project, "Fence");
        retype(form->Task, "Paint");
        form->Billable->click();
        at(QDateTime(QDate(2026, 12, 10), QTime(10, 30)));
        form->SSCommand1_Click(0);
        const QVariantMap row = newestEntry();
        QCOMPARE(row.value("EmployeeID").toInt(), 1);
        QCOMPARE(row.value("Client").toString(), QString("baker's"));
        QCOMPARE(row.value("Project").toString(), QString("Fence"));
        QCOMPARE(row.value("Task").toString(), QString("Paint"));
        QCOMPARE(row.value("Billable").toInt(), 0);
        QCOMPARE(row.value("Hours").toDouble(), 1.5);
    }

    void aFailedSaveKeepsTheTiming()
    {
        env->sql(kFilledFile);
        load();
        at(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        form->SSCommand1_Click(0);
        env->sql({"CREATE TRIGGER Refuse BEFORE INSERT ON Times BEGIN SELECT RAISE(ABORT, 'disk I/O'); END"});
        at(QDateTime(QDate(2026, 12, 10), QTime(9, 45)));
        env->fake.prompter.answer(Answer::Ok);
        form->SSCommand1_Click(0);
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        const MessageRequest& box = env->fake.prompter.messages.first();
        QVERIFY2(box.text.startsWith("Error ") && box.text.endsWith("\rContact Fernwick for assistance."),
                 qPrintable(box.text));
        QCOMPARE(box.title, QString("Fernwick Labs, Inc."));
        QCOMPARE(box.icon, MessageIcon::Critical);
        QVERIFY(form->isTiming());
        QCOMPARE(form->EndTime->text(), QString());
        QCOMPARE(form->Hours->text(), QString());
        QCOMPARE(form->StartTime->text(), QString("9:00 AM"));
        QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(env->count("Times"), 6);

        env->sql({"DROP TRIGGER Refuse"});
        at(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
        form->SSCommand1_Click(0);
        QVERIFY(!form->isTiming());
        QCOMPARE(env->count("Times"), 7);
        const QVariantMap row = newestEntry();
        QCOMPARE(row.value("Start Time").toString(), QString("2026-12-10 09:00:00"));
        QCOMPARE(row.value("End Time").toString(), QString("2026-12-10 10:00:00"));
        QCOMPARE(row.value("Hours").toDouble(), 1.0);
        QCOMPARE(form->EndTime->text(), QString("10:00 AM"));
    }

    void leavingWhileTiming_data()
    {
        QTest::addColumn<bool>("viaExit");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("exits");
        QTest::addColumn<bool>("stillOpen");
        QTest::addColumn<QString>("onTopWritten");
        QTest::newRow("Exit, No") << true << false << 0 << true << "False";
        QTest::newRow("Exit, Yes ends at once") << true << true << 1 << true << "False";
        QTest::newRow("close, No") << false << false << 0 << true << "False";
        QTest::newRow("close, Yes") << false << true << 0 << false << "True";
    }

    void leavingWhileTiming()
    {
        QFETCH(bool, viaExit);
        QFETCH(bool, yes);
        QFETCH(int, exits);
        QFETCH(bool, stillOpen);
        QFETCH(QString, onTopWritten);
        env->sql(kFilledFile);
        loadShown();
        QCOMPARE(setting("OnTop"), QString("False"));
        form->FloatMenuItem->setChecked(true);
        at(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        form->SSCommand1_Click(0);

        env->fake.prompter.answer(yes ? Answer::Yes : Answer::No);
        if (viaExit)
            form->SSCommand1_Click(3);
        else
            QCOMPARE(form->close(), !stillOpen);
        checkCancelQuestion();
        QCOMPARE(env->fake.process.exits, exits);
        QCOMPARE(setting("OnTop"), onTopWritten);
        QCOMPARE(env->count("Times"), 6);
        if (!stillOpen) {
            QTRY_VERIFY(!form);
            return;
        }
        QVERIFY(form->isVisible());
        if (exits > 0) {
            // The process would be gone; the test's stand-in leaves the window, which closes the same way.
            env->fake.prompter.answer(Answer::Yes);
            QVERIFY(form->close());
            QCOMPARE(env->count("Times"), 6);
            return;
        }
        QVERIFY(form->isTiming());
        QCOMPARE(form->StartTime->text(), QString("9:00 AM"));
        at(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        form->SSCommand1_Click(0);
        QCOMPARE(newestEntry().value("Start Time").toString(), QString("2026-12-10 09:00:00"));
    }

    void loadErrorsNameTheProblemAndEveryCommandSaysNoFileIsOpen_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("report");
        QTest::newRow("data file missing") << "missing"
                                           << "3024 has occurred.  Couldn't find file '{file}'.";
        QTest::newRow("data directory missing") << "no directory"
                                                << "3044 has occurred.  '{dir}' isn't a valid path.";
        QTest::newRow("not a data file") << "text"
                                         << "3343 has occurred.  Unrecognized database format '{file}'.";
        QTest::newRow("older layout") << "ALTER TABLE Times DROP COLUMN Hours"
                                      << "3265 has occurred.  The data file '{file}' lacks tables or fields "
                                         "that Horalog needs: Times.Hours.";
        QTest::newRow("no client table")
            << "DROP TABLE Clients"
            << "3265 has occurred.  The data file '{file}' lacks tables or fields "
               "that Horalog needs: Clients.";
    }

    void loadErrorsNameTheProblemAndEveryCommandSaysNoFileIsOpen()
    {
        QFETCH(QString, fault);
        QFETCH(QString, report);
        const QString gone = QDir(env->dataDir()).filePath("gone");
        if (fault == "missing") {
            QVERIFY(QFile::remove(env->dataFile()));
        } else if (fault == "no directory") {
            env->reg.SetKeyValue(kHoralogKey, "DataDir", gone, REG_SZ);
        } else if (fault == "text") {
            QFile text(env->dataFile());
            QVERIFY(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
            text.write("Hours for December\n");
        } else {
            env->sql(kFilledFile);
            env->sql({fault});
        }
        const QByteArray before = test::checksum(env->dataFile());
        env->fake.prompter.answer(Answer::Ok);
        loadShown();
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        const MessageRequest& box = env->fake.prompter.messages.first();
        QCOMPARE(box.text, standardReport(report.replace("{file}", env->dataFile()).replace("{dir}", gone)));
        QCOMPARE(box.icon, MessageIcon::Critical);
        QCOMPARE(box.title, QString("Fernwick Labs, Inc."));
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(form->EmployeeList->count(), 0);
        QCOMPARE(QFileInfo::exists(env->dataFile()), fault != "missing");
        QVERIFY(!QFileInfo::exists(gone));
        // The steps after the failing one do not run.
        QCOMPARE(setting("OnTop"), QString());

        // Start, Clients and Employees each say once that there is no data file, and open nothing.
        const QString noDataFile = standardReport(
            QString("91 has occurred.  No data file is open.  Horalog could not use the data file in '%1'; "
                    "correct it and start Horalog again.")
                .arg(fault == "no directory" ? gone : env->dataDir()));
        for (const int command : {0, 1, 4}) {
            env->fake.prompter.answer(Answer::Ok);
            QTest::mouseClick(form->SSCommand1[size_t(command)], Qt::LeftButton);
            QCOMPARE(env->fake.prompter.messages.size(), 2);
            QCOMPARE(env->fake.prompter.messages.last().text, noDataFile);
            env->fake.prompter.messages.removeLast();
            QCOMPARE(QApplication::activeModalWidget(), nullptr);
        }
        QVERIFY(!form->isTiming());
        QCOMPARE(test::checksum(env->dataFile()), before);
    }

    // Damage the integrity check finds arrives as a message a moment after the window shows; damage
    // the load meets is its error report. Either way the stop writes nothing and keeps the timing.
    void aDamagedFileIsNeverWritten_data()
    {
        QTest::addColumn<bool>("afterFirstPage");
        QTest::newRow("pages in the middle overwritten") << false;
        QTest::newRow("every page after the first overwritten") << true;
    }

    void aDamagedFileIsNeverWritten()
    {
        QFETCH(bool, afterFirstPage);
        env->addManyEntries(3000);
        const int pages = env->scalar("PRAGMA page_count").toInt();
        test::overwritePages(env->dataFile(), afterFirstPage ? 2 : pages / 3,
                             afterFirstPage ? -1 : pages / 2);
        const QByteArray before = test::checksum(env->dataFile());
        const QString damaged = standardReport(
            QString("3049 has occurred.  The data file %1 is damaged.  Restore it from a backup.")
                .arg(env->dataFile()));

        env->fake.prompter.answer(Answer::Ok);
        loadShown();
        QTRY_COMPARE(env->fake.prompter.messages.size(), 1);
        QCOMPARE(env->fake.prompter.messages.first().text, damaged);
        QCOMPARE(env->fake.prompter.messages.first().title, QString("Fernwick Labs, Inc."));
        // What is readable is shown.
        QCOMPARE(form->EmployeeList->currentText(), QString(afterFirstPage ? "" : "Brandt, Alice"));

        at(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        QTest::mouseClick(form->SSCommand1[0], Qt::LeftButton);
        QVERIFY(form->isTiming());
        env->fake.prompter.answer(Answer::Ok);
        at(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
        QTest::mouseClick(form->SSCommand1[0], Qt::LeftButton);
        QTest::qWait(50);
        QCOMPARE(env->fake.prompter.messages.size(), 2);
        QCOMPARE(env->fake.prompter.messages.last().text, damaged);
        QVERIFY(form->isTiming());
        QCOMPARE(form->StartTime->text(), QString("9:00 AM"));
        QCOMPARE(test::checksum(env->dataFile()), before);

        env->fake.prompter.answer(Answer::Yes);
        QVERIFY(form->close());
    }

    void firstStartSettlesOnTheCurrentDirectory()
    {
        QVERIFY(QDir(env->settingsDir()).removeRecursively());
        QTemporaryDir here;
        store::createDataFile(QDir(here.path()).filePath("Horalog.mdb"));
        QVERIFY(QDir::setCurrent(here.path()));
        load();
        const QString current = QDir::currentPath();
        QVERIFY(env->fake.prompter.messages.isEmpty());
        QCOMPARE(setting("DataDir"), current);
        QCOMPARE(setting("OnTop"), QString("False"));
        QCOMPARE(env->module->DataPath, current);
        QCOMPARE(env->module->StartDir, current);
        QVERIFY(!form->FloatMenuItem->isChecked());
        // The blank first entry went into the file found there, not into the earlier one.
        QCOMPARE(env->count("Times"), 0);
        QCOMPARE(newestEntry().value("ID").toInt(), 1);
    }

    void settingsThatCannotBeWrittenLeaveTheStartDirectoryInUse()
    {
        QTemporaryDir here;
        store::createDataFile(QDir(here.path()).filePath("Horalog.mdb"));
        QVERIFY(QDir::setCurrent(here.path()));
        // A settings folder below a plain file cannot be made, whatever the user's rights.
        QFile plainFile(QDir(here.path()).filePath("config"));
        QVERIFY(plainFile.open(QIODevice::WriteOnly));
        plainFile.close();
        RegModule unwritable(QDir(plainFile.fileName()).filePath("settings"));
        MainModule module(env->fake.platform, unwritable);
        auto* window = new TimerForm(module);
        QVERIFY(env->fake.prompter.messages.isEmpty());
        QCOMPARE(unwritable.QueryValue(kHoralogKey, "DataDir").toString(), QString());
        QCOMPARE(module.DataPath, QDir::currentPath());
        // The first entry went into the start directory's file.
        QVERIFY(store::latestEntry(module.TaskDatabase()));
        delete window;
    }

    void onTopFollowsTheSetting_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("toggle");
        QTest::addColumn<QString>("written");
        QTest::newRow("kept on top") << "True" << false << "True";
        QTest::newRow("switched off") << "True" << true << "False";
        QTest::newRow("switched on") << "False" << true << "True";
    }

    void onTopFollowsTheSetting()
    {
        QFETCH(QString, stored);
        QFETCH(bool, toggle);
        QFETCH(QString, written);
        env->reg.SetKeyValue(kHoralogKey, "OnTop", stored, REG_SZ);
        loadShown();
        const bool onTop = stored == "True";
        QCOMPARE(form->FloatMenuItem->isChecked(), onTop);
        QCOMPARE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        if (toggle) {
            form->FloatMenuItem_Click();
            QCOMPARE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint), !onTop);
            QVERIFY(form->isVisible());
        }
        QCOMPARE(setting("OnTop"), stored);
        form->SSCommand1_Click(3);
        QTRY_VERIFY(!form);
        QCOMPARE(setting("OnTop"), written);
        QVERIFY(env->fake.prompter.messages.isEmpty());
        QCOMPARE(env->fake.process.exits, 0);
    }

    void equalNamesGiveTheFirstEmployee_data()
    {
        QTest::addColumn<int>("line");
        QTest::newRow("first of the two lines") << 1;
        QTest::newRow("second of the two lines") << 2;
    }

    void equalNamesGiveTheFirstEmployee()
    {
        QFETCH(int, line);
        env->sql({
            "INSERT INTO Employees (LastName, FirstName) VALUES ('Smith', 'John'), ('Smith', 'John'), "
            "('Adams', 'Cy')",
            "INSERT INTO Clients (ClientName) VALUES ('Acme')",
            R"(INSERT INTO Times (EmployeeID, Client, Project, Task, "Start Time") VALUES
                (2, 'Acme', 'Web', 'Launch', '2026-12-09 13:05:00'))",
        });
        load();
        QCOMPARE(itemsOf(form->EmployeeList), (QStringList{"Adams, Cy", "Smith, John", "Smith, John"}));
        QVERIFY(choose(form->EmployeeList, "Adams, Cy"));
        QCOMPARE(env->module->CurrentEmployeeID, 3);
        form->EmployeeList->setCurrentIndex(line);
        QCOMPARE(env->module->CurrentEmployeeID, 1);
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    // The employee window saves a row with neither name; it is still a line that can be chosen.
    void anEmployeeWithoutNamesCanBeChosen()
    {
        env->sql({"INSERT INTO Employees (LastName, FirstName) VALUES ('Adams', 'Cy'), (NULL, NULL)"});
        load();
        QCOMPARE(itemsOf(form->EmployeeList), (QStringList{", ", "Adams, Cy"}));
        form->EmployeeList->setCurrentIndex(0);
        QCOMPARE(env->module->CurrentEmployeeID, 2);
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    void newestEntryWithMissingPieces_data()
    {
        QTest::addColumn<int>("employeeId");
        QTest::addColumn<QVariant>("client");
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("shownClient");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("report");
        QTest::newRow("employee removed") << 99 << QVariant("Acme") << ""
                                          << ""
                                          << ""
                                          << "";
        QTest::newRow("empty client") << 1 << QVariant("") << "Brandt, Alice"
                                      << ""
                                      << ""
                                      << "";
        QTest::newRow("no client") << 1 << QVariant() << "Brandt, Alice"
                                   << ""
                                   << ""
                                   << "";
        QTest::newRow("client in other letters") << 1 << QVariant("ACME") << "Brandt, Alice"
                                                 << "Acme"
                                                 << "Site"
                                                 << "";
        QTest::newRow("client no longer listed") << 1 << QVariant("Gone") << "Brandt, Alice"
                                                 << ""
                                                 << ""
                                                 << "380 has occurred.  'Gone' is not in the list.";
    }

    void newestEntryWithMissingPieces()
    {
        QFETCH(int, employeeId);
        QFETCH(QVariant, client);
        QFETCH(QString, employee);
        QFETCH(QString, shownClient);
        QFETCH(QString, project);
        QFETCH(QString, report);
        env->sql({
            "INSERT INTO Employees (LastName, FirstName) VALUES ('Brandt', 'Alice')",
            "INSERT INTO Clients (ClientName) VALUES ('Acme')",
            R"(INSERT INTO Times (EmployeeID, Client, Project, Task, "Start Time") VALUES
                (1, 'Acme', 'Web', 'Launch', '2026-12-01 09:00:00'))",
        });
        env->scalar(R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time",
                       "End Time", Hours, Billable) VALUES (?, ?, 'Site', 'Visit', '2026-12-09',
                       '2026-12-09 13:05:00', '2026-12-09 14:20:30', 1.25, 0))",
                    {employeeId, client});
        if (!report.isEmpty())
            env->fake.prompter.answer(Answer::Ok);
        load();
        QCOMPARE(form->EmployeeList->currentText(), employee);
        QCOMPARE(form->ClientList->currentText(), shownClient);
        QCOMPARE(form->Project->text(), project);
        QCOMPARE(form->StartTime->text(), QString("1:05 PM"));
        QCOMPARE(form->EndTime->text(), QString("2:20 PM"));
        QCOMPARE(form->DateToday->text(), QString("12/9/26"));
        QCOMPARE(form->Hours->text(), QString("1.25"));
        QCOMPARE(env->fake.prompter.messages.size(), report.isEmpty() ? 0 : 1);
        if (!report.isEmpty())
            QCOMPARE(env->fake.prompter.messages.first().text, standardReport(report));
    }

    void statusBarHint_data()
    {
        QTest::addColumn<QPoint>("twips");
        QTest::addColumn<QString>("hint");
        QTest::newRow("left end of the alarm panel") << QPoint(1920, 0) << "Right-click for options";
        QTest::newRow("right end of the alarm panel") << QPoint(2820, 240) << "Right-click for options";
        QTest::newRow("just right of it") << QPoint(2821, 100) << "";
        QTest::newRow("just left of it") << QPoint(1919, 100) << "";
        QTest::newRow("just below it") << QPoint(2000, 241) << "";
    }

    void statusBarHint()
    {
        QFETCH(QPoint, twips);
        QFETCH(QString, hint);
        load();
        form->StatusBar1->setHint("Exit");
        form->StatusBar1_MouseMove(twips);
        QCOMPARE(form->StatusBar1->panelText(1), hint);
    }

    void theHintFollowsThePointer()
    {
        loadShown();
        QWindow* window = form->windowHandle();
        const auto pointOver = [window](QWidget* widget, QPoint local) {
            return window->mapFromGlobal(widget->mapToGlobal(local));
        };
        QTest::mouseMove(window, pointOver(form->SSCommand1[4], QPoint(5, 5)));
        QTRY_COMPARE(form->StatusBar1->panelText(1), QString("Edit Employees"));
        QTest::mouseMove(window, pointOver(form->client(), QPoint(pixels(100), pixels(2900))));
        QTRY_COMPARE(form->StatusBar1->panelText(1), QString());
        QTest::mouseMove(window, pointOver(form->StatusBar1, QPoint(pixels(2400), 5)));
        QTRY_COMPARE(form->StatusBar1->panelText(1), QString("Right-click for options"));
        QTest::mouseMove(window, pointOver(form->StatusBar1, QPoint(pixels(3600), 5)));
        QTRY_COMPARE(form->StatusBar1->panelText(1), QString());
    }
};

QTEST_MAIN(TimerFormTest)
#include "TimerFormTest.moc"
