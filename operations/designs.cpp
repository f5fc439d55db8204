// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/designs.h"

#include "operations/drilling/drillingwindow.h"
#include "operations/milling/millingwindow.h"
#include "operations/shaping/shapingwindow.h"
#include "operations/turning/taperwindow.h"
#include "operations/turning/turningwindows.h"

#include <cstdlib>

namespace zorvik {

DesignFunction designFunction(OperationId id)
{
    switch (id) {
    case OperationId::Longitudinal:
        return turning::longitudinalWindow;
    case OperationId::Face:
        return turning::faceWindow;
    case OperationId::Taper:
        return taper::taperWindow;
    case OperationId::Drilling:
        return drilling::drillingWindow;
    case OperationId::Milling:
        return milling::millingWindow;
    case OperationId::Shaping:
        return shaping::shapingWindow;
    }
    std::abort();
}

Captions fieldCaptions(const OperationDefinition &operation)
{
    return calculator::fieldCaptions(designFunction(operation.id)(), operation.relations);
}

} // namespace zorvik
