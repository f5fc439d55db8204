// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/shaping/shapinghelp.h"

#include "operations/commonhelp.h"
#include "operations/shaping/shapingrelations.h"

namespace zorvik::shaping {

const std::vector<FieldHelpEntry> &fieldHelp()
{
    static const std::vector<FieldHelpEntry> table = withCommonHelp(
        relations(),
        {
            {"txtit", "mm", "Thickness of the work-piece before shaping."},
            {"txtft", "mm", "Thickness of the work-piece after the last cut."},
            {"txtl", "mm", "Stroke length: the length the tool cuts in one stroke."},
            {"txtw", "mm", "Width of the work-piece."},
            {"txtwl", "mm", "Ram stroke: work-piece length with approach and overrun."},
            {"txtww", "mm", "Width the table feeds across: work-piece width with feed allowance."},
            {"txtcs", "m/min", "Cutting speed of the forward (cutting) stroke."},
            {"txtrs", "m/min", "Speed of the return stroke."},
            {"txtms", "m/min", "Mean speed of the ram over a whole cycle."},
            {"txtrpm", "cycles/min", "Bull gear speed: strokes (cycles) per minute."},
            {"txtf", "mm/cycle", "Cross feed of the table per stroke."},
            {"txtfr", "mm/min", "Feed rate: cross feed × strokes per minute."},
            {"txtnoc", "count", "Number of cuts that take off the allowance."},
            {"txtdoc", "mm", "Depth of cut: what one cut takes off the thickness."},
            {"txtall", "mm", "Machining allowance: initial − final thickness."},
            {"txtarea", "mm²", "Uncut chip area: the cross-section of the chip."},
            {"txtctime", "min", "Time of the cutting stroke."},
            {"txtrtime", "min", "Time of the return stroke."},
            {"txttime", "min", "Cycle time: one cutting and one return stroke."},
            {"txtmt", "min", "Machining time of every stroke of every cut."},
            {"txtnos", "count", "Number of strokes across the width."},
            {"txtcangle", "degrees",
             "Crank angle the bull gear turns through in the cutting stroke."},
            {"txtrangle", "degrees",
             "Crank angle the bull gear turns through in the return stroke."},
            {"txtcf", "N", "Main cutting force on the tool."},
        });
    return table;
}

} // namespace zorvik::shaping
