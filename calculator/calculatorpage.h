// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/jobsheet.h"
#include "calculator/machinelook.h"
#include "calculator/pageresults.h"
#include "operations/chipthickness.h"
#include "operations/machine.h"
#include "operations/operation.h"
#include "solver/consistency.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QWidget;

namespace zorvik::calculator {

// One page of a calculator window as its solves see it: its fields, where their texts came
// from, and the page as it was before its last Recalculate while Ctrl+Z can bring it back.
// Everything the page writes that is not an edit (a solve's texts, Recalculate's blanks, an
// undone Recalculate, Reset) is kept apart from the user's edits, which mark results out of date.
class CalculatorPage : public QObject {
    Q_OBJECT
public:
    // The window outlives its pages and owns the operation and the captions.
    CalculatorPage(const OperationDefinition &operation, const Captions &captions,
                   const ConsistencyCheck &check, QWidget *window);

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

    FieldStore texts() const;
    // Writes the fields whose text in texts differs from given, as the page's own change.
    void show(const FieldStore &given, const FieldStore &texts);
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
    void setMachine(const Machine *machine) { m_machine = machine; }
    // Whether a rule of the page reads the specific cutting force.
    bool readsForce() const;
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
    void flagNonNumbers();
    // Runs the consistency check on the page as the solve left it, which shows its texts: the
    // store the solve wrote keeps the readings of what it read.
    void checkConsistency(const FieldStore &page);
    std::vector<std::string> textList() const { return texts().texts(); }
    // The work material the force field's text was taken from: its group, whether at 1 mm, and
    // the designation the user named it by ("" when picked by its group).
    struct Material {
        const materials::MaterialGroup *group = nullptr;
        bool atOneMillimetre = false;
        std::string designation;
    };
    // The force the material gives at the page's chip thickness now; without a text, why none.
    MaterialForce forceFrom(const Material &material) const;
    // Writes the force into its field as an edit that keeps where it came from.
    void takeForce(Material material, const MaterialForce &force);
    void enterForce(const MaterialForce &force);
    // "C45, group 2 (non-alloy steel, …)", or without a designation "group 2 (…)".
    static std::string materialName(const materials::MaterialGroup &group,
                                    const std::string &designation);
    // Runs what may throw; an exception would mean a relation list naming a field it does not
    // have, and must not unwind through Qt.
    void guarded(const char *what, const std::function<void()> &work) const;
    // Whether the field holds the text the window opened with, never changed since.
    bool holdsDefault(FieldId id) const;
    // The machine's verdicts on the page as it shows it, for its looks and its job sheet.
    MachineVerdicts machineVerdicts() const;

    const OperationDefinition &m_operation;
    const Captions &m_captions;
    const ConsistencyCheck &m_check;
    const ListSources &m_sources;
    const std::vector<std::string_view> m_units;
    QWidget *const m_window;
    std::vector<QLineEdit *> m_fields;
    std::vector<QLineEdit *> m_solveFields;
    PageResults m_results;
    struct Before {
        FieldStore texts;
        PageResults results;
        std::vector<std::string> disagreements;
    };
    std::optional<Before> m_beforeRecalculate;
    // Set while the page writes texts that are not edits.
    bool m_writing = false;
    // Per field id, what the field disagrees with as the last solve left the page, "" for
    // nothing.
    std::vector<std::string> m_disagreements;
    // Per field id, whether it holds a text the user left that is not a number.
    std::vector<bool> m_notANumber;
    // The material the force field's text was taken from, while it holds it.
    std::optional<Material> m_material;
    // The group and tool material the page's starting data came from last, until Reset.
    const materials::MaterialGroup *m_startGroup = nullptr;
    std::optional<cuttingdata::Tool> m_startTool;
    const Machine *m_machine = nullptr;
    std::function<void()> m_changed;
};

} // namespace zorvik::calculator
