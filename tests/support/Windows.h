#pragma once

class QWidget;

namespace horalog::test {

// Shows the window and waits until it is the active one, so that focus rules can be observed.
bool showActive(QWidget* window);

} // namespace horalog::test
