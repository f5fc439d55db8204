#pragma once

#include <functional>

class QMdiArea;

namespace zorvik {

// The operations the New Project dialog offers, in the order its Ok tests the option buttons.
enum class Operation { Longitudinal, Face, Drilling, Taper, Milling, Shaping };

namespace shell {

// The work area of the live main window, or nullptr when there is none.
QMdiArea *workspace();

// Loads the New Project dialog if it is not loaded (which starts its slide-in) and brings it
// to the front. Does nothing without a main window.
void showNewProject();

// Calculator windows register how to open (or bring forward) their window; the New Project
// dialog's Ok calls openOperation. Returns false when no window is registered for it.
void registerOperation(Operation operation, std::function<void()> open);
bool openOperation(Operation operation);

} // namespace shell
} // namespace zorvik
