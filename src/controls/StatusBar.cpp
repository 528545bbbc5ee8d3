#include "controls/StatusBar.h"

#include "controls/Twips.h"
#include "platform/Clock.h"
#include "platform/Formats.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace horalog
{

namespace
{
constexpr int kPanelGapPixels = 2;
constexpr int kClockIntervalMs = 1000;
} // namespace

StatusBar::StatusBar(const Clock& clock, const QList<Panel>& panels, QWidget* parent)
    : QFrame(parent), clock_(clock), panels_(panels), tick_(new QTimer(this))
{
    setMouseTracking(true);
    // The bar's own hint must not be cleared by the window beneath it.
    setAttribute(Qt::WA_NoMousePropagation);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kPanelGapPixels);
    bool anyStretch = false;
    for (const Panel& panel : panels_) {
        auto* label = new QLabel(panel.text, this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMouseTracking(true);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setAlignment(panel.style == Style::Text ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        if (panel.stretch) {
            label->setMinimumWidth(pixels(panel.widthTwips));
            anyStretch = true;
        } else {
            label->setFixedWidth(pixels(panel.widthTwips));
        }
        layout->addWidget(label, panel.stretch ? 1 : 0);
        labels_ << label;
    }
    if (!anyStretch)
        layout->addStretch(1);
    connect(tick_, &QTimer::timeout, this, &StatusBar::refreshClock);
    tick_->start(kClockIntervalMs);
    refreshClock();
}

QString StatusBar::panelText(int panel) const
{
    return labels_.at(panel - 1)->text();
}

void StatusBar::setPanelText(int panel, const QString& text)
{
    labels_.at(panel - 1)->setText(text);
}

void StatusBar::setHint(const QString& hint)
{
    if (panelText(1) != hint)
        setPanelText(1, hint);
}

void StatusBar::showHintFor(QWidget* widget, const QString& hint)
{
    hints_.insert(widget, hint);
    widget->setMouseTracking(true);
    // A move the widget leaves unhandled would reach its parent and put the parent's hint back.
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->installEventFilter(this);
}

int StatusBar::panelAt(const QPoint& pixelPoint) const
{
    for (int i = 0; i < labels_.size(); ++i) {
        if (labels_[i]->geometry().contains(pixelPoint))
            return i + 1;
    }
    return 0;
}

void StatusBar::refreshClock()
{
    const QDateTime now = clock_.now();
    for (int i = 0; i < panels_.size(); ++i) {
        if (panels_[i].style == Style::Time)
            labels_[i]->setText(formatTime(now));
        else if (panels_[i].style == Style::Date)
            labels_[i]->setText(formatShortDate(now.date()));
    }
}

void StatusBar::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(twipsPoint(event->position().toPoint()));
    QFrame::mouseMoveEvent(event);
}

void StatusBar::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(event->button(), twipsPoint(event->position().toPoint()));
    QFrame::mousePressEvent(event);
}

void StatusBar::mouseReleaseEvent(QMouseEvent* event)
{
    const int panel = panelAt(event->position().toPoint());
    if (panel > 0)
        emit panelClicked(panel);
    QFrame::mouseReleaseEvent(event);
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        const auto hint = hints_.constFind(watched);
        if (hint != hints_.constEnd())
            setHint(*hint);
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace horalog
