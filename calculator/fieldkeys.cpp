// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/fieldkeys.h"

#include <QKeyEvent>

namespace zorvik::calculator {

using design::KeyFilter;

// Control characters (Backspace, Tab, Ctrl+letter) type nothing, and a field takes Ctrl or
// Ctrl+Shift as a command rather than text, except for format characters; Ctrl+Alt is AltGr on
// many keyboards and does type.
bool filterPasses(KeyFilter filter, const QKeyEvent &event)
{
    if (filter == KeyFilter::None)
        return true;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool command =
        modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    for (const QChar c : event.text()) {
        if (c.category() == QChar::Other_Control ||
            (command && c.category() != QChar::Other_Format))
            continue;
        const bool allowed =
            (c >= u'0' && c <= u'9') || (c == u'.' && filter == KeyFilter::Decimal);
        if (!allowed)
            return false;
    }
    return true;
}

// A decimal comma keyboard types "," for the decimal separator, on its comma key and on the
// keypad's decimal key.
bool typesDecimalSeparator(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return false;
    if (event.text() == u",")
        return true;
    return (event.modifiers() & Qt::KeypadModifier) &&
           (event.key() == Qt::Key_Comma || event.key() == Qt::Key_Period) &&
           event.text().size() == 1 && event.text() != u".";
}

} // namespace zorvik::calculator
