// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/leavesteps.h"

#include "calculator/calculatorpage.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMdiSubWindow>

#include <algorithm>

namespace zorvik::calculator {

void LeaveSteps::add(QLineEdit *field, CalculatorPage *page, void (*run)(design::PageState &page))
{
    m_steps.insert(field, {page, run});
}

// Losing the focus to another application, or to a menu or popup, leaves the field where it
// is: the focus comes back to it. So does a click on a part of the window that takes no focus,
// such as a button label: Qt hands the focus to the window's frame in the workspace, which gives
// it straight back to the field.
bool LeaveSteps::focusChanged(QObject *watched, const QFocusEvent &event)
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
        if (frame && frame->isAncestorOf(m_window))
            return false;
    }
    m_focused = nullptr;
    const auto step = m_steps.constFind(watched);
    if (step == m_steps.cend())
        return false;
    return leave(*step, static_cast<QLineEdit *>(watched), event.reason());
}

void LeaveSteps::leaveInPlace(QObject *field)
{
    const auto step = m_steps.constFind(field);
    if (step != m_steps.cend())
        runStep(*step, nullptr);
}

QWidget *LeaveSteps::runStep(const Step &step, QWidget *focus)
{
    CalculatorPage &page = *step.page;
    const FieldStore given = page.texts();
    design::PageState state{given, std::vector<bool>(page.fieldCount())};
    for (std::size_t i = 0; i < page.fieldCount(); ++i)
        state.enabled[i] = page.field(static_cast<FieldId>(i))->isEnabledTo(m_window);
    step.run(state);
    page.showStep(given, state.texts);
    QWidget *focusLocked = nullptr;
    for (std::size_t i = 0; i < page.fieldCount(); ++i) {
        QLineEdit *field = page.field(static_cast<FieldId>(i));
        if (state.enabled[i] == field->isEnabledTo(m_window))
            continue;
        if (field == focus && !state.enabled[i])
            focusLocked = field;
        else
            field->setEnabled(state.enabled[i]);
    }
    return focusLocked;
}

// Texts first, then the locks. Qt has already made the field the user is moving to the focus
// widget; when the step locks that one, Qt alone would move the focus on forwards whatever the
// user did, and back into the field left when that comes next.
bool LeaveSteps::leave(const Step &step, QLineEdit *left, Qt::FocusReason reason)
{
    QWidget *next = runStep(step, QApplication::focusWidget());
    if (!next)
        return false;
    QLineEdit *focus = focusPastLocked(*step.page, next, left, reason);
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
QLineEdit *LeaveSteps::focusPastLocked(const CalculatorPage &page, QWidget *locked, QLineEdit *left,
                                       Qt::FocusReason reason) const
{
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason)
        return left;
    const auto &order = page.fields();
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    const std::ptrdiff_t step = reason == Qt::TabFocusReason ? 1 : count - 1;
    std::ptrdiff_t at = std::find(order.cbegin(), order.cend(), locked) - order.cbegin();
    for (std::ptrdiff_t n = 1; n < count; ++n) {
        at = (at + step) % count;
        QLineEdit *field = order[static_cast<std::size_t>(at)];
        if (field != locked && field->isEnabledTo(m_window))
            return field;
    }
    return left;
}

} // namespace zorvik::calculator
