// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/shaping/shapingwindow.h"

#include "operations/labelbuttons.h"

namespace zorvik::shaping {

namespace {

using namespace design;

WindowDesign design()
{
    constexpr int f1 = 2280, f2 = 6120, f3 = 9960; // field columns
    constexpr int c1 = 120, c3 = 7440;             // caption columns
    // The second caption column sits further left in the machining frame, whose captions are
    // longer.
    constexpr int w2 = 3960, m2 = 3720;

    // clang-format off
    return WindowDesign{
        .name = "frmshape",
        .caption = "Shaping",
        .placement = {50, 50, 11820, 7875},
        .pages = {{"Roughing Data", "", "1"}, {"Finishing Data", "f", "2"}},
        .tabControl = "SSTab2",
        .tabBox = {98, 83, 11535, 7335},
        .buttonFrame = "Frame1",
        .frames = {
            {"Frame2", "Work-Piece Characteristics : ", {120, 480, 11295, 1215}, "", "Frame5"},
            {"Frame3", "Machining Parameters : ", {120, 1800, 11295, 4575}, "", "Frame6"},
            {"Frame1", "", {2198, 6480, 7335, 735}, "", "Frame4"},
        },
        .fields = {
            {"txtit", {"Initial Thickness", "mm"}, "Frame2", c1, f1, 240},
            {"txtft", {"Final Thickness", "mm"}, "Frame2", w2, f2, 240},
            {"txtl", {"Length", "mm"}, "Frame2", c3, f3, 240},
            {"txtw", {"Width", "mm"}, "Frame2", c1, f1, 720},
            // The time rules take these as the whole stroke and the whole traverse, so the
            // captions ask for the length and width with their allowances added.
            {"txtwl", {"Length + OverTravel", "mm"}, "Frame2", w2, f2, 720},
            {"txtww", {"Width + Feed Allowance", "mm"}, "Frame2", c3, f3, 720},
            {"txtcs", {"Cutting Speed", "m/min."}, "Frame3", c1, f1, 240},
            {"txtarea", {"UnCut Chip Area", "mm2"}, "Frame3", m2, f2, 240},
            {"txtcf", {"Cutting Force", "N"}, "Frame3", c3, f3, 240},
            {"txtrs", {"Return Speed", "m/min."}, "Frame3", c1, f1, 720},
            {"txtmrr", {"Metal Removal Rate", "mm3/min."}, "Frame3", m2, f2, 720},
            {"txtspcf", {"Specific Cutting Force", "N/mm2"}, "Frame3", c3, f3, 720},
            {"txtms", {"Mean Speed", "m/min."}, "Frame3", c1, f1, 1200},
            {"txtctime", {"Cutting Time", "min."}, "Frame3", m2, f2, 1200},
            {"txtcp", {"Cutting Power", "Watt"}, "Frame3", c3, f3, 1200},
            {"txtrpm", {"BullGear Speed", "Cycle/min."}, "Frame3", c1, f1, 1680},
            {"txtrtime", {"Return Time", "min."}, "Frame3", m2, f2, 1680},
            {"txtspcp", {"Specific Cutting Power", "W/mm3"}, "Frame3", c3, f3, 1680},
            {"txtf", {"Feed", "mm/Cycle"}, "Frame3", c1, f1, 2160},
            {"txttime", {"Cycle Time", "min."}, "Frame3", m2, f2, 2160},
            {"txtmp", {"Motor Power", "Watt"}, "Frame3", c3, f3, 2160},
            {"txtfr", {"Feed Rate", "mm/min."}, "Frame3", c1, f1, 2640},
            {"txtmt", {"Machining Time", "min."}, "Frame3", m2, f2, 2640},
            {"txtmeff", {"Motor Efficiency"}, "Frame3", c3, f3, 2640},
            {"txtnoc", {"No. Of Cuts"}, "Frame3", c1, f1, 3120},
            {"txtnos", {"No. Of Strokes"}, "Frame3", m2, f2, 3120},
            {"txteeff", {"Electrical Efficiency"}, "Frame3", c3, f3, 3120},
            {"txtdoc", {"Depth Of Cut", "mm/cut"}, "Frame3", c1, f1, 3600},
            {"txtcangle", {"Cutting Angle", "Degrees"}, "Frame3", m2, f2, 3600},
            {"txteff", {"Total Efficiency"}, "Frame3", c3, f3, 3600},
            {"txtall", {"Machining Allowance", "mm"}, "Frame3", c1, f1, 4080},
            {"txtrangle", {"Return Angle", "Degrees"}, "Frame3", m2, f2, 4080},
        },
        .buttons = labelButtons(),
        .filters = {},
        .hover = twoPageHover(labelButtons(), "SSTab2", {"Label1", "Label2", "Label3", "Label4"},
                              {"Frame1", "Frame3"}, {"Frame4", "Frame6"}),
        .tagMatch = TagMatch::Number,
    };
    // clang-format on
}

} // namespace

const WindowDesign &shapingWindow()
{
    static const WindowDesign window = design();
    return window;
}

} // namespace zorvik::shaping
