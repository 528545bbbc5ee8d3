#include "reports/CsvCell.h"

#include <QTest>

using namespace horalog;

// Typed text that a spreadsheet would take for a formula is written as text; the export's own reading
// back is in the CSV export test.
class CsvCellTest : public QObject
{
    Q_OBJECT

  private slots:
    void cellsThatLookLikeFormulasAreText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
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
        QTest::newRow("plain text") << "Acme, Inc."
                                    << "Acme, Inc.";
        QTest::newRow("inner signs") << "Web - launch = go"
                                     << "Web - launch = go";
        QTest::newRow("leading blank") << " =1"
                                       << " =1";
        QTest::newRow("empty") << ""
                               << "";
    }

    void cellsThatLookLikeFormulasAreText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QCOMPARE(formulaSafe(typed), written);
    }
};

QTEST_GUILESS_MAIN(CsvCellTest)
#include "CsvCellTest.moc"
