// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/calculatorwindow.h"

#include "calculator/buttonlabel.h"
#include "calculator/fieldedit.h"
#include "calculator/framebox.h"
#include "calculator/machinelook.h"
#include "calculator/machinesettings.h"
#include "calculator/materialdialog.h"
#include "calculator/scrollframe.h"
#include "calculator/tabcontrol.h"
#include "calculator/twips.h"
#include "calculator/windowhost.h"
#include "design/designcheck.h"
#include "solver/conversions.h"
#include "solver/solve.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPalette>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace zorvik::calculator {

using namespace design;

namespace {

constexpr int fieldWidth = 1215;
constexpr int fieldHeight = 375;
constexpr int captionDrop = 120;
constexpr int captionHeight = 195;
constexpr int buttonWidth = 1335;
constexpr int buttonHeight = 375;
constexpr int buttonTop = 240;

QFont qfont(const FontDesign &design)
{
    QFont font(design.family);
    font.setPointSizeF(design.pointSize);
    font.setBold(design.bold);
    return font;
}

using twips::place;

// Checked in every build type: a design mistake would otherwise surface as a missing control
// far from its cause, or as a crash.
const WindowDesign &checked(const WindowDesign &design, const OperationDefinition &operation)
{
    const std::vector<std::string> problems =
        designProblems(design, operation.relations, operation.defaults);
    if (!problems.empty()) {
        std::string all;
        for (const std::string &problem : problems)
            all += "\n  " + problem;
        qFatal("calculator window design mistakes:%s", all.c_str());
    }
    return design;
}

QString pageName(const PageDesign &page, const char *name, const char *finishingName = "")
{
    return QString::fromStdString(nameOnPage(page, name, finishingName));
}

// The operation's default texts by field name.
QHash<QString, QString> defaultTexts(const OperationDefinition &operation)
{
    QHash<QString, QString> texts;
    for (const auto &[field, text] : operation.defaults) {
        const std::string_view name = operation.relations.fields[static_cast<std::size_t>(field)];
        texts.insert(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    return texts;
}

// A written field shows its leading digits, as a freshly typed one would after Home.
void write(QLineEdit *field, const QString &text)
{
    field->setText(text);
    field->home(false);
}

// A typed character passes only when the filter allows it. Control characters (Backspace, Tab,
// Ctrl+letter) type nothing, and a field takes Ctrl or Ctrl+Shift as a command rather than
// text, except for format characters; Ctrl+Alt is AltGr on many keyboards and does type.
bool filterPasses(KeyFilter filter, const QKeyEvent &event)
{
    if (filter == KeyFilter::None)
        return true;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool command =
        modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    for (const QChar c : event.text()) {
        if (c.category() == QChar::Other_Control ||
            (command && c.category() != QChar::Other_Format))
            continue;
        const bool allowed =
            (c >= u'0' && c <= u'9') || (c == u'.' && filter == KeyFilter::Decimal);
        if (!allowed)
            return false;
    }
    return true;
}

// A decimal comma keyboard types "," for the decimal separator, on its comma key and on the
// keypad's decimal key; both mean the point the numbers are written with.
bool typesDecimalSeparator(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return false;
    if (event.text() == u",")
        return true;
    return (event.modifiers() & Qt::KeypadModifier) &&
           (event.key() == Qt::Key_Comma || event.key() == Qt::Key_Period) &&
           event.text().size() == 1 && event.text() != u".";
}

// Tags are read as the design check reads them, so a tag it let pass matches as it promised.
bool tagsMatch(TagMatch match, const QString &fieldTag, const QString &pageTag)
{
    if (match == TagMatch::Text)
        return fieldTag == pageTag;
    const std::optional<double> field = strictToNumber(fieldTag.toStdString());
    const std::optional<double> page = strictToNumber(pageTag.toStdString());
    return field && page && *field == *page;
}

} // namespace

CalculatorWindow::CalculatorWindow(WindowDesign design, OperationDefinition operation,
                                   WindowHost *host, QWidget *parent)
    : QWidget(parent), m_design(checked(design, operation)), m_operation(std::move(operation)),
      m_host(host), m_captions(fieldCaptions(m_design, m_operation.relations)),
      m_results(m_design.pages.size(), PageResults(m_operation.relations.fields.size())),
      m_beforeRecalculate(m_design.pages.size())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(design.name);
    setWindowTitle(design.caption);
    setFont(qfont(design.font));

    m_pageFields.resize(design.pages.size());
    m_solveFields.resize(design.pages.size());
    if (pageCount() > 1) {
        QStringList captions;
        for (const PageDesign &page : design.pages)
            captions << page.caption;
        // The strip ends where the highest frame of a page, and its caption, begins.
        int firstFrameTop = design.tabBox.height;
        for (const FrameDesign &frame : design.frames) {
            if (!*frame.parent)
                firstFrameTop = std::min(firstFrameTop, frame.box.top);
        }
        m_tabs =
            new TabControl(captions, qfont(design.tabFont), twips::toPixels(firstFrameTop), this);
        m_tabs->setObjectName(design.tabControl);
        place(m_tabs, design.tabBox);
        m_surfaces.insert(m_tabs, {});
        for (int page = 0; page < pageCount(); ++page)
            buildPage(page, m_tabs->page(page));
    } else {
        buildPage(0, this);
    }
    buildHover();

    // Key preview and the hover colours: the window sees keys and pointer movements of every
    // control before the control does.
    QList<QWidget *> watched = findChildren<QWidget *>();
    watched.append(this);
    for (QWidget *widget : std::as_const(watched)) {
        widget->installEventFilter(this);
        widget->setMouseTracking(true);
    }
}

// A page is its frames, the fields and captions inside them, its button labels, and what
// watches its fields.
void CalculatorWindow::buildPage(int page, QWidget *container)
{
    const QHash<QString, QWidget *> frames = buildFrames(page, container);
    buildFields(page, frames);
    buildButtons(page, frames.value(m_design.buttonFrame));
    watchFields(page);
}

QHash<QString, QWidget *> CalculatorWindow::buildFrames(int page, QWidget *container)
{
    const PageDesign &pageDesign = m_design.pages[static_cast<std::size_t>(page)];
    QHash<QString, QWidget *> frames; // by roughing name
    for (const FrameDesign &design : m_design.frames) {
        QWidget *parent = *design.parent ? frames.value(design.parent) : container;
        auto *frame = new FrameBox(design.caption, parent);
        frame->setObjectName(pageName(pageDesign, design.name, design.finishing));
        frame->setFont(qfont(m_design.frameFont));
        place(frame, design.box);
        frames.insert(design.name, frame);
        m_surfaces.insert(frame, {});
    }
    return frames;
}

void CalculatorWindow::buildFields(int page, const QHash<QString, QWidget *> &frames)
{
    const PageDesign &pageDesign = m_design.pages[static_cast<std::size_t>(page)];
    const QFont fieldFont = qfont(m_design.font);
    const QHash<QString, QString> defaults = defaultTexts(m_operation);
    for (const FieldDesign &design : m_design.fields) {
        QWidget *frame = frames.value(design.frame);
        const QString name = pageName(pageDesign, design.name);
        const QString defaultText = defaults.value(QString::fromLatin1(design.name));
        auto *edit = new FieldEdit(defaultText, frame);
        edit->setObjectName(name);
        edit->setFont(fieldFont);
        place(edit, {design.left, design.top, fieldWidth, fieldHeight});
        // Typed text comes in through the key filter only.
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setAcceptDrops(false);
        edit->setAccessibleName(QString::fromLatin1(captionName(design.caption)));

        auto *caption = new QLabel(design.caption, frame);
        caption->setFont(fieldFont);
        place(caption, {design.captionLeft, design.top + captionDrop,
                        design.left - design.captionLeft, captionHeight});
        caption->setBuddy(edit);

        KeyFilter filter = KeyFilter::Decimal;
        for (const FieldFilter &exception : m_design.filters) {
            if (name == QLatin1String(exception.name))
                filter = exception.filter;
        }
        m_fields.push_back({edit, page, design.tagged ? pageDesign.tag : "", defaultText, filter});
        m_filters.insert(edit, filter);
        m_surfaces.insert(edit, {});
        m_surfaces.insert(caption, {});
        m_pageFields[static_cast<std::size_t>(page)].push_back(edit);
    }
}

void CalculatorWindow::buildButtons(int page, QWidget *buttonFrame)
{
    const PageDesign &pageDesign = m_design.pages[static_cast<std::size_t>(page)];
    const QFont buttonFont = qfont(m_design.buttonFont);
    for (const ButtonDesign &design : m_design.buttons) {
        auto *button = new ButtonLabel(pageName(pageDesign, design.name, design.finishing),
                                       design.caption, buttonFrame);
        button->setFont(buttonFont);
        place(button, {design.left, buttonTop, buttonWidth, buttonHeight});
        connect(button, &ButtonLabel::clicked, this,
                [this, action = design.action, page] { run(action, page); });
    }
}

// Edits mark the page's results out of date; leaving a field runs its leave step.
void CalculatorWindow::watchFields(int page)
{
    const PageDesign &pageDesign = m_design.pages[static_cast<std::size_t>(page)];
    auto &solveFields = m_solveFields[static_cast<std::size_t>(page)];
    for (std::string_view name : m_operation.relations.fields) {
        QLineEdit *edit = field(QString::fromLatin1(pageDesign.prefix) +
                                QString::fromUtf8(name.data(), name.size()));
        // Any change but the window's own (typing, a paste, Import, a leave step) is an edit.
        const auto id = static_cast<FieldId>(solveFields.size());
        connect(edit, &QLineEdit::textChanged, this, [this, page, id] { edited(page, id); });
        solveFields.push_back(edit);
    }

    for (const LeaveStep &step : m_design.leaveSteps) {
        for (const char *name : step.fields)
            m_leaveSteps.insert(field(pageName(pageDesign, name)), {page, step.run});
    }
}

void CalculatorWindow::buildHover()
{
    m_surfaces.insert(this, {});
    for (const HoverRestore &entry : m_design.hover) {
        QList<ButtonLabel *> labels;
        for (const char *name : entry.labels)
            labels.append(findChild<ButtonLabel *>(name));
        for (const char *name : entry.surfaces)
            m_surfaces.insert(*name ? findChild<QWidget *>(name) : this, labels);
    }
}

CalculatorWindow *CalculatorWindow::open(const OperationDefinition &operation, WindowHost &host)
{
    const WindowDesign &design = operation.design();
    QMdiArea *area = host.workArea();
    if (area) {
        for (QMdiSubWindow *sub : area->subWindowList()) {
            auto *open = qobject_cast<CalculatorWindow *>(ScrollFrame::contentOf(sub));
            if (sub->isHidden() || !open || open->objectName() != design.name)
                continue;
            if (sub->isMinimized())
                sub->showNormal();
            area->setActiveSubWindow(sub);
            return open;
        }
    }
    auto *window = new CalculatorWindow(design, operation, &host);
    const QRect placement = twips::rect(design.placement.left, design.placement.top,
                                        design.placement.width, design.placement.height);
    if (area) {
        auto *frame = new ScrollFrame(window);
        QMdiSubWindow *sub = area->addSubWindow(frame);
        frame->place(placement);
        sub->show();
        area->setActiveSubWindow(sub);
    } else {
        window->setGeometry(placement);
        window->show();
    }
    if (!window->m_pageFields.empty() && !window->m_pageFields.front().empty())
        window->m_pageFields.front().front()->setFocus();
    return window;
}

int CalculatorWindow::shownPage() const
{
    return m_tabs ? m_tabs->currentIndex() : 0;
}

QLineEdit *CalculatorWindow::field(const QString &name) const
{
    for (const Field &field : m_fields) {
        if (field.edit->objectName() == name)
            return field.edit;
    }
    return nullptr;
}

void CalculatorWindow::run(Action action, int page)
{
    switch (action) {
    case Action::Calculate:
        calculate(page);
        break;
    case Action::Reset:
        reset(page);
        break;
    case Action::Import:
        importTwins(page);
        break;
    case Action::Back:
        back();
        break;
    case Action::Cancel:
        cancel();
        break;
    }
}

FieldStore CalculatorWindow::pageTexts(int page) const
{
    const auto &fields = m_solveFields[static_cast<std::size_t>(page)];
    FieldStore texts(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i)
        texts.setText(static_cast<FieldId>(i), fields[i]->text().toStdString());
    return texts;
}

// Only fields the solve or step changed are written, so nothing the user sees moves (not even a
// cursor) otherwise. They are compared as the store saw them: a pasted text that UTF-8 cannot
// carry (a lone surrogate) does not come back from the store as it went in, and must stay.
void CalculatorWindow::showTexts(int page, const FieldStore &given, const FieldStore &texts)
{
    const auto &fields = m_solveFields[static_cast<std::size_t>(page)];
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        if (texts.text(id) != given.text(id))
            write(fields[i], QString::fromStdString(texts.text(id)));
    }
}

