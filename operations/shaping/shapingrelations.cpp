// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/shaping/shapingrelations.h"

#include "solver/numerics.h"

#include <cmath>

namespace zorvik::shaping {

// Rules 7, 12 and 21 read some fields leniently, as the calculator always has: a cycle time of
// "1.2.3" still adds up, and a cycle time that holds no number divides by zero.
// clang-format off
const RelationList &relations()
{
    static const RelationList list{
        .fields = {"txtit", "txtft", "txtl", "txtw", "txtwl", "txtww", "txtcs", "txtrs", "txtms",
                   "txtrpm", "txtf", "txtfr", "txtnoc", "txtdoc", "txtall", "txtarea", "txtmrr",
                   "txtctime", "txtrtime", "txttime", "txtmt", "txtnos", "txtcangle",
                   "txtrangle", "txtcf", "txtspcf", "txtcp", "txtspcp", "txtmp", "txtmeff",
                   "txteeff", "txteff"},
        .groups = {
            {{"1", fr, {f, rpm}, "{f} × {rpm}", [](V v) { return v[f] * v[rpm]; }}},
            {{"2", cs, {l, ctime}, "({l} / {ctime}) / 1000",
              [](V v) { return (v[l] / v[ctime]) / 1000; }},
             {"3", cs, {rpm, l, cangle}, "((({rpm} × {l}) × 360) / {cangle}) / 1000",
              [](V v) { return (((v[rpm] * v[l]) * 360) / v[cangle]) / 1000; }},
             {"4", cs, {mrr, area}, "({mrr} / {area}) / 1000",
              [](V v) { return (v[mrr] / v[area]) / 1000; }}},
            {{"5", rs, {l, rtime}, "({l} / {rtime}) / 1000",
              [](V v) { return (v[l] / v[rtime]) / 1000; }},
             {"6", rs, {rpm, l, rangle}, "((({rpm} × {l}) × 360) / {rangle}) / 1000",
              [](V v) { return (((v[rpm] * v[l]) * 360) / v[rangle]) / 1000; }}},
            {{"7", ms, {cs, rs}, "({rs} × (2 × {cs})) / (lenient({cs}) + lenient({rs}))",
              [](V v) { return (v[rs] * (2 * v[cs])) / (v.lenient(cs) + v.lenient(rs)); }}},
            {{"8", rpm, {cangle, cs, l}, "(({cangle} × {cs}) × 1000) / ({l} × 360)",
              [](V v) { return ((v[cangle] * v[cs]) * 1000) / (v[l] * 360); }},
             {"9", rpm, {cangle, ctime}, "{cangle} / ({ctime} × 360)",
              [](V v) { return v[cangle] / (v[ctime] * 360); }},
             {"10", rpm, {rangle, rs, l}, "(({rangle} × {rs}) × 1000) / ({l} × 360)",
              [](V v) { return ((v[rangle] * v[rs]) * 1000) / (v[l] * 360); }},
             {"11", rpm, {rangle, rtime}, "{rangle} / ({rtime} × 360)",
              [](V v) { return v[rangle] / (v[rtime] * 360); }},
             {.id = "12", .target = rpm, .guard = {cycleTime}, .text = "1 / lenient({time})",
              .formula = [](V v) { return 1 / v.lenient(cycleTime); }, .lenient = {cycleTime}}},
            {{"13", ctime, {cangle, rpm}, "({cangle} / 360) × (1 / {rpm})",
              [](V v) { return (v[cangle] / 360) * (1 / v[rpm]); }},
             {"14", ctime, {cycleTime, rtime}, "{time} − {rtime}",
              [](V v) { return v[cycleTime] - v[rtime]; }},
             {"15", ctime, {l, cs}, "{l} / ({cs} × 1000)",
              [](V v) { return v[l] / (v[cs] * 1000); }},
             {"16", ctime, {rtime, cangle, rangle}, "({rtime} × {cangle}) / {rangle}",
              [](V v) { return (v[rtime] * v[cangle]) / v[rangle]; }}},
            {{"17", rtime, {rangle, rpm}, "({rangle} / 360) × (1 / {rpm})",
              [](V v) { return (v[rangle] / 360) * (1 / v[rpm]); }},
             {"18", rtime, {cycleTime, ctime}, "{time} − {ctime}",
              [](V v) { return v[cycleTime] - v[ctime]; }},
             {"19", rtime, {l, rs}, "{l} / ({rs} × 1000)",
              [](V v) { return v[l] / (v[rs] * 1000); }},
             {"20", rtime, {rangle, ctime, cangle}, "({rangle} × {ctime}) / {cangle}",
              [](V v) { return (v[rangle] * v[ctime]) / v[cangle]; }}},
            {{.id = "21", .target = cycleTime, .guard = {rtime, ctime},
              .text = "lenient({rtime}) + lenient({ctime})",
              .formula = [](V v) { return v.lenient(rtime) + v.lenient(ctime); },
              .lenient = {rtime, ctime}},
             {"22", cycleTime, {rpm}, "1 / {rpm}", [](V v) { return 1 / v[rpm]; }}},
            {{"23", mrr, {cs, area}, "({cs} × {area}) × 1000",
              [](V v) { return (v[cs] * v[area]) * 1000; }},
             {"24", mrr, {cs, doc, f}, "({cs} × ({doc} × {f})) × 1000",
              [](V v) { return (v[cs] * (v[doc] * v[f])) * 1000; }}},
            {{"25", noc, {it, ft, doc}, "trunc(({it} − {ft}) / {doc})",
              [](V v) {
                  const Num ratio = (v[it] - v[ft]) / v[doc];
                  return truncateCount(ratio, ratio.ok() ? (std::fabs(v[it].value()) +
                                                            std::fabs(v[ft].value())) /
                                                               std::fabs(v[doc].value())
                                                         : 0);
              },
              nullptr, {}, nullptr, [](V v) { return (v[it] - v[ft]) / v[doc]; }}},
            {{"26", mt, {noc, ww, wl, f, ms},
              "({noc} × ({ww} × (2 × {wl}))) / (({f} × {ms}) × 1000)",
              [](V v) { return (v[noc] * (v[ww] * (2 * v[wl]))) / ((v[f] * v[ms]) * 1000); }}},
            {{"27", cp, {cf, ms}, "({ms} / 60) × {cf}", [](V v) { return (v[ms] / 60) * v[cf]; }}},
            {{"28", cf, {cp, ms}, "{cp} / ({ms} / 60)", [](V v) { return v[cp] / (v[ms] / 60); }}},
            {{"29", mp, {cp, eff}, "{cp} / {eff}", [](V v) { return v[cp] / v[eff]; }}},
            {{"30", eff, {meff, eeff}, "{meff} × {eeff}", [](V v) { return v[meff] * v[eeff]; }},
             {"31", eff, {cp, mp}, "{cp} / {mp}", [](V v) { return v[cp] / v[mp]; }}},
            {{"32", meff, {eff, eeff}, "{eff} / {eeff}", [](V v) { return v[eff] / v[eeff]; }},
             {"33", meff, {cp, eeff, mp}, "{cp} / ({eeff} × {mp})",
              [](V v) { return v[cp] / (v[eeff] * v[mp]); }}},
            {{"34", eeff, {eff, meff}, "{eff} / {meff}", [](V v) { return v[eff] / v[meff]; }},
             {"35", eeff, {cp, meff, mp}, "{cp} / ({meff} × {mp})",
              [](V v) { return v[cp] / (v[meff] * v[mp]); }}},
            {{"36", doc, {it, ft, noc}, "({it} − {ft}) / {noc}",
              [](V v) { return (v[it] - v[ft]) / v[noc]; }}},
            {{"37", nos, {ww, f}, "{ww} / {f}", [](V v) { return v[ww] / v[f]; }}},
            {{"38", cangle, {rpm, ctime}, "({rpm} × {ctime}) × 360",
              [](V v) { return (v[rpm] * v[ctime]) * 360; }},
             {"39", cangle, {rpm, l, cs}, "({rpm} × ({l} × 360)) / ({cs} × 1000)",
              [](V v) { return (v[rpm] * (v[l] * 360)) / (v[cs] * 1000); }},
             {"40", cangle, {rangle}, "360 − {rangle}", [](V v) { return 360 - v[rangle]; }},
             {"41", cangle, {ctime, rangle, rtime}, "({ctime} × {rangle}) / {rtime}",
              [](V v) { return (v[ctime] * v[rangle]) / v[rtime]; }}},
            {{"42", rangle, {rpm, rtime}, "({rpm} × {rtime}) × 360",
              [](V v) { return (v[rpm] * v[rtime]) * 360; }},
             {"43", rangle, {rpm, l, rs}, "({rpm} × ({l} × 360)) / ({rs} × 1000)",
              [](V v) { return (v[rpm] * (v[l] * 360)) / (v[rs] * 1000); }},
             {"44", rangle, {cangle}, "360 − {cangle}", [](V v) { return 360 - v[cangle]; }},
             {"45", rangle, {rtime, cangle, ctime}, "({rtime} × {cangle}) / {ctime}",
              [](V v) { return (v[rtime] * v[cangle]) / v[ctime]; }}},
            {{"46", area, {mrr, cs}, "{mrr} / ({cs} × 1000)",
              [](V v) { return v[mrr] / (v[cs] * 1000); }}},
            {{"47", spcp, {cp, mrr}, "{cp} / {mrr}", [](V v) { return v[cp] / v[mrr]; }}},
            {{"48", spcf, {cf, area}, "{cf} / {area}", [](V v) { return v[cf] / v[area]; }}},
            {{"49", all, {it, ft}, "{it} − {ft}", [](V v) { return v[it] - v[ft]; }}},
        },
        .passes = 24,
    };
    return list;
}
// clang-format on

} // namespace zorvik::shaping
