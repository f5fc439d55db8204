// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMdiArea;

namespace zorvik {

// The work area's arrangement modes, numbered as the window designs number them.
enum class Arrangement { Cascade = 0, TileHorizontally = 1, TileVertically = 2, ArrangeIcons = 3 };

void arrange(QMdiArea *area, Arrangement arrangement);

} // namespace zorvik
