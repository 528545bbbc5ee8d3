#include "entries/EditForm.h"
#include "controls/SpinButton.h"
#include "entries/HoursForm.h"
#include "reports/ReportOption.h"
#include "store/Sql.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace horalog;
using horalog::test::itemsOf;

namespace
{

const QString kRefusal = "A Start Time may not be greater than an End Time.";

QVariant stored(const QDateTime& moment)
{
    return moment.isValid() ? QVariant(moment.toString("yyyy-MM-dd HH:mm:ss")) : QVariant();
}

} // namespace

// The editor opened from line 1 of an hours list of every entry; line 0 is another entry.
class EditFormTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QPointer<ReportOption> options;
    QPointer<HoursForm> hours;
    QPointer<EditForm> editor;

    void addEntry(const QDateTime& start, const QDateTime& end, double storedHours, const QString& day)
    {
        store::execute(env->module->TaskDatabase(),
                       R"(INSERT INTO Times (ID, EmployeeID, Client, Project, Task, DateToday, "Start Time",
                          "End Time", Hours, Billable) VALUES (7, 1, 'Acme', 'Web', 'Launch', ?, ?, ?, ?, 0))",
                       {day, stored(start), stored(end), storedHours});
    }

    void openEditor()
    {
        options = new ReportOption(*env->module);
        env->module->ReportStartDate = QDateTime(QDate(1990, 1, 1), QTime(0, 0));
        env->module->ReportEndDate = QDateTime(QDate(2030, 12, 31), QTime(23, 59, 59));
        hours = new HoursForm(*env->module, *options);
        hours->show();
        hours->TimeList->setCurrentRow(1);
        editor = new EditForm(*env->module, *hours, 1);
        editor->loadEntry(hours->EntryIDs[1]);
        editor->show();
    }

    QVariant field(const QString& name) const
    {
        return env->scalar(QString("SELECT \"%1\" FROM Times WHERE ID = 7").arg(name));
    }

    SpinButton* spinButton(int spin, int index) const
    {
        const std::array<std::array<SpinButton*, 2>, 4> spins{editor->SpinButton0, editor->SpinButton1,
                                                              editor->SpinButton2, editor->SpinButton3};
        return spins[size_t(spin)][size_t(index)];
    }

  private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql({
            R"(INSERT INTO Employees (LastName, FirstName) VALUES ('Carver', 'Ben'), ('Adams', 'Cy'),
                ('Brandt', 'Alice'))",
            R"(INSERT INTO Clients (ClientName) VALUES ('Acme'), ('Baker''s'), ('zenith'))",
            R"(INSERT INTO Times (ID, EmployeeID, Client, DateToday, "Start Time", "End Time", Hours) VALUES
                (1, 2, 'zenith', '1996-01-02', '1996-01-02 09:00:00', '1996-01-02 10:00:00', 1))",
        });
        env->module->openTaskDatabase();
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void spinButtonsStepStartAndEnd_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<int>("spin");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("refusals");
        QTest::addColumn<QDateTime>("newStart");
        QTest::addColumn<QDateTime>("newEnd");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("hoursShown");
        const auto at = [](int m, int d, int h, int min, int s = 0) {
            return QDateTime(QDate(1996, m, d), QTime(h, min, s));
        };
        // `shown` is Start Date, Start Time, End Date and End Time as the boxes show them.
        QTest::newRow("end minute up")
            << at(3, 5, 9, 0) << at(3, 5, 10, 30) << 3 << 1 << true << 1 << 0 << at(3, 5, 9, 0)
            << at(3, 5, 10, 31) << "3/5/96 9:00 AM 3/5/96 10:31 AM"
            << "1.52";
        QTest::newRow("same minute, end minute down refused")
            << at(3, 5, 9, 15, 40) << at(3, 5, 9, 15, 10) << 3 << 1 << false << 1 << 1 << at(3, 5, 9, 15, 40)
            << at(3, 5, 9, 15, 10) << "3/5/96 9:15 AM 3/5/96 9:15 AM"
            << "0.00";
        QTest::newRow("start month up into a leap February, then refused")
            << at(1, 31, 8, 0) << at(2, 29, 17, 0) << 0 << 0 << true << 2 << 1 << at(2, 29, 8, 0)
            << at(2, 29, 17, 0) << "2/29/96 8:00 AM 2/29/96 5:00 PM"
            << "9.00";
        QTest::newRow("start minute up over midnight")
            << at(3, 5, 23, 59) << at(3, 6, 1, 0) << 1 << 1 << true << 1 << 0 << at(3, 6, 0, 0)
            << at(3, 6, 1, 0) << "3/6/96 12:00 AM 3/6/96 1:00 AM"
            << "1.00";
        QTest::newRow("end day up over a month end")
            << at(3, 31, 9, 0) << at(3, 31, 17, 0) << 2 << 1 << true << 1 << 0 << at(3, 31, 9, 0)
            << at(4, 1, 17, 0) << "3/31/96 9:00 AM 4/1/96 5:00 PM"
            << "32.00";
        QTest::newRow("end hour down to the start's minute")
            << at(3, 5, 9, 0, 50) << at(3, 5, 10, 0, 10) << 3 << 0 << false << 1 << 0 << at(3, 5, 9, 0, 50)
            << at(3, 5, 9, 0, 10) << "3/5/96 9:00 AM 3/5/96 9:00 AM"
            << "0.00";
        QTest::newRow("start hour up past the end refused")
            << at(3, 5, 9, 0) << at(3, 5, 9, 59) << 1 << 0 << true << 1 << 1 << at(3, 5, 9, 0)
            << at(3, 5, 9, 59) << "3/5/96 9:00 AM 3/5/96 9:59 AM"
            << "0.98";
        QTest::newRow("no end: the arrows do nothing")
            << at(3, 5, 9, 0) << QDateTime() << 3 << 1 << true << 1 << 0 << at(3, 5, 9, 0) << QDateTime()
            << "3/5/96 9:00 AM  "
            << "0.00";
    }

    void spinButtonsStepStartAndEnd()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        QFETCH(int, spin);
        QFETCH(int, index);
        QFETCH(bool, up);
        QFETCH(int, presses);
        QFETCH(int, refusals);
        QFETCH(QDateTime, newStart);
        QFETCH(QDateTime, newEnd);
        QFETCH(QString, shown);
        QFETCH(QString, hoursShown);
        addEntry(start, end, 0, start.date().toString(Qt::ISODate));
        openEditor();
        for (int i = 0; i < refusals; ++i)
            env->fake.prompter.answer(Answer::Ok);
        SpinButton* spinButton = this->spinButton(spin, index);
        for (int i = 0; i < presses; ++i)
            QTest::mouseClick(up ? spinButton->upArrow() : spinButton->downArrow(), Qt::LeftButton);

        QCOMPARE(env->fake.prompter.messages.size(), refusals);
        for (const MessageRequest& box : env->fake.prompter.messages) {
            QCOMPARE(box.text, kRefusal);
            QCOMPARE(box.title, QString("Horalog"));
            QCOMPARE(box.icon, MessageIcon::Critical);
        }
        QCOMPARE(QStringList({editor->Text1[2]->text(), editor->Text2[0]->text(), editor->Text2[1]->text(),
                              editor->Text2[2]->text()})
                     .join(' '),
                 shown);
        QCOMPARE(editor->Hours->text(), hoursShown);

        QVERIFY(test::press(editor->SSCommand1));
        QTRY_VERIFY(!editor);
        QCOMPARE(field("Start Time").toString(), stored(newStart).toString());
        QCOMPARE(field("End Time").toString(), stored(newEnd).toString());
        QCOMPARE(field("End Time").isNull(), !newEnd.isValid());
        QCOMPARE(field("DateToday").toString(), newStart.date().toString(Qt::ISODate));
        QCOMPARE(field("Hours").toDouble(), hoursShown.toDouble());
        QCOMPARE(hours->TimeList->item(1)->text(),
                 newStart.toString("MM/dd/yy") + "    " + hoursShown + "\t Acme");
        QCOMPARE(hours->TimeList->currentRow(), 1);
    }

    // Opening the editor recomputes the hours and the day from start and end; however it is closed,
    // they are stored and the line shows them, and nothing else is written.
    void closingUntouchedStoresTheRecomputedValues_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Close button") << "button";
        QTest::newRow("File > Close") << "menu";
        QTest::newRow("close box") << "window";
    }

    void closingUntouchedStoresTheRecomputedValues()
    {
        QFETCH(QString, way);
        addEntry(QDateTime(QDate(1996, 3, 5), QTime(9, 0, 30)),
                 QDateTime(QDate(1996, 3, 5), QTime(10, 30, 10)), 2, "1996-03-04");
        openEditor();
        QCOMPARE(hours->TimeList->item(1)->text(), QString("03/04/96    2.00\t Acme"));
        QCOMPARE(editor->Hours->text(), QString("1.50"));
        QCOMPARE(editor->Text1[2]->text(), QString("3/5/96"));
        QCOMPARE(editor->DBCombo1->currentText(), QString("Carver, Ben"));
        QCOMPARE(editor->DBCombo2->currentText(), QString("Acme"));
        QCOMPARE(editor->Text1[0]->text(), QString("Web"));
        QVERIFY(!editor->Check1->isChecked());
        if (way == "button")
            QVERIFY(test::press(editor->SSCommand1));
        else if (way == "menu")
            QVERIFY(test::trigger(editor->CloseMenuItem));
        else
            editor->close();
        QTRY_VERIFY(!editor);
        QCOMPARE(field("Hours").toDouble(), 1.5);
        QCOMPARE(field("DateToday").toString(), QString("1996-03-05"));
        QCOMPARE(field("Start Time").toString(), QString("1996-03-05 09:00:30"));
        QCOMPARE(field("Project").toString(), QString("Web"));
        QCOMPARE(field("EmployeeID").toInt(), 1);
        QCOMPARE(itemsOf(hours->TimeList),
                 (QStringList{"01/02/96    1.00\t zenith", "03/05/96    1.50\t Acme"}));
        QCOMPARE(hours->TimeList->currentRow(), 1);
        QCOMPARE(hours->EntryIDs, (QList<int>{1, 7}));
    }

    void choicesAndTypedValuesAreWritten()
    {
        addEntry(QDateTime(QDate(1996, 3, 5), QTime(9, 0)), QDateTime(QDate(1996, 3, 5), QTime(10, 0)), 1,
                 "1996-03-05");
        openEditor();
        QCOMPARE(itemsOf(editor->DBCombo1), (QStringList{"Adams, Cy", "Brandt, Alice", "Carver, Ben"}));
        QCOMPARE(itemsOf(editor->DBCombo2), (QStringList{"Acme", "Baker's", "zenith"}));
        editor->DBCombo1->setCurrentIndex(1);
        editor->DBCombo2->setCurrentIndex(1);
        editor->Text1[1]->selectAll();
        QTest::keyClicks(editor->Text1[1], "Dough");
        editor->Check1->click();
        QVERIFY(test::press(editor->SSCommand1));
        QTRY_VERIFY(!editor);
        QCOMPARE(field("EmployeeID").toInt(), 3);
        QCOMPARE(field("Client").toString(), QString("Baker's"));
        QCOMPARE(field("Task").toString(), QString("Dough"));
        QCOMPARE(field("Project").toString(), QString("Web"));
        QCOMPARE(field("Billable").toInt(), 1);
        QCOMPARE(hours->TimeList->item(1)->text(), QString("03/05/96    1.00\t Baker's"));
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    void aFailedWriteKeepsTheEditorAndItsEdits()
    {
        addEntry(QDateTime(QDate(1996, 3, 5), QTime(9, 0)), QDateTime(QDate(1996, 3, 5), QTime(10, 0)), 1,
                 "1996-03-05");
        openEditor();
        QTest::mouseClick(editor->SpinButton3[1]->upArrow(), Qt::LeftButton);
        env->sql({"CREATE TRIGGER Refuse BEFORE UPDATE ON Times BEGIN SELECT RAISE(ABORT, 'disk I/O'); END"});
        env->fake.prompter.answer(Answer::Ok);
        env->fake.prompter.answer(Answer::No);
        QVERIFY(test::press(editor->SSCommand1));
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(env->fake.prompter.messages.size(), 2);
        QVERIFY(env->fake.prompter.messages[0].text.startsWith("Error "));
        QCOMPARE(env->fake.prompter.messages[1].buttons, MessageButtons::YesNo);
        QCOMPARE(editor->Text2[2]->text(), QString("10:01 AM"));
        QCOMPARE(hours->TimeList->item(1)->text(), QString("03/05/96    1.00\t Acme"));

        env->sql({"DROP TRIGGER Refuse"});
        QVERIFY(test::press(editor->SSCommand1));
        QTRY_VERIFY(!editor);
        QCOMPARE(field("End Time").toString(), QString("1996-03-05 10:01:00"));
        QCOMPARE(field("Hours").toDouble(), 1.02);
        QCOMPARE(hours->TimeList->item(1)->text(), QString("03/05/96    1.02\t Acme"));
    }
};

QTEST_MAIN(EditFormTest)
#include "EditFormTest.moc"
