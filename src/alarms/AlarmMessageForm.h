#pragma once

#include "app/Form.h"

class QLabel;
class QPushButton;
class QTimer;

namespace horalog
{

// The alert of a due alarm: top left, above every other window, sounding the alarm's sound at once
// and every 10 seconds until OK is pressed or a minute has passed.
class AlarmMessageForm : public Form
{
    Q_OBJECT
  public:
    explicit AlarmMessageForm(MainModule& module);

    QLabel* SSPanel1;
    QPushButton* Command1;
    QTimer* Timer1;
    QTimer* Timer2;

    // Shows the announcement; a new alert sounds at once, an open one comes forward with the new text.
    void announce(const QString& text);

    void Timer1_Timer();
    void Timer2_Timer();

  signals:
    void unloaded();

  protected:
    void Form_Unload() override;

  private:
    void Form_Load();
    void fitAnnouncement();
    QPoint frameCorner() const;

    bool announced_ = false;
};

} // namespace horalog
