// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/framebox.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionGroupBox>
#include <qdrawutil.h>

namespace zorvik::calculator {

namespace {

// Room left between the caption and the ends of the border beside it.
constexpr int captionGap = 2;
// An etched line: a shadow line with a light one beside it.
constexpr int borderWidth = 2;

} // namespace

FrameBox::FrameBox(const QString &caption, QWidget *parent) : QGroupBox(caption, parent)
{
    setContentsMargins(margins());
}

// The caption where the style would place it, one text line high from the top.
QRect FrameBox::captionRect() const
{
    if (title().isEmpty())
        return {};
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect label =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    return {label.left(), 0, fontMetrics().horizontalAdvance(title()), fontMetrics().height()};
}

QRect FrameBox::border() const
{
    const QRect caption = captionRect();
    return caption.isNull() ? rect() : rect().adjusted(0, caption.center().y(), 0, 0);
}

QMargins FrameBox::margins() const
{
    return {borderWidth, border().top() + borderWidth, borderWidth, borderWidth};
}

// The group box sets its margins again for the style's own frame whenever its title, font or
// style changes; the contents must start inside the border drawn here instead.
bool FrameBox::event(QEvent *event)
{
    const bool handled = QGroupBox::event(event);
    const QEvent::Type type = event->type();
    if ((type == QEvent::ContentsRectChange || type == QEvent::FontChange ||
         type == QEvent::StyleChange) &&
        contentsMargins() != margins())
        setContentsMargins(margins());
    return handled;
}

void FrameBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Not the style's group box frame: Fusion draws that a caption's height below the top of
    // whatever rectangle it is given.
    qDrawShadeRect(&painter, border(), palette(), true, borderWidth / 2);

    const QRect caption = captionRect();
    if (caption.isNull())
        return;
    painter.fillRect(caption.adjusted(-captionGap, 0, captionGap, 0),
                     palette().brush(QPalette::Window));
    style()->drawItemText(&painter, caption, Qt::AlignLeft | Qt::AlignVCenter, palette(),
                          isEnabled(), title(), QPalette::WindowText);
}

} // namespace zorvik::calculator
