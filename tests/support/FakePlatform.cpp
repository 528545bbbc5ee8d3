#include "support/FakePlatform.h"

#include "platform/RuntimeError.h"

#include <QPrinter>
#include <QTextDocument>
#include <utility>

namespace horalog::test
{

Answer FakePrompter::message(const MessageRequest& request)
{
    messages << request;
    if (duringNextMessage)
        std::exchange(duringNextMessage, nullptr)();
    if (!script_.empty() && std::holds_alternative<Answer>(script_.front())) {
        const Answer answer = std::get<Answer>(script_.front());
        script_.pop_front();
        return answer;
    }
    unexpected << QStringLiteral("message: ") + request.text;
    return request.defaultAnswer;
}

QString FakePrompter::nextText(const QString& what)
{
    if (!script_.empty() && std::holds_alternative<QString>(script_.front())) {
        const QString text = std::get<QString>(script_.front());
        script_.pop_front();
        return text;
    }
    unexpected << what;
    return {};
}

QString FakePrompter::input(const InputRequest& request)
{
    inputs << request;
    return nextText(QStringLiteral("input: ") + request.prompt);
}

QString FakePrompter::openFile(const FileRequest& request)
{
    files << request;
    return nextText(QStringLiteral("open file: ") + request.title);
}

QString FakePrompter::saveFile(const FileRequest& request)
{
    files << request;
    return nextText(QStringLiteral("save file: ") + request.title);
}

void FakePrompter::reset()
{
    script_.clear();
    messages.clear();
    inputs.clear();
    files.clear();
    unexpected.clear();
    duringNextMessage = nullptr;
}

bool FakeProcess::startDetached(const QString& program, const QStringList& arguments)
{
    started << (QStringList{program} + arguments).join(QLatin1Char(' '));
    return true;
}

void FakePrinter::print(const QTextDocument& document)
{
    if (pdfPath.isEmpty())
        throw RuntimeError(error::PrinterError, QStringLiteral("no printer is installed."));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printOnLetterPages(document, printer);
    printed << document.toPlainText();
}

} // namespace horalog::test
