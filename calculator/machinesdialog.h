// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/machine.h"

#include <QDialog>

#include <vector>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zorvik::calculator {

// The user's machines: a list to add to, rename, duplicate and delete from, and the selected
// machine's name and limits, each checked as it is typed. OK keeps them in the settings.
class MachinesDialog : public QDialog {
    Q_OBJECT
public:
    explicit MachinesDialog(QWidget *parent = nullptr);

    const std::vector<Machine> &machines() const { return m_machines; }

    void accept() override;

private:
    void add();
    void duplicate();
    void remove();
    void showMachine();
    void fieldEdited(std::size_t key);
    // Why the machines cannot be kept as they are, "" when they can; shown under the form.
    QString problem() const;
    void showProblem();
    QString uniqueName(const QString &base) const;

    std::vector<Machine> m_machines;
    // By key, a text that is not valid yet: the machine keeps its last valid value meanwhile.
    std::vector<std::vector<QString>> m_pending;
    QListWidget *m_list;
    std::vector<QLineEdit *> m_fields; // in the order of machineKeys()
    QLabel *m_problem;
    QPushButton *m_rename;
    QPushButton *m_duplicate;
    QPushButton *m_delete;
    QDialogButtonBox *m_buttons;
};

} // namespace zorvik::calculator
