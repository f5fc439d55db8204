// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/calculatorpage.h"

#include "calculator/fieldedit.h"
#include "calculator/machinelook.h"
#include "calculator/materialdialog.h"
#include "operations/chipthickness.h"
#include "operations/materials.h"
#include "operations/startingdata.h"
#include "solver/conversions.h"
#include "solver/fieldhelp.h"
#include "solver/solve.h"

#include <QLineEdit>
#include <QPalette>
#include <QScopedValueRollback>

#include <algorithm>
#include <stdexcept>

namespace zorvik::calculator {

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

} // namespace

CalculatorPage::CalculatorPage(const OperationDefinition &operation, const Captions &captions,
                               const ConsistencyCheck &check, QWidget *window)
    : QObject(window), m_operation(operation), m_captions(captions), m_check(check),
      m_sources(check.sources()), m_units(operation.units()), m_window(window),
      m_results(operation.relations, captions, helpTexts(operation, captions),
                {m_units.begin(), m_units.end()}),
      m_disagreements(captions.size()), m_notANumber(captions.size())
{}

bool CalculatorPage::holds(const QObject *field) const
{
    return std::find(m_fields.begin(), m_fields.end(), field) != m_fields.end();
}

void CalculatorPage::watch(std::vector<QLineEdit *> solveFields)
{
    m_solveFields = std::move(solveFields);
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        connect(m_solveFields[i], &QLineEdit::textChanged, this,
                [this, id = static_cast<FieldId>(i)] { edited(id); });
    }
    m_results.clear(textList());
    showResults();
}

FieldStore CalculatorPage::texts() const
{
    FieldStore texts(m_solveFields.size());
    for (std::size_t i = 0; i < m_solveFields.size(); ++i)
        texts.setText(static_cast<FieldId>(i), m_solveFields[i]->text().toStdString());
    return texts;
}

// Only fields that changed are written, so nothing the user sees moves (not even a cursor)
// otherwise. They are compared as the store saw them: a pasted text that UTF-8 cannot carry (a
// lone surrogate) does not come back from the store as it went in, and must stay.
void CalculatorPage::showStep(const FieldStore &given, const FieldStore &texts)
{
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        if (texts.text(id) != given.text(id))
            write(m_solveFields[i], QString::fromStdString(texts.text(id)));
    }
}

void CalculatorPage::show(const FieldStore &given, const FieldStore &texts)
{
    const QScopedValueRollback<bool> writing(m_writing, true);
    showStep(given, texts);
}

void CalculatorPage::write(QLineEdit *field, const QString &text)
{
    field->setText(text);
    field->home(false);
}

void CalculatorPage::guarded(const char *what, const std::function<void()> &work) const
{
    try {
        work();
    } catch (const std::exception &error) {
        qFatal("%s: %s: %s", qPrintable(m_window->objectName()), what, error.what());
    }
}

void CalculatorPage::calculate()
{
    const FieldStore given = texts();
    std::vector<bool> defaults(given.size(), false);
    for (const auto &[id, text] : m_operation.defaults) {
        defaults[static_cast<std::size_t>(id)] =
            !m_results.changed(id) && given.text(id) == std::string_view(text);
    }
    guarded("Calculate", [&] {
        FieldStore solved = given;
        SolveRecord record;
        if (!solve(m_operation.relations, solved, {}, &record))
            return;
        const std::vector<FieldExplanation> explanations =
            explainSolve(m_operation.relations, m_captions, record, solved, defaults);
        show(given, solved);
        m_results.solved(m_sources, record, explanations, solved.texts());
        m_beforeRecalculate.reset();
        flagNonNumbers();
        checkConsistency(solved);
        showResults();
    });
}

// A force taken from a material follows its page like a result: out of date, or another than
// the page now gives (one imported while the page gave no chip thickness), it is taken again
// from the same group at the chip thickness the page now gives, before the solve reads it.
void CalculatorPage::recalculate()
{
    Before before{texts(), m_results, m_disagreements};
    {
        const QScopedValueRollback<bool> writing(m_writing, true);
        for (FieldId id : before.results.results())
            write(field(id), QString());
    }
    if (const std::optional<MaterialFields> material = materialFields(m_operation);
        material && m_material) {
        const MaterialForce force = forceFrom(*m_material);
        if (force.text && (m_results.outOfDate(material->kc) ||
                           *force.text != field(material->kc)->text().toStdString()))
            takeForce(*m_material, force);
    }
    calculate();
    m_beforeRecalculate = std::move(before);
}

