// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/windows.h"

#include "operations/designs.h"

namespace zorvik {

const std::vector<CalculatorWindowEntry> &calculatorWindows()
{
    static const std::vector<CalculatorWindowEntry> all{
        {OperationId::Longitudinal, "Option1", designFunction(OperationId::Longitudinal)},
        {OperationId::Face, "Option2", designFunction(OperationId::Face)},
        {OperationId::Drilling, "Option7", designFunction(OperationId::Drilling)},
        {OperationId::Taper, "Option3", designFunction(OperationId::Taper)},
        {OperationId::Milling, "Option12", designFunction(OperationId::Milling)},
        {OperationId::Shaping, "Option23", designFunction(OperationId::Shaping)},
    };
    return all;
}

calculator::CalculatorWindow *openWindow(const CalculatorWindowEntry &entry,
                                         calculator::WindowHost &host)
{
    return calculator::CalculatorWindow::open(entry.design(), operation(entry.operation), host,
                                              entry.create);
}

std::vector<calculator::OperationChoice> operationChoices()
{
    std::vector<calculator::OperationChoice> choices;
    for (const CalculatorWindowEntry &entry : calculatorWindows()) {
        calculator::OperationChoice choice{entry.option, {}};
        if (entry.design)
            choice.open = [&entry](calculator::WindowHost &host) { openWindow(entry, host); };
        choices.push_back(std::move(choice));
    }
    return choices;
}

} // namespace zorvik
