// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/machine.h"

#include "solver/conversions.h"
#include "solver/numerics.h"
#include "solver/quotedtext.h"

#include <algorithm>
#include <cmath>

namespace zorvik {

namespace {

// Spindle power and torque are related as P = T × 2π n / 60, with the one pi every formula
// reads, so that a check agrees with the milling torque rule.
double radiansPerMinute(double rpm)
{
    return 2 * pi * rpm / 60;
}

} // namespace

std::optional<double> Machine::powerAt(double rpm) const
{
    std::optional<double> available = power;
    if (available && fullPowerRpm && rpm < *fullPowerRpm)
        available = *available * rpm / *fullPowerRpm;
    if (maxTorque) {
        const double byTorque = *maxTorque * radiansPerMinute(rpm);
        available = available ? std::min(*available, byTorque) : byTorque;
    }
    return available;
}

std::optional<double> Machine::torqueAt(double rpm) const
{
    std::optional<double> available = maxTorque;
    if (power && rpm > 0) {
        const double byPower = *power * (fullPowerRpm ? std::min(1.0, rpm / *fullPowerRpm) : 1.0) /
                               radiansPerMinute(rpm);
        available = available ? std::min(*available, byPower) : byPower;
    }
    return available;
}

const std::vector<MachineKey> &machineKeys()
{
    static const std::vector<MachineKey> keys{
        {"name", "Name", "", nullptr},
        {"min-rpm", "Lowest spindle speed", "rev/min", &Machine::minRpm},
        {"max-rpm", "Highest spindle speed", "rev/min", &Machine::maxRpm},
        {"max-feed-rate", "Highest feed rate", "mm/min", &Machine::maxFeedRate},
        {"power", "Rated motor power", "W", &Machine::power},
        {"max-torque", "Highest spindle torque", "N·m", &Machine::maxTorque},
        {"full-power-rpm", "Full power from", "rev/min", &Machine::fullPowerRpm},
    };
    return keys;
}

std::optional<std::string> setMachineKey(Machine &machine, std::string_view key,
                                         std::string_view value)
{
    const auto &keys = machineKeys();
    const auto found =
        std::find_if(keys.begin(), keys.end(), [&](const MachineKey &k) { return k.key == key; });
    if (found == keys.end()) {
        std::string names;
        for (const MachineKey &k : keys)
            names += (names.empty() ? "" : ", ") + std::string(k.key);
        return "unknown key " + quotedText(key) + "; the keys are " + names;
    }
    if (!found->value) {
        if (value.empty())
            return std::string("a machine needs a name");
        // The name is written as it is into every warning of a result beyond the machine.
        if (!isPlainText(value, machineNameMost))
            return "a machine name is text of at most " + std::to_string(machineNameMost) +
                   " characters, without control characters; " + quotedText(value) + " is not";
        machine.name = value;
        return std::nullopt;
    }
    const std::optional<double> number = strictToNumber(value);
    const bool zeroAllowed = found->value == &Machine::minRpm;
    if (!number || !std::isfinite(*number) || *number < 0 || (*number == 0 && !zeroAllowed))
        return std::string(found->key) + " wants a number " +
               (zeroAllowed ? "of 0 or more" : "above 0") + " in " + std::string(found->unit) +
               ", with a point as the decimal point; " + quotedText(value) + " is not";
    machine.*(found->value) = *number;
    return std::nullopt;
}

std::optional<std::string> machineProblem(const Machine &machine)
{
    if (machine.name.empty())
        return std::string("a machine needs a name");
    if (machine.minRpm && machine.maxRpm && *machine.minRpm > *machine.maxRpm)
        return "the lowest spindle speed, " + numberToText(*machine.minRpm) +
               " rev/min, is above the highest, " + numberToText(*machine.maxRpm) + " rev/min";
    return std::nullopt;
}

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

MachineRead readMachine(std::string_view text)
{
    // Editors on Windows start a UTF-8 file with a byte-order mark; it is no part of the key.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    MachineRead read;
    std::size_t number = 0;
    std::vector<std::string_view> seen;
    std::size_t minRpmLine = 0, maxRpmLine = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            read.error = where + quotedText(line) + " is not key = value";
            return read;
        }
        const std::string_view key = trimmed(line.substr(0, equals));
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
            // A key seen before is a known one: it needs no quotes.
            read.error = where + std::string(key) + " is given twice";
            return read;
        }
        if (std::optional<std::string> bad =
                setMachineKey(read.machine, key, trimmed(line.substr(equals + 1)))) {
            read.error = where + *bad;
            return read;
        }
        seen.push_back(key);
        if (key == "min-rpm")
            minRpmLine = number;
        else if (key == "max-rpm")
            maxRpmLine = number;
    }
    if (std::optional<std::string> bad = machineProblem(read.machine)) {
        // A speed range upside down is a fault of two lines: either may be the one to put right.
        const Machine &machine = read.machine;
        if (!machine.name.empty() && machine.minRpm && machine.maxRpm &&
            *machine.minRpm > *machine.maxRpm)
            *bad = "lines " + std::to_string(std::min(minRpmLine, maxRpmLine)) + " and " +
                   std::to_string(std::max(minRpmLine, maxRpmLine)) + ": " + *bad;
        read.error = *bad;
    }
    return read;
}

