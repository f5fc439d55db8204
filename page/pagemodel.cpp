// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/pagemodel.h"

#include "page/pagecheck.h"
#include "solver/conversions.h"
#include "solver/fieldhelp.h"
#include "solver/preparedlist.h"
#include "solver/solve.h"
#include "wording/wording.h"

#include <algorithm>

namespace zorvik {

namespace {

// Per field id, what the field is, its unit and what it leads to.
std::vector<std::string> helpTexts(const OperationDefinition &operation, const Captions &captions)
{
    const std::vector<FieldHelpEntry> help = operation.fieldHelp();
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < captions.size(); ++i)
        texts.push_back(
            fieldHelpText(operation.relations, captions, help, static_cast<FieldId>(i)));
    return texts;
}

FieldId forceField(const OperationDefinition &operation)
{
    return materialFields(operation).value_or(MaterialFields{-1, -1}).kc;
}

} // namespace

std::string materialName(const materials::MaterialGroup &group, const std::string &designation)
{
    return (designation.empty() ? "" : designation + ", ") + "group " +
           std::to_string(group.number) + " (" + materials::groupName(group) + ")";
}

PageModel::PageModel(const OperationDefinition &operation, const Captions &captions,
                     const ConsistencyCheck &check)
    : m_operation(&operation), m_captions(&captions), m_check(&check), m_units(operation.units()), m_texts(captions.size()),
      m_results(operation.relations, captions, helpTexts(operation, captions),
                {m_units.begin(), m_units.end()}),
      m_disagreements(captions.size()), m_notANumber(captions.size())
{
    open(m_texts);
}

void PageModel::open(const FieldStore &texts)
{
    m_texts = texts;
    m_results.clear(m_texts.texts());
    m_beforeRecalculate.reset();
    m_notANumber.assign(m_notANumber.size(), false);
    m_disagreements.assign(m_disagreements.size(), {});
    m_material.reset();
    m_startGroup = nullptr;
    m_startTool.reset();
}

void PageModel::edit(FieldId id, const std::string &text)
{
    m_beforeRecalculate.reset();
    m_texts.setText(id, text);
    m_results.edited(id, text);
    if (text.empty() || strictToNumber(text))
        m_notANumber.at(std::size_t(id)) = false;
    m_disagreements.at(std::size_t(id)).clear();
    if (id == forceField(*m_operation))
        m_material.reset();
}

void PageModel::left(FieldId id)
{
    const std::string &text = m_texts.text(id);
    if (!text.empty() && !strictToNumber(text))
        m_notANumber.at(std::size_t(id)) = true;
}

void PageModel::calculate()
{
    const FieldStore &given = m_texts;
    std::vector<bool> defaults(given.size(), false);
    for (const auto &[id, text] : m_operation->defaults) {
        defaults[static_cast<std::size_t>(id)] =
            !m_results.changed(id) && given.text(id) == std::string_view(text);
    }
    FieldStore solved = given;
    SolveRecord record;
    if (!solve(m_operation->relations, solved, {}, &record))
        return;
    const std::vector<FieldExplanation> explanations =
        explainSolve(m_operation->relations, *m_captions, record, solved, defaults);
    m_texts = solved;
    m_results.solved(m_check->sources(), record, explanations, solved.texts());
    m_beforeRecalculate.reset();
    flagNonNumbers();
    checkConsistency(solved);
}

// A force taken from a material follows its page like a result: out of date, or another than
// the page now gives (one imported while the page gave no chip thickness), it is taken again
// from the same group at the chip thickness the page now gives, before the solve reads it.
void PageModel::recalculate()
{
    Before before{m_texts, m_results, m_disagreements};
    for (FieldId id : before.results.results())
        m_texts.setText(id, "");
    if (const std::optional<MaterialFields> material = materialFields(*m_operation);
        material && m_material) {
        const MaterialForce force = forceFrom(*m_material);
        if (force.text &&
            (m_results.outOfDate(material->kc) || *force.text != m_texts.text(material->kc)))
            takeForce(*m_material, force);
    }
    calculate();
    m_beforeRecalculate = std::move(before);
}

bool PageModel::undoRecalculate()
{
    if (!m_beforeRecalculate)
        return false;
    m_texts = m_beforeRecalculate->texts;
    m_results = m_beforeRecalculate->results;
    m_disagreements = m_beforeRecalculate->disagreements;
    m_beforeRecalculate.reset();
    return true;
}

