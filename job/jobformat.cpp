// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/jobformat.h"

#include "operations/cuttingdata.h"
#include "operations/materials.h"
#include "operations/operation.h"
#include "solver/conversions.h"
#include "solver/quotedtext.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <istream>
#include <stdexcept>

namespace zorvik::job {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view formatName = "zorvik-job";

// Why a job is refused, without the file's name, which readJob puts first.
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Json machineJson(const Machine &machine)
{
    Json json = Json::object();
    for (const MachineKey &key : machineKeys()) {
        if (!key.value)
            json[std::string(key.key)] = machine.name;
        else if (const std::optional<double> &value = machine.*(key.value))
            json[std::string(key.key)] = numberToText(*value);
    }
    return json;
}

Json fieldJson(const FieldRecord &field)
{
    Json json = Json::object();
    json["text"] = field.text;
    json["from"] = std::string(originName(field.origin));
    if (field.changed)
        json["changed"] = true;
    if (field.locked)
        json["locked"] = true;
    if (!field.written.empty())
        json["written"] = field.written;
    if (!field.rule.empty())
        json["rule"] = field.rule;
    if (!field.sources.empty()) {
        Json read = Json::object();
        for (const SourceText &source : field.sources)
            read[source.field] = source.text;
        json["read"] = std::move(read);
    }
    if (!field.staleSource.empty())
        json["stale source"] = field.staleSource;
    if (field.solvedText)
        json["solved"] = *field.solvedText;
    if (field.notANumber)
        json["not a number"] = true;
    // One line as a text, as files before several lines were kept have it.
    if (field.disagreements.size() == 1)
        json["disagrees"] = field.disagreements.front();
    else if (!field.disagreements.empty())
        json["disagrees"] = field.disagreements;
    if (!field.note.empty())
        json["note"] = field.note;
    if (!field.given.empty())
        json["given"] = field.given;
    if (!field.explanation.empty())
        json["explanation"] = field.explanation;
    return json;
}

Json pageJson(const PageRecord &page)
{
    Json json = Json::object();
    json["explained"] = page.explained;
    if (!page.edits.empty())
        json["edits"] = page.edits;
    if (page.materialGroup) {
        json["material"] = *page.materialGroup;
        if (page.materialDesignation)
            json["material designation"] = *page.materialDesignation;
        if (page.atOneMillimetre)
            json["at 1 mm"] = true;
    }
    if (page.startGroup)
        json["start material"] = *page.startGroup;
    if (page.tool)
        json["tool"] = *page.tool;
    Json fields = Json::object();
    for (const FieldRecord &field : page.fields)
        fields[field.name] = fieldJson(field);
    json["fields"] = std::move(fields);
    return json;
}

// What a value is, as the refusal names it.
std::string kindOf(const Json &value)
{
    switch (value.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::object:
        return "an object";
    case Json::value_t::array:
        return "a list";
    case Json::value_t::string:
        return "a text";
    case Json::value_t::boolean:
        return "true or false";
    default:
        return "a number";
    }
}

// Reads the members of one object of the file, refusing a member of the wrong kind and any member
// the format does not have, so that a misspelt key is told rather than silently dropped.
class Members {
public:
    Members(const Json &object, std::string where) : m_object(object), m_where(std::move(where))
    {
        if (!object.is_object())
            throw Refusal(m_where + " is " + kindOf(object) + ", not an object");
    }

