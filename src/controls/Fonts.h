#pragma once

#include <QFont>

namespace horalog
{

// "MS Sans Serif" of the window layouts, as the metric-compatible face fontconfig offers.
QFont sansSerif(double points = 8.25, bool bold = false);

} // namespace horalog
