// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "job/job.h"
#include "job/jobformat.h"
#include "operations/chipthickness.h"
#include "operations/cuttingdata.h"
#include "operations/machine.h"
#include "operations/materials.h"
#include "operations/operation.h"
#include "operations/startingdata.h"
#include "page/pageresults.h"
#include "solver/consistency.h"

#include <optional>
#include <string>
#include <vector>

namespace zorvik {

// What a page's machine says of it. A result out of date was worked out from other inputs than
// the page holds: what it needed then is no verdict on the page now, and no suggestion is worked
// out from a page that mixes it with new inputs.
struct MachineVerdicts {
    std::vector<Exceedance> current; // on fields that are not out of date
    std::vector<Exceedance> before;  // on fields out of date, beyond when they were computed
    // Some result of the page is out of date, so none of the current verdicts has a suggestion.
    bool mixed = false;
};

// The work material a specific cutting force was taken from: its group, whether at 1 mm, and
// the designation the user named it by ("" when picked by its group).
struct PageMaterial {
    const materials::MaterialGroup *group = nullptr;
    bool atOneMillimetre = false;
    std::string designation;
};

// "C45, group 2 (non-alloy steel, …)", or without a designation "group 2 (…)".
std::string materialName(const materials::MaterialGroup &group, const std::string &designation);

// What a job file says of a field that its other members contradict: the origin it states and
// the one its text, result and sources give.
struct OriginContradiction {
    std::string field; // by its name in the relation list
    job::Origin stated;
    job::Origin found;
};

// One page of a calculator: every field's text and where it came from, what is out of date,
// what disagrees with the rest of the page, which texts are no numbers, the material and
// starting data the page took, and the page as it was before its last Recalculate while an undo
// can bring it back. The windows show a model and turn the user's edits into changes of it; the
// command-line tool reads a job's pages into models too, so both see a page the same way.
class PageModel {
public:
    // The operation, its captions and its check outlive the model.
    PageModel(const OperationDefinition &operation, const Captions &captions,
              const ConsistencyCheck &check);

    const OperationDefinition &operation() const { return *m_operation; }
    const Captions &captions() const { return *m_captions; }
    std::size_t size() const { return m_texts.size(); }
    const FieldStore &texts() const { return m_texts; }
    const std::string &text(FieldId id) const { return m_texts.text(id); }
    // The page as it opened (or was last reset): these texts hold nothing a solve wrote.
    void open(const FieldStore &texts);

    // The user changed the field's text: typing, a paste, a leave step. Results that followed
    // the old text go out of date, and what the field disagreed with was said of that text.
    void edit(FieldId id, const std::string &text);
    // The user left the field: a text in it that is not a number shows so from now on.
    void left(FieldId id);

    // Fills every blank field that can be derived; never overwrites a text.
    void calculate();
    // Blanks every field that still holds what a solve wrote, takes a force from its material
    // again at the page's chip thickness, then calculates; undoRecalculate, before any other
    // change, brings the page back as it was.
    void recalculate();
    bool undoRecalculate();

    // The chip thickness the page gives now, for a force taken from a material.
    PageChipThickness chipThickness() const;
    // The user took the force field's text (already edited in) from a material.
    void tookMaterial(PageMaterial material, const MaterialForce &force);
    // The user took a starting cutting speed or feed (already edited in) for a group and tool.
    void tookStart(const StartingValue &start, const materials::MaterialGroup *group,
                   std::optional<cuttingdata::Tool> tool);
    // Blank fields take their twin's text from the other page of the window; a result there
    // arrives as a result here. caption names the other page.
    void importFrom(const PageModel &other, const std::string &caption);

    // The machine results are checked against, none for no check; it outlives the model.
    void setMachine(const Machine *machine) { m_machine = machine; }
    const Machine *machine() const { return m_machine; }
    MachineVerdicts machineVerdicts() const;

    // Where the field's text came from, as a job file states it.
    job::Origin origin(FieldId id) const;
    const PageResults &results() const { return m_results; }
    bool notANumber(FieldId id) const { return m_notANumber.at(std::size_t(id)); }
    // What the field disagrees with as the last solve left the page, a line each.
    const std::vector<std::string> &disagreements(FieldId id) const
    {
        return m_disagreements.at(std::size_t(id));
    }
    // How the field got its text, with what it disagrees with right after its first line.
    std::string explanation(FieldId id) const;
    const std::optional<PageMaterial> &material() const { return m_material; }
    const materials::MaterialGroup *startGroup() const { return m_startGroup; }
    const std::optional<cuttingdata::Tool> &startTool() const { return m_startTool; }
    // Whether a rule of the page reads the specific cutting force.
    bool readsForce() const;
    // The page as Recalculate would solve it: every result blank.
    FieldStore inputs() const;

    // Into a job file's record of the page, every field with its origin; locked is the window's.
    void save(job::PageRecord &page) const;
    // The page as the record holds it. Throws std::out_of_range for a record of another
    // operation's page.
    void restore(const job::PageRecord &page);
    // The first field whose stated origin the rest of its record contradicts (a result that
    // says it was typed, a typed text that says it is a result), none for a record that agrees
    // with itself. Origins a file does not state are not judged, nor out of date where the file
    // names no sources to judge it by.
    std::optional<OriginContradiction> contradiction(const job::PageRecord &page) const;

private:
    void checkConsistency(const FieldStore &page);
    void flagNonNumbers();
    bool holdsDefault(FieldId id) const;
    MaterialForce forceFrom(const PageMaterial &material) const;
    // Writes the force into its field as an edit that keeps where it came from.
    void takeForce(PageMaterial material, const MaterialForce &force);
    void enterForce(const MaterialForce &force);

    // Pointers, not references, so that a page can be assigned, as a value is.
    const OperationDefinition *m_operation;
    const Captions *m_captions;
    const ConsistencyCheck *m_check;
    std::vector<std::string_view> m_units;
    FieldStore m_texts;
    PageResults m_results;
    std::vector<std::vector<std::string>> m_disagreements;
    std::vector<bool> m_notANumber;
    struct Before {
        FieldStore texts;
        PageResults results;
        std::vector<std::vector<std::string>> disagreements;
    };
    std::optional<Before> m_beforeRecalculate;
    std::optional<PageMaterial> m_material;
    const materials::MaterialGroup *m_startGroup = nullptr;
    std::optional<cuttingdata::Tool> m_startTool;
    const Machine *m_machine = nullptr;
};

// The first field of the job whose record contradicts the origin it states, as the reader
// refuses a job: where it is (the window from 1, its page, the field and "from"), the origin
// stated and the one the record gives; none for a job whose every page agrees with itself.
std::optional<job::JobError> jobContradiction(const job::Job &job);

// Reads the job file as job::readJobFile does and refuses, naming the file, a job with a page
// that contradicts itself: it would open looking other than it was saved, and solve otherwise.
job::JobRead readJobPages(const std::string &path, ReadWait wait = waitReadable);

} // namespace zorvik
