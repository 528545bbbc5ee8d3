#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

class QLockFile;

namespace horalog
{

class RegModule;

// What the main window shows of the task being timed.
struct TimingSnapshot {
    QString user; // the employee box's text
    QString client;
    QString project;
    QString task;
    QDateTime start; // to the second
    QDate day;
    bool billable = false;
};

// A timing read back from the settings to be resumed. A start or day that cannot be read is
// invalid; the resume leaves it as the new timing has it.
struct SavedTiming {
    QString user;
    QString client;
    QString project;
    QString task;
    QString startText; // as it was written
    QDateTime start;
    QDate day;
    bool billable = false;
};

// What "Cancelled" says: nothing waits (absent or "False"), a timing saved at the end of a session
// waits ("True"), or neither.
enum class SessionEndMark { None, Waiting, Unreadable };

// Keeps a timing in the settings so that it survives the end of the program:
// - at the end of the desktop session, "Cancelled" = "True" with the values the window shows;
// - while a task is timed, the same values to the second under "Running", in case the program is
//   killed, crashes or the power goes, with "Running/Active" = "True" until the timing is recorded
//   or given up.
// Every write reaches the disk before it returns.
class ShutdownRecovery
{
  public:
    explicit ShutdownRecovery(const RegModule& reg);
    ~ShutdownRecovery();
    ShutdownRecovery(const ShutdownRecovery&) = delete;
    ShutdownRecovery& operator=(const ShutdownRecovery&) = delete;

    // The session ends while timing: the timing waits for the next start in place of the running copy.
    bool saveForResume(const TimingSnapshot& timing);
    // The timing of this window was saved for the next start and has not ended since.
    bool savedForResume() const { return savedForResume_; }
    // A timing began (or was resumed with an earlier start): keep a running copy of it.
    bool timingStarted(const TimingSnapshot& timing);
    // The timing was recorded or given up: neither copy of it waits any longer.
    bool timingEnded();

    SessionEndMark sessionEndMark() const;
    // The timing saved at the end of a session; `now` settles the century of its two-digit years.
    SavedTiming savedAtSessionEnd(const QDateTime& now) const;
    // A running copy left by a program that ended without recording or giving up its timing;
    // nothing while another running Horalog is timing it.
    std::optional<SavedTiming> interrupted() const;
    // The resume question was answered: "Cancelled" = "False".
    bool sessionEndHandled();
    // Neither saved timing is to be resumed.
    bool dropSaved();

  private:
    QString lockPath() const;
    QString value(const QString& prefix, const QString& name) const;
    SavedTiming read(const QString& prefix) const;

    const RegModule& reg_;
    // Held while this process times a task, so another Horalog does not take the running copy
    // for one left behind.
    std::unique_ptr<QLockFile> running_;
    bool savedForResume_ = false;
};

// "m/d/yy h:mm AM/PM" as the session-end values keep the start; the century is the one that puts
// the moment nearest to `now`. Invalid when the text is no such moment.
QDateTime parseSavedStart(const QString& text, const QDateTime& now);

// The number a text starts with, as the settings' "Billable" is read: " 1" and "1x" give 1, a text
// without a leading number 0.
double leadingNumber(const QString& text);

} // namespace horalog
