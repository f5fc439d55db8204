#include "app/windowarrangement.h"

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

// Gives each window that is not minimised an equal band of the area above the icons: rows one
// above the other, or columns side by side. The active window takes the first band.
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
        if (stacking == Qt::Vertical)
            sub->setGeometry(0, start, space.width(), end - start);
        else
            sub->setGeometry(start, 0, end - start, space.height());
    }
}

// Staggers the windows that are not minimised by a title bar's height, the lowest first, so the
// active window ends in front at the largest offset; the stagger starts over before it runs
// into the icons. Each window keeps its size: the windows are fixed designs, and Qt's own
// cascade would shrink them to their size hints, all but their title bars hidden.
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
    QStyleOptionTitleBar title;
    title.initFrom(windows.first());
    title.titleBarFlags = windows.first()->windowFlags();
    const int spacing = std::max(
        windows.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, windows.first()),
        1);
    const int positions = iconsTop / (3 * spacing) + 1;
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow *sub = windows[i];
        if (sub->isMaximized())
            sub->showNormal();
        const int offset = spacing * (i % positions);
        sub->move(offset, offset);
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
