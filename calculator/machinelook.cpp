// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/machinelook.h"

#include <QLineEdit>
#include <QPalette>

namespace zorvik::calculator {

void showBeyondMachine(const std::vector<Exceedance> &beyond,
                       const std::vector<QLineEdit *> &fields, const Captions &captions)
{
    for (QLineEdit *field : fields)
        field->setProperty(beyondMachineProperty, false);
    for (const Exceedance &limit : beyond) {
        QLineEdit *field = fields[static_cast<std::size_t>(limit.field)];
        QPalette palette = field->palette();
        const QColor base = palette.color(QPalette::Base);
        // Violet: apart from the red of a disagreement and the amber of a text that is no number.
        const QColor warning(0x8e, 0x24, 0xaa);
        constexpr float share = 0.35f;
        palette.setColor(QPalette::Base,
                         QColor::fromRgbF((1 - share) * base.redF() + share * warning.redF(),
                                          (1 - share) * base.greenF() + share * warning.greenF(),
                                          (1 - share) * base.blueF() + share * warning.blueF()));
        field->setPalette(palette);
        field->setProperty(beyondMachineProperty, true);
        QString caption = QString::fromStdString(captions[static_cast<std::size_t>(limit.field)]);
        while (caption.endsWith(u':') || caption.endsWith(u' '))
            caption.chop(1);
        QString text = field->toolTip();
        if (!text.isEmpty())
            text += u'\n';
        text += QStringLiteral("Beyond the machine: %1 %2")
                    .arg(caption, QString::fromStdString(limit.text));
        field->setToolTip(text);
        field->setAccessibleDescription(text);
    }
}

} // namespace zorvik::calculator