MachineRead readMachineFile(const std::string &path, ReadWait wait)
{
    const std::string named = "machine file " + quotedText(path, fileNameMost);
    FileBytes file = readFileBytes(path, maxMachineBytes, "a machine file", wait);
    MachineRead read;
    if (file.error.empty())
        read = readMachine(file.bytes);
    else
        read.error = file.error;
    if (!read.error.empty())
        read.error = named + (read.error.starts_with("line") ? ", " : ": ") + read.error;
    return read;
}

std::string readingText(double value)
{
    if (value == 0 || !std::isfinite(value))
        return numberToText(value);
    if (std::fabs(value) < 100) {
        const double scale = std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 2);
        return numberToText(std::round(value / scale) * scale);
    }
    return (value < 0 ? "-" : "") +
           groupedWholeNumber(static_cast<unsigned long long>(std::llround(std::fabs(value))));
}

namespace {

// A value cut to two significant digits, down (or up) so that it stays within the limit.
double twoDigits(double value, bool up)
{
    if (value <= 0 || !std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, std::floor(std::log10(value)) - 1);
    return (up ? std::ceil(value / scale - 1e-9) : std::floor(value / scale + 1e-9)) * scale;
}

// "Depth Of Cut (mm/cut) :" as "depth of cut" and "mm/cut".
struct CaptionWords {
    std::string name;
    std::string unit;
};

CaptionWords captionWords(std::string caption)
{
    while (!caption.empty() && (caption.back() == ':' || caption.back() == ' '))
        caption.pop_back();
    CaptionWords words;
    if (const auto open = caption.rfind('('); open != std::string::npos && caption.back() == ')') {
        words.unit = caption.substr(open + 1, caption.size() - open - 2);
        caption = caption.substr(0, caption.find_last_not_of(' ', open - 1) + 1);
    }
    for (char &c : caption)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    words.name = caption;
    return words;
}

class Checker {
public:
    Checker(const Machine &machine, const OperationDefinition &operation, const FieldStore &page,
            const Captions &captions)
        : m_machine(machine), m_list(operation.relations), m_page(page), m_captions(captions),
          m_operation(operation)
    {}

