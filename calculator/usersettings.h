// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>

#include <functional>

namespace zorvik::calculator {

// Where the calculator keeps what it remembers for the user (machines, the last material and
// tool material, recent jobs): one place, whatever names the application is started under. The
// file replaces the one before only once the disk holds all of it, so a full disk keeps the old
// settings rather than half of new ones.
QSettings userSettings();

// Writes what the store was given and says whether the disk took it. The first failure of a
// run of them is told through the failure handler; a success ends the run.
bool keepSettings(QSettings &store);

// What hears that settings could not be kept: the message names the file and why. Without one
// the message goes to the log.
void setSettingsFailureHandler(std::function<void(const QString &message)> handler);

} // namespace zorvik::calculator
