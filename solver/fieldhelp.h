// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/explain.h"
#include "solver/relationlist.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// What a field is, kept with its list as one table line per field:
// {"txtrpm", "rev/min", "Spindle speed: turns of the work-piece per minute."}.
struct FieldHelpEntry {
    std::string_view field; // its name in the list
    std::string_view unit;  // as help texts write it: "mm", "rev/min", "N·m", "ratio", "count"
    std::string_view description; // a sentence or two in the words machinists use
};

// The entries of a table by field id. Throws std::logic_error naming the field when a field of
// the list has no entry or two, or an entry names a field the list does not have: a table with a
// hole would leave a field without help where nobody looks.
std::vector<FieldHelpEntry> helpByField(const RelationList &list,
                                        const std::vector<FieldHelpEntry> &table);

// A field's help before any solve: what it is, its unit, and the results it leads to (the
// targets of the rules that read it), in the window's captions.
std::string fieldHelpText(const RelationList &list, const Captions &captions,
                          const std::vector<FieldHelpEntry> &help, FieldId field);

// A number as every text meant for reading shows it (explanations, the job sheet, machine
// verdicts): four significant digits, halves away from zero ("30 630" for 30 625), without
// trailing zeros, the whole part grouped by threes with spaces from 10 000 on ("954.5",
// "10 620", "0.03333"); below 0.0001 or from 10^15 on, as numberToText writes it. The decimal
// separator is always ".", whatever the locale.
std::string readingNumber(double value);

// The same with the field's unit as the help table gives it ("954.5 rev/min", "10 620 W"); a
// time in minutes also as minutes and whole seconds ("0.5448 min (0:33 min:s)"), a power from
// 1000 W on also in kilowatts ("10 620 W (10.62 kW)"). A ratio or a count takes no unit.
std::string readingText(double value, std::string_view unit);

} // namespace zorvik
