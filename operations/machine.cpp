// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/machine.h"

#include "solver/conversions.h"
#include "solver/numerics.h"
#include "solver/quotedtext.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

std::optional<MachineKeyError> setMachineKey(Machine &machine, std::string_view key,
                                             std::string_view value)
{
    const auto &keys = machineKeys();
    const auto found =
        std::find_if(keys.begin(), keys.end(), [&](const MachineKey &k) { return k.key == key; });
    auto error = [&](MachineKeyFault fault) {
        return MachineKeyError{fault, std::string(key), std::string(value),
                               found == keys.end() ? "" : found->unit,
                               found != keys.end() && found->value == &Machine::minRpm};
    };
    if (found == keys.end())
        return error(MachineKeyFault::unknownKey);
    if (!found->value) {
        if (value.empty())
            return error(MachineKeyFault::noName);
        // The name is written as it is into every warning of a result beyond the machine.
        if (!isPlainText(value, machineNameMost))
            return error(MachineKeyFault::badName);
        machine.name = value;
        return std::nullopt;
    }
    const std::optional<double> number = strictToNumber(value);
    const MachineKeyError refused = error(MachineKeyFault::badNumber);
    if (!number || !std::isfinite(*number) || *number < 0 || (*number == 0 && !refused.zeroAllowed))
        return refused;
    machine.*(found->value) = *number;
    return std::nullopt;
}

std::optional<MachineProblem> machineProblem(const Machine &machine)
{
    if (machine.name.empty())
        return MachineProblem{MachineFault::noName};
    if (machine.minRpm && machine.maxRpm && *machine.minRpm > *machine.maxRpm)
        return MachineProblem{MachineFault::speedRangeUpsideDown, *machine.minRpm, *machine.maxRpm};
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
    auto refuse = [&](MachineReadFault fault, std::size_t line) -> MachineReadError & {
        read.error.emplace();
        read.error->fault = fault;
        read.error->line = line;
        return *read.error;
    };
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
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            refuse(MachineReadFault::notKeyValue, number).text = line;
            return read;
        }
        const std::string_view key = trimmed(line.substr(0, equals));
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
            refuse(MachineReadFault::givenTwice, number).text = key;
            return read;
        }
        if (std::optional<MachineKeyError> bad =
                setMachineKey(read.machine, key, trimmed(line.substr(equals + 1)))) {
            refuse(MachineReadFault::key, number).machine.key = std::move(bad);
            return read;
        }
        seen.push_back(key);
        if (key == "min-rpm")
            minRpmLine = number;
        else if (key == "max-rpm")
            maxRpmLine = number;
    }
    if (std::optional<MachineProblem> bad = machineProblem(read.machine)) {
        MachineReadError &error = refuse(MachineReadFault::problem, 0);
        if (bad->fault == MachineFault::speedRangeUpsideDown) {
            error.line = std::min(minRpmLine, maxRpmLine);
            error.otherLine = std::max(minRpmLine, maxRpmLine);
        }
        error.machine.problem = bad;
    }
    return read;
}

