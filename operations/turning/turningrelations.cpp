// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/turning/turningrelations.h"

#include "solver/numerics.h"

namespace zorvik::turning {

namespace {
enum Aux { L };
} // namespace

// clang-format off
const RelationList &relations()
{
    static const RelationList list{
        .fields = {"txtidiam", "txtfdiam", "txtlen", "txtinlet", "txtoutlet", "txtangle",
                   "txtcspeed", "txtrpm", "txtfeed", "txtfrate", "txtnoc", "txtdoc",
                   "txtallowance", "txtmtime", "txtmrr", "txtchip", "txtct", "txtcw", "txtcf",
                   "txtcp", "txtmp", "txteff", "txteeff", "txtmeff", "txtspcf", "txtspcp"},
        .auxValues = {
            {"travel", "Travel Length (mm)",
             "(lenient({len}) + lenient({inlet})) + lenient({outlet})",
             [](V v) { return (v.lenient(len) + v.lenient(inlet)) + v.lenient(outlet); },
             {len, inlet, outlet}},
        },
        .groups = {
            {{"1a", allowance, {idiam, fdiam}, "({idiam} − {fdiam}) / 2",
              [](V v) { return (v[idiam] - v[fdiam]) / 2; }},
             {"1b", allowance, {doc, noc}, "{noc} × {doc}", [](V v) { return v[noc] * v[doc]; }}},
            {{"2a", idiam, {fdiam, allowance}, "({allowance} + {allowance}) + {fdiam}",
              [](V v) { return (v[allowance] + v[allowance]) + v[fdiam]; }},
             {"2b", idiam, {fdiam, doc, noc}, "{noc} × ({doc} + {doc}) + {fdiam}",
              [](V v) { return v[noc] * (v[doc] + v[doc]) + v[fdiam]; }},
             {"2c", idiam, {cspeed, rpm}, "({cspeed} × 1000) / ({rpm} × π)",
              [](V v) { return (v[cspeed] * 1000) / (v[rpm] * pi); }}},
            {{"3a", fdiam, {idiam, allowance}, "{idiam} − ({allowance} + {allowance})",
              [](V v) { return v[idiam] - (v[allowance] + v[allowance]); }},
             {"3b", fdiam, {idiam, noc, doc}, "{idiam} − {noc} × ({doc} + {doc})",
              [](V v) { return v[idiam] - v[noc] * (v[doc] + v[doc]); }}},
            {{"4a", doc, {idiam, fdiam, noc}, "({idiam} − {fdiam}) / ({noc} + {noc})",
              [](V v) { return (v[idiam] - v[fdiam]) / (v[noc] + v[noc]); }},
             {"4b", doc, {allowance, noc}, "{allowance} / {noc}",
              [](V v) { return v[allowance] / v[noc]; }},
             {"4c", doc, {chip, feed}, "{chip} / {feed}", [](V v) { return v[chip] / v[feed]; }}},
            {{"5a", noc, {idiam, fdiam, doc}, "({idiam} − {fdiam}) / ({doc} + {doc})",
              [](V v) { return (v[idiam] - v[fdiam]) / (v[doc] + v[doc]); }},
             {"5b", noc, {allowance, doc}, "{allowance} / {doc}",
              [](V v) { return v[allowance] / v[doc]; }},
             {"5c", noc, {mtime, frate}, "({frate} × {mtime}) / {travel}",
              [](V v) { return (v[frate] * v[mtime]) / v.aux(L); }}},
            {{"6a", frate, {feed, rpm}, "{rpm} × {feed}", [](V v) { return v[rpm] * v[feed]; }},
             {"6b", frate, {noc, mtime}, "({noc} × {travel}) / {mtime}",
              [](V v) { return (v[noc] * v.aux(L)) / v[mtime]; }}},
            {{"7a", feed, {frate, rpm}, "{frate} / {rpm}", [](V v) { return v[frate] / v[rpm]; }},
             {"7b", feed, {chip, doc}, "{chip} / {doc}", [](V v) { return v[chip] / v[doc]; }}},
            {{"8a", rpm, {frate, feed}, "{frate} / {feed}",
              [](V v) { return v[frate] / v[feed]; }},
             {"8b", rpm, {cspeed, idiam}, "({cspeed} × 1000) / ({idiam} × π)",
              [](V v) { return (v[cspeed] * 1000) / (v[idiam] * pi); }}},
            {{"9a", mtime, {frate, noc}, "({noc} × {travel}) / {frate}",
              [](V v) { return (v[noc] * v.aux(L)) / v[frate]; }}},
            {{"10a", cspeed, {idiam, rpm}, "({rpm} × ({idiam} × π)) / 1000",
              [](V v) { return (v[rpm] * (v[idiam] * pi)) / 1000; }},
             {"10b", cspeed, {mrr, chip}, "({mrr} / {chip}) / 1000",
              [](V v) { return (v[mrr] / v[chip]) / 1000; }},
             {"10c", cspeed, {cp, cf}, "({cp} / {cf}) × 60",
              [](V v) { return (v[cp] / v[cf]) * 60; }}},
            {{"11a", chip, {doc, feed}, "{feed} × {doc}", [](V v) { return v[feed] * v[doc]; }},
             {"11b", chip, {mrr, cspeed}, "{mrr} / ({cspeed} × 1000)",
              [](V v) { return v[mrr] / (v[cspeed] * 1000); }},
             {"11c", chip, {spcf, cf}, "{cf} / {spcf}", [](V v) { return v[cf] / v[spcf]; }}},
            {{"12a", mrr, {chip, cspeed}, "({cspeed} × {chip}) × 1000",
              [](V v) { return (v[cspeed] * v[chip]) * 1000; }},
             {"12b", mrr, {spcp, cp}, "{cp} / {spcp}", [](V v) { return v[cp] / v[spcp]; }}},
            {{"13a", cf, {cp, cspeed}, "{cp} / ({cspeed} / 60)",
              [](V v) { return v[cp] / (v[cspeed] / 60); }},
             {"13b", cf, {spcf, chip}, "{chip} × {spcf}", [](V v) { return v[chip] * v[spcf]; }}},
            {{"14a", cp, {cf, cspeed}, "({cspeed} / 60) × {cf}",
              [](V v) { return (v[cspeed] / 60) * v[cf]; }},
             {"14b", cp, {eff, mp}, "{mp} × {eff}", [](V v) { return v[mp] * v[eff]; }},
             {"14c", cp, {spcp, mrr}, "{mrr} × {spcp}", [](V v) { return v[mrr] * v[spcp]; }}},
            {{"15a", eff, {eeff, meff}, "{meff} × {eeff}", [](V v) { return v[meff] * v[eeff]; }},
             {"15b", eff, {cp, mp}, "{cp} / {mp}", [](V v) { return v[cp] / v[mp]; }}},
            {{"16a", mp, {cp, eff}, "{cp} / {eff}", [](V v) { return v[cp] / v[eff]; }}},
            {{"17a", meff, {eff, eeff}, "{eff} / {eeff}", [](V v) { return v[eff] / v[eeff]; }}},
            {{"18a", eeff, {eff, meff}, "{eff} / {meff}", [](V v) { return v[eff] / v[meff]; }}},
            // The angle is converted first, so a malformed angle fails before feed or doc is read.
            {{"19a", ct, {angle}, "{feed} × sin((π / 180) × {angle})",
              [](V v) { Num s = sine((pi / 180) * v[angle]); return v[feed] * s; }}},
            {{"20a", cw, {angle}, "{doc} / sin((π / 180) × {angle})",
              [](V v) { Num s = sine((pi / 180) * v[angle]); return v[doc] / s; }}},
            {{"21a", spcf, {cf, chip}, "{cf} / {chip}", [](V v) { return v[cf] / v[chip]; }}},
            {{"22a", spcp, {cp, mrr}, "{cp} / {mrr}", [](V v) { return v[cp] / v[mrr]; }}},
        },
        .passes = 24,
    };
    return list;
}

// A facing cut takes its depth off the length, not off a radius, and cuts on the outside diameter
// of the face: twice the work-piece radius.
const RelationList &faceRelations()
{
    static const RelationList list = amended(relations(), {
        {"1a", allowance, {idiam, fdiam}, "{idiam} − {fdiam}",
         [](V v) { return v[idiam] - v[fdiam]; }},
        {"2a", idiam, {fdiam, allowance}, "{allowance} + {fdiam}",
         [](V v) { return v[allowance] + v[fdiam]; }},
        {"2b", idiam, {fdiam, doc, noc}, "({noc} × {doc}) + {fdiam}",
         [](V v) { return (v[noc] * v[doc]) + v[fdiam]; }},
        {"3a", fdiam, {idiam, allowance}, "{idiam} − {allowance}",
         [](V v) { return v[idiam] - v[allowance]; }},
        {"3b", fdiam, {idiam, noc, doc}, "{idiam} − ({noc} × {doc})",
         [](V v) { return v[idiam] - (v[noc] * v[doc]); }},
        {"4a", doc, {idiam, fdiam, noc}, "({idiam} − {fdiam}) / {noc}",
         [](V v) { return (v[idiam] - v[fdiam]) / v[noc]; }},
        {"5a", noc, {idiam, fdiam, doc}, "({idiam} − {fdiam}) / {doc}",
         [](V v) { return (v[idiam] - v[fdiam]) / v[doc]; }},
        {"8b", rpm, {cspeed, len}, "({cspeed} × 1000) / (({len} + {len}) × π)",
         [](V v) { return (v[cspeed] * 1000) / ((v[len] + v[len]) * pi); }},
        {"10a", cspeed, {len, rpm}, "({rpm} × (({len} + {len}) × π)) / 1000",
         [](V v) { return (v[rpm] * ((v[len] + v[len]) * pi)) / 1000; }},
    }, {"2c"});
    return list;
}
// clang-format on

} // namespace zorvik::turning
