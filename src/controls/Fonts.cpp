#include "controls/Fonts.h"

namespace horalog
{

QFont sansSerif(double points, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace horalog
