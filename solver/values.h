// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/checkednumber.h"
#include "solver/fieldstore.h"

#include <cstddef>
#include <vector>

namespace zorvik {

// What a formula sees: fields through the strict conversion (a blank or malformed text is a
// failed number), fields through the lenient conversion, and the solve's auxiliary values.
class Values {
public:
    Values(const FieldStore &store, const std::vector<Num> &aux) : m_store(store), m_aux(aux) {}

    Num operator[](FieldId field) const;
    Num lenient(FieldId field) const;
    // Throws std::out_of_range unless the value is computed by now: a pre-pass rule runs before
    // any, and a value's definition before itself and the values after it.
    Num aux(int index) const
    {
        if (static_cast<std::size_t>(index) >= m_aux.size())
            throwAuxOutOfRange(index);
        return m_aux[static_cast<std::size_t>(index)];
    }

private:
    [[noreturn]] void throwAuxOutOfRange(int index) const;

    // The solve's view, which reads each text through the strict conversion only once.
    friend class UncheckedStore;
    Values(const UncheckedStore &unchecked, const FieldStore &store, const std::vector<Num> &aux)
        : m_store(store), m_aux(aux), m_unchecked(&unchecked)
    {}

    const FieldStore &m_store;
    const std::vector<Num> &m_aux;
    const UncheckedStore *m_unchecked = nullptr;
};

} // namespace zorvik