PageChipThickness PageModel::chipThickness() const
{
    return pageChipThickness(*m_operation, m_texts, *m_captions);
}

void PageModel::tookMaterial(PageMaterial material, const MaterialForce &force)
{
    m_material = std::move(material);
    enterForce(force);
}

void PageModel::tookStart(const StartingValue &start, const materials::MaterialGroup *group,
                          std::optional<cuttingdata::Tool> tool)
{
    m_startGroup = group;
    m_startTool = tool;
    m_results.entered(start.field,
                      start.text.value_or("") + "\n" + start.explanation +
                          "\nEntered from the cutting-data table; Ctrl+Z takes it back.",
                      {});
}

MaterialForce PageModel::forceFrom(const PageMaterial &material) const
{
    return materialForce(*material.group, chipThickness(), material.atOneMillimetre);
}

// Writing the field is an edit, which forgets the material the text it replaces came from.
void PageModel::takeForce(PageMaterial material, const MaterialForce &force)
{
    edit(forceField(*m_operation), *force.text);
    m_material = std::move(material);
    enterForce(force);
}

// At 1 mm the force reads nothing of the page; otherwise it follows what the thickness was
// found from.
void PageModel::enterForce(const MaterialForce &force)
{
    const MaterialFields material = *materialFields(*m_operation);
    std::vector<FieldId> sources;
    if (!m_material->atOneMillimetre)
        sources = givenSources(m_operation->relations, m_check->sources(), m_texts, material.thickness,
                               material.kc);
    const std::string use = readsForce()
                                ? "The solve reads it and never changes it."
                                : "No rule of this page reads it: it is kept for the record only.";
    m_results.entered(material.kc,
                      *force.text + "\n" + force.explanation +
                          "\nEntered from the material table; Ctrl+Z takes it back. " + use,
                      sources);
}

bool PageModel::readsForce() const
{
    const FieldId kc = forceField(*m_operation);
    if (kc < 0)
        return false;
    for (const RuleGroup &group : m_operation->relations.groups) {
        for (const Rule &rule : group) {
            const std::vector<FieldId> &read = m_check->sources().of(rule);
            if (std::find(read.begin(), read.end(), kc) != read.end())
                return true;
        }
    }
    return false;
}

// The texts go in first, so that each imported result follows the page as Import leaves it. A
// force the other page took from a material is taken from it again at this page's chip
// thickness, as Recalculate takes it: copied, it would be the other page's force, and typed.
void PageModel::importFrom(const PageModel &other, const std::string &caption)
{
    const std::optional<MaterialFields> material = materialFields(*m_operation);
    const bool retake = material && other.m_material && m_texts.text(material->kc).empty();
    std::vector<FieldId> imported;
    for (std::size_t i = 0; i < size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        if (!m_texts.text(id).empty() || (retake && id == material->kc))
            continue;
        if (!other.text(id).empty())
            edit(id, other.text(id));
        if (other.m_results.isResult(id))
            imported.push_back(id);
    }
    if (retake) {
        const MaterialForce force = forceFrom(*other.m_material);
        if (force.text) {
            takeForce(*other.m_material, force);
        } else {
            // Kept as the other page took it, until this page gives a chip thickness, which
            // makes it out of date.
            const std::string &text = other.text(material->kc);
            if (!text.empty())
                edit(material->kc, text);
            m_material = other.m_material;
            m_results.entered(
                material->kc,
                text + "\nImported from " + caption + ", where it was taken from " +
                    materialName(*m_material->group, m_material->designation) +
                    " at its chip thickness. This page gives none to take it at: " +
                    force.explanation +
                    "\nRecalculate (F5) takes it again from the material once it does.",
                {material->thickness});
        }
    }
    for (FieldId id : imported) {
        const std::string &rule = other.m_results.rule(id);
        m_results.imported(id,
                           "Imported from " + caption +
                               (rule.empty() ? ", where it was a result"
                                             : ", where rule " + rule + " computed it") +
                               ". Recalculate (F5) blanks it and computes it from this page.",
                           other.m_results.sourceFields(id));
    }
}

