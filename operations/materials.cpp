// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/materials.h"

#include "solver/conversions.h"

#include <cmath>

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

std::string tableText()
{
    std::string text = "group\tiso\tmaterial\tcondition\thardness\tkc1\tmc\n";
    for (const MaterialGroup &group : materialGroups()) {
        text += std::to_string(group.number) + '\t' + group.isoClass + '\t';
        ((text += group.material) += '\t') += group.condition;
        ((text += '\t') += group.hardness) += '\t';
        text += (group.kc1 ? numberToText(*group.kc1) : std::string()) + '\t';
        text += (group.mc ? numberToText(*group.mc) : std::string()) + '\n';
    }
    return text;
}

} // namespace zorvik::materials
