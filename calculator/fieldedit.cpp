// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/fieldedit.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTextLayout>

#include <algorithm>
#include <limits>
#include <utility>

namespace zorvik::calculator {

namespace {

// What a line edit leaves between its contents rectangle and its text.
constexpr int horizontalMargin = 2;
constexpr int verticalMargin = 1;

} // namespace

FieldEdit::FieldEdit(const QString &text, QWidget *parent) : QLineEdit(text, parent)
{
    // Whatever is pasted goes in whole; a solve then treats it like any other text.
    setMaxLength(std::numeric_limits<int>::max());
    // The line edit repaints only around where it would itself have put the caret.
    auto redraw = [this] {
        if (this->text().size() > wholeDrawLimit)
            update();
    };
    connect(this, &QLineEdit::cursorPositionChanged, this, redraw);
    connect(this, &QLineEdit::selectionChanged, this, redraw);
    // A text set from outside (Reset, a solve, Import) clears the line edit's own undo, and so
    // the long edit behind it.
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_swapping && !isUndoAvailable() && !isRedoAvailable())
            m_swap.reset();
    });
}

void FieldEdit::setTextOf(const QString &text, int cursor)
{
    m_swapping = true;
    setText(text);
    setCursorPosition(cursor);
    m_swapping = false;
}

void FieldEdit::replaceSelection(const QString &replacement)
{
    const int removed = selectionLength();
    if (replacement.size() + removed <= wholeDrawLimit) {
        insert(replacement);
        return;
    }
    const QString before = text();
    const int caret = cursorPosition();
    const int start = hasSelectedText() ? selectionStart() : caret;
    QString after;
    after.reserve(before.size() - removed + replacement.size());
    after.append(QStringView(before).left(start));
    after.append(replacement);
    after.append(QStringView(before).mid(start + removed));
    setTextOf(after, start + int(replacement.size()));
    m_swap = Swap{before, caret, qHash(text()), true};
}

// The line edit's own steps come first: they were all made after the long edit.
bool FieldEdit::swapBack(bool undo)
{
    if (!m_swap || m_swap->undoes != undo || (undo ? isUndoAvailable() : isRedoAvailable()) ||
        qHash(text()) != m_swap->holds)
        return false;
    Swap back{text(), cursorPosition(), 0, !undo};
    const QString restored = std::exchange(m_swap->text, QString());
    setTextOf(restored, m_swap->cursor);
    back.holds = qHash(text());
    m_swap = std::move(back);
    return true;
}

void FieldEdit::keyPressEvent(QKeyEvent *event)
{
    if ((event->matches(QKeySequence::Undo) && swapBack(true)) ||
        (event->matches(QKeySequence::Redo) && swapBack(false))) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FieldEdit::paintEvent(QPaintEvent *event)
{
    if (text().size() <= wholeDrawLimit)
        QLineEdit::paintEvent(event);
    else
        paintStretch();
}

// Drawn as the line edit draws its whole text, from a stretch that reaches well beyond both
// sides of the field around the caret. The caret does not blink: the line edit keeps its blink
// to itself.
void FieldEdit::paintStretch()
{
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                               .marginsRemoved(textMargins());
    painter.setClipRect(contents);

    const QString whole = text();
    const int caret = cursorPosition();
    const int reach = std::max(width(), 1) * 2;
    int from = std::max(caret - reach, 0);
    int to = int(std::min<qsizetype>(qsizetype(caret) + reach, whole.size()));
    if (from > 0 && whole[from].isLowSurrogate())
        --from;
    if (to < whole.size() && whole[to].isLowSurrogate())
        ++to;
    QString shown = whole.mid(from, to - from);
    // Control characters show as spaces, as the line edit shows them.
    for (QChar &c : shown) {
        if ((c.unicode() < 0x20 && c != u'\t') || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    }

    QTextLayout layout(shown, font());
    QTextOption option = layout.textOption();
    option.setTextDirection(layoutDirection());
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();

    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = std::max(metrics.boundingRect(shown).height(), metrics.height());
    int top = contents.y() + (contents.height() - lineHeight + 1) / 2;
    if (alignment() & Qt::AlignTop)
        top = contents.y() + verticalMargin;
    else if (alignment() & Qt::AlignBottom)
        top = contents.y() + contents.height() - lineHeight - verticalMargin;
    const QRect lineRect(contents.x() + horizontalMargin, top,
                         contents.width() - 2 * horizontalMargin, lineHeight);

    // Scrolled as the line edit scrolls: no further than keeps the caret in view, and never
    // past either end of the text.
    const int caretX = qRound(line.cursorToX(caret - from));
    const int widthUsed = qRound(line.naturalTextWidth()) + 1;
    int scroll = 0;
    if (m_caret >= from && m_caret <= to)
        scroll = qRound(line.cursorToX(m_caret - from)) - m_caretX;
    else
        scroll = m_caret < from ? caretX - lineRect.width() + 1 : caretX;
    if (caretX - scroll >= lineRect.width())
        scroll = caretX - lineRect.width() + 1;
    else if (caretX - scroll < 0)
        scroll = caretX;
    else if (to == whole.size() && widthUsed - scroll < lineRect.width())
        scroll = widthUsed - lineRect.width() + 1;
    else if (from == 0)
        scroll = std::max(scroll, 0);
    m_caret = caret;
    m_caretX = caretX - scroll;

    const QPoint topLeft =
        lineRect.topLeft() - QPoint(scroll, qRound(line.ascent()) - metrics.ascent());
    painter.setPen(palette().text().color());
    QList<QTextLayout::FormatRange> selections;
    if (hasSelectedText()) {
        QTextLayout::FormatRange selection;
        selection.start = std::clamp(selectionStart() - from, 0, int(shown.size()));
        selection.length =
            std::clamp(selectionEnd() - from, 0, int(shown.size())) - selection.start;
        selection.format.setBackground(palette().brush(QPalette::Highlight));
        selection.format.setForeground(palette().brush(QPalette::HighlightedText));
        selections.append(selection);
    }
    layout.draw(&painter, topLeft, selections, contents);
    if (hasFocus() && !isReadOnly())
        layout.drawCursor(&painter, topLeft, caret - from,
                          style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this));
}

} // namespace zorvik::calculator
