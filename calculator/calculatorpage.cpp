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

CalculatorPage::CalculatorPage(const OperationDefinition &operation, const Captions &captions,
                               const ConsistencyCheck &check, QWidget *window)
    : QObject(window), m_captions(captions), m_window(window), m_model(operation, captions, check)
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
    openAsShown();
}

void CalculatorPage::openAsShown()
{
    FieldStore opened(m_solveFields.size());
    for (std::size_t i = 0; i < m_solveFields.size(); ++i)
        opened.setText(static_cast<FieldId>(i), m_solveFields[i]->text().toStdString());
    m_model.open(opened);
    showResults();
}

// Fields are compared as the model saw them: a pasted text that UTF-8 cannot carry (a lone
// surrogate) does not come back from the model as it went in, and must stay.
void CalculatorPage::showStep(const FieldStore &given, const FieldStore &texts)
{
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        if (texts.text(id) != given.text(id))
            write(m_solveFields[i], QString::fromStdString(texts.text(id)));
    }
}

void CalculatorPage::showTexts()
{
    const QScopedValueRollback<bool> writing(m_writing, true);
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const std::string &text = m_model.text(static_cast<FieldId>(i));
        if (m_solveFields[i]->text().toStdString() != text)
            write(m_solveFields[i], QString::fromStdString(text));
    }
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
    guarded("Calculate", [&] { m_model.calculate(); });
    showTexts();
    showResults();
}

void CalculatorPage::recalculate()
{
    guarded("Recalculate", [&] { m_model.recalculate(); });
    showTexts();
    showResults();
}

bool CalculatorPage::undoRecalculate()
{
    if (!m_model.undoRecalculate())
        return false;
    showTexts();
    showResults();
    return true;
}

void CalculatorPage::reset(const std::function<void()> &clearFields)
{
    {
        const QScopedValueRollback<bool> writing(m_writing, true);
        clearFields();
    }
    openAsShown();
}

// The force goes in as if typed over the field's whole text, so that Ctrl+Z takes it back.
void CalculatorPage::chooseMaterial()
{
    const std::optional<MaterialFields> material = materialFields(m_model.operation());
    auto *edit = material ? qobject_cast<FieldEdit *>(field(material->kc)) : nullptr;
    std::optional<PageChipThickness> thickness;
    guarded("Specific Cutting Force from Material", [&] { thickness = m_model.chipThickness(); });
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
    guarded("Specific Cutting Force from Material", [&] {
        m_model.tookMaterial(
            {dialog.chosenGroup(), dialog.atOneMillimetre(), dialog.chosenDesignation()}, *force);
    });
    showResults();
}

// As kc from a material: one edit over the field's whole text, which Ctrl+Z takes back.
void CalculatorPage::chooseStart(bool speed)
{
    const FieldStore page = texts();
    const OperationDefinition &operation = m_model.operation();
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
    m_model.tookStart(*start, dialog.chosenGroup(), dialog.chosenTool());
    showResults();
}

void CalculatorPage::importFrom(const CalculatorPage &other, const std::string &caption)
{
    guarded("Import", [&] { m_model.importFrom(other.m_model, caption); });
    showTexts();
    showResults();
}

void CalculatorPage::left(const QObject *left)
{
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        if (m_solveFields[i] != left || m_model.notANumber(id))
            continue;
        m_model.left(id);
        if (m_model.notANumber(id))
            showResults();
    }
}

void CalculatorPage::edited(FieldId id)
{
    if (m_writing)
        return;
    m_model.edit(id, field(id)->text().toStdString());
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
        if (const QString text = QString::fromStdString(m_model.explanation(id));
            edit->toolTip() != text) {
            edit->setToolTip(text);
            edit->setAccessibleDescription(text);
        }
        QPalette palette;
        QFont font = edit->font();
        font.setItalic(false);
        font.setUnderline(m_model.notANumber(id));
        switch (m_model.results().look(id)) {
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
        if (m_model.notANumber(id))
            palette.setColor(QPalette::Base, notANumber);
        else if (!m_model.disagreements(id).empty())
            palette.setColor(QPalette::Base, disagrees);
        if (edit->palette() != palette)
            edit->setPalette(palette);
        if (edit->font() != font)
            edit->setFont(font);
    }
    guarded("the machine check",
            [&] { showBeyondMachine(m_model.machineVerdicts(), m_solveFields, m_model.operation(),
                                     m_captions); });
    if (m_changed)
        m_changed();
}

