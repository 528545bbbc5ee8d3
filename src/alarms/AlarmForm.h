#pragma once

#include "app/Form.h"
#include "controls/DataControl.h"

#include <array>

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;

namespace horalog
{

namespace store
{
struct AlarmRow;
}

class SpinButton;
class StatusBar;

// The current employee's reminder alarms: create, re-time, re-schedule, re-sound, delete, and switch
// the checking on and off. Its timer checks the alarms every 10 seconds, so while checking is on the
// window hides instead of unloading.
class AlarmForm : public Form
{
    Q_OBJECT
  public:
    explicit AlarmForm(MainModule& module);

    DataControl* Data1;
    // Bound to AlarmTime, AlarmSound, MonthDay, SoundName, Recurrence and WeekDay; only 3 is visible.
    std::array<QLineEdit*, 6> Text1{};
    // 0 shows the time, 2 the day of the month; 1 is not used.
    std::array<QLineEdit*, 3> Text2{};
    QListWidget* DBList1;
    std::array<QLabel*, 2> Label1{};
    std::array<QPushButton*, 2> SSCommand2{};
    QGroupBox* Frame1;
    std::array<QRadioButton*, 4> Option1{};
    QGroupBox* Frame2;
    std::array<QRadioButton*, 4> Option2{};
    QComboBox* Combo1;
    SpinButton* SpinButton1;
    std::array<SpinButton*, 2> SpinButton2{};
    std::array<QPushButton*, 3> SSCommand1{};
    StatusBar* StatusBar1;
    QTimer* Timer1;

    QAction* NewMenuItem;
    QAction* DeleteMenuItem;
    QAction* CloseMenuItem;
    QMenu* EditMenu;
    QAction* SoundMenuItem;
    QAction* HelpMenuItem;
    QAction* AboutMenuItem;

    bool SettingNewAlarm = false;

    // 0 new alarm, 1 set or turn off checking, 2 close.
    void SSCommand1_Click(int Index);
    // 0 select sound, 1 test sound.
    void SSCommand2_Click(int Index);
    void Option1_Click(int Index);
    void Option2_Click(int Index);
    void Combo1_Click();
    void DBList1_Click();
    void SpinButton1_Spin(int step);
    void SpinButton2_Spin(int Index, int step);
    // The alarm check.
    void Timer1_Timer();

    // The Set button's picture and hint for checking on or off.
    void showCheckingState(bool on);
    // Unloads the window even while checking is on.
    void unload();
    // A "Just Today" alarm rang and is gone from the data file: the list and the rows follow.
    void alarmRemoved();

  protected:
    void Form_Activate() override;
    bool Form_QueryUnload() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildList();
    void buildRecurrence();
    void buildWhen();
    void buildButtons();
    void buildBoundBoxes();
    void buildMenus();
    void Form_Load();
    void Data1_Reposition();
    void Text1_Change(int Index);
    void DBList1_KeyDown(int key);
    void fitWeekdayList();
    void setAlarmControlsEnabled(bool enabled);
    void setBox(int index, const QString& text);
    bool writeEdits();
    void newAlarm();
    void setOrTurnOff();
    void closeOrHide();
    void selectSound();
    void deleteAlarm();
    void fillAlarmList();
    void highlightAlarm(const QVariant& alarmId);
    void announce(const store::AlarmRow& alarm, const QDateTime& now);
    int boxValue(int index) const;

    int employeeId_ = 0;
    bool unloadRequested_ = false;
    // The window shows a row: the options it selects are not the user's changes.
    bool showingRow_ = false;
    bool checking_ = false;
    // A "Just Today" alert is open; no check runs until it is gone and the alarm deleted.
    bool awaitingAlert_ = false;
};

} // namespace horalog
