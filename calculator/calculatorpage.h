// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/jobsheet.h"
#include "calculator/machinelook.h"
#include "page/pagemodel.h"
#include "solver/consistency.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QWidget;

namespace zorvik::calculator {

// One page of a calculator window: the widgets that show a page model, whose texts, origins and
// looks are the model's. An edit in a field is a change of the model; everything else the page
// does (a solve, Recalculate and its undo, Reset, Import, a restore) changes the model first and
// then shows it, writing only the fields whose text differs, so nothing the user sees moves (not
// even a cursor) otherwise.
class CalculatorPage : public QObject {
    Q_OBJECT
public:
    // The window outlives its pages and owns the operation and the captions.
    CalculatorPage(const OperationDefinition &operation, const Captions &captions,
                   const ConsistencyCheck &check, QWidget *window);

    const PageModel &model() const { return m_model; }
    // The page's fields in the order of the design's field table: the page's Tab order.
    const std::vector<QLineEdit *> &fields() const { return m_fields; }
    // By relation list field id.
    QLineEdit *field(FieldId id) const { return m_solveFields.at(static_cast<std::size_t>(id)); }
    std::size_t fieldCount() const { return m_solveFields.size(); }
    // Whether the field is one of this page's.
    bool holds(const QObject *field) const;

    // Writes a text as the page writes it: showing its leading digits, as a freshly typed one
    // would after Home.
    static void write(QLineEdit *field, const QString &text);

    void addField(QLineEdit *edit) { m_fields.push_back(edit); }
    // The fields in the order of the relation list; any change to them but the page's own is an
    // edit.
    void watch(std::vector<QLineEdit *> solveFields);

    const FieldStore &texts() const { return m_model.texts(); }
    // Writes what a leave step changed: the user's doing, as leaving the field was.
    void showStep(const FieldStore &given, const FieldStore &texts);

    void calculate();
    // Blanks every field that still holds what a solve wrote, then calculates; the next Ctrl+Z
    // on the page, before any other change, brings the page back as it was.
    void recalculate();
    bool undoRecalculate();
    // Runs clearFields (which writes the page's fields back to how the window opened them) and
    // forgets every result.
    void reset(const std::function<void()> &clearFields);
    // Asks for a work material and enters its specific cutting force into the force field.
    void chooseMaterial();
    // Asks for a work material and tool material and enters the starting cutting speed (or the
    // feed) into its field.
    void chooseStart(bool speed);
    // The machine the page's results are checked against, none for no check; the window keeps
    // it.
    void setMachine(const Machine *machine) { m_model.setMachine(machine); }
    // Whether a rule of the page reads the specific cutting force.
    bool readsForce() const { return m_model.readsForce(); }
    // Blank fields take their twin's text from the other page; a result there arrives as a
    // result here. caption names the other page.
    void importFrom(const CalculatorPage &other, const std::string &caption);
    // The user left the field: a text in it that is not a number shows so.
    void left(const QObject *field);
    // Shows each field's explanation and look, in the window's palette.
    void showResults();
    // What the job sheet says of the page: its fields in Tab order, where each text came from
    // and what is wrong with it, the material, tool and machine. The window names it.
    SheetPage sheetPage() const;

    // Into a job file's record of the page: every field's text, where it came from and how it
    // looks, and the materials the page took data from.
    void save(job::PageRecord &page) const;
    // Shows the page as the record holds it, looks and explanations included. Throws
    // std::out_of_range for a record of another operation's page.
    void restore(const job::PageRecord &page);
    // Called after every change the page shows: an edit, a solve, Reset, a restore.
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

private:
    void edited(FieldId field);
    // The model opens on the texts the fields show: nothing a solve wrote, nothing out of date.
    void openAsShown();
    // Writes every field whose text the model holds otherwise, as the page's own change.
    void showTexts();
    // Runs what may throw; an exception would mean a relation list naming a field it does not
    // have, and must not unwind through Qt.
    void guarded(const char *what, const std::function<void()> &work) const;

    const Captions &m_captions;
    QWidget *const m_window;
    PageModel m_model;
    std::vector<QLineEdit *> m_fields;
    std::vector<QLineEdit *> m_solveFields;
    // Set while the page writes texts that are not edits.
    bool m_writing = false;
    std::function<void()> m_changed;
};

} // namespace zorvik::calculator
