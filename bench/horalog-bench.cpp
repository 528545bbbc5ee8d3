// Times start-up (from Main to the main window shown), the moment the data file's integrity check
// is done (from the same start; the first write waits for it), and the run's peak memory, on data
// files of growing size; "horalog-bench report" times the period report instead. Each measurement
// runs in a fresh process so that peak memory is its own.
#include "app/MainModule.h"
#include "app/RegModule.h"
#include "platform/QtPlatform.h"
#include "reports/ReportDocument.h"
#include "reports/ReportForm.h"
#include "reports/RtfWriter.h"
#include "startup/Main.h"
#include "store/DataFile.h"
#include "store/DataFileHealth.h"
#include "store/Sql.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QSqlError>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTextStream>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace horalog;

namespace
{

constexpr int kEmployees = 25;
constexpr int kClients = 60;

// Nothing measured may wait for anybody: every box is answered with its default and counted; the
// save dialog chooses `savePath`.
class QuietPrompter final : public Prompter
{
  public:
    Answer message(const MessageRequest& request) override
    {
        std::fprintf(stderr, "box: %s\n", qPrintable(request.text));
        return request.defaultAnswer;
    }
    QString input(const InputRequest&) override { return {}; }
    QString openFile(const FileRequest&) override { return {}; }
    QString saveFile(const FileRequest&) override { return savePath; }
    QString savePath;
};

long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void buildDataFile(const QString& dir, int rows)
{
    const QString path = store::dataFilePath(dir);
    store::createDataFile(path);
    const QString connection = QStringLiteral("bench-build");
    {
        QSqlDatabase db = store::openDataFile(dir, connection);
        store::execute(db, QStringLiteral("PRAGMA journal_mode=OFF"));
        store::Transaction transaction(db);
        for (int e = 1; e <= kEmployees; ++e)
            store::execute(db, QStringLiteral("INSERT INTO Employees (LastName, FirstName) VALUES (?, ?)"),
                           {QStringLiteral("Last%1").arg(e), QStringLiteral("First%1").arg(e)});
        for (int c = 1; c <= kClients; ++c)
            store::execute(db, QStringLiteral("INSERT INTO Clients (ClientName) VALUES (?)"),
                           {QStringLiteral("Client %1").arg(c)});
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral(R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday,
            "Start Time", "End Time", Hours, Billable) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?))"));
        const QDateTime first(QDate(2000, 1, 1), QTime(8, 0));
        for (int i = 0; i < rows; ++i) {
            const QDateTime start = first.addSecs(qint64(i) * 900);
            insert.bindValue(0, 1 + i % kEmployees);
            insert.bindValue(1, QStringLiteral("Client %1").arg(1 + (i * 7) % kClients));
            insert.bindValue(2, QStringLiteral("Project %1").arg(i % 13));
            insert.bindValue(3, QStringLiteral("Task %1").arg(i % 29));
            insert.bindValue(4, start.date().toString(Qt::ISODate));
            insert.bindValue(5, start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            insert.bindValue(6, start.addSecs(600).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            insert.bindValue(7, 0.17);
            insert.bindValue(8, i % 2);
            if (!insert.exec())
                store::raiseSqlError(insert.lastError(), db);
        }
        transaction.commit();
    }
    QSqlDatabase::removeDatabase(connection);
}

// Child process: one start-up on the prepared folders, printed as "start-up-ms checked-ms peak-kilobytes".
int measureStartup(int argc, char* argv[], const QString& dataDir, const QString& settingsDir)
{
    QApplication app(argc, argv);
    QuietPrompter prompter;
    SystemClock clock;
    QtSoundPlayer sound;
    QtProcessLauncher process;
    QtPrinter printer;
    RegModule reg(settingsDir);
    reg.CreateNewKey(kHoralogKey);
    reg.SetKeyValue(kHoralogKey, QStringLiteral("DataDir"), dataDir, REG_SZ);
    MainModule module(Platform{prompter, clock, sound, process, printer}, reg);

    QElapsedTimer timer;
    timer.start();
    Main(module);
    QCoreApplication::processEvents();
    const double elapsed = timer.nsecsElapsed() / 1e6;
    if (!module.mainWindow || !module.mainWindow->isVisible())
        return 1;
    store::DataFileHealth& health = store::DataFileHealth::of(module.TaskDatabase());
    health.waitUntilChecked();
    const double checked = timer.nsecsElapsed() / 1e6;
    if (health.isDamaged())
        return 1;
    std::printf("%.3f %.3f %ld\n", elapsed, checked, peakKilobytes());
    return 0;
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The report covers every entry the bench writes: one every quarter hour from January 1, 2000.
ReportOptions wholeHistory()
{
    ReportOptions options;
    options.ReportStartDate = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    options.ReportEndDate = QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59));
    return options;
}

