#include "controls/Twips.h"

#include <QWidget>
#include <QtMath>

namespace horalog
{

int pixels(int twips)
{
    return qRound(twips / double(kTwipsPerPixel));
}

int twipsFromPixels(int pixels)
{
    return pixels * kTwipsPerPixel;
}

QSize twipsSize(int width, int height)
{
    return {pixels(width), pixels(height)};
}

QRect twipsRect(int left, int top, int width, int height)
{
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

QPoint twipsPoint(const QPoint& pixelPoint)
{
    return {twipsFromPixels(pixelPoint.x()), twipsFromPixels(pixelPoint.y())};
}

void placeTwips(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
}

} // namespace horalog
