// Times Horalog's operations on data files of growing size, each measurement in a fresh process so
// that its peak memory is its own.
//   horalog-bench [startup] [--rows 1000,100000,1000000] [--runs 7]
//       start-up (from Main to the main window shown and ready for input), the moment the data file's
//       integrity check is done (from the same start; the first write waits for it), the first start of
//       a day, which also backs up the data file once the window is painted (when it is painted, and when
//       it is ready), and the peak memory
//   horalog-bench hours [--runs 7]
//       filling the hours list of a period, from the query to the window shown, and the peak memory
//   horalog-bench report [--runs 7]
//       the period report, from the query to the window shown and the report saved as RTF, and the
//       peak memory, against the same query rendered as text by the sqlite3 shell
#include "app/MainModule.h"
#include "app/RegModule.h"
#include "entries/HoursForm.h"
#include "platform/QtPlatform.h"
#include "reports/ReportDocument.h"
#include "reports/ReportForm.h"
#include "reports/ReportOption.h"
#include "reports/ReportPeriods.h"
#include "reports/RtfWriter.h"
#include "startup/Main.h"
#include "store/DataFile.h"
#include "store/DataFileHealth.h"
#include "store/Sql.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
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
#include <functional>

using namespace horalog;

namespace
{

constexpr int kEmployees = 25;
constexpr int kClients = 60;
// The hours files hold a hundred entries a day, ending on this day.
constexpr int kEntriesPerDay = 100;
const QDate kLastDay(2026, 12, 31);

// Nothing measured may wait for anybody: every box is answered with its default and named; the save
// dialog chooses `savePath`.
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

// Forgets the peak so far, so that the next peakKilobytes() is the peak of what follows; does nothing
// where the system does not offer it.
void resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

// `rows` entries, the first starting at `first`, one every `spacingSeconds`.
void buildDataFile(const QString& dir, int rows, const QDateTime& first, int spacingSeconds)
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
        for (int i = 0; i < rows; ++i) {
            const QDateTime start = first.addSecs(qint64(i) * spacingSeconds);
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

// A hundred entries a day, the last of them on kLastDay.
void buildHoursFile(const QString& dir, int rows)
{
    const QDate firstDay = kLastDay.addDays(1 - rows / kEntriesPerDay);
    buildDataFile(dir, rows, QDateTime(firstDay, QTime(0, 0)), 24 * 3600 / kEntriesPerDay);
}

// The numbers one measuring run prints, or their medians over several runs.
using Figures = QList<double>;

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Services {
    QuietPrompter prompter;
    SystemClock clock;
    QtSoundPlayer sound;
    QtProcessLauncher process;
    QtPrinter printer;
    Platform platform{prompter, clock, sound, process, printer};
};

// Notes when the main window is first painted: what start-up does after that keeps no one from seeing it.
class FirstPaint : public QObject
{
  public:
    FirstPaint(const MainModule& module, const QElapsedTimer& timer) : module_(module), timer_(timer) {}
    double milliseconds = -1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (milliseconds < 0 && event->type() == QEvent::Paint && module_.mainWindow &&
            static_cast<QWidget*>(watched)->window() == module_.mainWindow)
            milliseconds = timer_.nsecsElapsed() / 1e6;
        return false;
    }

  private:
    const MainModule& module_;
    const QElapsedTimer& timer_;
};

// Child process: one start-up on the prepared folders, printed as
// "shown-ms ready-ms checked-ms peak-kilobytes". The first start of a day finds no backup of the day.
int measureStartup(const QString& dataDir, const QString& settingsDir, bool firstOfDay)
{
    Services services;
    RegModule reg(settingsDir);
    reg.CreateNewKey(kHoralogKey);
    reg.SetKeyValue(kHoralogKey, QStringLiteral("DataDir"), dataDir, REG_SZ);
    MainModule module(services.platform, reg);
    if (firstOfDay)
        QDir(QDir(dataDir).filePath(QStringLiteral("Backups"))).removeRecursively();

    QElapsedTimer timer;
    FirstPaint firstPaint(module, timer);
    qApp->installEventFilter(&firstPaint);
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
    std::printf("%.3f %.3f %.3f %ld\n", firstPaint.milliseconds < 0 ? elapsed : firstPaint.milliseconds,
                elapsed, checked, peakKilobytes());
    return 0;
}

// Child process: the hours list of the last `days` days of the file, from the query to the window
// shown, printed as "milliseconds peak-kilobytes lines"; the peak is that of the list's making.
int measureHours(const QString& dataDir, const QString& settingsDir, int days)
{
    Services services;
    RegModule reg(settingsDir);
    MainModule module(services.platform, reg);
    module.DataPath = dataDir;
    module.openTaskDatabase();
    ReportOption options(module);
    module.ReportStartDate = firstInstant(kLastDay.addDays(1 - days));
    module.ReportEndDate = lastInstant(kLastDay);
    // The check of the whole file that opening starts has long ended when a user chooses a period;
    // its cost is the start-up's.
    store::DataFileHealth& health = store::DataFileHealth::of(module.TaskDatabase());
    health.waitUntilChecked();
    if (health.isDamaged())
        return 1;
    resetPeak();

    QElapsedTimer timer;
    timer.start();
    auto* hours = new HoursForm(module, options);
    hours->show();
    QCoreApplication::processEvents();
    const double elapsed = timer.nsecsElapsed() / 1e6;
    if (!hours->isVisible())
        return 1;
    std::printf("%.3f %ld %d\n", elapsed, peakKilobytes(), int(hours->TimeList->count()));
    delete hours;
    return 0;
}

// The report of the last `days` days of the file, every client and employee.
ReportOptions reportOfLastDays(int days)
{
    ReportOptions options;
    options.filter.firstDay = kLastDay.addDays(1 - days);
    options.filter.lastDay = kLastDay;
    return options;
}

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

// A running program over the prepared data file, its check of the file ended, the save dialog
// choosing a file in `workDir`.
struct ReportRun {
    Services services;
    RegModule reg;
    MainModule module{services.platform, reg};

