#pragma once

#include "app/Form.h"

#include <array>

class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace horalog
{

// The list of clients: add by name, remove the selected ones, open the record editor.
class Client : public Form
{
    Q_OBJECT
  public:
    explicit Client(MainModule& module);

    QLineEdit* AddName;
    QListWidget* ClientList;
    std::array<QPushButton*, 4> SSCommand1{};
    QAction* CloseMenu;
    QMenu* ClientMenu;
    std::array<QAction*, 3> ClientSubMenu{};

    // 0 Add, 1 Edit, 2 Remove, 3 Close.
    void SSCommand1_Click(int Index);
    void AddName_GotFocus();

  protected:
    void Form_Activate() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // How the main window's client box gets its choice back after a refill.
    enum class MainChoice { Kept, HandedBack };

    void buildControls();
    void buildMenus();
    void fillList();
    void refillMainClientList(MainChoice choice = MainChoice::Kept);
    void addClient();
    QStringList selectedNames() const;
    bool removalConfirmed(const QStringList& names);
    void removeSelectedClients();
    void closeAndHandBack();
};

// "Quotation marks cannot be entered here.  Use apostrophies.": client names never hold a double quote.
void showQuoteRule(const MainModule& module);

} // namespace horalog