    const Json *find(std::string_view key)
    {
        m_known.emplace_back(key);
        const auto found = m_object.find(std::string(key));
        return found == m_object.end() ? nullptr : &*found;
    }
    const Json &need(std::string_view key)
    {
        const Json *value = find(key);
        if (!value)
            throw Refusal(m_where + " has no \"" + std::string(key) + "\"");
        return *value;
    }
    std::string text(std::string_view key, const Json &value) const
    {
        if (!value.is_string())
            throw Refusal(what(key) + " is " + kindOf(value) + ", not a text");
        return value.get<std::string>();
    }
    std::string text(std::string_view key) { return text(key, need(key)); }
    std::optional<std::string> optionalText(std::string_view key)
    {
        const Json *value = find(key);
        return value ? std::optional(text(key, *value)) : std::nullopt;
    }
    bool flag(std::string_view key)
    {
        const Json *value = find(key);
        if (!value)
            return false;
        if (!value->is_boolean())
            throw Refusal(what(key) + " is " + kindOf(*value) + ", not true or false");
        return value->get<bool>();
    }
    std::optional<std::int64_t> whole(std::string_view key)
    {
        const Json *value = find(key);
        if (!value)
            return std::nullopt;
        if (!value->is_number_integer())
            throw Refusal(what(key) + " is " + kindOf(*value) + ", not a whole number");
        return value->get<std::int64_t>();
    }
    // After every member was asked for.
    void noOthers() const
    {
        for (const auto &[key, value] : m_object.items()) {
            if (std::find(m_known.begin(), m_known.end(), key) == m_known.end())
                throw Refusal(m_where + " has an unknown member " + quotedText(key));
        }
    }
    std::string what(std::string_view key) const
    {
        return m_where + ": \"" + std::string(key) + "\"";
    }
    const std::string &where() const { return m_where; }

private:
    const Json &m_object;
    std::string m_where;
    std::vector<std::string> m_known;
};

// A field name of the operation's list; refused naming where it was met.
std::string knownField(const OperationDefinition &operation, const std::string &name,
                       const std::string &where)
{
    if (operation.relations.fieldId(name) < 0)
        throw Refusal(where + " names an unknown field " + quotedText(name) + " of " +
                      std::string(operation.name));
    return name;
}

FieldRecord readField(const OperationDefinition &operation, const std::string &name,
                      const Json &json, const std::string &where)
{
    Members members(json, where);
    FieldRecord field;
    field.name = name;
    field.text = members.text("text");
    if (const std::optional<std::string> from = members.optionalText("from")) {
        const std::optional<Origin> origin = originNamed(*from);
        if (!origin)
            throw Refusal(members.what("from") + " is " + quotedText(*from) +
                          ", not one of blank, typed, default, result, out of date, material, "
                          "imported");
        field.origin = *origin;
        field.originStated = true;
    } else {
        field.origin = field.text.empty() ? Origin::blank : Origin::typed;
    }
    field.changed = members.flag("changed");
    field.locked = members.flag("locked");
    field.written = members.optionalText("written").value_or("");
    field.rule = members.optionalText("rule").value_or("");
    if (const Json *read = members.find("read")) {
        Members sources(*read, members.what("read"));
        for (const auto &[source, text] : read->items()) {
            knownField(operation, source, sources.where());
            field.sources.push_back({source, sources.text(source, text)});
        }
    }
    if (const std::optional<std::string> stale = members.optionalText("stale source"))
        field.staleSource = knownField(operation, *stale, members.what("stale source"));
    field.solvedText = members.optionalText("solved");
    field.notANumber = members.flag("not a number");
    if (const Json *disagrees = members.find("disagrees")) {
        if (disagrees->is_array()) {
            for (const Json &line : *disagrees)
                field.disagreements.push_back(members.text("disagrees", line));
        } else {
            field.disagreements.push_back(members.text("disagrees", *disagrees));
        }
    }
    field.note = members.optionalText("note").value_or("");
    field.given = members.optionalText("given").value_or("");
    field.explanation = members.optionalText("explanation").value_or("");
    members.noOthers();
    return field;
}

std::optional<int> groupNumber(Members &members, std::string_view key)
{
    const std::optional<std::int64_t> number = members.whole(key);
    if (number && !materials::findMaterialGroup(static_cast<int>(*number)))
        throw Refusal(members.what(key) + " is " + std::to_string(*number) +
                      ", which is no work-material group");
    return number ? std::optional(static_cast<int>(*number)) : std::nullopt;
}

PageRecord readPage(const OperationDefinition &operation, const Json &json,
                    const std::string &where)
{
    Members members(json, where);
    PageRecord page;
    page.explained = members.flag("explained");
    if (const Json *edits = members.find("edits")) {
        if (!edits->is_array())
            throw Refusal(members.what("edits") + " is " + kindOf(*edits) + ", not a list");
        for (const Json &edit : *edits) {
            if (!edit.is_string())
                throw Refusal(members.what("edits") + " holds " + kindOf(edit) +
                              ", not a field name");
            page.edits.push_back(
                knownField(operation, edit.get<std::string>(), members.what("edits")));
        }
    }
    page.materialGroup = groupNumber(members, "material");
    page.materialDesignation = members.optionalText("material designation");
    if (const std::optional<std::string> &name = page.materialDesignation) {
        const materials::MaterialGroup *group =
            page.materialGroup ? materials::findMaterialGroup(*page.materialGroup) : nullptr;
        if (!group)
            throw Refusal(members.what("material designation") + " is given without \"material\"");
        if (materials::designationNamed(*group, *name) != *name)
            throw Refusal(members.what("material designation") + " is " + quotedText(*name) +
                          ", which is no designation of work-material group " +
                          std::to_string(group->number));
    }
    page.atOneMillimetre = members.flag("at 1 mm");
    page.startGroup = groupNumber(members, "start material");
    page.tool = members.optionalText("tool");
    if (page.tool && !cuttingdata::toolNamed(*page.tool))
        throw Refusal(members.what("tool") + " is " + quotedText(*page.tool) +
                      ", not hss or carbide");
    const Json &fields = members.need("fields");
    Members named(fields, members.what("fields"));
    for (const auto &[name, field] : fields.items())
        knownField(operation, name, named.where());
    // A field the file leaves out opens as the window opens it.
    const FieldStore defaults = operation.defaultStore();
    for (std::size_t i = 0; i < operation.relations.fields.size(); ++i) {
        const std::string name(operation.relations.fields[i]);
        const auto found = fields.find(name);
        if (found != fields.end()) {
            page.fields.push_back(readField(operation, name, *found, where + ", " + name));
            continue;
        }
        FieldRecord field;
        field.name = name;
        field.text = defaults.text(static_cast<FieldId>(i));
        field.origin = field.text.empty() ? Origin::blank : Origin::defaulted;
        page.fields.push_back(std::move(field));
    }
    members.noOthers();
    return page;
}

std::optional<Machine> readMachine(Members &window)
{
    const Json *json = window.find("machine");
    if (!json || json->is_null())
        return std::nullopt;
    Members members(*json, window.what("machine"));
    Machine machine;
    for (const MachineKey &key : machineKeys()) {
        const std::optional<std::string> text = members.optionalText(key.key);
        if (!text)
            continue;
        if (const std::optional<std::string> problem = setMachineKey(machine, key.key, *text))
            throw Refusal(members.what(key.key) + ": " + *problem);
    }
    members.noOthers();
    if (const std::optional<std::string> problem = machineProblem(machine))
        throw Refusal(members.where() + ": " + *problem);
    return machine;
}

WindowRecord readWindow(const Json &json, const std::string &where)
{
    Members members(json, where);
    WindowRecord window;
    window.operation = members.text("operation");
    const OperationDefinition *operation = findOperation(window.operation);
    if (!operation)
        throw Refusal(members.what("operation") + " is " + quotedText(window.operation) +
                      ", which is no operation of this program");
    window.operation = operation->name;
    const std::string named = where + " (" + window.operation + ")";
    const std::size_t pageCount = operation->design().pages.size();
    const std::int64_t shown = members.whole("page shown").value_or(0);
    if (shown < 0 || static_cast<std::size_t>(shown) >= pageCount)
        throw Refusal(named + ": \"page shown\" is " + std::to_string(shown) + ", but the window" +
                      " has " + (pageCount == 1 ? "only page 0" : "pages 0 and 1"));
    window.shownPage = static_cast<int>(shown);
    window.machine = readMachine(members);
    const Json &pages = members.need("pages");
    if (!pages.is_array() || pages.size() != pageCount)
        throw Refusal(named + ": \"pages\" must be a list of " + std::to_string(pageCount) +
                      (pageCount == 1 ? " page" : " pages"));
    for (std::size_t i = 0; i < pages.size(); ++i)
        window.pages.push_back(
            readPage(*operation, pages[i], named + ", page " + std::to_string(i)));
    members.noOthers();
    return window;
}

Job readWindows(const Json &json)
{
    if (!json.is_object() || json.value("format", Json()) != formatName)
        throw Refusal("not a job: JSON without \"format\": \"zorvik-job\"");
    Members members(json, "the job");
    members.find("format");
    const std::optional<std::int64_t> version = members.whole("version");
    if (!version || *version < 1)
        throw Refusal("not a job: no format version of 1 or more");
    if (*version > formatVersion)
        throw Refusal("format version " + std::to_string(*version) +
                      " is newer than this program reads (up to " + std::to_string(formatVersion) +
                      "): open it with a newer Zorvik-Engineer");
    const Json &windows = members.need("windows");
    if (!windows.is_array())
        throw Refusal("\"windows\" is " + kindOf(windows) + ", not a list");
    Job job;
    std::vector<std::string> operations;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        WindowRecord window = readWindow(windows[i], "window " + std::to_string(i + 1));
        if (std::find(operations.begin(), operations.end(), window.operation) != operations.end())
            throw Refusal("window " + std::to_string(i + 1) + ": a second " + window.operation +
                          " window (a job holds one window per operation)");
        operations.push_back(window.operation);
        job.windows.push_back(std::move(window));
    }
    members.noOthers();
    return job;
}

