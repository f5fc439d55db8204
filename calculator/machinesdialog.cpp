// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/machinesdialog.h"

#include "calculator/machinesettings.h"
#include "solver/conversions.h"
#include "wording/wording.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvik::calculator {

namespace {

QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString valueText(const Machine &machine, const MachineKey &key)
{
    if (!key.value)
        return QString::fromStdString(machine.name);
    const std::optional<double> &value = machine.*(key.value);
    return value ? QString::fromStdString(numberToText(*value)) : QString();
}

} // namespace

MachinesDialog::MachinesDialog(QWidget *parent)
    : QDialog(parent), m_list(new QListWidget(this)),
      m_problem(new QLabel(this)), m_rename(new QPushButton(QStringLiteral("&Rename"), this)),
      m_duplicate(new QPushButton(QStringLiteral("D&uplicate"), this)),
      m_delete(new QPushButton(QStringLiteral("&Delete"), this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("machinesDialog"));
    setWindowTitle(QStringLiteral("Machines"));
    // A saved machine that no longer reads comes with its texts as they were, to be mended
    // before OK, as if just typed.
    for (SavedMachine &saved : loadSavedMachines()) {
        m_machines.push_back(std::move(saved.machine));
        m_pending.push_back(std::move(saved.unread));
    }

    m_list->setObjectName(QStringLiteral("machineList"));
    m_list->setAccessibleName(QStringLiteral("Machines"));
    auto *add = new QPushButton(QStringLiteral("&Add"), this);
    add->setObjectName(QStringLiteral("addMachine"));
    m_rename->setObjectName(QStringLiteral("renameMachine"));
    m_duplicate->setObjectName(QStringLiteral("duplicateMachine"));
    m_delete->setObjectName(QStringLiteral("deleteMachine"));

    auto *form = new QFormLayout;
    for (std::size_t k = 0; k < machineKeys().size(); ++k) {
        const MachineKey &key = machineKeys()[k];
        auto *field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("machine-") + qtext(key.key));
        const QString label =
            key.unit.empty() ? qtext(key.caption)
                             : QStringLiteral("%1 (%2)").arg(qtext(key.caption), qtext(key.unit));
        field->setAccessibleName(label);
        if (key.value)
            field->setPlaceholderText(QStringLiteral("no limit"));
        if (key.value == &Machine::fullPowerRpm)
            field->setToolTip(
                QStringLiteral("Below this spindle speed the drive is torque-limited: "
                               "the power available falls in proportion to the "
                               "speed."));
        form->addRow(label + u':', field);
        m_fields.push_back(field);
        connect(field, &QLineEdit::textEdited, this, [this, k] { fieldEdited(k); });
    }
    m_problem->setObjectName(QStringLiteral("machineProblem"));
    m_problem->setWordWrap(true);
    m_problem->setTextFormat(Qt::PlainText);

    auto *listButtons = new QHBoxLayout;
    for (QPushButton *button : {add, m_rename, m_duplicate, m_delete}) {
        button->setAutoDefault(false);
        listButtons->addWidget(button);
    }
    auto *body = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(m_list, 1);
    left->addLayout(listButtons);
    body->addLayout(left, 1);
    auto *right = new QVBoxLayout;
    right->addLayout(form);
    right->addWidget(m_problem);
    right->addStretch(1);
    body->addLayout(right, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(m_buttons);

    for (std::size_t m = 0; m < m_machines.size(); ++m) {
        const QString &unreadName = m_pending[m].front();
        m_list->addItem(unreadName.isNull() ? QString::fromStdString(m_machines[m].name)
                                            : unreadName);
    }
    connect(m_list, &QListWidget::currentRowChanged, this, &MachinesDialog::showMachine);
    connect(add, &QPushButton::clicked, this, &MachinesDialog::add);
    connect(m_rename, &QPushButton::clicked, this, [this] {
        m_fields.front()->setFocus();
        m_fields.front()->selectAll();
    });
    connect(m_duplicate, &QPushButton::clicked, this, &MachinesDialog::duplicate);
    connect(m_delete, &QPushButton::clicked, this, &MachinesDialog::remove);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &MachinesDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &MachinesDialog::reject);
    m_list->setCurrentRow(m_machines.empty() ? -1 : 0);
    showMachine();
}

