#include "store/DataFile.h"
#include "support/TestEnvironment.h"
#include "timing/TimerForm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace horalog;

// The data directory of an installed program at its start: made with an empty data file only where no
// "DataDir" is stored yet.
class FirstStartTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    QTemporaryDir home;
    QString userFolder;

    QString setting(const QString& name) const { return env->reg.QueryValue(kHoralogKey, name).toString(); }

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        userFolder = QDir(home.path()).filePath(".local/share/Horalog");
        env->module->start.firstDataDir = userFolder;
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY(QDir(QDir(home.path()).filePath(".local")).removeRecursively());
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // An empty file in its place would hide the user's data: the missing file is reported instead.
    void aStoredDataDirWhoseFileIsGoneMakesNothing()
    {
        QVERIFY(QFile::remove(env->dataFile()));
        env->fake.prompter.answer(Answer::Ok);
        new TimerForm(*env->module);
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        QCOMPARE(env->fake.prompter.messages.first().text, "Error 3024 has occurred.  Couldn't find file '" +
                                                               env->dataFile() +
                                                               "'.\rContact Fernwick for assistance.");
        QVERIFY(!QFileInfo::exists(env->dataFile()));
        QVERIFY(!QFileInfo::exists(userFolder));
        QCOMPARE(setting("DataDir"), env->dataDir());
    }

    // A first start that cannot make its data file stores nothing, so that the next start tries again.
    void aFirstStartThatCannotMakeItsDataFileTriesAgainNextTime()
    {
        QVERIFY(QDir(env->settingsDir()).removeRecursively());
        QVERIFY(QDir(home.path()).mkpath(".local/share"));
        QFile blocker(userFolder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        env->fake.prompter.answer(Answer::Ok);
        new TimerForm(*env->module);
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        QVERIFY(
            env->fake.prompter.messages.first().text.startsWith("Error 3044 has occurred.  '" + userFolder));
        QCOMPARE(setting("DataDir"), QString());
        test::closeAllWindows();

        QVERIFY(QFile::remove(userFolder));
        new TimerForm(*env->module);
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        QCOMPARE(setting("DataDir"), userFolder);
        QCOMPARE(env->module->DataPath, userFolder);
        QVERIFY(QFileInfo(QDir(userFolder).filePath(store::kDataFileName)).isFile());
        QCOMPARE(QDir(userFolder).entryList(QDir::Files), QStringList{store::kDataFileName});
    }
};

QTEST_MAIN(FirstStartTest)
#include "FirstStartTest.moc"
