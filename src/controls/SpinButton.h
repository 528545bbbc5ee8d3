#pragma once

#include <QWidget>

class QToolButton;

namespace horalog
{

// Two arrows stacked, up over down, that step a value the window keeps. Held down, an arrow
// repeats; with the focus, the Up and Down keys step as well.
class SpinButton : public QWidget
{
    Q_OBJECT
  public:
    explicit SpinButton(QWidget* parent = nullptr);

    QToolButton* upArrow() const { return up_; }
    QToolButton* downArrow() const { return down_; }

  signals:
    void SpinUp();
    void SpinDown();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace horalog
