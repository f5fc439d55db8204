// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/buttonlabel.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace zorvik::calculator {

namespace {

class ButtonLabelAccessible : public QAccessibleWidget {
public:
    explicit ButtonLabelAccessible(ButtonLabel *label)
        : QAccessibleWidget(label, QAccessible::Button)
    {}

    QString text(QAccessible::Text t) const override
    {
        const QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            return label()->text();
        return text;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name == pressAction())
            label()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    ButtonLabel *label() const { return static_cast<ButtonLabel *>(widget()); }
};

QAccessibleInterface *accessibleButtonLabel(const QString &className, QObject *object)
{
    if (className == QLatin1String(ButtonLabel::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new ButtonLabelAccessible(static_cast<ButtonLabel *>(object));
    return nullptr;
}

} // namespace

ButtonLabel::ButtonLabel(const QString &name, const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
    static const bool accessible = (QAccessible::installFactory(accessibleButtonLabel), true);
    Q_UNUSED(accessible)
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
        this->click();
}

// The press that completes a double click arrives as this event alone. Taking it as another press
// would run the action a second time on its release, and a second Calculate can fill more fields.
void ButtonLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void ButtonLabel::click()
{
    if (isEnabled())
        emit clicked();
}

void ButtonLabel::mouseMoveEvent(QMouseEvent *event)
{
    setLit(true);
    event->accept();
}

} // namespace zorvik::calculator
