#include "reports/CsvExport.h"
#include "reports/ReportForm.h"
#include "support/TestEnvironment.h"
#include "support/Windows.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <sys/stat.h>

using namespace horalog;

namespace
{

// Python's csv module, an independent reader, gives the rows of a file as JSON.
const QString kReader = QStringLiteral(R"(import csv, json, sys
with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:
    json.dump(list(csv.reader(f, strict=True)), sys.stdout)
)");

QList<QStringList> readBack(const QString& path)
{
    QProcess python;
    python.start("python3", {"-c", kReader, path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return {{"python3 failed: " + QString::fromUtf8(python.readAllStandardError())}};
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue& field : row.toArray())
            fields << field.toString();
        rows << fields;
    }
    return rows;
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QStringList kHeadings{"Date",  "Employee", "Client", "Project",       "Task",
                            "Start", "End",      "Hours",  "Rounded Hours", "Billable"};

} // namespace

// File > Export as CSV... of the report window, read back as a spreadsheet would.
class CsvExportTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> env;
    std::unique_ptr<QTemporaryDir> start;
    QPointer<ReportForm> form;

    QString reports(const QString& name = {}) const
    {
        return QDir(start->path()).filePath(name.isEmpty() ? "Reports" : "Reports/" + name);
    }

    void openDecember()
    {
        ReportOptions options;
        options.filter.firstDay = QDate(2026, 12, 1);
        options.filter.lastDay = QDate(2026, 12, 15);
        form = new ReportForm(*env->module, options);
        QVERIFY(test::showActive(form));
    }

    // Chooses `name` in the save dialog (none: Cancel), then gives `answer` to the box that follows.
    void exportAs(const QString& name, std::optional<Answer> answer = {})
    {
        env->fake.prompter.answerText(name.isEmpty() ? QString() : reports(name));
        if (answer)
            env->fake.prompter.answer(*answer);
        QVERIFY(form->ExportMenuItem && form->ExportMenuItem->isEnabled());
        form->ExportMenuItem->trigger();
    }

