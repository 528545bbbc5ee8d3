#pragma once

#include "app/Form.h"

#include <array>

class QMenu;
class QTimer;

namespace horalog
{

// The hidden window that carries the main window's alarm popup: "On" or "Off", "Edit". It unloads
// itself two seconds after loading, or after a choice.
class frmMenus : public Form
{
    Q_OBJECT
  public:
    explicit frmMenus(MainModule& module);

    QMenu* MenuPopup;
    // 0 On/Off, 1 the separator, 2 Edit.
    std::array<QAction*, 3> mnuPopup{};
    QTimer* Timer1;

    void popupAt(const QPoint& screenPosition);
    void mnuPopup_Click(int Index);
    void Timer1_Timer();

  signals:
    // The choices; the main window carries them out.
    void toggleChosen();
    void editChosen();

  protected:
    void Form_Unload() override;

  private:
    void Form_Load();
};

} // namespace horalog
