#include "controls/DataControl.h"
#include "app/RecordForm.h"
#include "support/TestEnvironment.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

using namespace horalog;
using Action = DataControl::Action;

Q_DECLARE_METATYPE(QList<Action>)
Q_DECLARE_METATYPE(horalog::Answer)

// The navigation bar over the clients, sorted by name, with a few boxes bound to their fields.
class DataControlTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QWidget* window = nullptr;
    DataControl* bar = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* voice = nullptr;
    QLineEdit* city = nullptr;

    QString shownName() const { return name->text(); }

    QString rowText(const QString& client)
    {
        return env
            ->scalar("SELECT quote(ClientName) || quote(City) || quote(Voice) FROM Clients "
                     "WHERE ClientName = ?",
                     {client})
            .toString();
    }

    // The program's own connection refuses every write, as a read-only data file does.
    void setReadOnly(bool readOnly)
    {
        QSqlQuery(env->module->TaskDatabase())
            .exec(QStringLiteral("PRAGMA query_only = %1").arg(readOnly ? "ON" : "OFF"));
    }

    static void retype(QLineEdit* box, const QString& text)
    {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql({R"(INSERT INTO Clients (ClientName, City) VALUES ('Zenith', 'Zurich'), ('acme', 'Ames'),
                     ('Baker', 'Boston'))"});
        env->module->openTaskDatabase();
        window = new QWidget;
        bar = new DataControl(window);
        name = new QLineEdit(window);
        voice = new QLineEdit(window);
        voice->setInputMask(QStringLiteral("(999) 999-9999;_"));
        city = new QLineEdit(window);
        bar->bind(name, QStringLiteral("ClientName"));
        bar->bind(voice, QStringLiteral("Voice"), DataControl::FieldKind::Masked);
        bar->bind(city, QStringLiteral("City"));
        bar->setRecordSource(env->module->TaskDatabase(), QStringLiteral("Clients"),
                             QStringLiteral("ClientName"));
    }

    void cleanup()
    {
        delete window;
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void moves_data()
    {
        QTest::addColumn<QList<Action>>("actions");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("position");
        QTest::newRow("opens on the first by name") << QList<Action>{} << "acme" << 0;
        QTest::newRow("next twice") << QList<Action>{Action::MoveNext, Action::MoveNext} << "Zenith" << 2;
        QTest::newRow("next stops at the last")
            << QList<Action>{Action::MoveLast, Action::MoveNext} << "Zenith" << 2;
        QTest::newRow("previous stops at the first") << QList<Action>{Action::MovePrevious} << "acme" << 0;
        QTest::newRow("last then previous")
            << QList<Action>{Action::MoveLast, Action::MovePrevious} << "Baker" << 1;
        QTest::newRow("first after last")
            << QList<Action>{Action::MoveLast, Action::MoveFirst} << "acme" << 0;
    }

    void moves()
    {
        QFETCH(QList<Action>, actions);
        QFETCH(QString, expected);
        QFETCH(int, position);
        QSignalSpy repositioned(bar, &DataControl::Reposition);
        for (Action action : actions) {
            switch (action) {
            case Action::MoveFirst:
                bar->moveFirst();
                break;
            case Action::MovePrevious:
                bar->movePrevious();
                break;
            case Action::MoveNext:
                bar->moveNext();
                break;
            default:
                bar->moveLast();
                break;
            }
        }
        QCOMPARE(shownName(), expected);
        QCOMPARE(bar->position(), position);
        QCOMPARE(bar->rowCount(), 3);
        QCOMPARE(repositioned.count(), actions.size());
    }

    void editsReachTheFileOnlyWhenTheBarMoves()
    {
        QTest::keyClicks(city, QStringLiteral("ville"));
        QCOMPARE(env->scalar("SELECT City FROM Clients WHERE ClientName = 'acme'").toString(),
                 QString("Ames"));
        bar->moveNext();
        QCOMPARE(env->scalar("SELECT City FROM Clients WHERE ClientName = 'acme'").toString(),
                 QString("Amesville"));
        QCOMPARE(shownName(), QString("Baker"));
    }

    void validateMayCancelAndKeepsWhatWasTyped()
    {
        QList<Action> asked;
        bool refuse = true;
        connect(bar, &DataControl::Validate, this, [&](Action action, bool* cancel) {
            asked << action;
            *cancel = refuse;
        });
        QTest::keyClicks(city, QStringLiteral("!"));
        QVERIFY(!bar->moveNext());
        QVERIFY(!bar->addNew());
        QVERIFY(!bar->saveForUnload());
        QCOMPARE(asked, (QList<Action>{Action::MoveNext, Action::AddNew, Action::Unload}));
        QCOMPARE(bar->position(), 0);
        QCOMPARE(city->text(), QString("Ames!"));
        QCOMPARE(env->scalar("SELECT City FROM Clients WHERE ClientName = 'acme'").toString(),
                 QString("Ames"));
        refuse = false;
        QVERIFY(bar->saveForUnload());
        QCOMPARE(env->scalar("SELECT City FROM Clients WHERE ClientName = 'acme'").toString(),
                 QString("Ames!"));
    }

    void addNewSavesOnTheNextMoveAndDropsAnUntouchedRow()
    {
        QVERIFY(bar->addNew());
        QVERIFY(bar->isAdding());
        QCOMPARE(bar->rowCount(), 4);
        QCOMPARE(bar->position(), 3);
        QCOMPARE(shownName(), QString());
        bar->moveFirst();
        QCOMPARE(env->count("Clients"), 3);
        QCOMPARE(bar->rowCount(), 3);

        bar->addNew();
        QTest::keyClicks(name, QStringLiteral("Carver"));
        bar->moveNext();
        QCOMPARE(env->count("Clients"), 4);
        QVERIFY(!bar->isAdding());
        // The saved row takes its place in name order: acme, Baker, Carver, Zenith.
        QCOMPARE(shownName(), QString("Carver"));
        QCOMPARE(bar->position(), 2);
    }

    void renamedRowIsFollowedToItsNewPlace()
    {
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Yardley"));
        bar->moveLast();
        QCOMPARE(shownName(), QString("Zenith"));
        bar->movePrevious();
        QCOMPARE(shownName(), QString("Yardley"));
    }

    void deleteRemovesTheCurrentRow()
    {
        bar->moveNext();
        QVERIFY(bar->deleteCurrent());
        QCOMPARE(env->scalar("SELECT count(*) FROM Clients WHERE ClientName = 'Baker'").toInt(), 0);
        QCOMPARE(bar->rowCount(), 2);
        QCOMPARE(shownName(), QString("Zenith"));
        bar->deleteCurrent();
        bar->deleteCurrent();
        QCOMPARE(bar->position(), -1);
        QCOMPARE(shownName(), QString());
        bar->moveFirst();
        QCOMPARE(bar->position(), -1);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, bar->deleteCurrent());
    }

    void findFirstMovesToTheFirstMatchOrStays()
    {
        const auto cityIs = [](const QString& wanted) {
            return [wanted](const QSqlRecord& row) { return row.value("City").toString() == wanted; };
        };
        bar->findFirst(cityIs("Boston"));
        QCOMPARE(shownName(), QString("Baker"));
        bar->findFirst(cityIs("Nowhere"));
        QCOMPARE(shownName(), QString("Baker"));
    }

    // A write the data file refuses: the report, then the question; No keeps the edit pending for a
    // retry once the fault is gone, Yes goes on without it. Nothing is written half.
    void aFailedWriteAsksAndKeepsOrGivesUpTheEdit_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("giveUp");
        QTest::newRow("read-only file, keep") << true << false;
        QTest::newRow("read-only file, give up") << true << true;
        QTest::newRow("name already taken, keep") << false << false;
        QTest::newRow("name already taken, give up") << false << true;
    }

    void aFailedWriteAsksAndKeepsOrGivesUpTheEdit()
    {
        QFETCH(bool, readOnly);
        QFETCH(bool, giveUp);
        superviseWrites(*env->module, bar);
        const QString before = rowText("acme");
        QTest::keyClicks(city, QStringLiteral("ville"));
        if (readOnly)
            setReadOnly(true);
        else
            retype(name, QStringLiteral("ZENITH"));
        env->fake.prompter.answer(Answer::Ok);
        env->fake.prompter.answer(giveUp ? Answer::Yes : Answer::No);
        QCOMPARE(bar->moveNext(), giveUp);
        QCOMPARE(env->fake.prompter.messages.size(), 2);
        QVERIFY(env->fake.prompter.messages[0].text.startsWith(readOnly ? "Error 3051 has occurred."
                                                                        : "Error 3022 has occurred."));
        QCOMPARE(env->fake.prompter.messages[1].text,
                 QString("The changes to this record could not be saved.  Close anyway and lose them?"));
        QCOMPARE(env->fake.prompter.messages[1].defaultAnswer, Answer::No);
        QCOMPARE(rowText("acme"), before);
        if (giveUp) {
            QCOMPARE(shownName(), QString("Baker"));
            bar->movePrevious();
            QCOMPARE(city->text(), QString("Ames"));
            return;
        }
        QCOMPARE(city->text(), QString("Amesville"));
        QVERIFY(bar->hasPendingEdits());
        if (readOnly)
            setReadOnly(false);
        else
            retype(name, QStringLiteral("Acme"));
        QVERIFY(bar->moveNext());
        QCOMPARE(env->scalar("SELECT City FROM Clients WHERE ClientName = 'Acme'").toString(),
                 QString("Amesville"));
    }

    void closingAfterAFailedWriteAsksOnce()
    {
        superviseWrites(*env->module, bar);
        QTest::keyClicks(city, QStringLiteral("ville"));
        setReadOnly(true);
        env->fake.prompter.answer(Answer::Ok);
        env->fake.prompter.answer(Answer::No);
        QVERIFY(!bar->saveForUnload());
        env->fake.prompter.answer(Answer::Ok);
        env->fake.prompter.answer(Answer::Yes);
        QVERIFY(bar->saveForUnload());
        QCOMPARE(env->scalar("SELECT City FROM Clients WHERE ClientName = 'acme'").toString(),
                 QString("Ames"));
    }

    // Every path that reads the rows again keeps every row in view, well past the first block.
    void longTablesStayWholeAfterEveryRead_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("orderBy");
        QTest::newRow("employees") << "Employees"
                                   << "LastName"
                                   << "";
        QTest::newRow("clients") << "Clients"
                                 << "ClientName"
                                 << "ClientName";
    }

    void longTablesStayWholeAfterEveryRead()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, orderBy);
        env->sql(
            {"DELETE FROM Clients",
             QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
                            "INSERT INTO %1 (%2) SELECT printf('Row %03d', i) FROM n")
                 .arg(table, field)});
        auto* box = new QLineEdit(window);
        auto* other = new DataControl(window);
        other->bind(box, field);
        other->setRecordSource(env->module->TaskDatabase(), table, orderBy);
        QCOMPARE(other->rowCount(), 600);
        QVERIFY(other->deleteCurrent());
        QCOMPARE(other->rowCount(), 599);
        QTest::keyClicks(box, QStringLiteral("!"));
        other->moveLast();
        QCOMPARE(box->text(), QString("Row 600"));
        QCOMPARE(other->position(), 598);
        other->findFirst([&](const QSqlRecord& row) { return row.value(field).toString() == "Row 555"; });
        QCOMPARE(box->text(), QString("Row 555"));
        other->refresh();
        QCOMPARE(other->rowCount(), 599);
        QCOMPARE(
            env->scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = 'Row 002!'").arg(table, field))
                .toInt(),
            1);
    }

    // A box that was not edited leaves its field exactly as stored, whatever the box would make of it.
    void onlyEditedFieldsAreWritten()
    {
        env->sql({R"(INSERT INTO Employees (LastName, FirstName, City, ZIP, Phone, PayRate, HireDate, Notes)
                     VALUES ('Brandt', 'Alice', 'Bath', 'K1A 0B1', '2075550142', 12.345, '3/15/24', NULL))"});
        const QString quoted = "SELECT quote(LastName) || quote(FirstName) || quote(ZIP) || quote(Phone) || "
                               "quote(PayRate) || quote(HireDate) || quote(Notes) FROM Employees";
        const QString before = env->scalar(quoted).toString();
        auto* employees = new DataControl(window);
        std::map<QString, QLineEdit*> boxes;
        const std::pair<const char*, DataControl::FieldKind> fields[] = {
            {"LastName", DataControl::FieldKind::Text}, {"FirstName", DataControl::FieldKind::Text},
            {"City", DataControl::FieldKind::Text},     {"ZIP", DataControl::FieldKind::Masked},
            {"Phone", DataControl::FieldKind::Masked},  {"PayRate", DataControl::FieldKind::Amount},
            {"HireDate", DataControl::FieldKind::Date}};
        for (const auto& [field, kind] : fields) {
            auto* box = new QLineEdit(window);
            if (kind == DataControl::FieldKind::Masked)
                box->setInputMask(QStringLiteral("99999-9999;_"));
            employees->bind(box, field, kind);
            boxes[field] = box;
        }
        auto* notes = new QPlainTextEdit(window);
        employees->bind(notes, "Notes");
        employees->setRecordSource(env->module->TaskDatabase(), "Employees");
        QTest::keyClicks(boxes["City"], QStringLiteral("ford"));
        QVERIFY(employees->saveForUnload());
        QCOMPARE(env->scalar("SELECT City FROM Employees").toString(), QString("Bathford"));
        QCOMPARE(env->scalar(quoted).toString(), before);
    }

    void typingIntoAnEmptyTableBeginsANewRow()
    {
        env->sql({"DELETE FROM Clients"});
        bar->refresh();
        QCOMPARE(bar->caption(), QString());
        QCOMPARE(bar->position(), -1);
        QTest::keyClicks(name, QStringLiteral("Acme"));
        QVERIFY(bar->isAdding());
        QCOMPARE(bar->rowCount(), 1);
        QVERIFY(bar->moveFirst());
        QCOMPARE(env->count("Clients"), 1);
        QCOMPARE(shownName(), QString("Acme"));
    }

    // Another running copy of the program changed or deleted the row while it was being edited.
    void aRowChangedElsewhereIsNeverOverwrittenUnasked_data()
    {
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("voiceAfter");
        QTest::newRow("changed, save over theirs")
            << "UPDATE Clients SET City = 'Athens' WHERE ClientName = 'acme'" << Answer::Yes
            << "(555) 123-4567";
        QTest::newRow("changed, keep theirs")
            << "UPDATE Clients SET City = 'Athens' WHERE ClientName = 'acme'" << Answer::No << "";
    }

    void aRowChangedElsewhereIsNeverOverwrittenUnasked()
    {
        QFETCH(QString, theirs);
        QFETCH(Answer, answer);
        QFETCH(QString, voiceAfter);
        superviseWrites(*env->module, bar);
        QTest::keyClick(voice, Qt::Key_Home);
        QTest::keyClicks(voice, QStringLiteral("5551234567"));
        env->sql({theirs});
        env->fake.prompter.answer(answer);
        QVERIFY(bar->moveNext());
        QCOMPARE(env->fake.prompter.messages.last().text,
                 QString("This record was changed by another user since you started editing it.  "
                         "Save your changes over theirs?"));
        QCOMPARE(env->scalar("SELECT City FROM Clients WHERE ClientName = 'acme'").toString(),
                 QString("Athens"));
        QCOMPARE(env->scalar("SELECT coalesce(Voice, '') FROM Clients WHERE ClientName = 'acme'").toString(),
                 voiceAfter);
        bar->moveFirst();
        QCOMPARE(city->text(), QString("Athens"));
    }

    void aRowDeletedElsewhereIsNamedAndItsEditsKeptUntilTheBarMoves()
    {
        superviseWrites(*env->module, bar);
        QTest::keyClicks(city, QStringLiteral("ville"));
        env->sql({"DELETE FROM Clients WHERE ClientName = 'acme'"});
        env->fake.prompter.answer(Answer::Ok);
        QVERIFY(!bar->moveNext());
        QCOMPARE(env->fake.prompter.messages.last().text,
                 QString("This record was deleted by another user."));
        QCOMPARE(city->text(), QString("Amesville"));
        QVERIFY(bar->moveNext());
        QCOMPARE(bar->rowCount(), 2);
        QCOMPARE(env->count("Clients"), 2);
    }

    void maskedBoxesKeepTheirLiteralsOrNothing()
    {
        QTest::keyClick(voice, Qt::Key_Home);
        QTest::keyClicks(voice, QStringLiteral("5551234567"));
        QTest::keyClicks(city, QStringLiteral("x"));
        bar->moveNext();
        QCOMPARE(env->scalar("SELECT Voice FROM Clients WHERE ClientName = 'acme'").toString(),
                 QString("(555) 123-4567"));
        QTest::keyClicks(city, QStringLiteral("x"));
        bar->movePrevious();
        QCOMPARE(env->scalar("SELECT Voice FROM Clients WHERE ClientName = 'Baker'").toString(), QString());
        QCOMPARE(voice->text(), QString("(555) 123-4567"));
    }
};

QTEST_MAIN(DataControlTest)
#include "DataControlTest.moc"
