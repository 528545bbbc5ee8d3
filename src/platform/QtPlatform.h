#pragma once

#include "platform/Platform.h"

#include <QObject>
#include <memory>

class QSoundEffect;

namespace horalog
{

class QtPrompter final : public Prompter
{
  public:
    Answer message(const MessageRequest& request) override;
    QString input(const InputRequest& request) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
};

class SystemClock final : public Clock
{
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class QtSoundPlayer final : public SoundPlayer
{
  public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void play(const QString& file) override;

  private:
    std::unique_ptr<QSoundEffect> effect_;
};

class QtProcessLauncher final : public ProcessLauncher
{
  public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
    void openDocument(const QString& path) override;
    [[noreturn]] void exitNow() override;
};

class QtPrinter final : public Printer
{
  public:
    void print(const QTextDocument& document) override;
};

// The real services, alive for the whole run.
struct QtPlatform {
    QtPrompter prompter;
    SystemClock clock;
    QtSoundPlayer sound;
    QtProcessLauncher process;
    QtPrinter printer;
    Platform platform{prompter, clock, sound, process, printer};
};

// "Text|pattern|Text|pattern" as Qt's file dialogs want it: "Text (pattern);;Text (pattern)".
QString qtFileFilter(const QString& filter);

} // namespace horalog