// Typed, default, imported and computed fields alike; a result's sources are what its rule read,
// so that a check never takes a field's own consequences for independent evidence.
void PageModel::checkConsistency(const FieldStore &page)
{
    FieldSources sources(size());
    for (std::size_t i = 0; i < size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        if (m_results.isResult(id) || m_results.outOfDate(id))
            sources[i] = m_results.sourceFields(id);
    }
    m_disagreements.assign(size(), {});
    for (const Disagreement &disagreement : m_check->check(page, sources))
        m_disagreements[static_cast<std::size_t>(disagreement.field)].push_back(
            wording(disagreement, page, *m_captions, m_units));
}

// What the solve just read as given is seen as the user would have seen it on leaving.
void PageModel::flagNonNumbers()
{
    for (std::size_t i = 0; i < size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        const std::string &text = m_texts.text(id);
        m_notANumber[i] = !m_results.isResult(id) && !text.empty() && !strictToNumber(text);
    }
}

// What the field disagrees with comes right after its text, before how it got it.
std::string PageModel::explanation(FieldId id) const
{
    std::string explanation = m_results.explanation(id);
    const std::vector<std::string> &lines = disagreements(id);
    if (lines.empty())
        return explanation;
    std::string said;
    for (const std::string &line : lines)
        said += line + "\n";
    const std::size_t end = explanation.find('\n');
    if (end == std::string::npos)
        return explanation + "\n" + said.substr(0, said.size() - 1);
    return explanation.insert(end + 1, said);
}

bool PageModel::holdsDefault(FieldId id) const
{
    if (m_results.changed(id))
        return false;
    const std::string &text = m_texts.text(id);
    return std::any_of(
        m_operation->defaults.begin(), m_operation->defaults.end(),
        [&](const auto &entry) { return entry.first == id && entry.second == text; });
}

job::Origin PageModel::origin(FieldId id) const
{
    if (m_texts.text(id).empty())
        return job::Origin::blank;
    if (m_results.outOfDate(id))
        return job::Origin::outOfDate;
    switch (m_results.origin(id)) {
    case PageResults::Origin::Result:
        return job::Origin::result;
    case PageResults::Origin::Imported:
        return job::Origin::imported;
    case PageResults::Origin::Entered:
        return job::Origin::material;
    case PageResults::Origin::Given:
        break;
    }
    return holdsDefault(id) ? job::Origin::defaulted : job::Origin::typed;
}

FieldStore PageModel::inputs() const
{
    FieldStore typed = m_texts;
    for (FieldId id : m_results.results())
        typed.setText(id, "");
    return typed;
}

// The suggestions solve the page's inputs again as Recalculate would: every result blank, and a
// force taken from a material at a chip thickness taken again from the same group. While any
// field is out of date the page mixes old results with new inputs, and holds no suggestion.
MachineVerdicts PageModel::machineVerdicts() const
{
    MachineVerdicts verdicts;
    if (!m_machine)
        return verdicts;
    for (std::size_t i = 0; i < size(); ++i)
        verdicts.mixed |= m_results.outOfDate(static_cast<FieldId>(i));
    FieldStore typed = inputs();
    const std::optional<MaterialFields> material = materialFields(*m_operation);
    const materials::MaterialGroup *group =
        material && m_material && !m_material->atOneMillimetre ? m_material->group : nullptr;
    if (group)
        typed.setText(material->kc, "");
    const PreparedList list(m_operation->relations);
    const PageInputs inputs{typed, [&](FieldStore &moved) {
                                if (group)
                                    solveWithGroupForce(list, *m_operation, *group, moved);
                                else
                                    solve(list, moved);
                            }};
    for (Exceedance &limit :
         checkMachine(*m_machine, *m_operation, m_texts, verdicts.mixed ? nullptr : &inputs)) {
        if (m_results.outOfDate(limit.field) ||
            (limit.speed >= 0 && m_results.outOfDate(limit.speed))) {
            verdicts.before.push_back(std::move(limit));
            continue;
        }
        limit.othersOutOfDate = verdicts.mixed;
        verdicts.current.push_back(std::move(limit));
    }
    return verdicts;
}

