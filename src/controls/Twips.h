#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace horalog
{

// Window layouts are given in twips; 15 twips make one pixel at 96 dpi and Qt scales the rest.
constexpr int kTwipsPerPixel = 15;

int pixels(int twips);
int twipsFromPixels(int pixels);
QSize twipsSize(int width, int height);
QRect twipsRect(int left, int top, int width, int height);
QPoint twipsPoint(const QPoint& pixelPoint);
void placeTwips(QWidget* widget, int left, int top, int width, int height);

} // namespace horalog
