#pragma once

#include "app/Form.h"
#include "entries/EntryRules.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace horalog
{

class DataControl;
class HoursForm;
class SpinButton;

// Corrects one recorded entry in place: employee, client, project, task and billable mark are
// chosen or typed; start and end move only by the spin buttons, by month, day, hour or minute, and
// never so that the start lies in a later minute than the end. The hours follow every change.
// Whatever the window shows when it closes is written, and the hours list line shows it.
class EditForm : public Form
{
    Q_OBJECT
  public:
    // Edits the entry of line `line` of the hours list `hours`.
    EditForm(MainModule& module, HoursForm& hours, int line);

    // Reads the entry with `id` and the employee and client choices; an entry no longer there
    // raises "No current record".
    void loadEntry(int id);

    QLabel* Label4 = nullptr;
    QLabel* ClientLabel = nullptr;
    QLabel* ProjectLabel = nullptr;
    QLabel* TaskLabel = nullptr;
    std::array<QLabel*, 2> StartLabel{};
    std::array<QLabel*, 3> Label2{};
    QComboBox* DBCombo1 = nullptr;
    QComboBox* DBCombo2 = nullptr;
    // Project, Task, the start's day (DateToday), and, hidden, the full start and end.
    std::array<QLineEdit*, 5> Text1{};
    // Start time, end date and end time as shown.
    std::array<QLineEdit*, 3> Text2{};
    QLineEdit* Hours = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* SSCommand1 = nullptr;
    // Index 0 sits left of its box and steps by month or hour, index 1 right and by day or minute.
    std::array<SpinButton*, 2> SpinButton0{};
    std::array<SpinButton*, 2> SpinButton1{};
    std::array<SpinButton*, 2> SpinButton2{};
    std::array<SpinButton*, 2> SpinButton3{};
    DataControl* Data1 = nullptr;
    QAction* CloseMenuItem = nullptr;
    QAction* HelpMenuItem = nullptr;
    QAction* AboutMenuItem = nullptr;

    void SSCommand1_Click();

  protected:
    bool Form_QueryUnload() override;
    void Form_Unload() override;

  private:
    enum class Moved { Start, End };

    void buildChoices();
    void buildMomentRow();
    void buildSpinButtons();
    void buildMenus();
    void bindFields();
    void step(Moved moved, StepUnit unit, int direction);
    // Shows the day and times of a changed start (3) or end (4) and the hours between them.
    void Text1_Change(int Index);
    void markRecomputedValues();

    HoursForm& hours_;
    int line_;
    int entryId_ = 0;
};

} // namespace horalog