    ReportRun(const QString& dataDir, const QString& workDir)
        : reg(QDir(workDir).filePath(QStringLiteral("settings")))
    {
        module.DataPath = dataDir;
        module.StartDir = workDir;
        module.openTaskDatabase();
        services.prompter.savePath = QDir(workDir).filePath(QStringLiteral("Reports/report.rtf"));
        showRunningProgram();
    }

    bool ready() const
    {
        store::DataFileHealth& health = store::DataFileHealth::of(module.TaskDatabase());
        health.waitUntilChecked();
        resetPeak();
        return !health.isDamaged();
    }
};

// Child process: the report of the last `days` days as a user gets it (query, text, formatting,
// shown in the window) and saved through the window's Save button, printed as "milliseconds
// peak-kilobytes".
int measureReport(const QString& dataDir, const QString& workDir, int days)
{
    ReportRun run(dataDir, workDir);
    if (!run.ready())
        return 1;
    QElapsedTimer timer;
    timer.start();
    auto* form = new ReportForm(run.module, reportOfLastDays(days));
    form->show();
    QCoreApplication::processEvents();
    form->activate();
    form->SSCommand1[1]->click();
    const double elapsed = timer.nsecsElapsed() / 1e6;
    if (!QFileInfo(run.services.prompter.savePath).isFile() || !form->RichTextBox2->isHidden())
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
int measureReportSteps(const QString& dataDir, const QString& workDir, int days)
{
    ReportRun run(dataDir, workDir);
    if (!run.ready())
        return 1;
    const ReportOptions options = reportOfLastDays(days);
    Laps laps;
    QList<store::ReportEntry> rows;
    store::forEachReportEntry(run.module.TaskDatabase(), options.filter,
                              [&rows](const store::ReportEntry& row) { rows << row; });
    const double query = laps.lap();
    const ReportText text = reportText(rows, options, QDate::currentDate());
    const double textTime = laps.lap();
    std::unique_ptr<QTextDocument> document = reportDocument(text);
    const double documentTime = laps.lap();
    QTextEdit box;
    box.setLineWrapMode(QTextEdit::NoWrap);
    box.resize(591, 313);
    document->setParent(&box);
    box.setDocument(document.release());
    box.show();
    QCoreApplication::processEvents();
    const double shown = laps.lap();
    RtfWriter(*box.document()).save(QDir(workDir).filePath(QStringLiteral("steps.rtf")));
    const double saved = laps.lap();
    std::printf("%.1f %.1f %.1f %.1f %.1f\n", query, textTime, documentTime, shown, saved);
    return 0;
}

// Child process: the floor, the report's own statement with the same values, its rows rendered as
// plain text lines into a file by the sqlite3 shell; printed as "milliseconds".
int measureFloor(const QString& dataDir, const QString& workDir, int days)
{
    const store::Statement statement = store::reportEntriesStatement(reportOfLastDays(days).filter);
    QString script;
    for (qsizetype i = 0; i < statement.values.size(); ++i)
        script +=
            QStringLiteral(".parameter set ?%1 \"'%2'\"\n").arg(i + 1).arg(statement.values[i].toString());
    script += QStringLiteral(".output %1\n").arg(QDir(workDir).filePath(QStringLiteral("floor.txt")));
    script += QStringLiteral(
                  R"(SELECT printf('%-11.11s %-9.9s %-12.12s %-10.10s%6s    %6s    %5.2f', Client, Project,
       Task, DateToday, substr("Start Time", 12, 5), substr("End Time", 12, 5),
       (floor((Hours - floor(Hours)) * 4) + ((Hours - floor(Hours)) * 4 - floor((Hours - floor(Hours)) * 4)
        >= 0.5)) * 0.25 + floor(Hours)) FROM (%1);
)")
                  .arg(statement.sql);
    QProcess shell;
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), store::dataFilePath(dataDir)});
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    const double elapsed = timer.nsecsElapsed() / 1e6;
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        return 1;
    std::printf("%.3f\n", elapsed);
    return 0;
}

