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
        {"command5", "Import", Action::Import, 3000, "fcommand5"},
        {"Label3", "Back", Action::Back, 4440, "flabel3"},
        {"Label4", "Cancel", Action::Cancel, 5880, "flabel4"},
    };
}

// Two-page windows restore their button labels alike: the window background the labels given,
// the tab control every label of both pages, and the surfaces named for a page that page's
// labels. The buttons must name their finishing twins.
inline std::vector<design::HoverRestore>
twoPageHover(const std::vector<design::ButtonDesign> &buttons, const char *tabControl,
             std::vector<const char *> background, std::vector<const char *> roughingSurfaces,
             std::vector<const char *> finishingSurfaces)
{
    std::vector<const char *> roughing;
    std::vector<const char *> finishing;
    for (const design::ButtonDesign &button : buttons) {
        roughing.push_back(button.name);
        finishing.push_back(button.finishing);
    }
    std::vector<const char *> all = roughing;
    all.insert(all.end(), finishing.begin(), finishing.end());
    return {
        {{""}, std::move(background)},
        {{tabControl}, all},
        {std::move(roughingSurfaces), roughing},
        {std::move(finishingSurfaces), finishing},
    };
}

} // namespace zorvik
