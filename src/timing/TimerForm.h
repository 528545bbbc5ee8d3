#pragma once

#include "app/Form.h"
#include "store/Catalogue.h"
#include "timing/ShutdownRecovery.h"

#include <array>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace horalog
{

class StatusBar;

// The main window: who works for which client on what, the start/stop button, and the menus
// that open every other window.
class TimerForm : public Form
{
    Q_OBJECT
  public:
    explicit TimerForm(MainModule& module);

    QLabel* Label4;
    QComboBox* EmployeeList;
    QLabel* ClientLabel;
    QComboBox* ClientList;
    QLabel* ProjectLabel;
    QLineEdit* Project;
    QLabel* TaskLabel;
    QLineEdit* Task;
    QLabel* StartLabel;
    QLineEdit* StartTime;
    QCheckBox* Billable;
    QLabel* DateLabel;
    QLineEdit* DateToday;
    QLabel* Label2;
    QLineEdit* EndTime;
    QLabel* Label3;
    QLineEdit* Hours;
    std::array<QPushButton*, 5> SSCommand1;
    StatusBar* StatusBar1;

    QAction* ImportMenuItem;
    QAction* FloatMenuItem;
    QAction* FileExit;
    QAction* EmployeeMenuItem;
    QAction* ClientMenuItem;
    QAction* AlarmMenuItem;
    QAction* HoursMenuItem;
    QAction* OptionsSubMenu;
    QAction* HelpMenuItem;
    QAction* AboutTimer;

    // The toolbar: 0 start/stop, 1 clients, 2 hours, 3 exit, 4 employees.
    void SSCommand1_Click(int Index);
    void EmployeeList_Click();
    void ClientList_Click();
    void FloatMenuItem_Click();
    void StatusBar1_MouseMove(const QPoint& twips);
    void StatusBar1_PanelClick(int panel);
    void ImportMenuItem_Click();
    void OptionsSubMenu_Click();
    void ImportData();

    // The desktop session is about to end; `canAsk` says whether the user may be asked. False when
    // the user keeps working, which refuses the end. Otherwise a timing has been saved for the next
    // start, or given up at the user's word. The window stays until the session closes it: a session
    // may also only save its state and go on, and then the timing goes on too.
    bool endOfSession(bool canAsk);
    // The session ends the program without asking anyone (SIGTERM, SIGHUP): a timing is saved for the
    // next start, the window's close steps run and the program ends at once.
    void endedBySignal();

    // A task is being timed while its entry waits, unsaved, for the stop.
    bool isTiming() const { return pending_.has_value(); }
    const std::optional<store::TimesEntry>& pendingEntry() const { return pending_; }

  signals:
    // A timing began or ended.
    void timingChanged();

  protected:
    void Form_Activate() override;
    bool Form_QueryUnload() override;
    void Form_Unload() override;

  private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void Form_Load();
    void loadSteps();
    void readDataPath();
    QList<store::EmployeeName> fillLists();
    void showLatestEntry(const QList<store::EmployeeName>& employees);
    void applyOnTopSetting();
    void showEntry(const store::TimesEntry& entry);
    void selectClient(const QString& client);
    void dropOnTopWhileModal();
    void startTiming();
    void beginTiming(const QDateTime& start, const QDate& day);
    void stopTiming();
    void exitProgram();
    TimingSnapshot shownTiming() const;
    void giveUpTiming();
    bool canRecord() const;
    void resumeAfterSessionEnd();
    void offerInterruptedTiming();
    void resumeTiming(const SavedTiming& saved);
    void refillListsKeepingChoices();

    std::optional<store::TimesEntry> pending_;
    // The last press on the status bar: which button, and where in twips.
    Qt::MouseButton statusPressButton_ = Qt::NoButton;
    QPoint statusPressTwips_;
    ShutdownRecovery recovery_;
    // The import dialog offers the file of the previous import again.
    QString importFileName_;
    // The session is ending: a question it closed was not answered.
    bool sessionEnding_ = false;
};

// Fills a choose-only list with `items` in letter order, leaving nothing chosen and running no handler.
void fillSortedList(QComboBox* list, QStringList items);

} // namespace horalog
