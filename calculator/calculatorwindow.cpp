// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/calculatorwindow.h"

#include "calculator/buttonlabel.h"
#include "calculator/fieldedit.h"
#include "calculator/fieldkeys.h"
#include "calculator/framebox.h"
#include "calculator/machinesettings.h"
#include "calculator/scrollframe.h"
#include "calculator/tabcontrol.h"
#include "calculator/twips.h"
#include "calculator/windowhost.h"
#include "design/designcheck.h"
#include "operations/chipthickness.h"
#include "solver/conversions.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <algorithm>
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
      m_host(host), m_leaveSteps(this), m_captions(fieldCaptions(m_design, m_operation.relations)),
      m_check(m_operation.relations)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(design.name);
    setWindowTitle(design.caption);
    setFont(qfont(design.font));

    for (int page = 0; page < pageCount(); ++page)
        m_pages.push_back(new CalculatorPage(m_operation, m_captions, m_check, this));
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
        edit->setAccessibleName(QString::fromStdString(design::captionLabel(design.caption)));

        auto *caption =
            new QLabel(QString::fromStdString(design::shownCaption(design.caption)), frame);
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
        this->page(page).addField(edit);
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
    std::vector<QLineEdit *> solveFields;
    for (std::string_view name : m_operation.relations.fields) {
        solveFields.push_back(field(QString::fromLatin1(pageDesign.prefix) +
                                    QString::fromUtf8(name.data(), name.size())));
    }
    this->page(page).watch(std::move(solveFields));
    for (const LeaveStep &step : m_design.leaveSteps) {
        for (const char *name : step.fields)
            m_leaveSteps.add(field(pageName(pageDesign, name)), &this->page(page), step.run);
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
    if (!window->page(0).fields().empty())
        window->page(0).fields().front()->setFocus();
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

// A field that has the focus is left first, as its leave step may fill what the solve reads.
void CalculatorWindow::calculate(int page)
{
    if (QWidget *focus = QApplication::focusWidget(); focus && this->page(page).holds(focus))
        m_leaveSteps.leaveInPlace(focus);
    this->page(page).calculate();
}

void CalculatorWindow::recalculate(int page)
{
    this->page(page).recalculate();
}

// The look of results is made from the palette's colours: a new palette (a light or dark theme
// chosen while the window is open) makes it anew.
void CalculatorWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        for (CalculatorPage *page : m_pages)
            page->showResults();
    }
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
    if (material && field == this->page(page).field(material->kc)) {
        // Where no rule reads the force, the entry says so before the user goes looking.
        QString text = QStringLiteral("Specific Cutting Force from Material…");
        if (!this->page(page).readsForce())
            text += QStringLiteral(" (for the record: no rule here reads it)");
        action = menu->addAction(text);
        action->setObjectName(QStringLiteral("fromMaterial"));
        connect(action, &QAction::triggered, this,
                [this, page] { this->page(page).chooseMaterial(); });
    }
    if (const auto &starting = m_operation.starting) {
        for (const bool speed : {true, false}) {
            const FieldId id =
                m_operation.relations.fieldId(speed ? starting->speed : starting->feed);
            if (field != this->page(page).field(id))
                continue;
            action = menu->addAction(speed ? QStringLiteral("Cutting Speed from Material…")
                                           : QStringLiteral("Feed from Material…"));
            action->setObjectName(speed ? QStringLiteral("speedFromMaterial")
                                        : QStringLiteral("feedFromMaterial"));
            connect(action, &QAction::triggered, this,
                    [this, page, speed] { this->page(page).chooseStart(speed); });
        }
    }
    action = menu->addAction(QStringLiteral("Choose Machine…"));
    action->setObjectName(QStringLiteral("chooseMachine"));
    connect(action, &QAction::triggered, this, &CalculatorWindow::chooseMachine);
}

