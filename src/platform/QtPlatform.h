#pragma once

#include "platform/Platform.h"

#include <QApplication>
#include <QObject>
#include <QStringList>
#include <functional>
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

// Plays WAV files through the desktop's audio output. A bare name is looked for in the start
// directory, then beside the program. What cannot be played (no such file, a damaged file, no audio
// device) sounds the default beep instead, and the log says why.
class QtSoundPlayer final : public SoundPlayer
{
  public:
    explicit QtSoundPlayer(std::function<void()> defaultBeep = &QApplication::beep);
    ~QtSoundPlayer() override;
    void play(const QString& file) override;

  private:
    void beepInstead(const QString& file, const char* reason);

    std::function<void()> defaultBeep_;
    std::unique_ptr<QSoundEffect> effect_;
};

// The sound file `name` names: a path as it stands, a bare name in the first of `folders` that holds
// it; empty when there is no such file.
QString locateSound(const QString& name, const QStringList& folders);

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
