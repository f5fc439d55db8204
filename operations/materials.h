// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/checkednumber.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvik::materials {

// One work-material group with the Kienzle constants of its specific cutting force.
struct MaterialGroup {
    int number;
    char isoClass; // P, M, K, N, S or H
    std::string_view material;
    std::string_view condition; // "" where the group names none
    std::string_view hardness;  // "" where none is published
    std::optional<double> kc1;  // N/mm² at a chip thickness of 1 mm; none: no constants
    std::optional<double> mc;   // the chip-thickness exponent; none: kc does not follow h

    // A group without constants is listed, but gives no cutting force.
    bool choosable() const { return kc1.has_value(); }
};

// The 41 groups, by number.
const std::vector<MaterialGroup> &materialGroups();
const MaterialGroup *findMaterialGroup(int number);

// "non-alloy steel, …, annealed": the material and its condition, as a sentence names them.
std::string groupName(const MaterialGroup &group);

// What the ISO class stands for: "P" is "steel".
std::string_view isoClassName(char isoClass);

// kc = kc1 × h^−mc for a chip thickness h in mm; kc1 itself for a group without mc. Fails
// (DivisionByZero for h = 0, NotANumber otherwise) when h is not above 0 or the group has no
// constants.
Num specificCuttingForce(const MaterialGroup &group, double thickness);

// The same with its numbers put in, for explanations: "kc = kc1 × h^−mc = 1500 × 0.25^−0.22 =
// 2034.9…", or for a group without mc, that kc is kc1 and why. Empty when kc fails.
std::string specificCuttingForceText(const MaterialGroup &group, double thickness);

// "From material group 2 (non-alloy steel, …, annealed): kc = …".
std::string fromGroupText(const MaterialGroup &group, double thickness);

// The common designations of a group's typical materials (EN names and numbers, AISI/UNS,
// older DIN names): "C45", "1045", "1.0503" for group 2. Empty for groups 29 and 30.
const std::vector<std::string_view> &designations(int group);

// The group a text names: a group number from 1 to 41, or a designation, matched without regard
// to case, spaces, "-" and "+" ("x5crni18 10" is X5CrNi18-10); failing an exact match, the
// designations it begins. error says why none.
struct GroupNameError {
    std::string text; // as given
    // Designations of several groups begin with it; else none does.
    bool ambiguous = false;
    // Those designations, or where none does those that begin as it does; with their groups.
    std::vector<std::pair<std::string_view, int>> candidates;
};
struct NamedGroup {
    const MaterialGroup *group = nullptr;
    std::optional<GroupNameError> error{};
};
NamedGroup groupNamed(std::string_view text);

// The designation of the group that text names, as the table spells it: the one it matches as
// groupNamed matches, failing that the only one of the group's it begins ("C45" in group 3 is
// C45+QT); "" for none.
std::string_view designationNamed(const MaterialGroup &group, std::string_view text);

// One line per group, tab-separated under a header, for the command line.
std::string tableText();

} // namespace zorvik::materials