std::string named(std::string_view file)
{
    return quotedText(file, fileNameMost) + ": ";
}

// Reads bytes as characters from where they are, so that the parser can stop at the end of the
// first JSON value and say where that was.
class BytesBuffer : public std::streambuf {
public:
    explicit BytesBuffer(std::string_view bytes)
    {
        char *begin = const_cast<char *>(bytes.data());
        setg(begin, begin, begin + bytes.size());
    }
    std::size_t taken() const { return static_cast<std::size_t>(gptr() - eback()); }
};

} // namespace

std::string writeJob(const Job &job)
{
    Json json = Json::object();
    json["format"] = formatName;
    json["version"] = formatVersion;
    Json windows = Json::array();
    for (const WindowRecord &window : job.windows) {
        Json entry = Json::object();
        entry["operation"] = window.operation;
        entry["page shown"] = window.shownPage;
        if (window.machine)
            entry["machine"] = machineJson(*window.machine);
        Json pages = Json::array();
        for (const PageRecord &page : window.pages)
            pages.push_back(pageJson(page));
        entry["pages"] = std::move(pages);
        windows.push_back(std::move(entry));
    }
    json["windows"] = std::move(windows);
    // Texts that are not valid UTF-8 (a pasted lone surrogate) are kept as the replacement
    // character rather than refusing the whole save.
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

JobRead readJob(std::string_view bytes, std::string_view file)
{
    JobRead read;
    if (bytes.size() > maxJobBytes) {
        read.error = named(file) + tooLargeText("a job", maxJobBytes);
        return read;
    }
    Json json;
    // Only the first value is parsed, so that what follows it is told apart from a job cut short.
    BytesBuffer buffer(bytes);
    try {
        std::istream in(&buffer);
        in >> json;
    } catch (const Json::parse_error &error) {
        // The parser stops at the byte past the end when the text ran out before the JSON did.
        const bool truncated =
            error.byte > bytes.size() ||
            std::string_view(error.what()).find("end of input") != std::string_view::npos;
        const bool started = bytes.find_first_not_of(" \t\r\n") != std::string_view::npos &&
                             bytes[bytes.find_first_not_of(" \t\r\n")] == '{';
        read.error = named(file) +
                     (truncated && started
                          ? "truncated: the file ends before the job does (byte " +
                                std::to_string(bytes.size()) + ")"
                          : "not a job: not JSON (at byte " + std::to_string(error.byte) + ")");
        return read;
    } catch (const Json::exception &error) {
        // A number too large for any number type (9e999).
        read.error =
            named(file) + "not a job: not JSON that this program reads (" + error.what() + ")";
        return read;
    }
    try {
        read.job = readWindows(json);
        const std::size_t after = bytes.find_first_not_of(" \t\r\n", buffer.taken());
        if (after != std::string_view::npos)
            throw Refusal("data after the end of the job at byte " + std::to_string(after + 1) +
                          " (a second job, or text added to the file?)");
    } catch (const Refusal &refusal) {
        read.error = named(file) + refusal.what();
        read.job = {};
    }
    return read;
}

JobRead readJobFile(const std::string &path, ReadWait wait)
{
    const FileBytes file = readFileBytes(path, maxJobBytes, "a job", wait);
    if (!file.error.empty())
        return {{}, named(path) + file.error};
    return readJob(file.bytes, path);
}

} // namespace zorvik::job
