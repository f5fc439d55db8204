// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/cuttingdata.h"

#include <cctype>
#include <string>

namespace zorvik::cuttingdata {

namespace {

// The note of a cell that stays empty because no source gives a figure for it.
constexpr const char *noFigure = "no public starting value found for this tool material/operation";

} // namespace

// Starting data for a first cut from public catalogue pages, handbook tables, machine manuals and
// calculator data files (listed with their figures in cuttingdata-sources.md, S01 to S30). Each
// range is the most conservative of its sources: the lowest upper bound any source gives, so a
// start never exceeds a source. An empty range: no public figure was found.
const std::vector<MaterialRow> &materialRows()
{
    // clang-format off
    static const std::vector<MaterialRow> rows{
        {1, 1, 'P', "Non-alloy steel C<0.25% annealed (low-carbon; e.g. C15/1018/S235)",
         {{{Process::turning, Tool::hss, {25, 37}, {0.08, 0.3}, "S13 S14 S15 S16 S29", ""},
          {Process::turning, Tool::carbide, {70, 180}, {0.05, 0.3}, "S11 S13 S14",
           "vendor coated-grade tables for mild steel go much higher (e.g. S11 250-510, S17 "
           "244-270)"},
          {Process::drilling, Tool::hss, {21, 30}, {0.008, 0.016}, "S01 S13 S15 S16 S20 S21 S22",
           "feed: Navy/Jet bands (S20,S21) as c = f/D; use the low end for harder steels"},
          {Process::drilling, Tool::carbide, {90, 120}, {0.008, 0.016}, "S01 S07 S20 S21",
           "point values only (S07 carbide drill table, S01)"},
          {Process::milling, Tool::hss, {25, 35}, {0.0016, 0.0023}, "S01 S02 S15 S16 S23", ""},
          {Process::milling, Tool::carbide, {80, 180}, {0.003, 0.005},
           "S01 S02 S03 S04 S05 S06 S28", ""}}}},
        {2, 5, 'P', "Non-alloy steel C>=0.25% annealed or Q+T up to 300 HB (e.g. C45/1045)",
         {{{Process::turning, Tool::hss, {18, 26}, {0.08, 0.3}, "S13 S14 S15 S16 S29", ""},
          {Process::turning, Tool::carbide, {70, 150}, {0.05, 0.3}, "S11 S12 S13 S14", ""},
          {Process::drilling, Tool::hss, {15, 23}, {0.008, 0.016}, "S13 S16 S20 S21 S22", ""},
          {Process::drilling, Tool::carbide, {70, 80}, {0.008, 0.016}, "S01 S07 S20 S21", ""},
          {Process::milling, Tool::hss, {17, 26}, {0.0016, 0.0023}, "S01 S02 S16 S23", ""},
          {Process::milling, Tool::carbide, {56, 180}, {0.003, 0.005}, "S01 S02 S03 S04 S05 S06",
           ""}}}},
        {6, 6, 'P', "Low-alloy steel annealed ~200 HB (e.g. 42CrMo4/4140 annealed)",
         {{{Process::turning, Tool::hss, {15, 18}, {0.08, 0.3}, "S14 S15 S16 S18 S27 S29", ""},
          {Process::turning, Tool::carbide, {85, 140}, {0.05, 0.3}, "S11 S12 S14", ""},
          {Process::drilling, Tool::hss, {12, 18}, {0.008, 0.016}, "S20 S21 S22", ""},
          {Process::drilling, Tool::carbide, {90, 90}, {0.008, 0.016}, "S07 S20 S21", ""},
          {Process::milling, Tool::hss, {15, 21}, {0.0016, 0.0023}, "S02 S18", ""},
          {Process::milling, Tool::carbide, {60, 140}, {0.003, 0.005}, "S02 S03 S04 S05 S06",
           ""}}}},
        {7, 9, 'P', "Low-alloy steel Q+T 275-350 HB",
         {{{Process::turning, Tool::hss, {9, 17}, {0.08, 0.3}, "S14 S15 S16 S18 S29", ""},
          {Process::turning, Tool::carbide, {50, 100}, {0.05, 0.3}, "S11 S12 S14",
           "only hardness-aware source is a grooving table (S12) - conservative"},
          {Process::drilling, Tool::hss, {6, 9}, {0.008, 0.008}, "S20 S21 S25",
           "300-400 HB rows of S21/S25"},
          {Process::drilling, Tool::carbide, {50, 70}, {0.008, 0.008}, "S07 S20",
           "point values only (S07)"},
          {Process::milling, Tool::hss, {9, 17}, {0.0016, 0.0019}, "S02 S18 S23", ""},
          {Process::milling, Tool::carbide, {56, 120}, {0.003, 0.005}, "S02 S03 S04 S05 S06",
           ""}}}},
        {10, 11, 'P', "High-alloy steel and tool steel 200-325 HB",
         {{{Process::turning, Tool::hss, {6, 12}, {0.08, 0.3}, "S14 S15 S18 S29",
           "single source (S18 cold-work/air-hardening rows)"},
          {Process::turning, Tool::carbide, {110, 110}, {0.05, 0.3}, "S11 S14 S17",
           "single source (S17, air-hardening tool steel, light cuts)"},
          {Process::drilling, Tool::hss, {6, 12}, {0.008, 0.008}, "S01 S19 S20 S21 S22 S26", ""},
          {Process::drilling, Tool::carbide, {30, 50}, {0.008, 0.008}, "S01 S07 S20", ""},
          {Process::milling, Tool::hss, {6, 12}, {0.0016, 0.0019}, "S01 S02 S18 S23", ""},
          {Process::milling, Tool::carbide, {45, 120}, {0.002, 0.005}, "S01 S02 S03 S04 S05 S06",
           ""}}}},
        {12, 13, 'P', "Ferritic/martensitic stainless steel",
         {{{Process::turning, Tool::hss, {6, 21}, {0.08, 0.3}, "S14 S15 S18 S24 S29", ""},
          {Process::turning, Tool::carbide, {50, 100}, {0.05, 0.3}, "S11 S12 S14 S24",
           "S24 is an older aerospace table; S12 is grooving"},
          {Process::drilling, Tool::hss, {9, 12}, {0.008, 0.008}, "S19 S20 S21", ""},
          {Process::drilling, Tool::carbide, {65, 70}, {0.008, 0.008}, "S01 S07 S20", ""},
          {Process::milling, Tool::hss, {10, 21}, {0.0016, 0.0019}, "S02 S18 S23", ""},
          {Process::milling, Tool::carbide, {60, 160}, {0.002, 0.0045}, "S02 S03 S04 S05", ""}}}},
        {14, 14, 'M', "Austenitic/duplex stainless steel (e.g. 304/316)",
         {{{Process::turning, Tool::hss, {6, 15}, {0.08, 0.3}, "S14 S15 S18 S24 S29", ""},
          {Process::turning, Tool::carbide, {80, 150}, {0.05, 0.4}, "S09 S24",
           "keep feed >= 0.1 mm/rev to stay under the work-hardened layer"},
          {Process::drilling, Tool::hss, {5, 12}, {0.008, 0.008}, "S01 S15 S20 S21 S22 S25",
           "cobalt HSS advised (S22); do not dwell - work hardening"},
          {Process::drilling, Tool::carbide, {20, 30}, {0.008, 0.008}, "S01 S07 S20", ""},
          {Process::milling, Tool::hss, {8, 15}, {0.0016, 0.0019}, "S01 S02 S15 S18 S23",
           "S02 gives no HSS chipload for group 14; its line B used for fz"},
          {Process::milling, Tool::carbide, {25, 100}, {0.002, 0.0045}, "S01 S02 S03 S04 S05 S06",
           "S01 (MH-derived) lists 25-37.5 for 304/316; vendor solid-carbide tables 60-160"}}}},
        {15, 16, 'K', "Grey cast iron",
         {{{Process::turning, Tool::hss, {15, 30}, {0.08, 0.3}, "S14 S15 S18 S29", ""},
          {Process::turning, Tool::carbide, {60, 130}, {0.05, 0.3}, "S08 S10 S14",
           "conservative: modern CVD-coated K grades are listed at 150-550 (S10, S08); S14 "
           "(60-130) caps the range"},
          {Process::drilling, Tool::hss, {15, 24}, {0.008, 0.016}, "S15 S19 S20 S21 S22", ""},
          {Process::drilling, Tool::carbide, {}, {}, "",
           noFigure},
          {Process::milling, Tool::hss, {15, 30}, {0.0016, 0.0019}, "S02 S15 S18 S23", ""},
          {Process::milling, Tool::carbide, {80, 200}, {0.003, 0.0059}, "S02 S03 S04 S05 S06",
           ""}}}},
        {17, 20, 'K', "Nodular (ductile) and malleable cast iron",
         {{{Process::turning, Tool::hss, {15, 27}, {0.08, 0.3}, "S14 S15 S18 S29",
           "single source (S18 malleable 160-280 HB rows); ferritic grades allow up to ~33"},
          {Process::turning, Tool::carbide, {60, 120}, {0.05, 0.3}, "S08 S09 S10 S14",
           "S09 figures are for small diameters (<16 mm); S08 lists 150-370 for coated grades"},
          {Process::drilling, Tool::hss, {15, 27}, {0.008, 0.016}, "S18 S19 S20 S21", ""},
          {Process::drilling, Tool::carbide, {}, {}, "",
           noFigure},
          {Process::milling, Tool::hss, {15, 27}, {0.0016, 0.0019}, "S02 S18", ""},
          {Process::milling, Tool::carbide, {56, 200}, {0.003, 0.0059}, "S02 S03 S04 S05 S06",
           ""}}}},
        {21, 22, 'N', "Wrought aluminium alloys",
         {{{Process::turning, Tool::hss, {43, 91}, {0.08, 0.3}, "S14 S15 S18 S29",
           "S14 (150-250) and S17 (152-183) allow much more; S18 caps"},
          {Process::turning, Tool::carbide, {200, 500}, {0.05, 0.3}, "S08 S14",
           "sources do not overlap; rule keeps the most conservative (S08 low-Si Al row incl. "
           "6061/7075)"},
          {Process::drilling, Tool::hss, {46, 61}, {0.008, 0.016}, "S01 S15 S20 S21 S22", ""},
          {Process::drilling, Tool::carbide, {310, 310}, {0.008, 0.016}, "S01 S20 S21",
           "single point (S01, MH-derived)"},
          {Process::milling, Tool::hss, {43, 91}, {0.0016, 0.0026}, "S01 S02 S15 S18 S23", ""},
          {Process::milling, Tool::carbide, {200, 700}, {0.0032, 0.0059}, "S01 S02 S05 S06",
           ""}}}},
        {23, 24, 'N', "Cast aluminium <=12% Si",
         {{{Process::turning, Tool::hss, {46, 76}, {0.08, 0.3}, "S14 S15 S18 S29", ""},
          {Process::turning, Tool::carbide, {200, 500}, {0.05, 0.3}, "S08 S14", ""},
          {Process::drilling, Tool::hss, {46, 61}, {0.008, 0.016}, "S01 S20 S21 S22", ""},
          {Process::drilling, Tool::carbide, {310, 310}, {0.008, 0.016}, "S01 S20 S21", ""},
          {Process::milling, Tool::hss, {46, 76}, {0.0016, 0.0023}, "S01 S02 S18", ""},
          {Process::milling, Tool::carbide, {200, 700}, {0.0032, 0.0059}, "S02 S05 S06", ""}}}},
        {25, 25, 'N', "Cast aluminium >12% Si",
         {{{Process::turning, Tool::hss, {}, {}, "",
           noFigure},
          {Process::turning, Tool::carbide, {120, 300}, {0.05, 0.3}, "S08 S14",
           "high-Si Al is abrasive; PCD or uncoated sharp K grades usual"},
          {Process::drilling, Tool::hss, {}, {}, "",
           noFigure},
          {Process::drilling, Tool::carbide, {}, {}, "",
           noFigure},
          {Process::milling, Tool::hss, {}, {}, "",
           noFigure},
          {Process::milling, Tool::carbide, {100, 300}, {0.0032, 0.0059}, "S02 S05 S06", ""}}}},
        {26, 27, 'N', "Brass / free-cutting copper alloys",
         {{{Process::turning, Tool::hss, {45, 91}, {0.08, 0.3}, "S14 S15 S17 S18 S29", ""},
          {Process::turning, Tool::carbide, {270, 390}, {0.05, 0.3}, "S08 S14 S17", ""},
          {Process::drilling, Tool::hss, {46, 61}, {0.008, 0.016}, "S01 S15 S20 S21 S22", ""},
          {Process::drilling, Tool::carbide, {350, 350}, {0.008, 0.016}, "S01 S20 S21", ""},
          {Process::milling, Tool::hss, {40, 91}, {0.0016, 0.0023}, "S01 S02 S15 S18 S23", ""},
          {Process::milling, Tool::carbide, {160, 300}, {}, "S01 S02",
           "point values only (S02, S01); no vendor range found"}}}},
        {28, 28, 'N', "Bronze and electrolytic copper",
         {{{Process::turning, Tool::hss, {46, 76}, {0.08, 0.3}, "S14 S15 S17 S18 S29", ""},
          {Process::turning, Tool::carbide, {220, 390}, {0.05, 0.3}, "S08 S14 S17", ""},
          {Process::drilling, Tool::hss, {21, 46}, {0.008, 0.016}, "S20 S21 S25", ""},
          {Process::drilling, Tool::carbide, {}, {}, "",
           noFigure},
          {Process::milling, Tool::hss, {30, 91}, {0.0016, 0.0026}, "S02 S18 S23", ""},
          {Process::milling, Tool::carbide, {160, 160}, {}, "S02", "single point value (S02)"}}}},
        {31, 32, 'S', "Fe-based heat-resistant alloys",
         {{{Process::turning, Tool::hss, {}, {}, "",
           noFigure},
          {Process::turning, Tool::carbide, {70, 100}, {0.03, 0.2}, "S08 S09",
           "single source (S08, coated S grade)"},
          {Process::drilling, Tool::hss, {}, {}, "",
           noFigure},
          {Process::drilling, Tool::carbide, {}, {}, "",
           noFigure},
          {Process::milling, Tool::hss, {}, {}, "",
           noFigure},
          {Process::milling, Tool::carbide, {20, 45}, {0.002, 0.004}, "S03 S04 S05", ""}}}},
        {33, 35, 'S', "Ni/Co-based heat-resistant alloys (e.g. Inconel; Monel)",
         {{{Process::turning, Tool::hss, {}, {}, "",
           noFigure},
          {Process::turning, Tool::carbide, {35, 61}, {0.03, 0.2}, "S08 S09",
           "single source (S08); Ni-based 35-61, Co-based 50-79"},
          {Process::drilling, Tool::hss, {9, 15}, {0.008, 0.008}, "S20 S21 S25",
           "Monel/high-nickel rows only; no HSS source for Inconel-type alloys"},
          {Process::drilling, Tool::carbide, {10, 18}, {0.008, 0.008}, "S20 S30",
           "single research study on Inconel 718, 5 mm coated/uncoated drills (0.05-0.1 mm/rev)"},
          {Process::milling, Tool::hss, {}, {}, "",
           noFigure},
          {Process::milling, Tool::carbide, {20, 35}, {0.002, 0.004}, "S04 S05 S06", ""}}}},
        {36, 37, 'S', "Titanium and titanium alloys",
         {{{Process::turning, Tool::hss, {}, {}, "",
           noFigure},
          {Process::turning, Tool::carbide, {30, 70}, {0.03, 0.2}, "S08 S09",
           "single source (S09, small diameters)"},
          {Process::drilling, Tool::hss, {6, 9}, {0.008, 0.008}, "S20 S22 S26",
           "S26 lists 30 (pure Ti), 12 (alpha-beta, HSS-Co), 7.6 (beta)"},
          {Process::drilling, Tool::carbide, {}, {}, "",
           noFigure},
          {Process::milling, Tool::hss, {15, 15}, {0.0016, 0.0016}, "S02 S23",
           "single point (S23 manual-mill chart)"},
          {Process::milling, Tool::carbide, {20, 70}, {0.002, 0.004}, "S04 S05 S06", ""}}}},
        {38, 38, 'H', "Hardened steel ~45-55 HRC",
         {{{Process::turning, Tool::hss, {}, {}, "",
           "no HSS value adopted (S02 lists none for groups 38-41)"},
          {Process::turning, Tool::carbide, {}, {}, "",
           noFigure},
          {Process::drilling, Tool::hss, {}, {}, "",
           "S25 lists 2-8 m/min (7-25 ft/min) for 45-55 HRC with HSS; not adopted; no HSS value"
           " adopted (S02 lists none for groups 38-41)"},
          {Process::drilling, Tool::carbide, {}, {}, "",
           noFigure},
          {Process::milling, Tool::hss, {}, {}, "",
           "no HSS value adopted (S02 lists none for groups 38-41)"},
          {Process::milling, Tool::carbide, {20, 80}, {0.001, 0.0036}, "S04 S05 S06",
           "hardened 40-55 HRC; S06 40-50 HRC row"}}}},
        {39, 41, 'H', "Hardened steel >55 HRC, chilled/hardened cast iron",
         {{{Process::turning, Tool::hss, {}, {}, "",
           "no HSS value adopted (S02 lists none for groups 38-41)"},
          {Process::turning, Tool::carbide, {}, {}, "",
           noFigure},
          {Process::drilling, Tool::hss, {}, {}, "",
           "no HSS value adopted (S02 lists none for groups 38-41)"},
          {Process::drilling, Tool::carbide, {}, {}, "",
           noFigure},
          {Process::milling, Tool::hss, {}, {}, "",
           "no HSS value adopted (S02 lists none for groups 38-41)"},
          {Process::milling, Tool::carbide, {}, {}, "",
           noFigure}}}},
    };
    // clang-format on
    return rows;
}

const MaterialRow *rowForGroup(int group)
{
    for (const MaterialRow &row : materialRows()) {
        if (group >= row.firstGroup && group <= row.lastGroup)
            return &row;
    }
    return nullptr;
}

const Entry *entryFor(const MaterialRow &row, Process process, Tool tool)
{
    for (const Entry &entry : row.entries) {
        if (entry.process == process && entry.tool == tool)
            return &entry;
    }
    return nullptr;
}

std::string_view processName(Process process)
{
    switch (process) {
    case Process::turning:
        return "turning";
    case Process::drilling:
        return "drilling";
    case Process::milling:
        return "milling";
    }
    return "";
}

std::string_view toolName(Tool tool)
{
    return tool == Tool::hss ? "HSS" : "carbide";
}

std::optional<Tool> toolNamed(std::string_view name)
{
    std::string lower;
    for (char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "hss")
        return Tool::hss;
    if (lower == "carbide")
        return Tool::carbide;
    return std::nullopt;
}

} // namespace zorvik::cuttingdata
