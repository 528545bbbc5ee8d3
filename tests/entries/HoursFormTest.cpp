#include "entries/HoursForm.h"
#include "entries/EditForm.h"
#include "reports/ReportOption.h"
#include "store/Sql.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace horalog;
using horalog::test::itemsOf;

Q_DECLARE_METATYPE(horalog::store::EntryFilter)

namespace
{

// Recorded out of date order; two lie just outside the first half of December, one has no employee
// and its client in other letters, and one has no values at all.
const QStringList kEntries{
    R"(INSERT INTO Employees (LastName, FirstName) VALUES ('Carver', 'Ben'), ('Adams', 'Cy'), ('Brandt', 'Alice'))",
    R"(INSERT INTO Clients (ClientName) VALUES ('Acme'), ('Baker''s'), ('The "Q" Co'), ('zenith'))",
    R"(INSERT INTO Times (ID, EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours,
        Billable) VALUES
        (1, 1, 'Acme', 'Web', 'Launch', '2026-12-15', '2026-12-15 09:00:00', '2026-12-15 10:15:00', 1.25, 1),
        (2, 2, 'Baker''s', 'Bread', 'Ovens', '2026-12-01', '2026-12-01 08:00:00', '2026-12-01 10:00:00', 2, 0),
        (3, 3, 'The "Q" Co', 'Audit', 'Ledger', '2026-12-05', '2026-12-05 13:00:00', '2026-12-05 13:30:00', 0.5, 1),
        (4, 1, 'Acme', 'Web', 'Old', '2026-11-30', '2026-11-30 09:00:00', '2026-11-30 10:00:00', 1, 1),
        (5, 1, 'zenith', 'Web', 'Late', '2026-12-16', '2026-12-16 09:00:00', '2026-12-16 10:00:00', 1, 1),
        (6, 0, 'acme', 'Web', 'Nobody', '2026-12-10', '2026-12-10 09:00:00', '2026-12-10 12:00:00', 3, 0),
        (7, 3, 'Baker''s', 'Bread', 'Flour', '2026-12-03', '2026-12-03 14:00:00', '2026-12-03 14:45:00', 0.75, 1))",
    "INSERT INTO Times DEFAULT VALUES",
};

const QString kLine1 = "12/15/26    1.25\t Acme";
const QString kLine2 = "12/01/26    2.00\t Baker's";
const QString kLine3 = "12/05/26    0.50\t The \"Q\" Co";
const QString kLine6 = "12/10/26    3.00\t acme";
const QString kLine7 = "12/03/26    0.75\t Baker's";

} // namespace

