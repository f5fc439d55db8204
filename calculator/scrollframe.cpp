// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/scrollframe.h"

#include <QMdiSubWindow>

namespace zorvik::calculator {

ScrollFrame::ScrollFrame(QWidget *content)
{
    setObjectName(content->objectName() + "_scroll");
    setWindowTitle(content->windowTitle());
    setFrameShape(QFrame::NoFrame);
    // The keyboard focus belongs to the window's controls, as if the frame were not there.
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    setWidget(content);
}

void ScrollFrame::place(const QRect &designed)
{
    QMdiSubWindow *sub = subWindowOf(this);
    QWidget *outer = sub ? static_cast<QWidget *>(sub) : this;
    outer->setGeometry(designed);
    m_designedSize = designed.size();
    // A subwindow keeps its title bar and borders as its contents margins.
    const QMargins margins = sub ? sub->contentsMargins() : QMargins();
    widget()->setMinimumSize(designed.size().shrunkBy(margins));
}

QMdiSubWindow *ScrollFrame::subWindowOf(const QWidget *widget)
{
    for (QWidget *up = widget ? widget->parentWidget() : nullptr; up; up = up->parentWidget()) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(up))
            return sub;
    }
    return nullptr;
}

QWidget *ScrollFrame::contentOf(const QMdiSubWindow *sub)
{
    QWidget *shown = sub->widget();
    if (auto *frame = qobject_cast<ScrollFrame *>(shown))
        return frame->widget();
    return shown;
}

} // namespace zorvik::calculator
