#include "app/buttonlabel.h"

#include <QMouseEvent>

namespace zorvik {

ButtonLabel::ButtonLabel(const QString &name, const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    m_lit = true;
    setLit(false);
}

void ButtonLabel::setLit(bool lit)
{
    if (lit == m_lit)
        return;
    m_lit = lit;
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(lit ? hoverColour : normalColour));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
}

QColor ButtonLabel::colour() const
{
    return palette().color(QPalette::Window);
}

void ButtonLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

void ButtonLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

void ButtonLabel::mouseMoveEvent(QMouseEvent *event)
{
    setLit(true);
    event->accept();
}

} // namespace zorvik
