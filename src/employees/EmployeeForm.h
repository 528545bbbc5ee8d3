#pragma once

#include "app/RecordForm.h"

#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace horalog
{

// The employees, one at a time: browse, add, edit in place, delete, find by any field.
class EmployeeForm : public RecordForm
{
    Q_OBJECT
  public:
    explicit EmployeeForm(MainModule& module);

    // Plain boxes at their indexes 0-5, 8 and 10 (Notes, 11, is several lines); masked boxes 0-2.
    std::array<QLineEdit*, 11> Text1{};
    QPlainTextEdit* Notes;
    std::array<QLineEdit*, 3> MaskEdBox1{};
    std::array<QLabel*, 12> Label1{};
    std::array<QPushButton*, 2> SSCommand1{};

    void SSCommand1_Click(int Index);
    void Data1_Validate(DataControl::Action Action, bool* Cancel) override;

  protected:
    void Form_Activate() override;
    void Form_Unload() override;
    QString deleteWarning() const override;
    void findRecord() override;

  private:
    void buildBoxes();
    void buildControls();
    void buildMenuBar();
    void Form_Load();
    bool namesAreComplete() const;
    bool typedValuesConvert() const;
    void refillMainEmployeeList();
};

} // namespace horalog
