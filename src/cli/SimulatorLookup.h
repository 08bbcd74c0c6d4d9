#pragma once

// The simulator's folder for a subcommand: the --msts option, else the window's start
// order without its dialog (registration, the folder confirmed in the window, a simulator
// found in a Wine prefix).

#include <QString>

#include <optional>

namespace app {
class SettingsStore;
}
namespace platform {
class FileSystem;
}

namespace cli {

QString SimulatorFolder(const std::optional<QString>& option, const app::SettingsStore& settings,
                        const platform::FileSystem& fs);

// The message for a folder without a trainset tree, paths shown with native separators.
QString NoTrainsetMessage(const QString& mstsPath);

} // namespace cli
