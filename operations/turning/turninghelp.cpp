// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/turning/turninghelp.h"

#include "operations/commonhelp.h"
#include "operations/turning/taperrelations.h"
#include "operations/turning/turningrelations.h"

#include <utility>

namespace zorvik::turning {

namespace {

// What longitudinal and face turning share: the speeds, the chip and the power.
const std::vector<FieldHelpEntry> shared{
    {"txtinlet", "mm",
     "Approach: how far the tool travels at feed before it reaches the "
     "work-piece."},
    {"txtoutlet", "mm", "Overrun: how far the tool travels at feed past the end of the cut."},
    {"txtangle", "degrees",
     "Approach angle κr: the angle of the cutting edge to the feed "
     "direction, 90 for a square shoulder."},
    {"txtrpm", "rev/min", "Spindle speed n: revolutions of the work-piece per minute."},
    {"txtfeed", "mm/rev", "Feed f: how far the tool advances in one revolution."},
    {"txtfrate", "mm/min",
     "Feed rate vf: how far the tool advances in one minute, feed × spindle "
     "speed."},
    {"txtnoc", "count", "Number of passes that take off the allowance."},
    {"txtmtime", "min", "Machining time of all passes over inlet, length and outlet."},
    {"txtchip", "mm²", "Uncut chip area A: feed × depth of cut, the cross-section of the chip."},
    {"txtct", "mm", "Uncut chip thickness h: feed × sin(approach angle)."},
    {"txtcw", "mm",
     "Uncut chip width b: the length of edge in the cut, depth of cut / "
     "sin(approach angle)."},
    {"txtcf", "N", "Main cutting force Fc on the tool, tangential to the work-piece."},
};

std::vector<FieldHelpEntry> with(std::vector<FieldHelpEntry> own)
{
    own.insert(own.end(), shared.begin(), shared.end());
    return withCommonHelp(relations(), std::move(own));
}

} // namespace

const std::vector<FieldHelpEntry> &fieldHelp()
{
    static const std::vector<FieldHelpEntry> table = with({
        {"txtidiam", "mm", "Diameter of the work-piece before the cut."},
        {"txtfdiam", "mm", "Diameter of the work-piece after the last pass."},
        {"txtlen", "mm", "Length of the turned section, along the axis."},
        {"txtcspeed", "m/min", "Cutting speed vc: surface speed at the initial diameter."},
        {"txtdoc", "mm", "Depth of cut ap: what one pass takes off the radius."},
        {"txtallowance", "mm",
         "Machining allowance: stock on the radius, (initial − final "
         "diameter) / 2."},
    });
    return table;
}

const std::vector<FieldHelpEntry> &faceFieldHelp()
{
    static const std::vector<FieldHelpEntry> table = with({
        {"txtidiam", "mm", "Length of the work-piece before facing."},
        {"txtfdiam", "mm", "Length of the work-piece after the last facing pass."},
        {"txtlen", "mm", "Radius of the face: the tool travels from the outside to the centre."},
        {"txtcspeed", "m/min",
         "Cutting speed vc: surface speed at the outside diameter of the "
         "face, twice the radius."},
        {"txtdoc", "mm", "Depth of cut ap: what one pass takes off the length."},
        {"txtallowance", "mm",
         "Machining allowance: stock on the length, initial − final "
         "length."},
    });
    return table;
}

} // namespace zorvik::turning

namespace zorvik::taper {

const std::vector<FieldHelpEntry> &fieldHelp()
{
    static const std::vector<FieldHelpEntry> table = withCommonHelp(
        relations(),
        {
            {"txtdl", "mm", "Large diameter of the taper."},
            {"txtwl", "mm",
             "Whole length of the work-piece between centres, for the tailstock "
             "setover."},
            {"txtangle", "degrees", "Included angle of the taper."},
            {"txtds", "mm", "Small diameter of the taper."},
            {"txttl", "mm", "Length of the taper along the axis."},
            {"txtset", "mm",
             "Tailstock setover: how far the tailstock is offset to turn the taper "
             "between centres."},
            {"txtrpm", "rev/min", "Spindle speed n: revolutions of the work-piece per minute."},
            {"txtcspeed", "m/min", "Cutting speed vc on the mean diameter of the taper."},
            {"txtfeed", "mm/rev", "Feed f: how far the tool advances in one revolution."},
            {"txtfrate", "mm/min", "Feed rate vf: feed × spindle speed."},
            {"txtnoc", "count", "Number of passes along the taper."},
            {"txtmtime", "min", "Machining time of all passes over the taper length."},
            {"txtchip", "mm²", "Uncut chip area A: the cross-section of the chip."},
            {"txtcf", "N", "Main cutting force Fc on the tool."},
            {"txtratio", "ratio",
             "Taper ratio: (large − small diameter) / taper length, 1:20 as 0.05."},
        });
    return table;
}

} // namespace zorvik::taper
