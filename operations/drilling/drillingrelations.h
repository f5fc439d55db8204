// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/relationlist.h"

namespace zorvik::drilling {

// Fields of the drilling window, in display order. The rules work on fdiam2 (the hole
// diameter); in hole enlargement idiam and fdiam feed it, and the speeds take fdiam.
// clang-format off
enum Field : FieldId {
    idiam, fdiam, fdiam2, inlet, outlet, depth, angle, edge, cspeed, rpm, feed, frate, fpt, doc,
    ct, cw, area, tarea, mrr, mt, cf1, tcf, spcf, cp, spcp, mp, meff, eeff, eff
};
// clang-format on

const RelationList &relations();

// What leaving the initial or final diameter does: with both filled, their difference (final
// minus initial) replaces the hole diameter. Returns whether it did; when either text is no
// number, or the difference overflows, the hole diameter keeps its text.
bool enlargeHole(FieldStore &store);

} // namespace zorvik::drilling
