#include "support/TestEnvironment.h"
#include "timing/TimerForm.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTest>

using namespace horalog;

class MainModuleTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;

  private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void init() { env = std::make_unique<test::TestEnvironment>(); }

    void cleanup()
    {
        const bool noneLeftOpen = test::closeAllWindows();
        QStringList problems = env->fake.prompter.unexpected;
        if (!env->fake.prompter.scriptUsedUp())
            problems << "scripted answers were left over";
        env.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QVERIFY2(noneLeftOpen, "a window was left open");
    }

    void errorReport_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing file")
            << 3024 << "/srv/data/Horalog.mdb"
            << "Error 3024 has occurred.  Couldn't find file '/srv/data/Horalog.mdb'.\r"
               "Contact Fernwick for assistance.";
        QTest::newRow("duplicate key") << 3022 << "ClientName"
                                       << "Error 3022 has occurred.  The changes were not saved because "
                                          "another row already has the same ClientName.\r"
                                          "Contact Fernwick for assistance.";
        QTest::newRow("number without a message of its own")
            << 9999 << ""
            << "Error 9999 has occurred.  Application-defined or object-defined error.\r"
               "Contact Fernwick for assistance.";
    }

    void errorReport()
    {
        QFETCH(int, number);
        QFETCH(QString, detail);
        QFETCH(QString, text);
        env->fake.prompter.answer(Answer::Ok);
        env->module->reportError(RuntimeError(number, detail));
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        const MessageRequest& box = env->fake.prompter.messages.first();
        QCOMPARE(box.text, text);
        QCOMPARE(box.title, QString("Fernwick Labs, Inc."));
        QCOMPARE(box.icon, MessageIcon::Critical);
        QCOMPARE(box.buttons, MessageButtons::Ok);
    }

    void aGuardedHandlerStopsAtTheFailingStep()
    {
        QStringList steps;
        env->fake.prompter.answer(Answer::Ok);
        env->module->guarded([&] {
            steps << "before";
            throw RuntimeError(error::FileNotFound, "x");
            steps << "after";
        });
        QCOMPARE(steps, QStringList{"before"});
        QVERIFY(env->fake.prompter.messages.first().text.startsWith("Error 3024 has occurred.  "));
    }

    void errorTextHasNoFrame()
    {
        env->fake.prompter.answer(Answer::Ok);
        env->module->ShowErrorText(RuntimeError(error::NotAValidPath, "A:\\"));
        const MessageRequest& box = env->fake.prompter.messages.first();
        QCOMPARE(box.text, QString("'A:\\' isn't a valid path."));
        QCOMPARE(box.title, QString("Horalog"));
        QCOMPARE(box.icon, MessageIcon::None);
        QCOMPARE(box.buttons, MessageButtons::Ok);
    }

    void restoreTopmost_data()
    {
        QTest::addColumn<bool>("restoreOnTop");
        QTest::addColumn<bool>("checkedBefore");
        QTest::addColumn<bool>("onTopAfter");
        QTest::newRow("nothing to restore") << false << false << false;
        QTest::newRow("nothing to restore, already on top") << false << true << true;
        QTest::newRow("restore") << true << false << true;
    }

    void restoreTopmost()
    {
        QFETCH(bool, restoreOnTop);
        QFETCH(bool, checkedBefore);
        QFETCH(bool, onTopAfter);
        auto* form = new TimerForm(*env->module);
        form->FloatMenuItem->setChecked(checkedBefore);
        env->module->RestoreOnTop = restoreOnTop;
        env->module->RestoreTopmost();
        QCOMPARE(form->FloatMenuItem->isChecked(), onTopAfter);
        QCOMPARE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTopAfter);
        QVERIFY(!env->module->RestoreOnTop);
    }

    void centerForm_data()
    {
        QTest::addColumn<QSize>("grow");
        QTest::newRow("smaller than the screen") << QSize(-300, -200);
        QTest::newRow("larger than the screen") << QSize(400, 300);
    }

    void centerForm()
    {
        QFETCH(QSize, grow);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QWidget window;
        window.setFixedSize(screen.size() + grow);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        env->module->CenterForm(window);
        const QSize size = window.frameGeometry().size();
        const QPoint expected(screen.x() + (screen.width() - size.width()) / 2,
                              screen.y() + (screen.height() - size.height()) / 2);
        QTRY_COMPARE(window.frameGeometry().topLeft(), expected);
        QCOMPARE(expected.x() < screen.x(), grow.width() > 0);
        QCOMPARE(expected.y() < screen.y(), grow.height() > 0);
        window.close();
    }
};

QTEST_MAIN(MainModuleTest)
#include "MainModuleTest.moc"
