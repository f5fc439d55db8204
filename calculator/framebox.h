// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

namespace zorvik::calculator {

// A frame drawn the way the window designs expect: its border runs through the middle of its
// caption, so the contents begin half a caption lower than a style's group box would put them,
// where the designs place their first row of fields. A frame without caption is bordered at
// its edges.
class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    FrameBox(const QString &caption, QWidget *parent);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect captionRect() const;
    QRect border() const;
    QMargins margins() const;
};

} // namespace zorvik::calculator
