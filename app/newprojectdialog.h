// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/windowhost.h"

#include <QWidget>

#include <vector>

class QGroupBox;
class QRadioButton;
class QTimer;

namespace zorvik {

namespace calculator {
class ButtonLabel;
}

// The New Project dialog: the operation chooser that slides down from the top of the work area.
// It lives in a subwindow of the main window's work area (or stands alone in tests), and moves
// and sizes that outer window.
class NewProjectDialog : public QWidget {
    Q_OBJECT
public:
    // choices: the operations the dialog offers, one option each; host: where their windows
    // open, nullptr for a dialog that stands alone.
    NewProjectDialog(std::vector<calculator::OperationChoice> choices, calculator::WindowHost *host,
                     QWidget *parent = nullptr);

    // Collapses the window at the top of the work area and starts the slide-in.
    void load();
    // Opens the calculator window of the chosen operation and closes the dialog; does nothing
    // when no operation is chosen or the dialog has no host.
    void ok();
    void cancel();
    bool isUnrolling() const;

signals:
    void unrolled();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QWidget *outerWindow();
    static int realTwips(int pixels, int asked);
    void tick();
    void restoreLabels();

    QTimer *m_t1 = nullptr;
    int m_top = 0; // twips, as last asked of the window
    int m_height = 0;
    QGroupBox *m_frame1 = nullptr;
    calculator::ButtonLabel *m_ok = nullptr;
    calculator::ButtonLabel *m_cancel = nullptr;
    std::vector<calculator::OperationChoice> m_choices;
    // Each option button with the choice it stands for, in the choices' order.
    struct Option {
        QRadioButton *button;
        const calculator::OperationChoice *choice;
    };
    std::vector<Option> m_options;
    calculator::WindowHost *m_host = nullptr;
};

} // namespace zorvik
