#include "reports/CsvCell.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace horalog;

namespace
{

// Every field quoted, as a CSV writer may.
QString quoted(const QString& text)
{
    return '"' + QString(text).replace('"', "\"\"") + '"';
}

} // namespace

// Exported cells never run as formulas in a spreadsheet, and read back as the text they hold.
class CsvCellTest : public QObject
{
    Q_OBJECT

  private slots:
    void cellsThatLookLikeFormulasAreText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("formula") << "=1+1"
                                 << "'=1+1";
        QTest::newRow("function") << "@SUM(A1)"
                                  << "'@SUM(A1)";
        QTest::newRow("minus") << "-2"
                               << "'-2";
        QTest::newRow("plus") << "+x"
                              << "'+x";
        QTest::newRow("tab") << "\ttab"
                             << "'\ttab";
        QTest::newRow("carriage return") << "\rcr"
                                         << "'\rcr";
        QTest::newRow("formula with a comma") << "=HYPERLINK(\"http://x\",\"y\")"
                                              << "'=HYPERLINK(\"http://x\",\"y\")";
        QTest::newRow("plain text") << "Acme, Inc."
                                    << "Acme, Inc.";
        QTest::newRow("inner minus") << "Web - launch"
                                     << "Web - launch";
        QTest::newRow("empty") << ""
                               << "";
    }

    // Written as a line between two plain cells and read back with Python's CSV reader.
    void cellsThatLookLikeFormulasAreText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, readBack);
        QCOMPARE(formulaSafe(typed), readBack);
        const QString python = QStandardPaths::findExecutable("python3");
        if (python.isEmpty())
            QSKIP("python3 is not installed");
        QTemporaryDir folder;
        QFile file(folder.filePath("cells.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            (quoted("before") + ',' + quoted(formulaSafe(typed)) + ',' + quoted("after") + "\r\n").toUtf8());
        file.close();
        QProcess reader;
        reader.start(python, {"-c",
                              "import csv, sys; row = next(csv.reader(open(sys.argv[1], newline='', "
                              "encoding='utf-8'))); sys.stdout.write('\\x1f'.join(row))",
                              file.fileName()});
        QVERIFY(reader.waitForFinished());
        QCOMPARE(reader.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()).split(QChar(0x1f)),
                 (QStringList{"before", readBack, "after"}));
    }
};

QTEST_GUILESS_MAIN(CsvCellTest)
#include "CsvCellTest.moc"
