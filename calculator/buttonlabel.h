// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLabel>

namespace zorvik::calculator {

// A label that acts as a push button: it clicks on release over itself, lights up under the
// pointer and stays lit until its window restores it. Screen readers see it as a push button
// with its caption as name and a press action.
class ButtonLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr QRgb normalColour = 0xC0C0C0;
    static constexpr QRgb hoverColour = 0xE0E0E0;

    ButtonLabel(const QString &name, const QString &caption, QWidget *parent);

    void setLit(bool lit);
    bool isLit() const { return m_lit; }
    QColor colour() const;
    // What a press by mouse or by a screen reader does.
    void click();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool m_lit = false;
    bool m_pressed = false;
};

} // namespace zorvik::calculator
