#pragma once

// Small window-system helpers shared by the windows.

#include <QString>

#include <exception>
#include <utility>

class QWidget;

namespace platform {
class FileSystem;
}

namespace app {

// Places a window in the middle of its screen.
void CenterOnScreen(QWidget* window);

// Hands a target to the desktop's default action: an address with a scheme ("mailto:...",
// "https://...") as it stands, anything else as a file path, resolved through `files` when
// given. Returns a value above 32 on success; 2 when the file does not exist, 31 when no
// application took the target.
int ShellOpen(const QString& target, const platform::FileSystem* files = nullptr);

// Shows an error that no failure path handled, then ends the program's event loop.
void ShowFatalError(QWidget* parent, const std::exception& error);

// Runs an event handler; an error escaping it ends the program after the error box, rather
// than unwinding through the window system.
template <typename Handler> void RunHandler(QWidget* window, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        ShowFatalError(window, error);
    }
}

} // namespace app
