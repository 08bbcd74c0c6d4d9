#pragma once

// What the window program's command line asks for, read before any window exists: --help and
// --version print and end without a display. The command line also carries Qt's own options
// (-platform, -style...), which the application object takes later, so whatever is not ours
// is left alone here.

#include <QString>
#include <QStringList>

#include <optional>

namespace app {

struct ProgramArguments {
    enum class Request { OpenWindow, Help, Version };
    Request request = Request::OpenWindow;
    // Folders given for this run only (--msts DIR, --rametta DIR).
    std::optional<QString> msts;
    std::optional<QString> rametta;
};

// The arguments as the system passes them, the program's name first.
ProgramArguments ParseProgramArguments(const QStringList& arguments);

// The lines --help prints, and the one --version prints.
QString ProgramUsage();
QString ProgramVersionLine();

} // namespace app