bool CalculatorPage::undoRecalculate()
{
    if (!m_beforeRecalculate)
        return false;
    show(texts(), m_beforeRecalculate->texts);
    m_results = m_beforeRecalculate->results;
    m_disagreements = m_beforeRecalculate->disagreements;
    m_beforeRecalculate.reset();
    showResults();
    return true;
}

void CalculatorPage::reset(const std::function<void()> &clearFields)
{
    {
        const QScopedValueRollback<bool> writing(m_writing, true);
        clearFields();
    }
    m_results.clear(textList());
    m_beforeRecalculate.reset();
    m_notANumber.assign(m_notANumber.size(), false);
    m_disagreements.assign(m_disagreements.size(), std::string());
    m_material.reset();
    m_startGroup = nullptr;
    m_startTool.reset();
    showResults();
}

// The force goes in as if typed over the field's whole text, so that Ctrl+Z takes it back.
void CalculatorPage::chooseMaterial()
{
    const std::optional<MaterialFields> material = materialFields(m_operation);
    auto *edit = material ? qobject_cast<FieldEdit *>(field(material->kc)) : nullptr;
    std::optional<PageChipThickness> thickness;
    guarded("Specific Cutting Force from Material",
            [&] { thickness = pageChipThickness(m_operation, texts(), m_captions); });
    // A page without a force field offers no entry for it; a list that cannot work out a chip
    // thickness has said so through guarded, and there is nothing to offer.
    if (!edit || !thickness)
        return;
    MaterialDialog dialog(*thickness, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<MaterialForce> force = dialog.chosenForce();
    if (!force)
        return;
    edit->setFocus();
    edit->selectAll();
    edit->replaceSelection(QString::fromStdString(*force->text));
    m_material =
        Material{dialog.chosenGroup(), dialog.atOneMillimetre(), dialog.chosenDesignation()};
    enterForce(*force);
    showResults();
}

// As kc from a material: one edit over the field's whole text, which Ctrl+Z takes back.
void CalculatorPage::chooseStart(bool speed)
{
    const FieldStore page = texts();
    const OperationDefinition &operation = m_operation;
    MaterialDialog dialog(
        [&](const materials::MaterialGroup &group, cuttingdata::Tool tool) {
            return speed ? startingSpeed(operation, page, group, tool)
                         : startingFeed(operation, page, group, tool);
        },
        speed ? QStringLiteral("Cutting Speed from Material")
              : QStringLiteral("Feed from Material"),
        m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<StartingValue> start = dialog.chosenStart();
    if (!start)
        return;
    auto *edit = qobject_cast<FieldEdit *>(field(start->field));
    if (!edit)
        return;
    edit->setFocus();
    edit->selectAll();
    edit->replaceSelection(QString::fromStdString(*start->text));
    m_startGroup = dialog.chosenGroup();
    m_startTool = dialog.chosenTool();
    m_results.entered(start->field,
                      *start->text + "\n" + start->explanation +
                          "\nEntered from the cutting-data table; Ctrl+Z takes it back.",
                      {});
    showResults();
}

MaterialForce CalculatorPage::forceFrom(const Material &material) const
{
    MaterialForce force;
    guarded("Specific Cutting Force from Material", [&] {
        force = materialForce(*material.group, pageChipThickness(m_operation, texts(), m_captions),
                              material.atOneMillimetre);
    });
    return force;
}

// Writing the field is an edit, which forgets the material the text it replaces came from.
void CalculatorPage::takeForce(Material material, const MaterialForce &force)
{
    write(field(materialFields(m_operation)->kc), QString::fromStdString(*force.text));
    m_material = std::move(material);
    enterForce(force);
}

std::string CalculatorPage::materialName(const materials::MaterialGroup &group,
                                         const std::string &designation)
{
    return (designation.empty() ? "" : designation + ", ") + "group " +
           std::to_string(group.number) + " (" + materials::groupName(group) + ")";
}

// At 1 mm the force reads nothing of the page; otherwise it follows what the thickness was
// found from.
void CalculatorPage::enterForce(const MaterialForce &force)
{
    const MaterialFields material = *materialFields(m_operation);
    std::vector<FieldId> sources;
    if (!m_material->atOneMillimetre) {
        guarded("Specific Cutting Force from Material", [&] {
            sources = givenSources(m_operation.relations, m_sources, texts(), material.thickness,
                                   material.kc);
        });
    }
    const std::string use = readsForce()
                                ? "The solve reads it and never changes it."
                                : "No rule of this page reads it: it is kept for the record only.";
    m_results.entered(material.kc,
                      *force.text + "\n" + force.explanation +
                          "\nEntered from the material table; Ctrl+Z takes it back. " + use,
                      sources);
}

bool CalculatorPage::readsForce() const
{
    const std::optional<MaterialFields> material = materialFields(m_operation);
    if (!material)
        return false;
    const RelationList &list = m_operation.relations;
    for (const RuleGroup &group : list.groups) {
        for (const Rule &rule : group) {
            const std::vector<FieldId> &read = m_sources.of(rule);
            if (std::find(read.begin(), read.end(), material->kc) != read.end())
                return true;
        }
    }
    return false;
}

// The texts go in first, so that each imported result follows the page as Import leaves it. A
// force the other page took from a material is taken from it again at this page's chip
// thickness, as Recalculate takes it: copied, it would be the other page's force, and typed.
void CalculatorPage::importFrom(const CalculatorPage &other, const std::string &caption)
{
    const std::optional<MaterialFields> material = materialFields(m_operation);
    const bool retake = material && other.m_material && field(material->kc)->text().isEmpty();
    std::vector<FieldId> imported;
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        if (!field(id)->text().isEmpty() || (retake && id == material->kc))
            continue;
        write(field(id), other.field(id)->text());
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
            write(field(material->kc), other.field(material->kc)->text());
            m_material = other.m_material;
            m_results.entered(
                material->kc,
                other.field(material->kc)->text().toStdString() + "\nImported from " + caption +
                    ", where it was taken from " +
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
    showResults();
}

void CalculatorPage::left(const QObject *left)
{
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        if (m_solveFields[i] != left)
            continue;
        const std::string text = m_solveFields[i]->text().toStdString();
        if (!text.empty() && !strictToNumber(text) && !m_notANumber[i]) {
            m_notANumber[i] = true;
            showResults();
        }
    }
}

// Typed, default, imported and computed fields alike; a result's sources are what its rule read,
// so that a check never takes a field's own consequences for independent evidence.
void CalculatorPage::checkConsistency(const FieldStore &page)
{
    FieldSources sources(m_solveFields.size());
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        if (m_results.isResult(id) || m_results.outOfDate(id))
            sources[i] = m_results.sourceFields(id);
    }
    m_disagreements.assign(m_solveFields.size(), std::string());
    for (const Disagreement &disagreement : m_check.check(page, sources)) {
        std::string &text = m_disagreements[static_cast<std::size_t>(disagreement.field)];
        text +=
            (text.empty() ? "" : "\n") + disagreementText(disagreement, page, m_captions, m_units);
    }
}

// What the solve just read as given is seen as the user would have seen it on leaving.
void CalculatorPage::flagNonNumbers()
{
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        const std::string text = field(id)->text().toStdString();
        m_notANumber[i] = !m_results.isResult(id) && !text.empty() && !strictToNumber(text);
    }
}

