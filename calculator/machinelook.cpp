// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/machinelook.h"

#include <QLineEdit>
#include <QPalette>

namespace zorvik::calculator {

namespace {

void explain(QLineEdit *field, const QString &line)
{
    QString text = field->toolTip();
    if (!text.isEmpty())
        text += u'\n';
    text += line;
    field->setToolTip(text);
    field->setAccessibleDescription(text);
}

// Captions are kept as labels, without the colon the window shows after them.
QString captionOf(const Captions &captions, FieldId field)
{
    return QString::fromStdString(captions[static_cast<std::size_t>(field)]);
}

} // namespace

void showBeyondMachine(const MachineVerdicts &verdicts, const std::vector<QLineEdit *> &fields,
                       const OperationDefinition &operation, const Captions &captions)
{
    for (QLineEdit *field : fields)
        field->setProperty(beyondMachineProperty, false);
    for (const Exceedance &limit : verdicts.current) {
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
        explain(field,
                QStringLiteral("Beyond the machine: %1 %2")
                    .arg(captionOf(captions, limit.field),
                         QString::fromStdString(wording(limit, operation, captions))));
    }
    for (const Exceedance &limit : verdicts.before)
        explain(fields[static_cast<std::size_t>(limit.field)],
                QStringLiteral("Beyond the machine when computed: %1 %2. Recalculate (F5) checks "
                               "it again.")
                    .arg(captionOf(captions, limit.field),
                         QString::fromStdString(wording(limit, operation, captions))));
}

} // namespace zorvik::calculator
