#include "platform/QtPlatform.h"

#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>

using namespace horalog;

// What cannot be played still makes a sound: the default beep, and the log says why.
class SoundPlayerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir startDir;
    QTemporaryDir programDir;

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

  private slots:
    void initTestCase()
    {
        QDir(startDir.path()).mkpath("sub");
        writeFile(startDir.filePath("BeepBeep.wav"), "RIFF");
        writeFile(startDir.filePath("sub/Gong.wav"), "RIFF");
        writeFile(programDir.filePath("BeepBeep.wav"), "RIFF");
        writeFile(programDir.filePath("Chime.wav"), "RIFF");
    }

    void locateSound_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found");
        const QString start = QFileInfo(startDir.path()).absoluteFilePath();
        const QString program = QFileInfo(programDir.path()).absoluteFilePath();
        QTest::newRow("bare name in the start directory") << "BeepBeep.wav" << start + "/BeepBeep.wav";
        QTest::newRow("bare name only beside the program") << "Chime.wav" << program + "/Chime.wav";
        QTest::newRow("bare name nowhere") << "Bell.wav"
                                           << "";
        QTest::newRow("full path") << start + "/sub/Gong.wav" << start + "/sub/Gong.wav";
        QTest::newRow("full path, moved away") << start + "/Gong.wav"
                                               << "";
        QTest::newRow("a folder is no sound") << start + "/sub"
                                              << "";
        QTest::newRow("no name") << ""
                                 << "";
    }

    void locateSound()
    {
        QFETCH(QString, name);
        QFETCH(QString, found);
        QCOMPARE(horalog::locateSound(name, {startDir.path(), programDir.path()}), found);
    }

    void aMissingFileBeepsAndSaysSo()
    {
        int beeps = 0;
        QtSoundPlayer player([&beeps] { ++beeps; });
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("Cannot play \"/gone/Gong.wav\": there is no such "
                                                "file; the default beep sounds instead."));
        player.play("/gone/Gong.wav");
        QCOMPARE(beeps, 1);
    }

    void aFileThatIsNoSoundBeeps()
    {
        int beeps = 0;
        QtSoundPlayer player([&beeps] { ++beeps; });
        const QString damaged = startDir.filePath("Damaged.wav");
        writeFile(damaged, QByteArray(400, 'x'));
        if (QMediaDevices::audioOutputs().isEmpty()) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("there is no audio device"));
        } else {
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression("Playing"));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Error decoding"));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("it is no WAV sound that can be played"));
        }
        player.play(damaged);
        QTRY_COMPARE(beeps, 1);
    }
};

QTEST_MAIN(SoundPlayerTest)
#include "SoundPlayerTest.moc"
