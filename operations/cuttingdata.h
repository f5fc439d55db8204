// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace zorvik::cuttingdata {

enum class Process { turning, drilling, milling };
enum class Tool { hss, carbide };

// A range the sources give; high is 0 where they give none.
struct Range {
    double low = 0;
    double high = 0;
    bool known() const { return high > 0; }
};

// What the sources give one material row for one process and tool material.
struct Entry {
    Process process;
    Tool tool;
    Range speed; // cutting speed, m/min
    // Turning: the feed f in mm/rev. Drilling and milling: the factor c of f = c × D (mm/rev per
    // mm of drill diameter) and of fz = c × D (mm/tooth per mm of cutter diameter).
    Range feed;
    std::string_view sources; // "S11 S12 S13"
    std::string_view note;    // "" where the sources need none
};

// A row of work-material groups that the sources treat alike, with its six entries.
struct MaterialRow {
    int firstGroup;
    int lastGroup;
    char isoClass;
    std::string_view material; // as the table names it
    std::array<Entry, 6> entries;
};

// The 19 rows; groups 29 and 30 (non-metallic) are in none.
const std::vector<MaterialRow> &materialRows();

const MaterialRow *rowForGroup(int group);
const Entry *entryFor(const MaterialRow &row, Process process, Tool tool);

// "turning"; "HSS", "carbide".
std::string_view processName(Process process);
std::string_view toolName(Tool tool);
// "hss" or "carbide", any case; none for anything else.
std::optional<Tool> toolNamed(std::string_view name);

// Milling feeds are given for solid cutters up to this diameter (mm); a larger cutter takes the
// feed at this diameter.
constexpr double largestSolidCutter = 20;

} // namespace zorvik::cuttingdata
