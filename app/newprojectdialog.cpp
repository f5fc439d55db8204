// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/newprojectdialog.h"

#include "calculator/buttonlabel.h"
#include "calculator/twips.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace zorvik {

namespace twips = calculator::twips;

namespace {

using twips::place;

constexpr int windowLeft = 1600;
constexpr int windowWidth = 8640;
constexpr int finalTop = 1800;
constexpr int finalHeight = 3600;
constexpr int step = 50;

} // namespace

NewProjectDialog::NewProjectDialog(std::vector<calculator::OperationChoice> choices,
                                   calculator::WindowHost *host, QWidget *parent)
    : QWidget(parent), m_choices(std::move(choices)), m_host(host)
{
    setObjectName("frmcutting1");
    setWindowTitle("New Project");
    setFont(QFont("Arial", 8));
    setMouseTracking(true);

    m_frame1 = new QGroupBox("Select Operation :", this);
    m_frame1->setObjectName("Frame1");
    m_frame1->setMouseTracking(true);
    place(m_frame1, {120, 120, 8295, 2535});
    // Family frames and options are all children of Frame1, so the options form one group.
    std::vector<const design::FrameDesign *> families;
    for (const calculator::OperationChoice &choice : m_choices) {
        const design::FrameDesign *family = &choice.option.family;
        if (std::find(families.begin(), families.end(), family) != families.end())
            continue;
        families.push_back(family);
        auto *frame = new QGroupBox(family->caption, m_frame1);
        frame->setObjectName(family->name);
        place(frame, family->box);
    }
    // Tab order: down each column, the columns left to right.
    std::vector<const calculator::OperationChoice *> ordered;
    for (const calculator::OperationChoice &choice : m_choices)
        ordered.push_back(&choice);
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto *a, const auto *b) {
        return std::pair(a->option.box.left, a->option.box.top) <
               std::pair(b->option.box.left, b->option.box.top);
    });
    for (const calculator::OperationChoice *choice : ordered) {
        auto *option = new QRadioButton(choice->option.caption, m_frame1);
        option->setObjectName(choice->option.name);
        option->setCursor(Qt::PointingHandCursor);
        place(option, choice->option.box);
        m_options.push_back({option, choice});
    }
    QRadioButton *firstInTabOrder = m_options.empty() ? nullptr : m_options.front().button;
    // Ok opens the first chosen option in the table's order, whatever the tab order.
    std::stable_sort(m_options.begin(), m_options.end(),
                     [](const Option &a, const Option &b) { return a.choice < b.choice; });

    m_ok = new calculator::ButtonLabel("command1", "Ok", this);
    place(m_ok, {7200, 2760, 1215, 375});
    m_cancel = new calculator::ButtonLabel("command2", "Cancel", this);
    place(m_cancel, {5760, 2760, 1215, 375});
    connect(m_ok, &calculator::ButtonLabel::clicked, this, &NewProjectDialog::ok);
    connect(m_cancel, &calculator::ButtonLabel::clicked, this, &NewProjectDialog::cancel);

    m_t1 = new QTimer(this);
    m_t1->setObjectName("t1");
    m_t1->setInterval(1);
    connect(m_t1, &QTimer::timeout, this, &NewProjectDialog::tick);

    // Key preview: the dialog sees every key before the control that has the focus.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    if (firstInTabOrder)
        firstInTabOrder->setFocus();
}

QWidget *NewProjectDialog::outerWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return sub;
    return this;
}

void NewProjectDialog::load()
{
    QWidget *window = outerWindow();
    if (window != this) {
        window->installEventFilter(this);
        // Like a top-level window, the subwindow cannot be shorter than its title bar.
        window->setMinimumHeight(window->minimumSizeHint().height());
    }
    m_top = 0;
    m_height = 0;
    window->setGeometry(twips::toPixels(windowLeft), twips::toPixels(m_top),
                        twips::toPixels(windowWidth), twips::toPixels(m_height));
    m_t1->start();
}

bool NewProjectDialog::isUnrolling() const
{
    return m_t1->isActive();
}

// Top and height build on what the window really has, so the platform's minimum height (or a
// move by the user) is what the next step starts from. A window still where the last step put it
// goes on from the twips asked for: 50 twips is not a whole number of pixels, and building on the
// rounded pixels would make every step 45 twips.
int NewProjectDialog::realTwips(int pixels, int asked)
{
    return twips::toPixels(asked) == pixels ? asked : twips::fromPixels(pixels);
}

void NewProjectDialog::tick()
{
    QWidget *window = outerWindow();
    const int top = realTwips(window->y(), m_top);
    m_top = top >= finalTop ? finalTop : top + step;
    const int height = realTwips(window->height(), m_height);
    const bool done = height >= finalHeight;
    m_height = done ? finalHeight : height + step;
    window->setGeometry(window->x(), twips::toPixels(m_top), window->width(),
                        twips::toPixels(m_height));
    if (done) {
        m_t1->stop();
        emit unrolled();
    }
}

void NewProjectDialog::ok()
{
    for (const Option &option : m_options) {
        if (!option.button->isChecked())
            continue;
        if (m_host) {
            option.choice->open(*m_host);
            outerWindow()->close();
        }
        return;
    }
}

void NewProjectDialog::cancel()
{
    outerWindow()->close();
}

void NewProjectDialog::restoreLabels()
{
    m_ok->setLit(false);
    m_cancel->setLit(false);
}

// Only the bare background and Frame1 restore the labels; moves that reach them from the options
// or the sub-frames do not.
void NewProjectDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint()))
        restoreLabels();
    QWidget::mouseMoveEvent(event);
}

bool NewProjectDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ok();
            return true;
        }
        if (key == Qt::Key_Escape) {
            cancel();
            return true;
        }
    } else if (event->type() == QEvent::MouseMove && watched == m_frame1) {
        if (!m_frame1->childAt(static_cast<QMouseEvent *>(event)->position().toPoint()))
            restoreLabels();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zorvik