void CalculatorWindow::calculate(int page)
{
    PageResults &results = m_results[static_cast<std::size_t>(page)];
    const FieldStore given = pageTexts(page);
    std::vector<bool> defaults(given.size(), false);
    for (const auto &[id, text] : m_operation.defaults) {
        defaults[static_cast<std::size_t>(id)] =
            !results.changed(id) && given.text(id) == std::string_view(text);
    }
    FieldStore texts = given;
    // The store is made from the page for this list, so solve cannot refuse it. An exception
    // would mean a relation list naming a field it does not have; it must not unwind through Qt.
    try {
        SolveRecord record;
        if (solve(m_operation.relations, texts, {}, &record)) {
            const std::vector<FieldExplanation> explanations =
                explainSolve(m_operation.relations, m_captions, record, texts, defaults);
            m_showingSolve = true;
            showTexts(page, given, texts);
            m_showingSolve = false;
            results.solved(explanations, texts.texts());
            m_beforeRecalculate[static_cast<std::size_t>(page)].reset();
            showResults(page);
        }
    } catch (const std::exception &error) {
        qFatal("%s: Calculate: %s", m_design.name, error.what());
    }
}

void CalculatorWindow::recalculate(int page)
{
    Before before{pageTexts(page), m_results[static_cast<std::size_t>(page)]};
    const auto &fields = m_solveFields[static_cast<std::size_t>(page)];
    m_showingSolve = true;
    for (FieldId id : before.results.results())
        write(fields[static_cast<std::size_t>(id)], QString());
    m_showingSolve = false;
    calculate(page);
    m_beforeRecalculate[static_cast<std::size_t>(page)] = std::move(before);
}