void CalculatorPage::edited(FieldId id)
{
    if (m_writing)
        return;
    m_beforeRecalculate.reset();
    const std::string text = field(id)->text().toStdString();
    m_results.edited(id, text);
    if (text.empty() || strictToNumber(text))
        m_notANumber[static_cast<std::size_t>(id)] = false;
    // What it disagreed with was said of the text it no longer holds.
    m_disagreements[static_cast<std::size_t>(id)].clear();
    if (id == materialFields(m_operation).value_or(MaterialFields{-1, -1}).kc)
        m_material.reset();
    showResults();
}

namespace {

QColor mixed(const QColor &a, const QColor &b, float share)
{
    return QColor::fromRgbF((1 - share) * a.redF() + share * b.redF(),
                            (1 - share) * a.greenF() + share * b.greenF(),
                            (1 - share) * a.blueF() + share * b.blueF());
}

} // namespace

// Each field's tooltip and accessible description carry its explanation, and the description
// names the look for those who cannot see it. Looks are made from the window's palette, so they
// read on light and dark palettes alike: fresh results take the link colour, results imported
// from the other page a tone halfway from it to the text colour (results, but none this page
// computed), results an edit has left out of date a dimmed italic between the text and base
// colours; a field that disagrees with what the rest of the page gives for it a red-tinted
// background, and a text that is not a number an amber one, underlined, the text colour kept, so
// either can sit with a result's look.
void CalculatorPage::showResults()
{
    const QPalette own = m_window->palette();
    const QColor text = own.color(QPalette::Text);
    const QColor base = own.color(QPalette::Base);
    // Dark enough for the text to keep a contrast of 4.5 on the disagreement's tint too.
    const QColor dimmed = mixed(text, base, 0.3f);
    const QColor imported = mixed(own.color(QPalette::Link), text, 0.5f);
    const QColor disagrees = mixed(base, QColor(220, 0, 0), 0.2f);
    const QColor notANumber = mixed(base, QColor(230, 150, 0), 0.3f);
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        QLineEdit *edit = m_solveFields[i];
        // What the field disagrees with comes right after its text, before how it got it.
        std::string explanation = m_results.explanation(id);
        const bool disagreeing = !m_disagreements[i].empty();
        if (disagreeing) {
            const std::size_t end = explanation.find('\n');
            if (end == std::string::npos)
                explanation += "\n" + m_disagreements[i];
            else
                explanation.insert(end + 1, m_disagreements[i] + "\n");
        }
        if (const QString text = QString::fromStdString(explanation); edit->toolTip() != text) {
            edit->setToolTip(text);
            edit->setAccessibleDescription(text);
        }
        QPalette palette;
        QFont font = edit->font();
        font.setItalic(false);
        font.setUnderline(m_notANumber[i]);
        switch (m_results.look(id)) {
        case PageResults::Look::Plain:
            break;
        case PageResults::Look::Fresh:
            palette.setColor(QPalette::Text, own.color(QPalette::Link));
            break;
        case PageResults::Look::Imported:
            palette.setColor(QPalette::Text, imported);
            break;
        case PageResults::Look::OutOfDate:
            palette.setColor(QPalette::Text, dimmed);
            font.setItalic(true);
            break;
        }
        if (m_notANumber[i])
            palette.setColor(QPalette::Base, notANumber);
        else if (disagreeing)
            palette.setColor(QPalette::Base, disagrees);
        if (edit->palette() != palette)
            edit->setPalette(palette);
        if (edit->font() != font)
            edit->setFont(font);
    }
    guarded("the machine check",
            [&] { showBeyondMachine(machineVerdicts(), m_solveFields, m_captions); });
    if (m_changed)
        m_changed();
}

