#include "reports/ReportText.h"
#include "reports/ReportDocument.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace horalog;
using store::ReportEntry;

namespace
{

const QDate kPrinted(2026, 12, 10);
const QString kRule(70, QLatin1Char('_'));
const QString kHeadings = "Client      Project   Task          Date      Start      End     Hours";

ReportEntry entry(const QString& client, const QString& project, const QString& task, const QDate& day,
                  const QTime& start, const QTime& end, double hours)
{
    ReportEntry row;
    row.client = client;
    row.project = project;
    row.task = task;
    row.day = day;
    row.start = start;
    row.end = end;
    row.hours = hours;
    return row;
}

ReportOptions december(bool singleDay = false)
{
    ReportOptions options;
    options.filter.firstDay = QDate(2026, 12, 1);
    options.filter.lastDay = QDate(2026, 12, 15);
    options.singleDay = singleDay;
    return options;
}

QStringList textOf(const ReportText& report)
{
    return report.lineTexts();
}

QStringList heading(const QString& period)
{
    return {"Horalog 96", kRule, period, "10-December-26", kRule, kHeadings};
}

const QList<ReportEntry> kTwoClients{
    entry("Acme Tooling Co", "Press line", "Site survey", {2026, 12, 1}, {9, 5}, {10, 20}, 1.25),
    entry("Acme Tooling Co", "Press line", "#2 review", {2026, 12, 1}, {13, 30}, {14, 38}, 1.13),
    entry("Baker's", "B", "b", {2026, 12, 2}, {12, 0}, {12, 7}, 0.12),
};

QTextCharFormat formatAt(QTextDocument& document, int block, int column)
{
    QTextCursor cursor(document.findBlockByNumber(block));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column + 1);
    return cursor.charFormat();
}

} // namespace

class ReportTextTest : public QObject
{
    Q_OBJECT

  private slots:
    void roundedToTheQuarterHour_data()
    {
        QTest::addColumn<double>("hours");
        QTest::addColumn<double>("rounded");
        QTest::newRow("1.10 down") << 1.10 << 1.00;
        QTest::newRow("1.12 down") << 1.12 << 1.00;
        QTest::newRow("1.13 up") << 1.13 << 1.25;
        QTest::newRow("an eighth rounds up") << 0.125 << 0.25;
        QTest::newRow("three eighths round up") << 2.375 << 2.50;
        QTest::newRow("2.99 to the next hour") << 2.99 << 3.00;
        QTest::newRow("a quarter stays") << 1.25 << 1.25;
        QTest::newRow("whole hours stay") << 8.00 << 8.00;
        QTest::newRow("nothing") << 0.0 << 0.0;
        QTest::newRow("a hundred hours and more") << 100.62 << 100.50;
    }

    void roundedToTheQuarterHour()
    {
        QFETCH(double, hours);
        QFETCH(double, rounded);
        QCOMPARE(RoundedHours(hours), rounded);
    }

    void twoClientsWithTheirTotals()
    {
        const QStringList expected =
            heading("Task Hours: December 1 to December 15, 2026") +
            QStringList{
                "Acme Toolin Press lin Site survey  12/1/26    9:05a    10:20a     1.25",
                "Acme Toolin Press lin #2 review    12/1/26    1:30p     2:38p     1.25",
                "                                              Acme Tooling Co:    2.50",
                "",
                "Baker's     B         b            12/2/26   12:00p    12:07p     0.00",
                "                                                      Baker's:    0.00",
                "",
                "                                                        Total:    2.50",
                "",
            };
        QCOMPARE(textOf(reportText(kTwoClients, december(), kPrinted)), expected);
    }

    void oneClientForOneDayWithTheEmployee()
    {
        ReportOptions options = december(true);
        options.filter.employeeId = 1;
        options.employeeName = "Brandt, Alice";
        const QStringList expected =
            heading("Task Hours: December 1") +
            QStringList{
                "Acme Toolin Press lin Site survey  12/1/26    9:05a    10:20a     1.25",
                "                                              Acme Tooling Co:    1.25",
                "",
                "Brandt, Alice                                           Total:    1.25",
                "",
            };
        QCOMPARE(textOf(reportText({kTwoClients[0]}, options, kPrinted)), expected);
    }

    void anEmptyPeriodStillTotals()
    {
        const QStringList expected =
            heading("Task Hours: December 1 to December 15, 2026") +
            QStringList{
                "                                                             :    0.00",
                "",
                "                                                        Total:    0.00",
                "",
            };
        QCOMPARE(textOf(reportText({}, december(), kPrinted)), expected);
    }

    // The table is 70 columns; a value that does not fit widens its own line and the report goes on.
    void wideValuesWidenTheirLineOnly()
    {
        const QString longClient(64, QLatin1Char('C'));
        ReportOptions options = december();
        options.filter.employeeId = 1;
        options.employeeName = QString(58, QLatin1Char('E'));
        const ReportText lines =
            reportText({entry(longClient, "P", "T", {2026, 12, 3}, {8, 0}, {8, 0}, 100.0),
                        entry("Zenith", "P", "T", {2026, 12, 3}, {9, 0}, {9, 30}, 0.5)},
                       options, kPrinted);
        const QStringList text = textOf(lines);
        QCOMPARE(text.mid(6), (QStringList{
                                  "CCCCCCCCCCC P         T            12/3/26    8:00a     8:00a    100.00",
                                  longClient + ":  100.00",
                                  "",
                                  "Zenith      P         T            12/3/26    9:00a     9:30a     0.50",
                                  "                                                       Zenith:    0.50",
                                  "",
                                  *options.employeeName + "Total:  100.50",
                                  "",
                              }));
    }

