// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/startingdata.h"

#include "solver/conversions.h"

#include <algorithm>

namespace zorvik {

namespace {

using cuttingdata::Entry;
using cuttingdata::MaterialRow;
using cuttingdata::Range;
using cuttingdata::Tool;

std::string groupWords(const materials::MaterialGroup &group)
{
    return "group " + std::to_string(group.number) + " (" + materials::groupName(group) + ")";
}

std::string rowWords(const MaterialRow &row, const Entry &entry)
{
    std::string groups = std::to_string(row.firstGroup);
    if (row.lastGroup != row.firstGroup)
        groups += "–" + std::to_string(row.lastGroup);
    std::string words = "table row " + std::string(1, row.isoClass) + " " + groups + " \"" +
                        std::string(row.material) + "\", " +
                        std::string(cuttingdata::processName(entry.process)) + ", " +
                        std::string(cuttingdata::toolName(entry.tool));
    if (!entry.sources.empty())
        words += "; sources " + std::string(entry.sources);
    if (!entry.note.empty())
        words += "; " + std::string(entry.note);
    return words;
}

std::string rangeWords(const Range &range, std::string_view unit)
{
    return numberToText(range.low) + " to " + numberToText(range.high) + " " + std::string(unit);
}

struct Found {
    const MaterialRow *row = nullptr;
    const Entry *entry = nullptr;
    std::string why; // without an entry
};

Found entryOf(const StartingFields &fields, const materials::MaterialGroup &group, Tool tool)
{
    const MaterialRow *row = cuttingdata::rowForGroup(group.number);
    if (!row)
        return {nullptr, nullptr,
                "The cutting-data table has no row for material " + groupWords(group) + "."};
    return {row, cuttingdata::entryFor(*row, fields.process, tool), {}};
}

std::string forWhat(const materials::MaterialGroup &group, const StartingFields &fields, Tool tool)
{
    return "material " + groupWords(group) + ", " +
           std::string(cuttingdata::processName(fields.process)) + " with " +
           std::string(cuttingdata::toolName(tool)) + " tools";
}

std::string noFigure(std::string_view what, const materials::MaterialGroup &group,
                     const StartingFields &fields, Tool tool, const Found &found)
{
    const bool noted = found.entry && !found.entry->note.empty();
    return "The cutting-data table has no " + std::string(what) + " for " +
           forWhat(group, fields, tool) + ": " +
           (noted ? std::string(found.entry->note) : "no public figure was found") +
           ". Nothing was entered.";
}

constexpr std::string_view sameForBoth =
    "Roughing and finishing alike start from it; adjust from the first cut.";

// The tool diameter the page gives, and the field it is in.
struct Diameter {
    std::optional<double> millimetres;
    FieldId field = -1;
};

Diameter toolDiameter(const OperationDefinition &operation, const FieldStore &page)
{
    Diameter found;
    for (std::string_view name : operation.starting->diameters) {
        if (name.empty())
            continue;
        const FieldId field = operation.relations.fieldId(name);
        if (found.field < 0)
            found.field = field;
        if (std::optional<double> d = strictToNumber(page.text(field)); d && *d > 0)
            return {d, field};
    }
    return found;
}

} // namespace

namespace {

// The entry's range for the field, and the value to fill; without a range, the value says why.
struct Lookup {
    StartingValue value;
    Found found;
    const Range *range = nullptr;
};

Lookup lookUp(const OperationDefinition &operation, std::string_view field, Range Entry::*range,
              std::string_view what, const materials::MaterialGroup &group, Tool tool)
{
    const StartingFields &fields = *operation.starting;
    Lookup lookup{{operation.relations.fieldId(field), std::nullopt, {}},
                  entryOf(fields, group, tool)};
    const Found &found = lookup.found;
    if (found.entry && (found.entry->*range).known())
        lookup.range = &(found.entry->*range);
    else
        lookup.value.explanation =
            found.why.empty() ? noFigure(what, group, fields, tool, found) : found.why;
    return lookup;
}

} // namespace

std::optional<StartingValue> startingSpeed(const OperationDefinition &operation,
                                           [[maybe_unused]] const FieldStore &page,
                                           const materials::MaterialGroup &group, Tool tool)
{
    if (!operation.starting)
        return std::nullopt;
    Lookup lookup =
        lookUp(operation, operation.starting->speed, &Entry::speed, "cutting speed", group, tool);
    if (!lookup.range)
        return lookup.value;
    StartingValue &value = lookup.value;
    value.text = numberToText(lookup.range->low);
    value.explanation = "Starting cutting speed for " + forWhat(group, *operation.starting, tool) +
                        ": the low end of " + rangeWords(*lookup.range, "m/min") + " (" +
                        rowWords(*lookup.found.row, *lookup.found.entry) + "). " +
                        std::string(sameForBoth);
    return value;
}

std::optional<StartingValue> startingFeed(const OperationDefinition &operation,
                                          const FieldStore &page,
                                          const materials::MaterialGroup &group, Tool tool)
{
    if (!operation.starting)
        return std::nullopt;
    const StartingFields &fields = *operation.starting;
    Lookup lookup = lookUp(operation, fields.feed, &Entry::feed, "feed", group, tool);
    if (!lookup.range)
        return lookup.value;
    StartingValue &value = lookup.value;
    const Found &found = lookup.found;
    const Range &feed = *lookup.range;
    const double middle = (feed.low + feed.high) / 2;
    const std::string source = " (" + rowWords(*found.row, *found.entry) + "). ";
    const std::string perWhat(fields.feedUnit);
    if (fields.diameters.front().empty()) {
        value.text = numberToText(middle);
        value.explanation = "Starting feed for " + forWhat(group, fields, tool) +
                            ": the middle of " + rangeWords(feed, perWhat) + source +
                            std::string(sameForBoth);
        return value;
    }
    const std::string toolWord(fields.tool);
    const Diameter diameter = toolDiameter(operation, page);
    const std::string factor =
        "c = " + rangeWords(feed, perWhat + " per mm of " + toolWord + " diameter");
    if (!diameter.millimetres) {
        value.explanation = "Starting feed for " + forWhat(group, fields, tool) + ": " + factor +
                            source + "Type the " + toolWord +
                            " diameter first: the feed is c × D. Nothing was entered.";
        return value;
    }
    double d = *diameter.millimetres;
    std::string dWords = "D = " + numberToText(d) + " mm";
    if (fields.largestTool && d > *fields.largestTool) {
        d = *fields.largestTool;
        dWords = "D = " + numberToText(d) + " mm (the table is for solid " + toolWord + "s up to " +
                 numberToText(d) + " mm; for this " + numberToText(*diameter.millimetres) + " mm " +
                 toolWord + " the feed at " + numberToText(d) + " mm is taken)";
    }
    value.text = numberToText(middle * d);
    value.explanation = "Starting feed for " + forWhat(group, fields, tool) + ": the middle of " +
                        factor + ", " + numberToText(middle) + ", × " + dWords + " = " +
                        *value.text + " " + perWhat + source + std::string(sameForBoth);
    return value;
}

StartingData setStartingData(const OperationDefinition &operation, FieldStore &page,
                             const materials::MaterialGroup &group, Tool tool)
{
    StartingData data;
    for (auto find : {startingSpeed, startingFeed}) {
        std::optional<StartingValue> value = find(operation, page, group, tool);
        if (!value || !page.isBlank(value->field))
            continue;
        if (value->text) {
            page.setText(value->field, *value->text);
            data.set.push_back(std::move(*value));
        } else {
            data.notes.push_back(std::move(value->explanation));
        }
    }
    return data;
}

} // namespace zorvik
