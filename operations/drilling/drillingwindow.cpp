// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/drilling/drillingwindow.h"

#include "operations/drilling/drillingrelations.h"

namespace zorvik::drilling {

namespace {

using namespace design;

// Either diameter of an enlargement left: the hole diameter follows their difference and is
// locked while both are filled. A text that is no number, or a difference too large to hold,
// leaves the hole diameter as it was, text and lock alike.
void leaveEnlargement(PageState &page)
{
    if (enlargeHole(page.texts))
        page.enabled[fdiam2] = false;
    else if (page.texts.isBlank(idiam) || page.texts.isBlank(fdiam))
        page.enabled[fdiam2] = true;
}

// A typed hole diameter means drilling into solid material: the enlargement diameters lock
// until it is blank again.
void leaveHoleDiameter(PageState &page)
{
    const bool blank = page.texts.isBlank(fdiam2);
    page.enabled[idiam] = blank;
    page.enabled[fdiam] = blank;
}

WindowDesign design()
{
    constexpr int c1 = 120, c2 = 3720, c3 = 7680;   // caption columns
    constexpr int f1 = 2280, f2 = 6240, f3 = 10200; // field columns
    const std::vector<const char *> labels{"cmdcalc", "cmdreset", "cmdback", "cmdcancel"};

    // clang-format off
    return WindowDesign{
        .name = "frmdrill",
        .caption = "Drilling",
        .placement = {70, 240, 11805, 7380},
        .pages = {{"", "", ""}},
        .buttonFrame = "Frame3",
        .frames = {
            {"Frame1", "Hole Characteristics : ", {90, 120, 11535, 2055}},
            {"Frame4", "Hole Enlargment :", {120, 360, 3495, 1455}, "Frame1"},
            {"Frame2", "Machining Parameters : ", {90, 2280, 11535, 3855}},
            {"Frame3", "", {2910, 6240, 5895, 735}},
        },
        .fields = {
            {"txtidiam", {"Initial Diameter", "mm"}, "Frame4", c1, 2160, 240},
            {"txtfdiam", {"Final Diameter", "mm"}, "Frame4", c1, 2160, 840},
            {"txtfdiam2", {"Hole Diameter", "mm"}, "Frame1", c2, f2, 480},
            {"txtdepth", {"Depth", "mm"}, "Frame1", c3, f3, 480},
            {"txtinlet", {"Inlet Length", "mm"}, "Frame1", c2, f2, 960},
            {"txtangle", {"Tool Point Angle", "Degrees"}, "Frame1", c3, f3, 960},
            {"txtoutlet", {"Outlet Length", "mm"}, "Frame1", c2, f2, 1440},
            {"txtedge", {"No. Of Cutting Edges"}, "Frame1", c3, f3, 1440},
            {"txtcspeed", {"Cutting Speed", "m/min"}, "Frame2", c1, f1, 480},
            {"txtcw", {"UnCut Chip Width", "mm"}, "Frame2", c2, f2, 480},
            {"txtspcf", {"Specific Cutting Force", "N/mm2"}, "Frame2", c3, f3, 480},
            {"txtrpm", {"Spindle Speed", "R.P.M"}, "Frame2", c1, f1, 960},
            {"txtarea", {.name = "UnCut Chip Area (1 Edge)",
                         .label = "UnCut Chip Area (1 Edge (mm2) )"}, "Frame2", c2, f2, 960},
            {"txtcp", {"Cutting Power", "watt"}, "Frame2", c3, f3, 960},
            {"txtfeed", {"Feed", "mm/rev"}, "Frame2", c1, f1, 1440},
            {"txttarea", {"Total UnCut Chip Area", "mm2"}, "Frame2", c2, f2, 1440},
            {"txtspcp", {"Specific Cutting Power", "W/mm2"}, "Frame2", c3, f3, 1440},
            {"txtfrate", {"Feed Rate", "mm/min."}, "Frame2", c1, f1, 1920},
            {"txtmrr", {"Metal Removal Rate", "mm3/min."}, "Frame2", c2, f2, 1920},
            {"txtmp", {"Motor Power", "watt"}, "Frame2", c3, f3, 1920},
            {"txtfpt", {"Feed / Tooth"}, "Frame2", c1, f1, 2400},
            {"txtmt", {"Machining Time", "min."}, "Frame2", c2, f2, 2400},
            {"txtmeff", {"Motor Efficiency"}, "Frame2", c3, f3, 2400},
            {"txtdoc", {"Depth Of Cut", "mm/cut"}, "Frame2", c1, f1, 2880},
            {"txtcf1", {"Cutting Force (1 Edge)"}, "Frame2", c2, f2, 2880},
            {"txteeff", {"Electrical Efficiency"}, "Frame2", c3, f3, 2880},
            {"txtct", {"UnCut Chip Thickness", "mm"}, "Frame2", c1, f1, 3360},
            {"txttcf", {"Total Cutting Force", "N"}, "Frame2", c2, f2, 3360},
            {"txteff", {"Total Efficiency"}, "Frame2", c3, f3, 3360},
        },
        .buttons = {
            {"cmdcalc", "Calculate", Action::Calculate, 120},
            {"cmdreset", "Reset", Action::Reset, 1560},
            {"cmdback", "Back", Action::Back, 3000},
            {"cmdcancel", "Cancel", Action::Cancel, 4440},
        },
        .filters = {{"txtct", KeyFilter::None}},
        .hover = {{{"", "Frame2", "Frame3"}, labels}},
        .leaveSteps = {
            {{"txtidiam", "txtfdiam"}, leaveEnlargement},
            {{"txtfdiam2"}, leaveHoleDiameter},
        },
    };
    // clang-format on
}

} // namespace

const WindowDesign &drillingWindow()
{
    static const WindowDesign window = design();
    return window;
}

} // namespace zorvik::drilling