    void kindsMarkTheLinesToFormat()
    {
        const ReportText report = reportText(kTwoClients, december(), kPrinted);
        QList<ReportLineKind> kinds;
        for (const ReportText::Line& line : report.lines)
            kinds << line.kind;
        using K = ReportLineKind;
        QCOMPARE(kinds, (QList<K>{K::Title, K::Rule, K::Period, K::PrintDate, K::Rule, K::Headings, K::Detail,
                                  K::Detail, K::ClientTotal, K::Blank, K::Detail, K::ClientTotal, K::Blank,
                                  K::ReportTotal, K::Blank}));
    }

    void documentCarriesTheFormats()
    {
        const std::unique_ptr<QTextDocument> document =
            reportDocument(reportText(kTwoClients, december(), kPrinted));
        QTextDocument& doc = *document;
        QCOMPARE(doc.blockCount(), 16);
        QVERIFY(doc.toPlainText().endsWith("Total:    2.50\n\n"));

        QCOMPARE(doc.findBlockByNumber(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        QCOMPARE(doc.findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHCenter, Qt::Alignment());
        const QTextCharFormat title = formatAt(doc, 0, 0);
        QCOMPARE(title.fontFamilies().toStringList(), QStringList{"Times New Roman"});
        QCOMPARE(title.fontPointSize(), 16.0);
        QCOMPARE(title.foreground().color(), QColor(0, 0, 255));
        QCOMPARE(title.fontWeight(), int(QFont::Bold));

        struct Expected {
            int block;
            int column;
            QString family;
            double points;
            bool bold;
            bool italic;
        };
        const QString times = "Times New Roman";
        const QString courier = "Courier New";
        const QList<Expected> cases{
            {1, 69, times, 12, true, false},      {2, 0, times, 14, true, false},
            {2, 11, times, 14, true, false},      {2, 12, times, 12, true, false},
            {3, 0, times, 12, true, true},        {3, 13, times, 12, true, true},
            {4, 0, times, 12, true, false},       {5, 0, courier, 9.75, true, false},
            {6, 0, courier, 9.75, false, false},  {6, 69, courier, 9.75, false, false},
            {8, 46, courier, 9.75, true, false},  {8, 69, courier, 9.75, true, false},
            {13, 56, courier, 9.75, true, false},
        };
        for (const Expected& check : cases) {
            const QTextCharFormat format = formatAt(doc, check.block, check.column);
            const QString where =
                QStringLiteral("line %1 column %2").arg(check.block + 1).arg(check.column + 1);
            QVERIFY2(format.fontFamilies().toStringList() == QStringList{check.family}, qPrintable(where));
            QVERIFY2(format.fontPointSize() == check.points, qPrintable(where));
            QVERIFY2((format.fontWeight() == QFont::Bold) == check.bold, qPrintable(where));
            QVERIFY2(format.fontItalic() == check.italic, qPrintable(where));
            QVERIFY2(format.foreground().style() == Qt::NoBrush, qPrintable(where));
        }
    }

    // A "#" in a name is text like any other: it stays, and its line keeps the detail format.
    void aHashInANameIsShownAndChangesNothing()
    {
        const std::unique_ptr<QTextDocument> document = reportDocument(reportText(
            {entry("#1 Client", "#", "#task", {2026, 12, 1}, {9, 0}, {10, 0}, 1.0)}, december(), kPrinted));
        const QTextBlock detail = document->findBlockByNumber(6);
        QCOMPARE(detail.text(),
                 QString("#1 Client   #         #task        12/1/26    9:00a    10:00a     1.00"));
        QVERIFY(formatAt(*document, 6, 0).fontWeight() != QFont::Bold);
        QCOMPARE(document->findBlockByNumber(7).text(),
                 QString("                                                    #1 Client:    1.00"));
    }

    // A line break or tab brought in with imported data would break the columns; it shows as a blank.
    void aLineBreakInANameKeepsTheLineWhole()
    {
        const std::unique_ptr<QTextDocument> document = reportDocument(
            reportText({entry("Two\nLines", "a\tb", "c\r\nd", {2026, 12, 1}, {9, 0}, {10, 0}, 1.0)},
                       december(), kPrinted));
        QCOMPARE(document->blockCount(), 12);
        QCOMPARE(document->findBlockByNumber(6).text(),
                 QString("Two Lines   a b       c  d         12/1/26    9:00a    10:00a     1.00"));
        QCOMPARE(document->findBlockByNumber(7).text(),
                 QString("                                                    Two Lines:    1.00"));
        QVERIFY(formatAt(*document, 7, 60).fontWeight() == QFont::Bold);
    }
};

QTEST_MAIN(ReportTextTest)
#include "ReportTextTest.moc"
