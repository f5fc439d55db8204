// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/milling/millingrelations.h"

#include "solver/numerics.h"

#include <cmath>

namespace zorvik::milling {

// Angles turn into radians as (angle * pi) / 180 here, unlike the turning lists. Torque (18a)
// is written in N.m, as its field is captioned, from a diameter in mm.
// clang-format off
const RelationList &relations()
{
    static const RelationList list{
        .fields = {"txtdiam", "txtcw", "txtih", "txtfh", "txtww", "txtwl", "txtot", "txtnot",
                   "txtcangle", "txttangle", "txtcs", "txtrpm", "txtf", "txtfpt", "txtfr",
                   "txtdoc", "txtall", "txtnoc", "txtmax", "txtmin", "txtct", "txtca", "txtmrr",
                   "txtnote", "txtcf", "txttorq", "txtcp", "txtspcp", "txteff", "txteeff",
                   "txtmeff", "txtmp", "txtspcf", "txtchw"},
        .groups = {
            {{"1a", cs, {diam, rpm}, "(({diam} × π) × {rpm}) / 1000",
              [](V v) { return ((v[diam] * pi) * v[rpm]) / 1000; }},
             {"1b", cs, {doc, fr, note, hmin}, "({doc} × {fr}) / (({note} × {min}) × 1000)",
              [](V v) { return (v[doc] * v[fr]) / ((v[note] * v[hmin]) * 1000); }},
             // The force is one tooth's (17a); the power is that of every tooth engaged.
             {"1c", cs, {cp, cf, note}, "({cp} / ({cf} × {note})) × 60",
              [](V v) { return (v[cp] / (v[cf] * v[note])) * 60; }}},
            {{"2a", rpm, {cs, diam}, "({cs} × 1000) / ({diam} × π)",
              [](V v) { return (v[cs] * 1000) / (v[diam] * pi); }},
             {"2b", rpm, {f, fr}, "{fr} / {f}", [](V v) { return v[fr] / v[f]; }}},
            {{"3a", f, {fpt, teeth}, "{fpt} × {not}", [](V v) { return v[fpt] * v[teeth]; }},
             {"3b", f, {fr, rpm}, "{fr} / {rpm}", [](V v) { return v[fr] / v[rpm]; }},
             {"3c", f, {hmin, diam, note, doc}, "((({min} × π) × {diam}) × {note}) / {doc}",
              [](V v) { return (((v[hmin] * pi) * v[diam]) * v[note]) / v[doc]; }}},
            {{"4a", fpt, {f, teeth}, "{f} / {not}", [](V v) { return v[f] / v[teeth]; }},
             {"4b", fpt, {fr, teeth, rpm}, "{fr} / ({rpm} × {not})",
              [](V v) { return v[fr] / (v[rpm] * v[teeth]); }}},
            {{"5a", fr, {f, rpm}, "{rpm} × {f}", [](V v) { return v[rpm] * v[f]; }},
             {"5b", fr, {mrr, cw, doc}, "{mrr} / ({doc} × {cw})",
              [](V v) { return v[mrr] / (v[doc] * v[cw]); }}},
            {{"6a", doc, {all, noc}, "{all} / {noc}", [](V v) { return v[all] / v[noc]; }},
             {"6b", doc, {hmin, diam, note, f}, "((({min} × π) × {diam}) × {note}) / {f}",
              [](V v) { return (((v[hmin] * pi) * v[diam]) * v[note]) / v[f]; }},
             {"6c", doc, {hmin, diam, cangle, fpt},
              "(({diam} × ({cangle} × {min})) × π) / ({fpt} × 360)",
              [](V v) { return ((v[diam] * (v[cangle] * v[hmin])) * pi) / (v[fpt] * 360); }}},
            {{"7a", all, {ih, fh}, "{ih} − {fh}", [](V v) { return v[ih] - v[fh]; }}},
            {{"8a", noc, {all, doc}, "{all} / {doc}", [](V v) { return v[all] / v[doc]; }}},
            // The argument is the sine of the contact angle for any depth, but past half the
            // diameter the angle is obtuse and the arcsine only gives its supplement.
            {{"9a", cangle, {doc, diam},
              "arcsine((2 × √(({diam} − {doc}) × {doc})) / {diam}), "
              "or 180 − that when {doc} > {diam} / 2",
              [](V v) {
                Num d = v[diam] - v[doc];
                Num p = d * v[doc];
                Num n = 2 * squareRoot(p);
                Num angle = degreeArcsine(n / v[diam]);
                if (angle.ok() && v[doc].value() > v[diam].value() / 2)
                    return 180 - angle;
                return angle;
             }},
             // From 90 degrees on the maximum chip is the whole feed per tooth (10a): a ratio of
             // 1 says the angle is at least that, not which.
             {"9b", cangle, {hmax, fpt}, "arcsine({max} / {fpt})",
              [](V v) { return degreeArcsine(v[hmax] / v[fpt]); }, nullptr, {},
              [](V v) {
                  const Num ratio = v[hmax] / v[fpt];
                  return !ratio.ok() || !(std::fabs(ratio.value()) < 1);
              }},
             {"9c", cangle, {note, teeth}, "({note} × 360) / {not}",
              [](V v) { return (v[note] * 360) / v[teeth]; }},
             {"9d", cangle, {note, tangle}, "{tangle} × {note}",
              [](V v) { return v[tangle] * v[note]; }}},
            // From 90 degrees on the tooth has cut a whole feed per tooth; the sine would fall
            // again, and for a slot turn negative with pi = 22/7.
            {{"10a", hmax, {fpt, cangle}, "{fpt} × sin(({cangle} × π) / 180), or {fpt} when "
              "{cangle} ≥ 90",
              [](V v) {
                Num angle = v[cangle];
                if (angle.ok() && angle.value() >= 90)
                    return v[fpt];
                return v[fpt] * sine((angle * pi) / 180);
             }}},
            {{"11a", hmin, {doc, f, diam, note}, "({f} × {doc}) / ({note} × ({diam} × π))",
              [](V v) { return (v[f] * v[doc]) / (v[note] * (v[diam] * pi)); }},
             {"11b", hmin, {cf, spcf, cw}, "{cf} / ({cw} × {spcf})",
              [](V v) { return v[cf] / (v[cw] * v[spcf]); }}},
            {{"12a", ct, {fpt, cangle}, "{fpt} × sin((({cangle} / 2) × π) / 180)",
              [](V v) { return v[fpt] * sine(((v[cangle] / 2) * pi) / 180); }}},
            {{"13a", ca, {cw, ct}, "{ct} × {cw}", [](V v) { return v[ct] * v[cw]; }}},
            {{"14a", mrr, {cw, doc, fr}, "{fr} × ({doc} × {cw})",
              [](V v) { return v[fr] * (v[doc] * v[cw]); }},
             {"14b", mrr, {cw, hmin, cs, note}, "{note} × (({cs} × 1000) × ({min} × {cw}))",
              [](V v) { return v[note] * ((v[cs] * 1000) * (v[hmin] * v[cw])); }}},
            {{"15a", note, {cangle, tangle}, "round({cangle} / {tangle})",
              [](V v) { return roundHalfEven(v[cangle] / v[tangle]); }, nullptr, {}, nullptr,
              [](V v) { return v[cangle] / v[tangle]; }},
             {"15b", note, {cangle, teeth}, "round(({not} × {cangle}) / 360)",
              [](V v) { return roundHalfEven((v[teeth] * v[cangle]) / 360); }, nullptr, {},
              nullptr, [](V v) { return (v[teeth] * v[cangle]) / 360; }}},
            {{"16a", tangle, {teeth}, "360 / {not}", [](V v) { return 360 / v[teeth]; }},
             {"16b", tangle, {cangle, note}, "{cangle} / {note}",
              [](V v) { return v[cangle] / v[note]; }}},
            {{"17a", cf, {spcf, cw, hmin}, "{min} × ({cw} × {spcf})",
              [](V v) { return v[hmin] * (v[cw] * v[spcf]); }},
             {"17b", cf, {cp, cs, note}, "{cp} / (({cs} / 60) × {note})",
              [](V v) { return v[cp] / ((v[cs] / 60) * v[note]); }}},
            {{"18a", torq, {cf, note, diam}, "(({diam} / 2) × ({note} × {cf})) / 1000",
              [](V v) { return ((v[diam] / 2) * (v[note] * v[cf])) / 1000; }}},
            {{"19a", cp, {cf, cs, note}, "(({cs} / 60) × {cf}) × {note}",
              [](V v) { return ((v[cs] / 60) * v[cf]) * v[note]; }}},
            {{"20a", spcp, {cp, mrr}, "{cp} / {mrr}", [](V v) { return v[cp] / v[mrr]; }}},
            {{"21a", eff, {meff, eeff}, "{eeff} × {meff}", [](V v) { return v[eeff] * v[meff]; }},
             {"21b", eff, {cp, mp}, "{cp} / {mp}", [](V v) { return v[cp] / v[mp]; }}},
            {{"22a", eeff, {eff, meff}, "{eff} / {meff}", [](V v) { return v[eff] / v[meff]; }}},
            {{"23a", meff, {eeff, eff}, "{eff} / {eeff}", [](V v) { return v[eff] / v[eeff]; }}},
            {{"24a", mp, {eff, cp}, "{cp} / {eff}", [](V v) { return v[cp] / v[eff]; }}},
        },
        // The chip is as wide as the cutter, whatever was typed for it.
        .endOfPass = {{"25", cw, chw}},
        .passes = 50,
    };
    return list;
}
// clang-format on

} // namespace zorvik::milling
