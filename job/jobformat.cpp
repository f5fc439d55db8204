// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/jobformat.h"

#include "operations/cuttingdata.h"
#include "operations/materials.h"
#include "operations/operation.h"
#include "solver/conversions.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <istream>

namespace zorvik::job {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view formatName = "zorvik-job";

// Why a job is refused, without the file's name, which readJob adds; thrown from as deep as the
// fault is met, with what it concerns.
struct Refusal {
    JobError error;

    explicit Refusal(JobFault fault, JobPlace place = {})
    {
        error.fault = fault;
        error.place = std::move(place);
    }
    Refusal &&kind(JsonKind kind) &&
    {
        error.kind = kind;
        return std::move(*this);
    }
    Refusal &&text(std::string text) &&
    {
        error.text = std::move(text);
        return std::move(*this);
    }
    Refusal &&number(std::int64_t number, std::size_t count = 0) &&
    {
        error.number = number;
        error.count = count;
        return std::move(*this);
    }
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

JsonKind kindOf(const Json &value)
{
    switch (value.type()) {
    case Json::value_t::null:
        return JsonKind::null;
    case Json::value_t::object:
        return JsonKind::object;
    case Json::value_t::array:
        return JsonKind::list;
    case Json::value_t::string:
        return JsonKind::text;
    case Json::value_t::boolean:
        return JsonKind::flag;
    default:
        return JsonKind::number;
    }
}

JobPlace windowPlace(std::size_t window, std::string operation = {})
{
    return {window, std::move(operation), std::nullopt, {}, {}};
}

// Reads the members of one object of the file, refusing a member of the wrong kind and any member
// the format does not have, so that a misspelt key is told rather than silently dropped.
class Members {
public:
    Members(const Json &object, JobPlace where) : m_object(object), m_where(std::move(where))
    {
        if (!object.is_object())
            throw Refusal(JobFault::notObject, m_where).kind(kindOf(object));
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
            throw Refusal(JobFault::noMember, m_where).text(std::string(key));
        return *value;
    }
    std::string text(std::string_view key, const Json &value) const
    {
        if (!value.is_string())
            throw Refusal(JobFault::notText, what(key)).kind(kindOf(value));
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
            throw Refusal(JobFault::notFlag, what(key)).kind(kindOf(*value));
        return value->get<bool>();
    }
    std::optional<std::int64_t> whole(std::string_view key)
    {
        const Json *value = find(key);
        if (!value)
            return std::nullopt;
        if (!value->is_number_integer())
            throw Refusal(JobFault::notWhole, what(key)).kind(kindOf(*value));
        return value->get<std::int64_t>();
    }
    // After every member was asked for.
    void noOthers() const
    {
        for (const auto &[key, value] : m_object.items()) {
            if (std::find(m_known.begin(), m_known.end(), key) == m_known.end())
                throw Refusal(JobFault::unknownMember, m_where).text(key);
        }
    }
    JobPlace what(std::string_view key) const
    {
        JobPlace place = m_where;
        place.keys.emplace_back(key);
        return place;
    }
    const JobPlace &where() const { return m_where; }

private:
    const Json &m_object;
    JobPlace m_where;
    std::vector<std::string> m_known;
};

// A field name of the operation's list; refused naming where it was met.
std::string knownField(const OperationDefinition &operation, const std::string &name,
                       const JobPlace &where)
{
    if (operation.relations.fieldId(name) < 0)
        throw Refusal(JobFault::unknownField, where).text(name);
    return name;
}

FieldRecord readField(const OperationDefinition &operation, const std::string &name,
                      const Json &json, const JobPlace &where)
{
    Members members(json, where);
    FieldRecord field;
    field.name = name;
    field.text = members.text("text");
    if (const std::optional<std::string> from = members.optionalText("from")) {
        const std::optional<Origin> origin = originNamed(*from);
        if (!origin)
            throw Refusal(JobFault::unknownOrigin, members.what("from")).text(*from);
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
        throw Refusal(JobFault::noMaterialGroup, members.what(key)).number(*number);
    return number ? std::optional(static_cast<int>(*number)) : std::nullopt;
}

PageRecord readPage(const OperationDefinition &operation, const Json &json, const JobPlace &where)
{
    Members members(json, where);
    PageRecord page;
    page.explained = members.flag("explained");
    if (const Json *edits = members.find("edits")) {
        if (!edits->is_array())
            throw Refusal(JobFault::notList, members.what("edits")).kind(kindOf(*edits));
        for (const Json &edit : *edits) {
            if (!edit.is_string())
                throw Refusal(JobFault::notFieldName, members.what("edits")).kind(kindOf(edit));
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
            throw Refusal(JobFault::designationWithoutMaterial,
                          members.what("material designation"));
        if (materials::designationNamed(*group, *name) != *name)
            throw Refusal(JobFault::unknownDesignation, members.what("material designation"))
                .text(*name)
                .number(group->number);
    }
    page.atOneMillimetre = members.flag("at 1 mm");
    page.startGroup = groupNumber(members, "start material");
    page.tool = members.optionalText("tool");
    if (page.tool && !cuttingdata::toolNamed(*page.tool))
        throw Refusal(JobFault::unknownTool, members.what("tool")).text(*page.tool);
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
            JobPlace place = where;
            place.field = name;
            page.fields.push_back(readField(operation, name, *found, place));
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
        if (std::optional<MachineKeyError> problem = setMachineKey(machine, key.key, *text)) {
            Refusal refusal(JobFault::machineKey, members.what(key.key));
            refusal.error.machine.key = std::move(problem);
            throw refusal;
        }
    }
    members.noOthers();
    if (const std::optional<MachineProblem> problem = machineProblem(machine)) {
        Refusal refusal(JobFault::machineProblem, members.where());
        refusal.error.machine.problem = problem;
        throw refusal;
    }
    return machine;
}

WindowRecord readWindow(const Json &json, std::size_t number)
{
    Members members(json, windowPlace(number));
    WindowRecord window;
    window.operation = members.text("operation");
    const OperationDefinition *operation = findOperation(window.operation);
    if (!operation)
        throw Refusal(JobFault::unknownOperation, members.what("operation")).text(window.operation);
    window.operation = operation->name;
    const JobPlace named = windowPlace(number, window.operation);
    const std::size_t pageCount = operation->design().pages.size();
    const std::int64_t shown = members.whole("page shown").value_or(0);
    if (shown < 0 || static_cast<std::size_t>(shown) >= pageCount)
        throw Refusal(JobFault::pageShownOutOfRange, named).number(shown, pageCount);
    window.shownPage = static_cast<int>(shown);
    window.machine = readMachine(members);
    const Json &pages = members.need("pages");
    if (!pages.is_array() || pages.size() != pageCount)
        throw Refusal(JobFault::wrongPageCount, named).number(0, pageCount);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        JobPlace place = named;
        place.page = i;
        window.pages.push_back(readPage(*operation, pages[i], place));
    }
    members.noOthers();
    return window;
}

Job readWindows(const Json &json)
{
    if (!json.is_object() || json.value("format", Json()) != formatName)
        throw Refusal(JobFault::notAJob);
    Members members(json, {});
    members.find("format");
    const std::optional<std::int64_t> version = members.whole("version");
    if (!version || *version < 1)
        throw Refusal(JobFault::noVersion);
    if (*version > formatVersion)
        throw Refusal(JobFault::newerVersion).number(*version);
    const Json &windows = members.need("windows");
    if (!windows.is_array())
        throw Refusal(JobFault::windowsNotList).kind(kindOf(windows));
    Job job;
    std::vector<std::string> operations;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        WindowRecord window = readWindow(windows[i], i + 1);
        if (std::find(operations.begin(), operations.end(), window.operation) != operations.end())
            throw Refusal(JobFault::secondWindow, windowPlace(i + 1)).text(window.operation);
        operations.push_back(window.operation);
        job.windows.push_back(std::move(window));
    }
    members.noOthers();
    return job;
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
    auto refuse = [&](Refusal refusal) {
        read.error = std::move(refusal.error);
        read.error->file = file;
        read.job = {};
        return read;
    };
    if (bytes.size() > maxJobBytes)
        return refuse(Refusal(JobFault::tooLarge).number(maxJobBytes));
    Json json;
    // Only the first value is parsed, so that what follows it is told apart from a job cut short.
    BytesBuffer buffer(bytes);
    try {
        std::istream in(&buffer);
        in >> json;
    } catch (const Json::parse_error &error) {
        // The parser stops at the byte past the end when the text ran out before the JSON did,
        // and takes a NUL between values for the end as well; only its own account tells that
        // from a NUL inside a text, as it gives no code for either.
        const bool truncated =
            error.byte > bytes.size() ||
            std::string_view(error.what()).find("end of input") != std::string_view::npos;
        const bool started = bytes.find_first_not_of(" \t\r\n") != std::string_view::npos &&
                             bytes[bytes.find_first_not_of(" \t\r\n")] == '{';
        if (truncated && started)
            return refuse(
                Refusal(JobFault::truncated).number(static_cast<std::int64_t>(bytes.size())));
        return refuse(Refusal(JobFault::notJson).number(static_cast<std::int64_t>(error.byte)));
    } catch (const Json::exception &error) {
        // A number too large for any number type (9e999).
        return refuse(Refusal(JobFault::unreadableJson).text(error.what()));
    }
    try {
        read.job = readWindows(json);
        const std::size_t after = bytes.find_first_not_of(" \t\r\n", buffer.taken());
        if (after != std::string_view::npos)
            throw Refusal(JobFault::dataAfterEnd).number(static_cast<std::int64_t>(after + 1));
    } catch (Refusal &refusal) {
        return refuse(std::move(refusal));
    }
    return read;
}

JobRead readJobFile(const std::string &path, ReadWait wait)
{
    const FileBytes file = readFileBytes(path, maxJobBytes, wait);
    if (file.error) {
        Refusal refusal(JobFault::file);
        refusal.error.file = path;
        refusal.error.fileError = file.error;
        return {{}, std::move(refusal.error)};
    }
    return readJob(file.bytes, path);
}

} // namespace zorvik::job
