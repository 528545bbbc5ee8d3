#pragma once

#include <QObject>

class QSessionManager;
class QSocketNotifier;

namespace horalog
{

class MainModule;

// Hands the end of the desktop session to the main window: the session manager's request to save
// (it may let the program ask the user, and the user may refuse the end), and SIGTERM or SIGHUP,
// with which a session ends its processes and nobody can be asked. One per process; it lives for
// the whole run.
class SessionEnd : public QObject
{
    Q_OBJECT
  public:
    SessionEnd(MainModule& module, QObject* parent);
    ~SessionEnd() override;

  private:
    void commitData(QSessionManager& manager);
    void signalArrived();

    MainModule& module_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace horalog