bool CalculatorPage::holdsDefault(FieldId id) const
{
    if (m_results.changed(id))
        return false;
    const std::string text = m_solveFields[static_cast<std::size_t>(id)]->text().toStdString();
    return std::any_of(
        m_operation.defaults.begin(), m_operation.defaults.end(),
        [&](const auto &entry) { return entry.first == id && entry.second == text; });
}

// The suggestions solve the page's inputs again as Recalculate would: every result blank, and a
// force taken from a material at a chip thickness taken again from the same group. While any
// field is out of date the page mixes old results with new inputs, and holds no suggestion.
MachineVerdicts CalculatorPage::machineVerdicts() const
{
    MachineVerdicts verdicts;
    if (!m_machine)
        return verdicts;
    const FieldStore page = texts();
    bool mixed = false;
    FieldStore typed = page;
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        mixed |= m_results.outOfDate(id);
        if (m_results.isResult(id))
            typed.setText(id, "");
    }
    const std::optional<MaterialFields> material = materialFields(m_operation);
    const materials::MaterialGroup *group =
        material && m_material && !m_material->atOneMillimetre ? m_material->group : nullptr;
    if (group)
        typed.setText(material->kc, "");
    const PreparedList list(m_operation.relations);
    const PageInputs inputs{typed, [&](FieldStore &moved) {
                                if (group)
                                    solveWithGroupForce(list, m_operation, *group, moved);
                                else
                                    solve(list, moved);
                            }};
    for (Exceedance &limit :
         checkMachine(*m_machine, m_operation, page, m_captions, mixed ? nullptr : &inputs)) {
        if (m_results.outOfDate(limit.field) ||
            (limit.speed >= 0 && m_results.outOfDate(limit.speed))) {
            verdicts.before.push_back(std::move(limit));
            continue;
        }
        if (mixed)
            limit.text += "; other results are out of date: Recalculate (F5) says what would "
                          "bring it within";
        verdicts.current.push_back(std::move(limit));
    }
    return verdicts;
}

