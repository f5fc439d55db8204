// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/operationwindows.h"

#include "calculator/calculatorwindow.h"
#include "calculator/machinesdialog.h"
#include "operations/operation.h"

namespace zorvik {

std::vector<calculator::OperationChoice> operationChoices()
{
    std::vector<calculator::OperationChoice> choices;
    for (const OperationDefinition &operation : operationDefinitions()) {
        choices.push_back({operation.option, [&operation](calculator::WindowHost &host) {
                               calculator::CalculatorWindow::open(operation, host);
                           }});
    }
    return choices;
}

calculator::JobWindowOpener jobWindowOpener()
{
    return [](const std::string &name, calculator::WindowHost &host) -> calculator::JobWindow * {
        const OperationDefinition *operation = findOperation(name);
        return operation ? calculator::CalculatorWindow::open(*operation, host) : nullptr;
    };
}

calculator::MachineEditor machineEditor()
{
    return [](QWidget *parent) {
        calculator::MachinesDialog dialog(parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

} // namespace zorvik
