#pragma once

#include "app/Form.h"
#include "store/Catalogue.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace horalog
{

// Which recorded time to look at: a client or all, billable work or all, perhaps one employee, and
// a period. Choosing the period opens the hours list over this dialog, which stays open beneath it
// so that the list (and the report opened from it) read the choices from its controls.
class ReportOption : public Form
{
    Q_OBJECT
  public:
    explicit ReportOption(MainModule& module);

    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 2> Option2{};
    QCheckBox* Check1 = nullptr;
    QComboBox* DBCombo1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    // The period choices keep their numbers 1 to 7; slot 0 holds none.
    std::array<QRadioButton*, 8> Option1{};
    QPushButton* Command1 = nullptr;

    void Check1_Click();
    void Option1_Click(int Index);
    void Command1_Click();

    // The client, billable and employee choices as they stand now; the period is not part of them.
    // "&Individual Employee" checked with no employee chosen raises the error that says so.
    store::EntryFilter chosenFilters() const;

  protected:
    void Form_Unload() override;

  private:
    void buildControls();
    void buildPeriodOptions();
    void Form_Load();
    bool choosePeriod(int Index);
    bool askOtherPeriod();
    void clearPeriodChoice(int Index);

    QButtonGroup* periodGroup_ = nullptr;
};

} // namespace horalog