// What a reader of the file sees first of a field: the look it has, or how the text got there.
void PageModel::save(job::PageRecord &page) const
{
    m_results.save(page);
    for (std::size_t i = 0; i < size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        job::FieldRecord &record = page.fields[i];
        record.origin = origin(id);
        record.notANumber = m_notANumber[i];
        record.disagreements = m_disagreements[i];
    }
    page.materialGroup.reset();
    page.atOneMillimetre = false;
    page.materialDesignation.reset();
    if (m_material) {
        page.materialGroup = m_material->group->number;
        page.atOneMillimetre = m_material->atOneMillimetre;
        if (!m_material->designation.empty())
            page.materialDesignation = m_material->designation;
    }
    page.startGroup.reset();
    if (m_startGroup)
        page.startGroup = m_startGroup->number;
    page.tool.reset();
    if (m_startTool)
        page.tool = *m_startTool == cuttingdata::Tool::hss ? "hss" : "carbide";
}

namespace {

// A field's stated origin is read back: a result the file states with no written text is the
// result its text is, and a text the file states was typed is the user's even where it equals
// the window's default.
job::PageRecord readBack(const job::PageRecord &page)
{
    job::PageRecord read = page;
    for (job::FieldRecord &field : read.fields) {
        if (!field.originStated || field.text.empty())
            continue;
        if ((field.origin == job::Origin::result || field.origin == job::Origin::outOfDate) &&
            field.written.empty())
            field.written = field.text;
        if (field.origin == job::Origin::typed)
            field.changed = true;
    }
    return read;
}

} // namespace

void PageModel::restore(const job::PageRecord &record)
{
    const job::PageRecord page = readBack(record);
    const RelationList &list = m_operation->relations;
    for (const job::FieldRecord &field : page.fields) {
        const FieldId id = list.fieldId(field.name);
        if (id < 0)
            throw std::out_of_range("no field " + field.name);
        m_texts.setText(id, field.text);
    }
    m_results.restore(page);
    for (const job::FieldRecord &field : page.fields) {
        const auto i = static_cast<std::size_t>(list.fieldId(field.name));
        m_notANumber.at(i) = field.notANumber;
        m_disagreements.at(i) = field.disagreements;
    }
    const auto group = [](std::optional<int> number) {
        return number ? materials::findMaterialGroup(*number) : nullptr;
    };
    m_material.reset();
    if (const materials::MaterialGroup *kcGroup = group(page.materialGroup))
        m_material = PageMaterial{kcGroup, page.atOneMillimetre,
                                  page.materialDesignation.value_or(std::string())};
    m_startGroup = group(page.startGroup);
    m_startTool.reset();
    if (page.tool)
        m_startTool = cuttingdata::toolNamed(*page.tool);
    m_beforeRecalculate.reset();
}

std::optional<OriginContradiction> PageModel::contradiction(const job::PageRecord &page) const
{
    PageModel read(*m_operation, *m_captions, *m_check);
    read.restore(page);
    for (const job::FieldRecord &field : page.fields) {
        if (!field.originStated)
            continue;
        const job::Origin found = read.origin(m_operation->relations.fieldId(field.name));
        // Out of date follows the sources; a file that names none cannot show it either way.
        const bool unjudged = field.origin == job::Origin::outOfDate &&
                              found == job::Origin::result && field.sources.empty();
        if (found != field.origin && !unjudged)
            return OriginContradiction{field.name, field.origin, found};
    }
    return std::nullopt;
}

std::optional<job::JobError> jobContradiction(const job::Job &job)
{
    for (std::size_t w = 0; w < job.windows.size(); ++w) {
        const job::WindowRecord &window = job.windows[w];
        const OperationDefinition &operation = *findOperation(window.operation);
        const PageCheck &check = PageCheck::of(operation);
        const PageModel model(operation, check.captions(), check.check());
        for (std::size_t p = 0; p < window.pages.size(); ++p) {
            const std::optional<OriginContradiction> field = model.contradiction(window.pages[p]);
            if (!field)
                continue;
            job::JobError error;
            error.fault = job::JobFault::contradictedOrigin;
            error.place = {w + 1, window.operation, p, field->field, {"from"}};
            error.text = job::originName(field->stated);
            error.found = job::originName(field->found);
            return error;
        }
    }
    return std::nullopt;
}

job::JobRead readJobPages(const std::string &path, ReadWait wait)
{
    job::JobRead read = job::readJobFile(path, wait);
    if (!read.error) {
        if (std::optional<job::JobError> contradiction = jobContradiction(read.job)) {
            contradiction->file = path;
            return {{}, std::move(contradiction)};
        }
    }
    return read;
}

} // namespace zorvik
