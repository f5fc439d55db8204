// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/relationlist.h"

namespace zorvik::milling {

// Fields of one page of the milling window, in display order. teeth is txtnot (the number of
// cutter teeth): "not" is a C++ keyword. hmax and hmin are txtmax and txtmin, the largest and
// smallest uncut chip thickness: "max" and "min" are macros on Windows.
// clang-format off
enum Field : FieldId {
    diam, cw, ih, fh, ww, wl, ot, teeth, cangle, tangle, cs, rpm, f, fpt, fr, doc, all, noc,
    hmax, hmin, ct, ca, mrr, note, cf, torq, cp, spcp, eff, eeff, meff, mp, spcf, chw
};
// clang-format on

const RelationList &relations();

} // namespace zorvik::milling
