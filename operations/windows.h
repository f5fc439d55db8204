#pragma once

namespace zorvik {

// Lets the New Project dialog open every calculator window.
void registerCalculatorWindows();

} // namespace zorvik