// The look of results is made from the palette's colours: a new palette (a light or dark theme
// chosen while the window is open) makes it anew.
void CalculatorWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        for (int page = 0; page < pageCount(); ++page)
            showResults(page);
    }
}

bool CalculatorWindow::undoRecalculate(int page)
{
    auto &before = m_beforeRecalculate[static_cast<std::size_t>(page)];
    if (!before)
        return false;
    m_showingSolve = true;
    showTexts(page, pageTexts(page), before->texts);
    m_showingSolve = false;
    m_results[static_cast<std::size_t>(page)] = before->results;
    before.reset();
    showResults(page);
    return true;
}

void CalculatorWindow::addFieldActions(QMenu *menu, QLineEdit *field)
{
    const int page = pageOf(field);
    if (page < 0)
        return;
    menu->addSeparator();
    QAction *action = menu->addAction(QStringLiteral("Recalculate"));
    action->setObjectName(QStringLiteral("recalculate"));
    action->setShortcut(QKeySequence(Qt::Key_F5));
    connect(action, &QAction::triggered, this, [this, page] { recalculate(page); });
    const std::optional<MaterialFields> material = materialFields(m_operation);
    if (material && field == m_solveFields[std::size_t(page)][std::size_t(material->kc)]) {
        action = menu->addAction(QStringLiteral("Specific Cutting Force from Material…"));
        action->setObjectName(QStringLiteral("fromMaterial"));
        connect(action, &QAction::triggered, this, [this, page] { chooseMaterial(page); });
    }
    if (const auto &starting = m_operation.starting) {
        const auto &fields = m_solveFields[std::size_t(page)];
        for (const bool speed : {true, false}) {
            const FieldId id =
                m_operation.relations.fieldId(speed ? starting->speed : starting->feed);
            if (field != fields[std::size_t(id)])
                continue;
            action = menu->addAction(speed ? QStringLiteral("Cutting Speed from Material…")
                                           : QStringLiteral("Feed from Material…"));
            action->setObjectName(speed ? QStringLiteral("speedFromMaterial")
                                        : QStringLiteral("feedFromMaterial"));
            connect(action, &QAction::triggered, this,
                    [this, page, speed] { chooseStart(page, speed); });
        }
    }
    action = menu->addAction(QStringLiteral("Choose Machine…"));
    action->setObjectName(QStringLiteral("chooseMachine"));
    connect(action, &QAction::triggered, this, &CalculatorWindow::chooseMachine);
}