// Runs this program once with each of `cases`, for `runs` rounds, so that a load on the machine falls
// alike on every case; returns, for each case, the median of each number its runs printed. A run
// fails the measurement when it fails or `valid` does not hold for what it printed.
std::optional<QList<Figures>> measure(const QList<QStringList>& cases, int runs,
                                      const std::function<bool(const Figures&)>& valid)
{
    QList<QList<std::vector<double>>> printed(cases.size());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (int run = 0; run < runs; ++run) {
        for (qsizetype i = 0; i < cases.size(); ++i) {
            QProcess child;
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), cases[i]);
            child.waitForFinished(-1);
            Figures figures;
            for (const QByteArray& field : child.readAllStandardOutput().trimmed().split(' '))
                figures << field.toDouble();
            if (child.exitCode() != 0 || !valid(figures)) {
                std::fprintf(stderr, "%s\n", child.readAllStandardError().constData());
                return std::nullopt;
            }
            printed[i].resize(figures.size());
            for (qsizetype field = 0; field < figures.size(); ++field)
                printed[i][field].push_back(figures[field]);
        }
    }
    QList<Figures> medians;
    for (const QList<std::vector<double>>& fields : std::as_const(printed)) {
        Figures caseMedians;
        for (const std::vector<double>& values : fields)
            caseMedians << median(values);
        medians << caseMedians;
    }
    return medians;
}

struct Folders {
    QTemporaryDir root;
    QString data() const { return QDir(root.path()).filePath(QStringLiteral("data")); }
    QString settings() const { return QDir(root.path()).filePath(QStringLiteral("settings")); }
    Folders() { QDir().mkpath(data()); }
};

// Each size's later starts and first starts of a day in turns; in each round the first start of the day
// comes first and makes the backup that the later start then finds.
int startupTable(const QList<int>& sizes, int runs)
{
    QTextStream out(stdout);
    out << "rows        start-up (ms)   checked (ms)   first of the day: shown (ms)   ready (ms)   "
           "peak memory (KiB)\n";
    for (const int rows : sizes) {
        Folders folders;
        buildDataFile(folders.data(), rows, QDateTime(QDate(2000, 1, 1), QTime(8, 0)), 900);
        const QStringList later{QStringLiteral("--measure-startup"), folders.data(), folders.settings()};
        const std::optional<QList<Figures>> medians =
            measure({later + QStringList{QStringLiteral("first-of-day")}, later}, runs,
                    [](const Figures& figures) { return figures.size() == 4; });
        if (!medians) {
            out << "start-up failed on " << rows << " rows\n";
            return 1;
        }
        const Figures& firstOfDay = medians->at(0);
        const Figures& startup = medians->at(1);
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(rows, -11)
                   .arg(startup[1], -15, 'f', 2)
                   .arg(startup[2], -14, 'f', 2)
                   .arg(firstOfDay[0], -30, 'f', 2)
                   .arg(firstOfDay[1], -12, 'f', 2)
                   .arg(qint64(std::max(firstOfDay[3], startup[3])));
        out.flush();
    }
    return 0;
}

