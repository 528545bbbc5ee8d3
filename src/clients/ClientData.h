#pragma once

#include "app/Form.h"
#include "controls/DataControl.h"

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace horalog {

class StatusBar;

// One client's record at a time: name, address, contact and telephone numbers, in name order.
class ClientData : public Form {
    Q_OBJECT
public:
    // `clientList` is the list of the window that opened this one; its current line is shown first.
    ClientData(MainModule& module, const QListWidget* clientList);

    std::array<QLineEdit*, 9> Text1{};
    std::array<QLineEdit*, 5> MaskEdBox1{};
    std::array<QLabel*, 14> Label1{};
    QLabel* Label2;
    DataControl* Data1;
    std::array<QPushButton*, 2> SSCommand1{};
    StatusBar* StatusBar1;
    QString FindText;

    void SSCommand1_Click(int Index);
    void EditMenuItem_Click(int Index);
    void Data1_Validate(DataControl::Action Action, bool* Cancel);
    void Data1_Reposition();

protected:
    void Form_Activate() override;
    bool Form_QueryUnload() override;

private:
    void buildBoxes();
    void buildControls();
    void buildMenus();
    void Form_Load();
    void deleteClient();
    void findClient();

    const QListWidget* clientList_;
    QString selectedStoredName_;
};

} // namespace horalog
