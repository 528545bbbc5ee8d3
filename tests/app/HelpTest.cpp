#include "app/ProgramFiles.h"
#include "clients/Client.h"
#include "clients/ClientData.h"
#include "employees/EmployeeForm.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"
#include "timing/TimerForm.h"

#include <QTest>
#include <functional>

using namespace horalog;

using WindowMaker = std::function<QWidget*(MainModule&)>;
Q_DECLARE_METATYPE(WindowMaker)

// F1 opens the help pages in the user's browser from every window that has a Help menu.
class HelpTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        env->sql({"INSERT INTO Clients (ClientName) VALUES ('Acme')"});
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void f1OpensTheHelpPages_data()
    {
        // The main window opens the data file; the others find it open.
        QTest::addColumn<WindowMaker>("make");
        QTest::newRow("main window") << WindowMaker([](MainModule& m) { return new TimerForm(m); });
        QTest::newRow("employees") << WindowMaker([](MainModule& m) {
            m.openTaskDatabase();
            return new EmployeeForm(m);
        });
        QTest::newRow("client list") << WindowMaker([](MainModule& m) {
            m.openTaskDatabase();
            return new Client(m);
        });
        QTest::newRow("client editor") << WindowMaker([](MainModule& m) {
            m.openTaskDatabase();
            return new ClientData(m, nullptr);
        });
    }

    void f1OpensTheHelpPages()
    {
        QFETCH(WindowMaker, make);
        QWidget* window = make(*env->module);
        QVERIFY(test::showActive(window));
        QTest::keyClick(window, Qt::Key_F1);
        QCOMPARE(env->fake.process.opened, QStringList{ProgramFiles::ofThisProgram().helpPage()});
    }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
