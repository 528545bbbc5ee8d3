#include "controls/BoxRules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>

namespace horalog {

namespace {

class CaretAfterParenthesis : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto* box = static_cast<QLineEdit*>(watched);
            // After the event, so that a click placing the caret has happened first.
            QTimer::singleShot(0, box, [box] {
                static const QRegularExpression digit(QStringLiteral("\\d"));
                if (!box->text().contains(digit) && box->cursorPosition() == 0)
                    box->setCursorPosition(1);
            });
        }
        return false;
    }
};

class DoubleQuoteFilter : public QObject {
public:
    DoubleQuoteFilter(QObject* parent, std::function<void()> refused) : QObject(parent), refused_(std::move(refused))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->text() != QLatin1String("\""))
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
    box->installEventFilter(new CaretAfterParenthesis(box));
}

void refuseDoubleQuote(QLineEdit* box, std::function<void()> refused)
{
    box->installEventFilter(new DoubleQuoteFilter(box, std::move(refused)));
}

} // namespace horalog
