#pragma once

#include "app/FirstStart.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QString>

class QAction;
class QMainWindow;
class QWidget;

namespace horalog
{

class AlarmForm;
class AlarmMessageForm;
class RegModule;
class frmMenus;

// The state all windows share for the whole run, and the window services they use.
class MainModule
{
  public:
    MainModule(const Platform& platform, RegModule& reg);
    ~MainModule();
    MainModule(const MainModule&) = delete;
    MainModule& operator=(const MainModule&) = delete;

    Platform platform;
    RegModule& reg;
    StartOptions start;

    // Shared state; none of it is persisted.
    QString SelectedClient;
    QDateTime ReportStartDate;
    QDateTime ReportEndDate;
    bool RestoreOnTop = false;
    QString StartDir;
    QString DataPath;
    int CurrentEmployeeID = 0;
    bool AlarmsOn = false;
    QString AlarmSoundFile;

    // The main window and its "On Top" item, registered by the main window itself.
    QPointer<QMainWindow> mainWindow;
    QPointer<QAction> onTopItem;
    // The alarm windows and the popup carrier while they are loaded; each registers itself as it
    // loads and leaves as it unloads.
    QPointer<AlarmForm> alarmForm;
    QPointer<AlarmMessageForm> alarmMessageForm;
    QPointer<frmMenus> menuForm;

    // The connection to the data file that every window uses; there is one window thread, so one
    // connection serves them all without waiting on each other's locks. Until the main window has
    // opened it (or when it could not), asking for it raises "no data file is open", naming DataPath.
    QSqlDatabase TaskDatabase() const;
    void requireTaskDatabase() const;
    bool hasTaskDatabase() const;
    // Opens the data file in DataPath and starts its integrity check; damage the check finds is
    // reported here unless a write met it first.
    void openTaskDatabase();

    void CenterForm(QWidget& form) const;
    void RestoreTopmost();
    void ShowErrorText(const RuntimeError& error) const;
    void setTopmost(QWidget& form, bool topmost) const;
    void launchHelp() const;
    void showAbout();
    bool windowPresent(const QString& caption) const;
    // Shows the form application-modal and returns once it is closed; timers keep running meanwhile.
    void showModal(QWidget* form);

    // "Error N has occurred.  text" + CR + "Contact Fernwick for assistance.", critical, OK.
    void reportError(const RuntimeError& error) const;

    // Runs a handler under the standard error report: a RuntimeError abandons it at the failing step.
    template <typename Body> void guarded(Body&& body) const
    {
        try {
            body();
        } catch (const RuntimeError& error) {
            reportError(error);
        }
    }

  private:
    QString taskConnection() const;

    QString connectionPrefix_;
    // Ends the connections made for this module when it goes.
    QObject receiver_;
};

QString standardErrorText(const RuntimeError& error);

// The hourglass while a long step runs, for one window or, without one, for the whole program.
// The default pointer comes back when the scope ends, on the success and the error path alike.
class BusyPointer
{
  public:
    explicit BusyPointer(QWidget* window = nullptr);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    QPointer<QWidget> window_;
    bool processWide_;
};

} // namespace horalog
