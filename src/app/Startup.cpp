#include "app/Startup.h"

#include "app/frmPrincipal.h"
#include "shared/Shell.h"

namespace app {

bool InitCommonControlClasses() {
    return true;
}

std::unique_ptr<frmPrincipal> Main(Global& global) {
    InitCommonControlClasses();
    auto window = std::make_unique<frmPrincipal>(global);
    // Placed once before the load step as well: the simulator folder dialog is centred on
    // this window while it loads, and would otherwise open in the screen's corner.
    CenterOnScreen(window.get());
    try {
        window->Load();
    } catch (const std::exception& error) {
        ShowFatalError(window.get(), error);
        return nullptr;
    }
    window->show();
    return window;
}

} // namespace app