  private slots:
    void init()
    {
        env = std::make_unique<test::TestEnvironment>();
        start = std::make_unique<QTemporaryDir>();
        env->module->StartDir = start->path();
        env->sql({
            "INSERT INTO Employees (LastName, FirstName) VALUES ('Øberg', 'Zoë'), ('Brandt', 'Alice')",
            R"(INSERT INTO Clients (ClientName) VALUES ('O''Brien, Smith & Co'), ('Acme'))",
            R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours,
                Billable) VALUES
                (1, 'O''Brien, Smith & Co', 'The "Big" Roof', 'Survey
and measure', '2026-12-02', '2026-12-02 09:05:00', '2026-12-02 10:13:00', 1.13, 1),
                (2, 'Acme', 'Mill', 'Drawing', '2026-12-01', '2026-12-01 13:00:00', '2026-12-01 13:30:00', 0.5, 0),
                (9, 'Acme', 'Mill', 'Gone', '2026-12-01', '2026-12-01 08:00:00', '2026-12-01 08:06:00', 0.1, 1),
                (2, 'Acme', 'Mill', 'Later', '2026-12-16', '2026-12-16 08:00:00', '2026-12-16 09:00:00', 1, 1))",
        });
        env->module->openTaskDatabase();
    }

    void cleanup()
    {
        const QString problems = test::tearDown(env);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
        start.reset();
    }

    // Quotes, commas, apostrophes, accents and line breaks come back as they were typed, in the
    // report's order (client, day, start), one line per entry of the period.
    void aSpreadsheetReadsTheEntriesBack()
    {
        openDecember();
        exportAs("december");
        const FileRequest& dialog = env->fake.prompter.files.first();
        QCOMPARE(dialog.title, QString("Export Report"));
        QCOMPARE(dialog.filter, QString("Comma-separated values (*.csv)|*.csv"));
        QCOMPARE(dialog.directory, reports());

        const QByteArray bytes = contentsOf(reports("december.csv"));
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"
                                 "Date,Employee,Client,Project,Task,Start,End,Hours,"
                                 "Rounded Hours,Billable\r\n"));
        QCOMPARE(
            readBack(reports("december.csv")),
            (QList<QStringList>{
                kHeadings,
                {"2026-12-01", "", "Acme", "Mill", "Gone", "2026-12-01 08:00:00", "2026-12-01 08:06:00",
                 "0.10", "0.00", "Yes"},
                {"2026-12-01", "Brandt, Alice", "Acme", "Mill", "Drawing", "2026-12-01 13:00:00",
                 "2026-12-01 13:30:00", "0.50", "0.50", "No"},
                {"2026-12-02", "Øberg, Zoë", "O'Brien, Smith & Co", "The \"Big\" Roof", "Survey\nand measure",
                 "2026-12-02 09:05:00", "2026-12-02 10:13:00", "1.13", "1.25", "Yes"},
            }));
        QVERIFY(env->fake.prompter.messages.isEmpty());
    }

    // Typed text that a spreadsheet would take for a formula reads back as text, with the apostrophe;
    // the file is its owner's only, whatever the umask.
    void formulasArriveAsText()
    {
        env->sql(
            {R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time",
                     Hours, Billable) VALUES (2, '=1+1', '@SUM(A1)', '-2', '2026-12-03', '2026-12-03 09:00:00',
                     '2026-12-03 10:00:00', 1, 1), (2, '+x', char(9) || 'tab', 'plain', '2026-12-04',
                     '2026-12-04 09:00:00', '2026-12-04 10:00:00', 1, 1))"});
        openDecember();
        const mode_t startedWith = ::umask(0);
        exportAs("formulas");
        ::umask(startedWith);
        QCOMPARE(QFile::permissions(reports("formulas.csv")) & 0x0777, QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QFile::permissions(reports()) & 0x0777, QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        const QList<QStringList> rows = readBack(reports("formulas.csv"));
        QList<QStringList> typed;
        for (const QStringList& row : rows) {
            if (row.value(0) == "2026-12-03" || row.value(0) == "2026-12-04") {
                typed << row.mid(2, 3);
                // The numbers the export writes itself stay numbers.
                QCOMPARE(row.value(7), QString("1.00"));
            }
        }
        std::ranges::sort(typed);
        QCOMPARE(typed, (QList<QStringList>{{"'+x", "'\ttab", "plain"}, {"'=1+1", "'@SUM(A1)", "'-2"}}));
    }

    void fieldsAreQuotedOnlyWhenTheyMustBe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "Mill"
                               << "Mill";
        QTest::newRow("apostrophe") << "O'Brien"
                                    << "O'Brien";
        QTest::newRow("comma") << "Smith, Jones"
                               << "\"Smith, Jones\"";
        QTest::newRow("double quote") << "The \"Big\" Roof"
                                      << "\"The \"\"Big\"\" Roof\"";
        QTest::newRow("line break") << "a\r\nb"
                                    << "\"a\r\nb\"";
    }

    void fieldsAreQuotedOnlyWhenTheyMustBe()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(csvField(text), field);
    }

    // A name typed without the suffix gets it, and replacing that file is asked about; cancelling
    // writes nothing.
    void theSuffixIsAddedAndAReplaceAsked()
    {
        openDecember();
        exportAs(QString());
        QVERIFY(QDir(reports()).isEmpty());

        QFile earlier(reports("hours.csv"));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
        exportAs("hours", Answer::No);
        QCOMPARE(env->fake.prompter.messages.last().text,
                 QString("hours.csv already exists.\rDo you want to replace it?"));
        QCOMPARE(env->fake.prompter.messages.last().title, QString("Export Report"));
        QCOMPARE(contentsOf(reports("hours.csv")), QByteArray("earlier"));

        exportAs("hours", Answer::Yes);
        QCOMPARE(readBack(reports("hours.csv")).size(), 4);
    }

    // A file that cannot be written is told, the window stays, and a retry once the fault is gone writes.
    void anExportThatFailsSaysWhyAndARetryWrites()
    {
        openDecember();
        // A file where the chosen file's folder belongs: the file cannot be made there.
        QVERIFY(QDir().mkpath(reports()));
        QFile blocker(reports("sub"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        exportAs("sub/full.csv", Answer::Ok);
        QCOMPARE(env->fake.prompter.messages.size(), 1);
        QVERIFY2(env->fake.prompter.messages.first().text.startsWith(
                     "Path/File access error: '" + reports("sub/full.csv") + "' could not be saved ("),
                 qPrintable(env->fake.prompter.messages.first().text));
        QVERIFY(form->isVisible());

        QVERIFY(QFile::remove(reports("sub")));
        QVERIFY(QDir(reports()).mkpath("sub"));
        exportAs("sub/full.csv");
        QCOMPARE(readBack(reports("sub/full.csv")).size(), 4);
    }
};

QTEST_MAIN(CsvExportTest)
#include "CsvExportTest.moc"
