#pragma once

// Start-up: the common-controls step and the opening of the main window.

#include <memory>

namespace app {

struct Global;
class frmPrincipal;

// Prepares the platform's common controls. Qt needs no such step; kept so that start-up
// reads as it does on Windows. Always true.
bool InitCommonControlClasses();

// Creates the main window and runs its load step, which shows it. Returns the window, or
// null when the load step failed (the error has then been shown). The program runs until
// the window closes.
std::unique_ptr<frmPrincipal> Main(Global& global);

} // namespace app
