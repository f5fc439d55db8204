// SPDX-License-Identifier: GPL-3.0-or-later
#include "design/designcheck.h"

#include "solver/conversions.h"

#include <algorithm>
#include <map>
#include <set>

namespace zorvik::design {

std::string nameOnPage(const PageDesign &page, const char *name, const char *finishingName)
{
    if (*page.prefix && *finishingName)
        return finishingName;
    return std::string(page.prefix) + name;
}

namespace {

// As Reset reads a tag: strictly, with "." whatever the process locale.
bool readsAsNumber(const char *text)
{
    return strictToNumber(text).has_value();
}

using Defaults = std::span<const std::pair<FieldId, std::string_view>>;

class Checker {
public:
    explicit Checker(const WindowDesign &design) : m_design(design) {}

    // Both pages repeat most mistakes; one message each is enough.
    void problem(const std::string &what)
    {
        if (std::find(m_problems.begin(), m_problems.end(), what) == m_problems.end())
            m_problems.push_back(what);
    }

    // Records a control the window will create; a second control of the same name is a mistake,
    // since the window and the tests find controls by name.
    void add(std::set<std::string> &names, const std::string &name)
    {
        if (!m_all.insert(name).second)
            problem("two controls named " + name);
        names.insert(name);
    }

    std::vector<std::string> run(const RelationList &relations, Defaults defaults);

private:
    void checkPage(const PageDesign &page, const RelationList &relations, Defaults defaults);

    const WindowDesign &m_design;
    std::vector<std::string> m_problems;
    std::set<std::string> m_all;
    std::set<std::string> m_fields;
    std::set<std::string> m_buttons;
};

void Checker::checkPage(const PageDesign &page, const RelationList &relations, Defaults defaults)
{
    // Reset of such a page would clear none of its fields.
    if (m_design.tagMatch == TagMatch::Number && *page.tag && !readsAsNumber(page.tag))
        problem(std::string("page tag \"") + page.tag + "\" is no number");
    std::set<std::string> frames; // by roughing name, as fields and frames refer to them
    for (const FrameDesign &frame : m_design.frames) {
        if (*frame.parent && !frames.count(frame.parent))
            problem(std::string("frame ") + frame.name + ": no frame " + frame.parent +
                    " before it to sit in");
        std::set<std::string> ignored;
        add(ignored, nameOnPage(page, frame.name, frame.finishing));
        frames.insert(frame.name);
    }
    std::set<std::string> pageFields;
    for (const FieldDesign &field : m_design.fields) {
        if (!frames.count(field.frame))
            problem(std::string("field ") + field.name + ": no frame " + field.frame);
        add(m_fields, nameOnPage(page, field.name));
        pageFields.insert(field.name);
    }
    if (!frames.count(m_design.buttonFrame))
        problem(std::string("no button frame ") + m_design.buttonFrame);
    for (const ButtonDesign &button : m_design.buttons)
        add(m_buttons, nameOnPage(page, button.name, button.finishing));

    if (page.prefix[0] == '\0') {
        // A caption names its field in explanations and batch headers, so it names one only.
        std::map<std::string, const char *> captioned;
        for (const FieldDesign &field : m_design.fields) {
            const std::string caption = captionLabel(field.caption);
            const auto [known, added] = captioned.emplace(caption, field.name);
            if (!caption.empty() && !added)
                problem(std::string("fields ") + known->second + " and " + field.name +
                        " share the caption \"" + caption + "\"");
        }
        for (std::string_view name : relations.fields) {
            if (!pageFields.count(std::string(name)))
                problem("no field for " + std::string(name) + " of the relation list");
        }
        for (const auto &[field, text] : defaults) {
            const std::string name(relations.fields[static_cast<std::size_t>(field)]);
            if (!pageFields.count(name))
                problem("a default text for " + name + ", which the window does not have");
        }
    }
}

std::vector<std::string> Checker::run(const RelationList &relations, Defaults defaults)
{
    if (m_design.pages.empty())
        problem("no page");
    if (m_design.pages.size() > 1) {
        std::set<std::string> ignored;
        if (!*m_design.tabControl)
            problem("two pages but no tab control");
        else
            add(ignored, m_design.tabControl);
    } else if (*m_design.tabControl) {
        problem(std::string("tab control ") + m_design.tabControl + " on a single page");
    }
    // Import fills a page's blank fields from the other page, which only two pages have.
    const auto imports = [](const ButtonDesign &button) { return button.action == Action::Import; };
    if (m_design.pages.size() > 2 &&
        std::any_of(m_design.buttons.begin(), m_design.buttons.end(), imports))
        problem(std::to_string(m_design.pages.size()) +
                " pages, but Import takes from the other of two");
    for (const PageDesign &page : m_design.pages)
        checkPage(page, relations, defaults);

    for (const FieldFilter &filter : m_design.filters) {
        if (!m_fields.count(filter.name))
            problem(std::string("key filter for ") + filter.name + ", which is no field");
    }
    for (const LeaveStep &step : m_design.leaveSteps) {
        for (const char *field : step.fields) {
            if (!m_fields.count(field))
                problem(std::string("leave step for ") + field + ", which is no field");
        }
        if (!step.run)
            problem("a leave step that does nothing");
    }
    for (const HoverRestore &entry : m_design.hover) {
        for (const char *label : entry.labels) {
            if (!m_buttons.count(label))
                problem(std::string("hover: no button label ") + label);
        }
        for (const char *surface : entry.surfaces) {
            if (*surface && !m_all.count(surface))
                problem(std::string("hover: no control ") + surface);
        }
    }
    return m_problems;
}

} // namespace

std::vector<std::string>
designProblems(const WindowDesign &design, const RelationList &relations,
               std::span<const std::pair<FieldId, std::string_view>> defaults)
{
    std::vector<std::string> problems = Checker(design).run(relations, defaults);
    for (std::string &problem : problems)
        problem = std::string(design.name) + ": " + problem;
    return problems;
}

} // namespace zorvik::design