MachineRead readMachineFile(const std::string &path, ReadWait wait)
{
    FileBytes file = readFileBytes(path, maxMachineBytes, wait);
    MachineRead read;
    if (file.error) {
        read.error.emplace();
        read.error->file = file.error;
    } else {
        read = readMachine(file.bytes);
    }
    if (read.error)
        read.error->path = path;
    return read;
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

// One figure of a page set against what the machine gives for it.
struct Demand {
    MachineLimit limit;
    FieldId field;
    double needed;
    double available;

    // Above 1 beyond the machine, at most 1 within; infinite where the machine gives nothing.
    double excess() const
    {
        if (limit == MachineLimit::minRpm) {
            if (available <= 0)
                return 0;
            return needed > 0 ? available / needed : std::numeric_limits<double>::infinity();
        }
        if (!(needed > 0))
            return 0;
        return available > 0 ? needed / available : std::numeric_limits<double>::infinity();
    }
};

// The three limits a page is held to: the spindle speed range, the feed rate, and what the
// spindle gives, as power and as torque.
enum class Kind { speed, feedRate, load };

// How the page stands against one limit: its figures, the one furthest beyond first.
struct Standing {
    std::vector<Demand> demands;

    // None where the page gives no figure for the limit.
    std::optional<double> excess() const
    {
        if (demands.empty())
            return std::nullopt;
        return demands.front().excess();
    }
    bool beyond() const { return excess().value_or(0) > 1; }
};

class Checker {
public:
    Checker(const Machine &machine, const OperationDefinition &operation)
        : m_machine(machine), m_list(operation.relations), m_units(operation.units()),
          m_operation(operation)
    {}

    std::vector<Exceedance> run(const FieldStore &page, const PageInputs *inputs)
    {
        std::vector<std::pair<double, Exceedance>> found;
        for (Kind kind : {Kind::speed, Kind::feedRate, Kind::load}) {
            // Power and torque at a speed the machine cannot run at say nothing it can do.
            if (kind == Kind::load && !found.empty() && isSpeed(found.front().second.limit))
                continue;
            const Standing standing = stand(page, kind);
            if (!standing.beyond())
                continue;
            std::vector<Suggestion> suggested;
            if (inputs)
                suggested = suggestions(kind, *inputs);
            found.emplace_back(*standing.excess(),
                               verdict(standing.demands.front(), page, std::move(suggested)));
        }
        const auto rest = found.begin() + (!found.empty() && isSpeed(found.front().second.limit));
        std::stable_sort(rest, found.end(),
                         [](const auto &a, const auto &b) { return a.first > b.first; });
        std::vector<Exceedance> verdicts;
        for (auto &[excess, verdict] : found)
            verdicts.push_back(std::move(verdict));
        return verdicts;
    }

private:
    static bool isSpeed(MachineLimit limit)
    {
        return limit == MachineLimit::minRpm || limit == MachineLimit::maxRpm;
    }

    FieldId id(std::string_view name) const { return name.empty() ? -1 : m_list.fieldId(name); }

    std::optional<double> number(const FieldStore &page, std::string_view name) const
    {
        const FieldId field = id(name);
        return field < 0 ? std::nullopt : strictToNumber(page.text(field));
    }

    Standing stand(const FieldStore &page, Kind kind) const
    {
        const MachineFields &fields = m_operation.machine;
        const std::optional<double> rpm = number(page, fields.rpm);
        Standing standing;
        std::vector<Demand> &found = standing.demands;
        switch (kind) {
        case Kind::speed:
            if (rpm && m_machine.minRpm)
                found.push_back({MachineLimit::minRpm, id(fields.rpm), *rpm, *m_machine.minRpm});
            if (rpm && m_machine.maxRpm)
                found.push_back({MachineLimit::maxRpm, id(fields.rpm), *rpm, *m_machine.maxRpm});
            break;
        case Kind::feedRate:
            if (const auto rate = number(page, fields.feedRate); rate && m_machine.maxFeedRate)
                found.push_back(
                    {MachineLimit::feedRate, id(fields.feedRate), *rate, *m_machine.maxFeedRate});
            break;
        case Kind::load: {
            const std::string_view powerField =
                number(page, fields.motorPower) ? fields.motorPower : fields.cuttingPower;
            if (const auto power = number(page, powerField); power && m_machine.power) {
                const std::optional<double> available =
                    rpm ? m_machine.powerAt(*rpm) : m_machine.power;
                if (available)
                    found.push_back({MachineLimit::power, id(powerField), *power, *available});
            }
            if (rpm && *rpm > 0 && m_machine.maxTorque) {
                std::optional<double> torque = number(page, fields.torque);
                std::string_view torqueField = fields.torque;
                if (!torque) {
                    if (const auto cutting = number(page, fields.cuttingPower)) {
                        torque = *cutting / radiansPerMinute(*rpm);
                        torqueField = fields.cuttingPower;
                    }
                }
                if (const std::optional<double> available = m_machine.torqueAt(*rpm); torque)
                    found.push_back({MachineLimit::torque, id(torqueField), *torque, *available});
            }
            break;
        }
        }
        std::stable_sort(found.begin(), found.end(),
                         [](const Demand &a, const Demand &b) { return a.excess() > b.excess(); });
        return standing;
    }

    // Solves the page's inputs with each lever the page holds as typed moved alone, to find how
    // far it must go to bring the limit within: first which way helps, then out in growing steps
    // to a value within, then halving the gap between that and the last value beyond. The value
    // found is rounded away from the page's own, to two significant digits, and solved once more
    // before it is offered.
    std::vector<Suggestion> suggestions(Kind kind, const PageInputs &inputs) const
    {
        FieldStore base = inputs.typed;
        inputs.solve(base);
        const std::optional<double> start = stand(base, kind).excess();
        // The inputs solved again are not beyond: they are not what the page was solved from.
        if (!start || !(*start > 1))
            return {};
        // A speed already beyond its range is the limit's own business, not a lever's.
        const bool keepSpeed = kind != Kind::speed && !stand(base, Kind::speed).beyond();
        std::vector<Suggestion> found;
        for (const MachineLever &lever : m_operation.machine.levers) {
            const std::optional<double> typed = number(inputs.typed, lever.field);
            if (!typed || !(*typed > 0) || !std::isfinite(*typed))
                continue;
            const auto [depth, width] = lever.fixedWhile;
            if (const auto cut = number(base, depth), full = number(base, width);
                cut && full && *cut >= *full)
                continue;
            LeverSearch search{*this, kind, inputs, id(lever.field), keepSpeed};
            if (const std::optional<Suggestion> suggestion = search.run(*typed, *start))
                found.push_back(*suggestion);
        }
        return found;
    }

    struct LeverSearch {
        const Checker &checker;
        Kind kind;
        const PageInputs &inputs;
        FieldId field;
        bool keepSpeed;

        struct Tried {
            std::optional<double> excess;
            bool within = false;
        };

        Tried at(double value) const
        {
            FieldStore moved = inputs.typed;
            moved.setText(field, numberToText(value));
            inputs.solve(moved);
            const Standing standing = checker.stand(moved, kind);
            const std::optional<double> excess = standing.excess();
            return {excess, excess && *excess <= 1 &&
                                !(keepSpeed && checker.stand(moved, Kind::speed).beyond())};
        }

        std::optional<Suggestion> run(double typed, double start) const
        {
            const bool count = checker.m_units[static_cast<std::size_t>(field)] == "count";
            if (count && typed != std::floor(typed))
                return std::nullopt;
            // Steps out grow: a count by 1, 2, 4 …; a value by a factor of 2^(1/8), 2^(1/4) … up
            // to 65 536, close first, where a cut keeps its teeth engaged, then far.
            auto out = [&](int step, int direction) {
                if (count)
                    return std::max(1.0, typed + direction * std::ldexp(1.0, step));
                return typed * std::exp2(direction * std::ldexp(1.0, step - 3));
            };
            const int steps = count ? 10 : 8;
            const double down = out(0, -1), up = out(0, 1);
            const Tried below = down < typed ? at(down) : Tried{};
            const Tried above = at(up);
            auto helps = [&](const Tried &tried) {
                return tried.within || (tried.excess && *tried.excess < start);
            };
            int direction = 0;
            if (below.within || (helps(below) && !above.within &&
                                 (!helps(above) || *below.excess <= *above.excess)))
                direction = -1;
            else if (helps(above))
                direction = 1;
            if (direction == 0)
                return std::nullopt;

            // Out until a value is within.
            double outside = typed, inside = direction < 0 ? down : up;
            Tried tried = direction < 0 ? below : above;
            for (int step = 1; !tried.within; ++step) {
                if (step == steps || out(step, direction) == inside)
                    return std::nullopt;
                outside = inside;
                inside = out(step, direction);
                tried = at(inside);
            }
            // In, between the last value beyond and the first within.
            for (int halvings = 0; halvings < 20; ++halvings) {
                const double middle =
                    count ? std::floor((inside + outside) / 2) : std::sqrt(inside * outside);
                if (middle == inside || middle == outside)
                    break;
                (at(middle).within ? inside : outside) = middle;
            }
            if (count)
                return Suggestion{field, inside, direction > 0};
            // Rounded the safe way, and solved again; a step further where that is still beyond.
            double value = twoDigits(inside, direction > 0);
            for (int tries = 0; tries < 8 && value > 0; ++tries) {
                value = *strictToNumber(numberToText(value));
                if (at(value).within)
                    return Suggestion{field, value, direction > 0};
                value = twoDigits(value * (direction > 0 ? 1 + 1e-6 : 1 - 1e-6), direction > 0);
            }
            return std::nullopt;
        }
    };

    Exceedance verdict(const Demand &demand, const FieldStore &page,
                       std::vector<Suggestion> suggestions) const
    {
        // Power and torque are what the machine gives at the page's spindle speed.
        const bool atSpeed =
            demand.limit == MachineLimit::power || demand.limit == MachineLimit::torque;
        const std::optional<double> rpm = number(page, m_operation.machine.rpm);
        const FieldId speed = atSpeed && rpm ? id(m_operation.machine.rpm) : -1;
        return {demand.limit,   demand.field,
                demand.needed,  demand.available,
                speed,          std::move(suggestions),
                m_machine.name, speed >= 0 ? *rpm : 0};
    }

    const Machine &m_machine;
    const RelationList &m_list;
    const std::vector<std::string_view> m_units;
    const OperationDefinition &m_operation;
};

} // namespace

std::vector<Exceedance> checkMachine(const Machine &machine, const OperationDefinition &operation,
                                     const FieldStore &page, const PageInputs *inputs)
{
    return Checker(machine, operation).run(page, inputs);
}

} // namespace zorvik
