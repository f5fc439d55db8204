// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <vector>

class QTabBar;

namespace zorvik::calculator {

// A tab control whose pages cover the whole control, tab strip included, so controls on a page
// are placed relative to the control's own corner. The strip spans the full width and keeps
// within stripLimit pixels, so that it covers nothing placed below that on a page.
class TabControl : public QWidget {
    Q_OBJECT
public:
    TabControl(const QStringList &captions, const QFont &tabFont, int stripLimit, QWidget *parent);

    QWidget *page(int index) const { return m_pages[static_cast<std::size_t>(index)]; }
    int count() const { return static_cast<int>(m_pages.size()); }
    int currentIndex() const;
    void setCurrentIndex(int index);
    QTabBar *tabBar() const { return m_bar; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showOnly(int index);

    QTabBar *m_bar = nullptr;
    std::vector<QWidget *> m_pages;
};

} // namespace zorvik::calculator
