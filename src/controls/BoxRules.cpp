#include "controls/BoxRules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>

namespace horalog
{

namespace
{

// Acts on a box each time it is entered, after the event, so that a click placing the caret has
// happened first.
class OnEntry : public QObject
{
  public:
    OnEntry(QLineEdit* box, std::function<void(QLineEdit*)> act) : QObject(box), act_(std::move(act)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto* box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, box, [box, act = act_] { act(box); });
        }
        return false;
    }

  private:
    std::function<void(QLineEdit*)> act_;
};

class DoubleQuoteFilter : public QObject
{
  public:
    DoubleQuoteFilter(QObject* parent, std::function<void()> refused)
        : QObject(parent), refused_(std::move(refused))
    {
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->text() != QLatin1String("\""))
            return false;
        refused_();
        return true;
    }

  private:
    std::function<void()> refused_;
};

} // namespace

void startAfterParenthesis(QLineEdit* box)
{
    box->installEventFilter(new OnEntry(box, [](QLineEdit* entered) {
        static const QRegularExpression digit(QStringLiteral("\\d"));
        if (!entered->text().contains(digit) && entered->cursorPosition() == 0)
            entered->setCursorPosition(1);
    }));
}

void selectAllOnEntry(QLineEdit* box)
{
    box->installEventFilter(new OnEntry(box, [](QLineEdit* entered) { entered->selectAll(); }));
}

void refuseDoubleQuote(QLineEdit* box, std::function<void()> refused)
{
    box->installEventFilter(new DoubleQuoteFilter(box, std::move(refused)));
}

} // namespace horalog
