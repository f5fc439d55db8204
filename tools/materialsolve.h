// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/chipthickness.h"
#include "operations/cuttingdata.h"
#include "operations/machine.h"
#include "solver/consistency.h"
#include "solver/preparedlist.h"
#include "tools/csvbatch.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// The group a --material argument or a material cell names: a group number or a designation of
// a group with constants. An empty text names none, and is no error.
struct MaterialNamed {
    const materials::MaterialGroup *group = nullptr;
    std::string error; // why the text names no group it can use, "" when it does
};
MaterialNamed materialNamed(std::string_view text);

// Reads the group of --material into material; or says why it cannot: no group that has
// constants, or given twice.
std::optional<std::string> readMaterial(std::string_view text,
                                        const materials::MaterialGroup *&material);

// Why --material (with --tool or without) is no use for the operation, or none.
std::optional<std::string> materialUse(const OperationDefinition &operation,
                                       std::optional<cuttingdata::Tool> tool);

// What a solve with a material did, and, when asked, what an explanation needs of it.
struct MaterialSolve {
    std::optional<std::string> kc; // the specific cutting force it set, none when it set none
    std::string note;              // how it set it, or why it did not
    SolveRecord first;             // of the solve before kc was set
    FieldStore afterFirst{0};
    SolveRecord second; // of the solve from the page with kc set
};

// Solves the page. When its specific cutting force is blank after that, and the group gives one
// at the chip thickness the page then has, sets it and solves again from the page as it is:
// what was typed or solved stays, and what kc leads to is filled in. The trace sees both solves,
// and between them the setting of kc as rule "material" in pass 0. record: whether to keep what
// an explanation needs; keepTexts false keeps only where results came from.
MaterialSolve solveWithMaterial(const PreparedList &list, const OperationDefinition &operation,
                                const Captions &captions, const materials::MaterialGroup &group,
                                FieldStore &store, const SolveTrace &trace = {},
                                bool record = false, bool keepTexts = true);

// Every field's explanation after a recorded solveWithMaterial: each result as the solve that
// wrote it explains it, kc as the material gave it, the rest as the page ends.
std::vector<FieldExplanation> explainWithMaterial(const OperationDefinition &operation,
                                                  const Captions &captions,
                                                  const MaterialSolve &solved,
                                                  const FieldStore &store,
                                                  const std::vector<bool> &defaults);

// What zorvik-solve warns of a solved page's results beyond the machine: "txtmp: needs …",
// one per limit exceeded. typed: the page before its solve; group and tool: what it was solved
// with, as solveForMaterial takes them, for what would bring each result within.
std::vector<std::string> machineWarnings(const Machine &machine, const PreparedList &list,
                                         const OperationDefinition &operation,
                                         const Captions &captions, const FieldStore &typed,
                                         const FieldStore &page,
                                         const materials::MaterialGroup *group,
                                         std::optional<cuttingdata::Tool> tool);

// Solves a page for a material and tool material, either or both of which may be absent: with
// both, a blank cutting speed and feed are first set from the starting data; with a group, a
// blank specific cutting force is set as solveWithMaterial does. Returns, for each starting value
// the table has no figure for, why. With a check, sets disagreements to the fields of the solved
// page that disagree with the rest.
std::vector<std::string> solveForMaterial(
    const PreparedList &list, const OperationDefinition &operation, const Captions &captions,
    const materials::MaterialGroup *group, std::optional<cuttingdata::Tool> tool, FieldStore &store,
    const ConsistencyCheck *check = nullptr, std::vector<Disagreement> *disagreements = nullptr);

// A batch's materials: --material's group for every row, and a header column "material" that
// gives a row a group of its own, kept in the output like a --keep column.
class BatchMaterials {
public:
    BatchMaterials(const OperationDefinition &operation, const CsvBatchOptions &options);

    // How many more cells than its fields and kept columns a row may have.
    std::size_t extraColumns() const { return m_columns.size(); }
    // The options to read the header with: with a material column kept when it has one.
    const CsvBatchOptions &headerOptions(std::span<const std::string_view> titles,
                                         std::size_t count);
    // Once the header is read, with the titles of its kept columns in their order.
    void headerRead(const std::vector<std::string> &keptTitles);

    // Solves a row whose kept cells are kept: as solveForMaterial with the row's group and tool
    // material, or --material's and --tool's where its cells are blank (a cell that names none
    // it can use is solved without one, not with the option's), then checks it against
    // --machine. Returns the row's warnings: a material or tool cell that names none it can
    // use, a starting value the table has no figure for, a result beyond the machine, each
    // starting with what it is about. With a check, sets disagreements to the fields of the
    // solved row that disagree with the rest.
    std::vector<std::string> solveRow(const PreparedList &list, const Captions &captions,
                                      const std::string *kept, FieldStore &store,
                                      const ConsistencyCheck *check = nullptr,
                                      std::vector<Disagreement> *disagreements = nullptr) const;

private:
    const OperationDefinition &m_operation;
    const CsvBatchOptions &m_options;
    std::vector<std::string> m_columns; // "material", "tool": the columns a header may have
    CsvBatchOptions m_withColumn;
    std::optional<std::size_t> m_cell; // among the kept cells
    std::optional<std::size_t> m_toolCell;
};

} // namespace zorvik