// As kc from a material: one edit over the field's whole text, which Ctrl+Z takes back.
void CalculatorWindow::chooseStart(int page, bool speed)
{
    const FieldStore texts = pageTexts(page);
    const OperationDefinition &operation = m_operation;
    MaterialDialog dialog(
        [&](const materials::MaterialGroup &group, cuttingdata::Tool tool) {
            return speed ? startingSpeed(operation, texts, group, tool)
                         : startingFeed(operation, texts, group, tool);
        },
        speed ? QStringLiteral("Cutting Speed from Material")
              : QStringLiteral("Feed from Material"),
        this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<StartingValue> start = dialog.chosenStart();
    if (!start)
        return;
    auto *field =
        static_cast<FieldEdit *>(m_solveFields[std::size_t(page)][std::size_t(start->field)]);
    field->setFocus();
    field->selectAll();
    field->replaceSelection(QString::fromStdString(*start->text));
    m_results[std::size_t(page)].entered(
        start->field, *start->text + "\n" + start->explanation +
                          "\nEntered from the cutting-data table; Ctrl+Z takes it back.");
    showResults(page);
}

void CalculatorWindow::setMachine(std::optional<Machine> machine)
{
    m_machine = std::move(machine);
    for (int page = 0; page < pageCount(); ++page)
        showResults(page);
}

void CalculatorWindow::machinesChanged()
{
    if (!m_machine)
        return;
    std::optional<Machine> kept;
    for (const Machine &machine : loadMachines()) {
        if (machine.name == m_machine->name)
            kept = machine;
    }
    setMachine(kept);
}

void CalculatorWindow::chooseMachine()
{
    const std::vector<Machine> machines = loadMachines();
    QStringList names{QStringLiteral("(none)")};
    for (const Machine &machine : machines)
        names << QString::fromStdString(machine.name);
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("chooseMachineDialog"));
    dialog.setWindowTitle(QStringLiteral("Choose Machine"));
    dialog.setLabelText(machines.empty() ? QStringLiteral("No machines yet: add them with "
                                                          "Machine > Machines….\nMachine:")
                                         : QStringLiteral("Machine for %1:").arg(windowTitle()));
    dialog.setComboBoxItems(names);
    dialog.setTextValue(m_machine ? QString::fromStdString(m_machine->name) : names.front());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const qsizetype chosen = names.indexOf(dialog.textValue());
    setMachine(chosen > 0 ? std::optional<Machine>(machines[std::size_t(chosen - 1)])
                          : std::nullopt);
}

