#pragma once

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QAction;
class QComboBox;
class QListWidget;

namespace horalog::test
{

// The lines of a list, in the order it shows them.
QStringList itemsOf(const QComboBox* list);
QStringList itemsOf(const QListWidget* list);

// Clicks a button as the user does; false, with nothing clicked, when it is disabled.
bool press(QAbstractButton* button);
// Chooses a menu item; false, with nothing done, when it is disabled.
bool trigger(QAction* action);

// Shows the window and waits until it is the active one, so that focus rules can be observed.
bool showActive(QWidget* window);

// Runs `act` on the first visible window of the given class once it appears, for example a modal
// window the code under test opens and waits for. Checks belong after the call that opened it.
template <typename Window> void whenShown(QObject* context, std::function<void(Window*)> act)
{
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<Window*>(widget);
            if (window && window->isVisible()) {
                poll->stop();
                poll->deleteLater();
                act(window);
                return;
            }
        }
    });
    poll->start(10);
}

} // namespace horalog::test
