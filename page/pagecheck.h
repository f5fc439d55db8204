// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/operation.h"
#include "solver/consistency.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// The consistency check of an operation's solved pages, worded as zorvik-solve warns of them.
class PageCheck {
public:
    explicit PageCheck(const OperationDefinition &operation);
    // The operation's check, built on first use and kept: building one renders every formula,
    // which costs more than solving a short batch, and a process that runs the tool many times
    // (the fuzzer, the tests) would pay it on every run.
    static const PageCheck &of(const OperationDefinition &operation);

    const ListSources &sources() const { return m_check.sources(); }
    const ConsistencyCheck &check() const { return m_check; }
    const Captions &captions() const { return m_captions; }
    std::vector<Disagreement> check(const FieldStore &page, const FieldSources &sources,
                                    const std::vector<FieldId> &fresh = {}) const
    {
        return m_check.check(page, sources, fresh);
    }
    // "Spindle Speed 954.5 disagrees with …", in the window's captions.
    std::string text(const Disagreement &disagreement, const FieldStore &page) const;
    // The warning: where (a line, or "" for a page), the field's name, and the text.
    std::string warning(std::string_view where, const Disagreement &disagreement,
                        const FieldStore &page) const;

private:
    const OperationDefinition &m_operation;
    ConsistencyCheck m_check;
    Captions m_captions;
    std::vector<std::string_view> m_units;
};

} // namespace zorvik
