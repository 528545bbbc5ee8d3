#include "platform/QtPlatform.h"

#include <QTest>

using namespace horalog;

class QtPlatformTest : public QObject
{
    Q_OBJECT

  private slots:
    void fileFiltersAsQtWantsThem_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        QTest::newRow("a text and its pattern") << "Horalog data|Horalog.mdb"
                                                << "Horalog data (Horalog.mdb)";
        QTest::newRow("a text that shows its pattern") << "Rich Text Format (*.rtf)|*.rtf"
                                                       << "Rich Text Format (*.rtf)";
        QTest::newRow("two filters") << "Sounds (*.wav)|*.wav|All files|*"
                                     << "Sounds (*.wav);;All files (*)";
    }

    void fileFiltersAsQtWantsThem()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(qtFileFilter(filter), qt);
    }
};

QTEST_MAIN(QtPlatformTest)
#include "QtPlatformTest.moc"
