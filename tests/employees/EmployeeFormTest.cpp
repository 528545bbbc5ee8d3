#include "employees/EmployeeForm.h"
#include "app/AboutForm.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"
#include "timing/TimerForm.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using namespace horalog;

class EmployeeFormTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QPointer<TimerForm> timer;
    QPointer<EmployeeForm> form;

    void retype(QLineEdit* box, const QString& text)
    {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql({
            R"(INSERT INTO Employees (LastName, FirstName, Phone, "Social Security") VALUES
                ('Brandt', 'Alice', '(207) 555-0142', '123-45-6789'), ('Carver', 'Ben', '', ''),
                ('Adams', 'Cy', '(800) 555-0000', '987-65-4321'))",
            "INSERT INTO Clients (ClientName) VALUES ('Acme')",
            R"(INSERT INTO Times (EmployeeID, Client, Project, Task, "Start Time") VALUES
                (1, 'Acme', 'P', 'T', '2026-12-01 09:00:00'), (2, 'Acme', 'P', 'T', '2026-12-02 09:00:00'))",
            "INSERT INTO ALARMS (EmployeeID, AlarmDescription) VALUES (1, 'call'), (2, 'lunch')",
        });
        timer = new TimerForm(*env->module);
        form = new EmployeeForm(*env->module);
        form->activate();
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void opensOnTheFirstRowWithItsPlaceInTheCaption()
    {
        QCOMPARE(form->Data1->caption(), QString("1 of 3"));
        QCOMPARE(form->Text1[0]->text(), QString("Brandt"));
        QCOMPARE(form->MaskEdBox1[1]->text(), QString("(207) 555-0142"));
        form->Data1->moveLast();
        QCOMPARE(form->Data1->caption(), QString("3 of 3"));
    }

    void aNewEmployeeIsSavedWhenTheBarMoves()
    {
        form->SSCommand1_Click(0);
        QCOMPARE(form->Data1->caption(), QString("4 of 4"));
        QCOMPARE(form->Text1[0]->text(), QString());
        QTest::keyClicks(form->Text1[0], "Dubois");
        QTest::keyClicks(form->Text1[1], "Eve");
        QCOMPARE(env->count("Employees"), 3);
        form->Data1->moveFirst();
        QCOMPARE(env->scalar("SELECT count(*) FROM Employees WHERE LastName = 'Dubois' AND FirstName = 'Eve'")
                     .toInt(),
                 1);
        QCOMPARE(form->Data1->caption(), QString("1 of 4"));
    }

    void bothNamesOrNeither_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("only the last name") << "Brandt"
                                            << "" << false;
        QTest::newRow("only the first name") << ""
                                             << "Alice" << false;
        QTest::newRow("neither") << ""
                                 << "" << true;
        QTest::newRow("both") << "Brandt-Ross"
                              << "Alice" << true;
    }

    void bothNamesOrNeither()
    {
        QFETCH(QString, last);
        QFETCH(QString, first);
        QFETCH(bool, accepted);
        retype(form->Text1[0], last);
        retype(form->Text1[1], first);
        if (!accepted)
            env->fake.prompter.answer(Answer::Ok);
        form->Data1->moveNext();
        QCOMPARE(form->Data1->position(), accepted ? 1 : 0);
        QCOMPARE(env->scalar("SELECT coalesce(LastName, '') FROM Employees WHERE EmployeeID = 1").toString(),
                 accepted ? last : QString("Brandt"));
        if (!accepted) {
            QCOMPARE(env->fake.prompter.messages.size(), 1);
            const MessageRequest& box = env->fake.prompter.messages.first();
            QCOMPARE(box.text,
                     QString("An employee record must have at least, both a last name and a first name."));
            QCOMPARE(box.title, QString("Horalog"));
            QCOMPARE(box.icon, MessageIcon::Information);
            QCOMPARE(form->Text1[0]->text(), last);
            QCOMPARE(form->Text1[1]->text(), first);
        }
    }

    void datesAndPayRateMustConvert_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("hire date") << 2 << "3/15/24"
                                   << "Hire Date"
                                   << "HireDate" << QVariant("2024-03-15");
        QTest::newRow("birthdate") << 8 << "7/2/1984"
                                   << "Birthdate"
                                   << "Birthdate" << QVariant("1984-07-02");
        QTest::newRow("pay rate") << 10 << "$1,200.50"
                                  << "Pay Rate"
                                  << "PayRate" << QVariant(1200.5);
    }

    void datesAndPayRateMustConvert()
    {
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(QString, named);
        QFETCH(QString, field);
        QFETCH(QVariant, stored);
        retype(form->Text1[size_t(box)], "soon");
        env->fake.prompter.answer(Answer::Ok);
        form->Data1->moveNext();
        QCOMPARE(form->Data1->position(), 0);
        QVERIFY(env->fake.prompter.messages.first().text.contains(named));
        QCOMPARE(form->Text1[size_t(box)]->text(), QString("soon"));

        retype(form->Text1[size_t(box)], typed);
        form->Data1->moveNext();
        QCOMPARE(env->scalar(QString("SELECT \"%1\" FROM Employees WHERE EmployeeID = 1").arg(field)),
                 stored);
    }

    void deleteAsksAndTakesTheEmployeesEntriesAndAlarms()
    {
        env->fake.prompter.answer(Answer::No);
        form->EditMenuItem_Click(0);
        QCOMPARE(env->count("Employees"), 3);
        const MessageRequest& question = env->fake.prompter.messages.first();
        QCOMPARE(question.text, QString("Warning!  All tasks recorded for this employee will also be "
                                        "deleted.\rDo you wish to continue?"));
        QCOMPARE(question.defaultAnswer, Answer::No);
        QCOMPARE(question.icon, MessageIcon::Exclamation);

        env->fake.prompter.answer(Answer::Yes);
        form->EditMenuItem_Click(0);
        QCOMPARE(env->scalar("SELECT count(*) FROM Employees WHERE EmployeeID = 1").toInt(), 0);
        QCOMPARE(env->scalar("SELECT count(*) FROM Times WHERE EmployeeID = 1").toInt(), 0);
        QCOMPARE(env->scalar("SELECT count(*) FROM ALARMS WHERE EmployeeID = 1").toInt(), 0);
        QCOMPARE(env->count("Times"), 1);
        QCOMPARE(env->count("ALARMS"), 1);
        QCOMPARE(form->Text1[0]->text(), QString("Carver"));
        QCOMPARE(form->Data1->caption(), QString("1 of 2"));
    }

    void findSearchesTheFieldOfTheFocusedBox_data()
    {
        QTest::addColumn<int>("maskedBox");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("found");
        QTest::newRow("telephone") << 1 << "800"
                                   << "Enter all or part of Telephone."
                                   << "Adams";
        QTest::newRow("social security") << 2 << "65-43"
                                         << "Enter all or part of Soc. Sec. #."
                                         << "Adams";
        QTest::newRow("no match stays") << 1 << "999"
                                        << "Enter all or part of Telephone."
                                        << "Brandt";
    }

    void findSearchesTheFieldOfTheFocusedBox()
    {
        QFETCH(int, maskedBox);
        QFETCH(QString, answer);
        QFETCH(QString, prompt);
        QFETCH(QString, found);
        QVERIFY(test::showActive(form));
        form->MaskEdBox1[size_t(maskedBox)]->setFocus();
        env->fake.prompter.answerText(answer);
        form->EditMenuItem_Click(1);
        QCOMPARE(env->fake.prompter.inputs.first().prompt, prompt);
        QCOMPARE(env->fake.prompter.inputs.first().title, QString("Find"));
        QCOMPARE(form->Text1[0]->text(), found);
    }

    void findWithTheFocusOnAButtonIsAnError()
    {
        QVERIFY(test::showActive(form));
        form->SSCommand1[0]->setFocus();
        env->fake.prompter.answer(Answer::Ok);
        form->EditMenuItem_Click(1);
        QCOMPARE(env->fake.prompter.messages.first().title, QString("Fernwick Labs, Inc."));
        QVERIFY(env->fake.prompter.inputs.isEmpty());
    }

    void enteringTheEmptyTelephoneBoxStartsAfterTheParenthesis()
    {
        QVERIFY(test::showActive(form));
        form->Data1->moveNext();
        QLineEdit* phone = form->MaskEdBox1[1];
        phone->setCursorPosition(0);
        phone->setFocus();
        QTRY_COMPARE(phone->cursorPosition(), 1);
    }

    // Coming back from a message box or another program must not move the bar (a Find would be
    // undone, a refused name would be asked about again and again); coming back from the About box does.
    void activationAfterABoxKeepsTheRowAfterAnotherWindowStartsOver_data()
    {
        QTest::addColumn<QString>("cameFrom");
        QTest::addColumn<QString>("shown");
        QTest::newRow("message box") << "box"
                                     << "Carver";
        QTest::newRow("another program") << "itself"
                                         << "Carver";
        QTest::newRow("about box") << "about"
                                   << "Brandt";
    }

    void activationAfterABoxKeepsTheRowAfterAnotherWindowStartsOver()
    {
        QFETCH(QString, cameFrom);
        QFETCH(QString, shown);
        QEvent activate(QEvent::WindowActivate);
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(form, &activate);
        form->Data1->moveNext();
        QDialog box;
        AboutForm about(*env->module, AboutForm::Mode::Dialog);
        QWidget* left = cameFrom == "box"     ? static_cast<QWidget*>(&box)
                        : cameFrom == "about" ? static_cast<QWidget*>(&about)
                                              : form.data();
        QApplication::sendEvent(left, &deactivate);
        QApplication::sendEvent(form, &activate);
        QCOMPARE(form->Text1[0]->text(), shown);
    }

    void closingRefillsTheMainListAtTheSamePosition()
    {
        timer->EmployeeList->setCurrentIndex(1);
        const int chosenEmployee = env->module->CurrentEmployeeID;
        timer->Project->setText("typed by hand");
        retype(form->Text1[0], "Zimmer");
        form->close();
        QStringList names;
        for (int i = 0; i < timer->EmployeeList->count(); ++i)
            names << timer->EmployeeList->itemText(i);
        QCOMPARE(names, (QStringList{"Adams, Cy", "Carver, Ben", "Zimmer, Alice"}));
        QCOMPARE(timer->EmployeeList->currentIndex(), 1);
        QVERIFY(timer->EmployeeList->isEnabled());
        QCOMPARE(env->module->CurrentEmployeeID, chosenEmployee);
        QCOMPARE(timer->Project->text(), QString("typed by hand"));
    }

    // The window can always be closed: after a failed save the user chooses to keep the edit (the
    // window stays) or to close without it.
    void aFailedSaveOnCloseAsksWhetherToLoseTheEdit()
    {
        const QPointer<EmployeeForm> window = form;
        QVERIFY(test::showActive(form));
        QTest::keyClicks(form->Text1[4], "NewCity");
        QSqlQuery(env->module->TaskDatabase()).exec("PRAGMA query_only = ON");
        env->fake.prompter.answer(Answer::Ok);
        env->fake.prompter.answer(Answer::No);
        form->SSCommand1_Click(1);
        QVERIFY(window && window->isVisible());
        QCOMPARE(form->Text1[4]->text(), QString("NewCity"));
        env->fake.prompter.answer(Answer::Ok);
        env->fake.prompter.answer(Answer::Yes);
        form->SSCommand1_Click(1);
        QTRY_VERIFY(!window);
        QCOMPARE(env->scalar("SELECT count(*) FROM Employees WHERE City = 'NewCity'").toInt(), 0);
    }
};

QTEST_MAIN(EmployeeFormTest)
#include "EmployeeFormTest.moc"
