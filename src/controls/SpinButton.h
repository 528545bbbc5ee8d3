#pragma once

#include <QWidget>

class QToolButton;

namespace horalog
{

// An up/down button pair without a value of its own: the window decides what a step changes.
class SpinButton : public QWidget
{
    Q_OBJECT
  public:
    explicit SpinButton(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

  signals:
    void SpinUp();
    void SpinDown();

  private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace horalog
