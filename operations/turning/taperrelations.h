// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/relationlist.h"

namespace zorvik::taper {

// Fields of the taper turning window, in display order.
// clang-format off
enum Field : FieldId {
    dl, wl, angle, ds, tl, set, rpm, cspeed, feed, frate, noc, mtime, mrr, chip, cf, cp, mp,
    meff, eeff, eff, ratio
};
// clang-format on

const RelationList &relations();

} // namespace zorvik::taper
