// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes through the conversions, and arbitrary field texts through a solve of every
// operation. Any broken invariant traps.
#include "operations/operation.h"
#include "solver/conversions.h"
#include "solver/solve.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using namespace zorvik;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void checkNumberText(double number)
{
    if (!std::isfinite(number))
        return;
    std::string text = numberToText(number);
    std::optional<double> back = strictToNumber(text);
    if (!back) {
        // Only the largest doubles round up to a 15-digit text beyond the double range, which
        // then reads as no number, like any other overflow.
        check(std::fabs(number) >= 1.797693134862315e308);
        return;
    }
    check(numberToText(*back) == text);
    if (std::fabs(number) > 1e-300)
        check(std::fabs(*back - number) <= 1e-14 * std::fabs(number));
}

void fuzzConversions(std::string_view text)
{
    std::optional<double> strict = strictToNumber(text);
    double lenient = lenientToNumber(text);
    if (strict) {
        check(std::isfinite(*strict));
        check(lenient == *strict);
        checkNumberText(*strict);
    }
    checkNumberText(lenient);
    if (text.size() >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, text.data(), sizeof raw);
        checkNumberText(raw);
    }
}

void fuzzSolve(std::string_view bytes)
{
    if (bytes.empty())
        return;
    const auto &operations = operationDefinitions();
    const OperationDefinition &operation =
        operations[static_cast<unsigned char>(bytes.front()) % operations.size()];
    bytes.remove_prefix(1);

    // Texts separated by '|' go into the fields in order; the rest keep their defaults.
    FieldStore store = operation.defaultStore();
    for (std::size_t field = 0; field < store.size() && !bytes.empty(); ++field) {
        std::size_t end = bytes.find('|');
        store.setText(static_cast<FieldId>(field), std::string(bytes.substr(0, end)));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    if (operation.prepare)
        operation.prepare(store);
    FieldStore before = store;
    const RelationList &list = operation.relations;
    check(solve(list, store));
    for (std::size_t i = 0; i < store.size(); ++i) {
        FieldId field = static_cast<FieldId>(i);
        bool copied = false;
        for (const PassCopy &copy : list.endOfPass)
            copied = copied || copy.target == field;
        if (!before.isBlank(field) && !copied)
            check(store.text(field) == before.text(field));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char *>(data), size);
    fuzzConversions(bytes);
    fuzzSolve(bytes);
    return 0;
}
