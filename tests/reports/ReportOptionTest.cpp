#include "reports/ReportOption.h"
#include "entries/HoursForm.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"
#include "timing/TimerForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace horalog;
using horalog::test::itemsOf;

// The report options: what they offer, the period each choice gives the hours list, and the way in
// from the main window.
class ReportOptionTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QPointer<ReportOption> options;

    struct Opened {
        int times = 0;
        QDateTime start;
        QDateTime end;
        QStringList lines;
    };

    void open()
    {
        env->module->openTaskDatabase();
        options = new ReportOption(*env->module);
        options->show();
    }

    // Chooses period option `index` and notes what the hours list opened over the dialog showed.
    Opened choose(int index)
    {
        Opened opened;
        // The watch ends with this call, also when no list opens.
        QObject watch;
        test::whenShown<HoursForm>(&watch, [&](HoursForm* hours) {
            ++opened.times;
            opened.start = env->module->ReportStartDate;
            opened.end = env->module->ReportEndDate;
            opened.lines = itemsOf(hours->TimeList);
            test::press(hours->SSCommand1[2]);
        });
        // On the round indicator, as the caption is shorter than the button.
        QRadioButton* option = options->Option1[size_t(index)];
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
        return opened;
    }

    int checkedPeriods() const
    {
        int checked = 0;
        for (int i = 1; i <= 7; ++i)
            checked += options->Option1[size_t(i)]->isChecked() ? 1 : 0;
        return checked;
    }

  private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql({
            R"(INSERT INTO Employees (LastName, FirstName) VALUES ('Carver', 'Ben'), ('adams', 'Cy'),
                ('Brandt', 'Alice'))",
            R"(INSERT INTO Clients (ClientName) VALUES ('zenith'), ('Acme'), ('Baker''s'), ('The "Q" Co'))",
            R"(INSERT INTO Times (EmployeeID, Client, DateToday, Hours, Billable) VALUES
                (1, 'Acme', '2026-12-10', 1.25, 1), (2, 'zenith', '2026-12-09', 2, 0),
                (3, 'Acme', '2026-07-04', 0.5, 1), (1, 'Acme', '2026-07-11', 3, 0))",
        });
        env->fake.clock.current = QDateTime(QDate(2026, 12, 10), QTime(14, 35, 20));
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void loadOffersEveryChoice()
    {
        open();
        QCOMPARE(options->windowTitle(), QString("Report Option"));
        QCOMPARE(itemsOf(options->Combo1), (QStringList{"All", "Acme", "Baker's", "The \"Q\" Co", "zenith"}));
        QCOMPARE(options->Combo1->currentIndex(), 0);
        QVERIFY(options->Option2[0]->isChecked());
        QVERIFY(!options->Check1->isChecked());
        QCOMPARE(itemsOf(options->DBCombo1), (QStringList{"adams, Cy", "Brandt, Alice", "Carver, Ben"}));
        QCOMPARE(options->DBCombo1->currentIndex(), -1);
        QVERIFY(!options->DBCombo1->isVisible());
        QCOMPARE(checkedPeriods(), 0);
        QCOMPARE(options->Command1->text(), QString("&Cancel"));

        options->Check1->click();
        QVERIFY(options->DBCombo1->isVisible());
        options->DBCombo1->setCurrentIndex(1);
        options->Check1->click();
        QVERIFY(!options->DBCombo1->isVisible());
        options->Check1->click();
        QCOMPARE(options->DBCombo1->currentText(), QString("Brandt, Alice"));
    }

    void aPeriodOpensTheHoursListAndCanBeChosenAgain()
    {
        open();
        const Opened first = choose(1);
        QCOMPARE(first.times, 1);
        QCOMPARE(first.start, QDateTime(QDate(2026, 12, 10), QTime(0, 0)));
        QCOMPARE(first.end, env->fake.clock.current);
        QCOMPARE(first.lines, QStringList{"12/10/26    1.25\t Acme"});
        QCOMPARE(checkedPeriods(), 0);
        QCOMPARE(options->Command1->text(), QString("&Close"));

        options->Option2[1]->click();
        const Opened again = choose(1);
        QCOMPARE(again.times, 1);
        QCOMPARE(again.lines, QStringList{"12/10/26    1.25\t Acme"});

        const Opened month = choose(5);
        QCOMPARE(month.start, QDateTime(QDate(2026, 12, 1), QTime(0, 0)));
        QCOMPARE(month.end, QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
        QCOMPARE(month.lines, QStringList{"12/10/26    1.25\t Acme"});
    }

    void otherAsksForTheTwoDays_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("opened");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        const QDateTime untouched(QDate(2001, 1, 1), QTime(0, 0));
        QTest::newRow("both days") << QStringList{"7/4", "7/11/26 5:00 PM"} << 1
                                   << QDateTime(QDate(2026, 7, 4), QTime(0, 0))
                                   << QDateTime(QDate(2026, 7, 11), QTime(23, 59, 59));
        QTest::newRow("first cancelled") << QStringList{""} << 0 << untouched << untouched;
        QTest::newRow("first not a date") << QStringList{"soon"} << 0 << untouched << untouched;
        QTest::newRow("second cancelled")
            << QStringList{"7/4", ""} << 0 << QDateTime(QDate(2026, 7, 4), QTime(0, 0)) << untouched;
    }

    void otherAsksForTheTwoDays()
    {
        QFETCH(QStringList, answers);
        QFETCH(int, opened);
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        env->module->ReportStartDate = env->module->ReportEndDate = QDateTime(QDate(2001, 1, 1), QTime(0, 0));
        open();
        for (const QString& answer : answers)
            env->fake.prompter.answerText(answer);
        const Opened other = choose(7);
        QCOMPARE(other.times, opened);
        QCOMPARE(env->module->ReportStartDate, start);
        QCOMPARE(env->module->ReportEndDate, end);
        QCOMPARE(checkedPeriods(), 0);
        QCOMPARE(options->Command1->text(), opened ? QString("&Close") : QString("&Cancel"));
        if (opened)
            QCOMPARE(other.lines, (QStringList{"07/04/26    0.50\t Acme", "07/11/26    3.00\t Acme"}));

        const QList<InputRequest>& prompts = env->fake.prompter.inputs;
        QCOMPARE(prompts.size(), answers.size());
        QCOMPARE(prompts[0].title, QString("Report Start Date"));
        QCOMPARE(prompts[0].prompt, QString("Enter the starting date of the report. (e.g., 7/4)"));
        QCOMPARE(prompts[0].defaultText, QString());
        if (prompts.size() > 1) {
            QCOMPARE(prompts[1].title, QString("Report Start Date"));
            QCOMPARE(prompts[1].prompt, QString("Enter the ending date of the report. (e.g., 7/4)"));
            QCOMPARE(prompts[1].defaultText, QString("12/10/26"));
        }
    }

    // The main window gives up staying on top while the dialog is open and takes it back however
    // the dialog is closed.
    void hoursCommandOpensTheDialogModally_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<bool>("byCloseBox");
        QTest::newRow("toolbar button, Cancel") << false << false;
        QTest::newRow("View > Hours, Cancel") << true << false;
        QTest::newRow("toolbar button, close box") << false << true;
    }

    void hoursCommandOpensTheDialogModally()
    {
        QFETCH(bool, fromMenu);
        QFETCH(bool, byCloseBox);
        auto* timer = new TimerForm(*env->module);
        timer->show();
        timer->FloatMenuItem->setChecked(true);
        bool modal = false;
        bool onTopWhileOpen = true;
        test::whenShown<ReportOption>(this, [&](ReportOption* dialog) {
            modal = dialog->isModal();
            onTopWhileOpen = timer->FloatMenuItem->isChecked();
            if (byCloseBox)
                dialog->close();
            else
                test::press(dialog->Command1);
        });
        if (fromMenu)
            QVERIFY(test::trigger(timer->HoursMenuItem));
        else
            QVERIFY(test::press(timer->SSCommand1[2]));
        QVERIFY(modal);
        QVERIFY(!onTopWhileOpen);
        QVERIFY(timer->FloatMenuItem->isChecked());
        QVERIFY(!env->module->RestoreOnTop);
    }
};

QTEST_MAIN(ReportOptionTest)
#include "ReportOptionTest.moc"