// What a reader of the file sees first of a field: the look it has, or how the text got there.
void CalculatorPage::save(job::PageRecord &page) const
{
    m_results.save(page);
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        job::FieldRecord &record = page.fields[i];
        if (record.text.empty())
            record.origin = job::Origin::blank;
        else if (m_results.outOfDate(id))
            record.origin = job::Origin::outOfDate;
        else if (m_results.isResult(id))
            record.origin = record.note.empty() ? job::Origin::result : job::Origin::imported;
        else if (!record.note.empty())
            record.origin = job::Origin::material;
        else if (holdsDefault(id))
            record.origin = job::Origin::defaulted;
        else
            record.origin = job::Origin::typed;
        record.notANumber = m_notANumber[i];
        record.disagreement = m_disagreements[i];
        record.locked = !m_solveFields[i]->isEnabledTo(m_window);
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

void CalculatorPage::restore(const job::PageRecord &page)
{
    const RelationList &list = m_operation.relations;
    {
        const QScopedValueRollback<bool> writing(m_writing, true);
        for (const job::FieldRecord &record : page.fields) {
            QLineEdit *edit = field(list.fieldId(record.name));
            write(edit, QString::fromStdString(record.text));
            edit->setEnabled(!record.locked);
        }
    }
    m_results.restore(page);
    for (const job::FieldRecord &record : page.fields) {
        const auto i = static_cast<std::size_t>(list.fieldId(record.name));
        m_notANumber.at(i) = record.notANumber;
        m_disagreements.at(i) = record.disagreement;
    }
    const auto group = [](std::optional<int> number) {
        return number ? materials::findMaterialGroup(*number) : nullptr;
    };
    m_material.reset();
    if (const materials::MaterialGroup *kcGroup = group(page.materialGroup))
        m_material = Material{kcGroup, page.atOneMillimetre,
                              page.materialDesignation.value_or(std::string())};
    m_startGroup = group(page.startGroup);
    m_startTool.reset();
    if (page.tool)
        m_startTool = cuttingdata::toolNamed(*page.tool);
    m_beforeRecalculate.reset();
    showResults();
}

SheetPage CalculatorPage::sheetPage() const
{
    SheetPage sheet;
    const FieldStore page = texts();
    auto captionOf = [&](FieldId id) {
        return QString::fromStdString(m_captions.name(id));
    };
    std::vector<QStringList> beyond(m_solveFields.size());
    if (m_machine) {
        sheet.machine = QString::fromStdString(m_machine->name);
        guarded("the machine check", [&] {
            for (const Exceedance &limit : machineVerdicts().current) {
                const QString text =
                    captionOf(limit.field) + u' ' + QString::fromStdString(limit.text);
                sheet.limits << text;
                beyond[static_cast<std::size_t>(limit.field)] << text;
            }
        });
    }
    // Named as the user picked it; the starting data's group only when it is another.
    QStringList groups;
    if (m_material)
        groups << QString::fromStdString(materialName(*m_material->group, m_material->designation));
    if (m_startGroup && (!m_material || m_material->group != m_startGroup))
        groups << QString::fromStdString(materialName(*m_startGroup, {}));
    sheet.material = groups.join(QStringLiteral("; "));
    if (m_startTool)
        sheet.tool = QString::fromUtf8(cuttingdata::toolName(*m_startTool).data());
    for (QLineEdit *edit : m_fields) {
        const auto at = std::find(m_solveFields.begin(), m_solveFields.end(), edit);
        SheetField field;
        field.text = edit->text();
        if (at == m_solveFields.end()) {
            field.caption = edit->accessibleName();
            field.origin = field.text.isEmpty() ? QString() : QStringLiteral("typed");
            sheet.fields.push_back(field);
            continue;
        }
        const std::size_t index = static_cast<std::size_t>(at - m_solveFields.begin());
        const auto id = static_cast<FieldId>(index);
        field.caption = captionOf(id);
        const std::string &text = page.text(id);
        const std::optional<double> value = strictToNumber(text);
        if (value)
            field.reading = QString::fromStdString(readingText(*value, m_units[index]));
        switch (m_results.origin(id)) {
        case PageResults::Origin::Result:
            field.origin = QStringLiteral("rule ") + QString::fromStdString(m_results.rule(id));
            break;
        case PageResults::Origin::Imported:
            field.origin = QStringLiteral("imported");
            break;
        case PageResults::Origin::Entered:
            field.origin = QStringLiteral("material");
            break;
        case PageResults::Origin::Given: {
            if (!text.empty())
                field.origin =
                    holdsDefault(id) ? QStringLiteral("default") : QStringLiteral("typed");
            break;
        }
        }
        for (const QString &line :
             QString::fromStdString(m_disagreements[index]).split(u'\n', Qt::SkipEmptyParts))
            field.marks << QStringLiteral("DISAGREES: ") + line;
        if (const std::optional<FieldId> changed = m_results.changedSource(id))
            field.marks << QStringLiteral("OUT OF DATE: %1 changed since; Recalculate (F5) "
                                          "computes it again")
                               .arg(captionOf(*changed));
        if (!text.empty() && !value)
            field.marks << QStringLiteral("NOT A NUMBER: the solve reads this text as far as it "
                                          "is a number, or not at all");
        for (const QString &limit : beyond[index])
            field.marks << QStringLiteral("BEYOND THE MACHINE: ") + limit;
        sheet.fields.push_back(field);
    }
    return sheet;
}

} // namespace zorvik::calculator
