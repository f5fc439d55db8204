// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/tabcontrol.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include <algorithm>

namespace zorvik::calculator {

namespace {

// Tabs no taller than the limit; the style centres each caption in what is left.
class LimitedTabBar : public QTabBar {
public:
    LimitedTabBar(int limit, QWidget *parent) : QTabBar(parent), m_limit(limit) {}

protected:
    QSize tabSizeHint(int index) const override
    {
        QSize size = QTabBar::tabSizeHint(index);
        size.setHeight(std::min(size.height(), m_limit));
        return size;
    }

private:
    const int m_limit;
};

} // namespace

TabControl::TabControl(const QStringList &captions, const QFont &tabFont, int stripLimit,
                       QWidget *parent)
    : QWidget(parent)
{
    m_bar = new LimitedTabBar(stripLimit, this);
    m_bar->setFont(tabFont);
    m_bar->setExpanding(true);
    m_bar->setDrawBase(false);
    for (const QString &caption : captions) {
        m_bar->addTab(caption);
        m_pages.push_back(new QWidget(this));
    }
    m_bar->raise();
    connect(m_bar, &QTabBar::currentChanged, this, &TabControl::showOnly);
    showOnly(m_bar->currentIndex());
}

int TabControl::currentIndex() const
{
    return m_bar->currentIndex();
}

void TabControl::setCurrentIndex(int index)
{
    m_bar->setCurrentIndex(index);
}

void TabControl::showOnly(int index)
{
    for (int i = 0; i < count(); ++i)
        page(i)->setVisible(i == index);
}

void TabControl::resizeEvent(QResizeEvent *event)
{
    m_bar->setGeometry(0, 0, width(), m_bar->sizeHint().height());
    for (QWidget *page : m_pages)
        page->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void TabControl::paintEvent(QPaintEvent *)
{
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    const int barHeight = m_bar->sizeHint().height();
    option.rect = QRect(0, barHeight - 1, width(), height() - barHeight + 1);
    option.shape = m_bar->shape();
    option.tabBarSize = m_bar->size();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
}

// The page keys every tab widget knows; they reach the control when the focused field
// does not use them.
void TabControl::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool back = event->key() == Qt::Key_Backtab ||
                      (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier)) ||
                      event->key() == Qt::Key_PageUp;
    const bool forward = !back && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_PageDown);
    if (!control || (!back && !forward)) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int step = back ? count() - 1 : 1;
    setCurrentIndex((currentIndex() + step) % count());
    event->accept();
}

} // namespace zorvik::calculator