void CalculatorWindow::setMachine(std::optional<Machine> machine)
{
    m_machine = std::move(machine);
    for (CalculatorPage *page : m_pages) {
        page->setMachine(m_machine ? &*m_machine : nullptr);
        page->showResults();
    }
}

job::WindowRecord CalculatorWindow::record() const
{
    job::WindowRecord record;
    record.operation = std::string(m_operation.name);
    record.shownPage = shownPage();
    record.machine = m_machine;
    record.pages.resize(m_pages.size());
    for (std::size_t i = 0; i < m_pages.size(); ++i)
        m_pages[i]->save(record.pages[i]);
    return record;
}

// The machine is the one the job recorded, limits included, even where the user's own list has
// none of that name or other limits for it: the job's results were checked against it.
void CalculatorWindow::restore(const job::WindowRecord &record)
{
    for (std::size_t i = 0; i < m_pages.size() && i < record.pages.size(); ++i)
        m_pages[i]->restore(record.pages[i]);
    setMachine(record.machine);
    if (m_tabs && record.shownPage >= 0 && record.shownPage < pageCount())
        m_tabs->setCurrentIndex(record.shownPage);
}

void CalculatorWindow::setChangeListener(std::function<void()> listener)
{
    m_changed = std::move(listener);
    for (CalculatorPage *page : m_pages)
        page->setChangeListener([this] {
            if (m_changed)
                m_changed();
        });
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

int CalculatorWindow::pageOf(const QObject *field) const
{
    for (const Field &known : m_fields) {
        if (known.edit == field)
            return known.page;
    }
    return -1;
}

// Every field of the window carrying this page's tag is cleared (every field when the window
// has no tags), then the page's own defaults come back and its fields open for editing again.
void CalculatorWindow::reset(int page)
{
    const QString tag = QString::fromLatin1(m_design.pages[static_cast<std::size_t>(page)].tag);
    this->page(page).reset([&] {
        for (const Field &field : m_fields) {
            if (tag.isEmpty() || tagsMatch(m_design.tagMatch, field.tag, tag))
                CalculatorPage::write(field.edit, QString());
        }
        for (const Field &field : m_fields) {
            if (field.page != page)
                continue;
            if (!field.defaultText.isEmpty())
                CalculatorPage::write(field.edit, field.defaultText);
            field.edit->setEnabled(true);
        }
    });
}

// Blank fields of this page take their twin's text from the other page, whatever it holds.
void CalculatorWindow::importTwins(int page)
{
    if (pageCount() < 2)
        return;
    this->page(page).importFrom(this->page(1 - page),
                                m_design.pages[static_cast<std::size_t>(1 - page)].caption);
}

// A page that still shows what it opened with has nothing to tell the shop floor.
std::vector<SheetPage> CalculatorWindow::sheetPages() const
{
    std::vector<SheetPage> sheets;
    for (int index = 0; index < pageCount(); ++index) {
        const bool holdsAnything =
            std::any_of(m_fields.begin(), m_fields.end(), [&](const Field &f) {
                return f.page == index && f.edit->text() != f.defaultText;
            });
        if (!holdsAnything)
            continue;
        SheetPage sheet = page(index).sheetPage();
        sheet.operation = windowTitle();
        if (pageCount() > 1)
            sheet.page = QString::fromUtf8(m_design.pages[static_cast<std::size_t>(index)].caption);
        sheets.push_back(std::move(sheet));
    }
    return sheets;
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
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        calculate(shownPage());
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

bool CalculatorWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const auto &focus = static_cast<const QFocusEvent &>(*event);
        if (m_filters.contains(watched) && m_leaveSteps.focusChanged(watched, focus))
            return true;
        if (focus.lostFocus() && focus.reason() != Qt::PopupFocusReason) {
            if (const int page = pageOf(watched); page >= 0)
                this->page(page).left(watched);
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        if (key.matches(QKeySequence::Undo)) {
            const int page = pageOf(watched);
            if (this->page(page >= 0 ? page : shownPage()).undoRecalculate())
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
