// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/machinesettings.h"

#include "calculator/usersettings.h"
#include "solver/conversions.h"

#include <QSettings>

#include <algorithm>

namespace zorvik::calculator {

namespace {

constexpr auto machinesKey = "machines";

} // namespace

// Values are kept as the texts a machine file would hold, so that they read back exactly and a
// hand-edited settings file is checked as a machine file is.
std::vector<SavedMachine> loadSavedMachines()
{
    QSettings store = userSettings();
    std::vector<SavedMachine> machines;
    const int count = store.beginReadArray(QLatin1String(machinesKey));
    for (int i = 0; i < count; ++i) {
        store.setArrayIndex(i);
        SavedMachine saved{{}, std::vector<QString>(machineKeys().size())};
        for (std::size_t k = 0; k < machineKeys().size(); ++k) {
            const MachineKey &key = machineKeys()[k];
            const QString text =
                store.value(QString::fromUtf8(key.key.data(), qsizetype(key.key.size())))
                    .toString();
            if (text.isEmpty() && key.value)
                continue;
            if (setMachineKey(saved.machine, key.key, text.toStdString()))
                saved.unread[k] = text.isNull() ? QStringLiteral("") : text;
        }
        machines.push_back(std::move(saved));
    }
    store.endArray();
    return machines;
}

std::vector<Machine> loadMachines()
{
    std::vector<Machine> machines;
    for (SavedMachine &saved : loadSavedMachines()) {
        const bool whole = std::all_of(saved.unread.begin(), saved.unread.end(),
                                       [](const QString &text) { return text.isNull(); });
        if (whole && !machineProblem(saved.machine))
            machines.push_back(std::move(saved.machine));
    }
    return machines;
}

void saveMachines(const std::vector<Machine> &machines)
{
    QSettings store = userSettings();
    store.remove(QLatin1String(machinesKey));
    store.beginWriteArray(QLatin1String(machinesKey), static_cast<int>(machines.size()));
    for (std::size_t i = 0; i < machines.size(); ++i) {
        store.setArrayIndex(static_cast<int>(i));
        for (const MachineKey &key : machineKeys()) {
            const QString name = QString::fromUtf8(key.key.data(), qsizetype(key.key.size()));
            if (!key.value)
                store.setValue(name, QString::fromStdString(machines[i].name));
            else if (const std::optional<double> &value = machines[i].*(key.value))
                store.setValue(name, QString::fromStdString(numberToText(*value)));
        }
    }
    store.endArray();
    keepSettings(store);
}

} // namespace zorvik::calculator
