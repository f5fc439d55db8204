#pragma once

#include "calculator/windowdesign.h"

namespace zorvik::turning {

const calculator::WindowDesign &longitudinalWindow();
const calculator::WindowDesign &faceWindow();

} // namespace zorvik::turning
