// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

#include <QHash>

class QFocusEvent;
class QLineEdit;
class QObject;
class QWidget;

namespace zorvik::calculator {

class CalculatorPage;

// The window's leave steps: what runs when a field loses the focus it had, writing texts and
// locking or unlocking fields of its page, and where the focus goes when it was on its way into
// a field the step locks.
class LeaveSteps {
public:
    explicit LeaveSteps(QWidget *window) : m_window(window) {}

    void add(QLineEdit *field, CalculatorPage *page, void (*run)(design::PageState &page));
    // A focus event of any field of the window; returns whether it is handled (the focus is back in
    // the field left, whose own handling of the loss must then not run).
    bool focusChanged(QObject *watched, const QFocusEvent &event);
    // Runs the step of a field that keeps the focus, as if the user had left it.
    void leaveInPlace(QObject *field);

private:
    struct Step {
        CalculatorPage *page;
        void (*run)(design::PageState &page);
    };

    bool leave(const Step &step, QLineEdit *left, Qt::FocusReason reason);
    // Runs the step on its page's texts and returns the field it disables that has the focus.
    QWidget *runStep(const Step &step, QWidget *focus);
    QLineEdit *focusPastLocked(const CalculatorPage &page, QWidget *locked, QLineEdit *left,
                               Qt::FocusReason reason) const;

    QWidget *const m_window;
    QHash<const QObject *, Step> m_steps;
    // The field that last took the focus and has not lost it since; only a field that had the
    // focus can leave it, however Qt moves the focus on its way.
    const QObject *m_focused = nullptr;
};

} // namespace zorvik::calculator
