#include "support/Windows.h"

#include <QTest>
#include <QWidget>

namespace horalog::test
{

bool showActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

} // namespace horalog::test
