#include "controls/SpinButton.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace horalog
{

namespace
{

constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 100;

QToolButton* makeArrow(QWidget* parent, Qt::ArrowType direction, const QString& name)
{
    auto* arrow = new QToolButton(parent);
    arrow->setArrowType(direction);
    arrow->setAccessibleName(name);
    arrow->setFocusPolicy(Qt::NoFocus);
    arrow->setAutoRepeat(true);
    arrow->setAutoRepeatDelay(kRepeatDelayMs);
    arrow->setAutoRepeatInterval(kRepeatIntervalMs);
    arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return arrow;
}

} // namespace

SpinButton::SpinButton(QWidget* parent)
    : QWidget(parent), up_(makeArrow(this, Qt::UpArrow, tr("Up"))),
      down_(makeArrow(this, Qt::DownArrow, tr("Down")))
{
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    // A pixel around the arrows shows the focus.
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, &SpinButton::SpinUp);
    connect(down_, &QToolButton::clicked, this, &SpinButton::SpinDown);
}

void SpinButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up)
        emit SpinUp();
    else if (event->key() == Qt::Key_Down)
        emit SpinDown();
    else
        QWidget::keyPressEvent(event);
}

void SpinButton::paintEvent(QPaintEvent*)
{
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

} // namespace horalog
