// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvik::design {

// The control name of a design entry on a page: the finishing page's own name where the design
// gives one, otherwise the page's prefix and the roughing name.
std::string nameOnPage(const PageDesign &page, const char *name, const char *finishingName = "");

// Every mistake in the design, one message each naming what does not resolve: a frame, field,
// button, hover or leave step name, a relation field without a field, a default for a field the
// window does not have, a name used twice, a tab control on one page, Import on more than two
// pages, two fields sharing a caption. Empty when the design is sound. relations and defaults are
// the operation's the window is built for.
std::vector<std::string>
designProblems(const WindowDesign &design, const RelationList &relations,
               std::span<const std::pair<FieldId, std::string_view>> defaults);

} // namespace zorvik::design
