// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/turning/taperrelations.h"

#include "solver/numerics.h"

namespace zorvik::taper {

namespace {
enum Aux { L };
} // namespace

// Spindle and cutting speed use the mean diameter (4b, 6a), and the taper angle is the included
// angle in degrees (16a): the field is captioned in degrees and a plain cylinder must still
// give a speed.
// clang-format off
const RelationList &relations()
{
    static const RelationList list{
        .fields = {"txtdl", "txtwl", "txtangle", "txtds", "txttl", "txtset", "txtrpm", "txtcspeed",
                   "txtfeed", "txtfrate", "txtnoc", "txtmtime", "txtmrr", "txtchip", "txtcf",
                   "txtcp", "txtmp", "txtmeff", "txteeff", "txteff", "txtratio"},
        .auxValues = {
            {"taperlength", "Lenient Taper Length (mm)", "lenient({tl})",
             [](V v) { return v.lenient(tl); }, {tl}},
        },
        .groups = {
            {{"1a", noc, {mtime, frate}, "({frate} × {mtime}) / {taperlength}",
              [](V v) { return (v[frate] * v[mtime]) / v.aux(L); }}},
            {{"2a", frate, {feed, rpm}, "{rpm} × {feed}", [](V v) { return v[rpm] * v[feed]; }},
             {"2b", frate, {noc, mtime}, "({noc} × {taperlength}) / {mtime}",
              [](V v) { return (v[noc] * v.aux(L)) / v[mtime]; }}},
            {{"3a", feed, {frate, rpm}, "{frate} / {rpm}", [](V v) { return v[frate] / v[rpm]; }}},
            {{"4a", rpm, {frate, feed}, "{frate} / {feed}",
              [](V v) { return v[frate] / v[feed]; }},
             {"4b", rpm, {cspeed, dl, ds}, "({cspeed} × 1000) / ((({dl} + {ds}) / 2) × π)",
              [](V v) { return (v[cspeed] * 1000) / (((v[dl] + v[ds]) / 2) * pi); }}},
            {{"5a", mtime, {frate, noc}, "({noc} × {taperlength}) / {frate}",
              [](V v) { return (v[noc] * v.aux(L)) / v[frate]; }}},
            {{"6a", cspeed, {dl, ds, rpm}, "({rpm} × ((({dl} + {ds}) / 2) × π)) / 1000",
              [](V v) { return (v[rpm] * (((v[dl] + v[ds]) / 2) * pi)) / 1000; }},
             {"6b", cspeed, {mrr, chip}, "({mrr} / {chip}) / 1000",
              [](V v) { return (v[mrr] / v[chip]) / 1000; }},
             {"6c", cspeed, {cp, cf}, "({cp} / {cf}) × 60",
              [](V v) { return (v[cp] / v[cf]) * 60; }}},
            {{"7a", chip, {mrr, cspeed}, "{mrr} / ({cspeed} × 1000)",
              [](V v) { return v[mrr] / (v[cspeed] * 1000); }}},
            {{"8a", mrr, {chip, cspeed}, "({cspeed} × {chip}) × 1000",
              [](V v) { return (v[cspeed] * v[chip]) * 1000; }}},
            {{"9a", cf, {cp, cspeed}, "{cp} / ({cspeed} / 60)",
              [](V v) { return v[cp] / (v[cspeed] / 60); }}},
            {{"10a", cp, {cf, cspeed}, "({cspeed} / 60) × {cf}",
              [](V v) { return (v[cspeed] / 60) * v[cf]; }},
             {"10b", cp, {eff, mp}, "{mp} × {eff}", [](V v) { return v[mp] * v[eff]; }}},
            {{"11a", eff, {eeff, meff}, "{meff} × {eeff}", [](V v) { return v[meff] * v[eeff]; }},
             {"11b", eff, {cp, mp}, "{cp} / {mp}", [](V v) { return v[cp] / v[mp]; }}},
            {{"12a", mp, {cp, eff}, "{cp} / {eff}", [](V v) { return v[cp] / v[eff]; }}},
            {{"13a", meff, {eff, eeff}, "{eff} / {eeff}", [](V v) { return v[eff] / v[eeff]; }}},
            {{"14a", eeff, {eff, meff}, "{eff} / {meff}", [](V v) { return v[eff] / v[meff]; }}},
            {{"15a", ratio, {dl, ds, tl}, "({dl} − {ds}) / {tl}",
              [](V v) { return (v[dl] - v[ds]) / v[tl]; }}},
            {{"16a", angle, {dl, ds, tl}, "((2 × arctan(({dl} − {ds}) / (2 × {tl}))) × 180) / π",
              [](V v) {
                Num a = (v[dl] - v[ds]) / (2 * v[tl]);
                return ((2 * arctangent(a)) * 180) / pi;
            }}},
            {{"17a", set, {wl, tl, dl, ds}, "(({dl} − {ds}) / 2) × ({wl} / {tl})",
              [](V v) { return ((v[dl] - v[ds]) / 2) * (v[wl] / v[tl]); }}},
        },
        .passes = 24,
    };
    return list;
}
// clang-format on

} // namespace zorvik::taper
