// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

#include <QRect>
#include <QWidget>

namespace zorvik::calculator::twips {

// Window designs are laid out in twips; at 96 dpi a logical pixel is 15 twips, and Qt's
// high-DPI scaling maps logical pixels to the device.
inline constexpr int perPixel = 15;

constexpr int toPixels(int twips)
{
    return twips >= 0 ? (twips + perPixel / 2) / perPixel : -((-twips + perPixel / 2) / perPixel);
}

constexpr int fromPixels(int pixels)
{
    return pixels * perPixel;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

// Moves and sizes the widget to a box of its design.
inline void place(QWidget *widget, const design::Box &box)
{
    widget->setGeometry(rect(box.left, box.top, box.width, box.height));
}

} // namespace zorvik::calculator::twips
