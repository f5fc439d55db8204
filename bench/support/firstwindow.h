// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"
#include "calculator/calculatorwindow.h"
#include "operations/operation.h"

#include <QTest>

namespace zorvik::bench {

// Shows the main window and opens the first operation's calculator window in it, as a user has
// them after Ok; nullptr when the main window never shows.
inline calculator::CalculatorWindow *showWithFirstWindow(MainWindow &main)
{
    main.show();
    if (!QTest::qWaitForWindowExposed(&main))
        return nullptr;
    return calculator::CalculatorWindow::open(operationDefinitions().front(), main);
}

} // namespace zorvik::bench
