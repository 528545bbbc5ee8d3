#pragma once

#include <QString>

namespace horalog
{

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct MessageRequest {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    Answer defaultAnswer = Answer::Ok;
};

struct InputRequest {
    QString prompt;
    QString title;
    QString defaultText;
};

// Filters are written as display text and pattern separated by "|", e.g. "Horalog data|Horalog.mdb".
struct FileRequest {
    QString title;
    QString filter;
    QString directory;
    QString fileName;
};

// Every modal question, input prompt and file dialog of the program goes through here,
// so that tests can answer them.
class Prompter
{
  public:
    virtual ~Prompter() = default;
    virtual Answer message(const MessageRequest& request) = 0;
    // Empty on Cancel.
    virtual QString input(const InputRequest& request) = 0;
    // Full path of the chosen file; empty on Cancel.
    virtual QString openFile(const FileRequest& request) = 0;
    virtual QString saveFile(const FileRequest& request) = 0;
};

} // namespace horalog
