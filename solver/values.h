// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/checkednumber.h"
#include "solver/fieldstore.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorvik {

// What a formula sees: fields through the strict conversion (a blank or malformed text is a
// failed number), fields through the lenient conversion, and the solve's auxiliary values.
class PageReadings;

class Values {
public:
    Values(const FieldStore &store, const std::vector<Num> &aux) : m_store(store), m_aux(aux) {}
    // Reading through readings, which convert each text once.
    Values(const PageReadings &readings, const std::vector<Num> &aux);

    inline Num operator[](FieldId field) const;
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
    // The solve's reading, or the strict conversion of a store read directly.
    Num read(FieldId field) const;
    [[noreturn]] void throwAuxOutOfRange(int index) const;

    // The solve's view, which reads each text through the strict conversion only once.
    friend class UncheckedStore;
    Values(const UncheckedStore &unchecked, const FieldStore &store, const std::vector<Num> &aux)
        : m_store(store), m_aux(aux), m_unchecked(&unchecked)
    {}

    const FieldStore &m_store;
    const std::vector<Num> &m_aux;
    const UncheckedStore *m_unchecked = nullptr;
    const PageReadings *m_readings = nullptr;
};

// The strict readings of a page's texts, each converted on its first read unless a solve kept
// its reading: a check evaluates rule after rule on the same few sources, and the conversion is
// most of what a rule costs. The page must not change while its readings are used.
class PageReadings {
public:
    explicit PageReadings(const FieldStore &store)
        : m_store(store), m_kept(std::min(store.size(), FieldStore::keptFields))
    {}

    const FieldStore &store() const { return m_store; }
    // Throws std::out_of_range, as the store does, for a field it lacks.
    Num operator[](FieldId field) const
    {
        // A negative id is taken as a large index, which read refuses as the store does.
        const auto index = static_cast<std::size_t>(field);
        if (index >= m_kept)
            return read(field);
        if (m_store.m_kept.has(index))
            return m_store.m_kept.number(m_store.m_numbers.data(), index);
        if (!m_own.has(index))
            m_own.keep(m_numbers, index, read(field));
        return m_own.number(m_numbers, index);
    }

private:
    Num read(FieldId field) const;

    const FieldStore &m_store;
    std::size_t m_kept; // the fields read through the kept readings
    // The readings of texts the solve did not keep, by index.
    mutable double m_numbers[FieldStore::keptFields];
    mutable KeptReadings m_own;
};

// A check reads through its readings, inline: it evaluates few rules, and the call would cost
// as much as a read that the solve kept.
inline Values::Values(const PageReadings &readings, const std::vector<Num> &aux)
    : m_store(readings.store()), m_aux(aux), m_readings(&readings)
{}

inline Num Values::operator[](FieldId field) const
{
    return m_readings ? (*m_readings)[field] : read(field);
}

} // namespace zorvik
