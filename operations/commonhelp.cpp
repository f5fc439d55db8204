// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/commonhelp.h"

#include <algorithm>

namespace zorvik {

namespace {

const FieldHelpEntry common[] = {
    {"txtmrr", "mm³/min", "Metal removal rate Q: volume of chips cut per minute."},
    {"txtcp", "W", "Cutting power Pc at the tool: cutting force × cutting speed."},
    {"txtmp", "W",
     "Motor power the machine needs for the cut: cutting power / total "
     "efficiency."},
    {"txtmeff", "ratio", "Motor (mechanical) efficiency of the drive, 0.8 for 80 %."},
    {"txteeff", "ratio", "Electrical efficiency of the drive, 0.9 for 90 %."},
    {"txteff", "ratio",
     "Total efficiency of the drive: motor × electrical efficiency, 0.72 for "
     "72 %."},
    {"txtspcf", "N/mm²",
     "Specific cutting force kc: cutting force per mm² of chip area; it "
     "depends on the material and on the chip thickness."},
    {"txtspcp", "W·min/mm³",
     "Specific cutting power: cutting power per mm³/min of metal "
     "removal rate."},
};

} // namespace

std::vector<FieldHelpEntry> withCommonHelp(const RelationList &list,
                                           std::vector<FieldHelpEntry> own)
{
    for (const FieldHelpEntry &entry : common) {
        const bool described = std::any_of(
            own.begin(), own.end(), [&](const auto &mine) { return mine.field == entry.field; });
        if (!described && list.fieldId(entry.field) >= 0)
            own.push_back(entry);
    }
    return own;
}

} // namespace zorvik
