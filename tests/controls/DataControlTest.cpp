#include "controls/DataControl.h"
#include "support/TestEnvironment.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace horalog;
using Action = DataControl::Action;

Q_DECLARE_METATYPE(QList<Action>)

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
        env.reset();
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

    void aFailedWriteKeepsTheTypedTextForAnotherTry()
    {
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("ZENITH"));
        try {
            bar->moveNext();
            QFAIL("a second client of the same name was accepted");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.number(), error::DuplicateKey);
        }
        QCOMPARE(name->text(), QString("ZENITH"));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Acme"));
        bar->moveNext();
        QCOMPARE(env->scalar("SELECT count(*) FROM Clients WHERE ClientName = 'Acme'").toInt(), 1);
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
