// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/drilling/drillingrelations.h"

#include "solver/conversions.h"
#include "solver/numerics.h"

namespace zorvik::drilling {

namespace {
enum Aux { L, K }; // L after the inlet rule

bool enlarging(V v)
{
    return v[idiam].ok() && v[fdiam].ok();
}
constexpr std::string_view enlargingText = "{idiam} and {fdiam} are numbers";

// Opening a hole, V is the speed on the final diameter, but the chip is a ring whose mean speed
// is V (Df + Di) / (2 Df): the rules that relate V to the removal rate or the power take V × k
// with k = (Df + Di) / Df, where a solid drill has k = 1.
Num enlargement(V v)
{
    return v.aux(K);
}

// The formulas as first written are for the two lips of a twist drill: the removal rate and the
// power are those of z lips, z / 2 times the two-lip figures, while a lip's chip and force stay
// its own. With two lips the factor is exactly 1 and nothing changes.
Num pairs(V v)
{
    return v[edge] / 2;
}
} // namespace

// clang-format off
const RelationList &relations()
{
    static const RelationList list{
        .fields = {"txtidiam", "txtfdiam", "txtfdiam2", "txtinlet", "txtoutlet", "txtdepth",
                   "txtangle", "txtedge", "txtcspeed", "txtrpm", "txtfeed", "txtfrate", "txtfpt",
                   "txtdoc", "txtct", "txtcw", "txtarea", "txttarea", "txtmrr", "txtmt", "txtcf1",
                   "txttcf", "txtspcf", "txtcp", "txtspcp", "txtmp", "txtmeff", "txteeff",
                   "txteff"},
        // The inlet is the length of the drill point, so it takes half the point angle.
        .prePass = {
            {"pre", inlet, {fdiam2}, "{fdiam2} / (2 × sin(({angle} / 2) × (π / 180)))",
             [](V v) {
                Num s = sine((v[angle] / 2) * (pi / 180));
                return v[fdiam2] / (2 * s);
            }},
        },
        .auxValues = {
            {"travel", "Travel Length (mm)",
             "(lenient({inlet}) + lenient({outlet})) + lenient({depth})",
             [](V v) { return (v.lenient(inlet) + v.lenient(outlet)) + v.lenient(depth); },
             {inlet, outlet, depth}},
            {"k", "Enlargement Factor k", "({fdiam} + {idiam}) / {fdiam}",
             [](V v) { return (v[fdiam] + v[idiam]) / v[fdiam]; }},
        },
        .groups = {
            // In hole enlargement the tool's outer corner cuts on the final diameter: the
            // cutting speed and the spindle speed are related through it, while the chip and
            // the removal rate stay with the diameter difference. Every rule that links them
            // takes the ring's geometry, or a page it solved would not agree with itself.
            {{"1a", cspeed, {fdiam2, rpm, idiam, fdiam}, "({rpm} × ({fdiam} × π)) / 1000",
              [](V v) { return (v[rpm] * (v[fdiam] * pi)) / 1000; },
              enlarging, enlargingText},
             {"1a", cspeed, {fdiam2, rpm}, "({rpm} × ({fdiam2} × π)) / 1000",
              [](V v) { return (v[rpm] * (v[fdiam2] * pi)) / 1000; }},
             {"1b", cspeed, {mrr, fdiam2, feed, idiam, fdiam},
              "((({mrr} × 4) / ({feed} × {fdiam2})) / 1000) / {k}",
              [](V v) { return (((v[mrr] * 4) / (v[feed] * v[fdiam2])) / 1000) / enlargement(v); },
              enlarging, enlargingText},
             {"1b", cspeed, {mrr, fdiam2, feed}, "(({mrr} × 4) / ({feed} × {fdiam2})) / 1000",
              [](V v) { return ((v[mrr] * 4) / (v[feed] * v[fdiam2])) / 1000; }},
             {"1c", cspeed, {area, mrr, edge, idiam, fdiam},
              "(({mrr} / ({area} × ({edge} / 2))) / 1000) / {k}",
              [](V v) { return ((v[mrr] / (v[area] * pairs(v))) / 1000) / enlargement(v); },
              enlarging, enlargingText},
             {"1c", cspeed, {area, mrr, edge}, "({mrr} / ({area} × ({edge} / 2))) / 1000",
              [](V v) { return (v[mrr] / (v[area] * pairs(v))) / 1000; }},
             {"1d", cspeed, {cp, cf1, edge, idiam, fdiam},
              "((({cp} / {cf1}) × 60) / {k}) / ({edge} / 2)",
              [](V v) { return (((v[cp] / v[cf1]) * 60) / enlargement(v)) / pairs(v); },
              enlarging, enlargingText},
             {"1d", cspeed, {cp, cf1, edge}, "(({cp} / {cf1}) × 60) / ({edge} / 2)",
              [](V v) { return ((v[cp] / v[cf1]) * 60) / pairs(v); }}},
            {{"2a", feed, {fpt, edge}, "{edge} × {fpt}", [](V v) { return v[edge] * v[fpt]; }},
             {"2b", feed, {frate, rpm}, "{frate} / {rpm}", [](V v) { return v[frate] / v[rpm]; }},
             {"2c", feed, {area, fdiam2, edge}, "({area} × ({edge} + {edge})) / {fdiam2}",
              [](V v) { return (v[area] * (v[edge] + v[edge])) / v[fdiam2]; }},
             {"2d", feed, {mrr, fdiam2, cspeed, idiam, fdiam},
              "({mrr} × 4) / ((({cspeed} × {k}) × {fdiam2}) × 1000)",
              [](V v) {
                  return (v[mrr] * 4) / (((v[cspeed] * enlargement(v)) * v[fdiam2]) * 1000);
              },
              enlarging, enlargingText},
             {"2d", feed, {mrr, fdiam2, cspeed}, "({mrr} × 4) / (({cspeed} × {fdiam2}) × 1000)",
              [](V v) { return (v[mrr] * 4) / ((v[cspeed] * v[fdiam2]) * 1000); }}},
            {{"3a", frate, {feed, rpm}, "{rpm} × {feed}", [](V v) { return v[rpm] * v[feed]; }},
             {"3b", frate, {fpt, rpm, edge}, "{rpm} × ({edge} × {fpt})",
              [](V v) { return v[rpm] * (v[edge] * v[fpt]); }},
             {"3c", frate, {mt}, "{travel} / {mt}",
              [](V v) { return v.aux(L) / v[mt]; },
              [](V v) { return v.aux(L).value() != 0; }, "{travel} ≠ 0"}},
            {{"4a", fpt, {feed, edge}, "{feed} / {edge}", [](V v) { return v[feed] / v[edge]; }},
             {"4b", fpt, {frate, rpm, edge}, "{frate} / ({rpm} × {edge})",
              [](V v) { return v[frate] / (v[rpm] * v[edge]); }},
             {"4c", fpt, {area, fdiam2}, "({area} + {area}) / {fdiam2}",
              [](V v) { return (v[area] + v[area]) / v[fdiam2]; }}},
            {{"5a", area, {fdiam2, fpt}, "{fpt} × ({fdiam2} / 2)",
              [](V v) { return v[fpt] * (v[fdiam2] / 2); }},
             {"5b", area, {fdiam2, feed}, "({feed} / {edge}) × ({fdiam2} / 2)",
              [](V v) { return (v[feed] / v[edge]) * (v[fdiam2] / 2); }},
             {"5c", area, {mrr, cspeed, edge, idiam, fdiam},
              "({mrr} / (({cspeed} × {k}) × 1000)) / ({edge} / 2)",
              [](V v) { return (v[mrr] / ((v[cspeed] * enlargement(v)) * 1000)) / pairs(v); },
              enlarging, enlargingText},
             {"5c", area, {mrr, cspeed, edge}, "({mrr} / ({cspeed} × 1000)) / ({edge} / 2)",
              [](V v) { return (v[mrr] / (v[cspeed] * 1000)) / pairs(v); }},
             {"5d", area, {cf1, spcf}, "{cf1} / {spcf}", [](V v) { return v[cf1] / v[spcf]; }}},
            {{"6a", mrr, {area, cspeed, edge, idiam, fdiam},
              "(({cspeed} × {k}) × ({area} × ({edge} / 2))) × 1000",
              [](V v) { return ((v[cspeed] * enlargement(v)) * (v[area] * pairs(v))) * 1000; },
              enlarging, enlargingText},
             {"6a", mrr, {area, cspeed, edge}, "({cspeed} × ({area} × ({edge} / 2))) × 1000",
              [](V v) { return (v[cspeed] * (v[area] * pairs(v))) * 1000; }},
             {"6b", mrr, {fdiam2, fpt, cspeed, edge, idiam, fdiam},
              "(({cspeed} × {k}) × (({fpt} × ({edge} / 2)) × ({fdiam2} / 2))) × 1000",
              [](V v) {
                  return ((v[cspeed] * enlargement(v)) * ((v[fpt] * pairs(v)) * (v[fdiam2] / 2))) *
                         1000;
              },
              enlarging, enlargingText},
             {"6b", mrr, {fdiam2, fpt, cspeed, edge},
              "({cspeed} × (({fpt} × ({edge} / 2)) × ({fdiam2} / 2))) × 1000",
              [](V v) { return (v[cspeed] * ((v[fpt] * pairs(v)) * (v[fdiam2] / 2))) * 1000; }},
             {"6c", mrr, {cp, spcp}, "{cp} / {spcp}", [](V v) { return v[cp] / v[spcp]; }}},
            {{"7a", cf1, {cp, cspeed, edge, idiam, fdiam},
              "({cp} / (({cspeed} × {k}) / 60)) / ({edge} / 2)",
              [](V v) { return (v[cp] / ((v[cspeed] * enlargement(v)) / 60)) / pairs(v); },
              enlarging, enlargingText},
             {"7a", cf1, {cp, cspeed, edge}, "({cp} / ({cspeed} / 60)) / ({edge} / 2)",
              [](V v) { return (v[cp] / (v[cspeed] / 60)) / pairs(v); }},
             // Without it a page with kc, feed and speed would leave force and power blank.
             {"7b", cf1, {spcf, area}, "{spcf} × {area}",
              [](V v) { return v[spcf] * v[area]; }}},
            {{"8a", cp, {cf1, cspeed, edge, idiam, fdiam},
              "((({cspeed} × {k}) / 60) × {cf1}) × ({edge} / 2)",
              [](V v) { return (((v[cspeed] * enlargement(v)) / 60) * v[cf1]) * pairs(v); },
              enlarging, enlargingText},
             {"8a", cp, {cf1, cspeed, edge}, "(({cspeed} / 60) × {cf1}) × ({edge} / 2)",
              [](V v) { return ((v[cspeed] / 60) * v[cf1]) * pairs(v); }},
             {"8b", cp, {eff, mp}, "{eff} × {mp}", [](V v) { return v[eff] * v[mp]; }}},
            {{"9a", mt, {frate}, "{travel} / {frate}", [](V v) { return v.aux(L) / v[frate]; }}},
            {{"10a", rpm, {cspeed, fdiam2, idiam, fdiam}, "({cspeed} × 1000) / ({fdiam} × π)",
              [](V v) { return (v[cspeed] * 1000) / (v[fdiam] * pi); },
              enlarging, enlargingText},
             {"10a", rpm, {cspeed, fdiam2}, "({cspeed} × 1000) / ({fdiam2} × π)",
              [](V v) { return (v[cspeed] * 1000) / (v[fdiam2] * pi); }},
             {"10b", rpm, {frate, feed}, "{frate} / {feed}",
              [](V v) { return v[frate] / v[feed]; }}},
            {{"11a", doc, {fdiam2}, "{fdiam2} / 2", [](V v) { return v[fdiam2] / 2; }}},
            {{"12a", fdiam2, {mrr, cspeed, feed, idiam, fdiam},
              "({mrr} × 4) / (({feed} × ({cspeed} × {k})) × 1000)",
              [](V v) { return (v[mrr] * 4) / ((v[feed] * (v[cspeed] * enlargement(v))) * 1000); },
              enlarging, enlargingText},
             {"12a", fdiam2, {mrr, cspeed, feed}, "({mrr} × 4) / (({feed} × {cspeed}) × 1000)",
              [](V v) { return (v[mrr] * 4) / ((v[feed] * v[cspeed]) * 1000); }},
             {"12b", fdiam2, {cspeed, rpm, idiam, fdiam},
              "(({cspeed} × 1000) / ({rpm} × π)) − {idiam}",
              [](V v) { return ((v[cspeed] * 1000) / (v[rpm] * pi)) - v[idiam]; },
              enlarging, enlargingText},
             {"12b", fdiam2, {cspeed, rpm}, "({cspeed} × 1000) / ({rpm} × π)",
              [](V v) { return (v[cspeed] * 1000) / (v[rpm] * pi); }},
             // What the window writes when an enlargement diameter loses the focus: a solve
             // finds it filled, and the check holds a hole diameter typed as well to it.
             {"12c", fdiam2, {idiam, fdiam}, "{fdiam} − {idiam}",
              [](V v) { return v[fdiam] - v[idiam]; }, enlarging, enlargingText}},
            // The chip lies along the lip, so like the inlet it takes half the point angle.
            {{"13a", ct, {fpt, angle}, "{fpt} × sin(({angle} / 2) × (π / 180))",
              [](V v) { return v[fpt] * sine((v[angle] / 2) * (pi / 180)); }}},
            {{"14a", cw, {fdiam2, angle}, "{fdiam2} / (2 × sin(({angle} / 2) × (π / 180)))",
              [](V v) { return v[fdiam2] / (2 * sine((v[angle] / 2) * (pi / 180))); }}},
            {{"15a", spcf, {cf1, area}, "{cf1} / {area}", [](V v) { return v[cf1] / v[area]; }}},
            {{"16a", spcp, {cp, mrr}, "{cp} / {mrr}", [](V v) { return v[cp] / v[mrr]; }}},
            {{"17a", tcf, {cf1}, "{cf1} × {edge}", [](V v) { return v[cf1] * v[edge]; }},
             {"17b", tcf, {spcf, area, edge}, "{area} × ({edge} × {spcf})",
              [](V v) { return v[area] * (v[edge] * v[spcf]); }}},
            {{"18a", tcf, {cf1, edge}, "{cf1} × {edge}", [](V v) { return v[cf1] * v[edge]; }}},
            {{"19a", tarea, {area, edge}, "{edge} × {area}",
              [](V v) { return v[edge] * v[area]; }}},
            {{"20a", mp, {cp, eff}, "{cp} / {eff}", [](V v) { return v[cp] / v[eff]; }}},
            {{"21a", meff, {eeff, eff}, "{eff} / {eeff}", [](V v) { return v[eff] / v[eeff]; }}},
            {{"22a", eeff, {eff, meff}, "{eff} / {meff}", [](V v) { return v[eff] / v[meff]; }}},
            {{"23a", eff, {meff, eeff}, "{eeff} × {meff}", [](V v) { return v[eeff] * v[meff]; }},
             {"23b", eff, {cp, mp}, "{cp} / {mp}", [](V v) { return v[cp] / v[mp]; }}},
        },
        .passes = 24,
    };
    return list;
}
// clang-format on

bool enlargeHole(FieldStore &store)
{
    if (store.isBlank(fdiam) || store.isBlank(idiam))
        return false;
    const std::vector<Num> noAux;
    Values v(store, noAux);
    Num difference = v[fdiam] - v[idiam];
    if (!difference.ok())
        return false;
    store.setText(fdiam2, numberToText(difference.value()));
    return true;
}

} // namespace zorvik::drilling
