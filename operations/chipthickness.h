// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/materials.h"
#include "operations/operation.h"
#include "solver/explain.h"
#include "solver/preparedlist.h"

#include <optional>
#include <string>

namespace zorvik {

// The page's specific cutting force field and the chip thickness its force rule takes: the uncut
// chip thickness in turning and drilling, the thickness milling rule 17a multiplies by, the feed
// per cycle in shaping. None for an operation without a specific cutting force (taper turning).
struct MaterialFields {
    FieldId kc;
    FieldId thickness;
};
std::optional<MaterialFields> materialFields(const OperationDefinition &operation);

// The chip thickness of a page as Calculate sees it: the field's own text, or what a solve of
// the page finds for it while the field is blank. The specific cutting force is left out of that
// solve, as it is what the thickness is wanted for.
struct PageChipThickness {
    std::optional<double> millimetres; // above 0, or none
    // With a thickness, where it came from, in lines; without one, what to type first.
    std::string text;
    // With a thickness, where it came from in one line: the text's first, ended as a sentence.
    std::string summary{};
};
PageChipThickness pageChipThickness(const OperationDefinition &operation, const FieldStore &page,
                                    const Captions &captions);

// The specific cutting force of the group at the page's chip thickness, or at 1 mm (kc1 itself)
// when atOneMillimetre is set. Its text is written by the number-to-text rule; its explanation
// says where it came from, without the field's own text line.
struct MaterialForce {
    std::optional<std::string> text; // none when the group or the thickness gives no force
    std::string explanation;         // or, without a text, why not
    // Its first line, which says it alone; "" where the page gives no chip thickness.
    std::string summary{};
};
MaterialForce materialForce(const materials::MaterialGroup &group,
                            const PageChipThickness &thickness, bool atOneMillimetre = false);

// Solves a page of inputs as Recalculate does when its specific cutting force came from the
// group: the force taken again at the chip thickness the page gives, then the page solved.
void solveWithGroupForce(const PreparedList &list, const OperationDefinition &operation,
                         const materials::MaterialGroup &group, FieldStore &page);

} // namespace zorvik
