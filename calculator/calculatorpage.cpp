// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/calculatorpage.h"

#include "calculator/fieldedit.h"
#include "calculator/materialdialog.h"
#include "operations/chipthickness.h"
#include "solver/solve.h"

#include <QLineEdit>
#include <QPalette>
#include <QScopedValueRollback>

#include <algorithm>
#include <stdexcept>

namespace zorvik::calculator {

CalculatorPage::CalculatorPage(int index, const OperationDefinition &operation,
                               const Captions &captions, QWidget *window)
    : QObject(window), m_index(index), m_operation(operation), m_captions(captions),
      m_window(window), m_results(operation.relations.fields.size())
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
        m_results.solved(explanations, solved.texts());
        m_beforeRecalculate.reset();
        showResults();
    });
}

void CalculatorPage::recalculate()
{
    Before before{texts(), m_results};
    {
        const QScopedValueRollback<bool> writing(m_writing, true);
        for (FieldId id : before.results.results())
            write(field(id), QString());
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
    m_results.clear();
    m_beforeRecalculate.reset();
    showResults();
}

// The force goes in as if typed over the field's whole text, so that Ctrl+Z takes it back.
void CalculatorPage::chooseMaterial()
{
    const FieldId kc = materialFields(m_operation)->kc;
    auto *edit = static_cast<FieldEdit *>(field(kc));
    std::optional<PageChipThickness> thickness;
    guarded("Specific Cutting Force from Material",
            [&] { thickness = pageChipThickness(m_operation, texts(), m_captions); });
    MaterialDialog dialog(*thickness, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<MaterialForce> force = dialog.chosenForce();
    if (!force)
        return;
    edit->setFocus();
    edit->selectAll();
    edit->replaceSelection(QString::fromStdString(*force->text));
    m_results.entered(kc, *force->text + "\n" + force->explanation +
                              "\nEntered from the material table; Ctrl+Z takes it back. The solve "
                              "reads it and never changes it.");
    showResults();
}

void CalculatorPage::edited(FieldId id)
{
    if (m_writing)
        return;
    m_beforeRecalculate.reset();
    const QLineEdit *edit = field(id);
    m_results.edited(id, edit->text().toStdString(), m_captions[static_cast<std::size_t>(id)]);
    // Before the first solve only a kc entered from a material has said anything.
    if (m_results.explained() || !edit->toolTip().isEmpty())
        showResults();
}

// Each field's tooltip and accessible description carry its explanation. Fresh results take the
// palette's link colour, results an edit has left out of date a dimmed italic of their own
// (between the text and base colours, so it reads on light and dark palettes alike); the
// description tells them apart for those who cannot see either.
void CalculatorPage::showResults()
{
    const QPalette own = m_window->palette();
    const QColor text = own.color(QPalette::Text);
    const QColor base = own.color(QPalette::Base);
    const QColor dimmed = QColor::fromRgbF(0.6f * text.redF() + 0.4f * base.redF(),
                                           0.6f * text.greenF() + 0.4f * base.greenF(),
                                           0.6f * text.blueF() + 0.4f * base.blueF());
    for (std::size_t i = 0; i < m_solveFields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        QLineEdit *edit = m_solveFields[i];
        const QString explanation = QString::fromStdString(m_results.explanation(id));
        if (edit->toolTip() != explanation) {
            edit->setToolTip(explanation);
            edit->setAccessibleDescription(explanation);
        }
        QPalette palette;
        QFont font = edit->font();
        font.setItalic(false);
        switch (m_results.look(id)) {
        case PageResults::Look::Plain:
            break;
        case PageResults::Look::Fresh:
            palette.setColor(QPalette::Text, own.color(QPalette::Link));
            break;
        case PageResults::Look::OutOfDate:
            palette.setColor(QPalette::Text, dimmed);
            font.setItalic(true);
            break;
        }
        edit->setPalette(palette);
        edit->setFont(font);
    }
}

} // namespace zorvik::calculator
