#include "timing/ShutdownRecovery.h"
#include "store/Sql.h"
#include "support/TestEnvironment.h"
#include "timing/TimerForm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace horalog;

namespace
{

const QString kSessionEndQuestion =
    "This Windows session is closing and a task is in progress.  Do you wish to continue the timing of the "
    "current task after Windows restarts?";
const QString kCancelQuestion =
    "You are about to cancel the timing of this task.  Do you really want to do this?";
const QString kResumeQuestion =
    "A task was cancelled when Windows was last ended.  Do you wish to continue the timing of the task?";

// Brandt's newest entry (Acme, Web, Launch, billable) is what the window shows after its load.
const QStringList kFile{
    "INSERT INTO Employees (LastName, FirstName) VALUES ('Brandt', 'Alice'), ('Carver', 'Ben')",
    "INSERT INTO Clients (ClientName) VALUES ('Acme'), ('zenith'), ('baker''s')",
    R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours,
        Billable) VALUES
        (2, 'zenith', 'Audit', 'Ledger', '2026-12-03', '2026-12-03 10:00:00', '2026-12-03 11:30:00', 1.5, 0),
        (1, 'Acme', 'Web', 'Launch', '2026-12-09', '2026-12-09 13:05:00', '2026-12-09 14:20:30', 1.25, 1))",
};

QDateTime on(int day, int hour, int minute = 0, int second = 0)
{
    return {QDate(2026, 12, day), QTime(hour, minute, second)};
}

} // namespace

class ShutdownRecoveryTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QPointer<TimerForm> form;
    std::unique_ptr<MainModule> nextStart;

    void at(const QDateTime& moment) { env->fake.clock.current = moment; }

    TimerForm* load()
    {
        form = new TimerForm(*env->module);
        return form;
    }

    // The program starts again after the one whose window `form` was ended without a close step.
    TimerForm* loadAfterKill()
    {
        delete form;
        nextStart = std::make_unique<MainModule>(env->fake.platform, env->reg);
        form = new TimerForm(*nextStart);
        return form;
    }

    QString stored(const QString& name) const { return env->settingOnDisk(name); }

    void store(const QMap<QString, QString>& values) const
    {
        for (auto value = values.cbegin(); value != values.cend(); ++value)
            env->reg.SetKeyValue(kHoralogKey, value.key(), value.value(), REG_SZ);
    }

    QStringList boxTexts() const
    {
        QStringList texts;
        for (const MessageRequest& box : env->fake.prompter.messages)
            texts << box.text;
        return texts;
    }

    QString newestStart()
    {
        return env->scalar(R"(SELECT "Start Time" FROM Times ORDER BY ID DESC LIMIT 1)").toString();
    }

    void stopAt(const QDateTime& moment)
    {
        at(moment);
        QVERIFY(form->isTiming());
        QTest::mouseClick(form->SSCommand1[0], Qt::LeftButton);
        QVERIFY(!form->isTiming());
    }

  private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql(kFile);
    }

    // A window left open goes without its close steps, as a killed program's does.
    void cleanup()
    {
        delete form;
        nextStart.reset();
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // `how` the window is asked to close: "session" (the session manager may ask the user, then
    // the session closes the window), "signal" (SIGTERM: nobody is asked, the program ends at once)
    // or "close" (any other close).
    void closingQuestion_data()
    {
        QTest::addColumn<bool>("timing");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        const QList<Answer> none;
        QTest::newRow("idle, session ends") << false << "session" << none << QStringList() << true << false;
        QTest::newRow("session ends, Yes")
            << true << "session" << QList{Answer::Yes} << QStringList{kSessionEndQuestion} << true << true;
        QTest::newRow("session ends, No then Yes")
            << true << "session" << QList{Answer::No, Answer::Yes}
            << QStringList{kSessionEndQuestion, kCancelQuestion} << true << false;
        QTest::newRow("session ends, No then No")
            << true << "session" << QList{Answer::No, Answer::No}
            << QStringList{kSessionEndQuestion, kCancelQuestion} << false << false;
        QTest::newRow("session ends, nobody to ask")
            << true << "signal" << none << QStringList() << true << true;
        QTest::newRow("idle, nobody to ask") << false << "signal" << none << QStringList() << true << false;
        QTest::newRow("plain close, Yes")
            << true << "close" << QList{Answer::Yes} << QStringList{kCancelQuestion} << true << false;
        QTest::newRow("plain close, No")
            << true << "close" << QList{Answer::No} << QStringList{kCancelQuestion} << false << false;
    }

    void closingQuestion()
    {
        QFETCH(bool, timing);
        QFETCH(QString, how);
        QFETCH(QList<Answer>, answers);
        QFETCH(QStringList, questions);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        load();
        form->FloatMenuItem->setChecked(true);
        at(on(10, 9, 0, 42));
        if (timing)
            form->SSCommand1_Click(0);
        QCOMPARE(stored("Running/Active"), timing ? QString("True") : QString());
        for (Answer answer : answers)
            env->fake.prompter.answer(answer);

        if (how == "signal") {
            form->endedBySignal();
            QCOMPARE(env->fake.process.exits, 1);
        } else if (how == "session") {
            QCOMPARE(form->endOfSession(true), closes);
            // The session closes the window once it really ends; nothing more is asked then.
            if (closes)
                QVERIFY(form->close());
        } else {
            QCOMPARE(form->close(), closes);
        }
        QCOMPARE(boxTexts(), questions);
        // The window's close steps ran when it closed.
        QCOMPARE(stored("OnTop"), closes ? QString("True") : QString("False"));
        QCOMPARE(stored("Cancelled"), saved ? QString("True") : QString());
        if (saved) {
            const QStringList names{"User",      "Client",    "Project", "Task",
                                    "StartTime", "StartDate", "Billable"};
            const QStringList values{"Brandt, Alice",    "Acme",     "Web", "Launch",
                                     "12/10/26 9:00 AM", "12/10/26", "1"};
            for (int i = 0; i < names.size(); ++i)
                QCOMPARE(stored(names[i]), values[i]);
        }
        QCOMPARE(stored("Running/Active"), timing ? QString(closes ? "False" : "True") : QString());
        QCOMPARE(env->count("Times"), 2);
        if (!closes)
            QVERIFY(form->isTiming());
    }

    // A session may save its state and go on (or another program refuses its end): the timing goes
    // on, and once it is recorded nothing waits for the next start.
    void aSessionThatGoesOnKeepsTheTiming()
    {
        load();
        at(on(10, 9, 0));
        form->SSCommand1_Click(0);
        env->fake.prompter.answer(Answer::Yes);
        QVERIFY(form->endOfSession(true));
        QCOMPARE(stored("Cancelled"), QString("True"));
        QVERIFY(form->isTiming());
        QVERIFY(form->endOfSession(true));
        form->activate();
        QCOMPARE(env->fake.prompter.messages.size(), 1);

        stopAt(on(10, 10, 0));
        QCOMPARE(newestStart(), QString("2026-12-10 09:00:00"));
        QCOMPARE(stored("Cancelled"), QString("False"));
        QCOMPARE(stored("Running/Active"), QString("False"));
        loadAfterKill()->activate();
        QCOMPARE(env->fake.prompter.messages.size(), 1);
    }

    // The session closes a question nobody answered; the timing it offered waits for the next start.
    void aQuestionTheSessionClosedIsNotAnAnswer()
    {
        store({{"Cancelled", "True"}, {"StartTime", "12/10/26 9:00 AM"}, {"StartDate", "12/10/26"}});
        load();
        env->fake.prompter.answer(Answer::No);
        env->fake.prompter.duringNextMessage = [this] { form->endOfSession(true); };
        form->activate();
        QCOMPARE(boxTexts(), QStringList{kResumeQuestion});
        QCOMPARE(stored("Cancelled"), QString("True"));
        QVERIFY(!form->isTiming());
    }

    void resumeAfterTheSessionEnded_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("cancelled");
        QTest::newRow("Yes") << Answer::Yes << "True";
        QTest::newRow("No") << Answer::No << "True";
        QTest::newRow("neither true nor false") << Answer::Ok << "Maybe";
    }

    void resumeAfterTheSessionEnded()
    {
        QFETCH(Answer, answer);
        QFETCH(QString, cancelled);
        store({{"Cancelled", cancelled},
               {"User", "Carver, Ben"},
               {"Client", "baker's"},
               {"Project", "Bread"},
               {"Task", "Ovens"},
               {"StartTime", "12/10/26 9:00 PM"},
               {"StartDate", "12/10/26"},
               {"Billable", "1"}});
        if (answer != Answer::Ok)
            env->fake.prompter.answer(answer);
        at(on(11, 8, 30, 15));
        load()->activate();

        QCOMPARE(boxTexts(), answer == Answer::Ok ? QStringList() : QStringList{kResumeQuestion});
        if (answer != Answer::Ok) {
            const MessageRequest& box = env->fake.prompter.messages.first();
            QCOMPARE(box.title, QString("Horalog 96"));
            QCOMPARE(box.icon, MessageIcon::Question);
            QCOMPARE(box.buttons, MessageButtons::YesNo);
        }
        QCOMPARE(stored("Cancelled"), QString("False"));
        QCOMPARE(form->isTiming(), answer == Answer::Yes);
        form->activate();
        QCOMPARE(env->fake.prompter.messages.size(), answer == Answer::Ok ? 0 : 1);
        if (answer != Answer::Yes)
            return;

        QCOMPARE(form->EmployeeList->currentText(), QString("Carver, Ben"));
        QCOMPARE(env->module->CurrentEmployeeID, 2);
        QCOMPARE(form->ClientList->currentText(), QString("baker's"));
        QCOMPARE(form->Project->text(), QString("Bread"));
        QCOMPARE(form->Task->text(), QString("Ovens"));
        QCOMPARE(form->StartTime->text(), QString("9:00 PM"));
        QCOMPARE(form->DateToday->text(), QString("12/10/26"));
        QCOMPARE(form->EndTime->text(), QString());
        QCOMPARE(form->Hours->text(), QString());
        QVERIFY(form->Billable->isChecked());
        // A kill of the resumed timing still keeps the saved start.
        QCOMPARE(stored("Running/StartTime"), QString("2026-12-10 21:00:00"));

        stopAt(on(11, 9, 15));
        QCOMPARE(newestStart(), QString("2026-12-10 21:00:00"));
        QCOMPARE(env->scalar("SELECT Hours FROM Times ORDER BY ID DESC LIMIT 1").toDouble(), 12.25);
        QCOMPARE(env->scalar("SELECT DateToday FROM Times ORDER BY ID DESC LIMIT 1").toString(),
                 QString("2026-12-10"));
        QCOMPARE(env->scalar("SELECT Client FROM Times ORDER BY ID DESC LIMIT 1").toString(),
                 QString("baker's"));
    }

    void resumeSkipsWhatCanNoLongerBeUsed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("client");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("day");
        QTest::addColumn<bool>("billable");
        QTest::newRow("employee gone") << "User"
                                       << "Nobody, Ned"
                                       << "Brandt, Alice"
                                       << "baker's"
                                       << "2026-12-10 21:00:00"
                                       << "12/10/26" << true;
        QTest::newRow("client gone") << "Client"
                                     << "Gone Inc"
                                     << "Carver, Ben"
                                     << "zenith"
                                     << "2026-12-10 21:00:00"
                                     << "12/10/26" << true;
        QTest::newRow("start unreadable") << "StartTime"
                                          << "yesterday evening"
                                          << "Carver, Ben"
                                          << "baker's"
                                          << "2026-12-11 08:30:15"
                                          << "12/10/26" << true;
        QTest::newRow("start ahead of now") << "StartTime"
                                            << "12/12/26 9:00 PM"
                                            << "Carver, Ben"
                                            << "baker's"
                                            << "2026-12-11 08:30:15"
                                            << "12/10/26" << true;
        QTest::newRow("date unreadable") << "StartDate"
                                         << "tenth"
                                         << "Carver, Ben"
                                         << "baker's"
                                         << "2026-12-10 21:00:00"
                                         << "12/11/26" << true;
        QTest::newRow("billable no number") << "Billable"
                                            << "yes"
                                            << "Carver, Ben"
                                            << "baker's"
                                            << "2026-12-10 21:00:00"
                                            << "12/10/26" << false;
    }

    void resumeSkipsWhatCanNoLongerBeUsed()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, employee);
        QFETCH(QString, client);
        QFETCH(QString, start);
        QFETCH(QString, day);
        QFETCH(bool, billable);
        QMap<QString, QString> saved{{"Cancelled", "True"},     {"User", "Carver, Ben"},
                                     {"Client", "baker's"},     {"Project", "Bread"},
                                     {"Task", "Ovens"},         {"StartTime", "12/10/26 9:00 PM"},
                                     {"StartDate", "12/10/26"}, {"Billable", "1"}};
        saved[name] = value;
        store(saved);
        env->fake.prompter.answer(Answer::Yes);
        at(on(11, 8, 30, 15));
        load()->activate();

        QCOMPARE(boxTexts(), QStringList{kResumeQuestion});
        QVERIFY(form->isTiming());
        QCOMPARE(stored("Cancelled"), QString("False"));
        QCOMPARE(form->EmployeeList->currentText(), employee);
        QCOMPARE(form->ClientList->currentText(), client);
        QCOMPARE(form->Project->text(), QString("Bread"));
        QCOMPARE(form->DateToday->text(), day);
        QCOMPARE(form->Billable->isChecked(), billable);
        stopAt(on(11, 9, 15));
        QCOMPARE(newestStart(), start);
    }

    void theCenturyOfASavedStartIsTheNearest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("start");
        const QDateTime newYear(QDate(2031, 1, 2), QTime(8, 0));
        QTest::newRow("last year, in the next century of two digits")
            << "12/31/30 11:00 PM" << newYear << QDateTime(QDate(2030, 12, 31), QTime(23, 0));
        QTest::newRow("over the turn of a century")
            << "12/31/99 11:59 PM" << QDateTime(QDate(2100, 1, 1), QTime(0, 5))
            << QDateTime(QDate(2099, 12, 31), QTime(23, 59));
        QTest::newRow("noon") << "8/26/96 12:04 PM" << newYear << QDateTime(QDate(1996, 8, 26), QTime(12, 4));
        QTest::newRow("midnight") << "8/26/26 12:04 am" << newYear
                                  << QDateTime(QDate(2026, 8, 26), QTime(0, 4));
        QTest::newRow("four-digit year")
            << "8/26/1996 7:04 PM" << newYear << QDateTime(QDate(1996, 8, 26), QTime(19, 4));
        QTest::newRow("no such day") << "2/30/26 7:04 PM" << newYear << QDateTime();
        QTest::newRow("no such hour") << "2/3/26 13:04 PM" << newYear << QDateTime();
        QTest::newRow("no time") << "2/3/26" << newYear << QDateTime();
    }

    void theCenturyOfASavedStartIsTheNearest()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, start);
        QCOMPARE(parseSavedStart(text, now), start);
    }

    void anInterruptedTimingIsOffered_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("Yes") << Answer::Yes;
        QTest::newRow("No") << Answer::No;
    }

    // The program is killed while timing: its window goes without any close step.
    void anInterruptedTimingIsOffered()
    {
        QFETCH(Answer, answer);
        at(on(10, 9, 0, 17));
        load()->activate();
        QVERIFY(choose(form->ClientList, "zenith"));
        form->Billable->setChecked(false);
        form->SSCommand1_Click(0);

        env->fake.prompter.answer(answer);
        at(on(10, 11, 0));
        loadAfterKill()->activate();
        QCOMPARE(boxTexts(), QStringList{"Horalog was ended while a task was being timed (started 12/10/26 "
                                         "9:00 AM).  Do you wish to continue the timing of the task?"});
        const MessageRequest& box = env->fake.prompter.messages.first();
        QCOMPARE(box.title, QString("Horalog 96"));
        QCOMPARE(box.icon, MessageIcon::Question);
        QCOMPARE(box.buttons, MessageButtons::YesNo);
        QCOMPARE(form->isTiming(), answer == Answer::Yes);
        QCOMPARE(stored("Cancelled"), answer == Answer::Yes ? QString() : QString("False"));
        QCOMPARE(stored("Running/Active"), answer == Answer::Yes ? QString("True") : QString("False"));
        form->activate();
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        if (answer == Answer::No)
            return;
        QCOMPARE(form->ClientList->currentText(), QString("zenith"));
        QVERIFY(!form->Billable->isChecked());
        QCOMPARE(form->StartTime->text(), QString("9:00 AM"));
        stopAt(on(10, 11, 30));
        QCOMPARE(newestStart(), QString("2026-12-10 09:00:17"));
        QCOMPARE(env->scalar("SELECT Hours FROM Times ORDER BY ID DESC LIMIT 1").toDouble(), 2.5);
        QCOMPARE(stored("Running/Active"), QString("False"));
    }

    void nothingWaitsAfterAStopOrWhileAnotherWindowTimes()
    {
        load();
        at(on(10, 9, 0));
        form->SSCommand1_Click(0);
        // Another Horalog starting now finds the timing alive: it asks nothing.
        MainModule otherStart(env->fake.platform, env->reg);
        {
            TimerForm other(otherStart);
            other.activate();
            QVERIFY(!other.isTiming());
        }
        QVERIFY(env->fake.prompter.messages.isEmpty());
        stopAt(on(10, 9, 30));
        QCOMPARE(stored("Running/Active"), QString("False"));
        loadAfterKill()->activate();
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    void aSavedTimingWaitsWhileThereIsNoDataFile()
    {
        store({{"Cancelled", "True"}, {"StartTime", "12/10/26 9:00 AM"}, {"StartDate", "12/10/26"}});
        QVERIFY(QFile::remove(env->dataFile()));
        env->fake.prompter.answer(Answer::Ok);
        load()->activate();
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        QCOMPARE(stored("Cancelled"), QString("True"));
    }

    void theSessionEndCopyComesFirst()
    {
        store({{"Cancelled", "True"}, {"StartTime", "12/10/26 9:00 AM"}, {"StartDate", "12/10/26"}});
        QVERIFY(env->reg.SetKeyValuesDurably(
            kHoralogKey, {{"Running/Active", "True"}, {"Running/StartTime", "2026-12-10 07:00:00"}}));
        env->fake.prompter.answer(Answer::No);
        load()->activate();
        QCOMPARE(boxTexts(), QStringList{kResumeQuestion});
        QCOMPARE(stored("Running/Active"), QString("False"));
        form->activate();
        QCOMPARE(env->fake.prompter.messages.size(), 1);
    }

  private:
    static bool choose(QComboBox* list, const QString& text)
    {
        const int index = list->findText(text, Qt::MatchExactly);
        if (index >= 0)
            list->setCurrentIndex(index);
        return index >= 0;
    }
};

QTEST_MAIN(ShutdownRecoveryTest)
#include "ShutdownRecoveryTest.moc"
