#pragma once

#include "platform/RuntimeError.h"

#include <QFuture>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace horalog::store
{

// What this run knows about the soundness of one data file, and the gate every write passes.
//
// startCheck() reads the whole file for an integrity check on a read-only connection of its own in
// a worker thread, so that opening the file does not wait for it; the first write waits for the
// check instead (in practice it has long finished). A failed check, or the engine finding the file
// malformed or not a database on any statement, marks the file damaged: from then on nothing is
// written to it for the rest of the run. Reading goes on, so that what is still readable is shown.
//
// execute() and Transaction call admitWrite() before every write, so each writer is covered
// without knowing of it. One object per file, alive for the whole run; used from the window thread.
class DataFileHealth : public QObject
{
    Q_OBJECT
  public:
    // The health of the file `db` is connected to.
    static DataFileHealth& of(const QSqlDatabase& db);

    // Starts the integrity check, unless one was started before.
    void startCheck();
    // Returns once a started check has finished; at once when none was started.
    void waitUntilChecked();
    // Known damaged now; does not wait for a check that is still running.
    bool isDamaged();
    // For damage a statement met; the statement's error tells the user.
    void markDamaged();
    // Waits for the check, then raises damagedError() when the file must not be written.
    void admitWrite();
    RuntimeError damagedError() const;

  signals:
    // The check found the file damaged while no write had yet met the damage and reported it; the
    // receiver tells the user damagedError().
    void damageFound();

  private:
    enum class Verdict { Sound, Damaged, Unknown };

    explicit DataFileHealth(QString path);
    static Verdict quickCheck(const QString& path);
    static Verdict verdictOf(QSqlDatabase& db);
    // Takes the verdict of a finished check into account.
    void settleCheck();
    void announceDamage();

    QString path_;
    std::optional<QFuture<Verdict>> check_;
    bool damaged_ = false;
    // The user has heard of the damage: from the error of a statement or write, or damageFound.
    bool userTold_ = false;
};

} // namespace horalog::store
