// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/job.h"

#include <array>
#include <utility>

namespace zorvik::job {

namespace {

constexpr std::array<std::pair<Origin, std::string_view>, 7> originNames{{
    {Origin::blank, "blank"},
    {Origin::typed, "typed"},
    {Origin::defaulted, "default"},
    {Origin::result, "result"},
    {Origin::outOfDate, "out of date"},
    {Origin::material, "material"},
    {Origin::imported, "imported"},
}};

} // namespace

std::string_view originName(Origin origin)
{
    for (const auto &[known, name] : originNames) {
        if (known == origin)
            return name;
    }
    return "typed";
}

std::optional<Origin> originNamed(std::string_view name)
{
    for (const auto &[origin, known] : originNames) {
        if (known == name)
            return origin;
    }
    return std::nullopt;
}

const FieldRecord *PageRecord::field(std::string_view name) const
{
    for (const FieldRecord &record : fields) {
        if (record.name == name)
            return &record;
    }
    return nullptr;
}

} // namespace zorvik::job
