// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/fieldedit.h"

#include <QPainter>

#include <algorithm>
#include <limits>

namespace zorvik {

// A hidden field of the same look that holds the stretch of text to draw.
class FieldEdit::Excerpt : public QLineEdit {
public:
    using QLineEdit::cursorRect;
};

FieldEdit::FieldEdit(const QString &text, QWidget *parent) : QLineEdit(text, parent)
{
    // Whatever is pasted goes in whole; a solve then treats it like any other text.
    setMaxLength(std::numeric_limits<int>::max());
}

FieldEdit::~FieldEdit() = default;

void FieldEdit::paintEvent(QPaintEvent *event)
{
    const QString &whole = text();
    if (whole.size() <= wholeDrawLimit) {
        QLineEdit::paintEvent(event);
        return;
    }
    if (!m_excerpt)
        m_excerpt = std::make_unique<Excerpt>();
    // Far more characters than the field can show, with the caret among them.
    const int reach = std::max(width(), 1) * 2;
    const int caret = cursorPosition();
    const int start = std::clamp(caret - reach, 0, int(whole.size()) - 2 * reach);
    m_excerpt->setFont(font());
    m_excerpt->setPalette(palette());
    m_excerpt->setFrame(hasFrame());
    m_excerpt->setAlignment(alignment());
    m_excerpt->setEnabled(isEnabled());
    m_excerpt->resize(size());
    m_excerpt->setText(whole.mid(start, 2 * reach));
    m_excerpt->setCursorPosition(caret - start);
    if (hasSelectedText()) {
        const int from = std::clamp(selectionStart() - start, 0, 2 * reach);
        const int to = std::clamp(selectionEnd() - start, 0, 2 * reach);
        if (to > from) {
            // The caret ends where the selection was made towards.
            if (caret - start <= from)
                m_excerpt->setSelection(to, from - to);
            else
                m_excerpt->setSelection(from, to - from);
        }
    }
    QPainter painter(this);
    m_excerpt->render(&painter, QPoint(), QRegion(), RenderFlag::DrawChildren);
    // The caret stays drawn, without blinking: the hidden field has no focus to blink with.
    if (hasFocus() && !hasSelectedText()) {
        const QRect around = m_excerpt->cursorRect();
        painter.fillRect(QRect(around.left() + 5, around.top(), 1, around.height()),
                         palette().color(QPalette::Text));
    }
}

} // namespace zorvik