    std::vector<Exceedance> run()
    {
        const MachineFields &fields = m_operation.machine;
        const std::optional<double> rpm = number(fields.rpm);
        const std::string_view speedField =
            m_operation.starting ? m_operation.starting->speed : std::string_view();
        const std::string_view feedField =
            m_operation.starting ? m_operation.starting->feed : std::string_view();
        if (rpm && m_machine.minRpm && *rpm < *m_machine.minRpm)
            add(MachineLimit::minRpm, fields.rpm, *rpm, *m_machine.minRpm, "at least ", {},
                {speedField}, true, "rev/min");
        if (rpm && m_machine.maxRpm && *rpm > *m_machine.maxRpm)
            add(MachineLimit::maxRpm, fields.rpm, *rpm, *m_machine.maxRpm, "at most ", {},
                {speedField}, false, "rev/min");
        if (const auto rate = number(fields.feedRate);
            rate && m_machine.maxFeedRate && *rate > *m_machine.maxFeedRate)
            add(MachineLimit::feedRate, fields.feedRate, *rate, *m_machine.maxFeedRate, "at most ",
                {}, {feedField}, false, "mm/min");
        std::string_view powerField =
            number(fields.motorPower) ? fields.motorPower : fields.cuttingPower;
        const std::optional<double> power = number(powerField);
        if (power && m_machine.power) {
            const std::optional<double> available =
                rpm ? m_machine.powerAt(*rpm) : std::optional<double>(m_machine.power);
            if (available && *power > *available)
                add(MachineLimit::power, powerField, *power, *available, "", rpm,
                    fields.proportional, false, "W");
        }
        if (rpm && *rpm > 0 && m_machine.maxTorque) {
            std::optional<double> torque = number(fields.torque);
            std::string_view torqueField = fields.torque;
            if (!torque) {
                if (const auto cutting = number(fields.cuttingPower)) {
                    torque = *cutting / radiansPerMinute(*rpm);
                    torqueField = fields.cuttingPower;
                }
            }
            const std::optional<double> available = m_machine.torqueAt(*rpm);
            if (torque && available && *torque > *available)
                add(MachineLimit::torque, torqueField, *torque, *available, "", rpm,
                    fields.proportional, false, "N·m");
        }
        return std::move(m_found);
    }

private:
    FieldId id(std::string_view name) const { return name.empty() ? -1 : m_list.fieldId(name); }

    std::optional<double> number(std::string_view name) const
    {
        const FieldId field = id(name);
        return field < 0 ? std::nullopt : strictToNumber(m_page.text(field));
    }

    CaptionWords words(std::string_view name) const
    {
        return captionWords(m_captions[static_cast<std::size_t>(id(name))]);
    }

    // Each field that the result grows in proportion to, scaled to bring it within.
    std::string within(const std::array<std::string_view, 2> &proportional, double ratio, bool up,
                       std::string_view bound) const
    {
        std::vector<std::string_view> given;
        for (std::string_view name : proportional) {
            if (!name.empty() && number(name) && *number(name) > 0)
                given.push_back(name);
        }
        std::string text;
        for (std::size_t i = 0; i < given.size(); ++i) {
            const CaptionWords field = words(given[i]);
            text += (i ? ", or " : std::string(bound)) + field.name + " " +
                    readingText(twoDigits(*number(given[i]) * ratio, up)) +
                    (field.unit.empty() ? "" : " " + field.unit);
            if (given.size() > 1)
                text += " at this " + words(given[1 - i]).name;
        }
        return text.empty() ? text : " (" + text + ")";
    }

    void add(MachineLimit limit, std::string_view name, double needed, double available,
             std::string_view gives, std::optional<double> rpm,
             const std::array<std::string_view, 2> &proportional, bool up, std::string unit = {})
    {
        if (unit.empty())
            unit = words(name).unit;
        const std::string units(unit);
        std::string text = "needs " + readingText(needed) + " " + units + "; " + m_machine.name +
                           " gives " + std::string(gives) + readingText(available) + " " + units;
        if (rpm)
            text += " at " + readingText(*rpm) + " rev/min";
        text += within(proportional, available / needed, up, up ? "at least " : "at most ");
        m_found.push_back({limit, id(name), needed, available, text});
    }

    const Machine &m_machine;
    const RelationList &m_list;
    const FieldStore &m_page;
    const Captions &m_captions;
    const OperationDefinition &m_operation;
    std::vector<Exceedance> m_found;
};

} // namespace

std::vector<Exceedance> checkMachine(const Machine &machine, const OperationDefinition &operation,
                                     const FieldStore &page, const Captions &captions)
{
    return Checker(machine, operation, page, captions).run();
}

} // namespace zorvik
