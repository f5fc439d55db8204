// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/pagecheck.h"

#include "wording/wording.h"

#include <map>
#include <memory>
#include <mutex>

namespace zorvik {

PageCheck::PageCheck(const OperationDefinition &operation)
    : m_operation(operation), m_check(operation.relations), m_captions(operation.captions()),
      m_units(operation.units())
{}

const PageCheck &PageCheck::of(const OperationDefinition &operation)
{
    // Operations are rows of a static table: their addresses last as long as the process.
    static std::mutex guard;
    static std::map<const OperationDefinition *, std::unique_ptr<const PageCheck>> checks;
    const std::lock_guard<std::mutex> lock(guard);
    std::unique_ptr<const PageCheck> &check = checks[&operation];
    if (!check)
        check = std::make_unique<const PageCheck>(operation);
    return *check;
}

std::string PageCheck::text(const Disagreement &disagreement, const FieldStore &page) const
{
    return wording(disagreement, page, m_captions, m_units);
}

std::string PageCheck::warning(std::string_view where, const Disagreement &disagreement,
                               const FieldStore &page) const
{
    std::string warning(where);
    if (!warning.empty())
        warning += ", ";
    warning += m_operation.relations.fields[static_cast<std::size_t>(disagreement.field)];
    return warning + ": " + text(disagreement, page);
}

} // namespace zorvik
