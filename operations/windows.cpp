#include "operations/windows.h"

#include "operations/drilling/drillingwindow.h"
#include "operations/milling/millingwindow.h"
#include "operations/shaping/shapingwindow.h"
#include "operations/turning/taperwindow.h"
#include "operations/turning/turningwindows.h"

namespace zorvik {

const std::vector<CalculatorWindowEntry> &calculatorWindows()
{
    static const std::vector<CalculatorWindowEntry> all{
        {OperationId::Longitudinal, "Option1", turning::longitudinalWindow},
        {OperationId::Face, "Option2", turning::faceWindow},
        {OperationId::Drilling, "Option7", drilling::drillingWindow},
        {OperationId::Taper, "Option3", taper::taperWindow},
        {OperationId::Milling, "Option12", milling::millingWindow},
        {OperationId::Shaping, "Option23", shaping::shapingWindow},
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
