// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/materials.h"

#include "solver/conversions.h"
#include "solver/texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

namespace zorvik::materials {

// The work-material groups of ISO 513 and VDI 3323 with kc1 and mc as tool makers' catalogues
// publish them. Groups 29 and 30 have no constants; the hardened group H has kc1 without mc.
const std::vector<MaterialGroup> &materialGroups()
{
    static const std::vector<MaterialGroup> groups{
        {1, 'P', "Non-alloy steel, cast steel, free-cutting steel, < 0.25 % C", "annealed",
         "125 HB", 1350, 0.21},
        {2, 'P', "Non-alloy steel, cast steel, free-cutting steel, ≥ 0.25 % C", "annealed",
         "190 HB", 1500, 0.22},
        {3, 'P', "Non-alloy steel, cast steel, free-cutting steel, < 0.55 % C",
         "quenched and tempered", "250 HB", 1675, 0.24},
        {4, 'P', "Non-alloy steel, cast steel, free-cutting steel, ≥ 0.55 % C", "annealed",
         "220 HB", 1700, 0.24},
        {5, 'P', "Non-alloy steel, cast steel, free-cutting steel, ≥ 0.55 % C",
         "quenched and tempered", "300 HB", 1900, 0.24},
        {6, 'P', "Low-alloy steel and cast steel (under 5 % alloying elements)", "annealed",
         "200 HB", 1775, 0.24},
        {7, 'P', "Low-alloy steel and cast steel (under 5 % alloying elements)",
         "quenched and tempered", "275 HB", 1675, 0.24},
        {8, 'P', "Low-alloy steel and cast steel (under 5 % alloying elements)",
         "quenched and tempered", "300 HB", 1725, 0.24},
        {9, 'P', "Low-alloy steel and cast steel (under 5 % alloying elements)",
         "quenched and tempered", "350 HB", 1800, 0.24},
        {10, 'P', "High-alloy steel, cast steel and tool steel", "annealed", "200 HB", 2450, 0.23},
        {11, 'P', "High-alloy steel, cast steel and tool steel", "quenched and tempered", "325 HB",
         2500, 0.23},
        {12, 'P', "Stainless steel and cast steel", "ferritic/martensitic", "200 HB", 1875, 0.21},
        {13, 'P', "Stainless steel and cast steel", "martensitic", "240 HB", 1875, 0.21},
        {14, 'M', "Stainless steel and cast steel", "austenitic/duplex", "180 HB", 2150, 0.20},
        {15, 'K', "Grey cast iron", "pearlitic/ferritic", "180 HB", 1150, 0.20},
        {16, 'K', "Grey cast iron", "pearlitic/martensitic", "260 HB", 1350, 0.28},
        {17, 'K', "Nodular (ductile) cast iron", "ferritic", "160 HB", 1225, 0.25},
        {18, 'K', "Nodular (ductile) cast iron", "pearlitic", "250 HB", 1350, 0.28},
        {19, 'K', "Malleable cast iron", "ferritic", "130 HB", 1225, 0.25},
        {20, 'K', "Malleable cast iron", "pearlitic", "230 HB", 1420, 0.30},
        {21, 'N', "Aluminium wrought alloys", "not hardenable", "60 HB", 700, 0.25},
        {22, 'N', "Aluminium wrought alloys", "hardened", "100 HB", 800, 0.25},
        {23, 'N', "Aluminium cast alloys, ≤ 12 % Si", "not hardenable", "75 HB", 700, 0.25},
        {24, 'N', "Aluminium cast alloys, ≤ 12 % Si", "hardened", "90 HB", 700, 0.25},
        {25, 'N', "Aluminium cast alloys, > 12 % Si", "high temperature", "130 HB", 750, 0.25},
        {26, 'N', "Copper alloys, > 1 % Pb", "free cutting", "110 HB", 700, 0.27},
        {27, 'N', "Copper alloys", "brass", "90 HB", 700, 0.27},
        {28, 'N', "Copper alloys", "electrolytic copper", "100 HB", 700, 0.27},
        {29, 'N', "Non-metallic: duroplastics, fibre plastics", "", "", {}, {}},
        {30, 'N', "Non-metallic: hard rubber", "", "", {}, {}},
        {31, 'S', "High-temperature alloys, Fe based", "annealed", "200 HB", 2600, 0.24},
        {32, 'S', "High-temperature alloys, Fe based", "hardened", "280 HB", 3100, 0.24},
        {33, 'S', "High-temperature alloys, Ni or Co based", "annealed", "250 HB", 3300, 0.24},
        {34, 'S', "High-temperature alloys, Ni or Co based", "hardened", "350 HB", 3300, 0.24},
        {35, 'S', "High-temperature alloys, Ni or Co based", "cast", "320 HB", 3300, 0.24},
        {36, 'S', "Titanium, pure", "", "", 1160, 0.24},
        {37, 'S', "Titanium alloys, alpha+beta", "hardened", "", 1245, 0.24},
        {38, 'H', "Hardened steel", "hardened", "55 HRC", 4600, {}},
        {39, 'H', "Hardened steel", "hardened", "60 HRC", 4700, {}},
        {40, 'H', "Chilled cast iron", "cast", "400 HB", 4600, {}},
        {41, 'H', "Cast iron", "hardened", "55 HRC", 4500, {}},
    };
    return groups;
}

const MaterialGroup *findMaterialGroup(int number)
{
    for (const MaterialGroup &group : materialGroups()) {
        if (group.number == number)
            return &group;
    }
    return nullptr;
}

std::string groupName(const MaterialGroup &group)
{
    std::string name(group.material);
    if (!name.empty() && name.front() >= 'A' && name.front() <= 'Z')
        name.front() = static_cast<char>(name.front() - 'A' + 'a');
    if (!group.condition.empty())
        (name += ", ") += group.condition;
    return name;
}

std::string_view isoClassName(char isoClass)
{
    switch (isoClass) {
    case 'P':
        return "steel";
    case 'M':
        return "stainless steel";
    case 'K':
        return "cast iron";
    case 'N':
        return "non-ferrous metals";
    case 'S':
        return "heat-resistant alloys and titanium";
    case 'H':
        return "hardened materials";
    }
    return "";
}

Num specificCuttingForce(const MaterialGroup &group, double thickness)
{
    if (!group.kc1 || std::isnan(thickness) || thickness < 0)
        return Num::failure(NotANumber);
    if (thickness == 0)
        return Num::failure(DivisionByZero);
    if (!group.mc)
        return Num(*group.kc1);
    return Num(*group.kc1) * Num(std::pow(thickness, -*group.mc));
}

std::string specificCuttingForceText(const MaterialGroup &group, double thickness)
{
    const Num kc = specificCuttingForce(group, thickness);
    if (!kc.ok())
        return {};
    const std::string result = numberToText(kc.value());
    if (!group.mc)
        return "kc = kc1 = " + result +
               " (no chip-thickness exponent mc is published for this group: kc is taken "
               "the same for every chip thickness)";
    return "kc = kc1 × h^−mc = " + numberToText(*group.kc1) + " × " + numberToText(thickness) +
           "^−" + numberToText(*group.mc) + " = " + result;
}

std::string fromGroupText(const MaterialGroup &group, double thickness)
{
    return "From material group " + std::to_string(group.number) + " (" + groupName(group) +
           "): " + specificCuttingForceText(group, thickness);
}

const std::vector<std::string_view> &designations(int group)
{
    // EN names and numbers first, then AISI/UNS and older DIN names; "+QT" quenched and tempered,
    // "+AT" solution annealed and aged, "+H" hardened, where the plain name is the annealed state.
    // clang-format off
    static const std::vector<std::pair<int, std::vector<std::string_view>>> table{
        {1, {"C15", "1015", "1018", "1020", "C22", "1.0402", "S235JR", "1.0038", "St37", "11SMn30",
             "1.0715", "12L14", "1215"}},
        {2, {"C45", "1045", "1.0503", "C35", "1035", "1.0501", "Ck45", "1.1191", "S355J2",
             "1.0577", "St52"}},
        {3, {"C45+QT", "1045+QT", "1.0503+QT", "C35+QT", "C40+QT"}},
        {4, {"C60", "1060", "1.0601", "C55", "1055", "1.0535", "C70", "1070"}},
        {5, {"C60+QT", "1060+QT", "C55+QT", "1055+QT"}},
        {6, {"42CrMo4", "4140", "1.7225", "41Cr4", "5140", "1.7035", "16MnCr5", "5115", "1.7131",
             "20MnCr5", "1.7147", "34CrNiMo6", "4340", "1.6582", "100Cr6", "52100", "1.3505"}},
        {7, {"42CrMo4+QT", "4140+QT", "1.7225+QT", "41Cr4+QT", "5140+QT"}},
        {8, {"34CrNiMo6+QT", "4340+QT", "1.6582+QT"}},
        {9, {"30CrNiMo8+QT", "1.6580+QT", "36CrNiMo4+QT", "1.6511+QT"}},
        {10, {"X153CrMoV12", "1.2379", "D2", "X210Cr12", "1.2080", "D3", "X40CrMoV5-1", "1.2344",
              "H13", "HS6-5-2", "1.3343", "M2"}},
        {11, {"X153CrMoV12+QT", "1.2379+QT", "X40CrMoV5-1+QT", "1.2344+QT", "H13+QT"}},
        {12, {"X6Cr17", "430", "1.4016", "X12Cr13", "410", "1.4006", "X20Cr13", "420", "1.4021"}},
        {13, {"X46Cr13", "1.4034", "X17CrNi16-2", "431", "1.4057", "X105CrMo17", "440C",
              "1.4125"}},
        {14, {"X5CrNi18-10", "304", "1.4301", "X2CrNi18-9", "304L", "1.4307", "X5CrNiMo17-12-2",
              "316", "1.4401", "X2CrNiMo17-12-2", "316L", "1.4404", "X8CrNiS18-9", "303", "1.4305",
              "X6CrNiTi18-10", "321", "1.4541", "X2CrNiMoN22-5-3", "2205", "1.4462"}},
        {15, {"EN-GJL-250", "GG25", "0.6025", "EN-GJL-200", "GG20", "0.6020", "EN-GJL-150",
              "GG15"}},
        {16, {"EN-GJL-300", "GG30", "0.6030", "EN-GJL-350", "GG35", "0.6035"}},
        {17, {"EN-GJS-400-15", "GGG40", "0.7040", "EN-GJS-400-18", "60-40-18"}},
        {18, {"EN-GJS-600-3", "GGG60", "0.7060", "EN-GJS-700-2", "GGG70", "0.7070", "80-55-06"}},
        {19, {"EN-GJMW-350-4", "GTW-35", "EN-GJMB-350-10", "GTS-35"}},
        {20, {"EN-GJMB-550-4", "GTS-55", "EN-GJMB-650-2", "GTS-65"}},
        {21, {"1050A", "Al99.5", "3003", "AlMn1Cu", "5083", "AlMg4.5Mn", "5754", "AlMg3"}},
        {22, {"6061", "AlMgSi1", "6082", "AlSi1MgMn", "6060", "AlMgSi0.5", "7075", "AlZnMgCu1.5",
              "2024", "AlCuMg2"}},
        {23, {"AlSi12", "EN-AC-44200", "AlSi9Cu3", "EN-AC-46000", "A380"}},
        {24, {"AlSi7Mg0.3", "EN-AC-42100", "A356", "AlSi10Mg", "EN-AC-43000"}},
        {25, {"AlSi17Cu4Mg", "A390"}},
        {26, {"CuZn39Pb3", "CW614N", "2.0401", "C38500", "CuZn40Pb2", "CW617N", "CuZn36Pb3",
              "CW603N", "C36000"}},
        {27, {"CuZn37", "CW508L", "2.0321", "C27200", "CuZn30", "CW505L", "C26000"}},
        {28, {"Cu-ETP", "CW004A", "2.0060", "C11000", "CuSn8", "CW453K", "C52100"}},
        {31, {"X6NiCrTiMoVB25-15-2", "1.4980", "A-286", "X10NiCrAlTi32-21", "1.4876"}},
        {32, {"X6NiCrTiMoVB25-15-2+AT", "1.4980+AT", "A-286+AT"}},
        {33, {"NiCr15Fe", "2.4816", "Alloy600", "NiCu30Fe", "2.4360", "Monel400"}},
        {34, {"NiCr19Fe19Nb5Mo3", "2.4668", "Alloy718", "Inconel718", "NiCr20TiAl", "2.4952"}},
        {35, {"G-NiCr13Al6MoNb", "2.4670", "Alloy713C", "CoCr28W", "Stellite6"}},
        {36, {"Ti99.2", "3.7035", "Grade2", "Ti99.6", "3.7065", "Grade4"}},
        {37, {"Ti6Al4V", "3.7165", "Grade5", "TiAl6V4"}},
        {38, {"X40CrMoV5-1+H", "1.2344+H", "H13+H", "42CrMo4+H"}},
        {39, {"100Cr6+H", "52100+H", "X153CrMoV12+H", "1.2379+H", "D2+H", "HS6-5-2+H", "M2+H"}},
        {40, {"EN-GJN-HV350", "EN-GJN-HV550", "NiHard"}},
        {41, {"EN-GJL-250+H", "GG25+H", "EN-GJS-600-3+H"}},
    };
    // clang-format on
    static const std::vector<std::string_view> none;
    for (const auto &[number, names] : table) {
        if (number == group)
            return names;
    }
    return none;
}

namespace {

std::string matchKey(std::string_view text)
{
    std::string key;
    for (char c : text) {
        if (c == ' ' || c == '-' || c == '+')
            continue;
        key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

} // namespace

NamedGroup groupNamed(std::string_view text)
{
    int number = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
    // A whole number is a group or a whole designation such as 1045, never the start of one.
    const bool wholeNumber = fault == std::errc() && end == text.data() + text.size();
    if (wholeNumber) {
        if (const MaterialGroup *group = findMaterialGroup(number))
            return {group, {}};
    }
    const std::string key = matchKey(text);
    std::vector<std::pair<std::string_view, int>> starting, near;
    for (const MaterialGroup &group : materialGroups()) {
        for (std::string_view name : designations(group.number)) {
            const std::string nameKey = matchKey(name);
            if (!key.empty() && nameKey == key)
                return {&group, {}};
            if (!key.empty() && !wholeNumber && nameKey.starts_with(key))
                starting.emplace_back(name, group.number);
            else if (key.size() >= 2 && nameKey.starts_with(key.substr(0, 2)))
                near.emplace_back(name, group.number);
        }
    }
    const bool oneGroup =
        !starting.empty() && std::all_of(starting.begin(), starting.end(), [&](const auto &c) {
            return c.second == starting.front().second;
        });
    if (oneGroup)
        return {findMaterialGroup(starting.front().second), {}};
    if (!starting.empty())
        return {nullptr, GroupNameError{std::string(text), true, std::move(starting)}};
    return {nullptr, GroupNameError{std::string(text), false, std::move(near)}};
}

std::string_view designationNamed(const MaterialGroup &group, std::string_view text)
{
    const std::string key = matchKey(text);
    if (key.empty())
        return {};
    // As in groupNamed, a whole number is never the start of a designation.
    const bool wholeNumber =
        std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
    std::vector<std::string_view> starting;
    for (std::string_view name : designations(group.number)) {
        const std::string nameKey = matchKey(name);
        if (nameKey == key)
            return name;
        if (!wholeNumber && nameKey.starts_with(key))
            starting.push_back(name);
    }
    return starting.size() == 1 ? starting.front() : std::string_view();
}

std::string tableText()
{
    std::string text = "group\tiso\tmaterial\tcondition\thardness\tkc1\tmc\tdesignations\n";
    for (const MaterialGroup &group : materialGroups()) {
        text += std::to_string(group.number) + '\t' + group.isoClass + '\t';
        ((text += group.material) += '\t') += group.condition;
        ((text += '\t') += group.hardness) += '\t';
        text += (group.kc1 ? numberToText(*group.kc1) : std::string()) + '\t';
        text += (group.mc ? numberToText(*group.mc) : std::string()) + '\t';
        const std::vector<std::string_view> &names = designations(group.number);
        text += joined(names) + '\n';
    }
    return text;
}

} // namespace zorvik::materials
