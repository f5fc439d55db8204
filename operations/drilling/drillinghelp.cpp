// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/drilling/drillinghelp.h"

#include "operations/commonhelp.h"
#include "operations/drilling/drillingrelations.h"

namespace zorvik::drilling {

const std::vector<FieldHelpEntry> &fieldHelp()
{
    static const std::vector<FieldHelpEntry> table = withCommonHelp(
        relations(),
        {
            {"txtidiam", "mm",
             "Diameter of the existing (pilot) hole, for enlarging a hole; blank when "
             "drilling from solid."},
            {"txtfdiam", "mm", "Diameter of the hole after enlarging it."},
            {"txtfdiam2", "mm",
             "Drill diameter D when drilling from solid; in enlarging, the final "
             "less the pilot diameter."},
            {"txtinlet", "mm",
             "Approach: how far the drill travels at feed before it cuts on its "
             "full diameter, the length of its point."},
            {"txtoutlet", "mm",
             "Overrun: how far the point goes past the bottom of a through hole."},
            {"txtdepth", "mm", "Depth of the hole."},
            {"txtangle", "degrees", "Point angle σ of the drill, 118 for a standard twist drill."},
            {"txtedge", "count", "Number of cutting edges (lips), 2 for a twist drill."},
            {"txtcspeed", "m/min", "Cutting speed vc at the outer corner of the drill."},
            {"txtrpm", "rev/min", "Spindle speed n: revolutions of the drill per minute."},
            {"txtfeed", "mm/rev", "Feed f: how far the drill advances in one revolution."},
            {"txtfrate", "mm/min", "Feed rate vf: feed × spindle speed."},
            {"txtfpt", "mm", "Feed per cutting edge fz: feed / number of edges."},
            {"txtdoc", "mm", "Depth of cut ap: half the drill diameter, the length each lip cuts."},
            {"txtct", "mm", "Uncut chip thickness h: feed per edge × sin(point angle / 2)."},
            {"txtcw", "mm", "Uncut chip width b: the length of one lip in the cut."},
            {"txtarea", "mm²", "Uncut chip area of one edge."},
            {"txttarea", "mm²", "Uncut chip area of all edges together."},
            {"txtmt", "min", "Machining time over inlet, depth and outlet."},
            {"txtcf1", "N", "Cutting force on one edge."},
            {"txttcf", "N", "Cutting force of all edges together."},
        });
    return table;
}

} // namespace zorvik::drilling
