// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>

namespace zorvik::calculator {

// Where the calculator keeps what it remembers for the user (machines, the last material and
// tool material, recent jobs): one place, whatever names the application is started under.
inline QSettings userSettings()
{
    return QSettings(QStringLiteral("zorvik"), QStringLiteral("zorvik-engineer"));
}

} // namespace zorvik::calculator
