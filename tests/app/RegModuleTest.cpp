#include "app/RegModule.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace horalog;

class RegModuleTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<RegModule> reg;

    QString read(const QString& valueName) const
    {
        return reg->QueryValue(kHoralogKey, valueName).toString();
    }

  private slots:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        reg = std::make_unique<RegModule>(folder->path());
    }

    void cleanup()
    {
        reg.reset();
        folder.reset();
    }

    void aValueNeverWrittenReadsEmpty()
    {
        QVERIFY(reg->QueryValue(kHoralogKey, QStringLiteral("DataDir")).toString().isEmpty());
        reg->CreateNewKey(kHoralogKey);
        QVERIFY(read(QStringLiteral("Cancelled")).isEmpty());
    }

    void nothingIsWrittenBeforeTheKeyExists()
    {
        reg->SetKeyValue(kHoralogKey, QStringLiteral("DataDir"), QStringLiteral("/srv/horalog"), REG_SZ);
        QVERIFY(!QFileInfo::exists(reg->keyFile(kHoralogKey)));
        reg->CreateNewKey(kHoralogKey);
        QVERIFY(read(QStringLiteral("DataDir")).isEmpty());
    }

    // Creating the key again, as every first start does, keeps what it holds.
    void creatingAnExistingKeyKeepsItsValues()
    {
        reg->CreateNewKey(kHoralogKey);
        reg->SetKeyValue(kHoralogKey, QStringLiteral("OnTop"), QStringLiteral("True"), REG_SZ);
        reg->CreateNewKey(kHoralogKey);
        QCOMPARE(read(QStringLiteral("OnTop")), QString("True"));
    }

    void textComesBackExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("directory with blanks, apostrophe and accents")
            << QString::fromUtf8("/home/anne/My Data/O'Brien's Zeitkonto/Äpfel ñ 時間");
        QTest::newRow("backslashes") << "C:\\Horalog\\Data";
        QTest::newRow("trailing separator") << "/srv/horalog/";
        QTest::newRow("employee name with a comma") << "Smith, John";
        QTest::newRow("characters a settings file treats specially") << "a=b; #c \"d\" [e]";
        QTest::newRow("blanks around") << "  padded  ";
        QTest::newRow("the start moment") << "8/26/96 7:04 PM";
    }

    void textComesBackExactly()
    {
        QFETCH(QString, text);
        reg->CreateNewKey(kHoralogKey);
        reg->SetKeyValue(kHoralogKey, QStringLiteral("Value"), text, REG_SZ);
        QCOMPARE(read(QStringLiteral("Value")), text);
        // Another run of the program reads the file afresh.
        QCOMPARE(RegModule(folder->path()).QueryValue(kHoralogKey, QStringLiteral("Value")).toString(), text);
    }

    // The values of a saved timing go to the disk together; before the key exists nothing is written.
    void severalValuesAreWrittenTogether()
    {
        const QList<std::pair<QString, QString>> values{
            {"Cancelled", "True"}, {"User", "Smith, John"}, {"Running/Active", "False"}};
        QVERIFY(!reg->SetKeyValuesDurably(kHoralogKey, values));
        QVERIFY(!QFileInfo::exists(reg->keyFile(kHoralogKey)));
        reg->CreateNewKey(kHoralogKey);
        reg->SetKeyValue(kHoralogKey, QStringLiteral("DataDir"), QStringLiteral("/srv/horalog"), REG_SZ);
        QVERIFY(reg->SetKeyValuesDurably(kHoralogKey, values));
        const RegModule nextStart(folder->path());
        for (const auto& [name, text] : values)
            QCOMPARE(nextStart.QueryValue(kHoralogKey, name).toString(), text);
        QCOMPARE(nextStart.QueryValue(kHoralogKey, QStringLiteral("DataDir")).toString(),
                 QString("/srv/horalog"));
    }

    // A settings folder nobody may write to, not even the superuser who runs the tests.
    void aFailedWriteDoesNotTurnUpLater()
    {
        reg->CreateNewKey(kHoralogKey);
        reg->SetKeyValue(kHoralogKey, QStringLiteral("DataDir"), QStringLiteral("/srv/horalog"), REG_SZ);
        const QString folderOfKey = QFileInfo(reg->keyFile(kHoralogKey)).absolutePath();
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folderOfKey}) != 0)
            QSKIP("chattr cannot make the settings folder unwritable here");
        const bool written =
            reg->SetKeyValuesDurably(kHoralogKey, {{"DataDir", "/mnt/elsewhere"}, {"User", "Smith, John"}});
        QCOMPARE(QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folderOfKey}), 0);
        QVERIFY(!written);
        QCOMPARE(read(QStringLiteral("DataDir")), QString("/srv/horalog"));

        reg->SetKeyValue(kHoralogKey, QStringLiteral("OnTop"), QStringLiteral("True"), REG_SZ);
        QFile file(reg->keyFile(kHoralogKey));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray onDisk = file.readAll();
        QVERIFY2(onDisk.contains("DataDir=/srv/horalog") && onDisk.contains("OnTop=True") &&
                     !onDisk.contains("User"),
                 onDisk.constData());
    }

    void valuesAreWrittenAsText_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("stored");
        QTest::newRow("true") << QVariant(true) << int(REG_SZ) << "True";
        QTest::newRow("false") << QVariant(false) << int(REG_SZ) << "False";
        QTest::newRow("checked billable box") << QVariant(1) << int(REG_SZ) << "1";
        QTest::newRow("number as a number") << QVariant(42) << int(REG_DWORD) << "42";
        QTest::newRow("unknown type writes nothing") << QVariant("data") << 3 << "";
    }

    void valuesAreWrittenAsText()
    {
        QFETCH(QVariant, value);
        QFETCH(int, type);
        QFETCH(QString, stored);
        reg->CreateNewKey(kHoralogKey);
        reg->SetKeyValue(kHoralogKey, QStringLiteral("Value"), value, type);
        QCOMPARE(read(QStringLiteral("Value")), stored);
    }
};

QTEST_MAIN(RegModuleTest)
#include "RegModuleTest.moc"
