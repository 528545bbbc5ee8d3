#include "store/DataFileHealth.h"

#include "store/Sql.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>
#include <map>
#include <memory>

namespace horalog::store
{

namespace
{

// Every connection to one file shares what is known of it, whatever path it was opened by.
QString fileKey(const QString& path)
{
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

} // namespace

DataFileHealth::DataFileHealth(QString path) : path_(std::move(path)) {}

DataFileHealth& DataFileHealth::of(const QSqlDatabase& db)
{
    static std::map<QString, std::unique_ptr<DataFileHealth>> files;
    std::unique_ptr<DataFileHealth>& health = files[fileKey(db.databaseName())];
    if (!health)
        health.reset(new DataFileHealth(db.databaseName()));
    return *health;
}

void DataFileHealth::startCheck()
{
    if (check_)
        return;
    check_ = QtConcurrent::run(&DataFileHealth::quickCheck, path_);
    // Announced from the event loop: a write waiting for the check (which may even run it in this
    // thread) reports the damage itself.
    check_->then(this, [this](Verdict) {
        QMetaObject::invokeMethod(this, &DataFileHealth::announceDamage, Qt::QueuedConnection);
    });
}

void DataFileHealth::announceDamage()
{
    if (!isDamaged() || userTold_)
        return;
    userTold_ = true;
    emit damageFound();
}

void DataFileHealth::waitUntilChecked()
{
    if (check_)
        check_->waitForFinished();
}

bool DataFileHealth::isDamaged()
{
    settleCheck();
    return damaged_;
}

void DataFileHealth::markDamaged()
{
    damaged_ = true;
    userTold_ = true;
}

void DataFileHealth::admitWrite()
{
    waitUntilChecked();
    if (!isDamaged())
        return;
    userTold_ = true;
    throw damagedError();
}

RuntimeError DataFileHealth::damagedError() const
{
    return {error::DataFileDamaged, path_};
}

void DataFileHealth::settleCheck()
{
    if (check_ && check_->isFinished() && check_->result() == Verdict::Damaged)
        damaged_ = true;
}

// Runs in a worker thread, on a connection made and dropped there.
DataFileHealth::Verdict DataFileHealth::quickCheck(const QString& path)
{
    const QString connection = QStringLiteral("check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    Verdict verdict = Verdict::Unknown;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        verdict = verdictOf(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return verdict;
}

// A check that cannot run (the file locked by another program for long, or gone) finds nothing and
// leaves writing open.
DataFileHealth::Verdict DataFileHealth::verdictOf(QSqlDatabase& db)
{
    if (!db.open())
        return reportsDamage(db.lastError()) ? Verdict::Damaged : Verdict::Unknown;
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next())
        return reportsDamage(check.lastError()) ? Verdict::Damaged : Verdict::Unknown;
    return check.value(0).toString() == QLatin1String("ok") ? Verdict::Sound : Verdict::Damaged;
}

} // namespace horalog::store