QString MachinesDialog::uniqueName(const QString &base) const
{
    QString name = base;
    for (int n = 2;; ++n) {
        const bool taken = std::any_of(m_machines.begin(), m_machines.end(), [&](const Machine &m) {
            return QString::fromStdString(m.name) == name;
        });
        if (!taken)
            return name;
        name = QStringLiteral("%1 %2").arg(base).arg(n);
    }
}

void MachinesDialog::add()
{
    Machine machine;
    machine.name = uniqueName(QStringLiteral("Machine")).toStdString();
    m_machines.push_back(machine);
    m_pending.emplace_back(machineKeys().size());
    m_list->addItem(QString::fromStdString(machine.name));
    m_list->setCurrentRow(m_list->count() - 1);
    m_fields.front()->setFocus();
    m_fields.front()->selectAll();
}

void MachinesDialog::duplicate()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    Machine copy = m_machines[std::size_t(row)];
    copy.name =
        uniqueName(QString::fromStdString(copy.name) + QStringLiteral(" (copy)")).toStdString();
    m_machines.push_back(copy);
    m_pending.push_back(m_pending[std::size_t(row)]);
    m_list->addItem(QString::fromStdString(copy.name));
    m_list->setCurrentRow(m_list->count() - 1);
}

void MachinesDialog::remove()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    m_machines.erase(m_machines.begin() + row);
    m_pending.erase(m_pending.begin() + row);
    delete m_list->takeItem(row);
    showMachine();
}

void MachinesDialog::showMachine()
{
    const int row = m_list->currentRow();
    for (std::size_t k = 0; k < m_fields.size(); ++k) {
        m_fields[k]->setEnabled(row >= 0);
        if (row < 0) {
            m_fields[k]->clear();
            continue;
        }
        const QString &pending = m_pending[std::size_t(row)][k];
        m_fields[k]->setText(
            pending.isNull() ? valueText(m_machines[std::size_t(row)], machineKeys()[k]) : pending);
    }
    for (QPushButton *button : {m_rename, m_duplicate, m_delete})
        button->setEnabled(row >= 0);
    showProblem();
}

void MachinesDialog::fieldEdited(std::size_t k)
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    Machine &machine = m_machines[std::size_t(row)];
    const MachineKey &key = machineKeys()[k];
    const QString text = m_fields[k]->text().trimmed();
    Machine changed = machine;
    if (key.value && text.isEmpty())
        changed.*(key.value) = std::nullopt;
    const bool valid =
        (key.value && text.isEmpty()) || !setMachineKey(changed, key.key, text.toStdString());
    m_pending[std::size_t(row)][k] = valid ? QString() : m_fields[k]->text();
    if (valid)
        machine = changed;
    if (!key.value && valid)
        m_list->item(row)->setText(text);
    showProblem();
}

QString MachinesDialog::problem() const
{
    for (std::size_t m = 0; m < m_machines.size(); ++m) {
        const QString name = QString::fromStdString(m_machines[m].name);
        for (std::size_t k = 0; k < machineKeys().size(); ++k) {
            const QString &pending = m_pending[m][k];
            if (pending.isNull())
                continue;
            Machine scratch;
            const std::optional<MachineKeyError> why =
                setMachineKey(scratch, machineKeys()[k].key, pending.trimmed().toStdString());
            return QStringLiteral("%1: %2").arg(
                name, QString::fromStdString(why ? wording(*why) : std::string()));
        }
        if (const std::optional<MachineProblem> why = machineProblem(m_machines[m]))
            return QStringLiteral("%1: %2").arg(name, QString::fromStdString(wording(*why)));
        for (std::size_t other = 0; other < m; ++other) {
            if (m_machines[other].name == m_machines[m].name)
                return QStringLiteral("Two machines are called %1; each needs a name of its own.")
                    .arg(name);
        }
    }
    return {};
}

void MachinesDialog::showProblem()
{
    const QString why = problem();
    m_problem->setText(why);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(why.isEmpty());
    const int row = m_list->currentRow();
    for (std::size_t k = 0; k < m_fields.size(); ++k) {
        const bool bad = row >= 0 && !m_pending[std::size_t(row)][k].isNull();
        m_fields[k]->setStyleSheet(bad ? QStringLiteral("QLineEdit { border: 2px solid #d4211c; }")
                                       : QString());
    }
}

void MachinesDialog::accept()
{
    if (!problem().isEmpty())
        return;
    saveMachines(m_machines);
    QDialog::accept();
}

} // namespace zorvik::calculator
