#pragma once

#include "platform/Platform.h"

#include <QList>
#include <deque>
#include <functional>
#include <variant>

namespace horalog::test
{

// Answers boxes from a script and records every box it was shown. A box with no scripted answer
// is recorded as unexpected and answered with its default.
class FakePrompter final : public Prompter
{
  public:
    void answer(Answer answer) { script_.emplace_back(answer); }
    void answerText(const QString& text) { script_.emplace_back(text); }

    Answer message(const MessageRequest& request) override;
    QString input(const InputRequest& request) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;

    QList<MessageRequest> messages;
    QList<InputRequest> inputs;
    QList<FileRequest> files;
    QStringList unexpected;
    // Runs once while the next message box is up, as something that happens before the user answers.
    std::function<void()> duringNextMessage;

    bool scriptUsedUp() const { return script_.empty(); }
    void reset();

  private:
    QString nextText(const QString& what);
    std::deque<std::variant<Answer, QString>> script_;
};

class FakeClock final : public Clock
{
  public:
    QDateTime now() const override { return current; }
    QDateTime current{QDate(2026, 12, 10), QTime(9, 0)};
};

class FakeSound final : public SoundPlayer
{
  public:
    void play(const QString& file) override { played << file; }
    QStringList played;
};

class FakeProcess final : public ProcessLauncher
{
  public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
    void openDocument(const QString& path) override { opened << path; }
    void exitNow() override { ++exits; }
    QStringList started;
    QStringList opened;
    int exits = 0;
};

// Prints into the PDF file `pdfPath`, as a printer that hands its pages back; without a file it
// stands for a machine that has no printer. A path that cannot be written makes the job fail.
class FakePrinter final : public Printer
{
  public:
    void print(const QTextDocument& document) override;
    QString pdfPath;
    // The text of every document that was printed whole.
    QStringList printed;
};

struct FakePlatform {
    FakePrompter prompter;
    FakeClock clock;
    FakeSound sound;
    FakeProcess process;
    FakePrinter printer;
    Platform platform{prompter, clock, sound, process, printer};
};

} // namespace horalog::test
