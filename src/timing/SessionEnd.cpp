#include "timing/SessionEnd.h"

#include "app/MainModule.h"
#include "timing/TimerForm.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace horalog
{

namespace
{

constexpr std::array kEndingSignals{SIGTERM, SIGHUP};

// A signal handler may do next to nothing: it writes one byte, and the event loop reads it.
std::array<int, 2> signalPipe{-1, -1};

void onEndingSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

void setHandler(void (*handler)(int))
{
    struct sigaction action {
    };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndingSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

SessionEnd::SessionEnd(MainModule& module, QObject* parent) : QObject(parent), module_(module)
{
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &SessionEnd::commitData,
            Qt::DirectConnection);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe.data()) != 0)
        return;
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::signalArrived);
    setHandler(onEndingSignal);
}

SessionEnd::~SessionEnd()
{
    if (!notifier_)
        return;
    setHandler(SIG_DFL);
    for (int& end : signalPipe) {
        ::close(end);
        end = -1;
    }
}

// The user is asked only while a task is timed and the session manager lets the program ask. The
// program does not end here: the session closes its windows when it really ends.
void SessionEnd::commitData(QSessionManager& manager)
{
    auto* timer = qobject_cast<TimerForm*>(module_.mainWindow);
    if (!timer)
        return;
    const bool canAsk = timer->isTiming() && manager.allowsInteraction();
    if (!timer->endOfSession(canAsk))
        manager.cancel();
    if (canAsk)
        manager.release();
}

// The signal may come while a question is up, even before the main event loop runs: the process ends
// at once, once the timing and the settings are on the disk, and the question stays unanswered.
void SessionEnd::signalArrived()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], &byte, 1);
    if (auto* timer = qobject_cast<TimerForm*>(module_.mainWindow))
        timer->endedBySignal();
    else
        module_.platform.process.exitNow();
}

} // namespace horalog
