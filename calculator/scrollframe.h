// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollArea>

class QMdiSubWindow;

namespace zorvik::calculator {

// Holds a window of fixed design inside a subwindow of the work area. At its designed size the
// window shows exactly as it would bare, with no scroll bars and no margins; when an arrangement
// makes the subwindow smaller, scroll bars appear, so every control stays within reach.
class ScrollFrame : public QScrollArea {
    Q_OBJECT
public:
    explicit ScrollFrame(QWidget *content);

    // Gives the subwindow around the frame (the frame itself when there is none) its designed
    // place and size, title bar and borders included. The content never gets smaller than what
    // it has there.
    void place(const QRect &designed);
    // The outer size place() gave.
    QSize designedSize() const { return m_designedSize; }

    // The subwindow that holds the widget, or nullptr.
    static QMdiSubWindow *subWindowOf(const QWidget *widget);
    // What the subwindow shows: the content of its scroll frame, or its own widget.
    static QWidget *contentOf(const QMdiSubWindow *sub);

private:
    QSize m_designedSize;
};

} // namespace zorvik::calculator
