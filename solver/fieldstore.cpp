// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/fieldstore.h"

#include <stdexcept>
#include <string>

namespace zorvik {

void FieldStore::throwOutOfRange(FieldId field) const
{
    throw std::out_of_range("FieldStore: field id " + std::to_string(field) +
                            " outside a store of " + std::to_string(m_texts.size()) + " fields");
}

} // namespace zorvik
