// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

#include <vector>

namespace zorvik {

// The milling and shaping windows name their button labels alike: Label1 to Label4 and command5
// on the roughing page, flabel1 to flabel4 and fcommand5 on the finishing page.
inline std::vector<design::ButtonDesign> labelButtons()
{
    using design::Action;
    return {
        {"Label1", "Calculate", Action::Calculate, 120, "flabel1"},
        {"Label2", "Reset", Action::Reset, 1560, "flabel2"},
        {"command5", "Import", Action::Import, 3000},
        {"Label3", "Back", Action::Back, 4440, "flabel3"},
        {"Label4", "Cancel", Action::Cancel, 5880, "flabel4"},
    };
}

// They restore those labels alike too: the window background only the four roughing Label ones,
// the tab control all ten, and the surfaces named for a page that page's five.
inline std::vector<design::HoverRestore>
labelButtonsHover(const char *tabControl, std::vector<const char *> roughingSurfaces,
                  std::vector<const char *> finishingSurfaces)
{
    const std::vector<const char *> roughing{"Label1", "Label2", "command5", "Label3", "Label4"};
    const std::vector<const char *> finishing{"flabel1", "flabel2", "fcommand5", "flabel3",
                                              "flabel4"};
    std::vector<const char *> all = roughing;
    all.insert(all.end(), finishing.begin(), finishing.end());
    return {
        {{""}, {"Label1", "Label2", "Label3", "Label4"}},
        {{tabControl}, all},
        {std::move(roughingSurfaces), roughing},
        {std::move(finishingSurfaces), finishing},
    };
}

} // namespace zorvik
