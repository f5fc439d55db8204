#pragma once

#include "calculator/windowdesign.h"

namespace zorvik::turning {

const calculator::WindowDesign &longitudinalWindow();
const calculator::WindowDesign &faceWindow();

// Lets the New Project dialog open both windows.
void registerTurningWindows();

} // namespace zorvik::turning
