#include "store/DataFile.h"
#include "support/TestEnvironment.h"
#include "timing/TimerForm.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace horalog;

namespace
{

const QString kQuestion =
    "You have chosen to change the data location to:\r{file}.\r\rIf you confirm the change, "
    "Horalog will be restarted without regard to any current tasks.\rDo you wish to continue?";
const QString kNotice =
    "The data location has been changed.\r\rHoralog will now restart for the\rchanges to take effect.";
const QString kKept = "\r\rThe data location was not changed.";

} // namespace

class DataLocationTest : public QObject
{
    Q_OBJECT

    QString startDirectory;
    std::unique_ptr<test::TestEnvironment> env;
    std::unique_ptr<QTemporaryDir> elsewhere;
    QPointer<TimerForm> form;

    QString stored(const QString& name) const { return env->settingOnDisk(name); }

  private slots:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        startDirectory = QDir::currentPath();
    }

    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        elsewhere = std::make_unique<QTemporaryDir>();
        form = new TimerForm(*env->module);
    }

    void cleanup()
    {
        if (form && form->isTiming()) {
            env->fake.prompter.answer(Answer::Yes);
            form->close();
        }
        const QString problems = test::tearDown(env);
        elsewhere.reset();
        QDir::setCurrent(startDirectory);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void changeOfTheDataLocation_data()
    {
        QTest::addColumn<QString>("file");    // what is on the disk in the chosen directory
        QTest::addColumn<QString>("chosen");  // the name chosen in the dialog; empty when cancelled
        QTest::addColumn<QString>("answer");  // to the question: "Yes", "No", or "" when not asked
        QTest::addColumn<QString>("message"); // a box other than the question and the notice
        QTest::addColumn<bool>("moved");
        QTest::newRow("dialog cancelled") << "data"
                                          << ""
                                          << ""
                                          << "" << false;
        QTest::newRow("a file of another name") << "data"
                                                << "Other.mdb"
                                                << ""
                                                << "" << false;
        QTest::newRow("answered No") << "data"
                                     << "Horalog.mdb"
                                     << "No"
                                     << "" << false;
        QTest::newRow("answered Yes") << "data"
                                      << "Horalog.mdb"
                                      << "Yes"
                                      << "" << true;
        QTest::newRow("name in other letters") << "data"
                                               << "HORALOG.MDB"
                                               << "Yes"
                                               << "" << true;
        QTest::newRow("the current data file") << "current"
                                               << "Horalog.mdb"
                                               << "Yes"
                                               << "" << true;
        QTest::newRow("not a data file") << "text"
                                         << "Horalog.mdb"
                                         << ""
                                         << "Unrecognized database format '{file}'." + kKept << false;
        QTest::newRow("settings cannot be written")
            << "data"
            << "Horalog.mdb"
            << "Yes"
            << "The settings file '{settings}' could not be written." + kKept << false;
    }

    void changeOfTheDataLocation()
    {
        QFETCH(QString, file);
        QFETCH(QString, chosen);
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(bool, moved);
        const QString directory = file == "current" ? env->dataDir() : elsewhere->path();
        const QString path = chosen.isEmpty() ? QString() : QDir(directory).filePath(chosen);
        if (file == "data") {
            store::createDataFile(path);
        } else if (file == "text") {
            QFile text(path);
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("Hours for December\n");
        }
        const QString settingsFile = env->reg.keyFile(kHoralogKey);
        if (message.contains("{settings}")) {
            QVERIFY(QFile::remove(settingsFile));
            QVERIFY(QDir().mkpath(settingsFile));
        }
        // A timing is given up by the restart, and so not offered after it.
        form->SSCommand1_Click(0);
        env->fake.prompter.answerText(path);
        if (!message.isEmpty() && !message.contains("{settings}"))
            env->fake.prompter.answer(Answer::Ok);
        if (!answer.isEmpty())
            env->fake.prompter.answer(answer == "Yes" ? Answer::Yes : Answer::No);
        if (moved || message.contains("{settings}"))
            env->fake.prompter.answer(Answer::Ok);
        // The dialog may leave another current directory behind.
        QVERIFY(QDir::setCurrent(elsewhere->path()));

        QVERIFY(form->OptionsSubMenu->isEnabled());
        form->OptionsSubMenu->trigger();
        QCOMPARE(QDir::currentPath(), env->module->StartDir);
        const FileRequest& dialog = env->fake.prompter.files.first();
        QCOMPARE(dialog.title, QString("Data Location"));
        QCOMPARE(dialog.filter, QString("Horalog data|Horalog.mdb"));
        QCOMPARE(dialog.directory, env->dataDir());
        QCOMPARE(dialog.fileName, QString());

        QStringList boxes;
        if (!message.isEmpty() && !message.contains("{settings}"))
            boxes << QString(message).replace("{file}", path);
        if (!answer.isEmpty())
            boxes << QString(kQuestion).replace("{file}", path);
        if (message.contains("{settings}"))
            boxes << QString(message).replace("{settings}", settingsFile);
        if (moved)
            boxes << kNotice;
        QStringList shown;
        for (const MessageRequest& box : env->fake.prompter.messages) {
            shown << box.text;
            QCOMPARE(box.title, QString("Horalog"));
        }
        QCOMPARE(shown, boxes);
        for (const MessageRequest& box : env->fake.prompter.messages) {
            const bool question = box.text.startsWith("You have chosen");
            QCOMPARE(box.buttons, question ? MessageButtons::YesNo : MessageButtons::Ok);
            QCOMPARE(box.defaultAnswer, question ? Answer::No : Answer::Ok);
            QCOMPARE(box.icon, box.text == kNotice ? MessageIcon::Information : MessageIcon::Exclamation);
        }

        if (!message.contains("{settings}")) {
            QCOMPARE(stored("DataDir"), moved ? directory : env->dataDir());
            QCOMPARE(stored("Running/Active"), moved ? QString("False") : QString("True"));
        }
        QCOMPARE(env->fake.process.started,
                 moved ? QStringList{QCoreApplication::applicationFilePath()} : QStringList());
        QCOMPARE(env->fake.process.exits, moved ? 1 : 0);
    }
};

QTEST_MAIN(DataLocationTest)
#include "DataLocationTest.moc"
