// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "examples/typedpage.h"
#include "solver/conversions.h"
#include "solver/solve.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik::test {

// The typed page as Calculate leaves it: prepared as the window prepares what is typed, solved.
inline FieldStore calculated(const OperationDefinition &operation, FieldStore page)
{
    operation.prepareTyped(page);
    solve(operation.relations, page);
    return page;
}

// A number a field of this unit could hold: efficiencies below 1, angles an arcsine can take,
// whole counts.
inline std::string randomText(std::string_view unit, std::mt19937 &random)
{
    auto between = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    double value = unit == "ratio"     ? between(0.5, 1)
                   : unit == "degrees" ? between(20, 160)
                   : unit == "count"   ? std::round(between(1, 6))
                                       : between(1, 100);
    return numberToText(roundedToSignificant(value, 3));
}

// Random texts in a random order of fields, each typed only where the solve would not fill it
// from those typed before, and then kept only where the others do not give it: a page no field
// of which was typed twice over.
inline FieldStore randomIndependentPage(const OperationDefinition &operation, std::mt19937 &random)
{
    const std::vector<std::string_view> units = operation.units();
    const std::size_t count = operation.relations.fields.size();
    auto fills = [&](const FieldStore &typed, FieldId field) {
        return !calculated(operation, typed).isBlank(field);
    };
    std::vector<FieldId> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    FieldStore page(count);
    for (FieldId field : order) {
        if (!fills(page, field))
            page.setText(field, randomText(units[static_cast<std::size_t>(field)], random));
    }
    // Dropping one can change which rule of a group the solve reaches first, and so what the
    // others give.
    for (bool dropped = true; dropped;) {
        dropped = false;
        for (FieldId field : order) {
            FieldStore without = page;
            without.setText(field, "");
            if (!page.isBlank(field) && fills(without, field)) {
                page = without;
                dropped = true;
            }
        }
    }
    return page;
}

// Random texts make pages no cutter can cut, whose relations need not hold: a milling cutter in
// contact over more than half its turn, or with more teeth engaged than it has, or none, where
// what follows from the count is nothing whatever the rest says.
inline bool cuttable(const OperationDefinition &operation, const FieldStore &page)
{
    auto number = [&](std::string_view name) {
        return strictToNumber(page.text(fieldNamed(operation, name))).value_or(0);
    };
    if (operation.name == "milling" &&
        !(number("txtcangle") <= 180 && number("txtnote") <= number("txtnot") &&
          number("txtnote") >= 1))
        return false;
    return true;
}

} // namespace zorvik::test
