#pragma once

#include "app/Form.h"

#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace horalog
{

// The About box; at start-up it stands as the splash, without its OK button.
class AboutForm : public Form
{
    Q_OBJECT
  public:
    enum class Mode { Splash, Dialog };
    AboutForm(MainModule& module, Mode mode);

    QFrame* Frame1;
    QLabel* Picture1;
    std::array<QLabel*, 2> Label1;
    std::array<QLabel*, 3> Label2;
    QPushButton* Command1;

  private:
    void Form_Load();
};

} // namespace horalog
