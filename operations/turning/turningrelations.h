// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/relationlist.h"

namespace zorvik::turning {

// clang-format off
// Fields of one page of the longitudinal and face turning windows, in display order.
enum Field : FieldId {
    idiam, fdiam, len, inlet, outlet, angle, cspeed, rpm, feed, frate, noc, doc, allowance,
    mtime, mrr, chip, ct, cw, cf, cp, mp, eff, eeff, meff, spcf, spcp
};
// clang-format on

const RelationList &relations();
// Facing: the same fields, with the allowance taken from the difference of the lengths and the
// speeds on the work-piece's diameter, twice the radius in len.
const RelationList &faceRelations();

} // namespace zorvik::turning
