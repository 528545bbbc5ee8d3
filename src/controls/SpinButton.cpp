#include "controls/SpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace horalog
{

namespace
{
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 120;

QToolButton* makeArrow(QWidget* parent, Qt::ArrowType arrow, const QString& name)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAccessibleName(name);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Held down, the button keeps stepping, as a spin button does.
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kRepeatDelayMs);
    button->setAutoRepeatInterval(kRepeatIntervalMs);
    return button;
}
} // namespace

SpinButton::SpinButton(QWidget* parent)
    : QWidget(parent), up_(makeArrow(this, Qt::UpArrow, tr("Up"))),
      down_(makeArrow(this, Qt::DownArrow, tr("Down")))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, &SpinButton::SpinUp);
    connect(down_, &QToolButton::clicked, this, &SpinButton::SpinDown);
}

} // namespace horalog
