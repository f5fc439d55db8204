// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/operation.h"

#include "operations/drilling/drillinghelp.h"
#include "operations/drilling/drillingrelations.h"
#include "operations/drilling/drillingwindow.h"
#include "operations/milling/millinghelp.h"
#include "operations/milling/millingrelations.h"
#include "operations/milling/millingwindow.h"
#include "operations/shaping/shapinghelp.h"
#include "operations/shaping/shapingrelations.h"
#include "operations/shaping/shapingwindow.h"
#include "operations/turning/taperrelations.h"
#include "operations/turning/taperwindow.h"
#include "operations/turning/turninghelp.h"
#include "operations/turning/turningrelations.h"
#include "operations/turning/turningwindows.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace zorvik {

FieldStore OperationDefinition::defaultStore() const
{
    FieldStore store(relations.fields.size());
    for (const auto &[field, text] : defaults)
        store.setText(field, text);
    return store;
}

void OperationDefinition::prepareTyped(FieldStore &store) const
{
    if (prepare)
        prepare(store);
}

Captions OperationDefinition::captions() const
{
    return design::fieldCaptions(design(), relations);
}

namespace {

using design::FrameDesign;

// The New Project dialog's frames, one for each family of operations.
const FrameDesign turningFamily{"Frame2", "Turning Operations :", {120, 480, 2535, 1695}};
const FrameDesign millingFamily{"Frame4", "Milling Operations :", {2880, 480, 2535, 735}};
const FrameDesign drillingFamily{"Frame3", "Drilling Operations :", {2880, 1440, 2535, 735}};
const FrameDesign shapingFamily{"Frame5", "Shaping Operations :", {5640, 480, 2535, 735}};

} // namespace

std::vector<FieldHelpEntry> OperationDefinition::fieldHelp() const
{
    if (!help)
        throw std::logic_error("operation " + std::string(name) + " has no field help");
    return helpByField(relations, *help);
}

std::vector<std::string_view> OperationDefinition::units() const
{
    std::vector<std::string_view> units;
    for (const FieldHelpEntry &entry : fieldHelp())
        units.push_back(entry.unit);
    return units;
}

const std::vector<OperationDefinition> &operationDefinitions()
{
    static const std::vector<OperationDefinition> all = [] {
        std::vector<std::pair<FieldId, std::string_view>> turningDefaults{
            {turning::inlet, "2"}, {turning::outlet, "2"}, {turning::noc, "1"}};
        using cuttingdata::Process;
        const StartingFields turningStart{Process::turning, "txtcspeed", "txtfeed"};
        // A depth of cut typed is the user's to move; one worked out from the allowance moves
        // with the number of cuts.
        const MachineFields turningMachine{
            .rpm = "txtrpm",
            .feedRate = "txtfrate",
            .motorPower = "txtmp",
            .cuttingPower = "txtcp",
            .levers = {{{"txtfeed"}, {"txtcspeed"}, {"txtrpm"}, {"txtnoc"}, {"txtdoc"}}}};
        // clang-format off
        return std::vector<OperationDefinition>{
            {"longitudinal", turning::relations(), turningDefaults, {},
             {"Option1", "Longitudinal Turning", {240, 840, 1815, 255}, turningFamily},
             turning::longitudinalWindow, {"txtspcf", "txtct"}, &turning::fieldHelp(), {"turning"},
             turningStart, turningMachine},
            {"face", turning::faceRelations(), turningDefaults, {},
             {"Option2", "Face Turning", {240, 1320, 1335, 255}, turningFamily},
             turning::faceWindow, {"txtspcf", "txtct"}, &turning::faceFieldHelp(), {},
             turningStart, turningMachine},
            {"taper", taper::relations(), {{taper::noc, "1"}}, {},
             {"Option3", "Taper Turning", {240, 1800, 1335, 255}, turningFamily},
             taper::taperWindow, {}, &taper::fieldHelp(), {}, turningStart,
             {"txtrpm", "txtfrate", "txtmp", "txtcp", "",
              {{{"txtfeed"}, {"txtcspeed"}, {"txtrpm"}, {"txtnoc"}}}}},
            {"drilling", drilling::relations(),
             {{drilling::outlet, "3"}, {drilling::angle, "118"}, {drilling::edge, "2"}},
             // A hole diameter typed as well is the user's: kept, and held to the diameters by
             // the check, never replaced without a word.
             [](FieldStore &store) {
                 if (store.isBlank(drilling::fdiam2))
                     drilling::enlargeHole(store);
             },
             {"Option7", "Drilling", {3000, 1800, 855, 255}, drillingFamily},
             drilling::drillingWindow, {"txtspcf", "txtct"}, &drilling::fieldHelp(), {},
             StartingFields{Process::drilling, "txtcspeed", "txtfeed", {"txtfdiam", "txtfdiam2"}},
             {"txtrpm", "txtfrate", "txtmp", "txtcp", "",
              {{{"txtfeed"}, {"txtcspeed"}, {"txtrpm"}}}}},
            {"milling", milling::relations(), {{milling::noc, "1"}}, {},
             {"Option12", "Milling", {3000, 840, 855, 255}, millingFamily},
             milling::millingWindow, {"txtspcf", "txtmin"}, &milling::fieldHelp(), {},
             StartingFields{Process::milling, "txtcs", "txtfpt", {"txtdiam"}},
             // The axial depth is the cutter width; the radial depth is the depth of cut, typed
             // or split into cuts.
             {"txtrpm", "txtfr", "txtmp", "txtcp", "txttorq",
              {{{"txtfpt"},
                {"txtcs"},
                {"txtrpm"},
                {"txtcw"},
                {"txtdoc", {"txtdoc", "txtdiam"}},
                {"txtnoc", {"txtdoc", "txtdiam"}}}}}},
            {"shaping", shaping::relations(),
             {{shaping::noc, "1"}, {shaping::cangle, "240"}, {shaping::rangle, "120"}}, {},
             {"Option23", "Shaping", {5760, 840, 975, 255}, shapingFamily},
             shaping::shapingWindow, {"txtspcf", "txtf"}, &shaping::fieldHelp(), {}, {},
             // The stroke is set by the bull gear's speed as much as by the cutting speed.
             {"", "", "txtmp", "txtcp", "", {{{"txtf"}, {"txtcs"}, {"txtrpm"}}}}},
        };
        // clang-format on
    }();
    return all;
}

const OperationDefinition *findOperation(std::string_view name)
{
    for (const OperationDefinition &operation : operationDefinitions()) {
        if (operation.name == name || std::find(operation.aliases.begin(), operation.aliases.end(),
                                                name) != operation.aliases.end())
            return &operation;
    }
    return nullptr;
}

} // namespace zorvik
