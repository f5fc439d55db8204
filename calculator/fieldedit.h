// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

#include <optional>

namespace zorvik::calculator {

// A calculator field. It holds a text of any length; a very long one (a paste gone wrong) is
// drawn from the stretch around the caret only, as Qt would take seconds to draw all of it on
// every blink of the caret.
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    // Up to this length the field draws itself the ordinary way.
    static constexpr int wholeDrawLimit = 10000;

    FieldEdit(const QString &text, QWidget *parent);

    // Puts the text in place of the selection, or at the caret, as a paste or a cut does. An
    // edit of more than wholeDrawLimit characters is one step that Ctrl+Z takes back and Ctrl+Y
    // makes again, keeping the text it replaced: the line edit's own undo would keep a step of
    // 20 bytes for every character inserted or removed.
    void replaceSelection(const QString &replacement);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The other side of the last long edit: the text it replaced (or, once taken back, the text
    // it made) and the caret with it, and the hash of the text the field holds while that one
    // can come back.
    struct Swap {
        QString text;
        int cursor;
        size_t holds;
        bool undoes;
    };

    void setTextOf(const QString &text, int cursor);
    bool swapBack(bool undo);
    void paintStretch();

    std::optional<Swap> m_swap;
    bool m_swapping = false;

    // Where the last stretch drawn showed the caret: its position in the text and its distance
    // from the left of the line, so that the next one scrolls only as far as the caret moved.
    int m_caret = 0;
    int m_caretX = 0;
};

} // namespace zorvik::calculator
