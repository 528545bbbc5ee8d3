#pragma once

#include "app/MainModule.h"
#include "app/RegModule.h"
#include "support/FakePlatform.h"

#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

namespace horalog::test
{

// A temporary data directory with an empty data file, a settings folder that points at it, the
// fake services and a MainModule over them.
class TestEnvironment
{
    QTemporaryDir root_;

  public:
    TestEnvironment();
    ~TestEnvironment();

    QString dataDir() const;
    QString settingsDir() const;
    QString dataFile() const;

    // Runs statements on the data file through a connection of the test's own.
    void sql(const QStringList& statements);
    QVariant scalar(const QString& query, const QVariantList& values = {});
    int count(const QString& table);
    // `entries` entries of one employee ("Brandt, Alice") for one client ("Acme"), a quarter of an
    // hour apart and with long project texts, so that the file spans many pages.
    void addManyEntries(int entries);

    // A setting as the next start of the program finds it: read from a copy of the settings file,
    // which no settings object of this process has cached. Empty when the file cannot be read.
    QString settingOnDisk(const QString& name) const;

    FakePlatform fake;
    RegModule reg;
    std::unique_ptr<MainModule> module;

  private:
    QString connection_;
};

// A digest of the file's bytes, to show that nothing was written to it.
QByteArray checksum(const QString& path);

// Overwrites the data file's pages `first` to `last` (counted from 1, both included; -1 for up to
// the end) with bytes no page holds, as a failing disk or a stray program would.
void overwritePages(const QString& path, int first, int last);

// The error `action` raised; nullopt when it went through.
std::optional<RuntimeError> failureOf(const std::function<void()>& action);

// Closes and deletes every top-level window; true when none was left open.
bool closeAllWindows();

// Ends a test: closes every window, drops the environment and says what went wrong on the way
// (boxes nobody expected, scripted answers left over); empty when nothing did.
QString tearDown(std::unique_ptr<TestEnvironment>& env);

} // namespace horalog::test
