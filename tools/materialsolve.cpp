// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/materialsolve.h"

#include "operations/startingdata.h"
#include "solver/quotedtext.h"
#include "solver/solve.h"
#include "tools/csvheader.h"
#include "wording/wording.h"

#include <algorithm>
#include <charconv>

namespace zorvik {

namespace {

std::string groupWords(const materials::MaterialGroup &group)
{
    return "group " + std::to_string(group.number) + " (" + materials::groupName(group) + ")";
}

std::string withoutConstants(const materials::MaterialGroup &group)
{
    return "material " + groupWords(group) +
           " has no published cutting-force constants; choose another group";
}

} // namespace

// The starting data go in first, as they did for the solve: a speed set from them is the
// user's to move as if typed.
std::vector<std::string> machineWarnings(const Machine &machine, const PreparedList &list,
                                         const OperationDefinition &operation,
                                         const Captions &captions, const FieldStore &typed,
                                         const FieldStore &page,
                                         const materials::MaterialGroup *group,
                                         std::optional<cuttingdata::Tool> tool)
{
    FieldStore inputs = typed;
    if (group && tool && operation.starting)
        setStartingData(operation, inputs, *group, *tool);
    const PageInputs given{inputs, [&](FieldStore &moved) {
                               solveForMaterial(list, operation, captions, group, std::nullopt,
                                                moved);
                           }};
    std::vector<std::string> warnings;
    for (const Exceedance &beyond : checkMachine(machine, operation, page, &given))
        warnings.push_back(
            std::string(operation.relations.fields[static_cast<std::size_t>(beyond.field)]) + ": " +
            wording(beyond, operation, captions));
    return warnings;
}

MaterialNamed materialNamed(std::string_view text)
{
    if (text.empty())
        return {};
    const materials::NamedGroup named = materials::groupNamed(text);
    if (!named.group)
        return {nullptr, wording(*named.error)};
    if (!named.group->choosable())
        return {nullptr, withoutConstants(*named.group)};
    return {named.group, {}};
}

std::optional<std::string> readMaterial(std::string_view text,
                                        const materials::MaterialGroup *&material)
{
    const MaterialNamed named = materialNamed(text);
    if (material)
        return "--material is given more than once";
    if (!named.group)
        return named.error.empty() ? "--material wants a group number or a designation "
                                     "(zorvik-solve --materials lists them)"
                                   : "--material takes a group: " + named.error;
    material = named.group;
    return std::nullopt;
}

std::optional<std::string> materialUse(const OperationDefinition &operation,
                                       std::optional<cuttingdata::Tool> tool)
{
    if (tool && !operation.starting)
        return "--tool is for an operation with starting cutting data; " +
               std::string(operation.name) + " has none";
    if (!tool && !materialFields(operation))
        return "--material is for an operation with a specific cutting force; " +
               std::string(operation.name) +
               " has none (with --tool it sets the starting speed "
               "and feed)";
    return std::nullopt;
}

std::vector<std::string>
solveForMaterial(const PreparedList &list, const OperationDefinition &operation,
                 const Captions &captions, const materials::MaterialGroup *group,
                 std::optional<cuttingdata::Tool> tool, FieldStore &store,
                 const ConsistencyCheck *check, std::vector<Disagreement> *disagreements)
{
    std::vector<std::string> notes;
    if (group && tool && operation.starting)
        notes = setStartingData(operation, store, *group, *tool).notes;
    const bool checked = check && disagreements;
    if (group && group->choosable() && materialFields(operation)) {
        const MaterialSolve solved =
            solveWithMaterial(list, operation, captions, *group, store, {}, checked, false);
        if (checked)
            *disagreements = check->check(store, {&solved.first, &solved.second});
    } else if (checked) {
        // A batch solves row after row on each thread: the record keeps its room.
        thread_local SolveRecord solved;
        solved.keepTexts = false;
        solve(list, store, {}, &solved);
        *disagreements = check->check(store, {&solved});
    } else {
        solve(list, store);
    }
    return notes;
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
        explainSolve(list, captions, solved.second, store, defaults, operation.units(),
                     "In the second solve, after the specific cutting force was set from the "
                     "material:");
    for (std::size_t i = 0; i < explanations.size(); ++i) {
        if (first[i].written)
            explanations[i] = first[i];
    }
    explanations[kc] = {true, *solved.kc + "\n" + solved.note};
    return explanations;
}

namespace {
constexpr std::string_view materialColumn = "material";
constexpr std::string_view toolColumn = "tool";
} // namespace

BatchMaterials::BatchMaterials(const OperationDefinition &operation, const CsvBatchOptions &options)
    : m_operation(operation), m_options(options)
{
    auto takes = [&](std::string_view column, bool used) {
        if (used &&
            std::find(options.keep.begin(), options.keep.end(), column) == options.keep.end())
            m_columns.emplace_back(column);
    };
    takes(materialColumn, materialFields(operation) || operation.starting);
    takes(toolColumn, operation.starting.has_value());
}

// The column is named as people type it: "Material", "material:".
const CsvBatchOptions &BatchMaterials::headerOptions(std::span<const std::string_view> titles,
                                                     std::size_t count)
{
    const auto end = titles.begin() + static_cast<std::ptrdiff_t>(std::min(count, titles.size()));
    m_withColumn = m_options;
    for (const std::string &column : m_columns) {
        const auto title = std::find_if(titles.begin(), end, [&column](std::string_view t) {
            return reducedTitle(t) == column;
        });
        if (title != end)
            m_withColumn.keep.emplace_back(*title);
    }
    return m_withColumn;
}

void BatchMaterials::headerRead(const std::vector<std::string> &keptTitles)
{
    for (std::size_t i = 0; i < keptTitles.size(); ++i) {
        const std::string title = reducedTitle(keptTitles[i]);
        if (title == materialColumn && (materialFields(m_operation) || m_operation.starting))
            m_cell = i;
        if (title == toolColumn && m_operation.starting)
            m_toolCell = i;
    }
}

std::vector<std::string> BatchMaterials::solveRow(const PreparedList &list,
                                                  const Captions &captions, const std::string *kept,
                                                  FieldStore &store, const ConsistencyCheck *check,
                                                  std::vector<Disagreement> *disagreements) const
{
    std::vector<std::string> warnings;
    const materials::MaterialGroup *group = m_options.material;
    if (m_cell && !kept[*m_cell].empty()) {
        // A cell that names no group is solved without one, not with --material's.
        const materials::NamedGroup named = materials::groupNamed(kept[*m_cell]);
        group = named.group;
        if (!named.group)
            warnings.push_back("material: " + wording(*named.error));
    }
    std::optional<cuttingdata::Tool> tool = m_options.tool;
    if (m_toolCell && !kept[*m_toolCell].empty()) {
        tool = cuttingdata::toolNamed(kept[*m_toolCell]);
        if (!tool)
            warnings.push_back("tool: " + quotedText(kept[*m_toolCell], 20) +
                               " is no tool material: give hss or carbide");
    }
    if (group && !tool && !materialFields(m_operation)) {
        // Only starting data could come of it, and that needs the tool material.
        if (m_cell && !kept[*m_cell].empty())
            warnings.push_back("material: " + std::string(m_operation.name) +
                               " has no specific cutting force; a material sets only the "
                               "starting speed and feed here, with a tool column or --tool");
        group = nullptr;
    }
    if (group && !group->choosable() && !tool) {
        warnings.push_back("material: " + withoutConstants(*group));
        group = nullptr;
    }
    std::optional<FieldStore> typed;
    if (m_options.machine)
        typed = store;
    for (std::string &note :
         solveForMaterial(list, m_operation, captions, group, tool, store, check, disagreements))
        warnings.push_back(std::move(note));
    if (m_options.machine) {
        for (std::string &beyond : machineWarnings(*m_options.machine, list, m_operation, captions,
                                                   *typed, store, group, tool))
            warnings.push_back(std::move(beyond));
    }
    return warnings;
}

} // namespace zorvik
