// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/turning/turningwindows.h"

#include "operations/labelbuttons.h"

namespace zorvik::turning {

namespace {

using namespace design;

// The two windows differ only in three captions and in the left edge of their frames.
struct Variant {
    const char *name;
    const char *caption;
    int frameLeft;
    CaptionDesign idiamCaption;
    CaptionDesign fdiamCaption;
    CaptionDesign lenCaption;
};

WindowDesign design(const Variant &v)
{
    constexpr int c1 = 120, c2 = 3600, c3 = 7440;  // caption columns
    constexpr int f1 = 2160, f2 = 6000, f3 = 9960; // field columns
    const std::vector<ButtonDesign> buttons{
        {"command1", "Calculate", Action::Calculate, 120, "fcommand1"},
        {"command2", "Reset", Action::Reset, 1560, "fcommand2"},
        {"command5", "Import", Action::Import, 3000, "fcommand5"},
        {"command3", "Back", Action::Back, 4440, "fcommand3"},
        {"command4", "Cancel", Action::Cancel, 5880, "fcommand4"},
    };

    // clang-format off
    return WindowDesign{
        .name = v.name,
        .caption = v.caption,
        .placement = {70, 150, 11730, 7590},
        .pages = {{"Roughing Data", "", "2"}, {"Finishing Data", "f", "1"}},
        .tabControl = "t1",
        .tabBox = {53, 60, 11535, 7095},
        .buttonFrame = "Frame3",
        .frames = {
            {"Frame1", "Work-Piece Characteristics : ", {v.frameLeft, 480, 11295, 1575}},
            {"Frame2", "Machining Parameters : ", {v.frameLeft, 2160, 11295, 3975}},
            {"Frame3", "", {2153, 6240, 7335, 735}},
        },
        .fields = {
            {"txtidiam", v.idiamCaption, "Frame1", c1, f1, 480},
            {"txtfdiam", v.fdiamCaption, "Frame1", c2, f2, 480},
            {"txtlen", v.lenCaption, "Frame1", c3, f3, 480},
            {"txtinlet", {"Inlet Length", "mm"}, "Frame1", c1, f1, 1080, false},
            {"txtoutlet", {"Outlet Length", "mm"}, "Frame1", c2, f2, 1080, false},
            {"txtangle", {"Approach Angle", "Degrees"}, "Frame1", c3, f3, 1080},
            {"txtcspeed", {"Cutting Speed", "m/min"}, "Frame2", c1, f1, 480},
            {"txtrpm", {"Spindle Speed", "R.P.M"}, "Frame2", c1, f1, 960},
            {"txtfeed", {"Feed", "mm/rev"}, "Frame2", c1, f1, 1440},
            {"txtfrate", {"Feed Rate", "mm/min."}, "Frame2", c1, f1, 1920},
            {"txtnoc", {"No. Of Cuts"}, "Frame2", c1, f1, 2400, false},
            {"txtdoc", {"Depth Of Cut", "mm/cut"}, "Frame2", c1, f1, 2880},
            {"txtallowance", {"Machining Allowance", "mm"}, "Frame2", c1, f1, 3360},
            {"txtct", {"UnCut Chip Thickness", "mm"}, "Frame2", c2, f2, 480},
            {"txtcw", {"UnCut Chip Width", "mm"}, "Frame2", c2, f2, 960},
            {"txtchip", {"UnCut Chip Area", "mm2"}, "Frame2", c2, f2, 1440},
            {"txtmrr", {"Metal Removal Rate", "mm3/min."}, "Frame2", c2, f2, 1920},
            {"txtmtime", {"Machining Time", "min."}, "Frame2", c2, f2, 2400},
            {"txtcf", {"Cutting Force", "N"}, "Frame2", c2, f2, 2880},
            {"txtspcf", {"Specific Cutting Force", "N/mm2"}, "Frame2", c2, f2, 3360},
            {"txtcp", {"Cutting Power", "watt"}, "Frame2", c3, f3, 480},
            {"txtspcp", {"Specific Cutting Power", "W/mm2"}, "Frame2", c3, f3, 960},
            {"txtmp", {"Motor Power", "watt"}, "Frame2", c3, f3, 1440},
            {"txtmeff", {"Motor Efficiency"}, "Frame2", c3, f3, 1920},
            {"txteeff", {"Electrical Efficiency"}, "Frame2", c3, f3, 2400},
            {"txteff", {"Total Efficiency"}, "Frame2", c3, f3, 2880},
        },
        .buttons = buttons,
        .hover = twoPageHover(buttons, "t1",
                              {"command1", "command2", "command3", "command4",
                               "fcommand1", "fcommand2", "fcommand3", "fcommand4"},
                              {"Frame2", "Frame3"}, {"fFrame2", "fFrame3"}),
    };
    // clang-format on
}

} // namespace

const WindowDesign &longitudinalWindow()
{
    static const WindowDesign window = design({"frmlong",
                                               "Longitudinal turning",
                                               173,
                                               {"Initial Diameter", "mm"},
                                               {"Final Diameter", "mm"},
                                               {"Longitudinal Length", "mm"}});
    return window;
}

const WindowDesign &faceWindow()
{
    static const WindowDesign window = design({"frmface",
                                               "Face turning",
                                               120,
                                               {"Initial Length", "mm"},
                                               {"Final Length", "mm"},
                                               {"Work-Piece Radius", "mm"}});
    return window;
}

} // namespace zorvik::turning
