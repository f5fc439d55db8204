// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/turning/taperwindow.h"

namespace zorvik::taper {

namespace {

using namespace design;

WindowDesign design()
{
    // The caption columns leave the longest captions room before their fields.
    constexpr int c1 = 120, c2 = 3360, c3 = 7560;
    constexpr int f1 = 2040, f2 = 6240, f3 = 9840, f3b = 9960; // field columns

    // clang-format off
    return WindowDesign{
        .name = "frmtap",
        .caption = "Taper Turning",
        .placement = {140, 400, 11625, 7080},
        .pages = {{"", "", ""}},
        .buttonFrame = "Frame1",
        .frames = {
            {"Frame2", "Work-Piece Characteristics : ", {120, 120, 11295, 1695}},
            {"Frame3", "Machining Parameters : ", {113, 1920, 11295, 3975}},
            {"Frame1", "", {2813, 5880, 5895, 735}},
        },
        .fields = {
            {"txtdl", {"Large Diameter", "mm"}, "Frame2", c1, f1, 480},
            {"txtwl", {"WorkPiece Length", "mm"}, "Frame2", c2, f2, 480},
            {"txtangle", {"Taper Angle", "Degrees"}, "Frame2", c3, f3, 480},
            {"txtds", {"Small Diameter", "mm"}, "Frame2", c1, f1, 1080},
            {"txttl", {"Taper Length", "mm"}, "Frame2", c2, f2, 1080},
            {"txtset", {"TailStock SetOver", "mm"}, "Frame2", c3, f3, 1080},
            {"txtrpm", {"Spindle Speed", "R.P.M"}, "Frame3", c1, f1, 480},
            {"txtfeed", {"Feed", "mm/rev"}, "Frame3", c1, f1, 1680},
            {"txtmrr", {"Metal Removal Rate", "mm3/min."}, "Frame3", c2, f2, 480},
            {"txtcspeed", {"Cutting Speed", "m/min"}, "Frame3", c1, f1, 1080},
            {"txtmtime", {"Machining Time", "min."}, "Frame3", c1, f1, 3480},
            {"txtmp", {"Motor Power", "watt"}, "Frame3", c2, f2, 2880},
            {"txtfrate", {"Feed Rate", "mm/min."}, "Frame3", c1, f1, 2280},
            {"txtcf", {"Cutting Force", "N"}, "Frame3", c2, f2, 1680},
            {"txtmeff", {"Motor Efficiency"}, "Frame3", c2, f2, 3480},
            {"txtnoc", {"No. Of Cuts"}, "Frame3", c1, f1, 2880},
            {"txtcp", {"Cutting Power", "watt"}, "Frame3", c2, f2, 2280},
            {"txtratio", {"Taper Ratio"}, "Frame3", c3, f3b, 1680},
            {"txteeff", {"Electrical Efficiency"}, "Frame3", c3, f3b, 480},
            {"txteff", {"Total Efficiency"}, "Frame3", c3, f3b, 1080},
            {"txtchip", {"UnCut Chip Area", "mm2"}, "Frame3", c2, f2, 1080},
        },
        .buttons = {
            {"Label1", "Calculate", Action::Calculate, 120},
            {"Label2", "Reset", Action::Reset, 1560},
            {"Label3", "Back", Action::Back, 3000},
            {"Label4", "Cancel", Action::Cancel, 4440},
        },
        .hover = {{{"", "Frame1"}, {"Label1", "Label2", "Label3", "Label4"}}},
    };
    // clang-format on
}

} // namespace

const WindowDesign &taperWindow()
{
    static const WindowDesign window = design();
    return window;
}

} // namespace zorvik::taper