// The force goes in as if typed over the field's whole text, so that Ctrl+Z takes it back.
void CalculatorWindow::chooseMaterial(int page)
{
    const FieldId kc = materialFields(m_operation)->kc;
    auto *field = static_cast<FieldEdit *>(m_solveFields[std::size_t(page)][std::size_t(kc)]);
    MaterialDialog dialog(pageChipThickness(m_operation, pageTexts(page), m_captions), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<MaterialForce> force = dialog.chosenForce();
    if (!force)
        return;
    field->setFocus();
    field->selectAll();
    field->replaceSelection(QString::fromStdString(*force->text));
    m_results[std::size_t(page)].entered(
        kc, *force->text + "\n" + force->explanation +
                "\nEntered from the material table; Ctrl+Z takes it back. The solve reads it "
                "and never changes it.");
    showResults(page);
}

int CalculatorWindow::pageOf(const QObject *field) const
{
    for (const Field &known : m_fields) {
        if (known.edit == field)
            return known.page;
    }
    return -1;
}

void CalculatorWindow::edited(int page, FieldId field)
{
    if (m_showingSolve || page == m_resetting)
        return;
    m_beforeRecalculate[static_cast<std::size_t>(page)].reset();
    PageResults &results = m_results[static_cast<std::size_t>(page)];
    const QLineEdit *edit = m_solveFields[static_cast<std::size_t>(page)][std::size_t(field)];
    results.edited(field, edit->text().toStdString(), m_captions[static_cast<std::size_t>(field)]);
    // Before the first solve only a kc entered from a material has said anything.
    if (results.explained() || !edit->toolTip().isEmpty())
        showResults(page);
}

// Each field's tooltip and accessible description carry its explanation. Fresh results take the
// palette's link colour, results an edit has left out of date a dimmed italic of their own
// (between the text and base colours, so it reads on light and dark palettes alike); the
// description tells them apart for those who cannot see either.
void CalculatorWindow::showResults(int page)
{
    const PageResults &results = m_results[static_cast<std::size_t>(page)];
    const auto &fields = m_solveFields[static_cast<std::size_t>(page)];
    const QPalette own = palette();
    const QColor text = own.color(QPalette::Text);
    const QColor base = own.color(QPalette::Base);
    const QColor dimmed = QColor::fromRgbF(0.6f * text.redF() + 0.4f * base.redF(),
                                           0.6f * text.greenF() + 0.4f * base.greenF(),
                                           0.6f * text.blueF() + 0.4f * base.blueF());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        const QString explanation = QString::fromStdString(results.explanation(id));
        if (fields[i]->toolTip() != explanation) {
            fields[i]->setToolTip(explanation);
            fields[i]->setAccessibleDescription(explanation);
        }
        QPalette palette;
        QFont font = fields[i]->font();
        font.setItalic(false);
        switch (results.look(id)) {
        case PageResults::Look::Plain:
            break;
        case PageResults::Look::Fresh:
            palette.setColor(QPalette::Text, own.color(QPalette::Link));
            break;
        case PageResults::Look::OutOfDate:
            palette.setColor(QPalette::Text, dimmed);
            font.setItalic(true);
            break;
        }
        fields[i]->setPalette(palette);
        fields[i]->setFont(font);
    }
    showBeyondMachine(m_machine ? checkMachine(*m_machine, m_operation, pageTexts(page), m_captions)
                                : std::vector<Exceedance>(),
                      fields, m_captions);
}

