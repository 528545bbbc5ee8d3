#include "clients/Client.h"
#include "clients/ClientData.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"
#include "timing/TimerForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace horalog;
using horalog::test::itemsOf;

// The client list and the record editor, with the main window whose client box follows them.
class ClientTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QPointer<TimerForm> timer;
    QPointer<Client> form;

    void openClientList()
    {
        form = new Client(*env->module);
        form->activate();
    }

    void select(const QStringList& names)
    {
        for (int i = 0; i < form->ClientList->count(); ++i)
            form->ClientList->item(i)->setSelected(names.contains(form->ClientList->item(i)->text()));
    }

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql({
            "INSERT INTO Employees (LastName, FirstName) VALUES ('Brandt', 'Alice')",
            R"(INSERT INTO Clients (ClientName, City) VALUES ('Zenith', 'Zurich'), ('Baker''s', 'Boston'),
                ('Carver', 'Cork'))",
            R"(INSERT INTO Times (EmployeeID, Client, Project, Task, "Start Time") VALUES
                (1, 'Zenith', 'Z', 'z', '2026-12-01 09:00:00'), (1, 'Baker''s', 'B', 'b', '2026-12-02 09:00:00'),
                (1, 'Carver', 'C', 'c', '2026-12-03 09:00:00'))",
        });
        timer = new TimerForm(*env->module);
        env->module->SelectedClient = timer->ClientList->currentText();
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void addedClientShowsInBothListsInOrder()
    {
        QCOMPARE(timer->ClientList->currentText(), QString("Carver"));
        openClientList();
        QVERIFY(test::showActive(form));
        QTest::keyClicks(form->AddName, "acme");
        form->SSCommand1_Click(0);
        const QStringList expected{"acme", "Baker's", "Carver", "Zenith"};
        QCOMPARE(itemsOf(form->ClientList), expected);
        QCOMPARE(itemsOf(timer->ClientList), expected);
        QCOMPARE(timer->ClientList->currentText(), QString("Carver"));
        QCOMPARE(form->AddName->text(), QString());
        QVERIFY(form->AddName->hasFocus());
        QCOMPARE(env->count("Clients"), 4);
    }

    void addWithAnEmptyBoxOnlyFocusesIt()
    {
        openClientList();
        QVERIFY(test::showActive(form));
        form->SSCommand1[2]->setFocus();
        form->SSCommand1_Click(0);
        QVERIFY(form->AddName->hasFocus());
        QCOMPARE(env->count("Clients"), 3);
    }

    void aTakenNameIsRefusedAndKept()
    {
        openClientList();
        QTest::keyClicks(form->AddName, "ZENITH");
        env->fake.prompter.answer(Answer::Ok);
        form->SSCommand1_Click(0);
        QCOMPARE(env->fake.prompter.messages.first().text,
                 QString("There is already a client named ZENITH."));
        QCOMPARE(env->count("Clients"), 3);
        QCOMPARE(form->AddName->text(), QString("ZENITH"));
    }

    void aDoubleQuoteIsRefusedAnApostropheIsNot()
    {
        openClientList();
        env->fake.prompter.answer(Answer::Ok);
        QTest::keyClicks(form->AddName, "O\"Brien's");
        QCOMPARE(form->AddName->text(), QString("OBrien's"));
        const MessageRequest& box = env->fake.prompter.messages.first();
        QCOMPARE(box.text, QString("Quotation marks cannot be entered here.  Use apostrophies."));
        QCOMPARE(box.title, QString("Fernwick Labs, Inc."));
    }

    void removeTakesEverySelectedClientWithItsEntries()
    {
        openClientList();
        QVERIFY(test::showActive(form));
        select({"Baker's", "Zenith"});
        form->SSCommand1_Click(2);
        QCOMPARE(itemsOf(form->ClientList), QStringList{"Carver"});
        QCOMPARE(itemsOf(timer->ClientList), QStringList{"Carver"});
        QCOMPARE(env->count("Times"), 1);
        QCOMPARE(env->scalar("SELECT Client FROM Times").toString(), QString("Carver"));
        QVERIFY(form->SSCommand1[2]->hasFocus());
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    void closeHandsTheChoiceBackAndRestoresOnTop()
    {
        timer->FloatMenuItem->setChecked(true);
        bool onTopWhileOpen = true;
        test::whenShown<Client>(this, [&](Client* list) {
            onTopWhileOpen = timer->FloatMenuItem->isChecked();
            list->SSCommand1_Click(3);
        });
        timer->SSCommand1_Click(1);
        QVERIFY(!onTopWhileOpen);
        QCOMPARE(timer->ClientList->currentText(), QString("Carver"));
        QVERIFY(timer->FloatMenuItem->isChecked());
        QVERIFY(!env->module->RestoreOnTop);
    }

    void menuShortcutsWorkWhileTypingAName()
    {
        openClientList();
        QVERIFY(test::showActive(form));
        form->AddName->setFocus();
        QTest::keyClicks(form->AddName, "Dunmore");
        // Ctrl+A is also a text box's "select all"; here it is Client > Add.
        QTest::keyClick(form->AddName, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(itemsOf(form->ClientList), (QStringList{"Baker's", "Carver", "Dunmore", "Zenith"}));
    }

    void removingTheChosenClientLeavesNoChoice()
    {
        openClientList();
        select({"Carver"});
        form->SSCommand1_Click(2);
        form->SSCommand1_Click(3);
        QCOMPARE(timer->ClientList->currentIndex(), -1);
    }

    // A timing must not lose its client because the list was closed with its close box.
    void theCloseBoxKeepsTheMainWindowsChoice()
    {
        openClientList();
        QTest::keyClicks(form->AddName, "Dunmore");
        form->SSCommand1_Click(0);
        form->close();
        QCOMPARE(timer->ClientList->currentText(), QString("Carver"));
        QCOMPARE(timer->ClientList->count(), 4);
    }

    void editorOpensOnTheCurrentLineOrTheFirstClient_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("caption");
        QTest::newRow("current line") << 1 << "Carver"
                                      << "2 of 3";
        QTest::newRow("no current line") << -1 << "Baker's"
                                         << "1 of 3";
    }

    void editorOpensOnTheCurrentLineOrTheFirstClient()
    {
        QFETCH(int, line);
        QFETCH(QString, shown);
        QFETCH(QString, caption);
        openClientList();
        form->ClientList->setCurrentRow(line);
        auto* editor = new ClientData(*env->module, form->ClientList);
        editor->activate();
        QCOMPARE(editor->Text1[0]->text(), shown);
        QCOMPARE(editor->Data1->caption(), caption);
    }

    void editorFindOffersTheLastTextAndStaysWithoutMatch()
    {
        auto* editor = new ClientData(*env->module, nullptr);
        editor->activate();
        env->fake.prompter.answerText("RV");
        editor->EditMenuItem_Click(1);
        QCOMPARE(editor->Text1[0]->text(), QString("Carver"));
        env->fake.prompter.answerText("nobody");
        editor->SSCommand1_Click(0);
        QCOMPARE(env->fake.prompter.inputs[1].defaultText, QString("RV"));
        QCOMPARE(env->fake.prompter.inputs[1].prompt, QString("Enter all or part of Client Name."));
        QCOMPARE(env->fake.prompter.inputs[1].title, QString("Horalog 96"));
        QCOMPARE(editor->Text1[0]->text(), QString("Carver"));
        QCOMPARE(editor->FindText, QString("nobody"));
    }

    void editorDeleteAsksAndTakesTheEntries()
    {
        auto* editor = new ClientData(*env->module, nullptr);
        editor->activate();
        env->fake.prompter.answer(Answer::No);
        editor->EditMenuItem_Click(0);
        QCOMPARE(env->count("Clients"), 3);
        QCOMPARE(env->fake.prompter.messages.first().text,
                 QString("Warning!  All tasks recorded for this client will also be deleted.\rDo you wish to "
                         "continue?"));
        env->fake.prompter.answer(Answer::Yes);
        editor->EditMenuItem_Click(0);
        QCOMPARE(env->scalar("SELECT count(*) FROM Times WHERE Client = 'Baker''s'").toInt(), 0);
        QCOMPARE(env->count("Clients"), 2);
        QCOMPARE(env->count("Times"), 2);
        QCOMPARE(editor->Text1[0]->text(), QString("Carver"));
        QCOMPARE(editor->Data1->caption(), QString("1 of 2"));
    }

    void renamingTheChosenClientCarriesTheNameEverywhere()
    {
        openClientList();
        form->ClientList->setCurrentRow(1);
        auto* editor = new ClientData(*env->module, form->ClientList);
        editor->activate();
        editor->Text1[0]->selectAll();
        QTest::keyClicks(editor->Text1[0], "Carver & Sons");
        editor->close();
        form->activate();
        QCOMPARE(itemsOf(form->ClientList), (QStringList{"Baker's", "Carver & Sons", "Zenith"}));
        QCOMPARE(env->scalar("SELECT count(*) FROM Times WHERE Client = 'Carver & Sons'").toInt(), 1);
        form->SSCommand1_Click(3);
        QCOMPARE(timer->ClientList->currentText(), QString("Carver & Sons"));
    }

    void editorRefusesADoubleQuoteInTheName()
    {
        auto* editor = new ClientData(*env->module, nullptr);
        editor->activate();
        editor->Text1[0]->setText("Say \"Hi\"");
        editor->Text1[0]->setModified(true);
        env->fake.prompter.answer(Answer::Ok);
        editor->Data1->moveNext();
        QCOMPARE(editor->Data1->position(), 0);
        QCOMPARE(env->fake.prompter.messages.first().text,
                 QString("Quotation marks cannot be entered here.  Use apostrophies."));
        QCOMPARE(env->scalar("SELECT count(*) FROM Clients WHERE ClientName LIKE 'Say%'").toInt(), 0);
    }

    void editorPhoneBoxesStartAfterTheParenthesisButNotTheZip()
    {
        auto* editor = new ClientData(*env->module, nullptr);
        editor->activate();
        QVERIFY(test::showActive(editor));
        QLineEdit* voice = editor->MaskEdBox1[1];
        voice->setCursorPosition(0);
        voice->setFocus();
        QTRY_COMPARE(voice->cursorPosition(), 1);
        QLineEdit* zip = editor->MaskEdBox1[0];
        zip->setCursorPosition(0);
        zip->setFocus();
        QTest::qWait(0);
        QCOMPARE(zip->cursorPosition(), 0);
    }

    void editorLoadFailureHasItsOwnMessage()
    {
        test::TestEnvironment unopened;
        unopened.fake.prompter.answer(Answer::Ok);
        auto* editor = new ClientData(*unopened.module, nullptr);
        QVERIFY(unopened.fake.prompter.messages.first().text.startsWith("Error "));
        QVERIFY(unopened.fake.prompter.messages.first().text.contains(" has ocurred.  "));
        QCOMPARE(unopened.fake.prompter.messages.first().title, QString("Horalog"));
        delete editor;
    }
};

QTEST_MAIN(ClientTest)
#include "ClientTest.moc"
