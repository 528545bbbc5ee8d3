#include "alarms/AlarmForm.h"
#include "alarms/AlarmMessageForm.h"
#include "alarms/AlarmRules.h"
#include "app/frmMenus.h"
#include "controls/StatusBar.h"
#include "controls/Twips.h"
#include "support/AlarmFixture.h"
#include "support/Windows.h"
#include "timing/TimerForm.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace horalog;
using Fixture = horalog::test::AlarmFixture;

namespace
{
// Monday 2026-12-07.
const QDate kMonday(2026, 12, 7);
const QTime kTwoForty(14, 40);
} // namespace

// The alarm check, the alert, the switch and the main window's alarm popup. Timers are not waited
// for: each test moves the fake clock and fires the tick the timer would fire.
class AlarmCheckTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Fixture> fx;

    MainModule& module() const { return *fx->env->module; }

    // Loads the Alarms window hidden and switches checking on, as Set does.
    AlarmForm* checkingOn()
    {
        AlarmForm* form = fx->openAlarms();
        if (!form || !Fixture::press(form->SSCommand1[1]) || !module().AlarmsOn ||
            !Fixture::press(form->SSCommand1[2]))
            return nullptr;
        return form;
    }

    void tickAt(const QTime& time, const QDate& day = kMonday)
    {
        fx->at(QDateTime(day, time));
        if (fx->alarmForm())
            fx->alarmForm()->Timer1_Timer();
    }

    QString announcement() const { return fx->alert() ? fx->alert()->SSPanel1->text() : QString(); }

    QPoint alarmPanelPoint() const
    {
        const QPoint point(pixels(2300), pixels(150));
        return fx->main->StatusBar1->panelAt(point) == 2 ? point : QPoint();
    }

    // Opens the alarm popup with a right-click on the alarm panel; the carrier while it is loaded.
    frmMenus* rightClickAlarmPanel()
    {
        QTest::mouseClick(fx->main->StatusBar1, Qt::RightButton, {}, alarmPanelPoint());
        return module().menuForm;
    }

  private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init() { fx = std::make_unique<Fixture>(); }

    void cleanup()
    {
        const QString problems = fx->finish();
        fx.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void anEveryDayAlarmRingsInItsMinuteAndNotTheNext()
    {
        fx->addAlarm("the dentist", "14:40:00", EveryDay, 0, 0, "/sounds/Gong.wav");
        QVERIFY(checkingOn());
        QCOMPARE(fx->alarmForm()->Timer1->interval(), 10000);
        QVERIFY(fx->alarmForm()->Timer1->isActive());
        tickAt(QTime(14, 39, 55));
        QVERIFY(!fx->alert());
        tickAt(QTime(14, 40, 5));
        QVERIFY(fx->alert());
        QCOMPARE(announcement(), QString("It's 2:40 PM...\ntime for\nthe dentist"));
        QCOMPARE(fx->env->fake.sound.played, QStringList{"/sounds/Gong.wav"});
        QVERIFY(Fixture::press(fx->alert()->Command1));
        QVERIFY(!fx->alert());

        // Closed within its minute, it comes back on the next tick; the next minute it is quiet.
        tickAt(QTime(14, 40, 15));
        QVERIFY(fx->alert());
        QVERIFY(Fixture::press(fx->alert()->Command1));
        tickAt(QTime(14, 41, 5));
        QVERIFY(!fx->alert());
        QCOMPARE(fx->env->count("ALARMS"), 1);
    }

    void weeklyAndMonthlyAlarmsRingOnTheirDays_data()
    {
        QTest::addColumn<int>("recurrence");
        QTest::addColumn<int>("weekDay");
        QTest::addColumn<int>("monthDay");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("rings");
        QTest::newRow("weekly on Monday, a Monday") << int(Weekly) << 1 << 0 << kMonday << true;
        QTest::newRow("weekly on Monday, a Tuesday") << int(Weekly) << 1 << 0 << kMonday.addDays(1) << false;
        QTest::newRow("monthly on the 7th") << int(Monthly) << 0 << 7 << kMonday << true;
        QTest::newRow("monthly on the 31st, Nov 30")
            << int(Monthly) << 0 << 31 << QDate(2026, 11, 30) << false;
    }

    void weeklyAndMonthlyAlarmsRingOnTheirDays()
    {
        QFETCH(int, recurrence);
        QFETCH(int, weekDay);
        QFETCH(int, monthDay);
        QFETCH(QDate, day);
        QFETCH(bool, rings);
        fx->addAlarm("Team", "14:40:00", recurrence, weekDay, monthDay);
        fx->at(QDateTime(day, QTime(9, 0)));
        QVERIFY(checkingOn());
        tickAt(kTwoForty, day);
        QCOMPARE(bool(fx->alert()), rings);
    }

    void onlyTheFirstDueAlarmIsAnnounced()
    {
        fx->addAlarm("first", "14:40:00", EveryDay);
        fx->addAlarm("second", "14:40:00", EveryDay);
        fx->addAlarm("someone else's", "14:40:00", EveryDay, 0, 0, "BeepBeep.wav", 2);
        QVERIFY(checkingOn());
        for (const int second : {0, 10, 20}) {
            tickAt(QTime(14, 40, second));
            QVERIFY(announcement().endsWith("\nfirst"));
        }
    }

    void aJustTodayAlarmIsGoneAfterItsAlert_data()
    {
        QTest::addColumn<bool>("byOk");
        QTest::addColumn<bool>("withLunch");
        QTest::newRow("OK, the only alarm") << true << false;
        QTest::newRow("a minute, the only alarm") << false << false;
        QTest::newRow("OK, a daily alarm stays") << true << true;
        QTest::newRow("a minute, a daily alarm stays") << false << true;
    }

    void aJustTodayAlarmIsGoneAfterItsAlert()
    {
        QFETCH(bool, byOk);
        QFETCH(bool, withLunch);
        fx->addAlarm("the dentist", "14:40:00");
        if (withLunch)
            fx->addAlarm("lunch", "14:40:00", EveryDay);
        QPointer<AlarmForm> form = checkingOn();
        QVERIFY(form);
        tickAt(kTwoForty);
        QVERIFY(announcement().endsWith("the dentist"));

        // No tick starts while the alert of a "Just Today" alarm is waited for.
        tickAt(QTime(14, 40, 10));
        QVERIFY(announcement().endsWith("the dentist"));
        QCOMPARE(fx->env->count("ALARMS"), withLunch ? 2 : 1);

        if (byOk)
            QVERIFY(Fixture::press(fx->alert()->Command1));
        else
            fx->alert()->Timer2_Timer();
        QVERIFY(!fx->alert());
        QCOMPARE(
            fx->env->scalar("SELECT count(*) FROM ALARMS WHERE AlarmDescription = 'the dentist'").toInt(), 0);
        QCOMPARE(module().AlarmsOn, withLunch);
        if (withLunch) {
            QCOMPARE(test::itemsOf(form->DBList1), QStringList{"lunch"});
            tickAt(QTime(14, 40, 20));
            QVERIFY(announcement().endsWith("lunch"));
        } else {
            QCOMPARE(fx->mainAlarmPanel(), QString("Alarm: Off"));
            QVERIFY(!fx->alarmForm());
        }
    }

    void theAlertSoundsEveryTenSecondsAndClosesAfterAMinute()
    {
        fx->addAlarm("the dentist", "14:40:00", EveryDay, 0, 0, "Gong.wav");
        QVERIFY(checkingOn());
        tickAt(kTwoForty);
        AlarmMessageForm* alert = fx->alert();
        QVERIFY(alert);
        QCOMPARE(alert->windowTitle(), QString("Alarm Message"));
        QCOMPARE(alert->frameGeometry().topLeft(), QPoint(0, 0));
        QVERIFY(alert->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(alert->Timer1->interval(), 10000);
        QVERIFY(alert->Timer1->isActive() && !alert->Timer1->isSingleShot());
        QCOMPARE(alert->Timer2->interval(), 60000);
        QVERIFY(alert->Timer2->isActive() && alert->Timer2->isSingleShot());
        QCOMPARE(fx->env->fake.sound.played.size(), 1);
        for (int second = 10; second <= 50; second += 10) {
            alert->Timer1_Timer();
            QCOMPARE(fx->env->fake.sound.played.size(), second / 10 + 1);
        }
        QCOMPARE(fx->env->fake.sound.played, QStringList(6, "Gong.wav"));
        alert->Timer2_Timer();
        QVERIFY(!fx->alert());
    }

    void switchingOff()
    {
        fx->addAlarm("lunch", "14:40:00", EveryDay);
        AlarmForm* form = checkingOn();
        tickAt(kTwoForty);
        QVERIFY(fx->alert());

        // While the Alarms window is visible, it stays; the alert goes.
        form = fx->openAlarms();
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QVERIFY(!fx->alert());
        QVERIFY(fx->alarmForm());
        QCOMPARE(fx->mainAlarmPanel(), QString("Alarm: Off"));

        // While it is hidden, it is unloaded.
        QVERIFY(Fixture::press(form->SSCommand1[1]));
        QVERIFY(Fixture::press(form->SSCommand1[2]));
        QVERIFY(!form->isVisible());
        QVERIFY(fx->main->isVisible());
        QVERIFY(test::showActive(fx->main));
        QVERIFY(fx->main->EmployeeList->isEnabled());
        fx->main->EmployeeList->setCurrentIndex(fx->main->EmployeeList->findText("Carver, Ben"));
        QVERIFY(!module().AlarmsOn);
        QVERIFY(!fx->alarmForm());
        QCOMPARE(fx->mainAlarmPanel(), QString("Alarm: Off"));
    }

    void thePopupOffersTheOtherState()
    {
        QVERIFY(!alarmPanelPoint().isNull());
        // Only a right-click on the alarm panel opens it.
        QTest::mouseClick(fx->main->StatusBar1, Qt::LeftButton, {}, alarmPanelPoint());
        QVERIFY(!module().menuForm);
        QTest::mouseClick(fx->main->StatusBar1, Qt::RightButton, {}, QPoint(pixels(3300), pixels(150)));
        QVERIFY(!module().menuForm);

        frmMenus* carrier = rightClickAlarmPanel();
        QVERIFY(carrier);
        QCOMPARE(carrier->windowTitle(), QString("MenuForm"));
        QVERIFY(!carrier->isVisible());
        QCOMPARE(carrier->mnuPopup[0]->text(), QString("On"));
        QVERIFY(carrier->mnuPopup[1]->isSeparator());
        QCOMPARE(carrier->mnuPopup[2]->text(), QString("Edit"));
        QVERIFY(carrier->MenuPopup->isVisible());
        const QPoint opened = carrier->MenuPopup->geometry().topLeft();
        QCOMPARE(opened, fx->main->StatusBar1->mapToGlobal(alarmPanelPoint()));

        // "On" without alarms shows the Alarms window and leaves checking off.
        QVERIFY(Fixture::trigger(carrier->mnuPopup[0]));
        QVERIFY(!module().menuForm);
        QVERIFY(fx->alarmForm() && fx->alarmForm()->isVisible());
        QVERIFY(!module().AlarmsOn);
        QVERIFY(Fixture::press(fx->alarmForm()->SSCommand1[2]));
        QVERIFY(!fx->alarmForm());

        // With an alarm, "On" switches checking on with the window hidden; "Off" unloads it again.
        fx->addAlarm("lunch", "12:00:00", EveryDay);
        QVERIFY(test::showActive(fx->main));
        QVERIFY(Fixture::trigger(rightClickAlarmPanel()->mnuPopup[0]));
        QVERIFY(module().AlarmsOn);
        QCOMPARE(fx->mainAlarmPanel(), QString("Alarm: On"));
        QVERIFY(fx->alarmForm() && !fx->alarmForm()->isVisible());
        carrier = rightClickAlarmPanel();
        QCOMPARE(carrier->mnuPopup[0]->text(), QString("Off"));
        QVERIFY(Fixture::trigger(carrier->mnuPopup[0]));
        QVERIFY(!module().AlarmsOn);
        QVERIFY(!fx->alarmForm());

        QVERIFY(Fixture::trigger(rightClickAlarmPanel()->mnuPopup[2]));
        QVERIFY(fx->alarmForm() && fx->alarmForm()->isVisible());
    }

    void theCarrierUnloadsItselfAfterTwoSeconds()
    {
        frmMenus* carrier = rightClickAlarmPanel();
        QVERIFY(carrier);
        QCOMPARE(carrier->Timer1->interval(), 2000);
        QVERIFY(carrier->Timer1->isActive() && carrier->Timer1->isSingleShot());
        carrier->MenuPopup->hide();
        carrier->Timer1_Timer();
        QVERIFY(!module().menuForm);
        QVERIFY(!module().windowPresent("MenuForm") ||
                QTest::qWaitFor([this] { return !module().windowPresent("MenuForm"); }));

        // A menu still open is left to the user's choice; the carrier goes when it closes.
        carrier = rightClickAlarmPanel();
        carrier->Timer1_Timer();
        QVERIFY(module().menuForm);
        carrier->MenuPopup->hide();
        QTRY_VERIFY(!module().menuForm);
    }

    void theMainWindowTakesTheAlarmWindowsAlong()
    {
        fx->addAlarm("lunch", "14:40:00", EveryDay);
        QVERIFY(checkingOn());
        tickAt(kTwoForty);
        QVERIFY(rightClickAlarmPanel());
        QVERIFY(fx->main->close());
        QVERIFY(!fx->alarmForm());
        QVERIFY(!fx->alert());
        QVERIFY(!module().menuForm);
    }
};

QTEST_MAIN(AlarmCheckTest)
#include "AlarmCheckTest.moc"
