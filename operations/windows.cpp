#include "operations/windows.h"

#include "operations/turning/turningwindows.h"

namespace zorvik {

void registerCalculatorWindows()
{
    turning::registerTurningWindows();
}

} // namespace zorvik
