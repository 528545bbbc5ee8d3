#include "clients/Client.h"
#include "clients/ClientData.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"
#include "timing/TimerForm.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

using namespace horalog;
using horalog::test::itemsOf;

namespace
{

const QString kQuoteRule = "Quotation marks cannot be entered here.  Use apostrophies.";

// Brings `text` into the box as the user would: typed, pasted from the clipboard or dropped.
void bring(QLineEdit* box, const QString& how, const QString& text)
{
    if (how == "typed") {
        QTest::keyClicks(box, text);
    } else if (how == "pasted") {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else {
        QMimeData data;
        data.setText(text);
        const QPoint at = box->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &drop);
    }
}

} // namespace

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

    void aDoubleQuoteIsRefusedHoweverItArrives_data()
    {
        QTest::addColumn<bool>("inEditor");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");
        for (const bool inEditor : {false, true}) {
            const char* window = inEditor ? "editor" : "list";
            QTest::addRow("%s, typed", window) << inEditor << "typed"
                                               << "\"";
            QTest::addRow("%s, pasted", window) << inEditor << "pasted"
                                                << "Say \"Hi\"";
            QTest::addRow("%s, dropped", window) << inEditor << "dropped"
                                                 << "Say \"Hi\"";
        }
    }

    // However it arrives, the quote is refused once and the text stays as it was; what is left
    // is added, or saved as the editor closes, without another word.
    void aDoubleQuoteIsRefusedHoweverItArrives()
    {
        QFETCH(bool, inEditor);
        QFETCH(QString, how);
        QFETCH(QString, text);
        openClientList();
        QPointer<ClientData> editor;
        QLineEdit* box = form->AddName;
        if (inEditor) {
            editor = new ClientData(*env->module, nullptr);
            editor->activate();
            box = editor->Text1[0];
        } else {
            QTest::keyClicks(box, "O'Brien");
        }
        const QString before = box->text();
        env->fake.prompter.answer(Answer::Ok);
        bring(box, how, text);
        QTRY_COMPARE(env->fake.prompter.messages.size(), qsizetype(1));
        QCoreApplication::processEvents();
        QCOMPARE(env->fake.prompter.messages.size(), qsizetype(1));
        QCOMPARE(env->fake.prompter.messages.first().text, kQuoteRule);
        QCOMPARE(env->fake.prompter.messages.first().title, QString("Fernwick Labs, Inc."));
        QCOMPARE(box->text(), before);
        if (inEditor)
            editor->SSCommand1[1]->click();
        else
            form->SSCommand1[0]->click();
        QTRY_VERIFY(!editor);
        QCOMPARE(env->scalar("SELECT count(*) FROM Clients WHERE ClientName LIKE '%\"%'").toInt(), 0);
        QCOMPARE(itemsOf(form->ClientList).contains("O'Brien"), !inEditor);
        QCOMPARE(env->fake.prompter.messages.size(), qsizetype(1));
    }

    void removeAsksOnlyWhenEntriesGoWithTheClients_data()
    {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<int>("entriesLeft");
        const QStringList all{"Baker's", "Carver", "Dunmore", "Zenith"};
        QTest::newRow("no entries: no question") << QStringList{"Dunmore"} << QString() << QList<Answer>{}
                                                 << QStringList{"Baker's", "Carver", "Zenith"} << 3;
        QTest::newRow("entries, answered No")
            << QStringList{"Baker's", "Zenith"} << QString() << QList<Answer>{Answer::No} << all << 3;
        QTest::newRow("entries, answered Yes") << QStringList{"Baker's", "Dunmore", "Zenith"} << QString()
                                               << QList<Answer>{Answer::Yes} << QStringList{"Carver"} << 1;
        // The data file refuses the second removal: the first one is undone with it.
        QTest::newRow("refused midway: none removed")
            << QStringList{"Baker's", "Dunmore", "Zenith"}
            << R"(CREATE TRIGGER Refuse BEFORE DELETE ON Clients WHEN (SELECT count(*) FROM Clients) < 4
                  BEGIN SELECT RAISE(ABORT, 'refused'); END)"
            << QList<Answer>{Answer::Yes, Answer::Ok} << all << 3;
    }

    void removeAsksOnlyWhenEntriesGoWithTheClients()
    {
        QFETCH(QStringList, selected);
        QFETCH(QString, fault);
        QFETCH(QList<Answer>, answers);
        QFETCH(QStringList, remaining);
        QFETCH(int, entriesLeft);
        if (!fault.isEmpty())
            env->sql({fault});
        openClientList();
        QVERIFY(test::showActive(form));
        QTest::keyClicks(form->AddName, "Dunmore");
        form->SSCommand1[0]->click();
        select(selected);
        for (const Answer answer : answers)
            env->fake.prompter.answer(answer);
        form->SSCommand1[2]->click();
        QCOMPARE(env->fake.prompter.messages.size(), answers.size());
        if (!answers.isEmpty()) {
            const MessageRequest& question = env->fake.prompter.messages.first();
            QCOMPARE(question.text, QString("Remove %1 client(s) and the 2 time entries recorded for them?  "
                                            "This cannot be undone.")
                                        .arg(selected.size()));
            QCOMPARE(question.title, QString("Horalog"));
            QCOMPARE(question.buttons, MessageButtons::YesNo);
            QCOMPARE(question.defaultAnswer, Answer::No);
        }
        QStringList stored;
        for (const char* name : {"Baker's", "Carver", "Dunmore", "Zenith"}) {
            if (env->scalar("SELECT count(*) FROM Clients WHERE ClientName = ?", {name}).toInt() == 1)
                stored << name;
        }
        QCOMPARE(stored, remaining);
        QCOMPARE(itemsOf(form->ClientList), remaining);
        QCOMPARE(itemsOf(timer->ClientList), remaining);
        QCOMPARE(env->count("Times"), entriesLeft);
        QCOMPARE(form->SSCommand1[2]->hasFocus(), fault.isEmpty());
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
        env->fake.prompter.answer(Answer::Yes);
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

    void editorRefusesANamelessClient_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("emptied") << "";
        QTest::newRow("blanks") << "   ";
    }

    // A nameless client would take over the entries recorded without a client: the editor keeps
    // what was typed and writes nothing until a name is given, and the data file refuses one too.
    void editorRefusesANamelessClient()
    {
        QFETCH(QString, typed);
        env->sql({R"(INSERT INTO Times (EmployeeID, Client, Project, Task, "Start Time") VALUES
                     (1, '', 'none', 'n', '2026-12-04 09:00:00'))"});
        auto* editor = new ClientData(*env->module, nullptr);
        editor->activate();
        QVERIFY(test::showActive(editor));
        editor->Text1[0]->selectAll();
        QTest::keyClick(editor->Text1[0], Qt::Key_Delete);
        QTest::keyClicks(editor->Text1[0], typed);
        env->fake.prompter.answer(Answer::Ok);
        editor->SSCommand1[1]->click();
        QVERIFY(editor->isVisible());
        QCOMPARE(env->fake.prompter.messages.size(), qsizetype(1));
        QCOMPARE(env->fake.prompter.messages.first().text,
                 QString("A client must have a name.  Type it in the Client box."));
        QCOMPARE(env->fake.prompter.messages.first().title, QString("Horalog"));
        QCOMPARE(editor->Text1[0]->text(), typed);
        QVERIFY(editor->Text1[0]->hasFocus());
        QCOMPARE(env->scalar("SELECT count(*) FROM Clients WHERE ClientName = ?", {"Baker's"}).toInt(), 1);
        QCOMPARE(env->scalar("SELECT count(*) FROM Times WHERE Client = ?", {"Baker's"}).toInt(), 1);

        QTest::keyClicks(editor->Text1[0], "Bakery");
        editor->SSCommand1[1]->click();
        QTRY_VERIFY(!editor->isVisible());
        QCOMPARE(env->scalar("SELECT count(*) FROM Times WHERE Client = ?", {typed + "Bakery"}).toInt(), 1);
        QCOMPARE(env->scalar("SELECT count(*) FROM Times WHERE Client = ''").toInt(), 1);
        for (const char* statement : {"INSERT INTO Clients (ClientName) VALUES (?)",
                                      "UPDATE Clients SET ClientName = ? WHERE ClientName = 'Carver'"}) {
            QVERIFY_THROWS_EXCEPTION(RuntimeError, env->scalar(statement, {typed}));
        }
        QCOMPARE(env->count("Clients"), 3);
    }

    void closingTheListProposesTheClientsWorkUnlessTiming_data()
    {
        QTest::addColumn<bool>("timing");
        QTest::addColumn<QString>("project");
        QTest::newRow("no timing: proposed") << false << "C";
        QTest::newRow("timing: typed text stays") << true << "typed";
    }

    void closingTheListProposesTheClientsWorkUnlessTiming()
    {
        QFETCH(bool, timing);
        QFETCH(QString, project);
        if (timing)
            timer->SSCommand1[0]->click();
        timer->Project->setText("typed");
        timer->Task->setText("typed");
        test::whenShown<Client>(this, [](Client* list) { list->SSCommand1[3]->click(); });
        timer->SSCommand1[1]->click();
        QTRY_VERIFY(!timer->findChild<Client*>());
        QCOMPARE(timer->ClientList->currentText(), QString("Carver"));
        QCOMPARE(timer->Project->text(), project);
        QCOMPARE(timer->Task->text(), timing ? QString("typed") : QString("c"));
        QCOMPARE(timer->isTiming(), timing);
        if (timing)
            timer->SSCommand1[0]->click();
    }

    // The "&Client" menu and the "&Close" button share their key: the menu comes first, and the
    // key pressed again in the open menu reaches the button.
    void altCOpensTheClientMenuThenReachesClose()
    {
        openClientList();
        QVERIFY(test::showActive(form));
        form->AddName->setFocus();
        QTest::keyClick(form->AddName, Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), form->ClientMenu);
        QTest::keyClick(form->ClientMenu, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!form->ClientMenu->isVisible());
        QVERIFY(form->SSCommand1[3]->hasFocus());
        QVERIFY(form->isVisible());
        QTest::keyClick(form->SSCommand1[3], Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), form->ClientMenu);
        form->ClientMenu->close();
    }

    // A name stored with a quote by an older version shows, and the editor moves and closes over it
    // without a word; changed, the name must lose the quote before it is written.
    void editorLetsAStoredQuoteBeButRefusesItInAChangedName()
    {
        env->sql({R"(INSERT INTO Clients (ClientName) VALUES ('Ace "Top"'))"});
        auto* editor = new ClientData(*env->module, nullptr);
        editor->activate();
        QCOMPARE(editor->Text1[0]->text(), QString("Ace \"Top\""));
        QVERIFY(editor->Data1->moveNext());
        QVERIFY(editor->Data1->movePrevious());
        QVERIFY(env->fake.prompter.messages.isEmpty());

        QTest::keyClicks(editor->Text1[0], " Co");
        env->fake.prompter.answer(Answer::Ok);
        QVERIFY(!editor->Data1->moveNext());
        QCOMPARE(env->fake.prompter.messages.first().text, kQuoteRule);
        QCOMPARE(editor->Text1[0]->text(), QString("Ace \"Top\" Co"));
        QCOMPARE(env->scalar("SELECT count(*) FROM Clients WHERE ClientName = ?", {"Ace \"Top\""}).toInt(),
                 1);

        editor->Text1[0]->selectAll();
        QTest::keyClicks(editor->Text1[0], "Ace Top Co");
        editor->close();
        QCOMPARE(env->scalar("SELECT count(*) FROM Clients WHERE ClientName = ?", {"Ace Top Co"}).toInt(), 1);
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