struct ReportRun {
    QuietPrompter prompter;
    SystemClock clock;
    QtSoundPlayer sound;
    QtProcessLauncher process;
    QtPrinter printer;
    RegModule reg;
    MainModule module{Platform{prompter, clock, sound, process, printer}, reg};

    ReportRun(const QString& dataDir, const QString& workDir)
        : reg(QDir(workDir).filePath(QStringLiteral("settings")))
    {
        module.DataPath = dataDir;
        module.StartDir = workDir;
        module.openTaskDatabase();
        prompter.savePath = QDir(workDir).filePath(QStringLiteral("Reports/report.rtf"));
    }
};

// The report is opened from a program that is running: its window system and its fonts are up, as
// a window with a line of text and a button has them.
void showRunningProgram()
{
    auto* window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* button = new QPushButton(QStringLiteral("Hours"), window);
    button->move(10, 10);
    window->show();
    QCoreApplication::processEvents();
    window->close();
    QCoreApplication::processEvents();
}

// Child process: the report as a user gets it (query, text, formatting, shown in the window) and
// saved through the window's Save button, printed as "milliseconds peak-kilobytes".
int measureReport(int argc, char* argv[], const QString& dataDir, const QString& workDir)
{
    QApplication app(argc, argv);
    ReportRun run(dataDir, workDir);
    showRunningProgram();
    QElapsedTimer timer;
    timer.start();
    auto* form = new ReportForm(run.module, wholeHistory());
    form->show();
    QCoreApplication::processEvents();
    form->activate();
    form->SSCommand1[1]->click();
    const double elapsed = timer.nsecsElapsed() / 1e6;
    if (!QFileInfo(run.prompter.savePath).isFile() || form->RichTextBox2->isVisible())
        return 1;
    std::printf("%.3f %ld\n", elapsed, peakKilobytes());
    return 0;
}

// Processor time since the last lap, so that other work on the machine does not blur the steps.
class Laps
{
  public:
    double lap()
    {
        const std::clock_t now = std::clock();
        const double milliseconds = 1000.0 * double(now - last_) / CLOCKS_PER_SEC;
        last_ = now;
        return milliseconds;
    }

  private:
    std::clock_t last_ = std::clock();
};

// Child process: the same steps one by one, printed as the processor milliseconds of each.
int measureReportStages(int argc, char* argv[], const QString& dataDir, const QString& workDir)
{
    QApplication app(argc, argv);
    ReportRun run(dataDir, workDir);
    showRunningProgram();
    const ReportOptions options = wholeHistory();
    Laps laps;
    QList<store::ReportEntry> rows;
    store::forEachReportEntry(run.module.TaskDatabase(), reportSelection(options),
                              [&rows](const store::ReportEntry& row) { rows << row; });
    const double query = laps.lap();
    const ReportText lines = reportText(rows, options, QDate::currentDate());
    const double text = laps.lap();
    std::unique_ptr<QTextDocument> document = reportDocument(lines);
    const double formatting = laps.lap();
    QTextEdit box;
    box.setLineWrapMode(QTextEdit::NoWrap);
    box.resize(591, 313);
    document->setParent(&box);
    box.setDocument(document.release());
    box.show();
    QCoreApplication::processEvents();
    const double shown = laps.lap();
    RtfWriter(*box.document()).save(QDir(workDir).filePath(QStringLiteral("stages.rtf")));
    const double saved = laps.lap();
    std::printf("%.1f %.1f %.1f %.1f %.1f\n", query, text, formatting, shown, saved);
    return 0;
}

// The floor: the same query, with the same values bound, rendered as plain text lines into a file
// by the sqlite3 shell.
const char* const kFloorScript = R"(.parameter set @first "'2000-01-01'"
.parameter set @last "'2009-12-31'"
.output %1
SELECT printf('%-11.11s %-9.9s %-12.12s %-10.10s%6s    %6s    %5.2f', Client, Project, Task,
       DateToday, substr("Start Time", 12, 5), substr("End Time", 12, 5),
       (floor((Hours - floor(Hours)) * 4) + ((Hours - floor(Hours)) * 4 - floor((Hours - floor(Hours)) * 4)
        >= 0.5)) * 0.25 + floor(Hours))
  FROM Times WHERE DateToday BETWEEN @first AND @last ORDER BY Client, DateToday, "Start Time", ID;
)";

double floorMilliseconds(const QString& dataFile, const QString& workDir)
{
    QProcess shell;
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), dataFile});
    shell.write(
        QString::fromLatin1(kFloorScript).arg(QDir(workDir).filePath(QStringLiteral("floor.txt"))).toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    const double elapsed = timer.nsecsElapsed() / 1e6;
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        return -1;
    return elapsed;
}

