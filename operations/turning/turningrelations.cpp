#include "operations/turning/turningrelations.h"

#include "solver/numerics.h"

namespace zorvik::turning {

namespace {
using V = const Values &;
enum Aux { L }; // travel length: (len + inlet) + outlet
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
            {"L", [](V v) { return (v.lenient(len) + v.lenient(inlet)) + v.lenient(outlet); }},
        },
        .groups = {
            {{"1a", allowance, {idiam, fdiam}, [](V v) { return (v[idiam] - v[fdiam]) / 2; }},
             {"1b", allowance, {doc, noc}, [](V v) { return v[noc] * v[doc]; }}},
            {{"2a", idiam, {fdiam, allowance},
              [](V v) { return (v[allowance] + v[allowance]) + v[fdiam]; }},
             {"2b", idiam, {fdiam, doc, noc},
              [](V v) { return v[noc] * (v[doc] + v[doc]) + v[fdiam]; }},
             {"2c", idiam, {cspeed, rpm}, [](V v) { return (v[cspeed] * 1000) / (v[rpm] * pi); }}},
            {{"3a", fdiam, {idiam, allowance},
              [](V v) { return v[idiam] - (v[allowance] + v[allowance]); }},
             {"3b", fdiam, {idiam, noc, doc},
              [](V v) { return v[idiam] - v[noc] * (v[doc] + v[doc]); }}},
            {{"4a", doc, {idiam, fdiam, noc},
              [](V v) { return (v[idiam] - v[fdiam]) / (v[noc] + v[noc]); }},
             {"4b", doc, {allowance, noc}, [](V v) { return v[allowance] / v[noc]; }},
             {"4c", doc, {chip, feed}, [](V v) { return v[chip] / v[feed]; }}},
            {{"5a", noc, {idiam, fdiam, doc},
              [](V v) { return (v[idiam] - v[fdiam]) / (v[doc] + v[doc]); }},
             {"5b", noc, {allowance, doc}, [](V v) { return v[allowance] / v[doc]; }},
             {"5c", noc, {mtime, frate}, [](V v) { return (v[frate] * v[mtime]) / v.aux(L); }}},
            {{"6a", frate, {feed, rpm}, [](V v) { return v[rpm] * v[feed]; }},
             {"6b", frate, {noc, mtime}, [](V v) { return (v[noc] * v.aux(L)) / v[mtime]; }}},
            {{"7a", feed, {frate, rpm}, [](V v) { return v[frate] / v[rpm]; }},
             {"7b", feed, {chip, doc}, [](V v) { return v[chip] / v[doc]; }}},
            {{"8a", rpm, {frate, feed}, [](V v) { return v[frate] / v[feed]; }},
             {"8b", rpm, {cspeed, idiam},
              [](V v) { return (v[cspeed] * 1000) / (v[idiam] * pi); }}},
            {{"9a", mtime, {frate, noc}, [](V v) { return (v[noc] * v.aux(L)) / v[frate]; }}},
            {{"10a", cspeed, {idiam, rpm}, [](V v) { return (v[rpm] * (v[idiam] * pi)) / 1000; }},
             {"10b", cspeed, {mrr, chip}, [](V v) { return (v[mrr] / v[chip]) / 1000; }},
             {"10c", cspeed, {cp, cf}, [](V v) { return (v[cp] / v[cf]) * 60; }}},
            {{"11a", chip, {doc, feed}, [](V v) { return v[feed] * v[doc]; }},
             {"11b", chip, {mrr, cspeed}, [](V v) { return v[mrr] / (v[cspeed] * 1000); }},
             {"11c", chip, {spcf, cf}, [](V v) { return v[cf] / v[spcf]; }}},
            {{"12a", mrr, {chip, cspeed}, [](V v) { return (v[cspeed] * v[chip]) * 1000; }},
             {"12b", mrr, {spcp, cp}, [](V v) { return v[cp] / v[spcp]; }}},
            {{"13a", cf, {cp, cspeed}, [](V v) { return v[cp] / (v[cspeed] / 60); }},
             {"13b", cf, {spcf, chip}, [](V v) { return v[chip] * v[spcf]; }}},
            {{"14a", cp, {cf, cspeed}, [](V v) { return (v[cspeed] / 60) * v[cf]; }},
             {"14b", cp, {eff, mp}, [](V v) { return v[mp] * v[eff]; }},
             {"14c", cp, {spcp, mrr}, [](V v) { return v[mrr] * v[spcp]; }}},
            {{"15a", eff, {eeff, meff}, [](V v) { return v[meff] * v[eeff]; }},
             {"15b", eff, {cp, mp}, [](V v) { return v[cp] / v[mp]; }}},
            {{"16a", mp, {cp, eff}, [](V v) { return v[cp] / v[eff]; }}},
            {{"17a", meff, {eff, eeff}, [](V v) { return v[eff] / v[eeff]; }}},
            {{"18a", eeff, {eff, meff}, [](V v) { return v[eff] / v[meff]; }}},
            // The angle is converted first, so a malformed angle fails before feed or doc is read.
            {{"19a", ct, {angle},
              [](V v) { Num s = sine((pi / 180) * v[angle]); return v[feed] * s; }}},
            {{"20a", cw, {angle},
              [](V v) { Num s = sine((pi / 180) * v[angle]); return v[doc] / s; }}},
            {{"21a", spcf, {cf, chip}, [](V v) { return v[cf] / v[chip]; }}},
            {{"22a", spcp, {cp, mrr}, [](V v) { return v[cp] / v[mrr]; }}},
        },
        .passes = 24,
    };
    return list;
}
// clang-format on

} // namespace zorvik::turning
