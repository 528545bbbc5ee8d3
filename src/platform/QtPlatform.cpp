#include "platform/QtPlatform.h"

#include "platform/RuntimeError.h"

#include <QApplication>
#include <QAudioDevice>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSoundEffect>
#include <QTextDocument>
#include <QUrl>
#include <cstdlib>

namespace horalog
{

namespace
{

Q_LOGGING_CATEGORY(soundLog, "horalog.sound")

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQtButton(Answer answer)
{
    switch (answer) {
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// Messages keep the carriage returns of their texts; Qt's labels break lines on "\n".
QString displayText(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString startPath(const FileRequest& request)
{
    if (request.directory.isEmpty())
        return request.fileName;
    return QDir(request.directory).filePath(request.fileName);
}

} // namespace

QString qtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // A text that already shows its pattern, as "Rich Text Format (*.rtf)", is taken as it is.
        const QString shownPattern = QStringLiteral("(%1)").arg(parts[i + 1]);
        filters << (parts[i].endsWith(shownPattern) ? parts[i] : parts[i] + QLatin1Char(' ') + shownPattern);
    }
    return filters.join(QLatin1String(";;"));
}

Answer QtPrompter::message(const MessageRequest& request)
{
    const bool yesNo = request.buttons == MessageButtons::YesNo;
    QMessageBox box(toQtIcon(request.icon), request.title, displayText(request.text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setDefaultButton(toQtButton(request.defaultAnswer));
    const int result = box.exec();
    if (!yesNo)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtPrompter::input(const InputRequest& request)
{
    return QInputDialog::getText(QApplication::activeWindow(), request.title, displayText(request.prompt),
                                 QLineEdit::Normal, request.defaultText);
}

QString QtPrompter::openFile(const FileRequest& request)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title, startPath(request),
                                        qtFileFilter(request.filter));
}

QString QtPrompter::saveFile(const FileRequest& request)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), request.title, startPath(request),
                                        qtFileFilter(request.filter));
}

QString locateSound(const QString& name, const QStringList& folders)
{
    if (name.isEmpty())
        return {};
    const QFileInfo given(name);
    if (given.isAbsolute() || name.contains(QLatin1Char('/')))
        return given.isFile() ? given.absoluteFilePath() : QString();
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder), name);
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}

QtSoundPlayer::QtSoundPlayer(std::function<void()> defaultBeep) : defaultBeep_(std::move(defaultBeep)) {}

QtSoundPlayer::~QtSoundPlayer() = default;

// The program keeps its start directory as the current one, so a bare name is found there first.
void QtSoundPlayer::play(const QString& file)
{
    const QString path = locateSound(file, {QDir::currentPath(), QCoreApplication::applicationDirPath()});
    if (path.isEmpty()) {
        beepInstead(file, "there is no such file");
        return;
    }
    if (QMediaDevices::audioOutputs().isEmpty()) {
        beepInstead(path, "there is no audio device");
        return;
    }
    effect_ = std::make_unique<QSoundEffect>();
    QObject::connect(effect_.get(), &QSoundEffect::statusChanged, effect_.get(),
                     [this, effect = effect_.get(), path] {
                         if (effect->status() == QSoundEffect::Error)
                             beepInstead(path, "it is no WAV sound that can be played");
                     });
    effect_->setSource(QUrl::fromLocalFile(path));
    effect_->play();
    qCInfo(soundLog) << "Playing" << path;
}

void QtSoundPlayer::beepInstead(const QString& file, const char* reason)
{
    qCWarning(soundLog).noquote() << QStringLiteral(
                                         "Cannot play \"%1\": %2; the default beep sounds instead.")
                                         .arg(file, QLatin1String(reason));
    defaultBeep_();
}

bool QtProcessLauncher::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void QtProcessLauncher::openDocument(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtProcessLauncher::exitNow()
{
    std::_Exit(0);
}

void QtPrinter::print(const QTextDocument& document)
{
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        throw RuntimeError(error::PrinterError, QPrinterInfo::availablePrinters().isEmpty()
                                                    ? QStringLiteral("no printer is installed.")
                                                    : QStringLiteral("no printer is set as the default."));
    }
    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(document.metaInformation(QTextDocument::DocumentTitle));
    printOnLetterPages(document, printer);
}

} // namespace horalog
