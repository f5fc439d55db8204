// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/materialsolve.h"

#include "solver/solve.h"

#include <algorithm>
#include <charconv>

namespace zorvik {

namespace {

std::string groupWords(const materials::MaterialGroup &group)
{
    return "group " + std::to_string(group.number) + " (" + materials::groupName(group) + ")";
}

// A cell of any length is named by its start.
std::string quotedStart(std::string_view text)
{
    constexpr std::size_t shown = 20;
    return '\'' + std::string(text.substr(0, shown)) + (text.size() > shown ? "…'" : "'");
}

} // namespace

MaterialNamed materialNamed(std::string_view text)
{
    if (text.empty())
        return {};
    int number = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
    const materials::MaterialGroup *group = fault == std::errc() && end == text.data() + text.size()
                                                ? materials::findMaterialGroup(number)
                                                : nullptr;
    if (!group)
        return {nullptr, quotedStart(text) +
                             " is no material group: give a group number from 1 "
                             "to " +
                             std::to_string(materials::materialGroups().size()) +
                             " (zorvik-solve --materials lists them)"};
    if (!group->choosable())
        return {nullptr, "material " + groupWords(*group) +
                             " has no published cutting-force constants; choose another group"};
    return {group, {}};
}

std::optional<std::string> readMaterial(std::string_view text, const OperationDefinition &operation,
                                        const materials::MaterialGroup *&material)
{
    const MaterialNamed named = materialNamed(text);
    if (material)
        return "--material is given more than once";
    if (!named.group)
        return named.error.empty()
                   ? "--material wants a group number (zorvik-solve --materials lists them)"
                   : "--material takes a group: " + named.error;
    if (!materialFields(operation))
        return "--material is for an operation with a specific cutting force; " +
               std::string(operation.name) + " has none";
    material = named.group;
    return std::nullopt;
}

MaterialSolve solveWithMaterial(const PreparedList &list, const OperationDefinition &operation,
                                const Captions &captions, const materials::MaterialGroup &group,
                                FieldStore &store, const SolveTrace &trace, bool record,
                                bool keepTexts)
{
    const FieldId kc = materialFields(operation)->kc;
    const std::string &caption = captions[static_cast<std::size_t>(kc)];
    MaterialSolve result;
    result.first.keepTexts = keepTexts;
    result.second.keepTexts = keepTexts;
    const bool given = !store.isBlank(kc);
    solve(list, store, trace, record ? &result.first : nullptr);
    if (record)
        result.afterFirst = store;
    if (given || !store.isBlank(kc)) {
        result.note = "Material " + groupWords(group) + " was not used: " +
                      (given ? "the page gives " + caption + " itself."
                             : "the solve found " + caption + " from the page.");
        return result;
    }
    const MaterialForce force = materialForce(group, pageChipThickness(operation, store, captions));
    if (!force.text) {
        result.note = "Material " + groupWords(group) + " gave no specific cutting force.\n" +
                      force.explanation;
        return result;
    }
    store.setText(kc, *force.text);
    if (trace)
        trace(0, "material", kc, *force.text);
    solve(list, store, trace, record ? &result.second : nullptr);
    result.kc = force.text;
    result.note = force.explanation +
                  "\nSet once a first solve had the chip thickness; a second solve went on from "
                  "the page with it.";
    return result;
}

std::vector<FieldExplanation> explainWithMaterial(const OperationDefinition &operation,
                                                  const Captions &captions,
                                                  const MaterialSolve &solved,
                                                  const FieldStore &store,
                                                  const std::vector<bool> &defaults)
{
    const RelationList &list = operation.relations;
    const auto kc = static_cast<std::size_t>(materialFields(operation)->kc);
    std::vector<FieldExplanation> first =
        explainSolve(list, captions, solved.first, solved.afterFirst, defaults, operation.units());
    if (!solved.kc) {
        first[kc].text += "\n" + solved.note;
        return first;
    }
    std::vector<FieldExplanation> explanations =
        explainSolve(list, captions, solved.second, store, defaults, operation.units());
    for (std::size_t i = 0; i < explanations.size(); ++i) {
        if (first[i].written) {
            explanations[i] = first[i];
        } else if (explanations[i].written) {
            std::string &text = explanations[i].text;
            text.insert(std::min(text.find('\n'), text.size()),
                        "\nIn the second solve, after the specific cutting force was set from "
                        "the material:");
        }
    }
    explanations[kc] = {true, *solved.kc + "\n" + solved.note};
    return explanations;
}

namespace {
constexpr std::string_view materialColumn = "material";
} // namespace

BatchMaterials::BatchMaterials(const OperationDefinition &operation, const CsvBatchOptions &options)
    : m_operation(operation), m_options(options),
      m_takesColumn(materialFields(operation).has_value() &&
                    std::find(options.keep.begin(), options.keep.end(), materialColumn) ==
                        options.keep.end())
{}

const CsvBatchOptions &BatchMaterials::headerOptions(const std::vector<std::string> &titles,
                                                     std::size_t count)
{
    const auto end = titles.begin() + static_cast<std::ptrdiff_t>(std::min(count, titles.size()));
    if (!m_takesColumn || std::find(titles.begin(), end, materialColumn) == end)
        return m_options;
    m_withColumn = m_options;
    m_withColumn.keep.emplace_back(materialColumn);
    return m_withColumn;
}

void BatchMaterials::headerRead(const std::vector<std::string> &keptTitles)
{
    if (!materialFields(m_operation))
        return;
    for (std::size_t i = 0; i < keptTitles.size(); ++i) {
        if (keptTitles[i] == materialColumn)
            m_cell = i;
    }
}

std::string BatchMaterials::solveRow(const PreparedList &list, const Captions &captions,
                                     const std::string *kept, FieldStore &store,
                                     const ConsistencyCheck *check,
                                     std::vector<Disagreement> *disagreements) const
{
    const materials::MaterialGroup *group = m_options.material;
    MaterialNamed named;
    if (m_cell) {
        named = materialNamed(kept[*m_cell]);
        group = named.group ? named.group : group;
    }
    const bool checked = check && disagreements;
    if (group) {
        const MaterialSolve solved =
            solveWithMaterial(list, m_operation, captions, *group, store, {}, checked, false);
        if (checked)
            *disagreements = check->check(
                store, std::vector<const SolveRecord *>{&solved.first, &solved.second});
    } else if (checked) {
        // A batch solves row after row on each thread: the record keeps its room.
        thread_local SolveRecord solved;
        solved.keepTexts = false;
        solve(list, store, {}, &solved);
        *disagreements = check->check(store, std::vector<const SolveRecord *>{&solved});
    } else {
        solve(list, store);
    }
    return named.error;
}

} // namespace zorvik
