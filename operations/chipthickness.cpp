// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/chipthickness.h"

#include "solver/conversions.h"
#include "solver/solve.h"
#include "solver/texts.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace zorvik {

namespace {

// A text as an explanation quotes it: a long one by its start and length.
std::string quoted(const std::string &text, const std::string &caption)
{
    const std::string shown = linesOf(explainGiven(text, caption, false)).front();
    return shown == text ? '"' + text + '"' : shown;
}

// Why the blank thickness stayed blank, rule by rule, leaving out the rules that read the
// specific cutting force: they would ask for what the thickness is wanted for.
std::string whatFillsIt(const RelationList &list, const Captions &captions,
                        const SolveRecord &record, const FieldStore &solved, FieldId kc,
                        FieldId thickness)
{
    std::vector<RuleAttempt> kept;
    for (const RuleAttempt &attempt : whyBlank(list, record, solved, thickness).attempts) {
        const std::vector<FieldId> &guard = attempt.rule->guard;
        if (attempt.prePass || std::find(guard.begin(), guard.end(), kc) == guard.end())
            kept.push_back(attempt);
    }
    return joined(attemptLines(list, captions, record, solved, kept), "\n");
}

// The page the chip thickness is read from: the page itself while it holds one, or else the page
// solved with the specific cutting force left out, as that is what the thickness is wanted for.
FieldStore thicknessPage(const PreparedList &list, const MaterialFields &fields,
                         const FieldStore &page, SolveRecord *record = nullptr)
{
    FieldStore solved = page;
    if (page.isBlank(fields.thickness)) {
        solved.setText(fields.kc, "");
        solve(list, solved, {}, record);
    }
    return solved;
}

} // namespace

std::optional<MaterialFields> materialFields(const OperationDefinition &operation)
{
    if (operation.material.kc.empty())
        return std::nullopt;
    // A misspelt name in the operations table stops here, naming it.
    const auto field = [&operation](std::string_view name) {
        const FieldId id = operation.relations.fieldId(name);
        if (id < 0)
            throw std::logic_error("operation " + std::string(operation.name) +
                                   ": no material field " + std::string(name));
        return id;
    };
    return MaterialFields{field(operation.material.kc), field(operation.material.chipThickness)};
}

PageChipThickness pageChipThickness(const OperationDefinition &operation, const FieldStore &page,
                                    const Captions &captions)
{
    const std::optional<MaterialFields> fields = materialFields(operation);
    if (!fields)
        return {std::nullopt, "This page has no specific cutting force."};
    const std::string &caption = captions[static_cast<std::size_t>(fields->thickness)];
    const std::string &own = page.text(fields->thickness);
    if (!own.empty()) {
        const std::optional<double> value = strictToNumber(own);
        if (value && *value > 0) {
            const std::string held = "h = " + caption + " = " + own + ", as the page holds it.";
            return {value, held, held};
        }
        return {std::nullopt, caption + " holds " + quoted(own, caption) +
                                  ", which is no chip thickness above 0 mm: type one there first."};
    }

    const RelationList &list = operation.relations;
    SolveRecord record;
    const FieldStore solved = thicknessPage(PreparedList(list), *fields, page, &record);
    const std::string &found = solved.text(fields->thickness);
    if (!found.empty()) {
        const std::string how = explainSolve(list, captions, record,
                                             solved)[static_cast<std::size_t>(fields->thickness)]
                                    .how;
        const std::optional<double> value = strictToNumber(found);
        const std::string finds =
            "h = " + caption + " = " + found + ", as Calculate finds it from the page";
        if (value && *value > 0)
            return {value, finds + ":\n" + how, finds + "."};
        return {std::nullopt, "Calculate finds " + caption + " = " + found +
                                  " from the page, which is no chip thickness above 0 mm:\n" + how};
    }
    const std::string fills =
        whatFillsIt(list, captions, record, solved, fields->kc, fields->thickness);
    return {std::nullopt,
            "The page has no chip thickness yet: type " + caption +
                (fills.empty() ? " first." : ", or what Calculate finds it from:\n" + fills)};
}

MaterialForce materialForce(const materials::MaterialGroup &group,
                            const PageChipThickness &thickness, bool atOneMillimetre)
{
    const std::string name =
        "Material group " + std::to_string(group.number) + " (" + materials::groupName(group) + ")";
    auto none = [](std::string why, std::string summary) {
        return MaterialForce{std::nullopt, std::move(why), std::move(summary)};
    };
    if (!group.choosable()) {
        const std::string why =
            name + " has no published cutting-force constants: choose another group.";
        return none(why, why);
    }
    if (!atOneMillimetre && !thickness.millimetres)
        return none(thickness.text, thickness.summary);
    const double h = atOneMillimetre ? 1.0 : *thickness.millimetres;
    const Num kc = materials::specificCuttingForce(group, h);
    if (!kc.ok()) {
        const std::string why = name +
                                " gives no specific cutting force at h = " + numberToText(h) +
                                " mm: kc = kc1 × h^−mc overflows.";
        return none(why, why);
    }
    const std::string how = atOneMillimetre
                                ? "h = 1 mm, as asked: kc1 is the force on 1 mm² of chip 1 mm "
                                  "thick, and the page's own chip thickness is not used."
                                : thickness.text;
    const std::string from = materials::fromGroupText(group, h);
    return {numberToText(kc.value()), from + "\n" + how, from};
}

void solveWithGroupForce(const PreparedList &list, const OperationDefinition &operation,
                         const materials::MaterialGroup &group, FieldStore &page)
{
    const MaterialFields fields = *materialFields(operation);
    std::optional<double> h =
        strictToNumber(thicknessPage(list, fields, page).text(fields.thickness));
    if (h && !(*h > 0))
        h.reset();
    if (const MaterialForce force = materialForce(group, {h, {}}); force.text)
        page.setText(fields.kc, *force.text);
    solve(list, page);
}

} // namespace zorvik