// Every field of the window carrying this page's tag is cleared (every field when the window
// has no tags), then the page's own defaults come back and its fields open for editing again.
void CalculatorWindow::reset(int page)
{
    m_resetting = page;
    const QString tag = QString::fromLatin1(m_design.pages[static_cast<std::size_t>(page)].tag);
    for (const Field &field : m_fields) {
        if (tag.isEmpty() || tagsMatch(m_design.tagMatch, field.tag, tag))
            write(field.edit, QString());
    }
    for (const Field &field : m_fields) {
        if (field.page != page)
            continue;
        if (!field.defaultText.isEmpty())
            write(field.edit, field.defaultText);
        field.edit->setEnabled(true);
    }
    m_resetting = -1;
    m_results[static_cast<std::size_t>(page)].clear();
    m_beforeRecalculate[static_cast<std::size_t>(page)].reset();
    showResults(page);
}

// Blank fields of this page take their twin's text from the other page, whatever it holds.
void CalculatorWindow::importTwins(int page)
{
    if (pageCount() < 2)
        return;
    const auto &target = m_pageFields[static_cast<std::size_t>(page)];
    const auto &source = m_pageFields[static_cast<std::size_t>(1 - page)];
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i]->text().isEmpty())
            write(target[i], source[i]->text());
    }
}

void CalculatorWindow::back()
{
    if (m_host)
        m_host->showNewProject();
    closeWindow();
}

void CalculatorWindow::cancel()
{
    closeWindow();
}

void CalculatorWindow::closeWindow()
{
    if (QMdiSubWindow *sub = ScrollFrame::subWindowOf(this))
        sub->close();
    else
        close();
}

bool CalculatorWindow::previewKey(const QKeyEvent &event)
{
    const int page = m_design.keysFollowShownPage ? shownPage() : 0;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        calculate(page);
        return true;
    case Qt::Key_Escape:
        back();
        return true;
    case Qt::Key_F5:
        recalculate(shownPage());
        return true;
    default:
        return false;
    }
}

void CalculatorWindow::hover(QObject *watched)
{
    for (QObject *object = watched; object; object = object->parent()) {
        const auto found = m_surfaces.constFind(object);
        if (found == m_surfaces.cend())
            continue;
        for (ButtonLabel *label : *found)
            label->setLit(false);
        return;
    }
}

// Losing the focus to another application, or to a menu or popup, leaves the field where it
// is: the focus comes back to it. So does a click on a part of the window that takes no focus,
// such as a button label: Qt hands the focus to the window's frame in the workspace, which gives
// it straight back to the field.
bool CalculatorWindow::focusChanged(QObject *watched, const QFocusEvent &event)
{
    if (event.gotFocus()) {
        m_focused = watched;
        return false;
    }
    if (watched != m_focused || event.reason() == Qt::ActiveWindowFocusReason ||
        event.reason() == Qt::PopupFocusReason)
        return false;
    if (event.reason() == Qt::MouseFocusReason) {
        auto *frame = qobject_cast<QMdiSubWindow *>(QApplication::focusWidget());
        if (frame && frame->isAncestorOf(this))
            return false;
    }
    m_focused = nullptr;
    const auto step = m_leaveSteps.constFind(watched);
    if (step == m_leaveSteps.cend())
        return false;
    return leave(*step, static_cast<QLineEdit *>(watched), event.reason());
}

