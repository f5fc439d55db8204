// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/chipthickness.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// The group a --material argument or a material cell names: a whole group number of a group
// with constants. An empty text names none, and is no error.
struct MaterialNamed {
    const materials::MaterialGroup *group = nullptr;
    std::string error; // why the text names no group it can use, "" when it does
};
MaterialNamed materialNamed(std::string_view text);

// What a solve with a material did, and, when asked, what an explanation needs of it.
struct MaterialSolve {
    std::optional<std::string> kc; // the specific cutting force it set, none when it set none
    std::string note;              // how it set it, or why it did not
    SolveRecord first;             // of the solve before kc was set
    FieldStore afterFirst{0};
    SolveRecord second; // of the solve from the page with kc set
};

// Solves the page. When its specific cutting force is blank after that, and the group gives one
// at the chip thickness the page then has, sets it and solves again from the page as it is:
// what was typed or solved stays, and what kc leads to is filled in. The trace sees both solves,
// and between them the setting of kc as rule "material" in pass 0. record: whether to keep what
// an explanation needs.
MaterialSolve solveWithMaterial(const PreparedList &list, const OperationDefinition &operation,
                                const Captions &captions, const materials::MaterialGroup &group,
                                FieldStore &store, const SolveTrace &trace = {},
                                bool record = false);

// Every field's explanation after a recorded solveWithMaterial: each result as the solve that
// wrote it explains it, kc as the material gave it, the rest as the page ends.
std::vector<FieldExplanation> explainWithMaterial(const OperationDefinition &operation,
                                                  const Captions &captions,
                                                  const MaterialSolve &solved,
                                                  const FieldStore &store,
                                                  const std::vector<bool> &defaults);

} // namespace zorvik
