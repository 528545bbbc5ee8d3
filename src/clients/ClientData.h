#pragma once

#include "app/RecordForm.h"

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace horalog
{

// One client's record at a time: name, address, contact and telephone numbers, in name order.
class ClientData : public RecordForm
{
    Q_OBJECT
  public:
    // `clientList` is the list of the window that opened this one; its current line is shown first.
    ClientData(MainModule& module, const QListWidget* clientList);

    std::array<QLineEdit*, 9> Text1{};
    std::array<QLineEdit*, 5> MaskEdBox1{};
    std::array<QLabel*, 14> Label1{};
    QLabel* Label2;
    std::array<QPushButton*, 2> SSCommand1{};
    QString FindText;

    void SSCommand1_Click(int Index);
    void Data1_Validate(DataControl::Action Action, bool* Cancel) override;

  protected:
    void Form_Activate() override;
    QString deleteWarning() const override;
    void findRecord() override;

  private:
    void buildBoxes();
    void buildControls();
    void Form_Load();
    bool nameIsAcceptable() const;

    const QListWidget* clientList_;
    QString selectedStoredName_;
};

} // namespace horalog
