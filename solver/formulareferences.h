// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/relationlist.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// A {name} of a formula text: a field, or an auxiliary value when aux is set.
struct FormulaReference {
    bool aux;
    std::size_t index;
};

// text with every {name} replaced by what substitute gives for it. Throws std::logic_error naming
// owner (the rule or value the text belongs to) when a name is not the list's.
std::string renderFormula(const RelationList &list, std::string_view text, std::string_view owner,
                          const std::function<std::string(FormulaReference)> &substitute);

// Every {name} of text, in order, repeats included.
std::vector<FormulaReference> formulaReferences(const RelationList &list, std::string_view text,
                                                std::string_view owner);

} // namespace zorvik
