#include "support/Windows.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <QWidget>

namespace horalog::test
{

QStringList itemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

QStringList itemsOf(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

bool press(QAbstractButton* button)
{
    if (!button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

bool trigger(QAction* action)
{
    if (!action->isEnabled())
        return false;
    action->trigger();
    return true;
}

bool showActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

} // namespace horalog::test
