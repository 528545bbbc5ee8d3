#include "timing/ShutdownRecovery.h"

#include "app/RegModule.h"
#include "platform/Formats.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <cmath>

namespace horalog
{

namespace
{

const QString kCancelled = QStringLiteral("Cancelled");
const QString kRunning = QStringLiteral("Running/");
const QString kActive = QStringLiteral("Running/Active");
const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

using Values = QList<std::pair<QString, QString>>;

QString billableText(bool billable)
{
    return billable ? QStringLiteral("1") : QStringLiteral("0");
}

// The values of a timing in the order they are kept, each name after `prefix`.
Values timingValues(const QString& prefix, const TimingSnapshot& timing, const QString& startText,
                    const QString& dayText)
{
    return {{prefix + QStringLiteral("User"), timing.user},
            {prefix + QStringLiteral("Client"), timing.client},
            {prefix + QStringLiteral("Project"), timing.project},
            {prefix + QStringLiteral("Task"), timing.task},
            {prefix + QStringLiteral("StartTime"), startText},
            {prefix + QStringLiteral("StartDate"), dayText},
            {prefix + QStringLiteral("Billable"), billableText(timing.billable)}};
}

bool isTrue(const QString& text)
{
    return text.compare(kTrue, Qt::CaseInsensitive) == 0;
}

int yearNearest(int twoDigits, int nowYear)
{
    int best = nowYear - nowYear % 100 + twoDigits;
    for (const int candidate : {best - 100, best + 100}) {
        if (std::abs(candidate - nowYear) < std::abs(best - nowYear))
            best = candidate;
    }
    return best;
}

QDate dateNear(const QString& monthDayYear, const QDateTime& now)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})\s*$)"));
    const auto match = pattern.match(monthDayYear);
    if (!match.hasMatch())
        return {};
    const QString year = match.captured(3);
    return QDate(year.size() == 2 ? yearNearest(year.toInt(), now.date().year()) : year.toInt(),
                 match.captured(1).toInt(), match.captured(2).toInt());
}

} // namespace

QDateTime parseSavedStart(const QString& text, const QDateTime& now)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(\S+)\s+(\d{1,2}):(\d{2})\s*([AaPp])[Mm]\s*$)"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    const QDate day = dateNear(match.captured(1), now);
    const int hour = match.captured(2).toInt();
    if (!day.isValid() || hour < 1 || hour > 12)
        return {};
    const bool afternoon = match.captured(4).compare(QLatin1String("p"), Qt::CaseInsensitive) == 0;
    const QTime time(hour % 12 + (afternoon ? 12 : 0), match.captured(3).toInt());
    if (!time.isValid())
        return {};
    return QDateTime(day, time);
}

double leadingNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*[+-]?(\d+(\.\d*)?|\.\d+))"));
    const auto match = number.match(text);
    return match.hasMatch() ? match.captured(0).trimmed().toDouble() : 0;
}

ShutdownRecovery::ShutdownRecovery(const RegModule& reg) : reg_(reg) {}

ShutdownRecovery::~ShutdownRecovery() = default;

QString ShutdownRecovery::lockPath() const
{
    return QDir(QFileInfo(reg_.keyFile(kHoralogKey)).absolutePath()).filePath(QStringLiteral("Running.lock"));
}

bool ShutdownRecovery::saveForResume(const TimingSnapshot& timing)
{
    const QString day = formatShortDate(timing.day);
    Values values{{kCancelled, kTrue}};
    values += timingValues(QString(), timing, day + QLatin1Char(' ') + formatTime(timing.start), day);
    values.append({kActive, kFalse});
    const bool written = reg_.SetKeyValuesDurably(kHoralogKey, values);
    running_.reset();
    savedForResume_ = true;
    return written;
}

bool ShutdownRecovery::timingStarted(const TimingSnapshot& timing)
{
    if (!running_) {
        running_ = std::make_unique<QLockFile>(lockPath());
        running_->setStaleLockTime(0);
        running_->tryLock(0);
    }
    Values values = timingValues(kRunning, timing, storedMoment(timing.start), storedDate(timing.day));
    values.append({kActive, kTrue});
    return reg_.SetKeyValuesDurably(kHoralogKey, values);
}

bool ShutdownRecovery::timingEnded()
{
    Values values{{kActive, kFalse}};
    if (savedForResume_)
        values.append({kCancelled, kFalse});
    const bool written = reg_.SetKeyValuesDurably(kHoralogKey, values);
    running_.reset();
    savedForResume_ = false;
    return written;
}

SessionEndMark ShutdownRecovery::sessionEndMark() const
{
    const QString mark = reg_.QueryValue(kHoralogKey, kCancelled).toString();
    if (mark.isEmpty() || mark.compare(kFalse, Qt::CaseInsensitive) == 0)
        return SessionEndMark::None;
    return isTrue(mark) ? SessionEndMark::Waiting : SessionEndMark::Unreadable;
}

QString ShutdownRecovery::value(const QString& prefix, const QString& name) const
{
    return reg_.QueryValue(kHoralogKey, prefix + name).toString();
}

// The texts of a kept timing; the caller reads its start and day, which the two copies keep differently.
SavedTiming ShutdownRecovery::read(const QString& prefix) const
{
    SavedTiming saved;
    saved.user = value(prefix, QStringLiteral("User"));
    saved.client = value(prefix, QStringLiteral("Client"));
    saved.project = value(prefix, QStringLiteral("Project"));
    saved.task = value(prefix, QStringLiteral("Task"));
    saved.startText = value(prefix, QStringLiteral("StartTime"));
    saved.billable = std::round(leadingNumber(value(prefix, QStringLiteral("Billable")))) != 0;
    return saved;
}

SavedTiming ShutdownRecovery::savedAtSessionEnd(const QDateTime& now) const
{
    SavedTiming saved = read(QString());
    saved.start = parseSavedStart(saved.startText, now);
    saved.day = dateNear(value(QString(), QStringLiteral("StartDate")), now);
    return saved;
}

std::optional<SavedTiming> ShutdownRecovery::interrupted() const
{
    if (running_ || !isTrue(value(QString(), kActive)))
        return std::nullopt;
    QLockFile holder(lockPath());
    holder.setStaleLockTime(0);
    if (!holder.tryLock(0))
        return std::nullopt;
    holder.unlock();
    SavedTiming saved = read(kRunning);
    saved.start = momentFromStore(saved.startText);
    saved.day = dateFromStore(value(kRunning, QStringLiteral("StartDate")));
    return saved;
}

bool ShutdownRecovery::sessionEndHandled()
{
    return reg_.SetKeyValuesDurably(kHoralogKey, {{kCancelled, kFalse}});
}

bool ShutdownRecovery::dropSaved()
{
    return reg_.SetKeyValuesDurably(kHoralogKey, {{kCancelled, kFalse}, {kActive, kFalse}});
}

} // namespace horalog
