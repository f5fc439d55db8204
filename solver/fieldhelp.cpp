// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/fieldhelp.h"

#include "solver/conversions.h"
#include "solver/provenance.h"
#include "solver/texts.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zorvik {

std::vector<FieldHelpEntry> helpByField(const RelationList &list,
                                        const std::vector<FieldHelpEntry> &table)
{
    std::vector<FieldHelpEntry> byField(list.fields.size());
    for (const FieldHelpEntry &entry : table) {
        const FieldId field = list.fieldId(entry.field);
        if (field < 0)
            throw std::logic_error("field help names " + std::string(entry.field) +
                                   ", which its list does not have");
        FieldHelpEntry &slot = byField[static_cast<std::size_t>(field)];
        if (!slot.field.empty())
            throw std::logic_error("field help has two entries for " + std::string(entry.field));
        if (entry.unit.empty() || entry.description.empty())
            throw std::logic_error("field help for " + std::string(entry.field) +
                                   " lacks its unit or its description");
        slot = entry;
    }
    for (std::size_t field = 0; field < byField.size(); ++field) {
        if (byField[field].field.empty())
            throw std::logic_error("field help has no entry for " +
                                   std::string(list.fields[field]));
    }
    return byField;
}

std::string fieldHelpText(const RelationList &list, const Captions &captions,
                          const std::vector<FieldHelpEntry> &help, FieldId field)
{
    const auto index = static_cast<std::size_t>(field);
    // The results in the window's order, each once.
    std::vector<bool> leadsTo(list.fields.size());
    auto visit = [&](const Rule &rule) {
        const std::vector<FieldId> sources = ruleSources(list, rule);
        if (std::find(sources.begin(), sources.end(), field) != sources.end())
            leadsTo[static_cast<std::size_t>(rule.target)] = true;
    };
    for (const Rule &rule : list.prePass)
        visit(rule);
    for (const RuleGroup &group : list.groups)
        std::for_each(group.begin(), group.end(), visit);
    for (const PassCopy &copy : list.endOfPass) {
        if (copy.source == field)
            leadsTo[static_cast<std::size_t>(copy.target)] = true;
    }
    std::vector<std::string> results;
    for (std::size_t target = 0; target < leadsTo.size(); ++target) {
        if (leadsTo[target] && target != index)
            results.push_back(captions.name(static_cast<FieldId>(target)));
    }
    const FieldHelpEntry &entry = help.at(index);
    return captions.name(field) + ": " + std::string(entry.description) +
           "\nUnit: " + std::string(entry.unit) + "." +
           (results.empty() ? "\nNo rule reads it."
                            : "\nLeads to " + joined(results, ", ", " and ") + ".");
}

namespace {

// "2:11 min:s": whole seconds, as a stopwatch shows them.
std::string minutesAndSeconds(double minutes)
{
    const double seconds = std::round(std::fabs(minutes) * 60);
    const double whole = std::floor(seconds / 60);
    const double rest = seconds - whole * 60;
    std::string text = (minutes < 0 ? "-" : "") + numberToText(whole) + ":";
    if (rest < 10)
        text += '0';
    return text + numberToText(rest) + " min:s";
}

} // namespace

std::string readingNumber(double value)
{
    if (!std::isfinite(value))
        return "not a finite number";
    const double rounded = roundedToSignificant(value, 4);
    const double magnitude = std::fabs(rounded);
    if (magnitude != 0 && (magnitude >= 1e15 || magnitude < 1e-4))
        return numberToText(rounded);
    std::string text = numberToText(rounded);
    const std::size_t start = text.front() == '-' ? 1 : 0;
    const std::size_t point = std::min(text.find('.'), text.size());
    if (point - start > 4) {
        for (std::size_t at = point; at > start + 3; at -= 3)
            text.insert(at - 3, " ");
    }
    return text;
}

std::string readingText(double value, std::string_view unit)
{
    std::string text = readingNumber(value);
    if (!std::isfinite(value) || unit == "ratio" || unit == "count" || unit.empty())
        return text;
    (text += ' ') += unit;
    if (unit == "min" && std::fabs(value) < 1e9)
        text += " (" + minutesAndSeconds(value) + ")";
    else if (unit == "W" && std::fabs(roundedToSignificant(value, 4)) >= 1000)
        text += " (" + readingNumber(value / 1000) + " kW)";
    return text;
}

} // namespace zorvik
