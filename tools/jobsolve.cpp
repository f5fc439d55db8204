// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/jobsolve.h"

#include "job/jobformat.h"
#include "operations/materials.h"
#include "operations/operation.h"
#include "solver/preparedlist.h"
#include "tools/csvbatch.h"
#include "tools/csvreader.h"
#include "tools/materialsolve.h"
#include "tools/numbercells.h"
#include "page/pagecheck.h"
#include "page/pagemodel.h"
#include "tools/processio.h"
#include "wording/wording.h"

#include <algorithm>
#include <ostream>

namespace zorvik {

namespace {

// Every field of the operation, in the order its window shows them.
std::vector<std::string> windowOrderNames(const OperationDefinition &operation)
{
    std::vector<std::string> names;
    for (const design::FieldDesign &field : operation.design().fields) {
        if (operation.relations.fieldId(field.name) >= 0)
            names.emplace_back(field.name);
    }
    for (std::string_view field : operation.relations.fields) {
        if (std::find(names.begin(), names.end(), field) == names.end())
            names.emplace_back(field);
    }
    return names;
}

// The page as the window would solve it on Recalculate: the model's inputs (results blanked,
// given texts as given), and what leaving a field derives from them (drilling's hole diameter).
// A text that is no number is warned of as the same text given on the command line is, found at
// where.
FieldStore givenTexts(const OperationDefinition &operation, const PageModel &page,
                      const Captions &captions, const std::string &where, Warnings &warnings)
{
    const RelationList &list = operation.relations;
    const FieldStore inputs = page.inputs();
    FieldStore store(list.fields.size());
    std::vector<GivenText> given;
    for (std::size_t i = 0; i < list.fields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        if (!inputs.text(id).empty())
            given.push_back({id, std::string(list.fields[i]), inputs.text(id)});
    }
    NumberCells cells(false);
    setGivenTexts(list, captions, store, given, cells, warnings, where + ", field ");
    operation.prepareTyped(store);
    return store;
}

const materials::MaterialGroup *group(std::optional<int> number)
{
    return number ? materials::findMaterialGroup(*number) : nullptr;
}

} // namespace

int solveJob(const std::string &path, bool strict, std::ostream &out, std::ostream &err)
{
    const job::JobRead read = readJobPages(path, waitForInput);
    // A stop signal that came while the job was read: the process ends by it, without a message.
    if (const int signal = caughtStopSignal())
        return 128 + signal;
    if (read.error) {
        err << "zorvik-solve: " << wording(*read.error) << "\n";
        return 1;
    }
    std::vector<std::string> header{"operation", "page"};
    for (const job::WindowRecord &window : read.job.windows) {
        for (std::string &name : windowOrderNames(*findOperation(window.operation))) {
            if (std::find(header.begin() + 2, header.end(), name) == header.end())
                header.push_back(std::move(name));
        }
    }
    std::string text;
    appendCsvRow(text, {}, header, ',');
    Warnings warnings(err);
    for (std::size_t w = 0; w < read.job.windows.size(); ++w) {
        const job::WindowRecord &window = read.job.windows[w];
        const OperationDefinition &operation = *findOperation(window.operation);
        const PreparedList list(operation.relations);
        const Captions captions = operation.captions();
        const PageCheck &check = PageCheck::of(operation);
        for (std::size_t p = 0; p < window.pages.size(); ++p) {
            const job::PageRecord &page = window.pages[p];
            const std::string pageName = operation.design().pages[p].caption;
            const std::string where = "window " + std::to_string(w + 1) + " (" + window.operation +
                                      ")" + (pageName.empty() ? "" : ", " + pageName);
            PageModel model(operation, captions, check.check());
            model.restore(page);
            FieldStore store = givenTexts(operation, model, captions, where, warnings);
            const materials::MaterialGroup *material =
                group(page.materialGroup ? page.materialGroup : page.startGroup);
            std::optional<cuttingdata::Tool> tool;
            if (page.tool)
                tool = cuttingdata::toolNamed(*page.tool);
            std::vector<Disagreement> disagreements;
            const FieldStore typed = store;
            for (const std::string &note :
                 solveForMaterial(list, operation, captions, material, tool, store, &check.check(),
                                  &disagreements))
                warnings.add(where + ": " + note);
            for (const Disagreement &disagreement : disagreements)
                warnings.add(check.warning(where, disagreement, store));
            if (window.machine) {
                for (const std::string &beyond : machineWarnings(
                         *window.machine, list, operation, captions, typed, store, material, tool))
                    warnings.add(where + ", " + beyond);
            }
            std::vector<std::string> row{window.operation, pageName};
            for (auto name = header.begin() + 2; name != header.end(); ++name) {
                const FieldId id = operation.relations.fieldId(*name);
                row.push_back(id < 0 ? std::string() : store.text(id));
            }
            appendCsvRow(text, {}, row, ',');
        }
    }
    out << text;
    if (!out.flush())
        return reportUnwrittenOutput(err);
    return strict && warnings.count() > 0 ? 1 : 0;
}

} // namespace zorvik
