#pragma once

#include <QObject>
#include <QSystemTrayIcon>

namespace horalog
{

class TimerForm;

// The main window's sign in the desktop's tray, where the desktop has one: whether a task is being
// timed, for whom and since when, and a click that brings the main window forward.
class TrayIcon : public QObject
{
    Q_OBJECT
  public:
    explicit TrayIcon(TimerForm& form);

    QSystemTrayIcon* icon() const { return icon_; }

  private:
    void refresh();
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void bringForward();

    TimerForm& form_;
    QSystemTrayIcon* icon_;
};

} // namespace horalog