void CalculatorPage::save(job::PageRecord &page) const
{
    m_model.save(page);
    for (std::size_t i = 0; i < m_solveFields.size(); ++i)
        page.fields[i].locked = !m_solveFields[i]->isEnabledTo(m_window);
}

void CalculatorPage::restore(const job::PageRecord &page)
{
    m_model.restore(page);
    const RelationList &list = m_model.operation().relations;
    for (const job::FieldRecord &record : page.fields)
        field(list.fieldId(record.name))->setEnabled(!record.locked);
    showTexts();
    showResults();
}

SheetPage CalculatorPage::sheetPage() const
{
    SheetPage sheet;
    auto captionOf = [&](FieldId id) {
        return QString::fromStdString(m_captions.name(id));
    };
    std::vector<QStringList> beyond(m_solveFields.size());
    if (const Machine *machine = m_model.machine()) {
        sheet.machine = QString::fromStdString(machine->name);
        guarded("the machine check", [&] {
            for (const Exceedance &limit : m_model.machineVerdicts().current) {
                const QString text =
                    captionOf(limit.field) + u' ' +
                    QString::fromStdString(wording(limit, m_model.operation(), m_captions));
                sheet.limits << text;
                beyond[static_cast<std::size_t>(limit.field)] << text;
            }
        });
    }
    // Named as the user picked it; the starting data's group only when it is another.
    const std::optional<PageMaterial> &material = m_model.material();
    const materials::MaterialGroup *startGroup = m_model.startGroup();
    QStringList groups;
    if (material)
        groups << QString::fromStdString(materialName(*material->group, material->designation));
    if (startGroup && (!material || material->group != startGroup))
        groups << QString::fromStdString(materialName(*startGroup, {}));
    sheet.material = groups.join(QStringLiteral("; "));
    if (const std::optional<cuttingdata::Tool> &tool = m_model.startTool())
        sheet.tool = QString::fromUtf8(cuttingdata::toolName(*tool).data());
    const std::vector<std::string_view> units = m_model.operation().units();
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
        const std::string &text = m_model.text(id);
        const std::optional<double> value = strictToNumber(text);
        if (value)
            field.reading = QString::fromStdString(readingText(*value, units[index]));
        switch (m_model.results().origin(id)) {
        case PageResults::Origin::Result:
            field.origin =
                QStringLiteral("rule ") + QString::fromStdString(m_model.results().rule(id));
            break;
        case PageResults::Origin::Imported:
            field.origin = QStringLiteral("imported");
            break;
        case PageResults::Origin::Entered:
            field.origin = QStringLiteral("material");
            break;
        case PageResults::Origin::Given:
            if (!text.empty())
                field.origin = QString::fromUtf8(job::originName(m_model.origin(id)).data());
            break;
        }
        for (const std::string &line : m_model.disagreements(id))
            field.marks.push_back({QStringLiteral("DISAGREES"), QString::fromStdString(line)});
        if (const std::optional<FieldId> changed = m_model.results().changedSource(id))
            field.marks.push_back(
                {QStringLiteral("OUT OF DATE"),
                 QStringLiteral("%1 changed since; Recalculate (F5) computes it again")
                     .arg(captionOf(*changed))});
        if (!text.empty() && !value)
            field.marks.push_back({QStringLiteral("NOT A NUMBER"),
                                   QStringLiteral("the solve reads this text as far as it is a "
                                                  "number, or not at all")});
        for (const QString &limit : beyond[index])
            field.marks.push_back({QStringLiteral("BEYOND THE MACHINE"), limit});
        sheet.fields.push_back(field);
    }
    return sheet;
}

} // namespace zorvik::calculator
