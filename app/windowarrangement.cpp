// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windowarrangement.h"

#include "app/newprojectdialog.h"
#include "calculator/scrollframe.h"

#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include <algorithm>

namespace zorvik {

namespace {

QList<QMdiSubWindow *> shownSubWindows(QMdiArea *area, QMdiArea::WindowOrder order)
{
    QList<QMdiSubWindow *> shown;
    for (QMdiSubWindow *sub : area->subWindowList(order)) {
        if (!sub->isHidden())
            shown.append(sub);
    }
    return shown;
}

// Lines the minimised windows up from the bottom left corner, row above row, and returns the
// top of the highest row (the area's height when there are none).
int arrangeIcons(QMdiArea *area)
{
    const QRect space = area->viewport()->rect();
    int x = 0;
    int rowBottom = space.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow *sub : shownSubWindows(area, QMdiArea::CreationOrder)) {
        if (!sub->isMinimized())
            continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > space.width()) {
            rowBottom -= rowHeight;
            x = 0;
            rowHeight = 0;
        }
        sub->move(x, rowBottom - size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
    return rowBottom - rowHeight;
}

// The New Project dialog keeps its designed size through every arrangement: it is only moved.
bool isNewProject(const QMdiSubWindow *sub)
{
    return qobject_cast<NewProjectDialog *>(sub->widget());
}

// Moves the window as near to the point as it can go with all of it inside the space.
void moveWithin(QMdiSubWindow *sub, QPoint at, const QRect &space)
{
    at.setX(std::max(space.left(), std::min(at.x(), space.right() + 1 - sub->width())));
    at.setY(std::max(space.top(), std::min(at.y(), space.bottom() + 1 - sub->height())));
    sub->move(at);
}

// Gives each window that is not minimised an equal band of the area above the icons: rows one
// above the other, or columns side by side. The active window takes the first band. A window
// made smaller than its design scrolls; the dialog only moves to its band.
void tile(QMdiArea *area, Qt::Orientation stacking)
{
    const int iconsTop = arrangeIcons(area);
    QList<QMdiSubWindow *> windows;
    const QList<QMdiSubWindow *> stacked = shownSubWindows(area, QMdiArea::StackingOrder);
    for (auto it = stacked.rbegin(); it != stacked.rend(); ++it) {
        if (!(*it)->isMinimized())
            windows.append(*it);
    }
    if (windows.isEmpty())
        return;
    const QRect space(0, 0, area->viewport()->width(), iconsTop);
    const int count = static_cast<int>(windows.size());
    const int length = stacking == Qt::Vertical ? space.height() : space.width();
    for (int i = 0; i < count; ++i) {
        const int start = length * i / count;
        const int end = length * (i + 1) / count;
        QMdiSubWindow *sub = windows[i];
        if (sub->isMaximized())
            sub->showNormal();
        const QRect band = stacking == Qt::Vertical ? QRect(0, start, space.width(), end - start)
                                                    : QRect(start, 0, end - start, space.height());
        if (isNewProject(sub))
            moveWithin(sub, band.topLeft(), space);
        else
            sub->setGeometry(band);
    }
}

// Staggers the windows that are not minimised by a title bar's height, the lowest first, so the
// active window ends in front at the largest offset. Calculator windows get their designed size
// back and the others keep theirs: Qt's own cascade would shrink them to their size hints, all
// but their title bars hidden. The stagger starts over before the tallest window runs into the
// icons, and a window too wide for its offset moves left, so every close box stays in view.
void cascade(QMdiArea *area)
{
    const int iconsTop = arrangeIcons(area);
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *sub : shownSubWindows(area, QMdiArea::StackingOrder)) {
        if (!sub->isMinimized())
            windows.append(sub);
    }
    if (windows.isEmpty())
        return;
    int tallest = 0;
    for (QMdiSubWindow *sub : std::as_const(windows)) {
        if (sub->isMaximized())
            sub->showNormal();
        if (auto *frame = qobject_cast<calculator::ScrollFrame *>(sub->widget()))
            sub->resize(frame->designedSize());
        tallest = std::max(tallest, sub->height());
    }
    QStyleOptionTitleBar title;
    title.initFrom(windows.first());
    title.titleBarFlags = windows.first()->windowFlags();
    const int spacing = std::max(
        windows.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, windows.first()),
        1);
    const int positions =
        std::max(1, std::min(iconsTop / (3 * spacing), (iconsTop - tallest) / spacing) + 1);
    const QRect space(0, 0, area->viewport()->width(), iconsTop);
    for (int i = 0; i < windows.size(); ++i) {
        const int offset = spacing * (i % positions);
        moveWithin(windows[i], {offset, offset}, space);
    }
}

} // namespace

void arrange(QMdiArea *area, Arrangement arrangement)
{
    switch (arrangement) {
    case Arrangement::Cascade:
        cascade(area);
        break;
    case Arrangement::TileHorizontally:
        tile(area, Qt::Vertical);
        break;
    case Arrangement::TileVertically:
        tile(area, Qt::Horizontal);
        break;
    case Arrangement::ArrangeIcons:
        arrangeIcons(area);
        break;
    }
}

} // namespace zorvik
