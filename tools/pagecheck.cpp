// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/pagecheck.h"

namespace zorvik {

PageCheck::PageCheck(const OperationDefinition &operation)
    : m_operation(operation), m_check(operation.relations), m_captions(operation.captions()),
      m_units(operation.units())
{}

std::string PageCheck::text(const Disagreement &disagreement, const FieldStore &page) const
{
    return disagreementText(disagreement, page, m_captions, m_units);
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
