// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "job/filewrite.h"
#include "job/jobformat.h"
#include "operations/machine.h"
#include "operations/materials.h"
#include "solver/consistency.h"
#include "solver/filebytes.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// What is wrong with a file that was not read, to follow its name: "is a directory". holds
// names what the file holds ("a job") for one larger than that can be.
std::string wording(const FileError &error, std::string_view holds);

// "No space left on device", as the system words its error; "held elsewhere" for a lock.
std::string wording(const job::FileWriteError &error);

// "'C4' could be C45 (group 2), …: give the whole designation or the group number"
std::string wording(const materials::GroupNameError &error);

// "power wants a number above 0 in W, with a point as the decimal point; '7,5' is not"
std::string wording(const MachineKeyError &error);
// "the lowest spindle speed, 50 rev/min, is above the highest, 40 rev/min"
std::string wording(const MachineProblem &problem);
// "machine file '/x/lathe', line 2: …"; without the file for a text read as it is.
std::string wording(const MachineReadError &error);

// "needs 7360 W (7.36 kW); Lathe 2 gives 5500 W (5.5 kW) at 1591 rev/min (at most feed
// 0.17 mm/rev, or …)": the fields named by their captions, every figure a reading with the unit
// of its field.
std::string wording(const Exceedance &verdict, const OperationDefinition &operation,
                    const Captions &captions);

// One disagreement in the window's captions, units by field id ("" for none): "Spindle Speed
// 954.5 disagrees with Cutting Speed 250 and Initial Diameter 52.5, which give 1515.15 rev/min
// (+59 %): one of them is out of date or mistyped." The texts are the page's, as they stand.
std::string wording(const Disagreement &disagreement, const FieldStore &page,
                    const Captions &captions, const std::vector<std::string_view> &units);
// "'bracket.zorvik': window 1 (turning), page 0, txtcs: \"from\" is 'x', not one of …"
std::string wording(const job::JobError &error);

} // namespace zorvik
