// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/milling/millingwindow.h"

#include "operations/labelbuttons.h"

namespace zorvik::milling {

namespace {

using namespace design;

WindowDesign design()
{
    // The work-piece frame packs four uneven columns; each caption starts just right of the
    // field before it.
    constexpr int w1 = 120, w2 = 3120, w3 = 6240, w4 = 9000; // work-piece caption columns
    constexpr int v1 = 1800, v2 = 4920, v3 = 7680, v4 = 10080;
    constexpr int c1 = 120, c2 = 3600, c3 = 8160;   // machining caption columns
    constexpr int f1 = 2160, f2 = 6720, f3 = 10080; // machining field columns

    // clang-format off
    return WindowDesign{
        .name = "frmmill",
        .caption = " Milling",
        .placement = {100, 50, 11730, 7815},
        .pages = {{"Roughing Data", "", "1"}, {"Finishing Data", "f", "2"}},
        .tabControl = "SSTab1",
        .tabBox = {0, 45, 11655, 7335},
        .buttonFrame = "Frame1",
        .frames = {
            {"Frame2", "Work-Piece And Cutter Characteristics : ", {113, 360, 11415, 1815}, "",
             "Frame4"},
            {"Frame3", "Machining Parameters : ", {113, 2280, 11415, 4215}, "", "Frame5"},
            {"Frame1", "", {2153, 6480, 7335, 735}, "", "Frame6"},
        },
        .fields = {
            {"txtdiam", {"Cutter Diameter", "mm"}, "Frame2", w1, v1, 360},
            {"txtih", {"W.P Initial Height", "mm"}, "Frame2", w2, v2, 360},
            {"txtww", {"W.P Width", "mm"}, "Frame2", w3, v3, 360},
            {"txttangle", {"Tooth Angle"}, "Frame2", w4, v4, 360},
            {"txtcw", {"Cutter Width", "mm"}, "Frame2", w1, v1, 840},
            {"txtfh", {"W.P Final Height", "mm"}, "Frame2", w2, v2, 840},
            {"txtwl", {"W.P Lenght", "mm"}, "Frame2", w3, v3, 840},
            {"txtot", {"Tool OverTravel", "mm"}, "Frame2", w1, v1, 1320},
            {"txtnot", {"No. Of Cutter Teeth"}, "Frame2", w2, v2, 1320},
            {"txtcangle", {"Contact Angle"}, "Frame2", w3, v3, 1320},
            {"txtcs", {"Cutting Speed", "m/min."}, "Frame3", c1, f1, 360},
            {"txtct", {"Average UnCut Chip Thickness", "mm"}, "Frame3", c2, f2, 360},
            {"txtcp", {"Cutting Power", "Watt"}, "Frame3", c3, f3, 360},
            {"txtrpm", {"Cutter Speed", "R.P.M"}, "Frame3", c1, f1, 840},
            {"txtmax", {"Maximum UnCut Chip Thickness", "mm"}, "Frame3", c2, f2, 840},
            {"txtcf", {"Cutting Force", "N"}, "Frame3", c3, f3, 840},
            {"txtf", {"Feed", "mm/rev."}, "Frame3", c1, f1, 1320},
            {"txtmin", {"Minimum UnCut Chip Thickness", "mm"}, "Frame3", c2, f2, 1320},
            {"txtnote", {"No. Of Teeth Engaged"}, "Frame3", c3, f3, 1320},
            {"txtfr", {"Feed Rate", "mm/min"}, "Frame3", c1, f1, 1800},
            {"txtchw", {"UnCut Chip Width", "mm"}, "Frame3", c2, f2, 1800},
            {"txtmp", {"Motor Power", "Watt"}, "Frame3", c3, f3, 1800},
            {"txtfpt", {"Feed Per Tooth"}, "Frame3", c1, f1, 2280},
            {"txtca", {"UnCut Chip Area", "mm2"}, "Frame3", c2, f2, 2280},
            {"txtmeff", {"Motor Efficiency"}, "Frame3", c3, f3, 2280},
            {"txtnoc", {"Number Of Cuts"}, "Frame3", c1, f1, 2760},
            {"txtmrr", {"Metal Removal Rate", "mm3/min."}, "Frame3", c2, f2, 2760},
            {"txteeff", {"Electrical Efficiency"}, "Frame3", c3, f3, 2760},
            {"txtdoc", {"Depth Of Cut", "mm/cut"}, "Frame3", c1, f1, 3240},
            {"txtspcp", {"Specific Cutting Power", "W/mm3"}, "Frame3", c2, f2, 3240},
            {"txteff", {"Total Efficiency"}, "Frame3", c3, f3, 3240},
            {"txtall", {"Machining Allowance", "mm"}, "Frame3", c1, f1, 3720},
            {"txtspcf", {"Specific Cutting Force", "n/mm2"}, "Frame3", c2, f2, 3720},
            {"txttorq", {"Torque", "N.M"}, "Frame3", c3, f3, 3720},
        },
        .buttons = labelButtons(),
        .filters = {},
        .hover = twoPageHover(labelButtons(), "SSTab1", {"Label1", "Label2", "Label3", "Label4"},
                              {"Frame1", "Frame3"}, {"Frame5", "Frame6"}),
        .frameFont = {"Times New Roman", 12, true},
    };
    // clang-format on
}

} // namespace

const WindowDesign &millingWindow()
{
    static const WindowDesign window = design();
    return window;
}

} // namespace zorvik::milling
