// Times start-up (from Main to the main window shown and ready for input), the moment the data file's
// integrity check is done (from the same start; the first write waits for it), and the run's peak
// memory, on data files of growing size. Each measurement runs in a fresh process so that peak memory
// is its own.
#include "app/MainModule.h"
#include "app/RegModule.h"
#include "platform/QtPlatform.h"
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
#include <QSqlError>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

using namespace horalog;

namespace
{

constexpr int kEmployees = 25;
constexpr int kClients = 60;

// Start-up must not wait for anybody: every box is answered with its default and counted.
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
    QString saveFile(const FileRequest&) override { return {}; }
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
// "shown-ms ready-ms checked-ms peak-kilobytes".
int measureStartup(int argc, char* argv[], const QString& dataDir, const QString& settingsDir)
{
    QApplication app(argc, argv);
    QuietPrompter prompter;
    SystemClock clock;
    QtSoundPlayer sound;
    QtProcessLauncher process;
    RegModule reg(settingsDir);
    reg.CreateNewKey(kHoralogKey);
    reg.SetKeyValue(kHoralogKey, QStringLiteral("DataDir"), dataDir, REG_SZ);
    MainModule module(Platform{prompter, clock, sound, process}, reg);

    QElapsedTimer timer;
    FirstPaint firstPaint(module, timer);
    app.installEventFilter(&firstPaint);
    timer.start();
    Main(module);
    QCoreApplication::processEvents();
    const double ready = timer.nsecsElapsed() / 1e6;
    if (!module.mainWindow || !module.mainWindow->isVisible())
        return 1;
    store::DataFileHealth& health = store::DataFileHealth::of(module.TaskDatabase());
    health.waitUntilChecked();
    const double checked = timer.nsecsElapsed() / 1e6;
    if (health.isDamaged())
        return 1;
    std::printf("%.3f %.3f %.3f %ld\n", firstPaint.milliseconds < 0 ? ready : firstPaint.milliseconds, ready,
                checked, peakKilobytes());
    return 0;
}

struct Sample {
    double shownMs;
    double readyMs;
    double checkedMs;
    long peakKb;
};

// Medians of `runs` start-ups; before each, `prepare` sets the scene.
std::optional<Sample> measure(int runs, const QString& dataDir, const QString& settingsDir,
                              const std::function<void()>& prepare, QTextStream& out);

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::optional<Sample> measure(int runs, const QString& dataDir, const QString& settingsDir,
                              const std::function<void()>& prepare, QTextStream& out)
{
    std::vector<double> shown;
    std::vector<double> ready;
    std::vector<double> checked;
    std::vector<long> peaks;
    for (int run = 0; run < runs; ++run) {
        prepare();
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--measure-startup"), dataDir, settingsDir});
        child.waitForFinished(-1);
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || fields.size() != 4) {
            out << "start-up failed: " << child.readAllStandardError() << "\n";
            return std::nullopt;
        }
        shown.push_back(fields[0].toDouble());
        ready.push_back(fields[1].toDouble());
        checked.push_back(fields[2].toDouble());
        peaks.push_back(fields[3].toLong());
    }
    return Sample{median(shown), median(ready), median(checked), median(peaks)};
}
} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--measure-startup")
        return measureStartup(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));

    QCoreApplication app(argc, argv);
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
    out << "Medians; the first start of a day also backs up the data file after the window is painted.\n"
        << "rows        start-up (ms)   checked (ms)   first of the day: shown (ms)   ready (ms)   "
           "peak memory (KiB)\n";
    for (const int rows : sizes) {
        QTemporaryDir folder;
        const QString dataDir = QDir(folder.path()).filePath(QStringLiteral("data"));
        const QString settingsDir = QDir(folder.path()).filePath(QStringLiteral("settings"));
        QDir().mkpath(dataDir);
        buildDataFile(dataDir, rows);
        const QString backups = QDir(dataDir).filePath(QStringLiteral("Backups"));
        const std::optional<Sample> firstOfDay = measure(
            runs, dataDir, settingsDir, [&] { QDir(backups).removeRecursively(); }, out);
        const std::optional<Sample> later = measure(
            runs, dataDir, settingsDir, [] {}, out);
        if (!firstOfDay || !later)
            return 1;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(rows, -11)
                   .arg(later->readyMs, -15, 'f', 2)
                   .arg(later->checkedMs, -14, 'f', 2)
                   .arg(firstOfDay->shownMs, -30, 'f', 2)
                   .arg(firstOfDay->readyMs, -12, 'f', 2)
                   .arg(std::max(firstOfDay->peakKb, later->peakKb));
        out.flush();
    }
    return 0;
}
