#pragma once

#include "solver/relationlist.h"

namespace zorvik::taper {

// Fields of the taper turning window, in display order.
enum Field : FieldId {
    dl, wl, angle, ds, tl, set, rpm, cspeed, feed, frate, noc, mtime, mrr, chip, cf, cp, mp,
    meff, eeff, eff, ratio
};

const RelationList &relations();

} // namespace zorvik::taper
