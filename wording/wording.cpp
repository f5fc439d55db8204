// SPDX-License-Identifier: GPL-3.0-or-later
#include "wording/wording.h"

#include "solver/caption.h"
#include "solver/conversions.h"
#include "solver/fieldhelp.h"
#include "solver/quotedtext.h"
#include "solver/texts.h"

#include <cmath>
#include <cstring>
#include <system_error>

namespace zorvik {

namespace {

std::string systemText(int error)
{
    return std::generic_category().message(error);
}

// "larger than a job can be: more than 10 MiB (10 485 760 bytes)", exact whatever the limit (a
// whole number of KiB).
std::string tooLargeText(std::string_view holds, std::size_t most)
{
    constexpr std::size_t mebibyte = 1024 * 1024;
    const bool mebibytes = most % mebibyte == 0;
    return "larger than " + std::string(holds) + " can be: more than " +
           std::to_string(most / (mebibytes ? mebibyte : 1024)) + (mebibytes ? " MiB" : " KiB") +
           " (" + groupedWholeNumber(most) + " bytes)";
}

// "C45 (group 2), C45E (group 2) and 3 more".
std::string candidateList(const std::vector<std::pair<std::string_view, int>> &candidates)
{
    constexpr std::size_t listed = 8;
    std::string list;
    for (std::size_t i = 0; i < std::min(candidates.size(), listed); ++i) {
        list += (i ? ", " : "") + std::string(candidates[i].first) + " (group " +
                std::to_string(candidates[i].second) + ")";
    }
    if (candidates.size() > listed)
        list += " and " + std::to_string(candidates.size() - listed) + " more";
    return list;
}

} // namespace

std::string wording(const FileError &error, std::string_view holds)
{
    switch (error.fault) {
    case FileFault::cannotOpen:
        return "cannot be opened (" + systemText(error.systemError) + ")";
    case FileFault::cannotRead:
        return "cannot be read (" + systemText(error.systemError) + ")";
    case FileFault::directory:
        return "is a directory";
    case FileFault::tooLarge:
        return tooLargeText(holds, error.most);
    case FileFault::notReadToEnd:
        break;
    }
    return "was not read to its end";
}

std::string wording(const job::FileWriteError &error)
{
    if (error.heldElsewhere)
        return "held elsewhere";
    // The system's own words, in the user's language as its locale gives them.
    return std::strerror(error.systemError);
}

std::string wording(const materials::GroupNameError &error)
{
    // A text of any length is quoted by its start.
    if (error.ambiguous)
        return quotedText(error.text, 20) + " could be " + candidateList(error.candidates) +
               ": give the whole designation or the group number";
    return quotedText(error.text, 20) + " names no material group: give a group number from 1 to " +
           std::to_string(materials::materialGroups().size()) + " or a designation" +
           (error.candidates.empty() ? std::string(" such as C45, 304 or GG25")
                                     : " such as " + candidateList(error.candidates)) +
           " (zorvik-solve --materials lists them)";
}

std::string wording(const MachineKeyError &error)
{
    switch (error.fault) {
    case MachineKeyFault::unknownKey: {
        std::string names;
        for (const MachineKey &k : machineKeys())
            names += (names.empty() ? "" : ", ") + std::string(k.key);
        return "unknown key " + quotedText(error.key) + "; the keys are " + names;
    }
    case MachineKeyFault::noName:
        return "a machine needs a name";
    case MachineKeyFault::badName:
        return "a machine name is text of at most " + std::to_string(machineNameMost) +
               " characters, without control characters; " + quotedText(error.value) + " is not";
    case MachineKeyFault::badNumber:
        break;
    }
    return error.key + " wants a number " + (error.zeroAllowed ? "of 0 or more" : "above 0") +
           " in " + std::string(error.unit) + ", with a point as the decimal point; " +
           quotedText(error.value) + " is not";
}

std::string wording(const MachineProblem &problem)
{
    if (problem.fault == MachineFault::noName)
        return "a machine needs a name";
    return "the lowest spindle speed, " + numberToText(problem.lowest) +
           " rev/min, is above the highest, " + numberToText(problem.highest) + " rev/min";
}

std::string wording(const MachineReadError &error)
{
    std::string text;
    switch (error.fault) {
    case MachineReadFault::file:
        text = wording(*error.file, "a machine file");
        break;
    case MachineReadFault::notKeyValue:
        text = quotedText(error.text) + " is not key = value";
        break;
    case MachineReadFault::givenTwice:
        // A key seen before is a known one: it needs no quotes.
        text = error.text + " is given twice";
        break;
    case MachineReadFault::key:
        text = wording(*error.machine.key);
        break;
    case MachineReadFault::problem:
        text = wording(*error.machine.problem);
        break;
    }
    if (error.otherLine)
        text = "lines " + std::to_string(error.line) + " and " + std::to_string(error.otherLine) +
               ": " + text;
    else if (error.line)
        text = "line " + std::to_string(error.line) + ": " + text;
    if (error.path)
        text = "machine file " + quotedText(*error.path, fileNameMost) +
               (error.line ? ", " : ": ") + text;
    return text;
}

std::string wording(const Exceedance &verdict, const OperationDefinition &operation,
                    const Captions &captions)
{
    const std::vector<std::string_view> units = operation.units();
    auto reading = [&](double value, FieldId field) {
        return readingText(value, units[static_cast<std::size_t>(field)]);
    };
    // A field as a sentence names it: "Depth Of Cut (mm/cut)" as "depth of cut".
    auto lowerName = [&](FieldId field) {
        std::string name = captions.name(field);
        for (char &c : name)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        return name;
    };
    // What the machine gives for each limit, in the order of MachineLimit.
    static constexpr std::string_view gives[] = {"at least ", "at most ", "at most ", "", ""};
    std::string text = "needs " + reading(verdict.needed, verdict.field) + "; " + verdict.machine +
                       " gives " + std::string(gives[static_cast<std::size_t>(verdict.limit)]) +
                       reading(verdict.available, verdict.field);
    if (verdict.speed >= 0)
        text += " at " + reading(verdict.speedValue, verdict.speed);
    std::string suggested;
    for (const Suggestion &suggestion : verdict.suggestions)
        suggested += (suggested.empty() ? "" : ", or ") +
                     std::string(suggestion.atLeast ? "at least " : "at most ") +
                     lowerName(suggestion.field) + " " +
                     reading(suggestion.value, suggestion.field);
    if (!suggested.empty())
        text += " (" + suggested + ")";
    if (verdict.othersOutOfDate)
        text += "; other results are out of date: Recalculate (F5) says what would bring it within";
    return text;
}

namespace {

// "+59 %", "−4.2 %": two significant digits at least, whole percent from 10 % on.
std::string percentText(double relative)
{
    const double percent = relative * 100;
    const double shown = std::fabs(percent) < 10 ? std::round(std::fabs(percent) * 10) / 10
                                                 : std::round(std::fabs(percent));
    return (percent < 0 ? "−" : "+") + numberToText(shown) + " %";
}

} // namespace

std::string wording(const Disagreement &disagreement, const FieldStore &page,
                    const Captions &captions, const std::vector<std::string_view> &units)
{
    auto named = [&](FieldId field) {
        const std::string &text = page.text(field);
        return captions.name(field) + " " +
               (text.empty() ? std::string("blank") : shownText(text));
    };
    std::vector<std::string> sources;
    for (FieldId source : disagreement.sources)
        sources.push_back(named(source));
    const auto index = static_cast<std::size_t>(disagreement.field);
    const std::string_view unit = index < units.size() ? units[index] : std::string_view();
    std::string value = numberToText(roundedToSignificant(disagreement.ruleValue, 6));
    if (!unit.empty() && unit != "ratio" && unit != "count")
        (value += ' ') += unit;
    if (std::isfinite(disagreement.relative))
        value += " (" + percentText(disagreement.relative) + ")";
    return named(disagreement.field) + " disagrees with " + joined(sources, ", ", " and ") +
           (sources.size() == 1 ? ", which gives " : ", which give ") + value +
           ": one of them is out of date or mistyped.";
}

namespace {

std::string_view kindText(job::JsonKind kind)
{
    static constexpr std::string_view texts[] = {"null",   "an object",     "a list",
                                                 "a text", "true or false", "a number"};
    return texts[static_cast<std::size_t>(kind)];
}

// "window 1 (turning), page 0, txtcs: \"from\"", or "the job".
std::string placeText(const job::JobPlace &place)
{
    std::string text = place.window ? "window " + std::to_string(place.window) : "the job";
    if (!place.operation.empty())
        text += " (" + place.operation + ")";
    if (place.page)
        text += ", page " + std::to_string(*place.page);
    if (!place.field.empty())
        text += ", " + place.field;
    for (const std::string &key : place.keys)
        text += ": \"" + key + "\"";
    return text;
}

std::string jobText(const job::JobError &error)
{
    using job::JobFault;
    const std::string number = std::to_string(error.number);
    const std::string count = std::to_string(error.count);
    // The place is worded only where it is asked for: most faults of the file as a whole have
    // none.
    auto at = [&] { return placeText(error.place); };
    auto notA = [&](std::string_view wanted) {
        return at() + " is " + std::string(kindText(error.kind)) + ", not " + std::string(wanted);
    };
    switch (error.fault) {
    case JobFault::file:
        return wording(*error.fileError, "a job");
    case JobFault::tooLarge:
        return tooLargeText("a job", static_cast<std::size_t>(error.number));
    case JobFault::truncated:
        return "truncated: the file ends before the job does (byte " + number + ")";
    case JobFault::notJson:
        return "not a job: not JSON (at byte " + number + ")";
    case JobFault::unreadableJson:
        return "not a job: not JSON that this program reads (" + error.text + ")";
    case JobFault::notAJob:
        return "not a job: JSON without \"format\": \"zorvik-job\"";
    case JobFault::noVersion:
        return "not a job: no format version of 1 or more";
    case JobFault::newerVersion:
        return "format version " + number + " is newer than this program reads (up to " +
               std::to_string(job::formatVersion) + "): open it with a newer Zorvik-Engineer";
    case JobFault::windowsNotList:
        return "\"windows\" is " + std::string(kindText(error.kind)) + ", not a list";
    case JobFault::secondWindow:
        return at() + ": a second " + error.text + " window (a job holds one window per operation)";
    case JobFault::dataAfterEnd:
        return "data after the end of the job at byte " + number +
               " (a second job, or text added to the file?)";
    case JobFault::notObject:
        return notA("an object");
    case JobFault::noMember:
        return at() + " has no \"" + error.text + "\"";
    case JobFault::notText:
        return notA("a text");
    case JobFault::notFlag:
        return notA("true or false");
    case JobFault::notWhole:
        return notA("a whole number");
    case JobFault::notList:
        return notA("a list");
    case JobFault::notFieldName:
        return at() + " holds " + std::string(kindText(error.kind)) + ", not a field name";
    case JobFault::unknownMember:
        return at() + " has an unknown member " + quotedText(error.text);
    case JobFault::unknownField:
        return at() + " names an unknown field " + quotedText(error.text) + " of " +
               error.place.operation;
    case JobFault::unknownOrigin:
        return at() + " is " + quotedText(error.text) +
               ", not one of blank, typed, default, result, out of date, material, imported";
    case JobFault::noMaterialGroup:
        return at() + " is " + number + ", which is no work-material group";
    case JobFault::designationWithoutMaterial:
        return at() + " is given without \"material\"";
    case JobFault::unknownDesignation:
        return at() + " is " + quotedText(error.text) +
               ", which is no designation of work-material group " + number;
    case JobFault::unknownTool:
        return at() + " is " + quotedText(error.text) + ", not hss or carbide";
    case JobFault::unknownOperation:
        return at() + " is " + quotedText(error.text) + ", which is no operation of this program";
    case JobFault::machineKey:
        return at() + ": " + wording(*error.machine.key);
    case JobFault::machineProblem:
        return at() + ": " + wording(*error.machine.problem);
    case JobFault::pageShownOutOfRange:
        return at() + ": \"page shown\" is " + number + ", but the window has " +
               (error.count == 1 ? "only page 0" : "pages 0 and 1");
    case JobFault::contradictedOrigin:
        return at() + " is " + quotedText(error.text) +
               ", but the rest of the field's record makes it " + quotedText(error.found);
    case JobFault::wrongPageCount:
        break;
    }
    return at() + ": \"pages\" must be a list of " + count +
           (error.count == 1 ? " page" : " pages");
}

} // namespace

std::string wording(const job::JobError &error)
{
    return quotedText(error.file, fileNameMost) + ": " + jobText(error);
}

} // namespace zorvik
