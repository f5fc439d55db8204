// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/relationlist.h"

namespace zorvik::shaping {

// Fields of one page of the shaping window, in display order. cycleTime is txttime; a plain
// "time" would meet ::time wherever <ctime> has been included.
// clang-format off
enum Field : FieldId {
    it, ft, l, w, wl, ww, cs, rs, ms, rpm, f, fr, noc, doc, all, area, mrr, ctime, rtime,
    cycleTime, mt, nos, cangle, rangle, cf, spcf, cp, spcp, mp, meff, eeff, eff
};
// clang-format on

const RelationList &relations();

} // namespace zorvik::shaping
