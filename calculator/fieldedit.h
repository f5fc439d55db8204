// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace zorvik {

// A calculator field. It holds a text of any length; a very long one (a paste gone wrong) is
// drawn from the stretch around the caret only, as Qt would take seconds to draw all of it on
// every blink of the caret.
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    // Up to this length the field draws itself the ordinary way.
    static constexpr int wholeDrawLimit = 10000;

    FieldEdit(const QString &text, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintStretch();

    // Where the last stretch drawn showed the caret: its position in the text and its distance
    // from the left of the line, so that the next one scrolls only as far as the caret moved.
    int m_caret = 0;
    int m_caretX = 0;
};

} // namespace zorvik