// The hours list of the first half of December 2026, over report options that are not shown.
class HoursFormTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QPointer<ReportOption> options;
    QPointer<HoursForm> hours;

    void chooseFilters(const QString& client, bool billable, const QString& employee)
    {
        options = new ReportOption(*env->module);
        options->Combo1->setCurrentIndex(options->Combo1->findText(client));
        if (billable)
            options->Option2[1]->click();
        if (!employee.isNull()) {
            options->Check1->click();
            options->DBCombo1->setCurrentIndex(options->DBCombo1->findText(employee));
        }
        env->module->ReportStartDate = QDateTime(QDate(2026, 12, 1), QTime(0, 0));
        env->module->ReportEndDate = QDateTime(QDate(2026, 12, 15), QTime(23, 59, 59));
    }

    void openHours(const QString& client = "All", bool billable = false, const QString& employee = {})
    {
        chooseFilters(client, billable, employee);
        hours = new HoursForm(*env->module, *options);
        hours->show();
    }

    QPoint centreOfLine(int line) const
    {
        return hours->TimeList->visualItemRect(hours->TimeList->item(line)).center();
    }

    void clickLine(int line, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(hours->TimeList->viewport(), Qt::LeftButton, modifiers, centreOfLine(line));
    }

    // As the window system sends a double click: a click, then a second press as a double click.
    void doubleClickLine(int line)
    {
        QWidget* list = hours->TimeList->viewport();
        QTest::mouseClick(list, Qt::LeftButton, {}, centreOfLine(line));
        QTest::mouseDClick(list, Qt::LeftButton, {}, centreOfLine(line));
        QTest::mouseRelease(list, Qt::LeftButton, {}, centreOfLine(line));
    }

    void select(const QList<int>& lines)
    {
        hours->TimeList->clearSelection();
        for (int line : lines)
            hours->TimeList->item(line)->setSelected(true);
    }

  private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql(kEntries);
        env->module->openTaskDatabase();
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void listsThePeriodInEntryOrder_data()
    {
        QTest::addColumn<QString>("client");
        QTest::addColumn<bool>("billable");
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("everything, both ends of the period")
            << "All" << false << QString() << QStringList{kLine1, kLine2, kLine3, kLine6, kLine7}
            << QList<int>{1, 2, 3, 6, 7};
        QTest::newRow("billable") << "All" << true << QString() << QStringList{kLine1, kLine3, kLine7}
                                  << QList<int>{1, 3, 7};
        QTest::newRow("one employee")
            << "All" << false << "Brandt, Alice" << QStringList{kLine3, kLine7} << QList<int>{3, 7};
        QTest::newRow("client in any letter case")
            << "Acme" << false << QString() << QStringList{kLine1, kLine6} << QList<int>{1, 6};
        QTest::newRow("client with an apostrophe")
            << "Baker's" << false << QString() << QStringList{kLine2, kLine7} << QList<int>{2, 7};
        QTest::newRow("client with double quotes")
            << "The \"Q\" Co" << false << QString() << QStringList{kLine3} << QList<int>{3};
        QTest::newRow("all three") << "Baker's" << true << "Brandt, Alice" << QStringList{kLine7}
                                   << QList<int>{7};
        QTest::newRow("nothing") << "zenith" << false << QString() << QStringList{} << QList<int>{};
    }

    void listsThePeriodInEntryOrder()
    {
        QFETCH(QString, client);
        QFETCH(bool, billable);
        QFETCH(QString, employee);
        QFETCH(QStringList, lines);
        QFETCH(QList<int>, ids);
        openHours(client, billable, employee);
        QCOMPARE(hours->windowTitle(), QString("Hours"));
        QCOMPARE(itemsOf(hours->TimeList), lines);
        QCOMPARE(hours->EntryIDs, ids);
        QVERIFY(test::showActive(hours));
        hours->TimeList->setFocus();
        QCOMPARE(hours->TimeList->currentRow(), -1);
        QVERIFY(env->fake.prompter.messages.isEmpty());
        QVERIFY(!QApplication::overrideCursor());
    }

    void noEmployeeChosenIsReported()
    {
        env->fake.prompter.answer(Answer::Ok);
        openHours("All", false, "");
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        const MessageRequest& box = env->fake.prompter.messages.first();
        QCOMPARE(box.text,
                 QString("Error 3075 has occurred.  \"Individual Employee\" is checked, but no employee "
                         "is chosen.\rContact Fernwick for assistance."));
        QCOMPARE(box.title, QString("Fernwick Labs, Inc."));
        QCOMPARE(box.icon, MessageIcon::Critical);
        QCOMPARE(hours->TimeList->count(), 0);
        QVERIFY(!QApplication::overrideCursor());
    }

    // Every filter reads the period through the day index, so the cost follows the period, not the file.
    void theListReadsOnlyThePeriod_data()
    {
        QTest::addColumn<store::EntryFilter>("filter");
        store::EntryFilter period{QDate(2026, 12, 1), QDate(2026, 12, 15), {}, false, {}};
        QTest::newRow("period") << period;
        store::EntryFilter employee = period;
        employee.employeeId = 3;
        QTest::newRow("employee") << employee;
        store::EntryFilter client = period;
        client.client = "Acme";
        QTest::newRow("client") << client;
        store::EntryFilter all = employee;
        all.client = "Acme";
        all.billableOnly = true;
        QTest::newRow("all filters") << all;
    }

    void theListReadsOnlyThePeriod()
    {
        QFETCH(store::EntryFilter, filter);
        const store::Statement statement = store::listedEntriesStatement(filter);
        const QString plan =
            store::queryPlan(env->module->TaskDatabase(), statement.sql, statement.values).join('\n');
        QVERIFY2(plan.contains("USING INDEX TimesByDay (DateToday>? AND DateToday<?)"), qPrintable(plan));
        QVERIFY2(!plan.contains("SCAN"), qPrintable(plan));
    }

    void totalAddsTheSelectedLines()
    {
        openHours();
        env->fake.prompter.answer(Answer::Ok);
        env->fake.prompter.answer(Answer::Ok);
        select({0, 1, 2});
        QVERIFY(test::press(hours->SSCommand1[1]));
        select({});
        QVERIFY(test::trigger(hours->ViewMenuItem[1]));
        QCOMPARE(env->fake.prompter.messages.size(), 2);
        QCOMPARE(env->fake.prompter.messages[0].text, QString("3.75"));
        QCOMPARE(env->fake.prompter.messages[0].title, QString("Total Hours"));
        QCOMPARE(env->fake.prompter.messages[0].icon, MessageIcon::None);
        QCOMPARE(env->fake.prompter.messages[1].text, QString("0.00"));
    }

    void totalOfAnEmptyListSaysNothing()
    {
        openHours("zenith");
        QVERIFY(test::press(hours->SSCommand1[1]));
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    void detailShowsTheCurrentEntry()
    {
        openHours();
        env->fake.prompter.answer(Answer::Ok);
        env->fake.prompter.answer(Answer::Ok);
        doubleClickLine(2);
        doubleClickLine(3);
        QCOMPARE(env->fake.prompter.messages.size(), 2);
        const MessageRequest& detail = env->fake.prompter.messages[0];
        QCOMPARE(detail.title, QString("Detail"));
        QCOMPARE(detail.icon, MessageIcon::None);
        QCOMPARE(detail.text,
                 QString("Employee:   Brandt, Alice\rClient:\t   The \"Q\" Co\rProject:\t   Audit\r"
                         "Task:\t   Ledger\rDate:\t   12/5/26\rStart:\t   1:00 pm\rEnd:\t   1:30 pm\r"
                         "Hours:\t   0.50\rBillable:\t   Yes"));
        QVERIFY(env->fake.prompter.messages[1].text.startsWith("Employee:   \rClient:\t   acme\r"));
        QVERIFY(env->fake.prompter.messages[1].text.endsWith("Billable:\t   No"));
    }

    void deleteTakesTheCurrentEntryOnly()
    {
        openHours();
        clickLine(0);
        clickLine(2, Qt::ControlModifier);
        QCOMPARE(hours->TimeList->selectedItems().size(), 2);
        env->fake.prompter.answer(Answer::No);
        QVERIFY(test::trigger(hours->DeleteMenuItem));
        QCOMPARE(hours->TimeList->count(), 5);
        const MessageRequest& question = env->fake.prompter.messages.first();
        QCOMPARE(question.text, QString("Are you sure you wish to delete this record?"));
        QCOMPARE(question.title, QString("Horalog"));
        QCOMPARE(question.buttons, MessageButtons::YesNo);
        QCOMPARE(question.icon, MessageIcon::Question);
        QCOMPARE(question.defaultAnswer, Answer::No);

        env->fake.prompter.answer(Answer::Yes);
        QVERIFY(test::trigger(hours->DeleteMenuItem));
        QCOMPARE(itemsOf(hours->TimeList), (QStringList{kLine1, kLine2, kLine6, kLine7}));
        QCOMPARE(hours->EntryIDs, (QList<int>{1, 2, 6, 7}));
        QCOMPARE(hours->TimeList->currentRow(), -1);
        QCOMPARE(env->scalar("SELECT count(*) FROM Times WHERE ID = 3").toInt(), 0);
        QCOMPARE(env->count("Times"), 7);

        // Nothing is current after the refill, so nothing more is deleted.
        QVERIFY(test::trigger(hours->DeleteMenuItem));
        QCOMPARE(env->count("Times"), 7);
    }

    void aFailedDeleteIsReportedAndCanBeRetried()
    {
        openHours();
        clickLine(1);
        env->sql({"CREATE TRIGGER Refuse BEFORE DELETE ON Times BEGIN SELECT RAISE(ABORT, 'disk I/O'); END"});
        env->fake.prompter.answer(Answer::Yes);
        env->fake.prompter.answer(Answer::Ok);
        QVERIFY(test::trigger(hours->DeleteMenuItem));
        const MessageRequest& report = env->fake.prompter.messages.last();
        QVERIFY2(report.text.startsWith("Error ") &&
                     report.text.endsWith("\rContact Fernwick for assistance."),
                 qPrintable(report.text));
        QCOMPARE(hours->TimeList->count(), 5);
        QCOMPARE(env->count("Times"), 8);

        env->sql({"DROP TRIGGER Refuse"});
        env->fake.prompter.answer(Answer::Yes);
        QVERIFY(test::trigger(hours->DeleteMenuItem));
        QCOMPARE(itemsOf(hours->TimeList), (QStringList{kLine1, kLine3, kLine6, kLine7}));
        QCOMPARE(env->count("Times"), 7);
    }

    void anEmptyListHasNothingToDeleteOrEdit()
    {
        openHours("zenith");
        env->fake.prompter.answer(Answer::Ok);
        env->fake.prompter.answer(Answer::Ok);
        QVERIFY(test::trigger(hours->DeleteMenuItem));
        QVERIFY(test::trigger(hours->TaskEditMenuItem));
        QCOMPARE(env->fake.prompter.messages.size(), 2);
        QCOMPARE(env->fake.prompter.messages[0].text, QString("No tasks to delete."));
        QCOMPARE(env->fake.prompter.messages[1].text, QString("No tasks to edit."));
        for (const MessageRequest& box : env->fake.prompter.messages) {
            QCOMPARE(box.title, QString("Horalog"));
            QCOMPARE(box.icon, MessageIcon::Information);
        }
    }

    void onlyAltLeftClickAndCtrlKEdit_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("edits");
        QTest::newRow("Alt+left click") << "alt-left" << true;
        QTest::newRow("Ctrl+K") << "ctrl-k" << true;
        QTest::newRow("Alt+right click") << "alt-right" << false;
        QTest::newRow("Ctrl+Alt+left click") << "ctrl-alt-left" << false;
        QTest::newRow("left click") << "left" << false;
    }

    void onlyAltLeftClickAndCtrlKEdit()
    {
        QFETCH(QString, gesture);
        QFETCH(bool, edits);
        openHours();
        QVERIFY(test::showActive(hours));
        clickLine(0);
        int editedLine = -1;
        QObject watch;
        test::whenShown<EditForm>(&watch, [&](EditForm* editor) {
            editedLine = hours->TimeList->currentRow();
            test::press(editor->SSCommand1);
        });
        QWidget* list = hours->TimeList->viewport();
        if (gesture == "alt-left")
            QTest::mouseClick(list, Qt::LeftButton, Qt::AltModifier, centreOfLine(3));
        else if (gesture == "ctrl-k")
            QTest::keyClick(hours->TimeList, Qt::Key_K, Qt::ControlModifier);
        else if (gesture == "alt-right")
            QTest::mouseClick(list, Qt::RightButton, Qt::AltModifier, centreOfLine(3));
        else if (gesture == "ctrl-alt-left")
            QTest::mouseClick(list, Qt::LeftButton, Qt::AltModifier | Qt::ControlModifier, centreOfLine(3));
        else
            QTest::mouseClick(list, Qt::LeftButton, {}, centreOfLine(3));
        QCOMPARE(editedLine, edits ? (gesture == "ctrl-k" ? 0 : 3) : -1);
        QCOMPARE(itemsOf(hours->TimeList), (QStringList{kLine1, kLine2, kLine3, kLine6, kLine7}));
    }
};

QTEST_MAIN(HoursFormTest)
#include "HoursFormTest.moc"