// Each listed count once in a file of just those entries and once in a file of a million, so that
// the cost of a period can be compared across the size of the history.
int hoursTable(int runs)
{
    const QList<int> listed{1000, 10000, 100000};
    const int largeFile = 1000000;
    QTextStream out(stdout);
    Folders large;
    buildHoursFile(large.data(), largeFile);
    for (const int count : listed) {
        Folders own;
        buildHoursFile(own.data(), count);
        const QString days = QString::number(count / kEntriesPerDay);
        const std::optional<QList<Figures>> medians = measure(
            {{QStringLiteral("--measure-hours"), own.data(), own.settings(), days},
             {QStringLiteral("--measure-hours"), large.data(), large.settings(), days}},
            runs, [count](const Figures& figures) { return figures.size() == 3 && figures[2] == count; });
        if (!medians) {
            out << "hours list failed on listed=" << count << "\n";
            return 1;
        }
        for (const auto& [rows, figures] :
             {std::pair{count, medians->at(0)}, std::pair{largeFile, medians->at(1)}})
            out << QStringLiteral("hours file=%1 listed=%2 median_ms=%3 peak_kib=%4\n")
                       .arg(rows)
                       .arg(count)
                       .arg(figures[0], 0, 'f', 2)
                       .arg(qint64(figures[1]));
        out.flush();
    }
    return 0;
}

// The report of 1,000, 10,000 and 100,000 entries, each in a file of just those entries, against
// the sqlite3 shell running the same statement, in turns; then the processor time of each step.
int reportTable(int runs)
{
    QTextStream out(stdout);
    for (const int entries : {1000, 10000, 100000}) {
        Folders folders;
        buildHoursFile(folders.data(), entries);
        const QString days = QString::number(entries / kEntriesPerDay);
        QTemporaryDir work;
        const std::optional<QList<Figures>> medians =
            measure({{QStringLiteral("--measure-report"), folders.data(), work.path(), days},
                     {QStringLiteral("--measure-floor"), folders.data(), work.path(), days}},
                    runs, [](const Figures& figures) { return !figures.isEmpty(); });
        if (!medians) {
            out << "report failed on entries=" << entries << "\n";
            return 1;
        }
        const double total = medians->at(0)[0];
        const double floor = medians->at(1)[0];
        out << QStringLiteral("report entries=%1 median_ms=%2 peak_kib=%3 floor_ms=%4 ratio=%5\n")
                   .arg(entries)
                   .arg(total, 0, 'f', 1)
                   .arg(qint64(medians->at(0)[1]))
                   .arg(floor, 0, 'f', 1)
                   .arg(total / floor, 0, 'f', 2);
        const std::optional<QList<Figures>> steps =
            measure({{QStringLiteral("--measure-report-steps"), folders.data(), work.path(), days}}, runs,
                    [](const Figures& figures) { return figures.size() == 5; });
        if (steps) {
            const Figures& step = steps->first();
            out << QStringLiteral(
                       "  processor time by step: query_ms=%1 text_ms=%2 document_ms=%3 shown_ms=%4 "
                       "rtf_ms=%5\n")
                       .arg(step[0], 0, 'f', 1)
                       .arg(step[1], 0, 'f', 1)
                       .arg(step[2], 0, 'f', 1)
                       .arg(step[3], 0, 'f', 1)
                       .arg(step[4], 0, 'f', 1);
        }
        out.flush();
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if ((argc == 4 || argc == 5) && mode == "--measure-startup") {
        QApplication app(argc, argv);
        return measureStartup(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                              argc == 5 && QByteArray(argv[4]) == "first-of-day");
    }
    if (argc == 5 && mode == "--measure-hours") {
        QApplication app(argc, argv);
        return measureHours(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                            QByteArray(argv[4]).toInt());
    }
    if (argc == 5 && mode.startsWith("--measure-report")) {
        QApplication app(argc, argv);
        const auto measureOne = mode == "--measure-report" ? measureReport : measureReportSteps;
        return measureOne(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                          QByteArray(argv[4]).toInt());
    }
    if (argc == 5 && mode == "--measure-floor") {
        QCoreApplication app(argc, argv);
        return measureFloor(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                            QByteArray(argv[4]).toInt());
    }

    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool hours = !arguments.isEmpty() && arguments.first() == QLatin1String("hours");
    const bool report = !arguments.isEmpty() && arguments.first() == QLatin1String("report");
    if (!arguments.isEmpty() && (hours || report || arguments.first() == QLatin1String("startup")))
        arguments.removeFirst();
    QList<int> sizes{1000, 100000, 1000000};
    int runs = 7;
    for (int i = 0; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--rows")) {
            sizes.clear();
            for (const QString& size : arguments[i + 1].split(QLatin1Char(',')))
                sizes << size.toInt();
        } else if (arguments[i] == QLatin1String("--runs")) {
            runs = std::max(1, arguments[i + 1].toInt());
        }
    }
    if (report)
        return reportTable(runs);
    return hours ? hoursTable(runs) : startupTable(sizes, runs);
}