QByteArray runChild(const QStringList& arguments)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(-1);
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return {};
    return child.readAllStandardOutput().trimmed();
}

int benchReport(const QStringList& arguments)
{
    QList<int> sizes{1000, 10000, 100000};
    int runs = 5;
    for (int i = 2; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--entries")) {
            sizes.clear();
            for (const QString& size : arguments[i + 1].split(QLatin1Char(',')))
                sizes << size.toInt();
        } else if (arguments[i] == QLatin1String("--runs")) {
            runs = std::max(1, arguments[i + 1].toInt());
        }
    }
    QTextStream out(stdout);
    for (const int entries : sizes) {
        QTemporaryDir folder;
        const QString dataDir = QDir(folder.path()).filePath(QStringLiteral("data"));
        QDir().mkpath(dataDir);
        buildDataFile(dataDir, entries);
        std::vector<double> times;
        std::vector<long> peaks;
        std::vector<double> floors;
        for (int run = 0; run < runs; ++run) {
            QTemporaryDir work;
            const QList<QByteArray> fields =
                runChild({QStringLiteral("--measure-report"), dataDir, work.path()}).split(' ');
            const double floor = floorMilliseconds(store::dataFilePath(dataDir), work.path());
            if (fields.size() != 2 || floor <= 0) {
                out << "report failed on " << entries << " entries\n";
                return 1;
            }
            times.push_back(fields[0].toDouble());
            peaks.push_back(fields[1].toLong());
            floors.push_back(floor);
        }
        const double total = median(times);
        const double floor = median(floors);
        out << QStringLiteral("report entries=%1 median_ms=%2 peak_kib=%3 floor_ms=%4 ratio=%5\n")
                   .arg(entries)
                   .arg(total, 0, 'f', 1)
                   .arg(median(peaks))
                   .arg(floor, 0, 'f', 1)
                   .arg(total / floor, 0, 'f', 2);
        out.flush();
        QTemporaryDir work;
        const QList<QByteArray> steps =
            runChild({QStringLiteral("--measure-report-stages"), dataDir, work.path()}).split(' ');
        if (steps.size() == 5) {
            out << QStringLiteral("  processor time by step entries=%1 query_ms=%2 text_ms=%3 "
                                  "document_ms=%4 shown_ms=%5 rtf_ms=%6\n")
                       .arg(entries)
                       .arg(QString::fromLatin1(steps[0]), QString::fromLatin1(steps[1]),
                            QString::fromLatin1(steps[2]), QString::fromLatin1(steps[3]),
                            QString::fromLatin1(steps[4]));
            out.flush();
        }
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--measure-startup")
        return measureStartup(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc == 4 && QByteArray(argv[1]) == "--measure-report")
        return measureReport(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc == 4 && QByteArray(argv[1]) == "--measure-report-stages")
        return measureReportStages(argc, argv, QString::fromLocal8Bit(argv[2]),
                                   QString::fromLocal8Bit(argv[3]));

    QCoreApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "report")
        return benchReport(QCoreApplication::arguments());
    QList<int> sizes{1000, 100000, 1000000};
    int runs = 7;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--rows")) {
            sizes.clear();
            for (const QString& size : arguments[i + 1].split(QLatin1Char(',')))
                sizes << size.toInt();
        } else if (arguments[i] == QLatin1String("--runs")) {
            runs = std::max(1, arguments[i + 1].toInt());
        }
    }

    QTextStream out(stdout);
    out << "rows        start-up median (ms)   checked median (ms)   peak memory median (KiB)\n";
    for (const int rows : sizes) {
        QTemporaryDir folder;
        const QString dataDir = QDir(folder.path()).filePath(QStringLiteral("data"));
        const QString settingsDir = QDir(folder.path()).filePath(QStringLiteral("settings"));
        QDir().mkpath(dataDir);
        buildDataFile(dataDir, rows);
        std::vector<double> times;
        std::vector<double> checks;
        std::vector<long> peaks;
        for (int run = 0; run < runs; ++run) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--measure-startup"), dataDir, settingsDir});
            child.waitForFinished(-1);
            const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
            if (child.exitCode() != 0 || fields.size() != 3) {
                out << "start-up failed on " << rows << " rows: " << child.readAllStandardError() << "\n";
                return 1;
            }
            times.push_back(fields[0].toDouble());
            checks.push_back(fields[1].toDouble());
            peaks.push_back(fields[2].toLong());
        }
        out << QStringLiteral("%1 %2 %3 %4\n")
                   .arg(rows, -11)
                   .arg(median(times), -22, 'f', 2)
                   .arg(median(checks), -21, 'f', 2)
                   .arg(median(peaks));
        out.flush();
    }
    return 0;
}
