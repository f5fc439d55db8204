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
const FrameDesign turningFamily{
    .name = "Frame2", .caption = "Turning Operations :", .box = {120, 480, 2535, 1695}};
const FrameDesign millingFamily{
    .name = "Frame4", .caption = "Milling Operations :", .box = {2880, 480, 2535, 735}};
const FrameDesign drillingFamily{
    .name = "Frame3", .caption = "Drilling Operations :", .box = {2880, 1440, 2535, 735}};
const FrameDesign shapingFamily{
    .name = "Frame5", .caption = "Shaping Operations :", .box = {5640, 480, 2535, 735}};

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
        using cuttingdata::Process;
        const std::vector<std::pair<FieldId, std::string_view>> turningDefaults{
            {turning::inlet, "2"}, {turning::outlet, "2"}, {turning::noc, "1"}};
        const StartingFields turningStart{
            .process = Process::turning, .speed = "txtcspeed", .feed = "txtfeed"};
        const MaterialFieldNames chipAtThickness{.kc = "txtspcf", .chipThickness = "txtct"};
        // A depth of cut typed is the user's to move; one worked out from the allowance moves
        // with the number of cuts.
        const MachineFields turningMachine{.rpm = "txtrpm",
                                           .feedRate = "txtfrate",
                                           .motorPower = "txtmp",
                                           .cuttingPower = "txtcp",
                                           .levers = {{{.field = "txtfeed"},
                                                       {.field = "txtcspeed"},
                                                       {.field = "txtrpm"},
                                                       {.field = "txtnoc"},
                                                       {.field = "txtdoc"}}}};
        // Longitudinal and face turning share a list's fields, and so its defaults, material,
        // starting data and machine fields.
        const auto turningRow = [&](OperationDefinition row) {
            row.defaults = turningDefaults;
            row.material = chipAtThickness;
            row.starting = turningStart;
            row.machine = turningMachine;
            return row;
        };
        return std::vector<OperationDefinition>{
            turningRow({
                .name = "longitudinal",
                .relations = turning::relations(),
                .option = {.name = "Option1",
                           .caption = "Longitudinal Turning",
                           .box = {240, 840, 1815, 255},
                           .family = turningFamily},
                .design = turning::longitudinalWindow,
                .help = &turning::fieldHelp(),
                .aliases = {"turning"},
            }),
            turningRow({
                .name = "face",
                .relations = turning::faceRelations(),
                .option = {.name = "Option2",
                           .caption = "Face Turning",
                           .box = {240, 1320, 1335, 255},
                           .family = turningFamily},
                .design = turning::faceWindow,
                .help = &turning::faceFieldHelp(),
            }),
            {
                .name = "taper",
                .relations = taper::relations(),
                .defaults = {{taper::noc, "1"}},
                .option = {.name = "Option3",
                           .caption = "Taper Turning",
                           .box = {240, 1800, 1335, 255},
                           .family = turningFamily},
                .design = taper::taperWindow,
                .help = &taper::fieldHelp(),
                .starting = turningStart,
                .machine = {.rpm = "txtrpm",
                            .feedRate = "txtfrate",
                            .motorPower = "txtmp",
                            .cuttingPower = "txtcp",
                            .levers = {{{.field = "txtfeed"},
                                        {.field = "txtcspeed"},
                                        {.field = "txtrpm"},
                                        {.field = "txtnoc"}}}},
            },
            {
                .name = "drilling",
                .relations = drilling::relations(),
                .defaults = {{drilling::outlet, "3"},
                             {drilling::angle, "118"},
                             {drilling::edge, "2"}},
                // A hole diameter typed as well is the user's: kept, and held to the diameters by
                // the check, never replaced without a word.
                .prepare =
                    [](FieldStore &store) {
                        if (store.isBlank(drilling::fdiam2))
                            drilling::enlargeHole(store);
                    },
                .option = {.name = "Option7",
                           .caption = "Drilling",
                           .box = {3000, 1800, 855, 255},
                           .family = drillingFamily},
                .design = drilling::drillingWindow,
                .material = chipAtThickness,
                .help = &drilling::fieldHelp(),
                .starting = StartingFields{.process = Process::drilling,
                                           .speed = "txtcspeed",
                                           .feed = "txtfeed",
                                           .diameters = {"txtfdiam", "txtfdiam2"},
                                           .tool = "drill"},
                .machine = {.rpm = "txtrpm",
                            .feedRate = "txtfrate",
                            .motorPower = "txtmp",
                            .cuttingPower = "txtcp",
                            .levers = {{{.field = "txtfeed"},
                                        {.field = "txtcspeed"},
                                        {.field = "txtrpm"}}}},
            },
            {
                .name = "milling",
                .relations = milling::relations(),
                .defaults = {{milling::noc, "1"}},
                .option = {.name = "Option12",
                           .caption = "Milling",
                           .box = {3000, 840, 855, 255},
                           .family = millingFamily},
                .design = milling::millingWindow,
                .material = {.kc = "txtspcf", .chipThickness = "txtmin"},
                .help = &milling::fieldHelp(),
                .starting = StartingFields{.process = Process::milling,
                                           .speed = "txtcs",
                                           .feed = "txtfpt",
                                           .diameters = {"txtdiam"},
                                           .feedUnit = "mm/tooth",
                                           .tool = "cutter",
                                           .largestTool = cuttingdata::largestSolidCutter},
                // The axial depth is the cutter width; the radial depth is the depth of cut,
                // typed or split into cuts.
                .machine = {.rpm = "txtrpm",
                            .feedRate = "txtfr",
                            .motorPower = "txtmp",
                            .cuttingPower = "txtcp",
                            .torque = "txttorq",
                            .levers = {{{.field = "txtfpt"},
                                        {.field = "txtcs"},
                                        {.field = "txtrpm"},
                                        {.field = "txtcw"},
                                        {.field = "txtdoc", .fixedWhile = {"txtdoc", "txtdiam"}},
                                        {.field = "txtnoc", .fixedWhile = {"txtdoc", "txtdiam"}}}}},
            },
            {
                .name = "shaping",
                .relations = shaping::relations(),
                .defaults = {{shaping::noc, "1"},
                             {shaping::cangle, "240"},
                             {shaping::rangle, "120"}},
                .option = {.name = "Option23",
                           .caption = "Shaping",
                           .box = {5760, 840, 975, 255},
                           .family = shapingFamily},
                .design = shaping::shapingWindow,
                .material = {.kc = "txtspcf", .chipThickness = "txtf"},
                .help = &shaping::fieldHelp(),
                // The stroke is set by the bull gear's speed as much as by the cutting speed.
                .machine =
                    {.motorPower = "txtmp",
                     .cuttingPower = "txtcp",
                     .levers = {{{.field = "txtf"}, {.field = "txtcs"}, {.field = "txtrpm"}}}},
            },
        };
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
