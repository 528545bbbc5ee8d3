#include "controls/BoxRules.h"

#include <QEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QValidator>

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

// Refuses an edit that brings a double quote, however it arrives: typed, pasted or dropped. The box
// undoes a refused edit itself. Quotes already in a stored text (an older data file) do not count,
// so such a text still shows and can be corrected.
class DoubleQuoteRefusal : public QValidator
{
  public:
    DoubleQuoteRefusal(QLineEdit* box, std::function<void()> refused)
        : QValidator(box), box_(box), refused_(std::move(refused))
    {
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { held_ = quotesIn(text); });
        connect(box, &QLineEdit::inputRejected, this, &DoubleQuoteRefusal::rejected);
    }

    State validate(QString& input, int&) const override
    {
        return quotesIn(input) > held_ ? Invalid : Acceptable;
    }

  private:
    static qsizetype quotesIn(const QString& text) { return text.count(QLatin1Char('"')); }

    // The box reports the rejection before it undoes the edit, and also when the program sets a
    // stored text, which it keeps: only an edit that was undone is told about, once.
    void rejected()
    {
        QTimer::singleShot(0, box_, [this, attempted = box_->text()] {
            if (box_->text() != attempted)
                refused_();
        });
    }

    QLineEdit* box_;
    std::function<void()> refused_;
    qsizetype held_ = 0;
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
    box->setValidator(new DoubleQuoteRefusal(box, std::move(refused)));
}

} // namespace horalog
