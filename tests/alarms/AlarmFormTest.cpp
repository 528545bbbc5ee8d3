#include "alarms/AlarmForm.h"
#include "alarms/AlarmMessageForm.h"
#include "alarms/AlarmRules.h"
#include "app/RegModule.h"
#include "controls/SpinButton.h"
#include "controls/StatusBar.h"
#include "support/AlarmFixture.h"
#include "support/Windows.h"
#include "timing/TimerForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>

using namespace horalog;
using Fixture = horalog::test::AlarmFixture;

namespace
{
// Thursday 2026-12-10; December has 31 days, November 30.
const QDate kThursday(2026, 12, 10);
const QDate kNovember(2026, 11, 12);
} // namespace

class AlarmFormTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    QPointer<AlarmForm> form;

    QVariant field(const QString& name, int alarmId) const
    {
        return fx->env->scalar(QString("SELECT %1 FROM ALARMS WHERE AlarmID = ?").arg(name), {alarmId});
    }

    // New alarm through File > New Alarm, answered with `description`.
    void newAlarm(const QString& description)
    {
        fx->env->fake.prompter.answerText(description);
        QVERIFY(Fixture::trigger(form->NewMenuItem));
    }

    // Picks a line of the alarm list with the mouse.
    void pick(int row)
    {
        QListWidgetItem* item = form->DBList1->item(row);
        QTest::mouseClick(form->DBList1->viewport(), Qt::LeftButton, {},
                          form->DBList1->visualItemRect(item).center());
    }

    bool framesEnabled() const
    {
        return form->Frame1->isEnabled() && form->Frame2->isEnabled() && form->SSCommand2[0]->isEnabled() &&
               form->SSCommand2[1]->isEnabled() && form->SpinButton2[0]->isEnabled() &&
               form->EditMenu->menuAction()->isEnabled();
    }

    QString hintOver(QWidget* widget) const
    {
        QTest::mouseMove(widget);
        return form->StatusBar1->panelText(1);
    }

  private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init()
    {
        fx = std::make_unique<Fixture>();
        fx->at(QDateTime(kThursday, QTime(14, 10, 45)));
    }

    void cleanup()
    {
        const QString problems = fx->finish();
        fx.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void aNewAlarmIsForTenMinutesFromNowJustTodayWithTheDefaultSound()
    {
        form = fx->openAlarms();
        QVERIFY(form);
        QVERIFY(!framesEnabled());
        QVERIFY(form->Option2[0]->isChecked());
        newAlarm("Call the bank");
        const InputRequest& prompt = fx->env->fake.prompter.inputs.first();
        QCOMPARE(prompt.title, QString("New Alarm"));
        QCOMPARE(prompt.prompt, QString("Enter alarm description."));
        QCOMPARE(test::itemsOf(form->DBList1), QStringList{"Call the bank"});
        QCOMPARE(form->DBList1->currentRow(), 0);
        QCOMPARE(form->Text2[0]->text(), QString("2:20 PM"));
        QVERIFY(form->Option2[0]->isChecked());
        QVERIFY(form->Option1[0]->isChecked());
        QCOMPARE(form->Text1[3]->text(), QString("BeepBeep.wav"));
        QVERIFY(framesEnabled());
        QCOMPARE(fx->env->reg.QueryValue(kHoralogKey, "Default Sound").toString(), QString("BeepBeep.wav"));

        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QVERIFY(fx->env->module->AlarmsOn);
        const int id = fx->env->scalar("SELECT AlarmID FROM ALARMS").toInt();
        QCOMPARE(field("EmployeeID", id).toInt(), 1);
        QCOMPARE(field("AlarmTime", id).toString(), QString("14:20:00"));
        QCOMPARE(field("AlarmSound", id).toString(), QString("BeepBeep.wav"));
        QCOMPARE(field("SoundName", id).toString(), QString("BeepBeep.wav"));
        QCOMPARE(field("Recurrence", id).toInt(), 0);
        QCOMPARE(field("WeekDay", id).toInt(), 0);
        QCOMPARE(field("MonthDay", id).toInt(), 0);
    }

    void aNewAlarmWithoutDescriptionIsNotMade()
    {
        form = fx->openAlarms();
        newAlarm("");
        QCOMPARE(fx->env->count("ALARMS"), 0);
        QCOMPARE(form->DBList1->count(), 0);
        fx->env->fake.prompter.answer(Answer::Ok);
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QCOMPARE(fx->env->fake.prompter.messages.last().text, QString("There are no alarms to set."));
        QCOMPARE(fx->env->fake.prompter.messages.last().icon, MessageIcon::Information);
        QVERIFY(!fx->env->module->AlarmsOn);
    }

    void whenOptionsSetTheTime_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("in a half hour") << 1 << QTime(14, 10, 45) << "2:40 PM"
                                        << "14:40:00";
        QTest::newRow("in 1 hour") << 2 << QTime(14, 10, 45) << "3:10 PM"
                                   << "15:10:00";
        QTest::newRow("at the hour") << 3 << QTime(14, 10, 45) << "3:00 PM"
                                     << "15:00:00";
        QTest::newRow("at the hour during the 11 PM hour") << 3 << QTime(23, 20) << "12:00 AM"
                                                           << "00:00:00";
    }

    void whenOptionsSetTheTime()
    {
        QFETCH(int, option);
        QFETCH(QTime, now);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        const int id = fx->addAlarm("Stand-up", "09:00:00");
        form = fx->openAlarms();
        pick(0);
        fx->at(QDateTime(kThursday, now));
        QVERIFY(Fixture::press(form->Option1[size_t(option)]));
        QCOMPARE(form->Text2[0]->text(), shown);
        QVERIFY(Fixture::press(form->SSCommand1[2]));
        QVERIFY(!fx->alarmForm());
        QCOMPARE(field("AlarmTime", id).toString(), stored);
    }

    void aTimingChangeSwitchesCheckingOff()
    {
        fx->addAlarm("Stand-up", "09:00:00");
        form = fx->openAlarms();
        pick(0);
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QCOMPARE(fx->mainAlarmPanel(), QString("Alarm: On"));
        QCOMPARE(hintOver(form->SSCommand1[1]), QString("Turn off alarm"));
        QVERIFY(Fixture::press(form->Option1[1]));
        QVERIFY(!fx->env->module->AlarmsOn);
        QCOMPARE(fx->mainAlarmPanel(), QString("Alarm: Off"));
        QCOMPARE(hintOver(form->SSCommand1[2]), QString("Close"));
        QVERIFY(hintOver(form->SSCommand1[1]).startsWith("Set"));

        // So do the weekday, the month day, the time spins and a change of the recurrence.
        const auto switchedOffBy = [this](const std::function<void()>& change) {
            if (!Fixture::press(form->SSCommand1[1]) || !fx->env->module->AlarmsOn)
                return false;
            change();
            return !fx->env->module->AlarmsOn;
        };
        QVERIFY(switchedOffBy([this] { QVERIFY(Fixture::press(form->Option2[2])); }));
        QVERIFY(switchedOffBy([this] { form->Combo1->setCurrentIndex(0); }));
        QVERIFY(switchedOffBy([this] { QVERIFY(Fixture::press(form->Option2[3])); }));
        QVERIFY(switchedOffBy([this] { QVERIFY(Fixture::press(form->SpinButton1->upArrow())); }));
        QVERIFY(switchedOffBy([this] { QVERIFY(Fixture::press(form->SpinButton2[1]->downArrow())); }));
    }

    void weeklySelectsTodayInTheWeekdayList()
    {
        const int id = fx->addAlarm("Stand-up", "09:00:00");
        form = fx->openAlarms();
        pick(0);
        QVERIFY(!form->Combo1->isVisible());
        QVERIFY(Fixture::press(form->Option2[2]));
        QVERIFY(form->Combo1->isVisible());
        QCOMPARE(form->Combo1->currentIndex(), 3);
        QCOMPARE(test::itemsOf(form->Combo1).first(), QLocale().standaloneDayName(Qt::Monday));
        form->Combo1->setCurrentIndex(0);
        QVERIFY(Fixture::press(form->Option2[1]));
        QVERIFY(!form->Combo1->isVisible());
        QVERIFY(Fixture::press(form->Option2[2]));
        QVERIFY(Fixture::press(form->SSCommand1[2]));
        QCOMPARE(field("Recurrence", id).toInt(), int(Weekly));
        QCOMPARE(field("WeekDay", id).toInt(), 4);
    }

    void monthlyStepsThroughTheDaysOfThisMonth()
    {
        fx->at(QDateTime(kNovember, QTime(9, 0)));
        form = fx->openAlarms();
        newAlarm("Rent");
        QVERIFY(!form->SpinButton1->isVisible());
        QVERIFY(Fixture::press(form->Option2[3]));
        QVERIFY(form->SpinButton1->isVisible());
        QCOMPARE(form->Text2[2]->text(), QString("0th"));
        QToolButton* up = form->SpinButton1->upArrow();
        QToolButton* down = form->SpinButton1->downArrow();
        QVERIFY(Fixture::press(up));
        QCOMPARE(form->Text2[2]->text(), QString("1st"));
        QVERIFY(Fixture::press(down));
        QCOMPARE(form->Text2[2]->text(), QString("30th"));
        QVERIFY(Fixture::press(up));
        QCOMPARE(form->Text2[2]->text(), QString("1st"));
        QVERIFY(Fixture::press(up));
        QVERIFY(Fixture::press(up));
        QCOMPARE(form->Text2[2]->text(), QString("3rd"));
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QCOMPARE(fx->env->scalar("SELECT MonthDay FROM ALARMS").toInt(), 3);
        QCOMPARE(fx->env->scalar("SELECT Recurrence FROM ALARMS").toInt(), int(Monthly));
    }

    void timeSpinsWrapAroundMidnight()
    {
        const int id = fx->addAlarm("Night shift", "23:30:00", EveryDay);
        form = fx->openAlarms();
        pick(0);
        QCOMPARE(form->Text2[0]->text(), QString("11:30 PM"));
        QVERIFY(Fixture::press(form->SpinButton2[0]->upArrow()));
        QCOMPARE(form->Text2[0]->text(), QString("12:30 AM"));
        QVERIFY(Fixture::press(form->SpinButton2[1]->downArrow()));
        QCOMPARE(form->Text2[0]->text(), QString("12:29 AM"));
        QVERIFY(Fixture::press(form->SpinButton2[0]->downArrow()));
        QCOMPARE(form->Text2[0]->text(), QString("11:29 PM"));
        QVERIFY(Fixture::press(form->SpinButton2[0]->upArrow()));
        QVERIFY(Fixture::press(form->SpinButton2[1]->upArrow()));
        QCOMPARE(form->Text2[0]->text(), QString("12:30 AM"));
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QCOMPARE(field("AlarmTime", id).toString(), QString("00:30:00"));

        // It comes due at 12:30 AM.
        fx->at(QDateTime(kThursday.addDays(1), QTime(0, 30, 5)));
        form->Timer1_Timer();
        QVERIFY(fx->alert());
    }

    void deletingAlarms()
    {
        fx->addAlarm("First", "09:00:00");
        fx->addAlarm("Second", "10:00:00");
        fx->addAlarm("Third", "11:00:00");
        form = fx->openAlarms();
        pick(1);
        QVERIFY(framesEnabled());

        fx->env->fake.prompter.answer(Answer::No);
        QTest::keyClick(form->DBList1, Qt::Key_Delete);
        QCOMPARE(fx->env->count("ALARMS"), 3);
        const MessageRequest& question = fx->env->fake.prompter.messages.last();
        QCOMPARE(question.text, QString("Are you sure you wish to delete this alarm setting?"));
        QCOMPARE(question.title, QString("Delete Alarm?"));
        QCOMPARE(question.icon, MessageIcon::Question);
        QCOMPARE(question.buttons, MessageButtons::YesNo);

        fx->env->fake.prompter.answer(Answer::Yes);
        QTest::keyClick(form->DBList1, Qt::Key_Delete);
        QCOMPARE(test::itemsOf(form->DBList1), (QStringList{"First", "Third"}));
        QCOMPARE(fx->env->scalar("SELECT count(*) FROM ALARMS WHERE AlarmDescription = 'Second'").toInt(), 0);
        QVERIFY(!framesEnabled());
        pick(1);
        QVERIFY(framesEnabled());
        QCOMPARE(form->Text2[0]->text(), QString("11:00 AM"));

        // File > Delete Alarm deletes as the Delete key does; the last one switches checking off.
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        fx->env->fake.prompter.answer(Answer::Yes);
        QVERIFY(Fixture::trigger(form->DeleteMenuItem));
        fx->env->fake.prompter.answer(Answer::Yes);
        QVERIFY(Fixture::trigger(form->DeleteMenuItem));
        QCOMPARE(fx->env->count("ALARMS"), 0);
        QVERIFY(!fx->env->module->AlarmsOn);
        QCOMPARE(fx->mainAlarmPanel(), QString("Alarm: Off"));
        QVERIFY(!framesEnabled());
        QVERIFY(Fixture::trigger(form->DeleteMenuItem));
        QCOMPARE(fx->env->fake.prompter.messages.size(), 4);
    }

    void theListHintAndTheBackground()
    {
        form = fx->openAlarms();
        form->DBList1->setFocus();
        QCOMPARE(form->StatusBar1->panelText(1), QString());
        fx->addAlarm("Stand-up", "09:00:00");
        QVERIFY(Fixture::press(form->SSCommand1[2]));
        form = fx->openAlarms();
        form->SSCommand1[0]->setFocus();
        QVERIFY(test::showActive(form));
        form->DBList1->setFocus();
        QCOMPARE(form->StatusBar1->panelText(1), QString("Delete removes alarm"));
        QTest::mouseMove(form->client(), QPoint(5, 5));
        QCOMPARE(form->StatusBar1->panelText(1), QString("Delete removes alarm"));
        QCOMPARE(hintOver(form->SSCommand2[0]), QString("Select sound"));
        QCOMPARE(hintOver(form->SSCommand2[1]), QString("Test sound"));
        QCOMPARE(hintOver(form->SSCommand1[0]), QString("Add new alarm"));
        QTest::mouseMove(form->client(), QPoint(6, 6));
        QCOMPARE(form->StatusBar1->panelText(1), QString());
        QCOMPARE(form->StatusBar1->panelText(2), QString("Brandt, Alice"));
    }

    void closingHidesWhileCheckingAndUnloadsOtherwise()
    {
        fx->addAlarm("Stand-up", "09:00:00", EveryDay);
        form = fx->openAlarms();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QVERIFY(!fx->main->isVisible());
        QCOMPARE(form->DBList1->currentRow(), 0);

        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QVERIFY(Fixture::press(form->SSCommand1[2]));
        QVERIFY(fx->alarmForm());
        QVERIFY(!form->isVisible());
        QVERIFY(fx->main->isVisible());

        // The window's close box hides it too while checking is on, so that its alarms still ring.
        form = fx->openAlarms();
        QVERIFY(form->isVisible());
        form->close();
        QVERIFY(fx->alarmForm());
        QVERIFY(!form->isVisible());
        fx->at(QDateTime(kThursday, QTime(9, 0)));
        form->Timer1_Timer();
        QVERIFY(fx->alert());
        QVERIFY(Fixture::press(fx->alert()->Command1));

        form = fx->openAlarms();
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QVERIFY(Fixture::trigger(form->CloseMenuItem));
        QVERIFY(!fx->alarmForm());
        QVERIFY(fx->main->isVisible());
    }

    void selectingAndTestingTheSound()
    {
        const int id = fx->addAlarm("Stand-up", "09:00:00");
        form = fx->openAlarms();
        pick(0);
        fx->env->fake.prompter.answerText("");
        QVERIFY(Fixture::press(form->SSCommand2[0]));
        const FileRequest& dialog = fx->env->fake.prompter.files.last();
        QCOMPARE(dialog.title, QString("Alarm Sounds"));
        QCOMPARE(dialog.filter, QString("WAV files (*.wav)|*.wav"));
        QCOMPARE(form->Text1[3]->text(), QString("BeepBeep.wav"));

        const QString chosen = fx->env->dataDir() + "/sounds/Gong.wav";
        fx->env->fake.prompter.answerText(chosen);
        QVERIFY(Fixture::trigger(form->SoundMenuItem));
        QCOMPARE(form->Text1[3]->text(), QString("Gong.wav"));
        QCOMPARE(field("AlarmSound", id).toString(), chosen);
        QCOMPARE(field("SoundName", id).toString(), QString("Gong.wav"));

        // The file is gone (it never was there): the test still asks for it, and the player beeps.
        QVERIFY(Fixture::press(form->SSCommand2[1]));
        QCOMPARE(fx->env->fake.sound.played, QStringList{chosen});
    }

    // Looking at an alarm is no change of its timing, so checking stays on.
    void pickingAWeeklyAlarmLeavesCheckingOn()
    {
        fx->addAlarm("Daily", "09:00:00", EveryDay);
        fx->addAlarm("Team", "10:00:00", Weekly, 1);
        form = fx->openAlarms();
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        pick(1);
        QVERIFY(form->Option2[2]->isChecked());
        QCOMPARE(form->Combo1->currentIndex(), 0);
        QVERIFY(fx->env->module->AlarmsOn);
        pick(0);
        QVERIFY(form->Option2[1]->isChecked());
        QVERIFY(!form->Combo1->isVisible());
        QVERIFY(fx->env->module->AlarmsOn);
    }

    // A data file that refuses writes: each failure is reported, nothing is half made, checking does not
    // go on over an unsaved time, and the same commands work once the fault is gone.
    void aReadOnlyDataFile()
    {
        const int id = fx->addAlarm("Stand-up", "09:00:00");
        form = fx->openAlarms();
        pick(0);
        const auto setReadOnly = [this](bool readOnly) {
            QSqlQuery(fx->env->module->TaskDatabase())
                .exec(QString("PRAGMA query_only = %1").arg(readOnly ? "ON" : "OFF"));
        };
        setReadOnly(true);
        fx->env->fake.prompter.answerText("Call the bank");
        fx->env->fake.prompter.answer(Answer::Ok);
        QVERIFY(Fixture::trigger(form->NewMenuItem));
        QVERIFY(fx->env->fake.prompter.messages.last().text.startsWith("Error 3051 has occurred."));
        QCOMPARE(fx->env->count("ALARMS"), 1);
        QCOMPARE(test::itemsOf(form->DBList1), QStringList{"Stand-up"});

        QVERIFY(Fixture::press(form->Option1[2]));
        QCOMPARE(form->Text2[0]->text(), QString("3:10 PM"));
        fx->env->fake.prompter.answer(Answer::Ok);
        fx->env->fake.prompter.answer(Answer::No);
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QVERIFY(!fx->env->module->AlarmsOn);
        QCOMPARE(form->Text2[0]->text(), QString("3:10 PM"));
        QCOMPARE(field("AlarmTime", id).toString(), QString("09:00:00"));

        setReadOnly(false);
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QVERIFY(fx->env->module->AlarmsOn);
        QCOMPARE(field("AlarmTime", id).toString(), QString("15:10:00"));
        newAlarm("Call the bank");
        QCOMPARE(test::itemsOf(form->DBList1), (QStringList{"Stand-up", "Call the bank"}));
    }

    void withoutAnEmployeeTheAlarmsOfNoOneAreShown()
    {
        fx->addAlarm("Mine", "09:00:00");
        fx->addAlarm("Nobody's", "09:00:00", JustToday, 0, 0, "BeepBeep.wav", 0);
        fx->env->module->CurrentEmployeeID = 0;
        form = fx->openAlarms();
        QCOMPARE(test::itemsOf(form->DBList1), QStringList{"Nobody's"});
        newAlarm("Also nobody's");
        QCOMPARE(fx->env->scalar("SELECT count(*) FROM ALARMS WHERE EmployeeID = 0").toInt(), 2);
    }
};

QTEST_MAIN(AlarmFormTest)
#include "AlarmFormTest.moc"
