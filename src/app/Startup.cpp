#include "app/Startup.h"

#include "app/Shell.h"
#include "app/frmPrincipal.h"

namespace app {

bool InitCommonControlClasses() {
    return true;
}

std::unique_ptr<frmPrincipal> Main(Global& global) {
    InitCommonControlClasses();
    auto window = std::make_unique<frmPrincipal>(global);
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