// Texts first, then the locks. Qt has already made the field the user is moving to the focus
// widget; when the step locks that one, Qt alone would move the focus on forwards whatever the
// user did, and back into the field left when that comes next. Returns whether the focus is back
// in the field left: its own handling of the loss, which drops the selection and hides the
// caret, must then not run.
bool CalculatorWindow::leave(const PageStep &step, QLineEdit *left, Qt::FocusReason reason)
{
    const auto &fields = m_solveFields[static_cast<std::size_t>(step.page)];
    const FieldStore given = pageTexts(step.page);
    PageState state{given, std::vector<bool>(fields.size())};
    for (std::size_t i = 0; i < fields.size(); ++i)
        state.enabled[i] = fields[i]->isEnabledTo(this);
    step.run(state);
    showTexts(step.page, given, state.texts);
    QWidget *next = QApplication::focusWidget();
    bool nextLocked = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (state.enabled[i] == fields[i]->isEnabledTo(this))
            continue;
        if (fields[i] == next && !state.enabled[i])
            nextLocked = true;
        else
            fields[i]->setEnabled(state.enabled[i]);
    }
    if (!nextLocked)
        return false;
    QLineEdit *focus = focusPastLocked(step.page, next, left, reason);
    // A click (or any move but Tab) on a field that leaving locked keeps the focus in the field
    // left, as the user aimed at no other field. Its whole text is selected, as after a Tab:
    // with the caret at its end the next digits would quietly extend a number the user took
    // for finished, while a highlighted text shows that typing replaces it.
    if (focus == left) {
        left->setFocus(Qt::OtherFocusReason);
        left->selectAll();
    } else {
        focus->setFocus(reason);
    }
    next->setEnabled(false);
    return focus == left;
}

// The fields of a page, in the design's order, are the window's Tab order, which wraps round at
// either end.
QLineEdit *CalculatorWindow::focusPastLocked(int page, QWidget *locked, QLineEdit *left,
                                             Qt::FocusReason reason) const
{
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason)
        return left;
    const auto &order = m_pageFields[static_cast<std::size_t>(page)];
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    const std::ptrdiff_t step = reason == Qt::TabFocusReason ? 1 : count - 1;
    std::ptrdiff_t at = std::find(order.cbegin(), order.cend(), locked) - order.cbegin();
    for (std::ptrdiff_t n = 1; n < count; ++n) {
        at = (at + step) % count;
        QLineEdit *field = order[static_cast<std::size_t>(at)];
        if (field != locked && field->isEnabledTo(this))
            return field;
    }
    return left;
}

bool CalculatorWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (m_filters.contains(watched) &&
            focusChanged(watched, static_cast<const QFocusEvent &>(*event)))
            return true;
    } else if (event->type() == QEvent::KeyPress) {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        if (key.matches(QKeySequence::Undo)) {
            const int page = pageOf(watched);
            if (undoRecalculate(page >= 0 ? page : shownPage()))
                return true;
        }
        if (previewKey(key))
            return true;
        const auto filter = m_filters.constFind(watched);
        if (filter != m_filters.cend() && *filter == KeyFilter::Decimal &&
            typesDecimalSeparator(key)) {
            QKeyEvent point(QEvent::KeyPress, Qt::Key_Period, key.modifiers(), QStringLiteral("."),
                            key.isAutoRepeat(), key.count());
            QCoreApplication::sendEvent(watched, &point);
            return true;
        }
        if (filter != m_filters.cend() && !filterPasses(*filter, key))
            return true;
    } else if (event->type() == QEvent::MouseMove) {
        // Button labels light themselves; a movement with a button held belongs to the control.
        const auto &mouse = static_cast<const QMouseEvent &>(*event);
        if (mouse.buttons() == Qt::NoButton && !qobject_cast<ButtonLabel *>(watched)) {
            hover(watched);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zorvik::calculator
