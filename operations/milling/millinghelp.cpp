// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/milling/millinghelp.h"

#include "operations/commonhelp.h"
#include "operations/milling/millingrelations.h"

namespace zorvik::milling {

const std::vector<FieldHelpEntry> &fieldHelp()
{
    static const std::vector<FieldHelpEntry> table = withCommonHelp(
        relations(),
        {
            {"txtdiam", "mm", "Cutter diameter D."},
            {"txtcw", "mm",
             "Cutter width: the axial depth of cut ap, the width of the cut along the "
             "cutter axis."},
            {"txtih", "mm", "Height of the work-piece before milling."},
            {"txtfh", "mm", "Height of the work-piece after the last cut."},
            {"txtww", "mm", "Width of the work-piece."},
            {"txtwl", "mm", "Length of the work-piece in the feed direction."},
            {"txtot", "mm", "Tool overtravel: approach and overrun beyond the work-piece."},
            {"txtnot", "count", "Number of teeth z of the cutter."},
            {"txtcangle", "degrees", "Contact angle φ: the arc of the cutter in the work."},
            {"txttangle", "degrees", "Tooth pitch angle: 360 / number of teeth."},
            {"txtcs", "m/min", "Cutting speed vc at the cutter's circumference."},
            {"txtrpm", "rev/min", "Cutter speed n: revolutions of the cutter per minute."},
            {"txtf", "mm/rev", "Feed f per revolution of the cutter: feed per tooth × teeth."},
            {"txtfpt", "mm", "Feed per tooth fz."},
            {"txtfr", "mm/min", "Feed rate vf: table feed per minute, feed × cutter speed."},
            {"txtdoc", "mm",
             "Depth of cut: the radial width of cut ae, how deep the cutter's "
             "circumference reaches into the work in one cut."},
            {"txtall", "mm", "Machining allowance: initial − final height."},
            {"txtnoc", "count", "Number of cuts that take off the allowance."},
            {"txtmax", "mm", "Largest uncut chip thickness, where the tooth leaves the cut."},
            {"txtmin", "mm",
             "Uncut chip thickness the cutting force is taken at: feed × depth of "
             "cut / (teeth engaged × circumference)."},
            {"txtct", "mm",
             "Average uncut chip thickness: feed per tooth × sin(contact angle / 2)."},
            {"txtca", "mm²", "Uncut chip area: average chip thickness × cutter width."},
            {"txtmrr", "mm³/min", "Metal removal rate Q: feed rate × depth of cut × cutter width."},
            {"txtnote", "count", "Number of teeth in the cut at once."},
            {"txtcf", "N", "Cutting force on one tooth."},
            {"txttorq", "N·m",
             "Spindle torque: the force of the engaged teeth at the cutter radius."},
            {"txtchw", "mm",
             "Uncut chip width: as wide as the cutter, copied from the cutter width "
             "after every pass."},
        });
    return table;
}

} // namespace zorvik::milling
