#include "timing/TrayIcon.h"
#include "support/TestEnvironment.h"
#include "timing/TimerForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace horalog;

class TrayIconTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QPointer<TimerForm> form;
    TrayIcon* tray = nullptr;

    QImage picture() const { return tray->icon()->icon().pixmap(22, 22).toImage(); }

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql(
            {"INSERT INTO Employees (LastName, FirstName) VALUES ('Brandt', 'Alice')",
             "INSERT INTO Clients (ClientName) VALUES ('Acme'), ('Baker''s')",
             R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time",
                     Hours) VALUES (1, 'Acme', 'Roof', 'Survey', '2026-12-09', '2026-12-09 08:00:00',
                     '2026-12-09 09:00:00', 1))"});
        form = new TimerForm(*env->module);
        tray = new TrayIcon(*form);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // The tip names what a stop would record, which may change while the task is timed.
    void theTipFollowsTheTiming()
    {
        QCOMPARE(tray->icon()->toolTip(), QString("Not timing"));
        const QImage idle = picture();
        env->fake.clock.current = QDateTime(QDate(2026, 12, 10), QTime(13, 5, 42));
        QTest::mouseClick(form->SSCommand1[0], Qt::LeftButton);
        QCOMPARE(tray->icon()->toolTip(), QString("Timing Acme / Roof since 1:05 PM"));
        QVERIFY(picture() != idle);

        form->ClientList->setCurrentIndex(form->ClientList->findText("Baker's"));
        form->Project->selectAll();
        QTest::keyClicks(form->Project, "Ovens");
        QCOMPARE(tray->icon()->toolTip(), QString("Timing Baker's / Ovens since 1:05 PM"));

        env->fake.clock.current = env->fake.clock.current.addSecs(600);
        QTest::mouseClick(form->SSCommand1[0], Qt::LeftButton);
        QCOMPARE(tray->icon()->toolTip(), QString("Not timing"));
        QCOMPARE(picture(), idle);
    }

    void aClickBringsTheMainWindowForward()
    {
        form->showMinimized();
        QTRY_VERIFY(form->isMinimized());
        emit tray->icon()->activated(QSystemTrayIcon::Trigger);
        QTRY_VERIFY(!form->isMinimized());
        QTRY_VERIFY(form->isActiveWindow());
    }
};

QTEST_MAIN(TrayIconTest)
#include "TrayIconTest.moc"
